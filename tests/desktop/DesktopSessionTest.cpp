// The real program on an X display, with a window manager (openbox) or without
// one, seen from outside as the user meets it: where its windows appear at
// their first and later showings, which window ends on top after a second
// start or message 1224, and which one then has the keyboard.
#include "X11Probe.h"

#include "instance/Messages.h"
#include "instance/ChannelProtocol.h"
#include "instance/MessageChannel.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>
#include <csignal>
#include <map>
#include <sys/stat.h>

#include <deque>

void PrintTo(const QPoint& p, std::ostream* os) { *os << p.x() << ',' << p.y(); }

namespace {

using desktoptest::X11Probe;

std::string Describe(const std::vector<QPoint>& places)
{
    std::string text;
    for (const QPoint& p : places)
        text += (text.empty() ? "" : " then ") + std::to_string(p.x()) + ',' + std::to_string(p.y());
    return text.empty() ? "nowhere" : text;
}

const QString MainTitle = QStringLiteral("Zarnolith V1.01");
const QString PixelTitle = QStringLiteral("Neue Startwerte für Bildbreite und -höhe");
const QString BackgroundTitle = QStringLiteral("Schrifthintergrund wählen");
constexpr int Patience = 10000; // ms; only a failing check waits that long

int half(int x) { return x / 2; }

// The user's rules for the three windows, on outer rectangles.
QPoint CentredIn(const QRect& area, const QSize& outer)
{
    return area.topLeft() + QPoint(half(area.width() - outer.width()), half(area.height() - outer.height()));
}
QPoint CentredOverOwner(const QRect& owner, const QSize& outer, const QRect& workArea)
{
    return {std::max(owner.left() + half(owner.width() - outer.width()), workArea.left()),
            std::max(owner.top() + half(owner.height() - outer.height()), workArea.top())};
}
QPoint ByTheScreen(const QRect& screen, const QSize& outer)
{
    return {std::max(0, half(screen.width() - outer.width()) - 1),
            std::max(0, half(screen.height() - outer.height()) - 1)};
}

// Where a window whose rule puts it at `p` goes: moved the least that keeps
// its outer rectangle inside the work area (its top-left corner in the work
// area's where it is larger).
QPoint KeptInside(const QRect& area, const QPoint& p, const QSize& outer)
{
    const auto in = [](int start, int length, int wanted, int size) {
        return size >= length ? start : std::clamp(wanted, start, start + length - size);
    };
    return {in(area.left(), area.width(), p.x(), outer.width()), in(area.top(), area.height(), p.y(), outer.height())};
}

// Under display scaling (QT_SCALE_FACTOR, or Xft.dpi above 96) a window
// lands on Qt's scaled coordinates, whole device pixels only every `scale` of
// them: a place may differ from the rule's, worked out in device pixels, by
// that much.
int ScaleSlack(X11Probe& probe)
{
    const double scale = qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")).toDouble()
        * std::max(1.0, probe.xftDpi() / 96.0);
    return scale > 1 ? int(std::ceil(scale)) : 0;
}

std::string Describe(const QRect& r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()).toStdString();
}

