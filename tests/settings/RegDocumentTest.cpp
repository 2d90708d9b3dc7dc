// The export-file format: what a hand-written or Windows-exported file reads
// as, what counts as damage, and that writing and reading give back the data.
#include "settings/RegDocument.h"

#include <gtest/gtest.h>

using settings::RegDocument;
using settings::RegKeyIndex;

namespace {

std::vector<std::uint8_t> utf8File(const std::string& body)
{
    const std::string text
        = "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Zarnolith]\r\n" + body;
    return {text.begin(), text.end()};
}

std::vector<std::uint8_t> utf16leWithBom(const std::u16string& text)
{
    std::vector<std::uint8_t> out{0xFF, 0xFE};
    for (char16_t c : text) {
        out.push_back(std::uint8_t(c));
        out.push_back(std::uint8_t(c >> 8));
    }
    return out;
}

struct ValueRow {
    const char* line;
    const char* name;
    std::uint32_t type;
    std::vector<std::uint8_t> data;
};

class RegValueLine : public ::testing::TestWithParam<ValueRow> {};

TEST_P(RegValueLine, ReadsTypeAndData)
{
    const ValueRow& row = GetParam();
    std::string error;
    std::optional<RegDocument> doc = RegDocument::parse(utf8File(row.line), &error);
    ASSERT_TRUE(doc) << error;
    RegDocument::Key* key = doc->findKey(u"hkey_current_user\\software\\ZARNOLITH");
    ASSERT_NE(key, nullptr);
    const std::string n = row.name;
    RegDocument::Value* v = RegDocument::findValue(*key, std::u16string(n.begin(), n.end()));
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->type, row.type);
    EXPECT_EQ(v->data, row.data);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RegValueLine,
    ::testing::Values(
        ValueRow{"\"FontName\"=\"Arial\"\r\n", "FontName", 1, {'A', 0, 'r', 0, 'i', 0, 'a', 0, 'l', 0, 0, 0}},
        ValueRow{"\"P\"=\"C:\\\\x\\\"y\"\r\n", "P", 1, {'C', 0, ':', 0, '\\', 0, 'x', 0, '"', 0, 'y', 0, 0, 0}},
        ValueRow{"\"Quote\\\"Name\"=dword:1\r\n", "Quote\"Name", 4, {1, 0, 0, 0}},
        // Line breaks inside a text, as Wine's registry editor exports them.
        ValueRow{"\"NL\"=\"a\\nb\\rc\\\\n\"\r\n",
                 "NL",
                 1,
                 {'a', 0, '\n', 0, 'b', 0, '\r', 0, 'c', 0, '\\', 0, 'n', 0, 0, 0}},
        ValueRow{"\"FontSize\"=dword:0000000e\r\n", "FontSize", 4, {0x0e, 0, 0, 0}},
        ValueRow{"\"FontColor\"=dword:FF000008\r\n", "fontcolor", 4, {8, 0, 0, 0xFF}},
        ValueRow{"\"B\"=hex:01,ab,FF\r\n", "B", 3, {1, 0xab, 0xff}}, ValueRow{"\"E\"=hex:\r\n", "E", 3, {}},
        ValueRow{"\"X\"=hex(2):25,00,41,00,25,00,00,00\r\n", "X", 2, {0x25, 0, 0x41, 0, 0x25, 0, 0, 0}},
        ValueRow{"\"Q\"=hex(b):01,00,00,00,00,00,00,00\r\n", "Q", 11, {1, 0, 0, 0, 0, 0, 0, 0}},
        ValueRow{"\"L\"=hex(7):41,00,\\\r\n  00,00,\\\r\n  00,00\r\n", "L", 7, {0x41, 0, 0, 0, 0, 0}},
        ValueRow{"@=\"Standard\"\r\n", "", 1, {'S', 0, 't', 0, 'a', 0, 'n', 0, 'd', 0, 'a', 0, 'r', 0, 'd', 0, 0, 0}},
        ValueRow{
            "; Kommentar\r\n\"Name\"=\"Gr\xC3\xBC\xC3\x9F\"\r\n", "Name", 1, {'G', 0, 'r', 0, 0xFC, 0, 0xDF, 0, 0, 0}},
        ValueRow{"\"D\"=dword:1\r\n\"D\"=hex:02\r\n", "D", 3, {2}}));

