#pragma once
// Typed reads and writes over one open key, with the runtime's errors: an
// integer whose data is longer than 4 bytes cannot be fetched, a value of
// the wrong type is refused, a failed write is reported by the value's name.
#include "settings/ERegistryException.h"
#include "settings/IRegistry.h"

#include <cstdint>
#include <memory>
#include <string>

namespace settings {

class TRegistry {
public:
    explicit TRegistry(std::unique_ptr<IRegistry> backend);
    ~TRegistry(); // closes the key if it is still open
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    bool OpenKey(std::u16string_view path, bool canCreate);
    // Raises the write error, naming the first value written since opening,
    // when what was written could not be stored at closing.
    void CloseKey();
    std::optional<RegRepair> Repair() const { return m_backend ? m_backend->Repair() : std::nullopt; }

    bool ValueExists(std::u16string_view name);
    // Text of a REG_SZ or REG_EXPAND_SZ value (taken as stored, up to its first
    // zero); an empty text when the value is missing or has no data.
    std::u16string ReadString(std::u16string_view name);
    std::int32_t ReadInteger(std::u16string_view name);
    void WriteString(std::u16string_view name, std::u16string_view text);
    void WriteInteger(std::u16string_view name, std::int32_t value);

private:
    bool closeQuietly();

    std::unique_ptr<IRegistry> m_backend;
    bool m_open = false;
    std::optional<std::u16string> m_firstWritten; // since opening
};

} // namespace settings
