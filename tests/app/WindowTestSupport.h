#pragma once
// Shared pieces of the window tests: the two windows as the program entry
// creates them, and a way to act from inside the dialog's modal loop.
#include "app/TForm1.h"
#include "app/TPixelForm.h"
#include "controls/TSpinEdit.h"
#include "platform/ScreenArea.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

namespace windowtest {

// Polls still waiting for the dialog; a test that ends early must not leave them to the next one.
inline std::vector<QTimer*>& pendingPolls()
{
    static std::vector<QTimer*> polls;
    return polls;
}

struct Windows {
    std::unique_ptr<TForm1> form = std::make_unique<TForm1>();
    std::unique_ptr<TPixelForm> pixel = std::make_unique<TPixelForm>(form.get());

    ~Windows()
    {
        for (QTimer* poll : pendingPolls())
            delete poll;
        pendingPolls().clear();
        pixel.reset();
        form.reset();
        platform::SetScreenOverride(std::nullopt, std::nullopt);
    }
};

// Runs `action` as soon as the start-values dialog is the modal window, from inside its loop.
inline void whenDialogShown(std::function<void()> action)
{
    auto* poll = new QTimer;
    poll->setInterval(1);
    pendingPolls().push_back(poll);
    QObject::connect(poll, &QTimer::timeout, [poll, action] {
        if (PixelForm && PixelForm->isVisible() && QApplication::activeModalWidget() == PixelForm) {
            poll->stop();
            std::erase(pendingPolls(), poll);
            poll->deleteLater();
            // Activation comes asynchronously offscreen; keys need the active window now.
            QApplication::setActiveWindow(PixelForm);
            action();
        }
    });
    poll->start();
}

// Types a text over the whole content of a spin field, as the keyboard does.
inline void overtype(TSpinEdit* field, const QString& text)
{
    field->editor()->selectAll();
    QTest::keyClicks(field->editor(), text);
}

// Opens the dialog through the command, types the two values and confirms with OK.
inline int enterStartValues(TForm1& form, const QString& width, const QString& height)
{
    whenDialogShown([width, height] {
        overtype(PixelForm->SpinEdit1, width);
        overtype(PixelForm->SpinEdit2, height);
        QTest::mouseClick(PixelForm->Button1, Qt::LeftButton);
    });
    form.MenuDateiNeuClick();
    return PixelForm->result();
}

} // namespace windowtest
