// The settings store end to end over a real settings file in a temporary
// configuration directory, plus a recording stand-in for the orders.
#include "appearance/EinstellungsSpeicher.h"
#include "appearance/THintergrundForm.h"
#include "platform/ERegistryException.h"
#include "platform/FileRegistry.h"
#include "platform/RegDocument.h"

#include <QTemporaryDir>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <iterator>
#include <sys/resource.h>
#include <unistd.h>

namespace fs = std::filesystem;
using platform::FileRegistry;
using platform::RegDocument;

namespace {

class Speicher : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        oldXdg = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", dir.path().toUtf8());
        TFont::setPixelsPerInchOverride(96);
        speicher.setPause([this](int ms) { pausen.push_back(ms); });
    }
    void TearDown() override
    {
        qputenv("XDG_CONFIG_HOME", oldXdg);
        TFont::setPixelsPerInchOverride(0);
    }

    fs::path datei() const { return FileRegistry::DefaultFile(); }

    // Writes the key's values in the export format, as a user or Windows would.
    void schreibeDatei(const std::string& werte)
    {
        fs::create_directories(datei().parent_path());
        std::ofstream(datei(), std::ios::binary)
            << "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Zarnolith]\r\n" << werte;
    }

    std::vector<std::uint8_t> dateiInhalt(const fs::path& p) const
    {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    RegDocument::Value* gespeichert(RegDocument& doc, std::u16string_view name)
    {
        RegDocument::Key* key = doc.findKey(u"HKEY_CURRENT_USER\\Software\\Zarnolith");
        return key ? RegDocument::findValue(*key, name) : nullptr;
    }

    std::string ladeFehler()
    {
        try {
            speicher.RegistryLadenSpeichern(true);
        } catch (const platform::ERegistryException& e) {
            return e.what();
        }
        return {};
    }

    QTemporaryDir dir;
    QByteArray oldXdg;
    TFont schrift;
    THintergrundForm form{nullptr, 125, 10};
    std::vector<int> geschriebeneNr;
    std::vector<int> pausen;
    EinstellungsSpeicher speicher{schrift, [this] { return form.HintergrundNr(); },
                                  [this](int nr) { geschriebeneNr.push_back(nr); form.setHintergrundNr(nr); }};
};

TEST_F(Speicher, FirstStartCreatesAnEmptyKeyAndLoadsTheDefaults)
{
    schrift.Name = QStringLiteral("Courier New");
    schrift.Style.bold = true;
    schrift.Charset = 7;
    speicher.RegistryLadenSpeichern(true);

    EXPECT_EQ(schrift.Name, QStringLiteral("Arial"));
    EXPECT_EQ(schrift.Size(), 14);
    EXPECT_EQ(schrift.Height, -19);
    EXPECT_EQ(schrift.Color.raw, 0xFF000008u);
    EXPECT_EQ(schrift.Charset, 0);
    EXPECT_EQ(schrift.Style, TFontStyles{});
    EXPECT_EQ(geschriebeneNr, std::vector<int>{1});
    EXPECT_EQ(pausen, std::vector<int>{10});

    std::optional<RegDocument> doc = RegDocument::parse(dateiInhalt(datei()));
    ASSERT_TRUE(doc) << "the key is created at the first load";
    ASSERT_NE(doc->findKey(u"HKEY_CURRENT_USER\\Software\\Zarnolith"), nullptr);
    EXPECT_TRUE(doc->keys[0].values.empty()) << "nothing is written until a dialog is confirmed";
}

TEST_F(Speicher, SavedSettingsComeBackAfterARestart)
{
    schrift.Name = QStringLiteral("Liberation Serif");
    schrift.setSize(36);
    schrift.Color.raw = 0x00123456;
    schrift.Charset = 204;
    schrift.Style = TFontStyles{true, false, true, false}; // bold, underline
    form.setHintergrundNr(5);
    speicher.RegistryLadenSpeichern(false);

    // A new run: fresh objects, the same file.
    TFont neu;
    THintergrundForm neuesForm(nullptr, 125, 10);
    neuesForm.setHintergrundNr(1);
    EinstellungsSpeicher neuerSpeicher(neu, [&] { return neuesForm.HintergrundNr(); },
                                       [&](int nr) { neuesForm.setHintergrundNr(nr); });
    neuerSpeicher.setPause([](int) {});
    neuerSpeicher.RegistryLadenSpeichern(true);
    EXPECT_EQ(neu, schrift);
    EXPECT_EQ(neuesForm.HintergrundNr(), 5);

    std::optional<RegDocument> doc = RegDocument::parse(dateiInhalt(datei()));
    ASSERT_TRUE(doc);
    EXPECT_EQ(gespeichert(*doc, u"FontSize")->data, (std::vector<std::uint8_t>{36, 0, 0, 0}));
    EXPECT_EQ(gespeichert(*doc, u"FontStyle")->data, (std::vector<std::uint8_t>{6, 0, 0, 0}));
}

