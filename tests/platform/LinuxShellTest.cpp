#include "platform/Shell.h"

#include "support/StandInProgram.h"

#include <QFileInfo>

#include <cstddef>
#include <fcntl.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <pthread.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using platform::LinuxShell;
namespace ShellResult = platform::ShellResult;

namespace {

// A stand-in desktop opener first on PATH, and a stand-in program.
class LinuxShellTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_oldPath = qgetenv("PATH");
        QDir().mkpath(binDir());
        ASSERT_TRUE(standin::WriteRecorder(binDir() + "/xdg-open", openerRecords()));
        ASSERT_TRUE(standin::WriteRecorder(programPath(), programRecords()));
        QDir().mkpath(workDir());
        qputenv("PATH", QFile::encodeName(binDir()) + ":" + m_oldPath);
    }
    void TearDown() override { qputenv("PATH", m_oldPath); }

    QString binDir() const { return m_dir.path() + "/bin"; }
    QString workDir() const { return m_dir.path() + "/work dir"; }
    QString openerRecords() const { return m_dir.path() + "/opener"; }
    QString programRecords() const { return m_dir.path() + "/program"; }
    QString programPath() const { return m_dir.path() + "/prog with blank"; }

    int execute(const QString& file, const QString& parameters = {}, const QString& directory = {},
                const QString& operation = "open")
    {
        return m_shell.ShellExecute(0, operation.toStdString(), file.toStdString(), parameters.toStdString(),
                                    directory.toStdString(), 1);
    }

    QTemporaryDir m_dir;
    QByteArray m_oldPath;
    LinuxShell m_shell;
};

TEST_F(LinuxShellTest, AddressesReachTheOpenerAsOneLiteralArgument)
{
    const QStringList addresses = {"https://www.example.org/a b?x=1&y=$(touch pwned);z",
                                   "mailto:someone@example.com?subject=Zarnolith V1.01", "http://example.com/"};
    for (const QString& address : addresses) {
        standin::ClearRecords(openerRecords());
        EXPECT_GT(execute(address, "ignored parameters", workDir()), 32) << address.toStdString();
        const auto records = standin::WaitForRecords(openerRecords());
        ASSERT_EQ(records.size(), 1u) << address.toStdString();
        EXPECT_EQ(records[0].arguments, QStringList{address});
    }
    EXPECT_FALSE(QFileInfo::exists(workDir() + "/pwned"));
}

TEST_F(LinuxShellTest, DocumentsReachTheOpenerAsTheirAbsolutePath)
{
    // Blanks, quotes and interpreter characters in the name; a leading dash
    // that would look like an option if the name were passed as given.
    const QString name = "-a \"quoted\" $(touch pwned); x.txt";
    QFile doc(workDir() + "/" + name);
    ASSERT_TRUE(doc.open(QIODevice::WriteOnly));
    doc.close();

    EXPECT_GT(execute(doc.fileName()), 32);
    auto records = standin::WaitForRecords(openerRecords());
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].arguments, QStringList{doc.fileName()});

    // relative to the given directory
    standin::ClearRecords(openerRecords());
    EXPECT_GT(execute(name, {}, workDir()), 32);
    records = standin::WaitForRecords(openerRecords());
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].arguments, QStringList{doc.fileName()});
    EXPECT_EQ(records[0].workingDirectory, workDir());
    EXPECT_FALSE(QFileInfo::exists(workDir() + "/pwned"));
}

// Makes this process the adopter of everything it starts detached, so a test
// can wait until every process it started has ended.
class AdoptDetachedStarts {
public:
    AdoptDetachedStarts() { ::prctl(PR_SET_CHILD_SUBREAPER, 1); }
    ~AdoptDetachedStarts() { ::prctl(PR_SET_CHILD_SUBREAPER, 0); }

    // Reaps children until none is left, at most five seconds.
    static bool WaitUntilAllEnded()
    {
        QDeadlineTimer deadline(5000);
        for (;;) {
            const pid_t pid = ::waitpid(-1, nullptr, WNOHANG);
            if (pid < 0 && errno == ECHILD)
                return true;
            if (pid == 0) {
                if (deadline.hasExpired())
                    return false;
                QThread::msleep(10);
            }
        }
    }
};

TEST_F(LinuxShellTest, ExecutableStartsDirectlyWithSplitParametersInTheGivenDirectory)
{
    const AdoptDetachedStarts adopt;
    EXPECT_GT(execute(programPath(), "Qmt.cfg \"two words\" \"$(touch pwned)\" ; a\\\"b", workDir()), 32);
    const auto records = standin::WaitForRecords(programRecords());
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].workingDirectory, workDir());
    EXPECT_EQ(records[0].arguments, (QStringList{"Qmt.cfg", "two words", "$(touch pwned)", ";", "a\"b"}));
    EXPECT_FALSE(QFileInfo::exists(workDir() + "/pwned"));
    // An opener would run detached too and record itself before it ends: once
    // every process started here has ended, its record would be there.
    ASSERT_TRUE(AdoptDetachedStarts::WaitUntilAllEnded());
    EXPECT_TRUE(standin::ReadRecords(openerRecords()).empty()) << "a program is not handed to the opener";
}

TEST_F(LinuxShellTest, EmptyParametersAndDirectoryGiveNoArgumentsAndOurDirectory)
{
    EXPECT_GT(execute(programPath()), 32);
    const auto records = standin::WaitForRecords(programRecords());
    ASSERT_EQ(records.size(), 1u);
    EXPECT_TRUE(records[0].arguments.isEmpty());
    EXPECT_EQ(records[0].workingDirectory, QDir::currentPath());
}

