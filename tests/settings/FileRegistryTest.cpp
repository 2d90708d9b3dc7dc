// The settings file as a store: a key read from it and written back keeps
// everything else the file held, and what was read is what the file says.
#include "settings/FileRegistry.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;
using settings::FileRegistry;
using settings::RegDocument;

namespace {

class FileStore : public ::testing::Test {
protected:
    void SetUp() override
    {
        char dirTemplate[] = "/tmp/zarnolith-file-store-XXXXXX";
        ASSERT_NE(::mkdtemp(dirTemplate), nullptr);
        dir = dirTemplate;
        file = dir / "Zarnolith.reg";
    }
    void TearDown() override { fs::remove_all(dir); }

    void write(const std::string& body) const
    {
        std::ofstream(file, std::ios::binary) << "Windows Registry Editor Version 5.00\r\n\r\n" << body;
    }
    RegDocument stored() const
    {
        std::ifstream in(file, std::ios::binary);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
        std::string error;
        std::optional<RegDocument> doc = RegDocument::parse(bytes, &error);
        EXPECT_TRUE(doc) << error;
        return doc.value_or(RegDocument{});
    }

    fs::path dir;
    fs::path file;
};

const std::string kOtherProgram = "; notes of another program\r\n[HKEY_CURRENT_USER\\Software\\Andere]\r\n"
                                  "\"Wert\"=dword:00000007\r\n\r\n";

TEST_F(FileStore, ReadsTheLastWordOnEachValueAndWritesBackEverythingElse)
{
    write(kOtherProgram
          + "[HKEY_CURRENT_USER\\Software\\Zarnolith]\r\n; my note\r\n\"FontName\"=\"Arial\"\r\n"
            "\"FontSize\"=dword:0000000e\r\n\"fontsize\"=dword:00000010\r\n\"Alt\"=dword:1\r\n\"Alt\"=-\r\n");
    FileRegistry reg(file);
    ASSERT_TRUE(reg.OpenKey(u"\\Software\\Zarnolith", true));
    EXPECT_EQ(reg.QueryValue(u"FontSize", 4)->bytes, (std::vector<std::uint8_t>{0x10, 0, 0, 0}));
    EXPECT_EQ(reg.QueryValueInfo(u"FontName")->size, 12u);
    EXPECT_FALSE(reg.QueryValueInfo(u"Alt"));
    EXPECT_FALSE(reg.QueryValue(u"FontName", 11)) << "longer than the buffer";
    const std::uint8_t size[] = {0x18, 0, 0, 0};
    ASSERT_TRUE(reg.SetValue(u"FontSize", 4, size));
    EXPECT_EQ(reg.QueryValue(u"FontSize", 4)->bytes, std::vector<std::uint8_t>(std::begin(size), std::end(size)));
    ASSERT_TRUE(reg.CloseKey());

    const RegDocument doc = stored();
    const std::string text = doc.toUtf8Text();
    EXPECT_NE(text.find(kOtherProgram), std::string::npos) << text;
    EXPECT_NE(text.find("; my note\r\n\"FontName\"=\"Arial\"\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("=dword:00000018"), std::string::npos) << text;
}

TEST_F(FileStore, OpeningCreatesAMissingKeyBesideTheOthers)
{
    write(kOtherProgram);
    FileRegistry reg(file);
    ASSERT_FALSE(reg.OpenKey(u"\\Software\\Zarnolith", false));
    ASSERT_TRUE(reg.OpenKey(u"\\Software\\Zarnolith", true));
    EXPECT_FALSE(reg.QueryValueInfo(u"FontName"));
    ASSERT_TRUE(reg.CloseKey());
    RegDocument doc = stored();
    EXPECT_NE(doc.findKey(u"HKEY_CURRENT_USER\\Software\\Zarnolith"), nullptr);
    EXPECT_NE(doc.toUtf8Text().find(kOtherProgram), std::string::npos) << doc.toUtf8Text();
}

} // namespace
