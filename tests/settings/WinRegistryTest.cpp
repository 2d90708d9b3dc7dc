// The settings store on Windows against the real registry (under Wine in the
// test run). Each test works below a key of its own, removed afterwards, so
// tests running side by side never meet, nor touch the user's own settings.
#include "settings/TRegistry.h"
#include "platform/Utf8.h"
#include "settings/IRegistry.h"

#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using settings::TRegistry;
using settings::WinRegistry;
namespace regtype = settings::regtype;

std::vector<std::uint8_t> utf16z(std::u16string_view s, bool zero = true)
{
    std::vector<std::uint8_t> out;
    for (char16_t c : s) {
        out.push_back(std::uint8_t(c & 0xFF));
        out.push_back(std::uint8_t(c >> 8));
    }
    if (zero)
        out.insert(out.end(), {0, 0});
    return out;
}

// What a read gives, or the text of the error it raises.
std::string outcome(const std::function<std::string()>& read)
{
    try {
        return read();
    } catch (const settings::ERegistryException& e) {
        return e.what();
    }
}

class WinRegistryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        const std::string name
            = std::string(info->test_suite_name()) + "." + info->name() + "." + std::to_string(::GetCurrentProcessId());
        base = u"Software\\ZarnolithTests\\" + std::u16string(name.begin(), name.end());
    }
    void TearDown() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, wide(base).c_str()); }

    static std::wstring wide(std::u16string_view s) { return std::wstring(s.begin(), s.end()); }

    std::unique_ptr<WinRegistry> registry() const { return std::make_unique<WinRegistry>(base); }

    // The key "Software\Zarnolith" below the test's base, as the program opens it.
    std::unique_ptr<TRegistry> openStore()
    {
        auto reg = std::make_unique<TRegistry>(registry());
        EXPECT_TRUE(reg->OpenKey(u"\\Software\\Zarnolith", true));
        return reg;
    }

    bool keyExists(std::u16string_view below) const
    {
        HKEY key = nullptr;
        if (::RegOpenKeyExW(HKEY_CURRENT_USER, wide(base + u"\\" + std::u16string(below)).c_str(), 0, KEY_READ, &key)
            != ERROR_SUCCESS)
            return false;
        ::RegCloseKey(key);
        return true;
    }

    std::u16string base;
};

TEST_F(WinRegistryTest, LeadingBackslashNamesTheSameKeyBelowTheRoot)
{
    // The system refuses a sub-key path that starts with a backslash; the store takes it as "from the root".
    WinRegistry userBranch;
    const std::u16string absolute = u"\\" + base + u"\\Software\\Zarnolith";
    EXPECT_FALSE(userBranch.OpenKey(absolute, false)) << "opening alone creates nothing";
    EXPECT_FALSE(keyExists(u"Software\\Zarnolith"));
    ASSERT_TRUE(userBranch.OpenKey(absolute, true));
    const std::uint8_t seven[4] = {7, 0, 0, 0};
    ASSERT_TRUE(userBranch.SetValue(u"HintColor", regtype::Dword, seven));
    EXPECT_TRUE(keyExists(u"Software\\Zarnolith"));

    WinRegistry belowBase(base);
    ASSERT_TRUE(belowBase.OpenKey(u"\\Software\\Zarnolith", false));
    const std::optional<settings::RegValueData> data = belowBase.QueryValue(u"HintColor", 4);
    ASSERT_TRUE(data);
    EXPECT_EQ(data->type, regtype::Dword);
    EXPECT_EQ(data->bytes, std::vector<std::uint8_t>(seven, seven + 4));
}

// What a stored value of each type gives the program's integer and text reads.
struct TypedRow {
    const char* description;
    std::uint32_t type;
    std::vector<std::uint8_t> data;
    std::string integer; // ReadInteger: the number, or the error text
    std::string text;    // ReadString: the UTF-8 text, or the error text
};

TEST_F(WinRegistryTest, TypedReadsOfEveryKindOfStoredValue)
{
    const std::string fetchError = "Fehler beim Holen der Daten für 'V'";
    const std::string typeError = "Ungültiger Datentyp für 'V'";
    const TypedRow rows[] = {
        {"dword", regtype::Dword, {0x08, 0, 0, 0xFF}, "-16777208", typeError},
        {"dword of 5 bytes", regtype::Dword, {1, 2, 3, 4, 5}, fetchError, typeError},
        {"qword", regtype::Qword, {14, 0, 0, 0, 0, 0, 0, 0}, fetchError, typeError},
        {"text of 6 bytes", regtype::Sz, utf16z(u"14"), fetchError, "14"},
        {"text of 4 bytes", regtype::Sz, utf16z(u"1"), typeError, "1"},
        {"binary of 4 bytes", regtype::Binary, {14, 0, 0, 0}, typeError, typeError},
        {"big-endian dword", regtype::DwordBigEndian, {0, 0, 0, 14}, typeError, typeError},
        {"non-ASCII text", regtype::Sz, utf16z(u"Gr\u00F6\u00DFe \U0001F600"), fetchError,
         "Gr\xC3\xB6\xC3\x9F"
         "e \xF0\x9F\x98\x80"},
        {"expandable text, not expanded", regtype::ExpandSz, utf16z(u"%SystemRoot%\\Fonts"), fetchError,
         "%SystemRoot%\\Fonts"},
        {"text without its zero", regtype::Sz, utf16z(u"Arial", false), fetchError, "Arial"},
        {"empty text", regtype::Sz, {}, typeError, ""},
        {"list of texts", regtype::MultiSz, {'a', 0, 0, 0, 0, 0}, fetchError, typeError},
    };
    for (const TypedRow& row : rows) {
        SCOPED_TRACE(row.description);
        std::unique_ptr<TRegistry> reg = openStore();
        {
            WinRegistry raw(base);
            ASSERT_TRUE(raw.OpenKey(u"Software\\Zarnolith", false));
            ASSERT_TRUE(raw.SetValue(u"V", row.type, row.data));
        }
        EXPECT_EQ(outcome([&] { return std::to_string(reg->ReadInteger(u"V")); }), row.integer);
        EXPECT_EQ(outcome([&] { return platform::Utf16ToUtf8(reg->ReadString(u"V")); }), row.text);
    }
}

