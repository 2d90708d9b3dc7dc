// WM_AKTIVIEREN on our own Qt windows: restore, then the main window, its
// dialogs and the next application form, so that an open dialog ends on top.
#include "instance/QtWindowSystem.h"

#include <QApplication>
#include <QDialog>
#include <QMainWindow>
#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class QtAktivierungTest : public ::testing::Test {
protected:
    QtAktivierungTest()
    {
        hauptfenster.setWindowTitle("Zarnolith V1.01");
        hintergrund->setWindowTitle("Schrifthintergrund");
        new QMenu("kein Formular", &hauptfenster);
        pixel->setWindowTitle("Bildpixel-Startwerte");
        formulare = {&hauptfenster, pixel};
    }
    void ActivateOther()
    {
        anderes.show();
        anderes.activateWindow();
        // Window-system events arrive in order: once this one is active, the
        // activations of the windows shown before it have all been handled.
        ASSERT_TRUE(QTest::qWaitForWindowActive(&anderes));
    }

    QMainWindow hauptfenster;
    QDialog* hintergrund = new QDialog(&hauptfenster);
    // The start-values dialog has the main window as Qt parent, yet the application owns it.
    QDialog* pixel = new QDialog(&hauptfenster);
    QWidget anderes;
    QList<QPointer<QWidget>> formulare;
};

TEST_F(QtAktivierungTest, MainWindowThenItsDialogThenStartValuesDialogEndsOnTop)
{
    hauptfenster.show();
    hintergrund->show();
    pixel->show();
    ActivateOther();
    std::vector<QWidget*> order;
    QObject::connect(qApp, &QGuiApplication::focusWindowChanged, &anderes, [&] {
        if (QWidget* w = QApplication::activeWindow())
            order.push_back(w);
    });
    instance::AnwendungNachVorneBringen(formulare);
    EXPECT_TRUE(QTest::qWaitFor([&] { return order.size() >= 3; }, 5000));
    EXPECT_EQ(order, (std::vector<QWidget*> {&hauptfenster, hintergrund, pixel}));
}

// Activation takes effect only after the walk: the dialog that had the keyboard
// must still be brought forward after the main window, not taken as in front.
TEST_F(QtAktivierungTest, DialogThatHasTheKeyboardEndsInFrontAgain)
{
    hauptfenster.show();
    pixel->show();
    pixel->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(pixel));
    std::vector<QWidget*> order;
    QObject::connect(qApp, &QGuiApplication::focusWindowChanged, &anderes, [&] {
        if (QWidget* w = QApplication::activeWindow())
            order.push_back(w);
    });
    instance::AnwendungNachVorneBringen(formulare);
    EXPECT_TRUE(QTest::qWaitFor([&] { return order.size() >= 2; }, 2000));
    EXPECT_EQ(order, (std::vector<QWidget*> {&hauptfenster, pixel}));
    EXPECT_EQ(QApplication::activeWindow(), pixel);
}

TEST_F(QtAktivierungTest, MinimisedMainWindowIsRestoredHiddenFormsStayHidden)
{
    hauptfenster.showMaximized();
    ActivateOther();
    hauptfenster.setWindowState(hauptfenster.windowState() | Qt::WindowMinimized);
    instance::AnwendungNachVorneBringen(formulare);
    EXPECT_FALSE(hauptfenster.isMinimized());
    EXPECT_TRUE(hauptfenster.isMaximized()); // back to the state it had before
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &hauptfenster; }, 2000));
    EXPECT_FALSE(pixel->isVisible());
}

TEST_F(QtAktivierungTest, WindowTitlesFollowTheFormWalkHiddenFormsIncluded)
{
    EXPECT_EQ(instance::AnwendungsFensterTitel(formulare),
              (std::vector<std::string> {"Zarnolith V1.01", "Schrifthintergrund", "Bildpixel-Startwerte"}));
}

} // namespace
