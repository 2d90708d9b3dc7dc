// The real program as separate processes, each test with its own private
// runtime directory: the second start, outside close requests, a start storm,
// a crashed, a stopped and a crowded instance.
#include "instance/Messages.h"
#include "instance/MessageChannel.h"
#include "instance/NamedMutex.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <fstream>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

class InstanceProcessTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QByteArray binDir = qgetenv("ZARNOLITH_BIN_DIR");
        ASSERT_FALSE(binDir.isEmpty()) << "ZARNOLITH_BIN_DIR must name the directory of the built program";
        program = QString::fromLocal8Bit(binDir) + "/zarnolith";
        ASSERT_TRUE(QFile::exists(program)) << program.toStdString();
        ASSERT_TRUE(runtime.isValid());
        ASSERT_EQ(::chmod(runtime.path().toLocal8Bit().constData(), 0700), 0);
        env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", runtime.path());
        // A desktop session names its own platform; otherwise the program runs headless.
        env.insert("QT_QPA_PLATFORM", qEnvironmentVariable("ZARNOLITH_TEST_PLATFORM", "offscreen"));
        env.insert("QT_LOGGING_RULES", "zarnolith.instance.debug=true");
    }

    void TearDown() override
    {
        for (auto& p : processes)
            if (p->state() != QProcess::NotRunning) {
                p->kill();
                p->waitForFinished(5000);
            }
    }

    std::string SocketPath() const
    {
        return instance::ChannelSocketPath(runtime.path().toStdString(), instance::kInstanceName);
    }

    QProcess* Start(const QProcessEnvironment& e)
    {
        processes.push_back(std::make_unique<QProcess>());
        QProcess* p = processes.back().get();
        p->setProcessEnvironment(e);
        p->start(program, {});
        EXPECT_TRUE(p->waitForStarted(5000));
        return p;
    }
    QProcess* Start() { return Start(env); }

    // The titles the running instance reports, or nothing while none answers.
    std::optional<std::vector<std::string>> Titles() const
    {
        instance::ChannelClient client;
        return client.Connect(SocketPath()) ? client.QueryTitles(2000) : std::nullopt;
    }

    bool WaitUntilAnswering()
    {
        return QTest::qWaitFor(
            [&] {
                const auto t = Titles();
                return t && std::find(t->begin(), t->end(), "Zarnolith V1.01") != t->end();
            },
            15000);
    }

    bool Send(unsigned message) const
    {
        instance::ChannelClient client;
        return client.Connect(SocketPath()) && client.Post(message);
    }

    // The state letter of /proc/PID/stat ('T': stopped), or 0.
    static char ProcessState(pid_t pid)
    {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            return 0;
        const QByteArray line = stat.readAll();
        const qsizetype end = line.lastIndexOf(')');
        return end >= 0 && end + 2 < line.size() ? line.at(end + 2) : 0;
    }

    static int Count(const QByteArray& text, const QByteArray& what) { return static_cast<int>(text.count(what)); }

    // Collects the process's trace until it holds what, or the time is up.
    static bool WaitForTrace(QProcess* p, QByteArray& log, const QByteArray& what, int timeoutMs)
    {
        return QTest::qWaitFor(
            [&] {
                log += p->readAllStandardError();
                return log.contains(what);
            },
            timeoutMs);
    }

    QString program;
    QTemporaryDir runtime;
    QProcessEnvironment env;
    std::vector<std::unique_ptr<QProcess>> processes;
};

TEST_F(InstanceProcessTest, SecondStartActivatesTheFirstAndEndsWithoutLoadingTheToolkit)
{
    QProcess* first = Start();
    ASSERT_TRUE(WaitUntilAnswering()) << first->readAllStandardError().toStdString();

    QProcessEnvironment traced = env;
    traced.insert("LD_DEBUG", "files"); // the dynamic loader names every library it loads
    QProcess* second = Start(traced);
    ASSERT_TRUE(second->waitForFinished(10000));
    EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second->exitCode(), 0);
    const QByteArray loaded = second->readAllStandardError();
    EXPECT_TRUE(loaded.contains("libc.so")) << "the loader trace is missing, the check below would prove nothing";
    EXPECT_FALSE(loaded.contains("libzarnolith-gui")) << loaded.toStdString();
    EXPECT_FALSE(loaded.contains("libQt6")) << loaded.toStdString();

    QByteArray log;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            log += first->readAllStandardError();
            return log.contains("message 1224");
        },
        5000));
    QTest::qWait(100);
    log += first->readAllStandardError();
    EXPECT_EQ(Count(log, "message 1224"), 1) << log.toStdString();
    EXPECT_EQ(first->state(), QProcess::Running);
}

