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
        hintergrund = new QDialog(&hauptfenster);
        hintergrund->setWindowTitle("Schrifthintergrund");
        menu = new QMenu(&hauptfenster);
        pixel.setWindowTitle("Bildpixel-Startwerte");
        anderes.setWindowTitle("Anderes Programm");
        formulare = {&hauptfenster, &pixel};
    }

    void ShowAllAndActivate(QWidget& w)
    {
        for (QWidget* x : std::initializer_list<QWidget*> {&hauptfenster, &anderes})
            x->show();
        w.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    }

    // Records which windows became active, in order.
    std::vector<QWidget*> Aktivierungen(const std::function<void()>& tu)
    {
        std::vector<QWidget*> order;
        QTest::qWait(50); // let earlier activations settle first
        auto c = QObject::connect(qApp, &QApplication::focusWindowChanged, [&](QWindow*) {
            if (QWidget* w = QApplication::activeWindow())
                order.push_back(w);
        });
        tu();
        QTest::qWait(50);
        QObject::disconnect(c);
        return order;
    }

    QMainWindow hauptfenster;
    QDialog* hintergrund;
    QMenu* menu;
    QDialog pixel;
    QWidget anderes;
    QList<QPointer<QWidget>> formulare;
};

TEST_F(QtAktivierungTest, OpenDialogEndsUpActiveAfterTheMainWindow)
{
    ShowAllAndActivate(anderes);
    hintergrund->show();
    anderes.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&anderes));

    instance::AnwendungNachVorneBringen(formulare);
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == hintergrund; }, 2000));
    EXPECT_FALSE(pixel.isVisible()); // a hidden form is not shown by the walk
}

TEST_F(QtAktivierungTest, StartValuesDialogIsBroughtForwardLast)
{
    ShowAllAndActivate(anderes);
    hintergrund->show();
    pixel.show();
    anderes.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&anderes));

    const auto order = Aktivierungen([&] { instance::AnwendungNachVorneBringen(formulare); });
    EXPECT_EQ(order, (std::vector<QWidget*> {&hauptfenster, hintergrund, &pixel}));
    EXPECT_EQ(QApplication::activeWindow(), &pixel);
}

TEST_F(QtAktivierungTest, MinimisedMainWindowIsRestoredAndActivated)
{
    ShowAllAndActivate(anderes);
    hauptfenster.showMinimized();
    ASSERT_TRUE(hauptfenster.isMinimized());

    instance::AnwendungNachVorneBringen(formulare);
    EXPECT_FALSE(hauptfenster.isMinimized());
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &hauptfenster; }, 2000));
}

TEST_F(QtAktivierungTest, MinimisedMaximisedWindowComesBackMaximised)
{
    hauptfenster.showMaximized();
    hauptfenster.setWindowState(hauptfenster.windowState() | Qt::WindowMinimized);
    instance::AnwendungNachVorneBringen(formulare);
    EXPECT_FALSE(hauptfenster.isMinimized());
    EXPECT_TRUE(hauptfenster.isMaximized());
}

TEST_F(QtAktivierungTest, WindowTitlesFollowTheFormWalkHiddenFormsIncluded)
{
    menu->setTitle("not a form");
    EXPECT_EQ(instance::AnwendungsFensterTitel(formulare),
              (std::vector<std::string> {"Zarnolith V1.01", "Schrifthintergrund", "Bildpixel-Startwerte"}));
}

TEST_F(QtAktivierungTest, FormThatWentAwayIsSkipped)
{
    ShowAllAndActivate(anderes);
    QPointer<QDialog> weg = new QDialog;
    weg->show();
    QList<QPointer<QWidget>> mitWeg {weg.data(), &hauptfenster};
    delete weg;
    instance::AnwendungNachVorneBringen(mitWeg);
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &hauptfenster; }, 2000));
}

} // namespace