// Kernels before 5.11 lack close_range with close-on-exec; the start must not
// leak our descriptors there either. Such a kernel is stood in for by a
// seccomp filter that answers close_range with ENOSYS in a child process.
class StartedProgramInheritance : public LinuxShellTest, public ::testing::WithParamInterface<bool> {
protected:
    int executeMaybeWithoutCloseRange(const QString& script)
    {
        if (!GetParam())
            return execute(script);
        const pid_t child = ::fork();
        if (child == 0) {
            sock_filter filter[] = {
                BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
                BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_close_range, 0, 1),
                BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | (ENOSYS & SECCOMP_RET_DATA)),
                BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
            };
            sock_fprog program{static_cast<unsigned short>(std::size(filter)), filter};
            if (::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0
                || ::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) != 0)
                ::_exit(2);
            ::_exit(execute(script) > 32 ? 0 : 1);
        }
        int status = -1;
        ::waitpid(child, &status, 0);
        return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 33 : -WEXITSTATUS(status);
    }
};

TEST_P(StartedProgramInheritance, NeitherDescriptorsNorBlockedSignals)
{
    // A stand-in that records its open descriptors and its signal state. Perl
    // (always there on Debian) rather than sh, which clears its signal mask itself.
    const QString script = m_dir.path() + "/inspect";
    QFile f(script);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("#!/usr/bin/perl\nuse Cwd;\nmy $rec = '" + QFile::encodeName(programRecords())
            + "/' . $$;\n"
              "open(my $out, '>', \"$rec.tmp\") or die;\nprint $out getcwd(), \"\\n\";\n"
              "opendir(my $d, '/proc/self/fd');\nprint $out \"$_\\n\" for grep { !/^\\./ } readdir($d);\n"
              "open(my $st, '<', '/proc/self/status');\nprint $out grep { /^Sig(Blk|Ign)/ } <$st>;\n"
              "close $out;\nrename(\"$rec.tmp\", \"$rec.rec\");\n");
    f.close();
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QDir().mkpath(programRecords());

    // Deliberately without O_CLOEXEC, and numbered above what the stand-in opens itself.
    const int devNull = ::open("/dev/null", O_RDONLY);
    const int leaked = fcntl(devNull, F_DUPFD, 200);
    ::close(devNull);
    ASSERT_GE(leaked, 200);
    sigset_t block, old;
    sigemptyset(&block);
    sigaddset(&block, SIGUSR1);
    pthread_sigmask(SIG_BLOCK, &block, &old);
    struct sigaction ignore {
    }, oldPipe{};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGPIPE, &ignore, &oldPipe);

    const int result = executeMaybeWithoutCloseRange(script);

    sigaction(SIGPIPE, &oldPipe, nullptr);
    pthread_sigmask(SIG_SETMASK, &old, nullptr);
    ::close(leaked);

    EXPECT_GT(result, 32);
    const auto records = standin::WaitForRecords(programRecords());
    ASSERT_EQ(records.size(), 1u);
    const QStringList& lines = records[0].arguments;
    EXPECT_FALSE(lines.contains(QString::number(leaked))) << lines.join(' ').toStdString();
    for (const QString& line : lines) {
        if (line.startsWith("SigBlk:")) {
            EXPECT_EQ(line.section('\t', 1).toULongLong(nullptr, 16), 0u) << line.toStdString();
        }
        if (line.startsWith("SigIgn:")) {
            EXPECT_EQ(line.section('\t', 1).toULongLong(nullptr, 16) & (1ull << (SIGPIPE - 1)), 0u);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Kernels, StartedProgramInheritance, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "WithoutCloseRange" : "AsItIs";
                         });

TEST_F(LinuxShellTest, FailuresAreReportedAsSmallNumbers)
{
    EXPECT_EQ(execute(m_dir.path() + "/missing.exe"), ShellResult::FileNotFound);
    EXPECT_EQ(execute("no-such-program-anywhere"), ShellResult::FileNotFound);
    EXPECT_EQ(execute(programPath(), {}, m_dir.path() + "/no such dir"), ShellResult::FileNotFound);
    EXPECT_EQ(execute("https://example.org", {}, {}, "print"), ShellResult::NoAssociation);

    // A file marked executable that is not a program.
    QFile notAProgram(m_dir.path() + "/garbage");
    ASSERT_TRUE(notAProgram.open(QIODevice::WriteOnly));
    notAProgram.write("\x01\x02\x03 not a program");
    notAProgram.close();
    notAProgram.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(execute(notAProgram.fileName()), ShellResult::BadFormat);

    // Without an opener nothing can open an address.
    qputenv("PATH", QFile::encodeName(m_dir.path() + "/empty"));
    EXPECT_EQ(execute("https://example.org"), ShellResult::NoAssociation);
}

TEST_F(LinuxShellTest, BareProgramNameIsFoundOnPath)
{
    ASSERT_TRUE(standin::WriteRecorder(binDir() + "/zarnolith-standin", programRecords()));
    EXPECT_GT(execute("zarnolith-standin", "x"), 32);
    const auto records = standin::WaitForRecords(programRecords());
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].arguments, QStringList{"x"});
}

struct AddressRow {
    const char* text;
    bool isAddress;
};

class IsAddressTest : public ::testing::TestWithParam<AddressRow> {};

TEST_P(IsAddressTest, RecognisesSchemes)
{
    EXPECT_EQ(LinuxShell::IsAddress(GetParam().text), GetParam().isAddress) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Rows, IsAddressTest,
                         ::testing::Values(AddressRow{"https://example.org", true},
                                           AddressRow{"mailto:a@example.org", true}, AddressRow{"svn+ssh://h/x", true},
                                           AddressRow{"C:\\x.txt", false}, AddressRow{"/tmp/a:b", false},
                                           AddressRow{"1abc:x", false}, AddressRow{"History.txt", false},
                                           AddressRow{":x", false}));

} // namespace
