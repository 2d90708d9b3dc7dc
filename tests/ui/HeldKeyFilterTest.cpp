// A window that has just appeared takes no key held down from before: the
// repeats of such a key reach neither its controls nor its shortcuts, while a
// key pressed while it is up (and that key's own repeats) work as usual.
#include "ui/HeldKeyFilter.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct BoxWithDefaultButton {
    BoxWithDefaultButton()
    {
        box.resize(200, 100);
        ok->setDefault(true);
        ok->setFocus();
        QObject::connect(ok, &QPushButton::clicked, &box, [this] { ++clicks; });
        new HeldKeyFilter(box);
    }

    // A key event as the window system delivers it to the focused control.
    void send(QEvent::Type type, Qt::Key key, bool autoRepeat, unsigned long time)
    {
        QKeyEvent e(type, key, Qt::NoModifier, QString(), autoRepeat);
        e.setTimestamp(time);
        QApplication::sendEvent(ok, &e);
    }

    QDialog box;
    QPushButton* ok = new QPushButton(QStringLiteral("OK"), &box);
    int clicks = 0;
};

TEST(HeldKeyFilter, RepeatsOfAKeyHeldFromBeforeAreDropped)
{
    BoxWithDefaultButton b;
    for (unsigned long t = 1000; t < 1400; t += 40) {
        b.send(QEvent::KeyRelease, Qt::Key_Return, true, t);
        b.send(QEvent::KeyPress, Qt::Key_Return, true, t);
    }
    EXPECT_EQ(b.clicks, 0);
}

TEST(HeldKeyFilter, ARepeatTakenForARealReleaseAndPressIsDroppedToo)
{
    // The release and the press of a repeat come at the same instant.
    BoxWithDefaultButton b;
    b.send(QEvent::KeyRelease, Qt::Key_Return, false, 2000);
    b.send(QEvent::KeyPress, Qt::Key_Return, false, 2000);
    EXPECT_EQ(b.clicks, 0);
}

TEST(HeldKeyFilter, AKeyPressedWhileTheWindowIsUpWorksAndRepeats)
{
    BoxWithDefaultButton b;
    b.send(QEvent::KeyRelease, Qt::Key_Return, false, 3000); // the held key let go at last
    b.send(QEvent::KeyPress, Qt::Key_Return, false, 3100);   // and pressed anew
    EXPECT_EQ(b.clicks, 1);
    b.send(QEvent::KeyRelease, Qt::Key_Return, true, 3700);
    b.send(QEvent::KeyPress, Qt::Key_Return, true, 3700);
    EXPECT_EQ(b.clicks, 2);
    b.send(QEvent::KeyRelease, Qt::Key_Return, false, 3800);
    // Never pressed here, only the held key: still nothing.
    b.send(QEvent::KeyPress, Qt::Key_Space, true, 3900);
    EXPECT_EQ(b.clicks, 2);
}

TEST(HeldKeyFilter, OtherWindowsAreLeftAlone)
{
    BoxWithDefaultButton b;
    QDialog other;
    auto* button = new QPushButton(QStringLiteral("Anderes"), &other);
    button->setDefault(true);
    int clicks = 0;
    QObject::connect(button, &QPushButton::clicked, &other, [&] { ++clicks; });
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(button, &repeat);
    EXPECT_EQ(clicks, 1);
}

} // namespace
