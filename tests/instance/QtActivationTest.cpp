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

// On Windows the forms are brought forward through their native windows with
// the system's own calls; the offscreen platform makes no native windows, so
// there this is left to the tests of the real program on a desktop.
#ifdef _WIN32
#define SKIP_WITHOUT_NATIVE_WINDOWS() GTEST_SKIP() << "Windows activates native windows; none offscreen"
#else
#define SKIP_WITHOUT_NATIVE_WINDOWS() static_cast<void>(0)
#endif

class QtActivationTest : public ::testing::Test {
protected:
    QtActivationTest()
    {
        mainForm.setWindowTitle("Zarnolith V1.01");
        background->setWindowTitle("Schrifthintergrund");
        new QMenu("kein Formular", &mainForm);
        pixel->setWindowTitle("Bildpixel-Startwerte");
        formList = {&mainForm, pixel};
    }
    void ActivateOther()
    {
        other.show();
        other.activateWindow();
        // Window-system events arrive in order: once this one is active, the
        // activations of the windows shown before it have all been handled.
        ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    }

    QMainWindow mainForm;
    QDialog* background = new QDialog(&mainForm);
    // The start-values dialog has the main window as Qt parent, yet the application owns it.
    QDialog* pixel = new QDialog(&mainForm);
    QWidget other;
    QList<QPointer<QWidget>> formList;
};

TEST_F(QtActivationTest, MainWindowThenItsDialogThenStartValuesDialogEndsOnTop)
{
    SKIP_WITHOUT_NATIVE_WINDOWS();
    mainForm.show();
    background->show();
    pixel->show();
    ActivateOther();
    std::vector<QWidget*> order;
    QObject::connect(qApp, &QGuiApplication::focusWindowChanged, &other, [&] {
        if (QWidget* w = QApplication::activeWindow())
            order.push_back(w);
    });
    instance::BringApplicationToFront(formList);
    EXPECT_TRUE(QTest::qWaitFor([&] { return order.size() >= 3; }, 5000));
    EXPECT_EQ(order, (std::vector<QWidget*>{&mainForm, background, pixel}));
}

// Activation takes effect only after the walk: the dialog that had the keyboard
// must still be brought forward after the main window, not taken as in front.
TEST_F(QtActivationTest, DialogThatHasTheKeyboardEndsInFrontAgain)
{
    SKIP_WITHOUT_NATIVE_WINDOWS();
    mainForm.show();
    pixel->show();
    pixel->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(pixel));
    std::vector<QWidget*> order;
    QObject::connect(qApp, &QGuiApplication::focusWindowChanged, &other, [&] {
        if (QWidget* w = QApplication::activeWindow())
            order.push_back(w);
    });
    instance::BringApplicationToFront(formList);
    EXPECT_TRUE(QTest::qWaitFor([&] { return order.size() >= 2; }, 2000));
    EXPECT_EQ(order, (std::vector<QWidget*>{&mainForm, pixel}));
    EXPECT_EQ(QApplication::activeWindow(), pixel);
}

TEST_F(QtActivationTest, MinimisedMainWindowIsRestoredHiddenFormsStayHidden)
{
    SKIP_WITHOUT_NATIVE_WINDOWS();
    mainForm.showMaximized();
    ActivateOther();
    mainForm.setWindowState(mainForm.windowState() | Qt::WindowMinimized);
    instance::BringApplicationToFront(formList);
    EXPECT_FALSE(mainForm.isMinimized());
    EXPECT_TRUE(mainForm.isMaximized()); // back to the state it had before
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &mainForm; }, 2000));
    EXPECT_FALSE(pixel->isVisible());
}

TEST_F(QtActivationTest, WindowTitlesFollowTheFormWalkHiddenFormsIncluded)
{
    EXPECT_EQ(instance::ApplicationWindowTitles(formList),
              (std::vector<std::string>{"Zarnolith V1.01", "Schrifthintergrund", "Bildpixel-Startwerte"}));
}

} // namespace