TEST_P(RegValueLine, ReadsTheSameThroughTheKeyIndex)
{
    const ValueRow& row = GetParam();
    std::string error;
    std::optional<RegKeyIndex> index
        = RegKeyIndex::read(utf8File(row.line), u"hkey_current_user\\software\\ZARNOLITH", &error);
    ASSERT_TRUE(index) << error;
    EXPECT_TRUE(index->exists());
    const std::string n = row.name;
    std::optional<RegDocument::Value> v = index->value(std::u16string(n.begin(), n.end()));
    ASSERT_TRUE(v);
    EXPECT_EQ(v->type, row.type);
    EXPECT_EQ(v->data, row.data);
}

TEST(RegKeyIndex, ValuesAndTheKeyLiveAsLongAsTheDocumentSaysSo)
{
    // Each later line overrides an earlier one, as in the document; other keys stay out of sight.
    const std::string body = "\"A\"=dword:1\r\n\"a\"=dword:2\r\n\"Weg\"=dword:3\r\n\"WEG\"=-\r\n"
                             "\"Wieder\"=dword:4\r\n\"Wieder\"=-\r\n\"Wieder\"=\"da\"\r\n"
                             "[HKEY_CURRENT_USER\\Other]\r\n\"Fremd\"=dword:5\r\n"
                             "[HKEY_CURRENT_USER\\Software\\Zarnolith\\Sub]\r\n\"Unten\"=dword:6\r\n"
                             "[-HKEY_CURRENT_USER\\Software\\Zarnolith\\Sub]\r\n";
    const std::u16string path = u"HKEY_CURRENT_USER\\Software\\Zarnolith";
    std::optional<RegDocument> doc = RegDocument::parse(utf8File(body));
    std::optional<RegKeyIndex> index = RegKeyIndex::read(utf8File(body), path);
    ASSERT_TRUE(doc);
    ASSERT_TRUE(index);
    RegDocument::Key* key = doc->findKey(path);
    ASSERT_NE(key, nullptr);
    for (const std::u16string name : {u"A", u"a", u"Weg", u"Wieder", u"Fremd", u"Unten", u"Nie"}) {
        const RegDocument::Value* inDoc = RegDocument::findValue(*key, name);
        const std::optional<RegDocument::Value> inIndex = index->value(name);
        ASSERT_EQ(inDoc != nullptr, inIndex.has_value()) << std::string(name.begin(), name.end());
        if (inDoc) {
            EXPECT_EQ(inIndex->type, inDoc->type);
            EXPECT_EQ(inIndex->data, inDoc->data);
        }
    }
    EXPECT_EQ(index->value(u"a")->data, (std::vector<std::uint8_t>{2, 0, 0, 0}));

    // Deleting the key, or a key above it, takes its values; opening it again starts afresh.
    const std::string deleted = "\"A\"=dword:1\r\n[-HKEY_CURRENT_USER\\Software]\r\n";
    ASSERT_TRUE(RegKeyIndex::read(utf8File(deleted), path));
    EXPECT_FALSE(RegKeyIndex::read(utf8File(deleted), path)->exists());
    EXPECT_FALSE(RegKeyIndex::read(utf8File(deleted), path)->value(u"A"));
    const std::string reopened = deleted + "[HKEY_CURRENT_USER\\Software\\Zarnolith]\r\n\"B\"=dword:2\r\n";
    std::optional<RegKeyIndex> again = RegKeyIndex::read(utf8File(reopened), path);
    ASSERT_TRUE(again);
    EXPECT_TRUE(again->exists());
    EXPECT_FALSE(again->value(u"A"));
    EXPECT_TRUE(again->value(u"B"));
    // A key whose name only begins like ours is another key.
    const std::string sibling = "[-HKEY_CURRENT_USER\\Software\\Zarno]\r\n";
    EXPECT_TRUE(RegKeyIndex::read(utf8File("\"A\"=dword:1\r\n" + sibling), path)->value(u"A"));
    EXPECT_FALSE(RegKeyIndex::read(utf8File(sibling), u"HKEY_CURRENT_USER\\Software\\Andere")->exists());
}