TEST_F(WinRegistryTest, NonAsciiValueNamesAreStoredAsTheyAre)
{
    const std::u16string name = u"Gr\u00F6\u00DFe \u20AC \U0001F600";
    {
        std::unique_ptr<TRegistry> reg = openStore();
        reg->WriteInteger(name, 42);
        reg->WriteString(u"FontName", u"Sch\u00F6nschrift");
        reg->CloseKey();
    }
    HKEY key = nullptr;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, wide(base + u"\\Software\\Zarnolith").c_str(), 0, KEY_READ, &key),
              ERROR_SUCCESS);
    std::vector<std::u16string> names;
    wchar_t buffer[256];
    for (DWORD i = 0;; ++i) {
        DWORD length = 256;
        if (::RegEnumValueW(key, i, buffer, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.emplace_back(buffer, buffer + length);
    }
    ::RegCloseKey(key);
    EXPECT_THAT(names, ::testing::UnorderedElementsAre(name, u"FontName"));

    std::unique_ptr<TRegistry> reg = openStore();
    EXPECT_EQ(reg->ReadInteger(name), 42);
    EXPECT_EQ(reg->ReadString(u"FontName"), u"Sch\u00F6nschrift");
}

TEST_F(WinRegistryTest, KeyThatCannotBeCreatedIsNotOpened)
{
    // A key kept only in memory cannot hold a lasting sub-key: the store's key cannot be created.
    HKEY volatileKey = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, wide(base + u"\\Software").c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                                KEY_ALL_ACCESS, nullptr, &volatileKey, nullptr),
              ERROR_SUCCESS);
    ::RegCloseKey(volatileKey);
    TRegistry reg(registry());
    EXPECT_FALSE(reg.OpenKey(u"\\Software\\Zarnolith", true));
    EXPECT_FALSE(reg.ValueExists(u"FontName"));
    EXPECT_EQ(outcome([&] { return std::to_string(reg.ReadInteger(u"FontSize")); }),
              "Fehler beim Holen der Daten für 'FontSize'");
}

TEST_F(WinRegistryTest, WriteIntoAKeyDeletedMeanwhileIsTheWriteError)
{
    std::unique_ptr<TRegistry> reg = openStore();
    reg->WriteInteger(u"HintColor", 3);
    // Another program removes the key while the store holds it open.
    ASSERT_EQ(::RegDeleteTreeW(HKEY_CURRENT_USER, wide(base + u"\\Software").c_str()), ERROR_SUCCESS);
    EXPECT_EQ(outcome([&] {
                  reg->WriteString(u"FontName", u"Arial");
                  return std::string();
              }),
              "Fehler beim Setzen der Daten für 'FontName'");
}

TEST_F(WinRegistryTest, ClosedKeyNeitherReadsNorWritesAndOpensAgain)
{
    WinRegistry reg(base);
    ASSERT_TRUE(reg.OpenKey(u"\\Software\\Zarnolith", true));
    const std::vector<std::uint8_t> text = utf16z(u"Liberation Mono");
    ASSERT_TRUE(reg.SetValue(u"FontName", regtype::Sz, text));
    // Data longer than the buffer is not there to read, whatever the buffer's size.
    EXPECT_FALSE(reg.QueryValue(u"FontName", 0));
    EXPECT_FALSE(reg.QueryValue(u"FontName", std::uint32_t(text.size() - 1)));
    ASSERT_TRUE(reg.QueryValue(u"FontName", std::uint32_t(text.size())));

    EXPECT_TRUE(reg.CloseKey());
    EXPECT_FALSE(reg.QueryValueInfo(u"FontName"));
    EXPECT_FALSE(reg.QueryValue(u"FontName", 64));
    EXPECT_FALSE(reg.SetValue(u"FontName", regtype::Sz, text));

    ASSERT_TRUE(reg.OpenKey(u"Software\\Zarnolith", false));
    const std::optional<settings::RegValueInfo> info = reg.QueryValueInfo(u"FontName");
    ASSERT_TRUE(info);
    EXPECT_EQ(info->type, regtype::Sz);
    EXPECT_EQ(info->size, text.size());
}

} // namespace
