#pragma once
// The settings store where there is no Windows registry: one file per user,
// $XDG_CONFIG_HOME/Zarnolith/Zarnolith.reg (~/.config when the variable is
// unset), in the registry editor's export format so it can be carried to and
// from Windows. The values written while a key is open reach the file
// together when the key is closed: a save interrupted by a crash leaves the
// old file, never a mixture of old and new values. Each write is flushed to
// a staged file at once, so a full disk still shows at the value it hits.
// A file that cannot be read as a whole is set aside, never overwritten.
#include "platform/IRegistry.h"
#include "platform/RegDocument.h"

#include <filesystem>

namespace platform {

class FileRegistry : public IRegistry {
public:
    explicit FileRegistry(std::filesystem::path file = DefaultFile());
    ~FileRegistry() override;

    static std::filesystem::path DefaultFile();

    bool OpenKey(std::u16string_view path, bool canCreate) override;
    void CloseKey() override;
    std::optional<RegValueInfo> QueryValueInfo(std::u16string_view name) override;
    std::optional<RegValueData> QueryValue(std::u16string_view name, std::uint32_t maxBytes) override;
    bool SetValue(std::u16string_view name, std::uint32_t type, std::span<const std::uint8_t> data) override;

    const std::filesystem::path& File() const { return m_file; }
    // Where the last OpenKey put a damaged file (empty when it found none).
    const std::filesystem::path& SetAsidePath() const { return m_setAside; }

private:
    bool loadDocument();
    bool setAside();
    bool save();
    RegDocument::Key* openKey();

    std::filesystem::path m_file;
    std::filesystem::path m_setAside;
    RegDocument m_doc;
    std::u16string m_keyPath; // full path of the open key; empty while none is open
    std::filesystem::path m_staged; // written but not yet committed contents; empty when none
};

} // namespace platform
