#include "platform/RegDocument.h"

#include "util/Utf8.h"

#include <algorithm>
#include <cstdio>

namespace platform {

namespace {

constexpr std::u16string_view kHeader = u"Windows Registry Editor Version 5.00";

char16_t asciiLower(char16_t c) { return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c; }

bool sameName(std::u16string_view a, std::u16string_view b)
{
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(), [](char16_t x, char16_t y) { return asciiLower(x) == asciiLower(y); });
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
    return util::Utf8ToUtf16Strict(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
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
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

bool startsWithNoCase(std::u16string_view s, std::u16string_view prefix)
{
    return s.size() >= prefix.size() && sameName(s.substr(0, prefix.size()), prefix);
}

// Reads a quoted text at the start of s (s[0] == '"'): \\ and \" are the
// escapes; any other backslash stands for itself. Advances s past the quote.
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

struct Failure {
    std::string* error;
    std::optional<RegDocument> operator()(std::size_t line, const char* what) const
    {
        if (error) {
            char buf[160];
            std::snprintf(buf, sizeof buf, "Zeile %zu: %s", line, what);
            *error = buf;
        }
        return std::nullopt;
    }
};

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
    keys.push_back(Key{std::u16string(path), {}});
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
        key.values.push_back(Value{std::u16string(name), type, std::move(data)});
    }
}

std::optional<RegDocument> RegDocument::parse(std::span<const std::uint8_t> bytes, std::string* error)
{
    const Failure fail{error};
    const std::optional<std::u16string> text = decodeText(bytes);
    if (!text)
        return fail(0, "keine gültige UTF-16- oder UTF-8-Kodierung");

    std::vector<std::u16string_view> lines;
    for (std::u16string_view rest = *text;;) {
        const std::size_t nl = rest.find(u'\n');
        lines.push_back(rest.substr(0, nl));
        if (nl == std::u16string_view::npos)
            break;
        rest.remove_prefix(nl + 1);
    }

    RegDocument doc;
    bool headerSeen = false;
    Key* current = nullptr;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::size_t lineNo = i + 1;
        std::u16string_view line = trim(lines[i]);
        if (line.empty())
            continue;
        if (!headerSeen) {
            if (line != kHeader)
                return fail(lineNo, "Kopfzeile fehlt");
            headerSeen = true;
            continue;
        }
        if (line.front() == u';')
            continue;
        if (line.front() == u'[') {
            if (line.back() != u']' || line.size() < 3)
                return fail(lineNo, "Schlüsselzeile ohne ']'");
            std::u16string_view path = line.substr(1, line.size() - 2);
            if (path.front() == u'-') {
                // Deleting a key takes its sub-keys with it.
                path.remove_prefix(1);
                const std::u16string prefix = std::u16string(path) + u'\\';
                std::erase_if(doc.keys, [&](const Key& k) {
                    return sameName(k.path, path) || startsWithNoCase(k.path, prefix);
                });
                current = nullptr;
                continue;
            }
            if (path.empty() || path.find(u'\\') == 0)
                return fail(lineNo, "leerer Schlüsselpfad");
            current = &doc.findOrAddKey(path);
            continue;
        }
        if (line.front() != u'"' && line.front() != u'@')
            return fail(lineNo, "unverständliche Zeile");
        if (!current)
            return fail(lineNo, "Wert ohne Schlüssel");

        std::u16string name;
        std::u16string_view rest = line;
        if (rest.front() == u'@') {
            rest.remove_prefix(1);
        } else {
            std::optional<std::u16string> quoted = readQuoted(rest);
            if (!quoted)
                return fail(lineNo, "Wertname ohne schließendes Anführungszeichen");
            name = std::move(*quoted);
        }
        rest = trim(rest);
        if (rest.empty() || rest.front() != u'=')
            return fail(lineNo, "'=' fehlt");
        rest = trim(rest.substr(1));

        if (rest == u"-") {
            std::erase_if(current->values, [&](const Value& v) { return sameName(v.name, name); });
            continue;
        }
        if (!rest.empty() && rest.front() == u'"') {
            std::optional<std::u16string> s = readQuoted(rest);
            if (!s || !trim(rest).empty())
                return fail(lineNo, "Text ohne schließendes Anführungszeichen");
            setValue(*current, name, 1, utf16Bytes(*s, true));
            continue;
        }
        if (startsWithNoCase(rest, u"dword:")) {
            std::u16string_view digits = rest.substr(6);
            if (digits.empty() || digits.size() > 8)
                return fail(lineNo, "dword braucht 1 bis 8 Hexadezimalziffern");
            std::uint32_t v = 0;
            for (char16_t c : digits) {
                const int d = hexDigit(c);
                if (d < 0)
                    return fail(lineNo, "dword braucht 1 bis 8 Hexadezimalziffern");
                v = v * 16 + std::uint32_t(d);
            }
            setValue(*current, name, 4,
                     {std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16), std::uint8_t(v >> 24)});
            continue;
        }
        if (startsWithNoCase(rest, u"hex")) {
            std::u16string_view afterHex = rest.substr(3);
            std::uint32_t type = 3;
            if (!afterHex.empty() && afterHex.front() == u'(') {
                const std::size_t close = afterHex.find(u')');
                if (close == std::u16string_view::npos || close == 1 || close > 9)
                    return fail(lineNo, "hex(n) ohne gültige Typnummer");
                type = 0;
                for (char16_t c : afterHex.substr(1, close - 1)) {
                    const int d = hexDigit(c);
                    if (d < 0)
                        return fail(lineNo, "hex(n) ohne gültige Typnummer");
                    type = type * 16 + std::uint32_t(d);
                }
                afterHex.remove_prefix(close + 1);
            }
            if (afterHex.empty() || afterHex.front() != u':')
                return fail(lineNo, "':' nach hex fehlt");
            // Long byte lists go on over lines that end in a backslash.
            std::u16string joined(afterHex.substr(1));
            while (!joined.empty() && trim(joined).ends_with(u'\\')) {
                std::u16string_view t = trim(joined);
                joined = std::u16string(t.substr(0, t.size() - 1));
                // A file cut off after the backslash would lose bytes without notice.
                if (++i >= lines.size() || trim(lines[i]).empty())
                    return fail(lineNo, "Fortsetzungszeile fehlt");
                joined += trim(lines[i]);
            }
            std::optional<std::vector<std::uint8_t>> data = parseHexBytes(joined);
            if (!data)
                return fail(lineNo, "ungültige Bytefolge");
            setValue(*current, name, type, std::move(*data));
            continue;
        }
        return fail(lineNo, "unbekannte Datenform");
    }
    if (!headerSeen)
        return fail(0, "Datei ist leer");
    return doc;
}

namespace {

std::u16string quoted(std::u16string_view s)
{
    std::u16string out = u"\"";
    for (char16_t c : s) {
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
    for (const RegDocument::Key& key : doc.keys) {
        out += u"[" + key.path + u"]\r\n";
        for (const RegDocument::Value& v : key.values) {
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
                const std::uint32_t n = v.data[0] | (v.data[1] << 8) | (v.data[2] << 16) | (std::uint32_t(v.data[3]) << 24);
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

std::string RegDocument::toUtf8Text() const { return util::Utf16ToUtf8(serializeText(*this)); }

} // namespace platform
