// The display settings' store: the values' names, types and defaults, the
// order of its calls, and what it tells the user about a repaired store; end
// to end over the platform's real store (a settings file in a temporary
// configuration directory, or on Windows the registry below a key of the
// test's own) and over a recording stand-in. What the settings file itself
// does with damage, links and races is tested with the file (SettingsFileTest).
#include "settings/SettingsStore.h"
#include "support/ForwardingRegistry.h"
#include "appearance/THintergrundForm.h"
#include "settings/ERegistryException.h"
#include "settings/RegDocument.h"
#ifdef _WIN32
#include "settings/IRegistry.h"
#include <windows.h>
#else
#include "settings/FileRegistry.h"
#endif

#include <QTemporaryDir>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;
using settings::RegDocument;
#ifndef _WIN32
using settings::FileRegistry;
#endif

namespace {

// The store's surroundings in a test: the user's registry (in the test's own
// configuration directory; on Windows below the test's own key) unless a case
// puts another in, and the pauses recorded.
struct StoreEnvironment final : settings::ISettingsEnvironment {
    std::function<std::unique_ptr<settings::IRegistry>()> registry; // empty: the user's
    std::vector<int> pauses;

    std::unique_ptr<settings::IRegistry> OpenRegistry() override
    {
        return registry ? registry() : settings::CreateUserRegistry();
    }
    void Pause(int milliseconds) override { pauses.push_back(milliseconds); }
};

class Store : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        oldXdg = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", dir.path().toUtf8());
#ifdef _WIN32
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        base = L"Software\\ZarnolithTests\\" + QString::fromUtf8(info->test_suite_name()).toStdWString() + L"."
            + QString::fromUtf8(info->name()).toStdWString() + L"." + std::to_wstring(::GetCurrentProcessId());
        environment.registry = registryFactory();
#endif
    }
    void TearDown() override
    {
        qputenv("XDG_CONFIG_HOME", oldXdg);
#ifdef _WIN32
        ::RegDeleteTreeW(HKEY_CURRENT_USER, base.c_str());
#endif
    }

#ifdef _WIN32
    std::wstring base; // the test's own part of the registry, in place of HKEY_CURRENT_USER

    std::function<std::unique_ptr<settings::IRegistry>()> registryFactory() const
    {
        return [b = std::u16string(base.begin(), base.end())] { return std::make_unique<settings::WinRegistry>(b); };
    }

    // Writes the key's values as an import of the export format would.
    void writeFileAt(const std::string& valueList)
    {
        const std::string text
            = "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Zarnolith]\r\n" + valueList;
        std::optional<RegDocument> doc = RegDocument::parse(std::vector<std::uint8_t>(text.begin(), text.end()));
        ASSERT_TRUE(doc);
        settings::WinRegistry reg(std::u16string(base.begin(), base.end()));
        ASSERT_TRUE(reg.OpenKey(u"Software\\Zarnolith", true));
        for (const RegDocument::Value& v : doc->keys.at(0).values)
            ASSERT_TRUE(reg.SetValue(v.name, v.type, v.data));
    }

    // The key as the registry holds it, in the export file's terms.
    std::optional<RegDocument> stored() const
    {
        RegDocument doc;
        HKEY key = nullptr;
        if (::RegOpenKeyExW(HKEY_CURRENT_USER, (base + L"\\Software\\Zarnolith").c_str(), 0, KEY_READ, &key)
            != ERROR_SUCCESS)
            return doc;
        RegDocument::Key& k = doc.findOrAddKey(u"HKEY_CURRENT_USER\\Software\\Zarnolith");
        wchar_t name[256];
        std::uint8_t data[4096];
        DWORD nameLength = 256, type = 0, size = sizeof data;
        for (DWORD i = 0; ::RegEnumValueW(key, i, name, &nameLength, nullptr, &type, data, &size) == ERROR_SUCCESS;
             ++i, nameLength = 256, size = sizeof data)
            RegDocument::setValue(k, std::u16string(name, name + nameLength), type, {data, data + size});
        ::RegCloseKey(key);
        return doc;
    }

    // The key "Software" below the test's base is kept in memory only, and cannot hold a lasting sub-key.
    void makeKeyUncreatable()
    {
        HKEY key = nullptr;
        ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, (base + L"\\Software").c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                                    KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        ::RegCloseKey(key);
    }
