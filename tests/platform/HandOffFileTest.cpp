#include "platform/HandOffFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace {

class HandOffFileTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    std::string path(const char* name) const { return (m_dir.path() + "/" + name).toStdString(); }
    static void writeFile(const std::string& p, const QByteArray& bytes)
    {
        QFile f(QString::fromStdString(p));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    static QByteArray readFile(const std::string& p)
    {
        QFile f(QString::fromStdString(p));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
    }
    static mode_t modeOf(const std::string& p)
    {
        struct stat st {};
        return lstat(p.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0;
    }

    QTemporaryDir m_dir;
};

TEST_F(HandOffFileTest, CreatesOrRewritesAFileOfOurs)
{
    const std::string p = path("Qmt.cfg");
    ASSERT_EQ(platform::WriteOwnFile(p, "first, longer content\r\n"), 0);
    EXPECT_EQ(readFile(p), "first, longer content\r\n");
    ASSERT_EQ(platform::WriteOwnFile(p, "short\r\n"), 0);
    EXPECT_EQ(readFile(p), "short\r\n") << "nothing of the longer earlier content may remain";
}

// Only we may read or write the file, whatever the umask, and a file of ours
// that others could write is not reused: a descriptor someone opened on it
// earlier must not reach what we write.
TEST_F(HandOffFileTest, FileIsOursAloneWhateverTheUmask)
{
    const mode_t oldMask = umask(0);
    const std::string p = path("Qmt.cfg");
    EXPECT_EQ(platform::WriteOwnFile(p, "new\r\n"), 0);
    EXPECT_EQ(modeOf(p), 0600u);

    ASSERT_EQ(chmod(p.c_str(), 0644), 0);
    EXPECT_EQ(platform::WriteOwnFile(p, "again\r\n"), 0);
    EXPECT_EQ(modeOf(p), 0600u) << "an earlier readable file is closed to others";

    ASSERT_EQ(chmod(p.c_str(), 0666), 0);
    const int earlier = open(p.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    ASSERT_GE(earlier, 0);
    EXPECT_EQ(platform::WriteOwnFile(p, "ours\r\n"), 0);
    ASSERT_EQ(write(earlier, "appended\r\n", 10), 10);
    close(earlier);
    EXPECT_EQ(readFile(p), "ours\r\n");
    EXPECT_EQ(modeOf(p), 0600u);
    umask(oldMask);
}

TEST_F(HandOffFileTest, ClearReadOnlyMakesOurFileWritableAndLeavesLinkTargetsAlone)
{
    const std::string own = path("own");
    writeFile(own, "x");
    chmod(own.c_str(), 0444);
    platform::ClearReadOnly(own);
    EXPECT_EQ(modeOf(own), 0644u);

    const std::string target = path("target");
    const std::string link = path("link");
    writeFile(target, "x");
    chmod(target.c_str(), 0444);
    ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
    platform::ClearReadOnly(link);
    EXPECT_EQ(modeOf(target), 0444u);

    platform::ClearReadOnly(path("missing")); // no error, nothing created
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path("missing"))));
}

TEST_F(HandOffFileTest, NeverWritesThroughALinkOrIntoSomethingElse)
{
    const std::string target = path("victim");
    writeFile(target, "precious");

    // a dangling link must not create its target (a link to a file: see the update tests)
    const std::string dangling = path("dangling");
    ASSERT_EQ(symlink(path("created-by-link").c_str(), dangling.c_str()), 0);
    EXPECT_NE(platform::WriteOwnFile(dangling, "evil"), 0);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path("created-by-link"))));

    // a second name of another file
    const std::string hardLink = path("hardlink");
    ASSERT_EQ(::link(target.c_str(), hardLink.c_str()), 0);
    EXPECT_EQ(platform::WriteOwnFile(hardLink, "evil"), EPERM);
    EXPECT_EQ(readFile(target), "precious");

    // a FIFO neither blocks nor counts as a file
    const std::string fifo = path("fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_NE(platform::WriteOwnFile(fifo, "evil"), 0);

    const std::string dir = path("dir");
    ASSERT_EQ(mkdir(dir.c_str(), 0700), 0);
    EXPECT_NE(platform::WriteOwnFile(dir, "evil"), 0);

    EXPECT_EQ(platform::WriteOwnFile(path("no such dir/Qmt.cfg"), "x"), ENOENT);
}

} // namespace
