#pragma once
// A spin field shown in a window next to a second control, with beeps and
// change notifications counted.
#include "controls/TSpinEdit.h"
#include "support/PlatformStandIns.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>
#include <QWidget>

#include <memory>

class SpinFieldFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = std::make_unique<QWidget>();
        field = new TSpinEdit(window.get(), beep);
        field->setGeometry(10, 10, 100, field->height());
        other = new QLineEdit(window.get());
        other->setGeometry(10, 60, 100, 24);
        field->setMinValue(1);
        field->setMaxValue(9999);
        field->setMaxLength(4);
        field->OnChange = [this](TSpinEdit* sender) {
            ++changes;
            EXPECT_EQ(sender, field);
        };
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        field->setFocus(Qt::OtherFocusReason);
        ASSERT_TRUE(field->editor()->hasFocus());
    }

    void TearDown() override { window.reset(); }

    // Puts a text into the field as a program write would, without counting it.
    void setText(const QString& text)
    {
        field->editor()->setText(text);
        changes = 0;
        beeps = 0;
    }

    std::unique_ptr<QWidget> window;
    TSpinEdit* field = nullptr;
    QLineEdit* other = nullptr;
    int changes = 0;
    standin::CountingBeep beep;
    int& beeps = beep.count;
};