#else
    std::function<std::unique_ptr<settings::IRegistry>()> registryFactory() const
    {
        return settings::CreateUserRegistry;
    }

    fs::path settingsFile() const { return FileRegistry::DefaultFile(); }

    // Writes the key's values in the export format, as a user or Windows would.
    void writeFileAt(const std::string& valueList)
    {
        fs::create_directories(settingsFile().parent_path());
        std::ofstream(settingsFile(), std::ios::binary)
            << "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Zarnolith]\r\n"
            << valueList;
    }

    std::optional<RegDocument> stored() const { return RegDocument::parse(fileContent(settingsFile())); }

    // Where the store's directory should be there is a file: nothing can be created, not even by root.
    void makeKeyUncreatable() { std::ofstream(settingsFile().parent_path()) << "kein Verzeichnis"; }
#endif

    std::vector<std::uint8_t> fileContent(const fs::path& p) const
    {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    RegDocument::Value* savedDoc(RegDocument& doc, std::u16string_view name)
    {
        RegDocument::Key* key = doc.findKey(u"HKEY_CURRENT_USER\\Software\\Zarnolith");
        return key ? RegDocument::findValue(*key, name) : nullptr;
    }

    // The registry error a load (true) or a save (false) raises; empty when none.
    std::string errorOf(bool load)
    {
        try {
            store.RegistryLadenSpeichern(load);
        } catch (const settings::ERegistryException& e) {
            return e.what();
        }
        return {};
    }
    std::string loadError() { return errorOf(true); }
    std::string storeError() { return errorOf(false); }

    QTemporaryDir dir;
    QByteArray oldXdg;
    TFont displayFont{96};
    THintergrundForm form{nullptr, 125, 10};
    std::vector<int> writtenNr;
    StoreEnvironment environment;
    settings::SettingsStore store{displayFont, [this] { return form.HintergrundNr(); },
                                  [this](int nr) {
                                      writtenNr.push_back(nr);
                                      form.setHintergrundNr(nr);
                                  },
                                  environment};
};

TEST_F(Store, FirstStartCreatesAnEmptyKeyAndLoadsTheDefaults)
{
    displayFont.Name = QStringLiteral("Courier New");
    displayFont.Style.bold = true;
    displayFont.Charset = 7;
    store.RegistryLadenSpeichern(true);

    EXPECT_EQ(displayFont.Name, QStringLiteral("Arial"));
    EXPECT_EQ(displayFont.Size(), 14);
    EXPECT_EQ(displayFont.Height, -19);
    EXPECT_EQ(displayFont.Color.raw, 0xFF000008u);
    EXPECT_EQ(displayFont.Charset, 0);
    EXPECT_EQ(displayFont.Style, TFontStyles{});
    EXPECT_EQ(writtenNr, std::vector<int>{1});
    EXPECT_EQ(environment.pauses, std::vector<int>{10});
    EXPECT_TRUE(store.Notice().isEmpty()) << "nothing to tell about a sound store";

    std::optional<RegDocument> doc = stored();
    ASSERT_TRUE(doc) << "the key is created at the first load";
    ASSERT_NE(doc->findKey(u"HKEY_CURRENT_USER\\Software\\Zarnolith"), nullptr);
    EXPECT_TRUE(doc->keys[0].values.empty()) << "nothing is written until a dialog is confirmed";
}

TEST_F(Store, SavedSettingsComeBackAfterARestart)
{
    displayFont.Name = QStringLiteral("Liberation Serif");
    displayFont.setSize(36);
    displayFont.Color.raw = 0x00123456;
    displayFont.Charset = 204;
    displayFont.Style = TFontStyles{true, false, true, false}; // bold, underline
    form.setHintergrundNr(5);
    store.RegistryLadenSpeichern(false);

    // A new run: fresh objects, the same file.
    TFont restarted(96);
    THintergrundForm newForm(nullptr, 125, 10);
    newForm.setHintergrundNr(1);
    StoreEnvironment newEnvironment;
    newEnvironment.registry = registryFactory();
    settings::SettingsStore newStore(
        restarted, [&] { return newForm.HintergrundNr(); }, [&](int nr) { newForm.setHintergrundNr(nr); },
        newEnvironment);
    newStore.RegistryLadenSpeichern(true);
    EXPECT_EQ(restarted, displayFont);
    EXPECT_EQ(newForm.HintergrundNr(), 5);

    std::optional<RegDocument> doc = stored();
    ASSERT_TRUE(doc);
    EXPECT_EQ(savedDoc(*doc, u"FontSize")->data, (std::vector<std::uint8_t>{36, 0, 0, 0}));
    EXPECT_EQ(savedDoc(*doc, u"FontStyle")->data, (std::vector<std::uint8_t>{6, 0, 0, 0}));
}

