#include "settings/IRegistry.h"

#ifdef _WIN32
#include <windows.h>

#include <utility>

namespace settings {

namespace {
// wchar_t is UTF-16 on Windows: names and paths pass through unchanged.
std::wstring wide(std::u16string_view s) { return std::wstring(s.begin(), s.end()); }
} // namespace

WinRegistry::WinRegistry(std::u16string base) : m_base(std::move(base)) {}

WinRegistry::~WinRegistry() { CloseKey(); }

bool WinRegistry::OpenKey(std::u16string_view path, bool canCreate)
{
    CloseKey();
    while (!path.empty() && path.front() == u'\\')
        path.remove_prefix(1);
    std::u16string full = m_base;
    if (!full.empty() && !path.empty())
        full += u'\\';
    full += path;
    HKEY key = nullptr;
    LONG rc;
    if (canCreate)
        rc = ::RegCreateKeyExW(HKEY_CURRENT_USER, wide(full).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                               KEY_ALL_ACCESS, nullptr, &key, nullptr);
    else
        rc = ::RegOpenKeyExW(HKEY_CURRENT_USER, wide(full).c_str(), 0, KEY_ALL_ACCESS, &key);
    if (rc != ERROR_SUCCESS)
        return false;
    m_key = key;
    return true;
}

bool WinRegistry::CloseKey()
{
    if (m_key)
        ::RegCloseKey(static_cast<HKEY>(std::exchange(m_key, nullptr)));
    return true; // the registry stores each value as it is set
}

std::optional<RegValueInfo> WinRegistry::QueryValueInfo(std::u16string_view name)
{
    DWORD type = 0, size = 0;
    if (!m_key
        || ::RegQueryValueExW(static_cast<HKEY>(m_key), wide(name).c_str(), nullptr, &type, nullptr, &size)
            != ERROR_SUCCESS)
        return std::nullopt;
    return RegValueInfo{type, size};
}

std::optional<RegValueData> WinRegistry::QueryValue(std::u16string_view name, std::uint32_t maxBytes)
{
    // Never a null buffer: the call would then report success with the size
    // alone, even for data that does not fit.
    RegValueData out;
    out.bytes.resize(maxBytes > 0 ? maxBytes : 1);
    DWORD type = 0, size = maxBytes;
    if (!m_key
        || ::RegQueryValueExW(static_cast<HKEY>(m_key), wide(name).c_str(), nullptr, &type, out.bytes.data(), &size)
            != ERROR_SUCCESS)
        return std::nullopt;
    out.type = type;
    out.bytes.resize(size);
    return out;
}

bool WinRegistry::SetValue(std::u16string_view name, std::uint32_t type, std::span<const std::uint8_t> data)
{
    return m_key
        && ::RegSetValueExW(static_cast<HKEY>(m_key), wide(name).c_str(), 0, type, data.data(),
                            static_cast<DWORD>(data.size()))
        == ERROR_SUCCESS;
}

std::unique_ptr<IRegistry> CreateUserRegistry() { return std::make_unique<WinRegistry>(); }

} // namespace settings
#endif
