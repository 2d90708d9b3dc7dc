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
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
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

    std::string speicherFehler()
    {
        try {
            speicher.RegistryLadenSpeichern(false);
        } catch (const platform::ERegistryException& e) {
            return e.what();
        }
        return {};
    }

    std::vector<fs::path> beiseiteGelegt() const
    {
        std::vector<fs::path> gefunden;
        for (const fs::directory_entry& e : fs::directory_iterator(datei().parent_path()))
            if (e.path().filename().string().find(".beschaedigt-") != std::string::npos)
                gefunden.push_back(e.path());
        return gefunden;
    }

    // Runs body in a child process: its exit code, 128 + the signal that
    // ended it, or -1 when it had not ended after the time limit (then killed).
    static int imKindprozess(const std::function<int()>& body, int sekunden = 20)
    {
        const pid_t kind = fork();
        if (kind == 0)
            _exit(body());
        int status = 0;
        for (int i = 0; i < sekunden * 100; ++i) {
            if (waitpid(kind, &status, WNOHANG) == kind)
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            usleep(10'000);
        }
        kill(kind, SIGKILL);
        waitpid(kind, &status, 0);
        return -1;
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
    EXPECT_TRUE(speicher.Hinweis().isEmpty()) << "nothing to tell about a sound store";

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

TEST_F(Speicher, WriteBeyondTheFileSizeLimitFailsWithTheWriteErrorAndLeavesTheOldFileWhole)
{
    speicher.RegistryLadenSpeichern(false);
    const std::vector<std::uint8_t> vorher = dateiInhalt(datei());

    // A real file-size limit (ulimit -f) in a child process whose signals are
    // as a shell leaves them: the write must fail, not end the process.
    const int ende = imKindprozess([&] {
        std::signal(SIGXFSZ, SIG_DFL);
        rlimit klein{};
        getrlimit(RLIMIT_FSIZE, &klein);
        klein.rlim_cur = static_cast<rlim_t>(vorher.size() + 100);
        setrlimit(RLIMIT_FSIZE, &klein);
        // A name longer than the file may grow: the write fails part-way, as on a full disk.
        schrift.Name = QString(4000, QLatin1Char('x'));
        try {
            speicher.RegistryLadenSpeichern(false);
        } catch (const platform::ERegistryException& e) {
            return std::string(e.what()) == "Fehler beim Setzen der Daten für 'FontName'" ? 0 : 1;
        }
        return 2;
    });
    EXPECT_EQ(ende, 0) << "0: the write error; 1: another message; 2: no error; 128+n: killed by signal n";
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

struct FremdesDing {
    const char* was;
    std::function<void(const fs::path&)> anlegen;
    std::function<bool(const fs::path&)> unberuehrt;
};

class SpeicherFremdesDing : public Speicher, public ::testing::WithParamInterface<FremdesDing> {};

// Something other than a settings file at the path: the key cannot be opened,
// so nothing is read, written or reported, and the thing stays as it was.
// A child process keeps a load that hangs or eats memory from taking the suite along.
TEST_P(SpeicherFremdesDing, KeyIsNotOpenedAndTheThingStaysUntouched)
{
    fs::create_directories(datei().parent_path());
    GetParam().anlegen(datei());
    schrift.Name = QStringLiteral("Courier New");
    const int ende = imKindprozess([&] {
        rlimit speicherGrenze{512u << 20, 512u << 20};
        setrlimit(RLIMIT_AS, &speicherGrenze);
        try {
            speicher.RegistryLadenSpeichern(true);
            if (schrift.Name != QStringLiteral("Courier New") || !geschriebeneNr.empty())
                return 1;
            speicher.RegistryLadenSpeichern(false);
        } catch (...) {
            return 2;
        }
        return speicher.Hinweis().isEmpty() ? 0 : 3;
    });
    EXPECT_EQ(ende, 0) << "1: something was read; 2: an error was raised; 3: a notice; -1: hung; 128+n: signal n";
    EXPECT_TRUE(GetParam().unberuehrt(datei()));
    EXPECT_TRUE(beiseiteGelegt().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SpeicherFremdesDing,
    ::testing::Values(
        FremdesDing{"fifo", [](const fs::path& p) { ASSERT_EQ(mkfifo(p.c_str(), 0600), 0); },
                    [](const fs::path& p) { return fs::is_fifo(fs::symlink_status(p)); }},
        FremdesDing{"link_to_dev_zero", [](const fs::path& p) { fs::create_symlink("/dev/zero", p); },
                    [](const fs::path& p) { return fs::is_symlink(p) && fs::read_symlink(p) == "/dev/zero"; }},
        FremdesDing{"directory",
                    [](const fs::path& p) {
                        fs::create_directory(p);
                        std::ofstream(p / "inhalt") << "x";
                    },
                    [](const fs::path& p) { return fs::is_directory(fs::symlink_status(p)) && fs::exists(p / "inhalt"); }}),
    [](const auto& info) { return std::string(info.param.was); });

TEST_F(Speicher, FileLargerThanAnySettingsFileIsSetAsideUnread)
{
    // Padded with a comment line to an exact size: the limit itself still reads.
    const auto dateiMitGroesse = [&](std::size_t groesse) {
        const std::string kopf = "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Zarnolith]\r\n"
                                 "\"FontName\"=\"Verdana\"\r\n;";
        fs::create_directories(datei().parent_path());
        std::ofstream(datei(), std::ios::binary) << kopf << std::string(groesse - kopf.size() - 2, 'x') << "\r\n";
        ASSERT_EQ(fs::file_size(datei()), groesse);
    };
    dateiMitGroesse(FileRegistry::MaxFileBytes);
    speicher.RegistryLadenSpeichern(true);
    EXPECT_EQ(schrift.Name, QStringLiteral("Verdana"));
    EXPECT_TRUE(beiseiteGelegt().empty());

    dateiMitGroesse(FileRegistry::MaxFileBytes + 1);
    speicher.RegistryLadenSpeichern(true);
    EXPECT_EQ(schrift.Name, QStringLiteral("Arial"));
    ASSERT_EQ(beiseiteGelegt().size(), 1u);
    EXPECT_EQ(fs::file_size(beiseiteGelegt()[0]), FileRegistry::MaxFileBytes + 1);
    EXPECT_TRUE(speicher.Hinweis().contains(QString::fromStdString(beiseiteGelegt()[0].string())));
    EXPECT_TRUE(speicher.Hinweis().contains(QStringLiteral("Keine Einstellung konnte daraus gelesen werden")));
}

TEST_F(Speicher, DamagedFileKeepsEveryReadableValueAndSaysWhatWasLost)
{
    const std::string werte = "\"FontName\"=\"Verdana\"\r\n"
                              "\"FontSize\"=dword:000000012\r\n" // line 5: nine digits
                              "; Notiz\r\n"
                              "\"FontStyle\"=14\r\n"             // line 7
                              "\"HintColor\"=dword:00000003\r\n";
    schreibeDatei(werte);
    schrift.setSize(30);
    speicher.RegistryLadenSpeichern(true);

    EXPECT_EQ(schrift.Name, QStringLiteral("Verdana"));
    EXPECT_EQ(schrift.Size(), 14) << "the unreadable size loads as missing";
    EXPECT_EQ(schrift.Style, TFontStyles{});
    EXPECT_EQ(geschriebeneNr, std::vector<int>{3});

    ASSERT_EQ(beiseiteGelegt().size(), 1u);
    const std::vector<std::uint8_t> alt = dateiInhalt(beiseiteGelegt()[0]);
    EXPECT_NE(std::string(alt.begin(), alt.end()).find(werte), std::string::npos) << "the original is kept as it was";
    const QString hinweis = speicher.Hinweis();
    EXPECT_TRUE(hinweis.contains(QString::fromStdString(beiseiteGelegt()[0].string()))) << hinweis.toStdString();
    EXPECT_TRUE(hinweis.contains(QStringLiteral("'FontSize' (Zeile 5), 'FontStyle' (Zeile 7)."))) << hinweis.toStdString();

    // What could be read is on disk again at once, comment included.
    std::optional<RegDocument> doc = RegDocument::parse(dateiInhalt(datei()));
    ASSERT_TRUE(doc);
    ASSERT_NE(gespeichert(*doc, u"FontName"), nullptr);
    ASSERT_NE(gespeichert(*doc, u"HintColor"), nullptr);
    EXPECT_EQ(gespeichert(*doc, u"FontSize"), nullptr);
    EXPECT_NE(doc->toUtf8Text().find("; Notiz\r\n"), std::string::npos);

    // Told once: the next load finds a sound file.
    EinstellungsSpeicher naechster(schrift, [] { return 1; }, [](int) {});
    naechster.setPause([](int) {});
    naechster.RegistryLadenSpeichern(true);
    EXPECT_TRUE(naechster.Hinweis().isEmpty());
}

TEST_F(Speicher, UnreadableFileIsNeverOverwritten)
{
    schreibeDatei("\"FontName\"=\"Verdana\"\r\n");
    const std::vector<std::uint8_t> vorher = dateiInhalt(datei());
    ASSERT_EQ(chmod(datei().c_str(), 0), 0);
    // Root reads every file: the check runs as an ordinary user who may write the directory.
    if (geteuid() == 0) {
        for (const fs::path& p : {fs::path(dir.path().toStdString()), datei().parent_path()})
            ASSERT_EQ(chown(p.c_str(), 65534, 65534), 0);
    }
    const int ende = imKindprozess([&] {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            return 9;
        schrift.Name = QStringLiteral("Courier New");
        try {
            speicher.RegistryLadenSpeichern(true);
            speicher.RegistryLadenSpeichern(false);
        } catch (...) {
            return 2;
        }
        return schrift.Name == QStringLiteral("Courier New") ? 0 : 1;
    });
    EXPECT_EQ(ende, 0);
    ASSERT_EQ(chmod(datei().c_str(), 0600), 0);
    EXPECT_EQ(dateiInhalt(datei()), vorher);
    EXPECT_TRUE(beiseiteGelegt().empty());
}

TEST_F(Speicher, FileModeIsKeptAndANewFileIsPrivate)
{
    const mode_t alteMaske = umask(0);
    speicher.RegistryLadenSpeichern(false);
    umask(alteMaske);
    struct stat st {};
    ASSERT_EQ(stat(datei().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);

    ASSERT_EQ(chmod(datei().c_str(), 0640), 0);
    speicher.RegistryLadenSpeichern(false);
    ASSERT_EQ(stat(datei().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST_F(Speicher, SymbolicLinkAsTheFileIsFollowed)
{
    // Settings kept elsewhere (a dotfiles repository) and linked into place.
    const fs::path echt = fs::path(dir.path().toStdString()) / "dotfiles" / "zarnolith.reg";
    fs::create_directories(echt.parent_path());
    fs::create_directories(datei().parent_path());
    fs::create_symlink(echt, datei());
    std::ofstream(echt, std::ios::binary) << "kaputt";

    speicher.RegistryLadenSpeichern(true); // damaged: the file itself is set aside, the link stays
    schrift.Name = QStringLiteral("Liberation Serif");
    speicher.RegistryLadenSpeichern(false);

    EXPECT_TRUE(fs::is_symlink(datei()));
    std::optional<RegDocument> doc = RegDocument::parse(dateiInhalt(echt));
    ASSERT_TRUE(doc);
    EXPECT_NE(gespeichert(*doc, u"FontName"), nullptr);
    int kopien = 0;
    for (const fs::directory_entry& e : fs::directory_iterator(echt.parent_path()))
        kopien += e.path().filename().string().starts_with("zarnolith.reg.beschaedigt-");
    EXPECT_EQ(kopien, 1);
}

// Runs something just before the key is closed, while the values wait to be committed.
class VorDemSchliessen : public platform::IRegistry {
public:
    VorDemSchliessen(std::function<void()> vorher) : m_vorher(std::move(vorher)) {}
    bool OpenKey(std::u16string_view path, bool canCreate) override { return m_echt.OpenKey(path, canCreate); }
    bool CloseKey() override
    {
        if (m_vorher)
            std::exchange(m_vorher, {})();
        return m_echt.CloseKey();
    }
    std::optional<platform::RegValueInfo> QueryValueInfo(std::u16string_view name) override
    {
        return m_echt.QueryValueInfo(name);
    }
    std::optional<platform::RegValueData> QueryValue(std::u16string_view name, std::uint32_t maxBytes) override
    {
        return m_echt.QueryValue(name, maxBytes);
    }
    bool SetValue(std::u16string_view name, std::uint32_t type, std::span<const std::uint8_t> data) override
    {
        return m_echt.SetValue(name, type, data);
    }

private:
    FileRegistry m_echt;
    std::function<void()> m_vorher;
};

TEST_F(Speicher, CommitThatFailsAtClosingIsTheWriteError)
{
    struct Fall {
        const char* wie;
        std::function<void()> stoeren;
    };
    const Fall faelle[] = {
        {"staged file gone", [&] {
             for (const fs::directory_entry& e : fs::directory_iterator(datei().parent_path()))
                 if (e.path().filename().string().find(".tmp-") != std::string::npos)
                     fs::remove(e.path());
         }},
        {"file replaced by a directory", [&] {
             fs::remove(datei());
             fs::create_directory(datei());
         }},
    };
    for (const Fall& fall : faelle) {
        SCOPED_TRACE(fall.wie);
        fs::remove_all(datei());
        schrift.Name = QStringLiteral("Verdana");
        speicher.RegistryLadenSpeichern(false);
        const std::vector<std::uint8_t> vorher = dateiInhalt(datei());
        schrift.Name = QStringLiteral("Liberation Mono");
        speicher.setRegistryFabrik([&] { return std::make_unique<VorDemSchliessen>(fall.stoeren); });
        EXPECT_EQ(speicherFehler(), "Fehler beim Setzen der Daten für 'HintColor'");
        speicher.setRegistryFabrik([] { return std::make_unique<FileRegistry>(); });
        if (fs::is_regular_file(datei()))
            EXPECT_EQ(dateiInhalt(datei()), vorher);
        else
            EXPECT_TRUE(fs::is_directory(datei())) << "what took the file's place is not overwritten";
    }
}

TEST_F(Speicher, SaveRacingAnEditorKeepsTheEditorsChangesAndTheComments)
{
    struct Fall {
        const char* wie;
        bool anOrt; // the editor writes into the file itself rather than replacing it
    };
    for (const Fall fall : {Fall{"atomic save", false}, Fall{"in place", true}}) {
        SCOPED_TRACE(fall.wie);
        schreibeDatei("; Handnotiz\r\n\"FontSize\"=dword:0000000e\r\n");
        const std::string editor = "Windows Registry Editor Version 5.00\r\n\r\n; Handnotiz\r\n"
                                   "[HKEY_CURRENT_USER\\Software\\Zarnolith]\r\n\"FontSize\"=dword:00000030\r\n"
                                   "; vom Editor\r\n\"Notiz\"=\"vom Editor\"\r\n\r\n[HKEY_CURRENT_USER\\Software\\Andere]\r\n";
        auto editorSpeichert = [&] {
            if (fall.anOrt) {
                std::ofstream(datei(), std::ios::binary | std::ios::trunc) << editor;
            } else {
                std::ofstream(datei().string() + ".editor", std::ios::binary) << editor;
                fs::rename(datei().string() + ".editor", datei());
            }
        };
        schrift.setSize(20);
        speicher.setRegistryFabrik([&] { return std::make_unique<VorDemSchliessen>(editorSpeichert); });
        speicher.RegistryLadenSpeichern(false);

        std::optional<RegDocument> doc = RegDocument::parse(dateiInhalt(datei()));
        ASSERT_TRUE(doc);
        const std::string text = doc->toUtf8Text();
        ASSERT_NE(gespeichert(*doc, u"Notiz"), nullptr) << text;
        EXPECT_NE(doc->findKey(u"HKEY_CURRENT_USER\\Software\\Andere"), nullptr) << text;
        EXPECT_NE(text.find("; Handnotiz\r\n[HKEY_CURRENT_USER\\Software\\Zarnolith]"), std::string::npos) << text;
        EXPECT_NE(text.find("; vom Editor\r\n\"Notiz\""), std::string::npos) << text;
        EXPECT_EQ(gespeichert(*doc, u"FontSize")->data, (std::vector<std::uint8_t>{20, 0, 0, 0})) << "the later save wins";
        EXPECT_NE(gespeichert(*doc, u"FontStyle"), nullptr);
    }
}

TEST_F(Speicher, StagedFilesLeftByAnEarlierRunGoAtTheNextSave)
{
    speicher.RegistryLadenSpeichern(false);
    const fs::path ordner = datei().parent_path();
    const auto anlegen = [&](const char* name, bool alt) {
        std::ofstream(ordner / name) << "rest";
        if (alt) {
            const timespec stunde[2] = {{time(nullptr) - 3600, 0}, {time(nullptr) - 3600, 0}};
            utimensat(AT_FDCWD, (ordner / name).c_str(), stunde, 0);
        }
    };
    anlegen("Zarnolith.reg.tmp-AbC123", true);  // an interrupted save of an earlier run
    anlegen("Zarnolith.reg.tmp-XyZ789", false); // a save in flight right now
    anlegen("Zarnolith.reg.tmp-alt", true);  // not a name we make
    anlegen("Fremd.reg.tmp-AbC123", true);
    speicher.RegistryLadenSpeichern(false);
    EXPECT_FALSE(fs::exists(ordner / "Zarnolith.reg.tmp-AbC123"));
    EXPECT_TRUE(fs::exists(ordner / "Zarnolith.reg.tmp-XyZ789"));
    EXPECT_TRUE(fs::exists(ordner / "Zarnolith.reg.tmp-alt"));
    EXPECT_TRUE(fs::exists(ordner / "Fremd.reg.tmp-AbC123"));
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
    bool CloseKey() override
    {
        m_log.push_back("CloseKey");
        return true;
    }
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
