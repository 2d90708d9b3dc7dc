#include "platform/RegDocument.h"

#include "platform/Utf8.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <unordered_map>

namespace platform {

namespace {

constexpr std::u16string_view kHeader = u"Windows Registry Editor Version 5.00";

char16_t asciiLower(char16_t c) { return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c; }

bool sameName(std::u16string_view a, std::u16string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char16_t x, char16_t y) {
               return asciiLower(x) == asciiLower(y);
           });
}

bool isHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

bool validUtf16(std::u16string_view s)
{
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (isHighSurrogate(s[i])) {
            if (i + 1 >= s.size() || !isLowSurrogate(s[i + 1]))
                return false;
            ++i;
        } else if (isLowSurrogate(s[i])) {
            return false;
        }
    }
    return true;
}

std::optional<std::u16string> decodeText(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        if (bytes.size() % 2 != 0)
            return std::nullopt;
        std::u16string out;
        out.reserve(bytes.size() / 2);
        for (std::size_t i = 2; i < bytes.size(); i += 2)
            out.push_back(char16_t(bytes[i] | (bytes[i + 1] << 8)));
        if (!validUtf16(out))
            return std::nullopt;
        return out;
    }
    if (bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF)
        bytes = bytes.subspan(3);
    return Utf8ToUtf16Strict(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

bool isBlank(char16_t c) { return c == u' ' || c == u'\t'; }

std::u16string_view trim(std::u16string_view s)
{
    while (!s.empty() && (isBlank(s.front()) || s.front() == u'\r'))
        s.remove_prefix(1);
    while (!s.empty() && (isBlank(s.back()) || s.back() == u'\r'))
        s.remove_suffix(1);
    return s;
}

int hexDigit(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

bool startsWithNoCase(std::u16string_view s, std::u16string_view prefix)
{
    return s.size() >= prefix.size() && sameName(s.substr(0, prefix.size()), prefix);
}

// Reads a quoted text at the start of s (s[0] == '"'): \\ and \" are the
// escapes, and \n and \r the line breaks Wine's registry editor exports that
// way; any other backslash stands for itself. Advances s past the quote.
std::optional<std::u16string> readQuoted(std::u16string_view& s)
{
    std::u16string out;
    std::size_t i = 1;
    for (; i < s.size(); ++i) {
        const char16_t c = s[i];
        if (c == u'"')
            break;
        if (c == u'\\' && i + 1 < s.size() && (s[i + 1] == u'\\' || s[i + 1] == u'"')) {
            out.push_back(s[i + 1]);
            ++i;
        } else if (c == u'\\' && i + 1 < s.size() && (s[i + 1] == u'n' || s[i + 1] == u'r')) {
            out.push_back(s[i + 1] == u'n' ? u'\n' : u'\r');
            ++i;
        } else {
            out.push_back(c);
        }
    }
    if (i >= s.size())
        return std::nullopt;
    s.remove_prefix(i + 1);
    return out;
}

std::vector<std::uint8_t> utf16Bytes(std::u16string_view s, bool terminatingZero)
{
    std::vector<std::uint8_t> out;
    out.reserve((s.size() + 1) * 2);
    for (char16_t c : s) {
        out.push_back(std::uint8_t(c & 0xFF));
        out.push_back(std::uint8_t(c >> 8));
    }
    if (terminatingZero) {
        out.push_back(0);
        out.push_back(0);
    }
    return out;
}

std::optional<std::vector<std::uint8_t>> parseHexBytes(std::u16string_view s)
{
    std::vector<std::uint8_t> out;
    s = trim(s);
    if (s.empty())
        return out;
    while (true) {
        s = trim(s);
        if (s.size() < 2)
            return std::nullopt;
        const int hi = hexDigit(s[0]);
        const int lo = hexDigit(s[1]);
        if (hi < 0 || lo < 0)
            return std::nullopt;
        out.push_back(std::uint8_t(hi * 16 + lo));
        s = trim(s.substr(2));
        if (s.empty())
            return out;
        if (s.front() != u',')
            return std::nullopt;
        s.remove_prefix(1);
        // A trailing comma ends the list (the editor never writes one, but people do).
        if (trim(s).empty())
            return out;
    }
}

} // namespace

RegDocument::Key* RegDocument::findKey(std::u16string_view path)
{
    for (Key& k : keys)
        if (sameName(k.path, path))
            return &k;
    return nullptr;
}

RegDocument::Key& RegDocument::findOrAddKey(std::u16string_view path)
{
    if (Key* k = findKey(path))
        return *k;
    keys.push_back(Key{std::u16string(path), {}, {}});
    return keys.back();
}

RegDocument::Value* RegDocument::findValue(Key& key, std::u16string_view name)
{
    for (Value& v : key.values)
        if (sameName(v.name, name))
            return &v;
    return nullptr;
}

void RegDocument::setValue(Key& key, std::u16string_view name, std::uint32_t type, std::vector<std::uint8_t> data)
{
    if (Value* v = findValue(key, name)) {
        v->type = type;
        v->data = std::move(data);
    } else {
        key.values.push_back(Value{std::u16string(name), type, std::move(data), {}});
    }
}

namespace {

std::u16string lowerAscii(std::u16string_view s)
{
    std::u16string out(s);
    for (char16_t& c : out)
        c = asciiLower(c);
    return out;
}

// One pass over the lines. Keys and values are found through indexes by their
// lower-case names, deletions only mark what they delete, and continuation
// lines are appended once each, so the time grows with the file, not faster.
class Reader {
public:
    Reader(std::string* error, std::vector<RegDocument::Problem>* problems) : m_error(error), m_problems(problems) {}

    std::optional<RegDocument> read(std::span<const std::uint8_t> bytes);

private:
    struct KeySlot {
        RegDocument::Key key;
        bool live = true;
        std::vector<bool> valueLive;
        std::unordered_map<std::u16string, std::size_t> valueIndex; // lower-case name -> live value
    };

    // Strict reading stops at the first problem (false); salvaging notes it and goes on.
    bool problem(std::size_t line, const char* what, const std::u16string* valueName = nullptr)
    {
        if (!m_problems) {
            if (m_error) {
                char buf[160];
                std::snprintf(buf, sizeof buf, "Zeile %zu: %s", line, what);
                *m_error = buf;
            }
            return false;
        }
        RegDocument::Problem p;
        p.line = line;
        if (valueName)
            p.valueName = *valueName;
        p.what = what;
        m_problems->push_back(std::move(p));
        return true;
    }

    void takeComments(std::vector<std::u16string>& from)
    {
        for (std::u16string& c : from)
            m_pending.push_back(std::move(c));
        from.clear();
    }

    std::size_t openKey(std::u16string_view path)
    {
        auto [it, added] = m_keyIndex.try_emplace(lowerAscii(path), m_slots.size());
        if (added)
            m_slots.push_back(KeySlot{RegDocument::Key{std::u16string(path), {}, {}}, true, {}, {}});
        KeySlot& slot = m_slots[it->second];
        for (std::u16string& c : m_pending)
            slot.key.comments.push_back(std::move(c));
        m_pending.clear();
        return it->second;
    }

    // Deleting a key takes its sub-keys with it; their comments stay in the file.
    void deleteKey(std::u16string_view path)
    {
        const std::u16string lower = lowerAscii(path);
        const std::u16string prefix = lower + u'\\';
        auto drop = [&](std::map<std::u16string, std::size_t>::iterator it) {
            KeySlot& slot = m_slots[it->second];
            slot.live = false;
            takeComments(slot.key.comments);
            for (std::size_t v = 0; v < slot.key.values.size(); ++v)
                if (slot.valueLive[v])
                    takeComments(slot.key.values[v].comments);
            return m_keyIndex.erase(it);
        };
        if (auto it = m_keyIndex.find(lower); it != m_keyIndex.end())
            drop(it);
        for (auto it = m_keyIndex.lower_bound(prefix);
             it != m_keyIndex.end() && it->first.compare(0, prefix.size(), prefix) == 0;)
            it = drop(it);
    }

    void setValue(KeySlot& slot, std::u16string name, std::uint32_t type, std::vector<std::uint8_t> data)
    {
        auto [it, added] = slot.valueIndex.try_emplace(lowerAscii(name), slot.key.values.size());
        if (added) {
            slot.key.values.push_back(RegDocument::Value{std::move(name), type, std::move(data), {}});
            slot.valueLive.push_back(true);
        } else {
            RegDocument::Value& v = slot.key.values[it->second];
            v.type = type;
            v.data = std::move(data);
        }
        RegDocument::Value& v = slot.key.values[it->second];
        for (std::u16string& c : m_pending)
            v.comments.push_back(std::move(c));
        m_pending.clear();
    }

    void deleteValue(KeySlot& slot, const std::u16string& name)
    {
        if (auto it = slot.valueIndex.find(lowerAscii(name)); it != slot.valueIndex.end()) {
            slot.valueLive[it->second] = false;
            takeComments(slot.key.values[it->second].comments);
            slot.valueIndex.erase(it);
        }
    }

    std::string* m_error;
    std::vector<RegDocument::Problem>* m_problems;
    std::vector<KeySlot> m_slots;
    std::map<std::u16string, std::size_t> m_keyIndex; // lower-case path -> live key, ordered for sub-key ranges
    std::vector<std::u16string> m_pending;            // comment lines waiting for the next key or value
};

std::optional<RegDocument> Reader::read(std::span<const std::uint8_t> bytes)
{
    const std::optional<std::u16string> text = decodeText(bytes);
    if (!text) {
        problem(0, "keine gültige UTF-16- oder UTF-8-Kodierung");
        return std::nullopt;
    }

    std::vector<std::u16string_view> lines;
    for (std::u16string_view rest = *text;;) {
        const std::size_t nl = rest.find(u'\n');
        lines.push_back(rest.substr(0, nl));
        if (nl == std::u16string_view::npos)
            break;
        rest.remove_prefix(nl + 1);
    }

    bool headerSeen = false;
    constexpr std::size_t kNoKey = static_cast<std::size_t>(-1);
    std::size_t current = kNoKey; // the slot values go to
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::size_t lineNo = i + 1;
        std::u16string_view line = trim(lines[i]);
        if (line.empty())
            continue;
        if (!headerSeen) {
            // Without the header no line can be trusted, salvaging or not.
            if (line != kHeader) {
                problem(lineNo, "Kopfzeile fehlt");
                return std::nullopt;
            }
            headerSeen = true;
            continue;
        }
        if (line.front() == u';') {
            m_pending.emplace_back(line);
            continue;
        }
        if (line.front() == u'[') {
            current = kNoKey;
            if (line.back() != u']' || line.size() < 3) {
                if (!problem(lineNo, "Schlüsselzeile ohne ']'"))
                    return std::nullopt;
                continue;
            }
            std::u16string_view path = line.substr(1, line.size() - 2);
            if (path.front() == u'-') {
                path.remove_prefix(1);
                deleteKey(path);
                continue;
            }
            if (path.empty() || path.find(u'\\') == 0) {
                if (!problem(lineNo, "leerer Schlüsselpfad"))
                    return std::nullopt;
                continue;
            }
            current = openKey(path);
            continue;
        }
        if (line.front() != u'"' && line.front() != u'@') {
            if (!problem(lineNo, "unverständliche Zeile"))
                return std::nullopt;
            continue;
        }

        std::u16string name;
        std::u16string_view rest = line;
        if (rest.front() == u'@') {
            rest.remove_prefix(1);
        } else {
            std::optional<std::u16string> quotedName = readQuoted(rest);
            if (!quotedName) {
                if (!problem(lineNo, "Wertname ohne schließendes Anführungszeichen"))
                    return std::nullopt;
                continue;
            }
            name = std::move(*quotedName);
        }
        // Long byte lists go on over lines that end in a backslash; they belong
        // to this line whatever becomes of it.
        std::u16string joined;
        bool cutOff = false;
        rest = trim(rest);
        const bool hexData = rest.starts_with(u'=') && startsWithNoCase(trim(rest.substr(1)), u"hex");
        if (hexData) {
            for (std::u16string_view piece = rest;;) {
                piece = trim(piece);
                if (!piece.ends_with(u'\\')) {
                    joined += piece;
                    break;
                }
                joined += piece.substr(0, piece.size() - 1);
                // A file cut off after the backslash would lose bytes without notice.
                if (i + 1 >= lines.size() || trim(lines[i + 1]).empty()) {
                    cutOff = true;
                    break;
                }
                piece = lines[++i];
            }
            rest = joined;
        }
        const char* bad = nullptr;
        if (current == kNoKey) {
            bad = "Wert ohne Schlüssel";
        } else if (rest.empty() || rest.front() != u'=') {
            bad = "'=' fehlt";
        } else if (cutOff) {
            bad = "Fortsetzungszeile fehlt";
        }
        if (bad) {
            if (!problem(lineNo, bad, &name))
                return std::nullopt;
            continue;
        }
        KeySlot& slot = m_slots[current];
        rest = trim(rest.substr(1));

        if (rest == u"-") {
            deleteValue(slot, name);
            continue;
        }
        if (!rest.empty() && rest.front() == u'"') {
            std::optional<std::u16string> s = readQuoted(rest);
            if (!s || !trim(rest).empty()) {
                if (!problem(lineNo, "Text ohne schließendes Anführungszeichen", &name))
                    return std::nullopt;
                continue;
            }
            std::vector<std::uint8_t> data = utf16Bytes(*s, true);
            setValue(slot, std::move(name), 1, std::move(data));
            continue;
        }
        if (startsWithNoCase(rest, u"dword:")) {
            std::u16string_view digits = rest.substr(6);
            std::uint32_t v = 0;
            bool ok = !digits.empty() && digits.size() <= 8;
            for (std::size_t k = 0; ok && k < digits.size(); ++k) {
                const int d = hexDigit(digits[k]);
                ok = d >= 0;
                v = v * 16 + std::uint32_t(d);
            }
            if (!ok) {
                if (!problem(lineNo, "dword braucht 1 bis 8 Hexadezimalziffern", &name))
                    return std::nullopt;
                continue;
            }
            setValue(slot, std::move(name), 4,
                     {std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16), std::uint8_t(v >> 24)});
            continue;
        }
        if (startsWithNoCase(rest, u"hex")) {
            std::u16string_view afterHex = rest.substr(3);
            std::uint32_t type = 3;
            const char* badHex = nullptr;
            if (!afterHex.empty() && afterHex.front() == u'(') {
                const std::size_t close = afterHex.find(u')');
                if (close == std::u16string_view::npos || close == 1 || close > 9) {
                    badHex = "hex(n) ohne gültige Typnummer";
                } else {
                    type = 0;
                    for (char16_t c : afterHex.substr(1, close - 1)) {
                        const int d = hexDigit(c);
                        if (d < 0)
                            badHex = "hex(n) ohne gültige Typnummer";
                        type = type * 16 + std::uint32_t(d);
                    }
                    afterHex.remove_prefix(close + 1);
                }
            }
            if (!badHex && (afterHex.empty() || afterHex.front() != u':'))
                badHex = "':' nach hex fehlt";
            std::optional<std::vector<std::uint8_t>> data;
            if (!badHex && !(data = parseHexBytes(afterHex.substr(1))))
                badHex = "ungültige Bytefolge";
            if (badHex) {
                if (!problem(lineNo, badHex, &name))
                    return std::nullopt;
                continue;
            }
            setValue(slot, std::move(name), type, std::move(*data));
            continue;
        }
        if (!problem(lineNo, "unbekannte Datenform", &name))
            return std::nullopt;
    }
    if (!headerSeen) {
        problem(0, "Datei ist leer");
        return std::nullopt;
    }

    RegDocument doc;
    for (KeySlot& slot : m_slots) {
        if (!slot.live)
            continue;
        RegDocument::Key key{std::move(slot.key.path), {}, std::move(slot.key.comments)};
        for (std::size_t v = 0; v < slot.key.values.size(); ++v)
            if (slot.valueLive[v])
                key.values.push_back(std::move(slot.key.values[v]));
        doc.keys.push_back(std::move(key));
    }
    doc.trailingComments = std::move(m_pending);
    return doc;
}

} // namespace

