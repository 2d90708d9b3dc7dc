// The guard at program start, against a scripted mutex and a made-up desktop.
#include "instance/InstanceGuard.h"
#include "RecordingWindowSystem.h"

#include <gtest/gtest.h>

namespace {

using enum instance::MutexError;

class ScriptedMutex : public instance::NamedMutex {
public:
    instance::MutexHandle handle = 0;
    instance::MutexError error = instance::MutexError::Success;
    std::vector<std::string> names;
    std::vector<instance::MutexHandle> closed;

    instance::MutexHandle CreateMutexW(const std::string& name) override
    {
        names.push_back(name);
        return handle;
    }
    instance::MutexError GetLastError() override { return error; }
    void CloseHandle(instance::MutexHandle h) override { closed.push_back(h); }
};

struct GuardCase {
    const char* name;
    instance::MutexHandle handle;
    instance::MutexError error;
    std::vector<std::u16string> titles;
    bool firstInstance;
    std::vector<std::string> calls;
};

class GuardTest : public ::testing::TestWithParam<GuardCase> {};

TEST_P(GuardTest, DecidesAndAsksTheRunningInstanceToComeForward)
{
    const GuardCase& f = GetParam();
    ScriptedMutex mutex;
    mutex.handle = f.handle;
    mutex.error = f.error;
    RecordingWindowSystem ws;
    ws.titles = f.titles;
    const instance::GuardResult r = instance::CheckInstance(mutex, ws);
    EXPECT_EQ(mutex.names, (std::vector<std::string>{"Zarnolith V1.01"}));
    EXPECT_EQ(r.firstInstance, f.firstInstance);
    EXPECT_EQ(r.handle, f.handle);
    EXPECT_EQ(ws.log, f.calls);
    EXPECT_TRUE(mutex.closed.empty()); // the guard itself never closes the handle
}

const std::vector<std::u16string> kDesktop{u"Terminal", u"Zarnolith V1.01", u"Editor"};
// The running instance may not take the foreground by itself: the second
// start, which the user has just started, hands its right on to the window's
// process before it asks.
const std::vector<std::string> kLookupAndPost{"GetWindowText(2,261)", "AllowSetForegroundWindow(202)",
                                              "PostMessage(2,1224,0,0)"};

INSTANTIATE_TEST_SUITE_P(
    Rows, GuardTest,
    ::testing::Values(GuardCase{"FirstInstance", 7, Success, kDesktop, true, {}},
                      GuardCase{"SecondStartPostsOnceToTheFoundWindow", 7, AlreadyExists, kDesktop, false,
                                kLookupAndPost},
                      GuardCase{"NoMainWindowFoundPostsNothing",
                                7,
                                AlreadyExists,
                                {u"Terminal", u"Editor"},
                                false,
                                {"GetWindowText(2,261)"}},
                      GuardCase{"LockUnavailableStartsUnguarded", 0, AccessDenied, kDesktop, true, {}},
                      GuardCase{"OnlyTheErrorCodeDecides", 0, AlreadyExists, kDesktop, false, kLookupAndPost}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GuardTest, WindowOfAnUnknownProcessIsAskedWithoutHandingOnTheRight)
{
    ScriptedMutex mutex;
    mutex.handle = 7;
    mutex.error = AlreadyExists;
    RecordingWindowSystem ws;
    ws.titles = kDesktop;
    ws.processes[2] = 0; // the window went away meanwhile
    EXPECT_FALSE(instance::CheckInstance(mutex, ws).firstInstance);
    EXPECT_EQ(ws.log, (std::vector<std::string>{"GetWindowText(2,261)", "PostMessage(2,1224,0,0)"}));
}

TEST(ReleaseInstance, ClosesOnlyAnObtainedHandle)
{
    ScriptedMutex mutex;
    instance::ReleaseInstance(mutex, 0);
    instance::ReleaseInstance(mutex, 7);
    EXPECT_EQ(mutex.closed, (std::vector<instance::MutexHandle>{7}));
}

} // namespace