TEST_F(Store, SystemColourStaysASystemColour)
{
    displayFont.Color.raw = ColorValue::clWindowText;
    store.RegistryLadenSpeichern(false);
    EXPECT_NE(stored()->toUtf8Text().find("\"FontColor\"=dword:ff000008"), std::string::npos);
    displayFont.Color.raw = 0x00FF0000;
    store.RegistryLadenSpeichern(true);
    EXPECT_EQ(displayFont.Color.raw, 0xFF000008u);
}

struct LoadRow {
    const char* valueList;
    std::function<void(const TFont&, int background)> checkLoaded;
};

class StoreLoad : public Store, public ::testing::WithParamInterface<LoadRow> {};

TEST_P(StoreLoad, StoredValuesLoad)
{
    writeFileAt(GetParam().valueList);
    store.RegistryLadenSpeichern(true);
    GetParam().checkLoaded(displayFont, form.HintergrundNr());
}

TFontStyles fontStyle(bool bold, bool italic, bool underline, bool strike) { return {bold, italic, underline, strike}; }

INSTANTIATE_TEST_SUITE_P(
    Rows, StoreLoad,
    ::testing::Values(
        LoadRow{"\"FontStyle\"=dword:00000001\r\n",
                [](const TFont& f, int) { EXPECT_EQ(f.Style, fontStyle(0, 1, 0, 0)); }},
        LoadRow{"\"FontStyle\"=dword:00000002\r\n",
                [](const TFont& f, int) { EXPECT_EQ(f.Style, fontStyle(1, 0, 0, 0)); }},
        LoadRow{"\"FontStyle\"=dword:00000005\r\n",
                [](const TFont& f, int) { EXPECT_EQ(f.Style, fontStyle(0, 1, 1, 0)); }},
        LoadRow{"\"FontStyle\"=dword:0000000f\r\n",
                [](const TFont& f, int) { EXPECT_EQ(f.Style, fontStyle(1, 1, 1, 1)); }},
        LoadRow{"\"FontStyle\"=dword:00000010\r\n",
                [](const TFont& f, int) { EXPECT_EQ(f.Style, fontStyle(0, 0, 0, 0)); }},
        LoadRow{"\"FontStyle\"=dword:ffffffff\r\n",
                [](const TFont& f, int) { EXPECT_EQ(f.Style, fontStyle(0, 0, 0, 0)); }},
        LoadRow{"\"FontStyle\"=dword:fffffffe\r\n",
                [](const TFont& f, int) { EXPECT_EQ(f.Style, fontStyle(1, 0, 1, 1)); }},
        LoadRow{"\"FontCharSet\"=dword:000001cc\r\n", [](const TFont& f, int) { EXPECT_EQ(f.Charset, 204); }},
        LoadRow{"\"FontName\"=\"\"\r\n", [](const TFont& f, int) { EXPECT_EQ(f.Name, QStringLiteral("Arial")); }},
        LoadRow{"\"FontName\"=hex(2):25,00,57,00,25,00,00,00\r\n",
                [](const TFont& f, int) {
                    EXPECT_EQ(f.Name, QStringLiteral("%W%")) << "expandable text is taken as stored";
                }},
        LoadRow{"\"FontSize\"=dword:00000048\r\n", [](const TFont& f, int) { EXPECT_EQ(f.Height, -96); }},
        LoadRow{"\"HintColor\"=dword:00000012\r\n", [](const TFont&, int nr) { EXPECT_EQ(nr, 18); }},
        LoadRow{"\"HintColor\"=dword:00000013\r\n", [](const TFont&, int nr) { EXPECT_EQ(nr, 0); }},
        LoadRow{"\"HintColor\"=dword:00000064\r\n", [](const TFont&, int nr) { EXPECT_EQ(nr, 0); }},
        LoadRow{"\"HintColor\"=dword:ffffffff\r\n", [](const TFont&, int nr) { EXPECT_EQ(nr, 0); }},
        LoadRow{"\"FontName\"=\"Arial\"\r\n", [](const TFont&, int nr) { EXPECT_EQ(nr, 1); }}));

