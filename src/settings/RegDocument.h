#pragma once
// The contents of a registry export file ("Windows Registry Editor Version
// 5.00"): keys in file order, each with its values in file order, and the
// comment lines (";") a person wrote between them, so a save keeps them.
// parse is strict: a file that cannot be read as a whole gives nothing, so
// the caller can set it aside instead of overwriting what it could not
// understand. parseSalvaging reads what it can, as an import would, and
// lists the lines it had to skip. Both take time in proportion to the file.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace settings {

class RegDocument {
public:
    struct Value {
        std::u16string name; // empty = the key's default value ("@")
        std::uint32_t type = 0;
        std::vector<std::uint8_t> data;
        std::vector<std::u16string> comments; // lines written just before this value's line
    };
    struct Key {
        std::u16string path; // full path with the root, e.g. HKEY_CURRENT_USER\Software\Zarnolith
        std::vector<Value> values;
        std::vector<std::u16string> comments; // lines written just before the key's line
    };
    // A line the salvaging reader skipped.
    struct Problem {
        std::size_t line = 0;                    // 1-based; 0 for the file as a whole
        std::optional<std::u16string> valueName; // when the line names a value
        std::string what;
    };

    std::vector<Key> keys;
    std::vector<std::u16string> trailingComments; // after the last key or value

    // Key and value names compare without regard to ASCII case, as the registry does.
    Key* findKey(std::u16string_view path);
    Key& findOrAddKey(std::u16string_view path);
    static Value* findValue(Key& key, std::u16string_view name);
    static void setValue(Key& key, std::u16string_view name, std::uint32_t type, std::vector<std::uint8_t> data);

    // Accepts UTF-16LE with byte-order mark (what the registry editor writes)
    // and UTF-8 with or without one. On failure, error names the first problem.
    static std::optional<RegDocument> parse(std::span<const std::uint8_t> bytes, std::string* error = nullptr);
    // Every line that can be read; nothing only when the bytes are no text or
    // lack the header line. Each skipped line is listed in problems.
    static std::optional<RegDocument> parseSalvaging(std::span<const std::uint8_t> bytes,
                                                     std::vector<Problem>* problems);
    // UTF-16LE with byte-order mark and CRLF line ends, as the registry editor exports.
    std::vector<std::uint8_t> serialize() const;
    // The same text as UTF-8, for messages and tests.
    std::string toUtf8Text() const;
};

// One key of such a file, for reading its values without keeping the rest:
// the file is checked as a whole as parse checks it, but only the lines that
// concern the key are noted, and a value is decoded when it is asked for. So
// a large file costs its own size once, and little more than that in memory.
class RegKeyIndex {
public:
    // Nothing when parse would refuse the bytes (error then names the problem).
    // The path is the key's full path with the root; it compares without regard to ASCII case.
    static std::optional<RegKeyIndex> read(std::span<const std::uint8_t> bytes, std::u16string_view path,
                                           std::string* error = nullptr);

    // Whether the file leaves the key in place (parse's document would hold it).
    bool exists() const;
    // The value as parse's document would hold it (without its comments).
    std::optional<RegDocument::Value> value(std::u16string_view name) const;

    struct Event {
        enum Kind : std::uint8_t { Opened, KeyDeleted, ValueSet, ValueDeleted } kind;
        std::uint32_t nameHash;
        std::size_t lineStart; // where a value's line begins in the text
    };

private:
    std::u16string m_text;
    std::vector<Event> m_events; // in file order
};

} // namespace settings