class DesktopSession : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QByteArray binDir = qgetenv("ZARNOLITH_BIN_DIR");
        ASSERT_FALSE(binDir.isEmpty()) << "ZARNOLITH_BIN_DIR must name the directory of the built program";
        program = QString::fromLocal8Bit(binDir) + "/zarnolith";
        ASSERT_TRUE(probe.ok()) << "no X display";
        ASSERT_TRUE(runtime.isValid() && config.isValid());
        ASSERT_EQ(::chmod(runtime.path().toLocal8Bit().constData(), 0700), 0);
        env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", runtime.path());
        env.insert("XDG_CONFIG_HOME", config.path());
        env.insert("QT_QPA_PLATFORM", "xcb");
        // The session says which desktop it is; the checks below must not silently run on the other one.
        withWindowManager = !qEnvironmentVariableIsEmpty("ZARNOLITH_WINDOW_MANAGER");
        if (withWindowManager)
            ASSERT_TRUE(QTest::qWaitFor([&] { return probe.windowManagerRunning() && probe.windowManagerAnswers(); },
                                        Patience));
        else
            ASSERT_FALSE(probe.windowManagerRunning());
    }

    void TearDown() override
    {
        for (auto& p : processes)
            if (p->state() != QProcess::NotRunning) {
                p->kill();
                p->waitForFinished(5000);
            }
        // The next test must not find this one's windows.
        EXPECT_TRUE(QTest::qWaitFor([&] { return probe.find(MainTitle) == XCB_WINDOW_NONE; }, Patience));
    }

    // Starts the program with the display font at this size; the start-values dialog opens by itself.
    QProcess* Start(int points)
    {
        QDir(config.path()).mkpath("Zarnolith");
        QFile settings(config.path() + "/Zarnolith/Zarnolith.reg");
        EXPECT_TRUE(settings.open(QIODevice::WriteOnly));
        settings.write(QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n"
                                      "[HKEY_CURRENT_USER\\Software\\Zarnolith]\r\n"
                                      "\"FontName\"=\"Arial\"\r\n\"FontSize\"=dword:%1\r\n")
                           .arg(points, 8, 16, QLatin1Char('0'))
                           .toUtf8());
        settings.close();
        return Run();
    }

    QProcess* Run()
    {
        processes.push_back(std::make_unique<QProcess>());
        QProcess* p = processes.back().get();
        p->setProcessEnvironment(env);
        p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p->start(program, {});
        EXPECT_TRUE(p->waitForStarted(5000));
        return p;
    }

    // The window as soon as it is mapped and framed.
    xcb_window_t Shown(const QString& title)
    {
        xcb_window_t w = XCB_WINDOW_NONE;
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                w = probe.find(title);
                return w != XCB_WINDOW_NONE && probe.outer(w);
            },
            Patience))
            << title.toStdString() << " did not appear";
        return w;
    }

    void Gone(const QString& title)
    {
        EXPECT_TRUE(QTest::qWaitFor([&] { return probe.find(title) == XCB_WINDOW_NONE; }, Patience))
            << title.toStdString() << " is still shown";
    }

    // The window has the keyboard and, with a window manager, is the active window.
    bool HasTheKeyboard(xcb_window_t w)
    {
        return probe.inputFocus() == w && (!withWindowManager || probe.activeWindow() == w);
    }

    ::testing::AssertionResult WaitForTheKeyboard(xcb_window_t w)
    {
        if (QTest::qWaitFor([&] { return HasTheKeyboard(w); }, Patience))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "focus on " << probe.title(probe.inputFocus()) << ", active "
                                             << probe.title(probe.activeWindow()) << ", wanted " << probe.title(w);
    }

    // Without a window manager nothing gives a new window the keyboard: the user clicks it.
    void Click(xcb_window_t w)
    {
        if (!withWindowManager)
            probe.activate(w);
        ASSERT_TRUE(WaitForTheKeyboard(w));
    }

    // Key presses as the keyboard sends them, to the window that has the keyboard.
    void Keys(xcb_window_t to, const QStringList& keys)
    {
        Click(to);
        for (const QString& k : keys)
            ASSERT_EQ(QProcess::execute("xdotool", {"key", "--delay", "30", k}), 0) << k.toStdString();
    }

    bool Post(unsigned message)
    {
        instance::ChannelClient client;
        return client.Connect(instance::ChannelSocketPath(runtime.path().toStdString(), instance::kInstanceName))
            && client.Post(message);
    }

    X11Probe probe;
    desktoptest::MoveLog moves; // from before the program starts
    bool withWindowManager = false;
    QString program;
    QTemporaryDir runtime;
    QTemporaryDir config;
    QProcessEnvironment env;
    std::vector<std::unique_ptr<QProcess>> processes;
};