TEST_F(Store, StyleBitsAreSavedBoldTwoItalicOne)
{
    const std::pair<TFontStyles, int> rows[] = {{fontStyle(1, 1, 0, 0), 3},
                                                {fontStyle(1, 0, 0, 0), 2},
                                                {fontStyle(0, 1, 0, 0), 1},
                                                {fontStyle(0, 0, 1, 1), 12},
                                                {fontStyle(0, 0, 0, 0), 0}};
    for (const auto& [style, bits] : rows) {
        displayFont.Style = style;
        store.RegistryLadenSpeichern(false);
        std::optional<RegDocument> doc = stored();
        ASSERT_TRUE(doc);
        EXPECT_EQ(savedDoc(*doc, u"FontStyle")->data[0], bits);
    }
}

struct ErrorRow {
    const char* valueList;
    const char* message;
};

class StoreLoadError : public Store, public ::testing::WithParamInterface<ErrorRow> {};

TEST_P(StoreLoadError, StopsAtTheValueWithItsMessage)
{
    writeFileAt(std::string("\"FontName\"=\"Liberation Mono\"\r\n") + GetParam().valueList
                + "\"HintColor\"=dword:00000003\r\n");
    form.setHintergrundNr(1);
    displayFont.setSize(30);
    EXPECT_EQ(loadError(), GetParam().message);
    EXPECT_EQ(displayFont.Name, QStringLiteral("Liberation Mono")) << "what was set before the error stays";
    if (std::string(GetParam().valueList).starts_with("\"FontSize\"")) {
        EXPECT_EQ(displayFont.Size(), 30) << "the faulty value changes nothing";
    }
    EXPECT_TRUE(writtenNr.empty()) << "HintergrundNr is not written, nothing is applied";
    EXPECT_EQ(form.HintergrundNr(), 1);
    EXPECT_EQ(environment.pauses, std::vector<int>{10}) << "the pause comes also after an error";
}

INSTANTIATE_TEST_SUITE_P(
    Rows, StoreLoadError,
    ::testing::Values(ErrorRow{"\"FontSize\"=\"14\"\r\n", "Fehler beim Holen der Daten für 'FontSize'"},
                      ErrorRow{"\"FontSize\"=\"1\"\r\n", "Ungültiger Datentyp für 'FontSize'"},
                      ErrorRow{"\"FontColor\"=hex(b):08,00,00,ff,00,00,00,00\r\n",
                               "Fehler beim Holen der Daten für 'FontColor'"},
                      ErrorRow{"\"FontStyle\"=hex(5):00,00,00,01\r\n", "Ungültiger Datentyp für 'FontStyle'"}));

TEST_F(Store, FontNameOfWrongTypeIsRefused)
{
    writeFileAt("\"FontName\"=dword:00000001\r\n");
    EXPECT_EQ(loadError(), "Ungültiger Datentyp für 'FontName'");
}

TEST_F(Store, KeyThatCannotBeCreatedLoadsNothingAndSavesNothing)
{
    makeKeyUncreatable();
    displayFont.Name = QStringLiteral("Courier New");
    store.RegistryLadenSpeichern(true);
    EXPECT_EQ(displayFont.Name, QStringLiteral("Courier New")) << "nothing is read";
    EXPECT_TRUE(writtenNr.empty()) << "HintergrundNr is not written";
    EXPECT_NO_THROW(store.RegistryLadenSpeichern(false)) << "and a save reports nothing";
    EXPECT_EQ(environment.pauses, (std::vector<int>{10, 10}));
}

// Hands out a recording registry that opens its key, and records the pause too.
struct RecordingEnvironment final : settings::ISettingsEnvironment {
    std::vector<std::string>& log;
    explicit RecordingEnvironment(std::vector<std::string>& l) : log(l) {}
    std::unique_ptr<settings::IRegistry> OpenRegistry() override
    {
        auto registry = std::make_unique<ForwardingRegistry>();
        registry->log = &log;
        return registry;
    }
    void Pause(int milliseconds) override { log.push_back("Pause " + std::to_string(milliseconds)); }
};

