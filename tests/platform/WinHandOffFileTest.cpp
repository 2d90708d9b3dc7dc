// The hand-off file against Windows' own file and code page services.
#include "platform/HandOffFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <windows.h>

#include <cerrno>

namespace {

class WinHandOffFileTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    // A folder name with an umlaut and a blank, as a user's temporary directory may have.
    QString path(const char* name) const { return QDir::toNativeSeparators(m_dir.path() + "/" + name); }
    static std::string utf8(const QString& p) { return p.toStdString(); }
    static std::wstring wide(const QString& p) { return p.toStdWString(); }
    static void writeFile(const QString& p, const QByteArray& bytes)
    {
        QFile f(p);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << p.toStdString();
        f.write(bytes);
    }
    static QByteArray readFile(const QString& p)
    {
        QFile f(p);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
    }
    static DWORD attributes(const QString& p) { return GetFileAttributesW(wide(p).c_str()); }

    QTemporaryDir m_dir{QDir::tempPath() + QStringLiteral("/Übergabe ä-XXXXXX")};
};

// The bytes as the system's conversion gives them: ä ö ü ß € have their
// places in code page 1252, U+0100 has a best-fit letter there, a Chinese
// character has none and becomes the default character.
TEST_F(WinHandOffFileTest, TextIsConvertedAsTheCodePageDefines)
{
    const std::u16string text = u"\u00E4\u00F6\u00FC\u00DF \u20AC \u0100\u4E2D\r\n";
    EXPECT_EQ(platform::ToCodePage(1252, text), std::string("\xE4\xF6\xFC\xDF \x80 A?\r\n"));
    EXPECT_EQ(platform::ToCodePage(65001, u"\u00E4\u20AC"), std::string("\xEF\xBB\xBF\xC3\xA4\xE2\x82\xAC"))
        << "UTF-8 behind its byte-order mark";
    EXPECT_EQ(platform::ToCodePage(1252, u""), std::string());

    ASSERT_EQ(GetACP(), 1252u) << "the test prefix runs with the Western European code page";
    EXPECT_EQ(platform::ToActiveCodePage(text), platform::ToCodePage(1252, text));
}

// An earlier file with the read-only, hidden and system attributes (each of
// them stops a plain rewrite on Windows) has them cleared and is rewritten whole.
TEST_F(WinHandOffFileTest, AttributesClearedThenTheFileIsRewritten)
{
    constexpr DWORD kBlocking = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    const QString p = path("Qmt.cfg");
    writeFile(p, "an earlier, longer hand-off file\r\n");
    ASSERT_TRUE(SetFileAttributesW(wide(p).c_str(), kBlocking));
    ASSERT_EQ(attributes(p) & kBlocking, kBlocking);

    platform::ClearReadOnly(utf8(p));
    EXPECT_EQ(attributes(p) & kBlocking, 0u);
    ASSERT_EQ(platform::WriteOwnFile(utf8(p), "new\r\n"), 0);
    EXPECT_EQ(readFile(p), "new\r\n");

    platform::ClearReadOnly(utf8(path("missing"))); // no error, nothing created
    EXPECT_EQ(attributes(path("missing")), INVALID_FILE_ATTRIBUTES);
}

TEST_F(WinHandOffFileTest, NeverWritesIntoAnotherNameOrALockedFile)
{
    const QString victim = path("victim");
    writeFile(victim, "precious");
    ASSERT_TRUE(SetFileAttributesW(wide(victim).c_str(), FILE_ATTRIBUTE_READONLY));
    const QString hardLink = path("Qmt.cfg");
    ASSERT_TRUE(CreateHardLinkW(wide(hardLink).c_str(), wide(victim).c_str(), nullptr));
    platform::ClearReadOnly(utf8(hardLink));
    EXPECT_TRUE(attributes(victim) & FILE_ATTRIBUTE_READONLY) << "the other name's attributes stay";
    ASSERT_TRUE(SetFileAttributesW(wide(victim).c_str(), FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(platform::WriteOwnFile(utf8(hardLink), "evil"), EPERM);
    EXPECT_EQ(readFile(victim), "precious");

    // held open by another program without sharing
    const QString locked = path("locked");
    writeFile(locked, "theirs");
    const HANDLE holder = CreateFileW(wide(locked).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_EQ(platform::WriteOwnFile(utf8(locked), "ours"), EBUSY);
    CloseHandle(holder);
    EXPECT_EQ(readFile(locked), "theirs");

    ASSERT_TRUE(QDir(m_dir.path()).mkdir("dir"));
    EXPECT_NE(platform::WriteOwnFile(utf8(path("dir")), "evil"), 0);
    EXPECT_EQ(platform::WriteOwnFile(utf8(path("no such dir\\Qmt.cfg")), "x"), ENOENT);
}

// A symbolic link placed at the name is refused, and so is one that points nowhere.
TEST_F(WinHandOffFileTest, SymbolicLinkIsNotFollowed)
{
    const QString target = path("target");
    writeFile(target, "precious");
    const QString link = path("Qmt.cfg");
    // Wine 8 reports success and makes nothing.
    if (!CreateSymbolicLinkW(wide(link).c_str(), wide(target).c_str(), 0) || attributes(link) == INVALID_FILE_ATTRIBUTES
        || !(attributes(link) & FILE_ATTRIBUTE_REPARSE_POINT))
        GTEST_SKIP() << "this system makes no symbolic links for us";
    EXPECT_EQ(platform::WriteOwnFile(utf8(link), "evil"), ELOOP);
    EXPECT_EQ(readFile(target), "precious");

    const QString dangling = path("dangling");
    ASSERT_TRUE(CreateSymbolicLinkW(wide(dangling).c_str(), wide(path("created-by-link")).c_str(), 0));
    EXPECT_NE(platform::WriteOwnFile(utf8(dangling), "evil"), 0);
    EXPECT_EQ(attributes(path("created-by-link")), INVALID_FILE_ATTRIBUTES);
}

} // namespace