// Outer rectangles, frame and title bar included, as they are the moment each
// window appears: with a window manager placed right at once, without a jump
// afterwards.
class Placement : public DesktopSession, public ::testing::WithParamInterface<int> {
protected:
    std::map<QString, int> showings;
    const int slack = ScaleSlack(probe);
    bool Near(const QPoint& seen, const QPoint& wanted) const
    {
        return std::abs(seen.x() - wanted.x()) <= slack && std::abs(seen.y() - wanted.y()) <= slack;
    }
    // The window's rectangle when it appears, checked against where it
    // belongs: where its rule puts it, kept inside the work area.
    QRect Appears(const QString& title, const std::function<QPoint(const QSize&)>& rule)
    {
        const QRect workArea = probe.workArea();
        const auto wanted = [&](const QSize& s) { return KeptInside(workArea, rule(s), s); };
        const xcb_window_t w = Shown(title);
        QRect seen = probe.outer(w).value_or(QRect());
        // Without a window manager Qt may map the window before it moves it
        // there (seen on a busy machine); that is left to Qt, the place must hold.
        if (!withWindowManager)
            (void)QTest::qWaitFor(
                [&] {
                    seen = probe.outer(w).value_or(QRect());
                    return Near(seen.topLeft(), wanted(seen.size()));
                },
                Patience);
        const std::string where = title.toStdString() + " appeared at " + Describe(seen) + " ("
            + std::to_string(GetParam()) + " pt, showing " + std::to_string(++showings[title]) + ", scale slack "
            + std::to_string(slack) + ")";
        if (slack == 0)
            EXPECT_EQ(seen.topLeft(), wanted(seen.size())) << where;
        else
            EXPECT_TRUE(Near(seen.topLeft(), wanted(seen.size())))
                << where << " where the rule puts it at " << wanted(seen.size()).x() << ',' << wanted(seen.size()).y();
        EXPECT_TRUE(workArea.contains(seen)) << where << ", outside the work area " << Describe(workArea);
        return seen;
    }

    // With a window manager the window was mapped where it stands now and has
    // not moved since: no jump from a wrong first place, however quick.
    void MappedInPlace(const QString& title)
    {
        if (!withWindowManager)
            return; // Qt may map first and move after (see Appears)
        const xcb_window_t w = probe.find(title);
        const QPoint now = probe.outer(w).value_or(QRect()).topLeft();
        const std::vector<QPoint> places = moves.placesSinceMapped(w);
        EXPECT_EQ(places, std::vector<QPoint>{now})
            << title.toStdString() << " since it was mapped: " << Describe(places) << " (" << GetParam() << " pt)";
    }

    // Checks that the window came up in place, then closes it with Esc.
    void Close(const QString& title)
    {
        MappedInPlace(title);
        Keys(Shown(title), {"Escape"});
        Gone(title);
    }
};

TEST_P(Placement, MainWindowAndBothDialogsAtTheirFirstAndLaterShowings)
{
    Start(GetParam());
    const QRect workArea = probe.workArea(), screen = probe.screen();
    const QRect main = Appears(MainTitle, [&](const QSize& s) { return CentredIn(workArea, s); });
    const auto overMain = [&](const QSize& s) { return CentredOverOwner(main, s, workArea); };
    const auto byScreen = [&](const QSize& s) { return ByTheScreen(screen, s); };

    Appears(PixelTitle, overMain);
    Close(PixelTitle);
    const xcb_window_t mainWindow = probe.find(MainTitle);
    Keys(mainWindow, {"ctrl+n"});
    Appears(PixelTitle, byScreen);
    Close(PixelTitle);

    for (const auto& rule :
         {std::function<QPoint(const QSize&)>(overMain), std::function<QPoint(const QSize&)>(byScreen)}) {
        Keys(mainWindow, {"alt+a", "h"});
        Appears(BackgroundTitle, rule);
        Close(BackgroundTitle);
    }
    // Nothing has moved the main window meanwhile, nor since it was mapped.
    EXPECT_EQ(probe.outer(mainWindow).value_or(QRect()), main);
    MappedInPlace(MainTitle);
}

INSTANTIATE_TEST_SUITE_P(Points, Placement, ::testing::Values(14, 48));

