// The main window and both dialogs on the Windows desktop, with the window
// manager's own frames: the main window's system menu offers no size command,
// every placement centres the outer rectangle as Windows itself reports it
// (GetWindowRect), at the default display font and at large ones, for the main
// window and for the first and a later showing of each dialog, and a maximised
// main window stays maximised through a new font or background. Run at the
// desktop's resolution given by --dpi=N (default 96), as the prefix's LogPixels
// sets it.
#include "app/TForm1.h"
#include "app/TPixelForm.h"
#include "appearance/THintergrundForm.h"
#include "support/PrivateUserRegistry.h"
#include "ui/LayoutGeometry.h"

#include <QApplication>
#include <QTest>
#include <QtMath>
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

int expectedDpi = 96;

int systemDpi()
{
    const HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    return dpi;
}

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

// The rule is worked out in Qt's scaled coordinates, where one pixel (the
// dialogs' step above and left of the centre, a halving's remainder, a frame
// width rounded) is the scale's worth of device pixels: up to that much apart
// from the rule worked out in device pixels, exact at 96 dpi.
int roundingSlack(const QWidget& window)
{
    const qreal scale = window.devicePixelRatioF();
    return scale > 1.0 ? qCeil(scale) : 0;
}

template <typename Rule>
Placement waitForPlacement(const QWidget& window, Rule rule)
{
    Placement p;
    const int slack = roundingSlack(window);
    p.agree = QTest::qWaitFor(
        [&] {
            p.qtFrame = window.frameGeometry();
            ::GetWindowRect(handleOf(window), &p.outer);
            p.expected = rule(p.outer);
            return std::abs(p.outer.left - p.expected.x) <= slack && std::abs(p.outer.top - p.expected.y) <= slack;
        },
        30000);
    return p;
}

// The dialogs' own rule: a pixel above and left of the full screen's centre.
POINT screenRule(const RECT& outer)
{
    const int width = ::GetSystemMetrics(SM_CXSCREEN);
    const int height = ::GetSystemMetrics(SM_CYSCREEN);
    return POINT{std::max(0, HalfOf(width - (outer.right - outer.left)) - 1),
                 std::max(0, HalfOf(height - (outer.bottom - outer.top)) - 1)};
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
        // The desktop's resolution: the test means nothing at another.
        ASSERT_EQ(systemDpi(), expectedDpi) << "the prefix's LogPixels did not take";
        ASSERT_DOUBLE_EQ(m_form->devicePixelRatioF(), expectedDpi / 96.0);
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

TEST_F(WindowsFrameTest, BothDialogsArePlacedByTheirOuterRectangles)
{
    m_pixel = std::make_unique<TPixelForm>(m_form.get());
    THintergrundForm* background = m_form->HintergrundForm();
    ASSERT_TRUE(background);
    const RECT wa = workArea();
    bool first = true;
    for (const int points : {14, 48}) {
        SCOPED_TRACE(std::to_string(points) + " pt");
        AnzeigeSchrift->setSize(points);
        m_form->SchriftartZuweisen();
        ASSERT_TRUE(waitForPlacement(*m_form, centredInWorkArea).agree);
        RECT owner{};
        ::GetWindowRect(handleOf(*m_form), &owner);
        // The first showing: centred over the main window, not above or left of the work area.
        const auto overOwner = [&](const RECT& outer) {
            return POINT{
                std::max(owner.left + HalfOf((owner.right - owner.left) - (outer.right - outer.left)), wa.left),
                std::max(owner.top + HalfOf((owner.bottom - owner.top) - (outer.bottom - outer.top)), wa.top)};
        };
        for (QDialog* dialog : {static_cast<QDialog*>(m_pixel.get()), static_cast<QDialog*>(background)}) {
            const std::string name = dialog->objectName().toStdString();
            SCOPED_TRACE(name);
            if (dialog == m_pixel.get())
                m_pixel->SchriftartZuweisen();
            else
                background->SchriftartZuweisen(*AnzeigeSchrift, background->HintergrundFarbe());
            dialog->show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
            if (first) {
                const Placement p = waitForPlacement(*dialog, overOwner);
                EXPECT_TRUE(p.agree) << "first showing " << text(p.outer) << ", the rule puts it at " << p.expected.x
                                     << "," << p.expected.y << " over " << text(owner);
            }
            dialog->hide();
            dialog->show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
            const Placement p = waitForPlacement(*dialog, screenRule);
            EXPECT_TRUE(p.agree) << "shown again " << text(p.outer) << ", the rule puts it at " << p.expected.x << ","
                                 << p.expected.y;
            dialog->hide();
        }
        first = false;
    }
}

TEST_F(WindowsFrameTest, MaximisedMainWindowStaysMaximisedWhenTheFontOrBackgroundChanges)
{
    const HWND hwnd = handleOf(*m_form);
    m_form->showMaximized();
    RECT maximised{};
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            ::GetWindowRect(hwnd, &maximised);
            return ::IsZoomed(hwnd) && m_form->isMaximized();
        },
        30000));
    // Settled: the same rectangle twice in a row.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            RECT before = maximised;
            QTest::qWait(50);
            ::GetWindowRect(hwnd, &maximised);
            return std::memcmp(&before, &maximised, sizeof before) == 0;
        },
        30000));

    const auto stillMaximised = [&](const char* after) {
        QApplication::processEvents();
        RECT now{};
        // Whatever the platform does with the change, it has done within the bound.
        (void)QTest::qWaitFor(
            [&] {
                ::GetWindowRect(hwnd, &now);
                return !::IsZoomed(hwnd) || std::memcmp(&now, &maximised, sizeof now) != 0;
            },
            1000);
        EXPECT_TRUE(::IsZoomed(hwnd)) << "not maximised after " << after;
        EXPECT_TRUE(m_form->isMaximized()) << after;
        EXPECT_EQ(text(now), text(maximised)) << "after " << after;
    };
    AnzeigeSchrift->setSize(28);
    m_form->SchriftartZuweisen();
    stillMaximised("a new font");
    m_form->setHintergrundNr(m_form->HintergrundNr() == 5 ? 6 : 5);
    stillMaximised("a new background");

    // Restored: the fixed size of the new layout, centred as that layout places it.
    m_form->showNormal();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !::IsZoomed(hwnd) && !m_form->isMaximized(); }, 30000));
    const Placement p = waitForPlacement(*m_form, centredInWorkArea);
    EXPECT_TRUE(p.agree) << "restored at " << text(p.outer) << ", the rule puts it at " << p.expected.x << ","
                         << p.expected.y;
}

} // namespace

int main(int argc, char** argv)
{
    // Real native windows: the desktop's own platform, whatever the test run chose.
    qunsetenv("QT_QPA_PLATFORM");
    const PrivateUserRegistry registry; // the windows load the display settings: never the user's own
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "--dpi=", 6) == 0)
            expectedDpi = std::atoi(argv[i] + 6);
    return RUN_ALL_TESTS();
}
