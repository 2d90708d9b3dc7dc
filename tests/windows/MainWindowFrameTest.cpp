// The main window and the start-values dialog on the Windows desktop, with
// the window manager's own frames: the main window's system menu offers no
// size command, and every placement centres the outer rectangle as Windows
// itself reports it (GetWindowRect), at the default display font and at
// large ones, for the main window and for a later showing of the dialog.
#include "app/TForm1.h"
#include "app/TPixelForm.h"
#include "support/PrivateUserRegistry.h"
#include "ui/LayoutGeometry.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>

namespace {

HWND handleOf(const QWidget& window) { return reinterpret_cast<HWND>(window.winId()); }

std::string text(const RECT& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right - r.left) + "x"
        + std::to_string(r.bottom - r.top);
}

RECT workArea()
{
    RECT wa{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &wa, 0);
    return wa;
}

// Both the window rectangle and the rule's place for it, once they agree (a
// bound for a broken case, not a delay the test relies on); else the last seen.
struct Placement {
    RECT outer{};
    POINT expected{};
    bool agree = false;
    QRect qtFrame; // what Qt takes for the frame, for the message of a failure
};

template <typename Rule>
Placement waitForPlacement(const QWidget& window, Rule rule)
{
    Placement p;
    p.agree = QTest::qWaitFor(
        [&] {
            p.qtFrame = window.frameGeometry();
            ::GetWindowRect(handleOf(window), &p.outer);
            p.expected = rule(p.outer);
            return p.outer.left == p.expected.x && p.outer.top == p.expected.y;
        },
        30000);
    return p;
}

class WindowsFrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_form = std::make_unique<TForm1>();
        // The start-values dialog is made after the main window's first showing, so the dialog it
        // opens by itself then finds none to open.
        m_form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_form.get()));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !m_form->Timer1->isActive(); }));
        ASSERT_TRUE(AnzeigeSchrift);
        AnzeigeSchrift->Name = QStringLiteral("Arial");
        AnzeigeSchrift->PixelsPerInch = 0; // the screen's resolution
    }
    void TearDown() override
    {
        m_pixel.reset();
        m_form.reset();
    }

    // The main window's rule: centred in the work area by its outer size.
    static POINT centredInWorkArea(const RECT& outer)
    {
        const RECT wa = workArea();
        return {wa.left + HalfOf((wa.right - wa.left) - (outer.right - outer.left)),
                wa.top + HalfOf((wa.bottom - wa.top) - (outer.bottom - outer.top))};
    }

    std::unique_ptr<TForm1> m_form;
    std::unique_ptr<TPixelForm> m_pixel;
};

TEST_F(WindowsFrameTest, MainWindowsSystemMenuHasNoSizeCommand)
{
    const HMENU menu = ::GetSystemMenu(handleOf(*m_form), FALSE);
    ASSERT_TRUE(menu);
    EXPECT_EQ(::GetMenuState(menu, SC_SIZE, MF_BYCOMMAND), 0xFFFFFFFFu) << "the size command is offered";
    EXPECT_NE(::GetMenuState(menu, SC_MOVE, MF_BYCOMMAND), 0xFFFFFFFFu);
    EXPECT_NE(::GetMenuState(menu, SC_MINIMIZE, MF_BYCOMMAND), 0xFFFFFFFFu);
    EXPECT_NE(::GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND), 0xFFFFFFFFu);

    // Laid out anew for a large font: still none.
    AnzeigeSchrift->setSize(48);
    m_form->SchriftartZuweisen();
    EXPECT_EQ(::GetMenuState(::GetSystemMenu(handleOf(*m_form), FALSE), SC_SIZE, MF_BYCOMMAND), 0xFFFFFFFFu);
}

TEST_F(WindowsFrameTest, MainWindowIsCentredByTheOuterRectangleWindowsReports)
{
    for (const int points : {0, 14, 28, 48}) {
        SCOPED_TRACE(points ? std::to_string(points) + " pt" : std::string("as started"));
        if (points) {
            AnzeigeSchrift->setSize(points);
            m_form->SchriftartZuweisen();
        }
        const Placement p = waitForPlacement(*m_form, centredInWorkArea);
        EXPECT_TRUE(p.agree) << "window " << text(p.outer) << ", the rule puts it at " << p.expected.x << ","
                             << p.expected.y << "; work area " << text(workArea()) << "; Qt's frame " << p.qtFrame.x()
                             << "," << p.qtFrame.y() << " " << p.qtFrame.width() << "x" << p.qtFrame.height();
    }
}

TEST_F(WindowsFrameTest, StartValuesDialogShownAgainIsPlacedByItsOuterRectangle)
{
    m_pixel = std::make_unique<TPixelForm>(m_form.get());
    const auto screenRule = [](const RECT& outer) {
        const int width = ::GetSystemMetrics(SM_CXSCREEN);
        const int height = ::GetSystemMetrics(SM_CYSCREEN);
        return POINT{std::max(0, HalfOf(width - (outer.right - outer.left)) - 1),
                     std::max(0, HalfOf(height - (outer.bottom - outer.top)) - 1)};
    };
    for (const int points : {14, 48}) {
        SCOPED_TRACE(std::to_string(points) + " pt");
        AnzeigeSchrift->setSize(points);
        // The first showing is centred over the main window; each later one by the dialog's own rule.
        m_pixel->SchriftartZuweisen();
        m_pixel->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_pixel.get()));
        m_pixel->hide();
        m_pixel->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_pixel.get()));
        const Placement p = waitForPlacement(*m_pixel, screenRule);
        EXPECT_TRUE(p.agree) << "dialog " << text(p.outer) << ", the rule puts it at " << p.expected.x << ","
                             << p.expected.y;
        m_pixel->hide();
    }
}

} // namespace

int main(int argc, char** argv)
{
    // Real native windows: the desktop's own platform, whatever the test run chose.
    qunsetenv("QT_QPA_PLATFORM");
    const PrivateUserRegistry registry; // the windows load the display settings: never the user's own
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