// The window manager stopped (SIGSTOP) while a window is shown for the first
// time, as a busy machine may keep it from running, for longer than the
// program waits for its answer about the frame: the window still appears
// where its rule puts its outer rectangle, and stays there.
class SlowWindowManager : public Placement {
protected:
    void SetUp() override
    {
        Placement::SetUp();
        if (!withWindowManager)
            GTEST_SKIP() << "a window manager to stop";
        wm = static_cast<pid_t>(qEnvironmentVariableIntValue("ZARNOLITH_WINDOW_MANAGER_PID"));
        ASSERT_GT(wm, 0) << "ZARNOLITH_WINDOW_MANAGER_PID names the window manager";
    }
    void TearDown() override
    {
        if (wm > 0)
            ::kill(wm, SIGCONT);
        Placement::TearDown();
    }

    // Stops the window manager, does what shows the window, keeps it stopped
    // until the window is made and for longer than the program waits for an
    // answer (2 s), then lets it run again.
    void WhileStopped(const QString& title, const std::function<void()>& show)
    {
        ASSERT_EQ(::kill(wm, SIGSTOP), 0);
        show();
        EXPECT_TRUE(QTest::qWaitFor([&] { return probe.created(title); }, Patience)) << title.toStdString();
        QTest::qWait(3000); // the stopped window manager is the condition under test, not a wait for a state
        ASSERT_EQ(::kill(wm, SIGCONT), 0);
    }

    // Once shown, the window does not move (no correction after a wrong first place).
    void Stays(const QString& title, const QRect& first)
    {
        const xcb_window_t w = probe.find(title);
        EXPECT_FALSE(QTest::qWaitFor([&] { return probe.outer(w).value_or(first) != first; }, 1500))
            << title.toStdString() << " moved from " << Describe(first) << " to "
            << Describe(probe.outer(w).value_or(QRect()));
        MappedInPlace(title);
    }

    pid_t wm = 0;
};

TEST_P(SlowWindowManager, WindowsAppearWhereTheyBelongAtTheirFirstShowing)
{
    const QRect workArea = probe.workArea(), screen = probe.screen();
    // The main window, with no window of ours framed yet to go by.
    WhileStopped(MainTitle, [&] { Start(GetParam()); });
    const QRect main = Appears(MainTitle, [&](const QSize& s) { return CentredIn(workArea, s); });
    Stays(MainTitle, main);
    const auto overMain = [&](const QSize& s) { return CentredOverOwner(main, s, workArea); };
    const QRect pixel = Appears(PixelTitle, overMain);
    Stays(PixelTitle, pixel);
    Keys(Shown(PixelTitle), {"Escape"});
    Gone(PixelTitle);

    // The background dialog, the main window framed beside it.
    const xcb_window_t mainWindow = probe.find(MainTitle);
    Click(mainWindow);
    WhileStopped(BackgroundTitle, [&] {
        ASSERT_EQ(QProcess::execute("xdotool", {"key", "--delay", "30", "alt+a", "h"}), 0);
    });
    Stays(BackgroundTitle, Appears(BackgroundTitle, overMain));
    Keys(Shown(BackgroundTitle), {"Escape"});
    Gone(BackgroundTitle);

    // The start-values dialog again, placed by the screen this time.
    Click(mainWindow);
    WhileStopped(PixelTitle, [&] { ASSERT_EQ(QProcess::execute("xdotool", {"key", "ctrl+n"}), 0); });
    Stays(PixelTitle, Appears(PixelTitle, [&](const QSize& s) { return ByTheScreen(screen, s); }));
}

INSTANTIATE_TEST_SUITE_P(Points, SlowWindowManager, ::testing::Values(14));

// With a dialog open and another program in front, a second start or message
// 1224 brings our windows forward: the dialog on top with the keyboard.
struct Request {
    bool secondStart;  // else message 1224 through the channel
    bool otherInFront; // else our dialog still has the keyboard
};

class Activation : public DesktopSession, public ::testing::WithParamInterface<Request> {
protected:
    void Request()
    {
        if (GetParam().secondStart) {
            QProcess* second = Run();
            ASSERT_TRUE(second->waitForFinished(10000));
            EXPECT_EQ(second->exitCode(), 0);
        } else {
            ASSERT_TRUE(Post(instance::WM_AKTIVIEREN));
        }
    }

