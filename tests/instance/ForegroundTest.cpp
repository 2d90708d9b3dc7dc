// Bringing windows to the front: version test, both methods, the foreground
// lock fallback, and the depth-first walk over owned forms.
#include "instance/FormTree.h"
#include "instance/Foreground.h"
#include "RecordingWindowSystem.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using instance::OsVersion;
using Log = std::vector<std::string>;
constexpr instance::PlatformId NT = instance::PlatformId::Win32Nt, Win9x = instance::PlatformId::Win32Windows;

TEST(VersionTest, AttachingMethodOnlyAfterNT4AndWindows95)
{
    const std::pair<OsVersion, bool> rows[]
        = {{{NT, 3, 51}, false},   {{NT, 4, 0}, false},   {{NT, 4, 90}, false},
           {{NT, 5, 0}, true},     {{NT, 10, 0}, true},   {{Win9x, 4, 0}, false},
           {{Win9x, 4, 10}, true}, {{Win9x, 5, 0}, true}, {{instance::PlatformId::Unknown, 10, 0}, false}};
    for (const auto& [v, attach] : rows)
        EXPECT_EQ(instance::UseAttachMethod(v), attach)
            << static_cast<int>(v.platformId) << " " << v.major << "." << v.minor;
}

// Our window is 2 (thread 102), the terminal 1 (thread 101) is in front.
struct ForegroundCase {
    const char* name;
    bool iconic, inFront, attachOk, foregroundLocked, timeoutReadable;
    OsVersion version;
    Log calls;
    bool result;
};

class FensterInVordergrundTest : public ::testing::TestWithParam<ForegroundCase> {};

TEST_P(FensterInVordergrundTest, StepsInOrder)
{
    const ForegroundCase& f = GetParam();
    RecordingWindowSystem ws;
    ws.titles = {u"Terminal", u"Zarnolith V1.01"};
    ws.iconic[2] = f.iconic;
    ws.foreground = f.inFront ? 2 : 1;
    ws.attachSucceeds = f.attachOk;
    ws.setForegroundWorks = !f.foregroundLocked;
    ws.lockTimeoutReadable = f.timeoutReadable;
    ws.lockTimeout = 4711;
    ws.version = f.version;
    EXPECT_EQ(instance::FensterInVordergrund(ws, 2), f.result);
    EXPECT_EQ(ws.log, f.calls);
    EXPECT_EQ(ws.lockTimeout, 4711u); // always set back, or never touched
}

const Log kAttach{"AttachThreadInput(102,101,1)", "BringWindowToTop(2)", "SetForegroundWindow(2)",
                  "AttachThreadInput(102,101,0)"};
const Log kLockLifted{"SPI_GET(0,0)", "SPI_SET(0,2)", "BringWindowToTop(2)", "SetForegroundWindow(2)",
                      "SPI_SET(4711,2)"};
Log operator+(Log a, const Log& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FensterInVordergrundTest,
    ::testing::Values(
        ForegroundCase{"AlreadyInFront", false, true, true, false, true, {NT, 10, 0}, {}, true},
        ForegroundCase{
            "MinimisedIsRestoredFirst", true, true, true, false, true, {NT, 10, 0}, {"ShowWindow(2,9)"}, true},
        ForegroundCase{"AttachingSucceeds", false, false, true, false, true, {NT, 10, 0}, kAttach, true},
        ForegroundCase{"AttachFailsLockIsLiftedOnce",
                       false,
                       false,
                       false,
                       true,
                       true,
                       {NT, 10, 0},
                       Log{"AttachThreadInput(102,101,1)"} + kLockLifted,
                       true},
        ForegroundCase{"AttachedButRefusedLockIsLiftedOnce",
                       false,
                       false,
                       true,
                       true,
                       true,
                       {NT, 10, 0},
                       kAttach + kLockLifted,
                       true},
        // Without the value in force nothing could be set back: the setting is left alone.
        ForegroundCase{
            "UnreadableTimeoutIsNotChanged",
            false,
            false,
            false,
            true,
            false,
            {NT, 10, 0},
            {"AttachThreadInput(102,101,1)", "SPI_GET(0,0)", "BringWindowToTop(2)", "SetForegroundWindow(2)"},
            false},
        ForegroundCase{"PlainMethodOnWindows95",
                       true,
                       false,
                       false,
                       true,
                       true,
                       {Win9x, 4, 0},
                       {"ShowWindow(2,9)", "BringWindowToTop(2)", "SetForegroundWindow(2)"},
                       false}),
    [](const auto& info) { return std::string(info.param.name); });

