// The per-user instance lock and its private directory, on the real system.
#include "platform/NamedMutex.h"
#include "platform/RuntimeDirectory.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

using platform::ERROR_ALREADY_EXISTS;
using platform::ERROR_SUCCESS;
using platform::FlockNamedMutex;

const std::string kName = "Zarnolith V1.01";

class NamedMutexTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    std::string Dir() const { return dir.path().toStdString(); }
    QTemporaryDir dir;
};

TEST_F(NamedMutexTest, SecondHolderSeesAlreadyExistsUntilTheFirstCloses)
{
    FlockNamedMutex first(Dir()), second(Dir()), third(Dir());
    const auto h1 = first.CreateMutexW(kName);
    EXPECT_NE(h1, 0);
    EXPECT_EQ(first.GetLastError(), ERROR_SUCCESS);

    const auto h2 = second.CreateMutexW(kName);
    EXPECT_NE(h2, 0); // a handle, as Windows gives one for an existing mutex
    EXPECT_EQ(second.GetLastError(), ERROR_ALREADY_EXISTS);
    second.CloseHandle(h2);

    first.CloseHandle(h1);
    const auto h3 = third.CreateMutexW(kName);
    EXPECT_NE(h3, 0);
    EXPECT_EQ(third.GetLastError(), ERROR_SUCCESS);
    third.CloseHandle(h3);
}

TEST_F(NamedMutexTest, OtherNamesDoNotCollide)
{
    FlockNamedMutex a(Dir()), b(Dir());
    const auto ha = a.CreateMutexW(kName);
    const auto hb = b.CreateMutexW("Zarnolith V1.02");
    EXPECT_EQ(b.GetLastError(), ERROR_SUCCESS);
    a.CloseHandle(ha);
    b.CloseHandle(hb);
}

TEST_F(NamedMutexTest, KilledHolderLeavesNoStaleLock)
{
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        FlockNamedMutex holder(Dir());
        holder.CreateMutexW(kName);
        const char ok = holder.GetLastError() == ERROR_SUCCESS ? '1' : '0';
        (void)!::write(ready[1], &ok, 1);
        ::pause();
        ::_exit(0);
    }
    char ok = 0;
    ASSERT_EQ(::read(ready[0], &ok, 1), 1);
    ASSERT_EQ(ok, '1');

    FlockNamedMutex probe(Dir());
    probe.CloseHandle(probe.CreateMutexW(kName));
    EXPECT_EQ(probe.GetLastError(), ERROR_ALREADY_EXISTS);

    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    const auto h = probe.CreateMutexW(kName);
    EXPECT_EQ(probe.GetLastError(), ERROR_SUCCESS);
    probe.CloseHandle(h);
    ::close(ready[0]);
    ::close(ready[1]);
}

// The program starts other programs (updater, browser); one that outlives us
// must not keep the lock and block the next start.
TEST_F(NamedMutexTest, ProgramsStartedByTheHolderDoNotInheritTheLock)
{
    FlockNamedMutex holder(Dir());
    const auto h = holder.CreateMutexW(kName);
    ASSERT_EQ(holder.GetLastError(), ERROR_SUCCESS);
    pid_t sleeper = 0;
    char arg0[] = "sleep", arg1[] = "30";
    char* argv[] = {arg0, arg1, nullptr};
    ASSERT_EQ(::posix_spawnp(&sleeper, "sleep", nullptr, nullptr, argv, environ), 0);
    holder.CloseHandle(h);

    // The kernel wakes the spawner a moment before it closes the child's
    // close-on-exec descriptors; give that moment, not the child's lifetime.
    FlockNamedMutex next(Dir());
    bool frei = false;
    for (int i = 0; i < 200 && !frei; ++i) {
        next.CloseHandle(next.CreateMutexW(kName));
        frei = next.GetLastError() == ERROR_SUCCESS;
        if (!frei)
            ::usleep(5000);
    }
    EXPECT_TRUE(frei);
    EXPECT_EQ(::kill(sleeper, 0), 0); // still running, yet the lock is free
    ::kill(sleeper, SIGKILL);
    ::waitpid(sleeper, nullptr, 0);
}

