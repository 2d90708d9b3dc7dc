// Bringing windows to the front: version test, both methods, the foreground
// lock fallback, and the depth-first walk over owned forms.
#include "instance/FormularBaum.h"
#include "instance/Vordergrund.h"
#include "RecordingWindowSystem.h"

#include <gtest/gtest.h>

namespace {

using platform::OsVersion;
using Log = std::vector<std::string>;
constexpr int NT = platform::VER_PLATFORM_WIN32_NT, Win9x = platform::VER_PLATFORM_WIN32_WINDOWS;

TEST(VersionTest, AttachingMethodOnlyAfterNT4AndWindows95)
{
    const std::pair<OsVersion, bool> rows[] = {
        {{NT, 3, 51}, false},  {{NT, 4, 0}, false},   {{NT, 4, 90}, false}, {{NT, 5, 0}, true},
        {{NT, 10, 0}, true},   {{Win9x, 4, 0}, false}, {{Win9x, 4, 10}, true}, {{Win9x, 5, 0}, true},
        {{0, 10, 0}, false}};
    for (const auto& [v, attach] : rows)
        EXPECT_EQ(instance::AnhaengeMethodeVerwenden(v), attach) << v.platformId << " " << v.major << "." << v.minor;
}

// Our window is 2 (thread 102), the terminal 1 (thread 101) is in front.
struct VordergrundFall {
    const char* name;
    bool iconic, inFront, attachOk, foregroundLocked, timeoutReadable;
    OsVersion version;
    Log calls;
    bool result;
};

class FensterInVordergrundTest : public ::testing::TestWithParam<VordergrundFall> {};

TEST_P(FensterInVordergrundTest, StepsInOrder)
{
    const VordergrundFall& f = GetParam();
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

const Log kAttach {"AttachThreadInput(102,101,1)", "BringWindowToTop(2)", "SetForegroundWindow(2)",
                   "AttachThreadInput(102,101,0)"};
const Log kLockLifted {"SPI_GET(0,0)", "SPI_SET(0,2)", "BringWindowToTop(2)", "SetForegroundWindow(2)",
                       "SPI_SET(4711,2)"};
Log operator+(Log a, const Log& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FensterInVordergrundTest,
    ::testing::Values(
        VordergrundFall {"AlreadyInFront", false, true, true, false, true, {NT, 10, 0}, {}, true},
        VordergrundFall {"MinimisedIsRestoredFirst", true, true, true, false, true, {NT, 10, 0}, {"ShowWindow(2,9)"}, true},
        VordergrundFall {"AttachingSucceeds", false, false, true, false, true, {NT, 10, 0}, kAttach, true},
        VordergrundFall {"AttachFailsLockIsLiftedOnce", false, false, false, true, true, {NT, 10, 0},
                         Log {"AttachThreadInput(102,101,1)"} + kLockLifted, true},
        VordergrundFall {"AttachedButRefusedLockIsLiftedOnce", false, false, true, true, true, {NT, 10, 0},
                         kAttach + kLockLifted, true},
        // Without the value in force nothing could be set back: the setting is left alone.
        VordergrundFall {"UnreadableTimeoutIsNotChanged", false, false, false, true, false, {NT, 10, 0},
                         {"AttachThreadInput(102,101,1)", "SPI_GET(0,0)", "BringWindowToTop(2)", "SetForegroundWindow(2)"},
                         false},
        VordergrundFall {"PlainMethodOnWindows95", true, false, false, true, true, {Win9x, 4, 0},
                         {"ShowWindow(2,9)", "BringWindowToTop(2)", "SetForegroundWindow(2)"}, false}),
    [](const auto& info) { return std::string(info.param.name); });

// Owned components in creation order; Handle(k) = k.
class KomponentenBaum : public instance::FormularBaum {
public:
    struct Teil {
        bool formular = true, sichtbar = true;
        std::vector<instance::Komponente> besitzt;
    };
    std::map<instance::Komponente, Teil> teile;
    std::function<void(instance::Komponente, int)> beimLesen; // may change the tree during the walk

    int ComponentCount(instance::Komponente o) override { return static_cast<int>(teile[o].besitzt.size()); }
    instance::Komponente Components(instance::Komponente o, int i) override
    {
        if (beimLesen)
            beimLesen(o, i);
        const auto& list = teile[o].besitzt;
        return i < static_cast<int>(list.size()) ? list[static_cast<std::size_t>(i)] : 0;
    }
    bool IstFormular(instance::Komponente k) override { return teile[k].formular; }
    bool Visible(instance::Komponente k) override { return teile[k].sichtbar; }
    platform::WindowHandle Handle(instance::Komponente k) override { return k; }
};

Log BroughtForward(const RecordingWindowSystem& ws)
{
    Log order;
    for (const auto& e : ws.log)
        if (e.rfind("BringWindowToTop", 0) == 0)
            order.push_back(e.substr(17, e.size() - 18));
    return order;
}

constexpr instance::Komponente App = 100, Form1 = 1, Hintergrund = 2, Pixel = 3, Label = 4, Versteckt = 5, Darin = 6;

TEST(FormulareNachVorne, MainWindowThenItsVisibleDialogsThenTheNextApplicationForm)
{
    RecordingWindowSystem ws;
    KomponentenBaum baum;
    baum.teile[App] = {false, true, {Form1, Pixel}};
    baum.teile[Form1].besitzt = {Label, Versteckt, Hintergrund};
    baum.teile[Label].formular = false;
    baum.teile[Versteckt] = {true, false, {Darin}}; // hidden: skipped with what it owns
    instance::AnwendungNachVorne(ws, baum, 0, App);
    EXPECT_EQ(BroughtForward(ws), (Log {"1", "2", "3"}));

    RecordingWindowSystem ws2;
    baum.teile[Pixel].sichtbar = false;
    instance::AnwendungNachVorne(ws2, baum, 7, App); // an application window comes first
    EXPECT_EQ(BroughtForward(ws2), (Log {"7", "1", "2"}));
}

// The count is read once; a form that went away during the walk is skipped,
// not read past the end of the list.
TEST(FormulareNachVorne, FormRemovedDuringTheWalkIsSkipped)
{
    RecordingWindowSystem ws;
    KomponentenBaum baum;
    baum.teile[App] = {false, true, {Form1, Pixel}};
    baum.beimLesen = [&](instance::Komponente o, int i) {
        if (o == App && i == 1)
            baum.teile[App].besitzt.pop_back();
    };
    instance::FormulareNachVorne(ws, baum, App);
    EXPECT_EQ(BroughtForward(ws), (Log {"1"}));
}

} // namespace