TEST(RegValueLine, DashDeletesValueAndKeyDeletesSubKeys)
{
    std::optional<RegDocument> doc = RegDocument::parse(
        utf8File("\"A\"=dword:1\r\n\"A\"=-\r\n[HKEY_CURRENT_USER\\Software\\Zarnolith\\Sub]\r\n\"B\"=dword:2\r\n"
                 "[-HKEY_CURRENT_USER\\Software\\Zarnolith]\r\n[HKEY_CURRENT_USER\\Other]\r\n"));
    ASSERT_TRUE(doc);
    ASSERT_EQ(doc->keys.size(), 1u);
    EXPECT_EQ(doc->keys[0].path, u"HKEY_CURRENT_USER\\Other");
}

class DamagedFile : public ::testing::TestWithParam<std::vector<std::uint8_t>> {};

TEST_P(DamagedFile, IsRefused)
{
    std::string error;
    EXPECT_FALSE(RegDocument::parse(GetParam(), &error));
    EXPECT_FALSE(error.empty());
    // The key index checks the whole file as strictly, whichever key it is for.
    std::string indexError;
    EXPECT_FALSE(RegKeyIndex::read(GetParam(), u"HKEY_CURRENT_USER\\Other", &indexError));
    EXPECT_EQ(indexError, error);
}

std::vector<std::uint8_t> bytes(const std::string& s) { return {s.begin(), s.end()}; }

INSTANTIATE_TEST_SUITE_P(
    Rows, DamagedFile,
    ::testing::Values(std::vector<std::uint8_t>{},                                        // empty
                      bytes("\x89PNG\r\n\x1a\n garbage"),                                 // not text
                      bytes("REGEDIT5\r\n[HKEY_CURRENT_USER\\Software\\Zarnolith]\r\n"),  // wrong header
                      bytes("Windows Registry Editor Version 5.00\r\n\"A\"=dword:1\r\n"), // value before any key
                      utf8File("\"FontName\"=\"Ari"),                                     // cut off in a text
                      utf8File("\"FontSize\"=dword:1234567890\r\n"),                      // too many digits
                      utf8File("\"B\"=hex:01,0g\r\n"),                                    // not hex
                      utf8File("\"B\"=hex:01,\\\r\n"), // continuation missing at the end
                      utf8File("\"B\"=hex(2:00\r\n"),  // broken type
                      utf8File("Nonsense line\r\n"),
                      bytes("Windows Registry Editor Version "
                            "5.00\r\n[HKEY_CURRENT_USER\\Software\\Zarnolith]\r\n\"N\"=\"\xC3\x28\"\r\n"), // bad UTF-8
                      std::vector<std::uint8_t>{0xFF, 0xFE, 'W', 0, 'i'})); // UTF-16 of odd length

