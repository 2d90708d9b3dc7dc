// Bringing windows to the front: version test, both methods, the foreground
// lock fallback, and the depth-first walk over owned forms.
#include "instance/FormularBaum.h"
#include "instance/Vordergrund.h"
#include "RecordingWindowSystem.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using platform::OsVersion;
using platform::VER_PLATFORM_WIN32_NT;
using platform::VER_PLATFORM_WIN32_WINDOWS;
using Log = std::vector<std::string>;

struct VersionFall {
    OsVersion version;
    bool anhaengen;
};

class VersionTest : public ::testing::TestWithParam<VersionFall> {};

TEST_P(VersionTest, ChoosesTheMethod)
{
    EXPECT_EQ(instance::AnhaengeMethodeVerwenden(GetParam().version), GetParam().anhaengen);
}

INSTANTIATE_TEST_SUITE_P(Rows, VersionTest,
                         ::testing::Values(VersionFall {{VER_PLATFORM_WIN32_NT, 3, 51}, false},
                                           VersionFall {{VER_PLATFORM_WIN32_NT, 4, 0}, false},
                                           VersionFall {{VER_PLATFORM_WIN32_NT, 4, 90}, false},
                                           VersionFall {{VER_PLATFORM_WIN32_NT, 5, 0}, true},
                                           VersionFall {{VER_PLATFORM_WIN32_NT, 10, 0}, true},
                                           VersionFall {{VER_PLATFORM_WIN32_WINDOWS, 4, 0}, false},
                                           VersionFall {{VER_PLATFORM_WIN32_WINDOWS, 4, 10}, true},
                                           VersionFall {{VER_PLATFORM_WIN32_WINDOWS, 4, 90}, true},
                                           VersionFall {{VER_PLATFORM_WIN32_WINDOWS, 5, 0}, true},
                                           VersionFall {{0, 10, 0}, false}));

class FensterInVordergrundTest : public ::testing::Test {
protected:
    FensterInVordergrundTest()
    {
        ws.titles = {u"Terminal", u"Zarnolith V1.01"};
        ws.foreground = 1; // the terminal; our window is 2, its thread 102, the terminal's 101
    }
    RecordingWindowSystem ws;
};

TEST_F(FensterInVordergrundTest, AlreadyInFrontReturnsAtOnceWithoutTouchingTheLock)
{
    ws.foreground = 2;
    EXPECT_TRUE(instance::FensterInVordergrund(ws, 2));
    EXPECT_TRUE(ws.log.empty());
}

TEST_F(FensterInVordergrundTest, MinimisedWindowIsRestoredFirst)
{
    ws.iconic[2] = true;
    ws.foreground = 2;
    EXPECT_TRUE(instance::FensterInVordergrund(ws, 2));
    EXPECT_EQ(ws.log, (Log {"ShowWindow(2,9)"}));
}

TEST_F(FensterInVordergrundTest, AttachingMethodJoinsInputBringsForwardAndDetaches)
{
    EXPECT_TRUE(instance::FensterInVordergrund(ws, 2));
    EXPECT_EQ(ws.log, (Log {"AttachThreadInput(102,101,true)", "BringWindowToTop(2)", "SetForegroundWindow(2)",
                            "AttachThreadInput(102,101,false)"}));
}

TEST_F(FensterInVordergrundTest, FailedAttachLiftsTheLockOnceAndSetsTheSavedValueBack)
{
    ws.attachSucceeds = false;
    ws.lockTimeout = 123456;
    EXPECT_TRUE(instance::FensterInVordergrund(ws, 2));
    EXPECT_EQ(ws.log, (Log {"AttachThreadInput(102,101,true)", "SPI_GET(0,0)", "SPI_SET(0,2)", "BringWindowToTop(2)",
                            "SetForegroundWindow(2)", "SPI_SET(123456,2)"}));
    EXPECT_EQ(ws.lockTimeout, 123456u);
}

// Attaching worked, but the foreground lock refused the change: the fallback runs too.
TEST_F(FensterInVordergrundTest, AttachWithoutEffectAlsoUsesTheFallback)
{
    ws.setForegroundWorks = false;
    ws.lockTimeout = 777;
    EXPECT_TRUE(instance::FensterInVordergrund(ws, 2));
    const Log expected {"AttachThreadInput(102,101,true)", "BringWindowToTop(2)", "SetForegroundWindow(2)",
                        "AttachThreadInput(102,101,false)", "SPI_GET(0,0)", "SPI_SET(0,2)", "BringWindowToTop(2)",
                        "SetForegroundWindow(2)", "SPI_SET(777,2)"};
    EXPECT_EQ(ws.log, expected);
    EXPECT_EQ(ws.lockTimeout, 777u);
}

