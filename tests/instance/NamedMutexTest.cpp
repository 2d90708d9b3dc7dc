// The per-user instance lock and its private directory, on the real system.
#include "instance/NamedMutex.h"
#include "instance/RuntimeDirectory.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

using instance::FlockNamedMutex;
using instance::MutexError;

const std::string kName = "Zarnolith V1.01";

class NamedMutexTest : public ::testing::Test {
protected:
    std::string Dir() const { return dir.path().toStdString(); }
    // The error a fresh creation meets right now; the handle is closed again.
    MutexError Probe() const
    {
        FlockNamedMutex m(Dir());
        m.CloseHandle(m.CreateMutexW(kName));
        return m.GetLastError();
    }
    QTemporaryDir dir;
};

TEST_F(NamedMutexTest, OthersSeeAlreadyExistsUntilTheHolderCloses)
{
    FlockNamedMutex holder(Dir());
    const auto h = holder.CreateMutexW(kName);
    EXPECT_NE(h, 0);
    EXPECT_EQ(holder.GetLastError(), MutexError::Success);
    EXPECT_EQ(Probe(), MutexError::AlreadyExists);
    holder.CloseHandle(h);
    EXPECT_EQ(Probe(), MutexError::Success);
}

// The program starts other programs (updater, browser); one that outlives us
// must not keep the lock and block the next start.
TEST_F(NamedMutexTest, ProgramsStartedByTheHolderDoNotInheritTheLock)
{
    FlockNamedMutex holder(Dir());
    const auto h = holder.CreateMutexW(kName);
    pid_t sleeper = 0;
    char arg0[] = "sleep", arg1[] = "30";
    char* argv[] = {arg0, arg1, nullptr};
    ASSERT_EQ(::posix_spawnp(&sleeper, "sleep", nullptr, nullptr, argv, environ), 0);
    holder.CloseHandle(h);
    // The kernel wakes the spawner a moment before it closes the child's
    // close-on-exec descriptors; allow that moment, not the child's lifetime.
    bool released = false;
    for (int i = 0; i < 200 && !(released = Probe() == MutexError::Success); ++i)
        ::usleep(5000);
    EXPECT_TRUE(released);
    EXPECT_EQ(::kill(sleeper, 0), 0); // still running, yet the lock is free
    ::kill(sleeper, SIGKILL);
    ::waitpid(sleeper, nullptr, 0);
}

TEST_F(NamedMutexTest, NoUsableLockFileGivesNoHandleAndNoAlreadyExists)
{
    const std::string target = Dir() + "/elsewhere";
    ASSERT_EQ(::symlink(target.c_str(), (Dir() + "/" + kName + ".lock").c_str()), 0);
    for (const std::string& d : {std::string(), Dir() + "/missing", Dir() /* lock file is a link */}) {
        FlockNamedMutex m(d);
        EXPECT_EQ(m.CreateMutexW(kName), 0) << d;
        EXPECT_NE(m.GetLastError(), MutexError::AlreadyExists) << d;
        EXPECT_NE(m.GetLastError(), MutexError::Success) << d;
    }
    EXPECT_NE(::access(target.c_str(), F_OK), 0); // nothing created through the link
}

TEST_F(NamedMutexTest, RuntimeDirectoryFromTheEnvironmentOnlyWhenPrivate)
{
    const std::string privateDir = Dir() + "/privat", openDir = Dir() + "/offen", link = Dir() + "/link";
    ASSERT_EQ(::mkdir(privateDir.c_str(), 0700), 0);
    ASSERT_EQ(::mkdir(openDir.c_str(), 0700), 0);
    ASSERT_EQ(::chmod(openDir.c_str(), 0705), 0);
    ASSERT_EQ(::symlink(privateDir.c_str(), link.c_str()), 0);
    const std::string fallback = "/tmp/runtime-" + std::to_string(::geteuid());
    const char* old = std::getenv("XDG_RUNTIME_DIR");
    const std::string saved = old ? old : "";
    for (const auto& [value, expected] : std::vector<std::pair<std::string, std::string>>{
             {privateDir + "/", privateDir}, {openDir, fallback}, {link, fallback}, {"relative", fallback}}) {
        ::setenv("XDG_RUNTIME_DIR", value.c_str(), 1);
        EXPECT_EQ(instance::UserRuntimeDirectory(), expected) << value;
    }
    old ? ::setenv("XDG_RUNTIME_DIR", saved.c_str(), 1) : ::unsetenv("XDG_RUNTIME_DIR");
    EXPECT_TRUE(instance::IsPrivateDirectory(fallback, ::geteuid()));
    EXPECT_FALSE(instance::IsPrivateDirectory(privateDir, ::geteuid() + 1));
}

} // namespace
