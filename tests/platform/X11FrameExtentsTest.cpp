// The frame asked of a real window manager (openbox) for windows not yet
// mapped, while the window manager is slow to answer.
#include "platform/X11Window.h"

#include <QGuiApplication>
#include <QTest>
#include <QWindow>
#include <QWidget>

#include <xcb/xcb.h>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <thread>

namespace {

class X11FrameExtents : public ::testing::Test {
protected:
    void SetUp() override
    {
        wm = static_cast<pid_t>(qEnvironmentVariableIntValue("ZARNOLITH_WINDOW_MANAGER_PID"));
        if (wm <= 0)
            GTEST_SKIP() << "needs a window manager to stop (ZARNOLITH_WINDOW_MANAGER_PID)";
        // The session may still be starting it: once it frames a window, it is there.
        QWidget probe;
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                const std::optional<platform::FrameExtents> e = frameOf(probe);
                return e && e->top > 0;
            },
            10000))
            << "no window manager framed a window";
    }
    void TearDown() override
    {
        if (wm > 0)
            ::kill(wm, SIGCONT);
    }

    static std::optional<platform::FrameExtents> frameOf(QWidget& w)
    {
        return platform::X11FrameExtents(static_cast<std::uintptr_t>(w.winId()));
    }

    // Keeps the window manager stopped for a moment, as a busy machine does, from now.
    std::thread stopFor(std::chrono::milliseconds pause)
    {
        EXPECT_EQ(::kill(wm, SIGSTOP), 0);
        return std::thread([this, pause] {
            std::this_thread::sleep_for(pause); // the slow window manager under test
            ::kill(wm, SIGCONT);
        });
    }

    // Where the X server has the window now (relative to its parent), in device pixels.
    static QRect serverPlace(const QWidget& w)
    {
        auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
        xcb_connection_t* c = x11->connection();
        xcb_get_geometry_reply_t* g
            = xcb_get_geometry_reply(c, xcb_get_geometry(c, static_cast<xcb_window_t>(w.winId())), nullptr);
        if (!g)
            return {};
        const QRect r(g->x, g->y, g->width, g->height);
        std::free(g);
        return r;
    }

    pid_t wm = 0;
};

TEST_F(X11FrameExtents, AnAnswerGivenBeforeTheWindowWasMadeFixedIsNotTakenForItsFrame)
{
    QWidget fixedFromTheStart;
    fixedFromTheStart.setFixedSize(300, 200);
    const std::optional<platform::FrameExtents> fixedFrame = frameOf(fixedFromTheStart);
    QWidget window;
    window.resize(300, 200);
    const std::optional<platform::FrameExtents> resizableFrame = frameOf(window);
    ASSERT_TRUE(fixedFrame && resizableFrame);
    if (*fixedFrame == *resizableFrame)
        GTEST_SKIP() << "this window manager frames fixed and resizable windows alike (bottom " << fixedFrame->bottom
                     << ")";

    // Made fixed, then asked again while the window manager answers late: the
    // property the earlier answer left on the window is not this answer.
    window.setFixedSize(300, 200);
    ASSERT_EQ(::kill(wm, SIGSTOP), 0);
    std::thread resume([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(400)); // the slow window manager under test
        ::kill(wm, SIGCONT);
    });
    const std::optional<platform::FrameExtents> asked = frameOf(window);
    resume.join();
    ASSERT_TRUE(asked);
    EXPECT_EQ(asked->bottom, fixedFrame->bottom) << "the earlier answer's bottom " << resizableFrame->bottom;
    EXPECT_TRUE(*asked == *fixedFrame);
}

TEST_F(X11FrameExtents, AWindowMovedWhileTheWindowManagerLagsStaysWhereTheProgramMovedIt)
{
    QWidget window;
    window.setFixedSize(300, 200);
    window.move(40, 50);
    (void)window.winId();
    ASSERT_TRUE(frameOf(window)); // the window manager has carried out the first place

    // Moved while the window manager is stopped (as Qt moves a window being
    // shown): it carries the move out only once it runs again, just before it
    // answers the frame request.
    const QPoint wanted(420, 310);
    std::thread resume = stopFor(std::chrono::milliseconds(400));
    window.windowHandle()->setPosition(wanted);
    const std::optional<platform::FrameExtents> asked = frameOf(window);
    resume.join();
    ASSERT_TRUE(asked);

    // A frame request for another window is answered only after whatever the
    // first one left with the window manager.
    QWidget later;
    ASSERT_TRUE(frameOf(later));
    const QPoint seen = serverPlace(window).topLeft();
    EXPECT_EQ(seen, wanted * window.devicePixelRatio()) << "the window stands at " << seen.x() << ',' << seen.y();
}

} // namespace
