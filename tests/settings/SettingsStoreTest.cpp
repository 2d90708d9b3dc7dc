// The settings store end to end over the platform's real store: a settings
// file in a temporary configuration directory, or on Windows the registry
// below a key of the test's own; plus a recording stand-in for the orders.
#include "settings/SettingsStore.h"
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
#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

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

#ifndef _WIN32
    std::vector<fs::path> setAsideFiles() const
    {
        std::vector<fs::path> found;
        for (const fs::directory_entry& e : fs::directory_iterator(settingsFile().parent_path()))
            if (e.path().filename().string().find(".beschaedigt-") != std::string::npos)
                found.push_back(e.path());
        return found;
    }

    // Runs body in a child process: its exit code, 128 + the signal that
    // ended it, or -1 when it had not ended after the time limit (then killed).
    static int inChildProcess(const std::function<int()>& body, int seconds = 20)
    {
        const pid_t child = fork();
        if (child == 0)
            _exit(body());
        int status = 0;
        for (int i = 0; i < seconds * 100; ++i) {
            if (waitpid(child, &status, WNOHANG) == child)
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            usleep(10'000);
        }
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
        return -1;
    }
#endif

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

#ifndef _WIN32
TEST_F(Store, DamagedFileIsSetAsideAndTheDefaultsLoad)
{
    fs::create_directories(settingsFile().parent_path());
    const std::string garbage
        = "Windows Registry Editor Version 5.00\r\n[HKEY_CURRENT_USER\\Software\\Zarnolith]\r\n\"FontName\"=\"Verd";
    std::ofstream(settingsFile(), std::ios::binary) << garbage;
    store.RegistryLadenSpeichern(true);
    EXPECT_EQ(displayFont.Name, QStringLiteral("Arial"));

    std::vector<fs::path> setAside;
    for (const fs::directory_entry& e : fs::directory_iterator(settingsFile().parent_path()))
        if (e.path().filename().string().starts_with("Zarnolith.reg.beschaedigt-"))
            setAside.push_back(e.path());
    ASSERT_EQ(setAside.size(), 1u);
    const std::vector<std::uint8_t> kept = fileContent(setAside[0]);
    EXPECT_EQ(std::string(kept.begin(), kept.end()), garbage) << "the damaged file is kept as it was";
    EXPECT_TRUE(RegDocument::parse(fileContent(settingsFile()))) << "and a fresh, readable file takes its place";

    // A second damaged file does not replace the first one set aside.
    std::ofstream(settingsFile(), std::ios::binary) << "garbage";
    store.RegistryLadenSpeichern(true);
    int entryCount = 0;
    for (const fs::directory_entry& e : fs::directory_iterator(settingsFile().parent_path()))
        entryCount += e.path().filename().string().starts_with("Zarnolith.reg.beschaedigt-");
    EXPECT_EQ(entryCount, 2);
}

TEST_F(Store, WriteBeyondTheFileSizeLimitFailsWithTheWriteErrorAndLeavesTheOldFileWhole)
{
    store.RegistryLadenSpeichern(false);
    const std::vector<std::uint8_t> fontBefore = fileContent(settingsFile());

    // A real file-size limit (ulimit -f) in a child process whose signals are
    // as a shell leaves them: the write must fail, not end the process.
    const int childEnd = inChildProcess([&] {
        std::signal(SIGXFSZ, SIG_DFL);
        rlimit small{};
        getrlimit(RLIMIT_FSIZE, &small);
        small.rlim_cur = static_cast<rlim_t>(fontBefore.size() + 100);
        setrlimit(RLIMIT_FSIZE, &small);
        // A name longer than the file may grow: the write fails part-way, as on a full disk.
        displayFont.Name = QString(4000, QLatin1Char('x'));
        try {
            store.RegistryLadenSpeichern(false);
        } catch (const settings::ERegistryException& e) {
            return std::string(e.what()) == "Fehler beim Setzen der Daten für 'FontName'" ? 0 : 1;
        }
        return 2;
    });
    EXPECT_EQ(childEnd, 0) << "0: the write error; 1: another message; 2: no error; 128+n: killed by signal n";
    EXPECT_EQ(fileContent(settingsFile()), fontBefore);
    for (const fs::directory_entry& e : fs::directory_iterator(settingsFile().parent_path()))
        EXPECT_FALSE((e.path().filename().string().find(".tmp-") != std::string::npos))
            << "no temporary file is left behind";
}

#endif

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

#ifndef _WIN32
struct ForeignThing {
    const char* what;
    std::function<void(const fs::path&)> create;
    std::function<bool(const fs::path&)> untouched;
};

class StoreForeignThing : public Store, public ::testing::WithParamInterface<ForeignThing> {};

// Something other than a settings file at the path: the key cannot be opened,
// so nothing is read, written or reported, and the thing stays as it what.
// A child process keeps a load that hangs or eats memory from taking the suite along.
TEST_P(StoreForeignThing, KeyIsNotOpenedAndTheThingStaysUntouched)
{
    fs::create_directories(settingsFile().parent_path());
    GetParam().create(settingsFile());
    displayFont.Name = QStringLiteral("Courier New");
    const int childEnd = inChildProcess([&] {
        rlimit storeLimit{512u << 20, 512u << 20};
        setrlimit(RLIMIT_AS, &storeLimit);
        try {
            store.RegistryLadenSpeichern(true);
            if (displayFont.Name != QStringLiteral("Courier New") || !writtenNr.empty())
                return 1;
            store.RegistryLadenSpeichern(false);
        } catch (...) {
            return 2;
        }
        return store.Notice().isEmpty() ? 0 : 3;
    });
    EXPECT_EQ(childEnd, 0) << "1: something was read; 2: an error was raised; 3: a notice; -1: hung; 128+n: signal n";
    EXPECT_TRUE(GetParam().untouched(settingsFile()));
    EXPECT_TRUE(setAsideFiles().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, StoreForeignThing,
    ::testing::Values(ForeignThing{"fifo", [](const fs::path& p) { ASSERT_EQ(mkfifo(p.c_str(), 0600), 0); },
                                   [](const fs::path& p) { return fs::is_fifo(fs::symlink_status(p)); }},
                      ForeignThing{
                          "link_to_dev_zero", [](const fs::path& p) { fs::create_symlink("/dev/zero", p); },
                          [](const fs::path& p) { return fs::is_symlink(p) && fs::read_symlink(p) == "/dev/zero"; }},
                      ForeignThing{"directory",
                                   [](const fs::path& p) {
                                       fs::create_directory(p);
                                       std::ofstream(p / "inhalt") << "x";
                                   },
                                   [](const fs::path& p) {
                                       return fs::is_directory(fs::symlink_status(p)) && fs::exists(p / "inhalt");
                                   }}),
    [](const auto& info) { return std::string(info.param.what); });

TEST_F(Store, FileLargerThanAnySettingsFileIsSetAsideUnread)
{
    // Padded with a comment line to an exact size: the limit itself still reads.
    const auto fileWithSize = [&](std::size_t pixelSize) {
        const std::string head
            = "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Zarnolith]\r\n"
              "\"FontName\"=\"Verdana\"\r\n;";
        fs::create_directories(settingsFile().parent_path());
        std::ofstream(settingsFile(), std::ios::binary)
            << head << std::string(pixelSize - head.size() - 2, 'x') << "\r\n";
        ASSERT_EQ(fs::file_size(settingsFile()), pixelSize);
    };
    fileWithSize(FileRegistry::MaxFileBytes);
    store.RegistryLadenSpeichern(true);
    EXPECT_EQ(displayFont.Name, QStringLiteral("Verdana"));
    EXPECT_TRUE(setAsideFiles().empty());

    fileWithSize(FileRegistry::MaxFileBytes + 1);
    store.RegistryLadenSpeichern(true);
    EXPECT_EQ(displayFont.Name, QStringLiteral("Arial"));
    ASSERT_EQ(setAsideFiles().size(), 1u);
    EXPECT_EQ(fs::file_size(setAsideFiles()[0]), FileRegistry::MaxFileBytes + 1);
    EXPECT_TRUE(store.Notice().contains(QString::fromStdString(setAsideFiles()[0].string())));
    EXPECT_TRUE(store.Notice().contains(QStringLiteral("Keine Einstellung konnte daraus gelesen werden")));
}

TEST_F(Store, DamagedFileKeepsEveryReadableValueAndSaysWhatWasLost)
{
    const std::string valueList = "\"FontName\"=\"Verdana\"\r\n"
                                  "\"FontSize\"=dword:000000012\r\n" // line 5: nine digits
                                  "; Notiz\r\n"
                                  "\"FontStyle\"=14\r\n" // line 7
                                  "\"HintColor\"=dword:00000003\r\n";
    writeFileAt(valueList);
    displayFont.setSize(30);
    store.RegistryLadenSpeichern(true);

    EXPECT_EQ(displayFont.Name, QStringLiteral("Verdana"));
    EXPECT_EQ(displayFont.Size(), 14) << "the unreadable size loads as missing";
    EXPECT_EQ(displayFont.Style, TFontStyles{});
    EXPECT_EQ(writtenNr, std::vector<int>{3});

    ASSERT_EQ(setAsideFiles().size(), 1u);
    const std::vector<std::uint8_t> kept = fileContent(setAsideFiles()[0]);
    EXPECT_NE(std::string(kept.begin(), kept.end()).find(valueList), std::string::npos)
        << "the original is kept as it was";
    const QString notice = store.Notice();
    EXPECT_TRUE(notice.contains(QString::fromStdString(setAsideFiles()[0].string()))) << notice.toStdString();
    EXPECT_TRUE(notice.contains(QStringLiteral("'FontSize' (Zeile 5), 'FontStyle' (Zeile 7).")))
        << notice.toStdString();

    // What could be read is on disk again at once, comment included.
    std::optional<RegDocument> doc = RegDocument::parse(fileContent(settingsFile()));
    ASSERT_TRUE(doc);
    ASSERT_NE(savedDoc(*doc, u"FontName"), nullptr);
    ASSERT_NE(savedDoc(*doc, u"HintColor"), nullptr);
    EXPECT_EQ(savedDoc(*doc, u"FontSize"), nullptr);
    EXPECT_NE(doc->toUtf8Text().find("; Notiz\r\n"), std::string::npos);

    // Told once: the next load finds a sound file.
    StoreEnvironment nextEnvironment;
    settings::SettingsStore nextStore(
        displayFont, [] { return 1; }, [](int) {}, nextEnvironment);
    nextStore.RegistryLadenSpeichern(true);
    EXPECT_TRUE(nextStore.Notice().isEmpty());
}

TEST_F(Store, UnreadableFileIsNeverOverwritten)
{
    writeFileAt("\"FontName\"=\"Verdana\"\r\n");
    const std::vector<std::uint8_t> fontBefore = fileContent(settingsFile());
    ASSERT_EQ(chmod(settingsFile().c_str(), 0), 0);
    // Root reads every file: the check runs as an ordinary user who may write the directory.
    if (geteuid() == 0) {
        for (const fs::path& p : {fs::path(dir.path().toStdString()), settingsFile().parent_path()})
            ASSERT_EQ(chown(p.c_str(), 65534, 65534), 0);
    }
    const int childEnd = inChildProcess([&] {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            return 9;
        displayFont.Name = QStringLiteral("Courier New");
        try {
            store.RegistryLadenSpeichern(true);
            store.RegistryLadenSpeichern(false);
        } catch (...) {
            return 2;
        }
        return displayFont.Name == QStringLiteral("Courier New") ? 0 : 1;
    });
    EXPECT_EQ(childEnd, 0);
    ASSERT_EQ(chmod(settingsFile().c_str(), 0600), 0);
    EXPECT_EQ(fileContent(settingsFile()), fontBefore);
    EXPECT_TRUE(setAsideFiles().empty());
}

TEST_F(Store, FileModeIsKeptAndANewFileIsPrivate)
{
    const mode_t oldMask = umask(0);
    store.RegistryLadenSpeichern(false);
    umask(oldMask);
    struct stat st {};
    ASSERT_EQ(stat(settingsFile().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);

    ASSERT_EQ(chmod(settingsFile().c_str(), 0640), 0);
    store.RegistryLadenSpeichern(false);
    ASSERT_EQ(stat(settingsFile().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST_F(Store, SymbolicLinkAsTheFileIsFollowed)
{
    // Settings kept elsewhere (a dotfiles repository) and linked into place.
    const fs::path realPath = fs::path(dir.path().toStdString()) / "dotfiles" / "zarnolith.reg";
    fs::create_directories(realPath.parent_path());
    fs::create_directories(settingsFile().parent_path());
    fs::create_symlink(realPath, settingsFile());
    std::ofstream(realPath, std::ios::binary) << "kaputt";

    store.RegistryLadenSpeichern(true); // damaged: the file itself is set aside, the link stays
    displayFont.Name = QStringLiteral("Liberation Serif");
    store.RegistryLadenSpeichern(false);

    EXPECT_TRUE(fs::is_symlink(settingsFile()));
    std::optional<RegDocument> doc = RegDocument::parse(fileContent(realPath));
    ASSERT_TRUE(doc);
    EXPECT_NE(savedDoc(*doc, u"FontName"), nullptr);
    int copies = 0;
    for (const fs::directory_entry& e : fs::directory_iterator(realPath.parent_path()))
        copies += e.path().filename().string().starts_with("zarnolith.reg.beschaedigt-");
    EXPECT_EQ(copies, 1);
}

// Runs something just before the key is closed, while the values wait to be committed.
class BeforeClosing : public settings::IRegistry {
public:
    BeforeClosing(std::function<void()> fontBefore) : m_before(std::move(fontBefore)) {}
    bool OpenKey(std::u16string_view path, bool canCreate) override { return m_real.OpenKey(path, canCreate); }
    bool CloseKey() override
    {
        if (m_before)
            std::exchange(m_before, {})();
        return m_real.CloseKey();
    }
    std::optional<settings::RegValueInfo> QueryValueInfo(std::u16string_view name) override
    {
        return m_real.QueryValueInfo(name);
    }
    std::optional<settings::RegValueData> QueryValue(std::u16string_view name, std::uint32_t maxBytes) override
    {
        return m_real.QueryValue(name, maxBytes);
    }
    bool SetValue(std::u16string_view name, std::uint32_t type, std::span<const std::uint8_t> data) override
    {
        return m_real.SetValue(name, type, data);
    }

private:
    FileRegistry m_real;
    std::function<void()> m_before;
};

TEST_F(Store, CommitThatFailsAtClosingIsTheWriteError)
{
    struct Case {
        const char* description;
        std::function<void()> disturb;
    };
    const Case cases[] = {
        {"staged file gone",
         [&] {
             for (const fs::directory_entry& e : fs::directory_iterator(settingsFile().parent_path()))
                 if (e.path().filename().string().find(".tmp-") != std::string::npos)
                     fs::remove(e.path());
         }},
        {"file replaced by a directory",
         [&] {
             fs::remove(settingsFile());
             fs::create_directory(settingsFile());
         }},
    };
    for (const Case& testCase : cases) {
        SCOPED_TRACE(testCase.description);
        fs::remove_all(settingsFile());
        displayFont.Name = QStringLiteral("Verdana");
        store.RegistryLadenSpeichern(false);
        const std::vector<std::uint8_t> fontBefore = fileContent(settingsFile());
        displayFont.Name = QStringLiteral("Liberation Mono");
        environment.registry = [&] { return std::make_unique<BeforeClosing>(testCase.disturb); };
        EXPECT_EQ(storeError(), "Fehler beim Setzen der Daten für 'HintColor'");
        environment.registry = [] { return std::make_unique<FileRegistry>(); };
        if (fs::is_regular_file(settingsFile()))
            EXPECT_EQ(fileContent(settingsFile()), fontBefore);
        else
            EXPECT_TRUE(fs::is_directory(settingsFile())) << "what took the file's place is not overwritten";
    }
}

TEST_F(Store, SaveRacingAnEditorKeepsTheEditorsChangesAndTheComments)
{
    struct Case {
        const char* description;
        bool inPlace; // the editor writes into the file itself rather than replacing it
    };
    for (const Case testCase : {Case{"atomic save", false}, Case{"in place", true}}) {
        SCOPED_TRACE(testCase.description);
        writeFileAt("; Handnotiz\r\n\"FontSize\"=dword:0000000e\r\n");
        const std::string editor
            = "Windows Registry Editor Version 5.00\r\n\r\n; Handnotiz\r\n"
              "[HKEY_CURRENT_USER\\Software\\Zarnolith]\r\n\"FontSize\"=dword:00000030\r\n"
              "; vom Editor\r\n\"Notiz\"=\"vom Editor\"\r\n\r\n[HKEY_CURRENT_USER\\Software\\Andere]\r\n";
        auto editorSaves = [&] {
            if (testCase.inPlace) {
                std::ofstream(settingsFile(), std::ios::binary | std::ios::trunc) << editor;
            } else {
                std::ofstream(settingsFile().string() + ".editor", std::ios::binary) << editor;
                fs::rename(settingsFile().string() + ".editor", settingsFile());
            }
        };
        displayFont.setSize(20);
        environment.registry = [&] { return std::make_unique<BeforeClosing>(editorSaves); };
        store.RegistryLadenSpeichern(false);

        std::optional<RegDocument> doc = RegDocument::parse(fileContent(settingsFile()));
        ASSERT_TRUE(doc);
        const std::string text = doc->toUtf8Text();
        ASSERT_NE(savedDoc(*doc, u"Notiz"), nullptr) << text;
        EXPECT_NE(doc->findKey(u"HKEY_CURRENT_USER\\Software\\Andere"), nullptr) << text;
        EXPECT_NE(text.find("; Handnotiz\r\n[HKEY_CURRENT_USER\\Software\\Zarnolith]"), std::string::npos) << text;
        EXPECT_NE(text.find("; vom Editor\r\n\"Notiz\""), std::string::npos) << text;
        EXPECT_EQ(savedDoc(*doc, u"FontSize")->data, (std::vector<std::uint8_t>{20, 0, 0, 0})) << "the later save wins";
        EXPECT_NE(savedDoc(*doc, u"FontStyle"), nullptr);
    }
}

TEST_F(Store, StagedFilesLeftByAnEarlierRunGoAtTheNextSave)
{
    store.RegistryLadenSpeichern(false);
    const fs::path folder = settingsFile().parent_path();
    const auto create = [&](const char* name, bool old) {
        std::ofstream(folder / name) << "rest";
        if (old) {
            const timespec hourAgo[2] = {{time(nullptr) - 3600, 0}, {time(nullptr) - 3600, 0}};
            utimensat(AT_FDCWD, (folder / name).c_str(), hourAgo, 0);
        }
    };
    create("Zarnolith.reg.tmp-AbC123", true);  // an interrupted save of an earlier run
    create("Zarnolith.reg.tmp-XyZ789", false); // a save in flight right now
    create("Zarnolith.reg.tmp-alt", true);     // not a name we make
    create("Fremd.reg.tmp-AbC123", true);
    store.RegistryLadenSpeichern(false);
    EXPECT_FALSE(fs::exists(folder / "Zarnolith.reg.tmp-AbC123"));
    EXPECT_TRUE(fs::exists(folder / "Zarnolith.reg.tmp-XyZ789"));
    EXPECT_TRUE(fs::exists(folder / "Zarnolith.reg.tmp-alt"));
    EXPECT_TRUE(fs::exists(folder / "Fremd.reg.tmp-AbC123"));
}

#endif

// Records every call into the store, and answers reads from a map.
class RecordingRegistry : public settings::IRegistry {
public:
    RecordingRegistry(std::vector<std::string>& log, bool opens) : m_log(log), m_opens(opens) {}
    ~RecordingRegistry() override { m_log.push_back("freigeben"); }
    bool OpenKey(std::u16string_view path, bool canCreate) override
    {
        m_log.push_back("OpenKey " + utf8(path) + (canCreate ? " +create" : ""));
        return m_opens;
    }
    bool CloseKey() override
    {
        m_log.push_back("CloseKey");
        return true;
    }
    std::optional<settings::RegValueInfo> QueryValueInfo(std::u16string_view name) override
    {
        m_log.push_back("Info " + utf8(name));
        return std::nullopt;
    }
    std::optional<settings::RegValueData> QueryValue(std::u16string_view name, std::uint32_t) override
    {
        m_log.push_back("Lesen " + utf8(name));
        return std::nullopt;
    }
    bool SetValue(std::u16string_view name, std::uint32_t type, std::span<const std::uint8_t> data) override
    {
        m_log.push_back("Setzen " + utf8(name) + " " + std::to_string(type) + " " + std::to_string(data.size()));
        return true;
    }

private:
    static std::string utf8(std::u16string_view s)
    {
        return QString::fromStdU16String(std::u16string(s)).toStdString();
    }
    std::vector<std::string>& m_log;
    bool m_opens;
};

// Hands out a recording registry that opens its key, and records the pause too.
struct RecordingEnvironment final : settings::ISettingsEnvironment {
    std::vector<std::string>& log;
    explicit RecordingEnvironment(std::vector<std::string>& l) : log(l) {}
    std::unique_ptr<settings::IRegistry> OpenRegistry() override
    {
        return std::make_unique<RecordingRegistry>(log, true);
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

} // namespace