    void ComesForward(xcb_window_t main, xcb_window_t dialog)
    {
        Click(dialog);
        xcb_window_t other = XCB_WINDOW_NONE;
        if (GetParam().otherInFront) {
            other = probe.showOtherProgram(QRect(0, 0, probe.screen().width(), probe.screen().height()));
            ASSERT_TRUE(WaitForTheKeyboard(other));
            ASSERT_TRUE(QTest::qWaitFor([&] { return probe.stacking().back() == other; }, Patience));
        }

        Request();
        const auto inOrder = [&] {
            const std::vector<xcb_window_t> s = probe.stacking();
            const auto at = [&](xcb_window_t w) { return std::find(s.begin(), s.end(), w) - s.begin(); };
            const bool otherBelow = other == XCB_WINDOW_NONE || at(other) < at(main);
            return otherBelow && at(main) < at(dialog) && s.back() == dialog;
        };
        EXPECT_TRUE(QTest::qWaitFor(inOrder, Patience)) << ::testing::PrintToString(probe.stackingTitles());
        EXPECT_TRUE(WaitForTheKeyboard(dialog));
        if (other != XCB_WINDOW_NONE)
            probe.destroy(other);
    }
};

TEST_P(Activation, OpenDialogEndsOnTopWithTheKeyboard)
{
    Start(14);
    const xcb_window_t main = Shown(MainTitle);
    const xcb_window_t pixel = Shown(PixelTitle);
    ComesForward(main, pixel);

    Keys(pixel, {"Escape"});
    Gone(PixelTitle);
    Keys(main, {"alt+a", "h"});
    ComesForward(main, Shown(BackgroundTitle));
}

INSTANTIATE_TEST_SUITE_P(Requests, Activation,
                         ::testing::Values(Request{true, true}, Request{false, true}, Request{true, false},
                                           Request{false, false}),
                         [](const auto& info) {
                             return std::string(info.param.secondStart ? "SecondStart" : "Message1224")
                                 + (info.param.otherInFront ? "OverAnotherProgram" : "WhileOurDialogHasTheKeyboard");
                         });

// Three runs one after the other on the same display, each with its own
// settings and runtime directory, as a user met them: a damaged settings file
// whose notice is answered with Return from a tool that then dies (it leaves
// Return held down in the X server, repeating), a run closed from outside
// past a full channel, then a settings file the load stops at. The last run
// must still show its error box, and no start-values dialog.
class StartUpSequence : public DesktopSession {
protected:
    struct Run {
        std::unique_ptr<QTemporaryDir> runtime = std::make_unique<QTemporaryDir>();
        std::unique_ptr<QTemporaryDir> config = std::make_unique<QTemporaryDir>();
        std::unique_ptr<QProcess> process = std::make_unique<QProcess>();
    };

    Run& Fresh(const QByteArray& settings)
    {
        runs.emplace_back();
        Run& r = runs.back();
        EXPECT_TRUE(r.runtime->isValid() && r.config->isValid());
        EXPECT_EQ(::chmod(r.runtime->path().toLocal8Bit().constData(), 0700), 0);
        if (!settings.isEmpty()) {
            QDir(r.config->path()).mkpath("Zarnolith");
            QFile file(r.config->path() + "/Zarnolith/Zarnolith.reg");
            EXPECT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(settings);
        }
        QProcessEnvironment e = env;
        e.insert("XDG_RUNTIME_DIR", r.runtime->path());
        e.insert("XDG_CONFIG_HOME", r.config->path());
        r.process->setProcessEnvironment(e);
        r.process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        r.process->start(program, {});
        EXPECT_TRUE(r.process->waitForStarted(5000));
        return r;
    }

    static std::string Socket(const Run& r)
    {
        return instance::ChannelSocketPath(r.runtime->path().toStdString(), instance::kInstanceName);
    }

    void TearDown() override
    {
        // Whatever the steps left held down must not reach the next test.
        QProcess::execute("xdotool", {"keyup", "Return"});
        for (Run& r : runs)
            if (r.process->state() != QProcess::NotRunning) {
                r.process->kill();
                r.process->waitForFinished(5000);
            }
        DesktopSession::TearDown();
    }

    std::deque<Run> runs;
};

