#pragma once
// Shared pieces of the window tests: the two windows as the program entry
// creates them, typing into spin fields, and entering start values through the dialog.
#include "app/TForm1.h"
#include "app/TPixelForm.h"
#include "controls/TSpinEdit.h"
#include "support/ModalLoop.h"
#include "support/PlatformStandIns.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

namespace windowtest {

using modaltest::actInModal;
using modaltest::Closing;

// The display is the real one until a test fixes its rectangles.
struct Windows {
    explicit Windows(IErrorBox& errorBox = ZarnolithApplication::StandardErrorBox())
        : form(std::make_unique<TForm1>(nullptr, beep, screenArea, errorBox)),
          pixel(std::make_unique<TPixelForm>(form.get(), beep, screenArea))
    {
    }

    standin::CountingBeep beep;
    standin::FixedScreenArea screenArea;
    std::unique_ptr<TForm1> form;
    std::unique_ptr<TPixelForm> pixel;

    ~Windows()
    {
        pixel.reset();
        form.reset();
    }
};

// Types a text over the whole content of a spin field, as the keyboard does.
inline void overtype(TSpinEdit* field, const QString& text)
{
    field->editor()->selectAll();
    QTest::keyClicks(field->editor(), text);
}

// Opens the dialog through the command, types the two values and confirms with OK.
inline int enterStartValues(TForm1& form, const QString& width, const QString& height)
{
    modaltest::actInModal<TPixelForm>([&form] { form.MenuDateiNeuClick(); },
                                      [&](TPixelForm& d) {
                                          overtype(d.SpinEdit1, width);
                                          overtype(d.SpinEdit2, height);
                                          QTest::mouseClick(d.Button1, Qt::LeftButton);
                                      });
    return PixelForm->result();
}

} // namespace windowtest
