#include "settings/TRegistry.h"

#include "platform/Utf8.h"

#include <utility>
#include <vector>

namespace settings {

namespace {

[[noreturn]] void fail(const char* format, std::u16string_view name)
{
    std::string message(format);
    message.replace(message.find("%s"), 2, platform::Utf16ToUtf8(name));
    throw ERegistryException(message);
}

constexpr const char* kGetDataFailed = "Fehler beim Holen der Daten für '%s'";
constexpr const char* kInvalidType = "Ungültiger Datentyp für '%s'";
constexpr const char* kSetDataFailed = "Fehler beim Setzen der Daten für '%s'";

} // namespace

TRegistry::TRegistry(std::unique_ptr<IRegistry> backend) : m_backend(std::move(backend)) {}

TRegistry::~TRegistry() { closeQuietly(); }

bool TRegistry::OpenKey(std::u16string_view path, bool canCreate)
{
    closeQuietly();
    m_firstWritten.reset();
    m_open = m_backend && m_backend->OpenKey(path, canCreate);
    return m_open;
}

bool TRegistry::closeQuietly()
{
    const bool stored = !m_open || m_backend->CloseKey();
    m_open = false;
    return stored;
}

void TRegistry::CloseKey()
{
    const std::optional<std::u16string> written = std::exchange(m_firstWritten, std::nullopt);
    if (!closeQuietly() && written)
        fail(kSetDataFailed, *written);
}

bool TRegistry::ValueExists(std::u16string_view name) { return m_open && m_backend->QueryValueInfo(name).has_value(); }

std::u16string TRegistry::ReadString(std::u16string_view name)
{
    const std::optional<RegValueInfo> info = m_open ? m_backend->QueryValueInfo(name) : std::nullopt;
    if (!info || info->size == 0)
        return {};
    const std::optional<RegValueData> data = m_backend->QueryValue(name, info->size);
    if (!data)
        fail(kGetDataFailed, name);
    if (data->type != regtype::Sz && data->type != regtype::ExpandSz)
        fail(kInvalidType, name);
    std::u16string text;
    for (std::size_t i = 0; i + 1 < data->bytes.size(); i += 2) {
        const char16_t c = char16_t(data->bytes[i] | (data->bytes[i + 1] << 8));
        if (c == 0)
            break;
        text.push_back(c);
    }
    return text;
}

std::int32_t TRegistry::ReadInteger(std::u16string_view name)
{
    const std::optional<RegValueData> data = m_open ? m_backend->QueryValue(name, 4) : std::nullopt;
    if (!data)
        fail(kGetDataFailed, name);
    if (data->type != regtype::Dword)
        fail(kInvalidType, name);
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < data->bytes.size(); ++i)
        v |= std::uint32_t(data->bytes[i]) << (8 * i);
    return static_cast<std::int32_t>(v);
}

void TRegistry::WriteString(std::u16string_view name, std::u16string_view text)
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve((text.size() + 1) * 2);
    for (char16_t c : text) {
        bytes.push_back(std::uint8_t(c & 0xFF));
        bytes.push_back(std::uint8_t(c >> 8));
    }
    bytes.push_back(0);
    bytes.push_back(0);
    if (!m_open || !m_backend->SetValue(name, regtype::Sz, bytes))
        fail(kSetDataFailed, name);
    if (!m_firstWritten)
        m_firstWritten = std::u16string(name);
}

void TRegistry::WriteInteger(std::u16string_view name, std::int32_t value)
{
    const auto v = static_cast<std::uint32_t>(value);
    const std::uint8_t bytes[4] = {std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16), std::uint8_t(v >> 24)};
    if (!m_open || !m_backend->SetValue(name, regtype::Dword, bytes))
        fail(kSetDataFailed, name);
    if (!m_firstWritten)
        m_firstWritten = std::u16string(name);
}

} // namespace settings