TEST(RegDocumentRoundTrip, WrittenFileReadsBackTheSameValues)
{
    RegDocument doc;
    RegDocument::Key& key = doc.findOrAddKey(u"HKEY_CURRENT_USER\\Software\\Zarnolith");
    const std::vector<std::uint8_t> longBinary(200, 0x5a);
    RegDocument::setValue(key, u"FontName", 1, {'A', 0, '\\', 0, '"', 0, 0xFC, 0, 0, 0});
    RegDocument::setValue(key, u"Zeilen", 1, {'a', 0, '\n', 0, 'b', 0, 0, 0}); // a line break cannot stand in quotes
    RegDocument::setValue(key, u"OhneNull", 1, {'a', 0});                      // no terminating zero
    RegDocument::setValue(key, u"FontColor", 4, {8, 0, 0, 0xFF});
    RegDocument::setValue(key, u"Kurz", 4, {1, 2});                 // a DWORD of 2 bytes
    RegDocument::setValue(key, u"Zwei\nZeilen\r", 4, {1, 0, 0, 0}); // a name with line breaks
    RegDocument::setValue(key, u"Bin", 3, longBinary);
    RegDocument::setValue(key, u"Expand", 2, {'%', 0, 'X', 0, '%', 0, 0, 0});
    RegDocument::setValue(key, u"", 0x12345, {9});
    // Adding a key may move the keys, so `key` is not used after this.
    const std::vector<RegDocument::Value> written = key.values;
    doc.findOrAddKey(u"HKEY_CURRENT_USER\\Software\\Zarnolith\\Leer");

    const std::vector<std::uint8_t> file = doc.serialize();
    ASSERT_GE(file.size(), 2u);
    EXPECT_EQ(file[0], 0xFF); // UTF-16LE with byte-order mark, as the registry editor writes
    EXPECT_EQ(file[1], 0xFE);
    std::string error;
    std::optional<RegDocument> back = RegDocument::parse(file, &error);
    ASSERT_TRUE(back) << error << "\n" << doc.toUtf8Text();
    ASSERT_EQ(back->keys.size(), 2u);
    ASSERT_EQ(back->keys[0].values.size(), written.size());
    for (std::size_t i = 0; i < written.size(); ++i) {
        EXPECT_EQ(back->keys[0].values[i].name, written[i].name);
        EXPECT_EQ(back->keys[0].values[i].type, written[i].type);
        EXPECT_EQ(back->keys[0].values[i].data, written[i].data);
    }
    EXPECT_TRUE(back->keys[1].values.empty());

    const std::string text = doc.toUtf8Text();
    EXPECT_NE(text.find("\"FontName\"=\"A\\\\\\\"\xC3\xBC\"\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\"FontColor\"=dword:ff000008\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\"Expand\"=hex(2):25,00,58,00,25,00,00,00\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("@=hex(12345):09\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find(",\\\r\n  5a,"), std::string::npos) << "long byte lists wrap";
}

TEST(RegDocumentRoundTrip, CommentLinesStayWhereTheyWere)
{
    // Hand-written notes around keys and values, also around what the file deletes.
    const std::string body = "; about the font\r\n\"FontName\"=\"Arial\"\r\n\"Weg\"=dword:1\r\n; kept with Weg\r\n"
                             "\"Weg\"=-\r\n;  indented note \r\n\"FontSize\"=dword:0000000e\r\n\r\n"
                             "; other program\r\n[HKEY_CURRENT_USER\\Other]\r\n\"A\"=dword:2\r\n; the end\r\n";
    std::string error;
    std::optional<RegDocument> doc = RegDocument::parse(utf8File(body), &error);
    ASSERT_TRUE(doc) << error;
    RegDocument::Key* key = doc->findKey(u"HKEY_CURRENT_USER\\Software\\Zarnolith");
    ASSERT_NE(key, nullptr);
    RegDocument::setValue(*key, u"FontSize", 4, {0x24, 0, 0, 0}); // a save replaces the value, not its note
    const std::string text = doc->toUtf8Text();
    EXPECT_NE(text.find("; about the font\r\n\"FontName\"=\"Arial\"\r\n; kept with Weg\r\n;  indented note\r\n"
                        "\"FontSize\"=dword:00000024\r\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("; other program\r\n[HKEY_CURRENT_USER\\Other]\r\n\"A\"=dword:00000002\r\n\r\n; the end\r\n"),
              std::string::npos)
        << text;
    EXPECT_EQ(text.find("Weg\""), std::string::npos) << "the deleted value itself is gone";
    std::optional<RegDocument> back = RegDocument::parse(doc->serialize());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->toUtf8Text(), text);
}

