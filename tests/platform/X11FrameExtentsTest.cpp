// The frame asked of a real window manager (openbox) for windows not yet
// mapped, while the window manager is slow to answer.
#include "platform/X11Window.h"

#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
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

} // namespace
