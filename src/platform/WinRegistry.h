#pragma once
// The settings store on Windows: the current user's branch of the registry.
// HKCU\Software is shared by 32- and 64-bit programs, so the settings a
// 32-bit build stored under Software\Zarnolith are the ones read here.
#include "platform/IRegistry.h"

namespace platform {

class WinRegistry : public IRegistry {
public:
    // Key paths are taken below HKEY_CURRENT_USER, or below its sub-key base
    // when one is given (tests keep their keys apart that way).
    explicit WinRegistry(std::u16string base = {});
    ~WinRegistry() override;
    WinRegistry(const WinRegistry&) = delete;
    WinRegistry& operator=(const WinRegistry&) = delete;

    // A leading backslash makes no difference: "\Software\Zarnolith" and
    // "Software\Zarnolith" name the same key.
    bool OpenKey(std::u16string_view path, bool canCreate) override;
    bool CloseKey() override;
    std::optional<RegValueInfo> QueryValueInfo(std::u16string_view name) override;
    std::optional<RegValueData> QueryValue(std::u16string_view name, std::uint32_t maxBytes) override;
    bool SetValue(std::u16string_view name, std::uint32_t type, std::span<const std::uint8_t> data) override;

private:
    std::u16string m_base;
    void* m_key = nullptr; // HKEY
};

} // namespace platform