TEST(RegDocumentSalvage, ReadsEveryWellFormedLineAndNamesTheOthers)
{
    const std::string body = "\"FontName\"=\"Verdana\"\r\n"
                             "\"FontSize\"=dword:000000012\r\n" // line 5: nine digits
                             "\"FontColor\"=dword:000000ff\r\n"
                             "\"FontStyle\"=14\r\n"             // line 7: no data form
                             "Unsinn\r\n"                       // line 8: no value at all
                             "\"Bin\"=hex:01,zz,\\\r\n  02\r\n" // line 9, with its continuation
                             "\"HintColor\"=dword:00000003\r\n";
    std::vector<RegDocument::Problem> problems;
    ASSERT_FALSE(RegDocument::parse(utf8File(body))) << "strict reading refuses the file";
    std::optional<RegDocument> doc = RegDocument::parseSalvaging(utf8File(body), &problems);
    ASSERT_TRUE(doc);
    ASSERT_EQ(doc->keys.size(), 1u);
    std::vector<std::u16string> names;
    for (const RegDocument::Value& v : doc->keys[0].values)
        names.push_back(v.name);
    EXPECT_EQ(names, (std::vector<std::u16string>{u"FontName", u"FontColor", u"HintColor"}));

    std::vector<std::pair<std::size_t, std::u16string>> skipped;
    for (const RegDocument::Problem& p : problems)
        skipped.emplace_back(p.line, p.valueName.value_or(u"-"));
    EXPECT_EQ(skipped,
              (std::vector<std::pair<std::size_t, std::u16string>>{
                  {5, u"FontSize"}, {7, u"FontStyle"}, {8, u"-"}, {9, u"Bin"}}));

    // Without the header nothing can be trusted; a file that is no text neither.
    EXPECT_FALSE(
        RegDocument::parseSalvaging(bytes("[HKEY_CURRENT_USER\\Software\\Zarnolith]\r\n\"A\"=dword:1\r\n"), &problems));
    EXPECT_FALSE(RegDocument::parseSalvaging(bytes("Windows Registry Editor Version 5.00\r\n\xC3\x28"), &problems));
}

TEST(RegDocumentRoundTrip, ReadsAFileExportedOnWindows)
{
    // As the registry editor exports it: UTF-16LE, CRLF, the font name as expandable text.
    const std::u16string exported
        = u"Windows Registry Editor Version 5.00\r\n\r\n"
          u"[HKEY_CURRENT_USER\\Software\\Zarnolith]\r\n"
          u"\"FontName\"=hex(2):54,00,69,00,6d,00,65,00,73,00,20,00,4e,00,65,00,77,00,20,\\\r\n"
          u"  00,52,00,6f,00,6d,00,61,00,6e,00,00,00\r\n"
          u"\"FontSize\"=dword:00000018\r\n"
          u"\"Name\u00e4\"=\"\u041a\u0438\u0440\"\r\n\r\n";
    std::string error;
    std::optional<RegDocument> doc = RegDocument::parse(utf16leWithBom(exported), &error);
    ASSERT_TRUE(doc) << error;
    RegDocument::Key& key = doc->keys.at(0);
    ASSERT_EQ(key.values.size(), 3u);
    EXPECT_EQ(key.values[0].type, 2u);
    EXPECT_EQ(key.values[0].data.size(), 32u); // "Times New Roman" and its zero
    EXPECT_EQ(key.values[1].data, (std::vector<std::uint8_t>{0x18, 0, 0, 0}));
    EXPECT_EQ(key.values[2].name, u"Name\u00e4");
    EXPECT_EQ(key.values[2].data, (std::vector<std::uint8_t>{0x1a, 0x04, 0x38, 0x04, 0x40, 0x04, 0, 0}));
}

} // namespace