TEST_F(InstanceProcessTest, OutsideCloseRequestEndsTheProgramCleanly)
{
    QProcess* first = Start();
    ASSERT_TRUE(WaitUntilAnswering());
    // Sent at once: at the first start this races with the start-values dialog opening by itself.
    ASSERT_TRUE(Send(instance::WM_BEENDEN));
    ASSERT_TRUE(first->waitForFinished(20000)) << first->readAllStandardError().toStdString();
    EXPECT_EQ(first->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(first->exitCode(), 0) << first->readAllStandardError().toStdString();

    // Nothing left behind that could hinder the next start.
    struct stat st {};
    EXPECT_NE(::stat(SocketPath().c_str(), &st), 0);
    instance::FlockNamedMutex lock(runtime.path().toStdString());
    lock.CloseHandle(lock.CreateMutexW(instance::kInstanceName));
    EXPECT_EQ(lock.GetLastError(), instance::MutexError::Success);
}

TEST_F(InstanceProcessTest, TenStartsAtOnceLeaveExactlyOneRunning)
{
    std::vector<QProcess*> starts;
    for (int i = 0; i < 10; ++i) {
        processes.push_back(std::make_unique<QProcess>());
        processes.back()->setProcessEnvironment(env);
        starts.push_back(processes.back().get());
    }
    for (QProcess* p : starts)
        p->start(program, {});
    const auto running = [&] {
        return std::count_if(starts.begin(), starts.end(),
                             [](QProcess* p) { return p->state() != QProcess::NotRunning; });
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return running() <= 1; }, 20000)) << running() << " still running";
    QTest::qWait(300);
    EXPECT_EQ(running(), 1);
    for (QProcess* p : starts)
        if (p->state() == QProcess::NotRunning) {
            EXPECT_EQ(p->exitStatus(), QProcess::NormalExit);
            EXPECT_EQ(p->exitCode(), 0);
        }
    EXPECT_TRUE(WaitUntilAnswering());
}

TEST_F(InstanceProcessTest, AfterTheInstanceWasKilledANewStartRunsNormally)
{
    QProcess* crashed = Start();
    ASSERT_TRUE(WaitUntilAnswering());
    crashed->kill(); // SIGKILL: no clean-up at all
    ASSERT_TRUE(crashed->waitForFinished(5000));
    struct stat st {};
    ASSERT_EQ(::stat(SocketPath().c_str(), &st), 0) << "the crash should have left its socket file";

    QProcess* next = Start();
    ASSERT_TRUE(WaitUntilAnswering()) << next->readAllStandardError().toStdString();
    QTest::qWait(200);
    EXPECT_EQ(next->state(), QProcess::Running);

    // And it is the instance a further start finds.
    QProcess* third = Start();
    ASSERT_TRUE(third->waitForFinished(10000));
    EXPECT_EQ(third->exitCode(), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return next->readAllStandardError().contains("message 1224"); }, 5000));
}

TEST_F(InstanceProcessTest, UnusableLockStartsTheProgramUnguardedAndSilently)
{
    // A directory where the lock file belongs: the lock cannot be created.
    ASSERT_TRUE(QDir(runtime.path()).mkdir("Zarnolith V1.01.lock"));
    QProcess* first = Start();
    ASSERT_TRUE(WaitUntilAnswering());
    EXPECT_EQ(first->state(), QProcess::Running);
    ASSERT_TRUE(Send(instance::WM_BEENDEN));
    ASSERT_TRUE(first->waitForFinished(10000));
    EXPECT_EQ(first->exitCode(), 0);
}

