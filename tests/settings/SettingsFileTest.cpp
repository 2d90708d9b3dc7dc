// The settings file as the store's back end, through the typed registry the
// store uses: what it does with a damaged, oversized, foreign or unreadable
// file, with links, modes and leftovers, and when a save meets a full disk, a
// failed commit or an editor saving the same file.
#include "support/ForwardingRegistry.h"
#include "settings/ERegistryException.h"
#include "settings/FileRegistry.h"
#include "settings/RegDocument.h"
#include "settings/TRegistry.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using settings::FileRegistry;
using settings::RegDocument;
using settings::TRegistry;

namespace {

constexpr std::u16string_view kKey = u"\\Software\\Zarnolith";
const std::string kHeader = "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Zarnolith]\r\n";

class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    fs::path file() const { return fs::path(dir.path().toStdString()) / "Zarnolith" / "Zarnolith.reg"; }

    void writeFile(const std::string& bytes) const
    {
        fs::create_directories(file().parent_path());
        std::ofstream(file(), std::ios::binary) << bytes;
    }
    // The key with these values, in the export format, as a user or Windows would write it.
    void writeKey(const std::string& valueList) const { writeFile(kHeader + valueList); }

    static std::vector<std::uint8_t> fileContent(const fs::path& p)
    {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static std::string textOf(const std::vector<std::uint8_t>& bytes) { return {bytes.begin(), bytes.end()}; }

    // The store's typed registry over the file, its key open.
    std::unique_ptr<TRegistry> opened(const fs::path& path) const
    {
        auto reg = std::make_unique<TRegistry>(std::make_unique<FileRegistry>(path));
        EXPECT_TRUE(reg->OpenKey(kKey, true));
        return reg;
    }
    std::unique_ptr<TRegistry> opened() const { return opened(file()); }

    // Where damaged files of that name were set aside, beside it.
    static std::vector<fs::path> setAsideFiles(const fs::path& of)
    {
        std::vector<fs::path> found;
        for (const fs::directory_entry& e : fs::directory_iterator(of.parent_path()))
            if (e.path().filename().string().starts_with(of.filename().string() + ".beschaedigt-"))
                found.push_back(e.path());
        return found;
    }
    std::vector<fs::path> setAsideFiles() const { return setAsideFiles(file()); }

    static RegDocument::Value* valueIn(RegDocument& doc, std::u16string_view name)
    {
        RegDocument::Key* key = doc.findKey(u"HKEY_CURRENT_USER\\Software\\Zarnolith");
        return key ? RegDocument::findValue(*key, name) : nullptr;
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

    QTemporaryDir dir;
};

TEST_F(SettingsFile, DamagedFileIsSetAsideAndAFreshFileTakesItsPlace)
{
    const std::string garbage
        = "Windows Registry Editor Version 5.00\r\n[HKEY_CURRENT_USER\\Software\\Zarnolith]\r\n\"FontName\"=\"Verd";
    writeFile(garbage);
    std::unique_ptr<TRegistry> reg = opened();
    EXPECT_FALSE(reg->ValueExists(u"FontName")) << "the cut-off value is not taken";
    reg->CloseKey();
    ASSERT_EQ(setAsideFiles().size(), 1u);
    EXPECT_EQ(textOf(fileContent(setAsideFiles()[0])), garbage) << "the damaged file is kept as it was";
    EXPECT_TRUE(RegDocument::parse(fileContent(file()))) << "and a fresh, readable file takes its place";

    // A second damaged file does not replace the first one set aside.
    writeFile("garbage");
    opened()->CloseKey();
    EXPECT_EQ(setAsideFiles().size(), 2u);
}

TEST_F(SettingsFile, DamagedFileKeepsEveryReadableValueAndSaysWhatWasLost)
{
    const std::string valueList = "\"FontName\"=\"Verdana\"\r\n"
                                  "\"FontSize\"=dword:000000012\r\n" // line 5: nine digits
                                  "; Notiz\r\n"
                                  "\"FontStyle\"=14\r\n" // line 7
                                  "\"HintColor\"=dword:00000003\r\n";
    writeKey(valueList);
    std::unique_ptr<TRegistry> reg = opened();
    EXPECT_EQ(reg->ReadString(u"FontName"), u"Verdana");
    EXPECT_EQ(reg->ReadInteger(u"HintColor"), 3);
    EXPECT_FALSE(reg->ValueExists(u"FontSize")) << "the unreadable size is missing";
    EXPECT_FALSE(reg->ValueExists(u"FontStyle"));
    const std::optional<settings::RegRepair> repair = reg->Repair();
    reg->CloseKey();

    ASSERT_EQ(setAsideFiles().size(), 1u);
    EXPECT_NE(textOf(fileContent(setAsideFiles()[0])).find(valueList), std::string::npos)
        << "the original is kept as it was";
    ASSERT_TRUE(repair);
    EXPECT_EQ(repair->keptCopy, setAsideFiles()[0].string());
    ASSERT_EQ(repair->unread.size(), 2u);
    EXPECT_EQ(repair->unread[0].line, 5u);
    EXPECT_EQ(repair->unread[0].valueName, u"FontSize");
    EXPECT_EQ(repair->unread[1].line, 7u);
    EXPECT_EQ(repair->unread[1].valueName, u"FontStyle");

    // What could be read is on disk again at once, comment included.
    std::optional<RegDocument> doc = RegDocument::parse(fileContent(file()));
    ASSERT_TRUE(doc);
    ASSERT_NE(valueIn(*doc, u"FontName"), nullptr);
    ASSERT_NE(valueIn(*doc, u"HintColor"), nullptr);
    EXPECT_EQ(valueIn(*doc, u"FontSize"), nullptr);
    EXPECT_NE(doc->toUtf8Text().find("; Notiz\r\n"), std::string::npos);

    // Told once: the next opening finds a sound file.
    EXPECT_FALSE(opened()->Repair());
}

TEST_F(SettingsFile, FileLargerThanAnySettingsFileIsSetAsideUnread)
{
    // Padded with a comment line to an exact size: the limit itself still reads.
    const auto fileWithSize = [&](std::size_t size) {
        const std::string head = kHeader + "\"FontName\"=\"Verdana\"\r\n;";
        writeFile(head + std::string(size - head.size() - 2, 'x') + "\r\n");
        ASSERT_EQ(fs::file_size(file()), size);
    };
    fileWithSize(FileRegistry::MaxFileBytes);
    std::unique_ptr<TRegistry> reg = opened();
    EXPECT_EQ(reg->ReadString(u"FontName"), u"Verdana");
    EXPECT_FALSE(reg->Repair());
    reg->CloseKey();
    EXPECT_TRUE(setAsideFiles().empty());

    fileWithSize(FileRegistry::MaxFileBytes + 1);
    reg = opened();
    EXPECT_FALSE(reg->ValueExists(u"FontName"));
    const std::optional<settings::RegRepair> repair = reg->Repair();
    reg->CloseKey();
    ASSERT_EQ(setAsideFiles().size(), 1u);
    EXPECT_EQ(fs::file_size(setAsideFiles()[0]), FileRegistry::MaxFileBytes + 1);
    ASSERT_TRUE(repair);
    EXPECT_EQ(repair->keptCopy, setAsideFiles()[0].string());
    ASSERT_EQ(repair->unread.size(), 1u);
    EXPECT_EQ(repair->unread[0].line, 0u) << "the whole file is unread";
}

struct ForeignThing {
    const char* what;
    std::function<void(const fs::path&)> create;
    std::function<bool(const fs::path&)> untouched;
};

class SettingsFileForeignThing : public SettingsFile, public ::testing::WithParamInterface<ForeignThing> {};

// Something other than a settings file at the path: the key cannot be opened,
// so nothing is read, written or reported, and the thing stays as it was.
// A child process keeps an opening that hangs or eats memory from taking the suite along.
TEST_P(SettingsFileForeignThing, KeyIsNotOpenedAndTheThingStaysUntouched)
{
    fs::create_directories(file().parent_path());
    GetParam().create(file());
    const int childEnd = inChildProcess([&] {
        rlimit limit{512u << 20, 512u << 20};
        setrlimit(RLIMIT_AS, &limit);
        for (int attempt = 0; attempt < 2; ++attempt) { // a load, then a save
            FileRegistry reg(file());
            if (reg.OpenKey(kKey, true))
                return 1;
            if (reg.Repair())
                return 3;
        }
        return 0;
    });
    EXPECT_EQ(childEnd, 0) << "1: the key opened; 3: a repair reported; -1: hung; 128+n: signal n";
    EXPECT_TRUE(GetParam().untouched(file()));
    EXPECT_TRUE(setAsideFiles().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SettingsFileForeignThing,
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

TEST_F(SettingsFile, UnreadableFileIsNeverOverwritten)
{
    writeKey("\"FontName\"=\"Verdana\"\r\n");
    const std::vector<std::uint8_t> before = fileContent(file());
    ASSERT_EQ(chmod(file().c_str(), 0), 0);
    // Root reads every file: the check runs as an ordinary user who may write the directory.
    if (geteuid() == 0) {
        for (const fs::path& p : {fs::path(dir.path().toStdString()), file().parent_path()})
            ASSERT_EQ(chown(p.c_str(), 65534, 65534), 0);
    }
    const int childEnd = inChildProcess([&] {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            return 9;
        for (int attempt = 0; attempt < 2; ++attempt) { // a load, then a save
            FileRegistry reg(file());
            if (reg.OpenKey(kKey, true))
                return 1;
        }
        return 0;
    });
    EXPECT_EQ(childEnd, 0) << "1: the key opened; 9: no ordinary user";
    ASSERT_EQ(chmod(file().c_str(), 0600), 0);
    EXPECT_EQ(fileContent(file()), before);
    EXPECT_TRUE(setAsideFiles().empty());
}

TEST_F(SettingsFile, FileModeIsKeptAndANewFileIsPrivate)
{
    const auto save = [&] {
        std::unique_ptr<TRegistry> reg = opened();
        reg->WriteInteger(u"FontSize", 14);
        reg->CloseKey();
    };
    const mode_t oldMask = umask(0);
    save();
    umask(oldMask);
    struct stat st {};
    ASSERT_EQ(stat(file().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);

    ASSERT_EQ(chmod(file().c_str(), 0640), 0);
    save();
    ASSERT_EQ(stat(file().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST_F(SettingsFile, SymbolicLinkAsTheFileIsFollowed)
{
    // Settings kept elsewhere (a dotfiles repository) and linked into place.
    const fs::path realPath = fs::path(dir.path().toStdString()) / "dotfiles" / "zarnolith.reg";
    fs::create_directories(realPath.parent_path());
    fs::create_directories(file().parent_path());
    fs::create_symlink(realPath, file());
    std::ofstream(realPath, std::ios::binary) << "kaputt";

    opened()->CloseKey(); // damaged: the file itself is set aside, the link stays
    std::unique_ptr<TRegistry> reg = opened();
    reg->WriteString(u"FontName", u"Liberation Serif");
    reg->CloseKey();

    EXPECT_TRUE(fs::is_symlink(file()));
    std::optional<RegDocument> doc = RegDocument::parse(fileContent(realPath));
    ASSERT_TRUE(doc);
    EXPECT_NE(valueIn(*doc, u"FontName"), nullptr);
    EXPECT_EQ(setAsideFiles(realPath).size(), 1u);
}

TEST_F(SettingsFile, WriteBeyondTheFileSizeLimitFailsAtThatValueAndLeavesTheOldFileWhole)
{
    // The file as a save without a limit writes it.
    std::unique_ptr<TRegistry> first = opened();
    first->WriteInteger(u"HintColor", 1);
    first->WriteString(u"FontName", u"Arial");
    first->CloseKey();
    const std::vector<std::uint8_t> before = fileContent(file());

    // A real file-size limit (ulimit -f) in a child process whose signals are
    // as a shell leaves them: the write must fail, not end the process.
    const int childEnd = inChildProcess([&] {
        std::signal(SIGXFSZ, SIG_DFL);
        rlimit small{};
        getrlimit(RLIMIT_FSIZE, &small);
        small.rlim_cur = static_cast<rlim_t>(before.size() + 100);
        setrlimit(RLIMIT_FSIZE, &small);
        TRegistry reg(std::make_unique<FileRegistry>(file()));
        if (!reg.OpenKey(kKey, true))
            return 3;
        try {
            // The store's order, the settings unchanged but for a name longer than the file may
            // grow: its write fails part-way, as on a full disk.
            reg.WriteInteger(u"HintColor", 1);
            reg.WriteString(u"FontName", std::u16string(4000, u'x'));
            reg.CloseKey();
        } catch (const settings::ERegistryException& e) {
            return std::string(e.what()) == "Fehler beim Setzen der Daten für 'FontName'" ? 0 : 1;
        }
        return 2;
    });
    EXPECT_EQ(childEnd, 0) << "0: the write error; 1: another message; 2: no error; 3: not opened; 128+n: signal n";
    EXPECT_EQ(fileContent(file()), before);
    for (const fs::directory_entry& e : fs::directory_iterator(file().parent_path()))
        EXPECT_EQ(e.path().filename().string().find(".tmp-"), std::string::npos) << "no temporary file is left behind";
}

// The store's typed registry over the file, with a step run just before the key is closed.
std::unique_ptr<TRegistry> openedWithStepBeforeClosing(const fs::path& file, std::function<void()> step)
{
    auto forwarding = std::make_unique<ForwardingRegistry>(std::make_unique<FileRegistry>(file));
    forwarding->beforeClosing = std::move(step);
    auto reg = std::make_unique<TRegistry>(std::move(forwarding));
    EXPECT_TRUE(reg->OpenKey(kKey, true));
    return reg;
}

TEST_F(SettingsFile, CommitThatFailsAtClosingIsTheWriteErrorOfTheFirstValue)
{
    struct Case {
        const char* description;
        std::function<void()> disturb;
    };
    const Case cases[] = {
        {"staged file gone",
         [&] {
             for (const fs::directory_entry& e : fs::directory_iterator(file().parent_path()))
                 if (e.path().filename().string().find(".tmp-") != std::string::npos)
                     fs::remove(e.path());
         }},
        {"file replaced by a directory",
         [&] {
             fs::remove(file());
             fs::create_directory(file());
         }},
    };
    for (const Case& testCase : cases) {
        SCOPED_TRACE(testCase.description);
        fs::remove_all(file());
        writeKey("\"FontName\"=\"Verdana\"\r\n");
        const std::vector<std::uint8_t> before = fileContent(file());
        std::unique_ptr<TRegistry> reg = openedWithStepBeforeClosing(file(), testCase.disturb);
        reg->WriteInteger(u"HintColor", 4);
        reg->WriteString(u"FontName", u"Liberation Mono");
        std::string error;
        try {
            reg->CloseKey();
        } catch (const settings::ERegistryException& e) {
            error = e.what();
        }
        EXPECT_EQ(error, "Fehler beim Setzen der Daten für 'HintColor'");
        if (fs::is_regular_file(file()))
            EXPECT_EQ(fileContent(file()), before);
        else
            EXPECT_TRUE(fs::is_directory(file())) << "what took the file's place is not overwritten";
    }
}

TEST_F(SettingsFile, SaveRacingAnEditorKeepsTheEditorsChangesAndTheComments)
{
    struct Case {
        const char* description;
        bool inPlace; // the editor writes into the file itself rather than replacing it
    };
    for (const Case testCase : {Case{"atomic save", false}, Case{"in place", true}}) {
        SCOPED_TRACE(testCase.description);
        writeKey("; Handnotiz\r\n\"FontSize\"=dword:0000000e\r\n");
        const std::string editor
            = "Windows Registry Editor Version 5.00\r\n\r\n; Handnotiz\r\n"
              "[HKEY_CURRENT_USER\\Software\\Zarnolith]\r\n\"FontSize\"=dword:00000030\r\n"
              "; vom Editor\r\n\"Notiz\"=\"vom Editor\"\r\n\r\n[HKEY_CURRENT_USER\\Software\\Andere]\r\n";
        auto editorSaves = [&] {
            if (testCase.inPlace) {
                std::ofstream(file(), std::ios::binary | std::ios::trunc) << editor;
            } else {
                std::ofstream(file().string() + ".editor", std::ios::binary) << editor;
                fs::rename(file().string() + ".editor", file());
            }
        };
        std::unique_ptr<TRegistry> reg = openedWithStepBeforeClosing(file(), editorSaves);
        reg->WriteInteger(u"FontSize", 20);
        reg->WriteInteger(u"FontStyle", 0);
        reg->CloseKey();

        std::optional<RegDocument> doc = RegDocument::parse(fileContent(file()));
        ASSERT_TRUE(doc);
        const std::string text = doc->toUtf8Text();
        ASSERT_NE(valueIn(*doc, u"Notiz"), nullptr) << text;
        EXPECT_NE(doc->findKey(u"HKEY_CURRENT_USER\\Software\\Andere"), nullptr) << text;
        EXPECT_NE(text.find("; Handnotiz\r\n[HKEY_CURRENT_USER\\Software\\Zarnolith]"), std::string::npos) << text;
        EXPECT_NE(text.find("; vom Editor\r\n\"Notiz\""), std::string::npos) << text;
        EXPECT_EQ(valueIn(*doc, u"FontSize")->data, (std::vector<std::uint8_t>{20, 0, 0, 0})) << "the later save wins";
        EXPECT_NE(valueIn(*doc, u"FontStyle"), nullptr);
    }
}

TEST_F(SettingsFile, StagedFilesLeftByAnEarlierRunGoAtTheNextSave)
{
    const auto save = [&] {
        std::unique_ptr<TRegistry> reg = opened();
        reg->WriteInteger(u"FontSize", 14);
        reg->CloseKey();
    };
    save();
    const fs::path folder = file().parent_path();
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
    save();
    EXPECT_FALSE(fs::exists(folder / "Zarnolith.reg.tmp-AbC123"));
    EXPECT_TRUE(fs::exists(folder / "Zarnolith.reg.tmp-XyZ789"));
    EXPECT_TRUE(fs::exists(folder / "Zarnolith.reg.tmp-alt"));
    EXPECT_TRUE(fs::exists(folder / "Fremd.reg.tmp-AbC123"));
}

} // namespace
