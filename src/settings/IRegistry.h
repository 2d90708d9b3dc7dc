#pragma once
// The per-user settings store, shaped like the Windows registry calls the
// program needs: open (or create) one key under the current user's branch,
// query a value's type and size, read and write a value, close.
// Windows has the real registry behind it; elsewhere a file stands in.
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace settings {

// Registry value types by their Windows numbers. A stored value may carry any
// number; these are the ones the program names.
namespace regtype {
constexpr std::uint32_t None = 0;
constexpr std::uint32_t Sz = 1;       // UTF-16LE text with its terminating zero
constexpr std::uint32_t ExpandSz = 2; // the same, with %VARIABLES% left unexpanded
constexpr std::uint32_t Binary = 3;
constexpr std::uint32_t Dword = 4; // 32-bit integer, little-endian
constexpr std::uint32_t DwordBigEndian = 5;
constexpr std::uint32_t MultiSz = 7;
constexpr std::uint32_t Qword = 11;
} // namespace regtype

struct RegValueInfo {
    std::uint32_t type = regtype::None;
    std::uint32_t size = 0; // bytes of data
};

struct RegValueData {
    std::uint32_t type = regtype::None;
    std::vector<std::uint8_t> bytes;
};

// A store that could not be read as a whole: where its damaged original is
// kept, and which lines were not read (the rest was).
struct RegRepair {
    std::string keptCopy; // path of the kept original, UTF-8
    struct Unread {
        std::size_t line = 0; // 1-based; 0: the whole file
        std::optional<std::u16string> valueName;
    };
    std::vector<Unread> unread;
};

class IRegistry {
public:
    virtual ~IRegistry() = default;

    // Opens the key at this path below HKEY_CURRENT_USER ("Software\Zarnolith"),
    // creating it first when it is missing and canCreate is set. False on failure.
    virtual bool OpenKey(std::u16string_view path, bool canCreate) = 0;
    // False when the values written since opening could not be stored after all.
    virtual bool CloseKey() = 0;
    // What the last OpenKey found damaged in the store and repaired; nothing
    // when it found the store sound.
    virtual std::optional<RegRepair> Repair() const { return std::nullopt; }

    // Type and data size of a value of the open key; nothing when it does not exist.
    virtual std::optional<RegValueInfo> QueryValueInfo(std::u16string_view name) = 0;
    // The value's type and data; nothing when it does not exist or its data is
    // longer than maxBytes (the Windows call fails with "more data" then).
    virtual std::optional<RegValueData> QueryValue(std::u16string_view name, std::uint32_t maxBytes) = 0;
    // Creates or replaces the value with this type and data. False on failure.
    virtual bool SetValue(std::u16string_view name, std::uint32_t type, std::span<const std::uint8_t> data) = 0;
};

// The store of this platform: the registry on Windows, the settings file elsewhere.
std::unique_ptr<IRegistry> CreateUserRegistry();

#ifdef _WIN32
// The settings store on Windows: the current user's branch of the registry.
// HKCU\Software is shared by 32- and 64-bit programs, so the settings a
// 32-bit build stored under Software\Zarnolith are the ones read here.
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
#endif

} // namespace settings