// Without the value in force nothing could be set back, so the setting is left alone.
TEST_F(FensterInVordergrundTest, UnreadableLockTimeoutIsNeverChanged)
{
    ws.attachSucceeds = false;
    ws.lockTimeoutReadable = false;
    ws.lockTimeout = 555;
    instance::FensterInVordergrund(ws, 2);
    EXPECT_EQ(ws.log, (Log {"AttachThreadInput(102,101,true)", "SPI_GET(0,0)", "BringWindowToTop(2)",
                            "SetForegroundWindow(2)"}));
    EXPECT_EQ(ws.lockTimeout, 555u);
}

TEST_F(FensterInVordergrundTest, OlderSystemsUseThePlainMethod)
{
    ws.version = {VER_PLATFORM_WIN32_WINDOWS, 4, 0};
    ws.setForegroundWorks = false;
    EXPECT_FALSE(instance::FensterInVordergrund(ws, 2));
    EXPECT_EQ(ws.log, (Log {"BringWindowToTop(2)", "SetForegroundWindow(2)"}));
}

// Owned components: each owner lists its components in creation order.
class KomponentenBaum : public instance::FormularBaum {
public:
    struct Teil {
        bool formular = true;
        bool sichtbar = true;
        std::vector<instance::Komponente> besitzt;
    };
    std::map<instance::Komponente, Teil> teile;
    // Called when the walk reads a component; lets a test change the tree during the walk.
    std::function<void(instance::Komponente owner, int index)> beimLesen;

    int ComponentCount(instance::Komponente owner) override
    {
        return static_cast<int>(teile[owner].besitzt.size());
    }
    instance::Komponente Components(instance::Komponente owner, int index) override
    {
        if (beimLesen)
            beimLesen(owner, index);
        const auto& list = teile[owner].besitzt;
        return index < static_cast<int>(list.size()) ? list[static_cast<std::size_t>(index)] : 0;
    }
    bool IstFormular(instance::Komponente k) override { return teile[k].formular; }
    bool Visible(instance::Komponente k) override { return teile[k].sichtbar; }
    platform::WindowHandle Handle(instance::Komponente k) override { return k; }
};

class FormulareNachVorneTest : public ::testing::Test {
protected:
    // Windows 1..9 on the made-up desktop; none in front, so each is brought forward.
    FormulareNachVorneTest() { ws.titles.assign(9, u"w"); ws.version = {VER_PLATFORM_WIN32_WINDOWS, 4, 0}; }

    Log BroughtForward() const
    {
        Log order;
        for (const auto& entry : ws.log)
            if (entry.rfind("BringWindowToTop", 0) == 0)
                order.push_back(entry);
        return order;
    }
    RecordingWindowSystem ws;
    KomponentenBaum baum;
};

constexpr instance::Komponente App = 100, Form1 = 1, Hintergrund = 2, Pixel = 3, Label = 4, Versteckt = 5,
                               ImVersteckten = 6;

TEST_F(FormulareNachVorneTest, MainWindowThenItsDialogsThenTheNextApplicationForm)
{
    baum.teile[App] = {false, true, {Form1, Pixel}};
    baum.teile[Form1].besitzt = {Label, Versteckt, Hintergrund};
    baum.teile[Label].formular = false;
    baum.teile[Versteckt] = {true, false, {ImVersteckten}};
    instance::AnwendungNachVorne(ws, baum, 0, App);
    EXPECT_EQ(BroughtForward(), (Log {"BringWindowToTop(1)", "BringWindowToTop(2)", "BringWindowToTop(3)"}));
}

TEST_F(FormulareNachVorneTest, HiddenStartValuesDialogIsSkipped)
{
    baum.teile[App] = {false, true, {Form1, Pixel}};
    baum.teile[Pixel].sichtbar = false;
    instance::AnwendungNachVorne(ws, baum, 0, App);
    EXPECT_EQ(BroughtForward(), (Log {"BringWindowToTop(1)"}));
}

TEST_F(FormulareNachVorneTest, ApplicationWindowComesFirstWhenThereIsOne)
{
    baum.teile[App] = {false, true, {Form1}};
    instance::AnwendungNachVorne(ws, baum, 7, App);
    EXPECT_EQ(BroughtForward(), (Log {"BringWindowToTop(7)", "BringWindowToTop(1)"}));
}

// The count is read once; a form that went away during the walk is skipped, not read past the list's end.
TEST_F(FormulareNachVorneTest, FormRemovedDuringTheWalkIsSkipped)
{
    baum.teile[App] = {false, true, {Form1, Pixel}};
    baum.beimLesen = [this](instance::Komponente owner, int index) {
        if (owner == App && index == 1)
            baum.teile[App].besitzt.pop_back();
    };
    instance::FormulareNachVorne(ws, baum, App);
    EXPECT_EQ(BroughtForward(), (Log {"BringWindowToTop(1)"}));
}

} // namespace
