// The guard at program start, against a scripted mutex and a made-up desktop.
#include "instance/InstanzWaechter.h"
#include "RecordingWindowSystem.h"

#include <gtest/gtest.h>

namespace {

class ScriptedMutex : public platform::NamedMutex {
public:
    platform::MutexHandle handle = 0;
    unsigned long error = 0;
    std::vector<std::string> names;
    std::vector<platform::MutexHandle> closed;

    platform::MutexHandle CreateMutexW(const std::string& name) override
    {
        names.push_back(name);
        return handle;
    }
    unsigned long GetLastError() override { return error; }
    void CloseHandle(platform::MutexHandle h) override { closed.push_back(h); }
};

struct WaechterFall {
    const char* name;
    platform::MutexHandle handle;
    unsigned long error;
    std::vector<std::u16string> titles;
    bool ersteInstanz;
    std::vector<std::string> calls;
};

class WaechterTest : public ::testing::TestWithParam<WaechterFall> {};

TEST_P(WaechterTest, DecidesAndAsksTheRunningInstanceToComeForward)
{
    const WaechterFall& f = GetParam();
    ScriptedMutex mutex;
    mutex.handle = f.handle;
    mutex.error = f.error;
    RecordingWindowSystem ws;
    ws.titles = f.titles;
    const instance::WaechterErgebnis r = instance::InstanzPruefen(mutex, ws);
    EXPECT_EQ(mutex.names, (std::vector<std::string> {"Zarnolith V1.01"}));
    EXPECT_EQ(r.ersteInstanz, f.ersteInstanz);
    EXPECT_EQ(r.handle, f.handle);
    EXPECT_EQ(ws.log, f.calls);
    EXPECT_TRUE(mutex.closed.empty()); // the guard itself never closes the handle
}

const std::vector<std::u16string> kDesktop {u"Terminal", u"Zarnolith V1.01", u"Editor"};
const std::vector<std::string> kLookupAndPost {"GetWindowText(2,261)", "PostMessage(2,1224,0,0)"};

INSTANTIATE_TEST_SUITE_P(
    Rows, WaechterTest,
    ::testing::Values(
        WaechterFall {"FirstInstance", 7, 0, kDesktop, true, {}},
        WaechterFall {"SecondStartPostsOnceToTheFoundWindow", 7, 183, kDesktop, false, kLookupAndPost},
        WaechterFall {"NoMainWindowFoundPostsNothing", 7, 183, {u"Terminal", u"Editor"}, false,
                      {"GetWindowText(2,261)"}},
        WaechterFall {"LockUnavailableStartsUnguarded", 0, 5, kDesktop, true, {}},
        WaechterFall {"OnlyTheErrorCodeDecides", 0, 183, kDesktop, false, kLookupAndPost}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(InstanzFreigeben, ClosesOnlyAnObtainedHandle)
{
    ScriptedMutex mutex;
    instance::InstanzFreigeben(mutex, 0);
    instance::InstanzFreigeben(mutex, 7);
    EXPECT_EQ(mutex.closed, (std::vector<platform::MutexHandle> {7}));
}

} // namespace