TEST_F(Speicher, SystemColourStaysASystemColour)
{
    schrift.Color.raw = ColorValue::clWindowText;
    speicher.RegistryLadenSpeichern(false);
    EXPECT_NE(platform::RegDocument::parse(dateiInhalt(datei()))->toUtf8Text().find("\"FontColor\"=dword:ff000008"),
              std::string::npos);
    schrift.Color.raw = 0x00FF0000;
    speicher.RegistryLadenSpeichern(true);
    EXPECT_EQ(schrift.Color.raw, 0xFF000008u);
}

struct LadeZeile {
    const char* werte;
    std::function<void(const TFont&, int hintergrund)> pruefe;
};

class SpeicherLaden : public Speicher, public ::testing::WithParamInterface<LadeZeile> {};

TEST_P(SpeicherLaden, StoredValuesLoad)
{
    schreibeDatei(GetParam().werte);
    speicher.RegistryLadenSpeichern(true);
    GetParam().pruefe(schrift, form.HintergrundNr());
}

TFontStyles stil(bool bold, bool italic, bool underline, bool strike) { return {bold, italic, underline, strike}; }

INSTANTIATE_TEST_SUITE_P(
    Rows, SpeicherLaden,
    ::testing::Values(
        LadeZeile{"\"FontStyle\"=dword:00000001\r\n", [](const TFont& f, int) { EXPECT_EQ(f.Style, stil(0, 1, 0, 0)); }},
        LadeZeile{"\"FontStyle\"=dword:00000002\r\n", [](const TFont& f, int) { EXPECT_EQ(f.Style, stil(1, 0, 0, 0)); }},
        LadeZeile{"\"FontStyle\"=dword:00000005\r\n", [](const TFont& f, int) { EXPECT_EQ(f.Style, stil(0, 1, 1, 0)); }},
        LadeZeile{"\"FontStyle\"=dword:0000000f\r\n", [](const TFont& f, int) { EXPECT_EQ(f.Style, stil(1, 1, 1, 1)); }},
        LadeZeile{"\"FontStyle\"=dword:00000010\r\n", [](const TFont& f, int) { EXPECT_EQ(f.Style, stil(0, 0, 0, 0)); }},
        LadeZeile{"\"FontStyle\"=dword:ffffffff\r\n", [](const TFont& f, int) { EXPECT_EQ(f.Style, stil(0, 0, 0, 0)); }},
        LadeZeile{"\"FontStyle\"=dword:fffffffe\r\n", [](const TFont& f, int) { EXPECT_EQ(f.Style, stil(1, 0, 1, 1)); }},
        LadeZeile{"\"FontCharSet\"=dword:000001cc\r\n", [](const TFont& f, int) { EXPECT_EQ(f.Charset, 204); }},
        LadeZeile{"\"FontName\"=\"\"\r\n", [](const TFont& f, int) { EXPECT_EQ(f.Name, QStringLiteral("Arial")); }},
        LadeZeile{"\"FontName\"=hex(2):25,00,57,00,25,00,00,00\r\n",
                  [](const TFont& f, int) { EXPECT_EQ(f.Name, QStringLiteral("%W%")) << "expandable text is taken as stored"; }},
        LadeZeile{"\"FontSize\"=dword:00000048\r\n", [](const TFont& f, int) { EXPECT_EQ(f.Height, -96); }},
        LadeZeile{"\"HintColor\"=dword:00000012\r\n", [](const TFont&, int nr) { EXPECT_EQ(nr, 18); }},
        LadeZeile{"\"HintColor\"=dword:00000013\r\n", [](const TFont&, int nr) { EXPECT_EQ(nr, 0); }},
        LadeZeile{"\"HintColor\"=dword:00000064\r\n", [](const TFont&, int nr) { EXPECT_EQ(nr, 0); }},
        LadeZeile{"\"HintColor\"=dword:ffffffff\r\n", [](const TFont&, int nr) { EXPECT_EQ(nr, 0); }},
        LadeZeile{"\"FontName\"=\"Arial\"\r\n", [](const TFont&, int nr) { EXPECT_EQ(nr, 1); }}));