TEST_F(StartUpSequence, TheErrorBoxOfALoadErrorAppearsAfterEarlierRunsOnTheSameDisplay)
{
    const QString notice = QStringLiteral("Informationen");
    const QString error = QStringLiteral("Fehler");

    // (a) A settings file of about 2.3 MB: one binary value over 30,000 lines.
    QByteArray big = "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Zarnolith]\r\n"
                     "\"FontName\"=\"Arial\"\r\n\"Gross\"=hex:00,01,02,03,\\\r\n";
    for (int i = 0; i < 30000; ++i)
        big += "  00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,16,17,\\\r\n";
    big += "  00\r\n";
    ASSERT_GT(big.size(), 2'000'000);
    Run& a = Fresh(big);
    Shown(notice);
    QProcess::execute("xdotool", {"search", "--name", "^Informationen$", "windowfocus", "key", "Return"});
    // xdotool presses through the X server while the box has the focus, and
    // sends the release to the box itself once it has not: the box closes at
    // the press, so unless the program was slower than xdotool's 12 ms between
    // the two, the server keeps Return held down (and xdotool dies of a
    // BadWindow). Where the race went the other way, hold it down here.
    if (probe.keysDown().empty())
        QProcess::execute("xdotool", {"keydown", "Return"});
    a.process->kill(); // SIGKILL
    ASSERT_TRUE(a.process->waitForFinished(10000));
    Gone(notice);
    Gone(MainTitle);
    ASSERT_FALSE(probe.keysDown().empty()) << "Return is no longer held down";

    // (b) No settings; 32 connections that send nothing, then 1124 on a 33rd.
    Run& b = Fresh({});
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(QString::fromStdString(Socket(b))); }, Patience));
    std::vector<std::unique_ptr<instance::ChannelClient>> idle;
    for (int i = 0; i < 32; ++i) {
        idle.push_back(std::make_unique<instance::ChannelClient>());
        ASSERT_TRUE(idle.back()->Connect(Socket(b))) << i;
    }
    instance::ChannelClient closer;
    ASSERT_TRUE(closer.Connect(Socket(b)));
    ASSERT_TRUE(closer.Post(instance::WM_BEENDEN));
    ASSERT_TRUE(b.process->waitForFinished(Patience));
    EXPECT_EQ(b.process->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(b.process->exitCode(), 0);
    idle.clear();
    Gone(MainTitle);

    // (c) The load stops at FontSize, an integer value of 8 bytes.
    Run& c = Fresh("Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Zarnolith]\r\n"
                   "\"FontName\"=\"Arial\"\r\n\"FontSize\"=hex(b):0e,00,00,00,00,00,00,00\r\n");
    Shown(MainTitle);
    const xcb_window_t box = Shown(error);
    ASSERT_NE(box, XCB_WINDOW_NONE) << "no error box; shown: " << ::testing::PrintToString(probe.stackingTitles());
    EXPECT_EQ(probe.find(PixelTitle), XCB_WINDOW_NONE) << "the start-values dialog opened after a load error";
    // Return is still held down and repeating: the box gets the keyboard and must
    // stay. The server repeats a held key every 40 ms after 660 ms (its
    // defaults), so two seconds with the keyboard mean dozens of repeats.
    ASSERT_FALSE(probe.keysDown().empty());
    Click(box);
    EXPECT_FALSE(QTest::qWaitFor([&] { return probe.find(error) == XCB_WINDOW_NONE; }, 2000))
        << "the box closed without being answered";
    ASSERT_EQ(probe.find(error), box);
    EXPECT_TRUE(HasTheKeyboard(box));
    // The box stays until it is answered; a key pressed while it is up answers it.
    QProcess::execute("xdotool", {"keyup", "Return"});
    Keys(box, {"Return"});
    Gone(error);
    EXPECT_EQ(probe.find(PixelTitle), XCB_WINDOW_NONE);
    EXPECT_EQ(c.process->state(), QProcess::Running);
    instance::ChannelClient client;
    ASSERT_TRUE(client.Connect(Socket(c)) && client.Post(instance::WM_BEENDEN));
    ASSERT_TRUE(c.process->waitForFinished(Patience));
    EXPECT_EQ(c.process->exitCode(), 0);
}

} // namespace