std::optional<RegDocument> RegDocument::parse(std::span<const std::uint8_t> bytes, std::string* error)
{
    return Reader(error, nullptr).read(bytes);
}

std::optional<RegDocument> RegDocument::parseSalvaging(std::span<const std::uint8_t> bytes,
                                                       std::vector<Problem>* problems)
{
    std::vector<Problem> ignored;
    return Reader(nullptr, problems ? problems : &ignored).read(bytes);
}

namespace {

// Line breaks take the escapes the reader knows: raw, they would end the line.
std::u16string quoted(std::u16string_view s)
{
    std::u16string out = u"\"";
    for (char16_t c : s) {
        if (c == u'\n' || c == u'\r') {
            out += c == u'\n' ? u"\\n" : u"\\r";
            continue;
        }
        if (c == u'\\' || c == u'"')
            out.push_back(u'\\');
        out.push_back(c);
    }
    out.push_back(u'"');
    return out;
}

// A REG_SZ that reads back the same from its quoted form: whole UTF-16 units,
// one terminating zero and none inside, no line breaks or other control characters.
std::optional<std::u16string> plainText(const std::vector<std::uint8_t>& data)
{
    if (data.size() < 2 || data.size() % 2 != 0 || data[data.size() - 1] != 0 || data[data.size() - 2] != 0)
        return std::nullopt;
    std::u16string s;
    for (std::size_t i = 0; i + 2 < data.size(); i += 2) {
        const char16_t c = char16_t(data[i] | (data[i + 1] << 8));
        if (c < 0x20)
            return std::nullopt;
        s.push_back(c);
    }
    if (!validUtf16(s))
        return std::nullopt;
    return s;
}

std::u16string ascii(const char* s) { return std::u16string(s, s + std::char_traits<char>::length(s)); }

void appendHex(std::u16string& out, std::size_t lineStart, const std::vector<std::uint8_t>& data)
{
    static constexpr char digits[] = "0123456789abcdef";
    for (std::size_t i = 0; i < data.size(); ++i) {
        // The editor wraps at about 80 columns and indents continuation lines by two.
        if (out.size() - lineStart > 76) {
            out += u"\\\r\n  ";
            lineStart = out.size() - 2;
        }
        out.push_back(char16_t(digits[data[i] >> 4]));
        out.push_back(char16_t(digits[data[i] & 0xF]));
        if (i + 1 < data.size())
            out.push_back(u',');
    }
}

std::u16string serializeText(const RegDocument& doc)
{
    std::u16string out(kHeader);
    out += u"\r\n\r\n";
    auto comments = [&out](const std::vector<std::u16string>& lines) {
        for (const std::u16string& c : lines)
            out += c + u"\r\n";
    };
    for (const RegDocument::Key& key : doc.keys) {
        comments(key.comments);
        out += u"[" + key.path + u"]\r\n";
        for (const RegDocument::Value& v : key.values) {
            comments(v.comments);
            const std::size_t lineStart = out.size();
            out += v.name.empty() ? std::u16string(u"@") : quoted(v.name);
            out += u'=';
            if (v.type == 1) {
                if (std::optional<std::u16string> s = plainText(v.data)) {
                    out += quoted(*s) + u"\r\n";
                    continue;
                }
            }
            if (v.type == 4 && v.data.size() == 4) {
                const std::uint32_t n
                    = v.data[0] | (v.data[1] << 8) | (v.data[2] << 16) | (std::uint32_t(v.data[3]) << 24);
                char buf[16];
                std::snprintf(buf, sizeof buf, "dword:%08x", n);
                out += ascii(buf) + u"\r\n";
                continue;
            }
            if (v.type == 3) {
                out += u"hex:";
            } else {
                char buf[24];
                std::snprintf(buf, sizeof buf, "hex(%x):", v.type);
                out += ascii(buf);
            }
            appendHex(out, lineStart, v.data);
            out += u"\r\n";
        }
        out += u"\r\n";
    }
    comments(doc.trailingComments);
    return out;
}

} // namespace

std::vector<std::uint8_t> RegDocument::serialize() const
{
    std::vector<std::uint8_t> out{0xFF, 0xFE};
    const std::vector<std::uint8_t> body = utf16Bytes(serializeText(*this), false);
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

std::string RegDocument::toUtf8Text() const { return Utf16ToUtf8(serializeText(*this)); }

} // namespace platform