// At the first start the start-values dialog opens by itself; requests still work then.
TEST_F(InstanceProcessTest, WithTheStartValuesDialogOpenItEndsOnTopAndCloseStillEnds)
{
    QProcess* first = Start();
    ASSERT_TRUE(WaitUntilAnswering());
    const QString mainWindow = "\"Zarnolith V1.01\"", dialog = "\"Neue Startwerte f\u00FCr Bildbreite und -h\u00F6he\"";
    // The windows each WM_AKTIVIEREN brought forward, from the instance's trace.
    std::vector<QStringList> walks;
    QByteArray log;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            Send(instance::WM_AKTIVIEREN);
            QTest::qWait(100);
            log += first->readAllStandardError();
            walks.clear();
            for (const QString& line : QString::fromUtf8(log).split('\n')) {
                if (line.startsWith("zarnolith.instance: message 1224"))
                    walks.emplace_back();
                else if (line.startsWith("zarnolith.instance: forward: ") && !walks.empty())
                    walks.back().append(line.mid(29));
            }
            return walks.size() > 1 && walks[walks.size() - 2].contains(dialog);
        },
        10000))
        << log.toStdString();
    EXPECT_EQ(walks[walks.size() - 2], (QStringList{mainWindow, dialog}));

    ASSERT_TRUE(Send(instance::WM_BEENDEN));
    ASSERT_TRUE(first->waitForFinished(10000));
    EXPECT_EQ(first->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(first->exitCode(), 0);
}

// Connections that never send a request (another program of the same user,
// or a hostile one) must not keep the second start from reaching the instance.
TEST_F(InstanceProcessTest, IdleConnectionsDoNotKeepTheSecondStartOut)
{
    QProcess* first = Start();
    ASSERT_TRUE(WaitUntilAnswering());
    std::vector<int> idle;
    for (int i = 0; i < 40; ++i) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", SocketPath().c_str());
        ASSERT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0) << i;
        idle.push_back(fd);
    }
    QProcess* second = Start();
    ASSERT_TRUE(second->waitForFinished(10000));
    EXPECT_EQ(second->exitCode(), 0);
    QByteArray log;
    EXPECT_TRUE(WaitForTrace(first, log, "message 1224", 10000)) << log.toStdString();
    for (int fd : idle)
        ::close(fd);
}

// An instance that holds the lock but does not answer (stopped, hung) costs a
// second start its answer limit, then it ends without a window of its own.
// How long that limit is, is the benchmarks' matter; here: it ends at all,
// within the patience of a user who started it, and sends nothing.
TEST_F(InstanceProcessTest, SecondStartGivesUpOnAnInstanceThatDoesNotAnswer)
{
    QProcess* first = Start();
    ASSERT_TRUE(WaitUntilAnswering());
    const pid_t firstPid = static_cast<pid_t>(first->processId());
    ASSERT_EQ(::kill(firstPid, SIGSTOP), 0);
    // kill() only sends the signal: the instance must be stopped before the
    // second start asks it, or it may still answer.
    ASSERT_TRUE(QTest::qWaitFor([&] { return ProcessState(firstPid) == 'T'; }, 5000));
    QProcess* second = Start();
    const bool ended = second->waitForFinished(15000);
    ::kill(firstPid, SIGCONT);
    ASSERT_TRUE(ended) << "the second start waits for ever";
    EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second->exitCode(), 0);
    // It posted nothing it had no answer for; the instance goes on.
    EXPECT_TRUE(WaitUntilAnswering());
    EXPECT_EQ(first->state(), QProcess::Running);
    ASSERT_TRUE(Send(instance::WM_BEENDEN)); // the last request, ours, ends its trace
    ASSERT_TRUE(first->waitForFinished(10000));
    const QByteArray log = first->readAllStandardError();
    EXPECT_EQ(Count(log, "message "), 1) << log.toStdString();
}

// A settings file the program cannot load shows the error box at start-up; a
// close request from outside ends the program all the same, box and all.
TEST_F(InstanceProcessTest, CloseRequestWithTheStartUpErrorBoxOpenEndsTheProgram)
{
    QTemporaryDir config;
    ASSERT_TRUE(QDir(config.path()).mkpath("Zarnolith"));
    std::ofstream(config.path().toStdString() + "/Zarnolith/Zarnolith.reg", std::ios::binary)
        << "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Zarnolith]\r\n"
           "\"FontSize\"=\"1\"\r\n";
    QProcessEnvironment e = env;
    e.insert("XDG_CONFIG_HOME", config.path());
    e.insert("QT_LOGGING_RULES", "zarnolith.instance.debug=true\nzarnolith.errorbox.debug=true");
    QProcess* first = Start(e);
    QByteArray log;
    ASSERT_TRUE(WaitForTrace(first, log, "box: \"Ung\u00FCltiger Datentyp f\u00FCr 'FontSize'\"", 15000))
        << log.toStdString();
    ASSERT_TRUE(Send(instance::WM_BEENDEN));
    ASSERT_TRUE(first->waitForFinished(10000)) << "still running with the box open";
    EXPECT_EQ(first->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(first->exitCode(), 0);
}

} // namespace