TEST_F(NamedMutexTest, NoUsableDirectoryGivesNoHandleAndNoAlreadyExists)
{
    for (const std::string& d : {std::string(), Dir() + "/missing"}) {
        FlockNamedMutex m(d);
        EXPECT_EQ(m.CreateMutexW(kName), 0) << d;
        EXPECT_NE(m.GetLastError(), ERROR_ALREADY_EXISTS) << d;
        EXPECT_NE(m.GetLastError(), ERROR_SUCCESS) << d;
    }
}

TEST_F(NamedMutexTest, LockFileIsNeverOpenedThroughALink)
{
    const std::string target = Dir() + "/elsewhere";
    ASSERT_EQ(::symlink(target.c_str(), (Dir() + "/" + kName + ".lock").c_str()), 0);
    FlockNamedMutex m(Dir());
    EXPECT_EQ(m.CreateMutexW(kName), 0);
    EXPECT_NE(m.GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_NE(::access(target.c_str(), F_OK), 0);
}

// Sets XDG_RUNTIME_DIR for one test and puts the old value back.
class XdgRuntimeDir {
public:
    explicit XdgRuntimeDir(const std::string& value)
    {
        if (const char* old = std::getenv("XDG_RUNTIME_DIR"))
            old_ = old;
        ::setenv("XDG_RUNTIME_DIR", value.c_str(), 1);
    }
    ~XdgRuntimeDir()
    {
        if (old_.empty())
            ::unsetenv("XDG_RUNTIME_DIR");
        else
            ::setenv("XDG_RUNTIME_DIR", old_.c_str(), 1);
    }

private:
    std::string old_;
};

TEST_F(NamedMutexTest, RuntimeDirectoryIsTakenFromTheEnvironmentOnlyWhenPrivate)
{
    const std::string privat = Dir() + "/privat", offen = Dir() + "/offen", link = Dir() + "/link";
    ASSERT_EQ(::mkdir(privat.c_str(), 0700), 0);
    ASSERT_EQ(::mkdir(offen.c_str(), 0700), 0);
    ASSERT_EQ(::chmod(offen.c_str(), 0755), 0);
    ASSERT_EQ(::symlink(privat.c_str(), link.c_str()), 0);
    {
        XdgRuntimeDir env(privat + "/");
        EXPECT_EQ(platform::UserRuntimeDirectory(), privat);
    }
    for (const std::string& bad : {offen, link, std::string("relative/dir"), Dir() + "/missing"}) {
        XdgRuntimeDir env(bad);
        const auto dir = platform::UserRuntimeDirectory();
        ASSERT_TRUE(dir.has_value()) << bad; // the fallback under /tmp
        EXPECT_EQ(*dir, "/tmp/runtime-" + std::to_string(::geteuid())) << bad;
        EXPECT_TRUE(platform::IsPrivateDirectory(*dir, ::geteuid()));
    }
}

TEST_F(NamedMutexTest, PrivateDirectoryMustBelongToTheUser)
{
    const std::string d = Dir() + "/d", file = Dir() + "/f";
    ASSERT_EQ(::mkdir(d.c_str(), 0700), 0);
    ASSERT_EQ(::close(::open(file.c_str(), O_CREAT | O_WRONLY, 0600)), 0);
    EXPECT_TRUE(platform::IsPrivateDirectory(d, ::geteuid()));
    EXPECT_FALSE(platform::IsPrivateDirectory(d, ::geteuid() + 1));
    EXPECT_FALSE(platform::IsPrivateDirectory(file, ::geteuid()));
    ASSERT_EQ(::chmod(d.c_str(), 0701), 0);
    EXPECT_FALSE(platform::IsPrivateDirectory(d, ::geteuid()));
}

} // namespace