TEST(StoreOrder, SaveWritesAllSixValuesHintColorFirstThenPausesAndReleases)
{
    TFont displayFont;
    displayFont.Name = QStringLiteral("Arial");
    std::vector<std::string> log;
    RecordingEnvironment environment(log);
    settings::SettingsStore store(
        displayFont, [] { return 4; }, [](int) {}, environment);
    store.RegistryLadenSpeichern(false);
    EXPECT_THAT(log,
                ::testing::ElementsAre("OpenKey \\Software\\Zarnolith +create", "Setzen HintColor 4 4",
                                       "Setzen FontName 1 12", "Setzen FontSize 4 4", "Setzen FontColor 4 4",
                                       "Setzen FontCharSet 4 4", "Setzen FontStyle 4 4", "CloseKey", "Pause 10",
                                       "freigeben"));
}

TEST(StoreOrder, LoadReadsTheFontsValuesFirstAndAppliesHintColorLastWithTheFontInPlace)
{
    TFont displayFont;
    displayFont.Name = QStringLiteral("Courier New");
    std::vector<std::string> log;
    RecordingEnvironment environment(log);
    settings::SettingsStore store(
        displayFont, [] { return 4; },
        [&](int nr) {
            // Applying the index lays the window out: by then the font must be the loaded one.
            log.push_back("HintergrundNr " + std::to_string(nr) + " " + displayFont.Name.toStdString());
        },
        environment);
    store.RegistryLadenSpeichern(true);
    EXPECT_THAT(log,
                ::testing::ElementsAre("OpenKey \\Software\\Zarnolith +create", "Info FontName", "Info FontSize",
                                       "Info FontColor", "Info FontCharSet", "Info FontStyle", "Info HintColor",
                                       "HintergrundNr 1 Arial", "CloseKey", "Pause 10", "freigeben"));
}

// A store found damaged and repaired: the user is told where the original is
// kept and which values were lost, once.
TEST(StoreNotice, NamesTheKeptCopyAndTheValuesNotReadOnce)
{
    TFont displayFont(96);
    StoreEnvironment environment;
    environment.registry = []() -> std::unique_ptr<settings::IRegistry> {
        auto registry = std::make_unique<ForwardingRegistry>();
        registry->repair = settings::RegRepair{"/home/anna/.config/Zarnolith/Zarnolith.reg.beschaedigt-1",
                                               {{5, u"FontSize"}, {7, u"FontStyle"}}};
        return registry;
    };
    settings::SettingsStore store(
        displayFont, [] { return 1; }, [](int) {}, environment);
    store.RegistryLadenSpeichern(true);
    const QString notice = store.Notice();
    EXPECT_TRUE(notice.contains(QStringLiteral("/home/anna/.config/Zarnolith/Zarnolith.reg.beschaedigt-1")))
        << notice.toStdString();
    EXPECT_TRUE(notice.contains(QStringLiteral("'FontSize' (Zeile 5), 'FontStyle' (Zeile 7).")))
        << notice.toStdString();

    // The next load finds a sound store and tells nothing.
    StoreEnvironment nextEnvironment;
    nextEnvironment.registry = [] { return std::make_unique<ForwardingRegistry>(); };
    settings::SettingsStore nextStore(
        displayFont, [] { return 1; }, [](int) {}, nextEnvironment);
    nextStore.RegistryLadenSpeichern(true);
    EXPECT_TRUE(nextStore.Notice().isEmpty());
}

TEST(StoreNotice, AStoreReadNotAtAllLeavesTheDefaults)
{
    const QString notice = settings::SettingsStore::NoticeText({"C:\\Daten\\Zarnolith.reg.beschaedigt-2", {{}}});
    EXPECT_TRUE(notice.contains(QStringLiteral("C:\\Daten\\Zarnolith.reg.beschaedigt-2"))) << notice.toStdString();
    EXPECT_TRUE(notice.contains(QStringLiteral("Keine Einstellung konnte daraus gelesen werden")))
        << notice.toStdString();
}

} // namespace