// After the main window, its dialog: the foreground window's thread is then the
// dialog's own. A thread cannot be attached to itself (the call fails), and
// failing would lift the foreground lock and broadcast the change twice.
TEST(FensterInVordergrund, WindowOfTheForegroundThreadComesForwardWithoutAttaching)
{
    RecordingWindowSystem ws;
    ws.titles = {u"Zarnolith V1.01", u"Neue Startwerte"};
    ws.threads = {{1, 7}, {2, 7}};
    ws.foreground = 1;
    ws.attachSucceeds = false; // as Windows answers for one thread attached to itself
    EXPECT_TRUE(instance::FensterInVordergrund(ws, 2));
    EXPECT_EQ(ws.log, (Log{"BringWindowToTop(2)", "SetForegroundWindow(2)"}));

    // Refused all the same: the lock is lifted for one attempt, as for any other window.
    RecordingWindowSystem locked;
    locked.titles = ws.titles;
    locked.threads = ws.threads;
    locked.foreground = 1;
    locked.setForegroundWorks = false;
    locked.lockTimeout = 4711;
    EXPECT_TRUE(instance::FensterInVordergrund(locked, 2));
    EXPECT_EQ(locked.log, (Log{"BringWindowToTop(2)", "SetForegroundWindow(2)"} + kLockLifted));
    EXPECT_EQ(locked.lockTimeout, 4711u);
}

// Owned components in creation order; Handle(k) = k.
class ComponentTree : public instance::FormTree {
public:
    struct Part {
        bool isForm = true, visible = true;
        std::vector<instance::Component> owns;
    };
    std::map<instance::Component, Part> parts;
    std::function<void(instance::Component, int)> onRead; // may change the tree during the walk

    int ComponentCount(instance::Component o) override { return static_cast<int>(parts[o].owns.size()); }
    instance::Component Components(instance::Component o, int i) override
    {
        if (onRead)
            onRead(o, i);
        const auto& list = parts[o].owns;
        return i < static_cast<int>(list.size()) ? list[static_cast<std::size_t>(i)] : 0;
    }
    bool IsForm(instance::Component k) override { return parts[k].isForm; }
    bool Visible(instance::Component k) override { return parts[k].visible; }
    instance::WindowHandle Handle(instance::Component k) override { return k; }
};

Log BroughtForward(const RecordingWindowSystem& ws)
{
    Log order;
    for (const auto& e : ws.log)
        if (e.rfind("BringWindowToTop", 0) == 0)
            order.push_back(e.substr(17, e.size() - 18));
    return order;
}

constexpr instance::Component App = 100, Form1 = 1, Hintergrund = 2, Pixel = 3, Label = 4, Hidden = 5, Inside = 6;

TEST(FormulareNachVorne, MainWindowThenItsVisibleDialogsThenTheNextApplicationForm)
{
    RecordingWindowSystem ws;
    ComponentTree tree;
    tree.parts[App] = {false, true, {Form1, Pixel}};
    tree.parts[Form1].owns = {Label, Hidden, Hintergrund};
    tree.parts[Label].isForm = false;
    tree.parts[Hidden] = {true, false, {Inside}}; // hidden: skipped with what it owns
    instance::RaiseApplication(ws, tree, 0, App);
    // Without an application window the forms are first stacked on top in the walk's order.
    EXPECT_EQ(BroughtForward(ws), (Log{"1", "2", "3", "1", "2", "3"}));

    RecordingWindowSystem ws2;
    tree.parts[Pixel].visible = false;
    instance::RaiseApplication(ws2, tree, 7, App); // an application window comes first
    EXPECT_EQ(BroughtForward(ws2), (Log{"7", "1", "2"}));
}

// A late window manager can hand the foreground back to the main window while
// another program's window lies over it. The walk leaves a foreground window
// as it is: the main window must still come up, before its dialog.
TEST(FormulareNachVorne, AMainWindowInTheForegroundIsStillRaisedBeforeItsDialog)
{
    RecordingWindowSystem ws;
    ws.titles = {u"Zarnolith V1.01", u"Neue Startwerte"};
    ws.foreground = Form1;
    ws.threads = {{Form1, 7}, {Hintergrund, 7}}; // one UI thread
    ComponentTree tree;
    tree.parts[App] = {false, true, {Form1, Hintergrund}};
    instance::RaiseApplication(ws, tree, 0, App);
    const Log order = BroughtForward(ws);
    const auto main = std::find(order.begin(), order.end(), "1");
    ASSERT_NE(main, order.end()) << "the main window stayed where it was";
    EXPECT_LT(main - order.begin(), std::find(order.begin(), order.end(), "2") - order.begin());
    EXPECT_EQ(order.back(), "2") << "the dialog is raised last";
    EXPECT_EQ(ws.foreground, Hintergrund);
}

// The count is read once; a form that went away during the walk is skipped,
// not read past the end of the list.
TEST(FormulareNachVorne, FormRemovedDuringTheWalkIsSkipped)
{
    RecordingWindowSystem ws;
    ComponentTree tree;
    tree.parts[App] = {false, true, {Form1, Pixel}};
    tree.onRead = [&](instance::Component o, int i) {
        if (o == App && i == 1)
            tree.parts[App].owns.pop_back();
    };
    instance::FormulareNachVorne(ws, tree, App);
    EXPECT_EQ(BroughtForward(ws), (Log{"1"}));
}

} // namespace
