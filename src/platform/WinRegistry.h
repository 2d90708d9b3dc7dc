#pragma once
// The settings store on Windows: the current user's branch of the registry.
#include "platform/IRegistry.h"

namespace platform {

class WinRegistry : public IRegistry {
public:
    WinRegistry() = default;
    ~WinRegistry() override;
    WinRegistry(const WinRegistry&) = delete;
    WinRegistry& operator=(const WinRegistry&) = delete;

    bool OpenKey(std::u16string_view path, bool canCreate) override;
    bool CloseKey() override;
    std::optional<RegValueInfo> QueryValueInfo(std::u16string_view name) override;
    std::optional<RegValueData> QueryValue(std::u16string_view name, std::uint32_t maxBytes) override;
    bool SetValue(std::u16string_view name, std::uint32_t type, std::span<const std::uint8_t> data) override;

private:
    void* m_key = nullptr; // HKEY
};

} // namespace platform