TEST_F(Speicher, StyleBitsAreSavedBoldTwoItalicOne)
{
    const std::pair<TFontStyles, int> rows[] = {
        {stil(1, 1, 0, 0), 3}, {stil(1, 0, 0, 0), 2}, {stil(0, 1, 0, 0), 1}, {stil(0, 0, 1, 1), 12}, {stil(0, 0, 0, 0), 0}};
    for (const auto& [style, bits] : rows) {
        schrift.Style = style;
        speicher.RegistryLadenSpeichern(false);
        std::optional<RegDocument> doc = RegDocument::parse(dateiInhalt(datei()));
        ASSERT_TRUE(doc);
        EXPECT_EQ(gespeichert(*doc, u"FontStyle")->data[0], bits);
    }
}

struct FehlerZeile {
    const char* werte;
    const char* meldung;
};

class SpeicherLadeFehler : public Speicher, public ::testing::WithParamInterface<FehlerZeile> {};

TEST_P(SpeicherLadeFehler, StopsAtTheValueWithItsMessage)
{
    schreibeDatei(std::string("\"FontName\"=\"Liberation Mono\"\r\n") + GetParam().werte + "\"HintColor\"=dword:00000003\r\n");
    form.setHintergrundNr(1);
    schrift.setSize(30);
    EXPECT_EQ(ladeFehler(), GetParam().meldung);
    EXPECT_EQ(schrift.Name, QStringLiteral("Liberation Mono")) << "what was set before the error stays";
    if (std::string(GetParam().werte).starts_with("\"FontSize\"")) {
        EXPECT_EQ(schrift.Size(), 30) << "the faulty value changes nothing";
    }
    EXPECT_TRUE(geschriebeneNr.empty()) << "HintergrundNr is not written, nothing is applied";
    EXPECT_EQ(form.HintergrundNr(), 1);
    EXPECT_EQ(pausen, std::vector<int>{10}) << "the pause comes also after an error";
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SpeicherLadeFehler,
    ::testing::Values(
        FehlerZeile{"\"FontSize\"=\"14\"\r\n", "Fehler beim Holen der Daten für 'FontSize'"},
        FehlerZeile{"\"FontSize\"=\"1\"\r\n", "Ungültiger Datentyp für 'FontSize'"},
        FehlerZeile{"\"FontColor\"=hex(b):08,00,00,ff,00,00,00,00\r\n", "Fehler beim Holen der Daten für 'FontColor'"},
        FehlerZeile{"\"FontStyle\"=hex(5):00,00,00,01\r\n", "Ungültiger Datentyp für 'FontStyle'"}));

TEST_F(Speicher, FontNameOfWrongTypeIsRefused)
{
    schreibeDatei("\"FontName\"=dword:00000001\r\n");
    EXPECT_EQ(ladeFehler(), "Ungültiger Datentyp für 'FontName'");
}

TEST_F(Speicher, DamagedFileIsSetAsideAndTheDefaultsLoad)
{
    fs::create_directories(datei().parent_path());
    const std::string muell = "Windows Registry Editor Version 5.00\r\n[HKEY_CURRENT_USER\\Software\\Zarnolith]\r\n\"FontName\"=\"Verd";
    std::ofstream(datei(), std::ios::binary) << muell;
    speicher.RegistryLadenSpeichern(true);
    EXPECT_EQ(schrift.Name, QStringLiteral("Arial"));

    std::vector<fs::path> beiseite;
    for (const fs::directory_entry& e : fs::directory_iterator(datei().parent_path()))
        if (e.path().filename().string().starts_with("Zarnolith.reg.beschaedigt-"))
            beiseite.push_back(e.path());
    ASSERT_EQ(beiseite.size(), 1u);
    const std::vector<std::uint8_t> alt = dateiInhalt(beiseite[0]);
    EXPECT_EQ(std::string(alt.begin(), alt.end()), muell) << "the damaged file is kept as it was";
    EXPECT_TRUE(RegDocument::parse(dateiInhalt(datei()))) << "and a fresh, readable file takes its place";

    // A second damaged file does not replace the first one set aside.
    std::ofstream(datei(), std::ios::binary) << "garbage";
    speicher.RegistryLadenSpeichern(true);
    int anzahl = 0;
    for (const fs::directory_entry& e : fs::directory_iterator(datei().parent_path()))
        anzahl += e.path().filename().string().starts_with("Zarnolith.reg.beschaedigt-");
    EXPECT_EQ(anzahl, 2);
}

