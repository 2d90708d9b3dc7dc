#pragma once
// The settings store where there is no Windows registry: one file per user,
// $XDG_CONFIG_HOME/Zarnolith/Zarnolith.reg (~/.config when the variable is
// unset), in the registry editor's export format so it can be carried to and
// from Windows. The values written while a key is open reach the file
// together when the key is closed: a save interrupted by a crash leaves the
// old file, never a mixture of old and new values. Each write is flushed to
// a staged file at once, so a full disk still shows at the value it hits.
//
// Only a regular file of at most MaxFileBytes is read; anything else at the
// path (a directory, a pipe, a device) means the key cannot be opened, and
// nothing there is touched. A file that cannot be read as a whole is set
// aside, never overwritten; what could be read from it is kept, and Repair()
// tells what was lost. When the file changed on disk while the key was open
// (another program saved it), the values written go into that newer file.
// Comment lines and everything else the program does not write stay.
#include "settings/IRegistry.h"
#include "settings/RegDocument.h"

#include <ctime>
#include <filesystem>

namespace settings {

class FileRegistry : public IRegistry {
public:
    // Larger than any settings file: a bigger one is damaged, not read.
    static constexpr std::size_t MaxFileBytes = 1024 * 1024;

    explicit FileRegistry(std::filesystem::path file = DefaultFile());
    ~FileRegistry() override;

    static std::filesystem::path DefaultFile();

    bool OpenKey(std::u16string_view path, bool canCreate) override;
    bool CloseKey() override;
    std::optional<RegRepair> Repair() const override { return m_repair; }
    std::optional<RegValueInfo> QueryValueInfo(std::u16string_view name) override;
    std::optional<RegValueData> QueryValue(std::u16string_view name, std::uint32_t maxBytes) override;
    bool SetValue(std::u16string_view name, std::uint32_t type, std::span<const std::uint8_t> data) override;

    const std::filesystem::path& File() const { return m_file; }
    // Where the last OpenKey put a damaged file (empty when it found none).
    const std::filesystem::path& SetAsidePath() const { return m_setAside; }

    // The file as one read found it: its identity, time and contents.
    struct FileState {
        enum Kind { Missing, Read, TooLarge, Unusable } kind = Missing;
        dev_t device = 0;
        ino_t inode = 0;
        struct timespec modified {};
        std::vector<std::uint8_t> bytes;
        bool sameAs(const FileState& other) const;
    };
    // Reads without blocking: a pipe or device at the path is Unusable, not read.
    static FileState ReadFile(const std::filesystem::path& file);

private:
    bool loadDocument();
    void wholeDocument();
    bool keyExists();
    std::optional<RegDocument::Value> findValue(std::u16string_view name);
    bool setAside();
    bool save();
    bool commit();
    RegDocument::Key* openKey();

    struct Written {
        std::u16string name;
        std::uint32_t type;
        std::vector<std::uint8_t> data;
    };

    std::filesystem::path m_file;
    std::filesystem::path m_setAside;
    std::optional<RegRepair> m_repair;
    // While the key is only read, the index of its lines; the whole document once something is written.
    std::optional<RegKeyIndex> m_index;
    RegDocument m_doc;
    FileState m_opened;             // the file as the key was opened (or as we last wrote it)
    std::vector<Written> m_written; // since opening, in order
    std::u16string m_keyPath;       // full path of the open key; empty while none is open
    std::filesystem::path m_staged; // written but not yet committed contents; empty when none
};

} // namespace settings