TEST_F(Speicher, FailedWriteLeavesTheOldFileWhole)
{
    speicher.RegistryLadenSpeichern(false);
    const std::vector<std::uint8_t> vorher = dateiInhalt(datei());

    // A name longer than the file may grow: the write fails part-way, as on a full disk.
    schrift.Name = QString(4000, QLatin1Char('x'));
    rlimit alt{};
    getrlimit(RLIMIT_FSIZE, &alt);
    auto* alterHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit klein = alt;
    klein.rlim_cur = static_cast<rlim_t>(vorher.size() + 100);
    setrlimit(RLIMIT_FSIZE, &klein);
    std::string meldung;
    try {
        speicher.RegistryLadenSpeichern(false);
    } catch (const platform::ERegistryException& e) {
        meldung = e.what();
    }
    setrlimit(RLIMIT_FSIZE, &alt);
    std::signal(SIGXFSZ, alterHandler);

    EXPECT_EQ(meldung, "Fehler beim Setzen der Daten für 'FontName'");
    EXPECT_EQ(dateiInhalt(datei()), vorher);
    for (const fs::directory_entry& e : fs::directory_iterator(datei().parent_path()))
        EXPECT_FALSE((e.path().filename().string().find(".tmp-") != std::string::npos)) << "no temporary file is left behind";
}

TEST_F(Speicher, KeyThatCannotBeCreatedLoadsNothingAndSavesNothing)
{
    // Where the store's directory should be there is a file: nothing can be created, not even by root.
    std::ofstream(datei().parent_path()) << "kein Verzeichnis";
    schrift.Name = QStringLiteral("Courier New");
    speicher.RegistryLadenSpeichern(true);
    EXPECT_EQ(schrift.Name, QStringLiteral("Courier New")) << "nothing is read";
    EXPECT_TRUE(geschriebeneNr.empty()) << "HintergrundNr is not written";
    EXPECT_NO_THROW(speicher.RegistryLadenSpeichern(false)) << "and a save reports nothing";
    EXPECT_EQ(pausen, (std::vector<int>{10, 10}));
}

// Records every call into the store, and answers reads from a map.
class AufzeichnendeRegistry : public platform::IRegistry {
public:
    AufzeichnendeRegistry(std::vector<std::string>& log, bool oeffnet) : m_log(log), m_oeffnet(oeffnet) {}
    ~AufzeichnendeRegistry() override { m_log.push_back("freigeben"); }
    bool OpenKey(std::u16string_view path, bool canCreate) override
    {
        m_log.push_back("OpenKey " + utf8(path) + (canCreate ? " +create" : ""));
        return m_oeffnet;
    }
    void CloseKey() override { m_log.push_back("CloseKey"); }
    std::optional<platform::RegValueInfo> QueryValueInfo(std::u16string_view name) override
    {
        m_log.push_back("Info " + utf8(name));
        return std::nullopt;
    }
    std::optional<platform::RegValueData> QueryValue(std::u16string_view name, std::uint32_t) override
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
    static std::string utf8(std::u16string_view s) { return QString::fromStdU16String(std::u16string(s)).toStdString(); }
    std::vector<std::string>& m_log;
    bool m_oeffnet;
};

TEST(SpeicherReihenfolge, SaveWritesAllSixValuesHintColorFirstThenPausesAndReleases)
{
    TFont schrift;
    schrift.Name = QStringLiteral("Arial");
    std::vector<std::string> log;
    EinstellungsSpeicher speicher(schrift, [] { return 4; }, [](int) {});
    speicher.setRegistryFabrik([&] { return std::make_unique<AufzeichnendeRegistry>(log, true); });
    speicher.setPause([&](int ms) { log.push_back("Pause " + std::to_string(ms)); });
    speicher.RegistryLadenSpeichern(false);
    EXPECT_THAT(log, ::testing::ElementsAre("OpenKey \\Software\\Zarnolith +create", "Setzen HintColor 4 4",
                                            "Setzen FontName 1 12", "Setzen FontSize 4 4", "Setzen FontColor 4 4",
                                            "Setzen FontCharSet 4 4", "Setzen FontStyle 4 4", "CloseKey", "Pause 10",
                                            "freigeben"));
}

} // namespace
