#include "settings/RegDocument.h"

#include "platform/Utf8.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <unordered_map>

namespace settings {

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
    return platform::Utf8ToUtf16Strict(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
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

// The lines of a text one at a time, with their 1-based numbers; a line may
// be looked at before it is taken (a byte list's continuation).
class Lines {
public:
    explicit Lines(std::u16string_view text, std::size_t from = 0) : m_text(text), m_pos(from) {}

    bool atEnd() const { return m_pos > m_text.size(); }
    std::u16string_view peek() const
    {
        const std::size_t nl = m_text.find(u'\n', m_pos);
        return m_text.substr(m_pos, nl == std::u16string_view::npos ? std::u16string_view::npos : nl - m_pos);
    }
    // Where the next line starts in the text.
    std::size_t offset() const { return m_pos; }
    std::size_t number() const { return m_number; }
    std::u16string_view take()
    {
        const std::u16string_view line = peek();
        m_pos += line.size() + 1;
        ++m_number;
        return line;
    }

private:
    std::u16string_view m_text;
    std::size_t m_pos;
    std::size_t m_number = 0;
};

// One value line (with its continuation lines) as read, before it is known
// whether a key is open for it.
struct ValueLine {
    enum Kind { Set, Delete, Bad } kind = Bad;
    bool named = false; // the name could be read (a problem then names the value)
    std::u16string name;
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
    const char* problem = nullptr;
};

// Reads the value line `line` (trimmed, starting with '"' or '@'); takes the
// continuation lines of a byte list from `lines`.
ValueLine readValueLine(std::u16string_view line, Lines& lines)
{
    ValueLine v;
    std::u16string_view rest = line;
    if (rest.front() == u'@') {
        rest.remove_prefix(1);
    } else {
        std::optional<std::u16string> quotedName = readQuoted(rest);
        if (!quotedName) {
            v.problem = "Wertname ohne schließendes Anführungszeichen";
            return v;
        }
        v.name = std::move(*quotedName);
    }
    v.named = true;
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
            if (lines.atEnd() || trim(lines.peek()).empty()) {
                cutOff = true;
                break;
            }
            piece = lines.take();
        }
        rest = joined;
    }
    if (rest.empty() || rest.front() != u'=') {
        v.problem = "'=' fehlt";
        return v;
    }
    if (cutOff) {
        v.problem = "Fortsetzungszeile fehlt";
        return v;
    }
    rest = trim(rest.substr(1));

    if (rest == u"-") {
        v.kind = ValueLine::Delete;
        return v;
    }
    if (!rest.empty() && rest.front() == u'"') {
        std::optional<std::u16string> s = readQuoted(rest);
        if (!s || !trim(rest).empty()) {
            v.problem = "Text ohne schließendes Anführungszeichen";
            return v;
        }
        v.kind = ValueLine::Set;
        v.type = 1;
        v.data = utf16Bytes(*s, true);
        return v;
    }
    if (startsWithNoCase(rest, u"dword:")) {
        std::u16string_view digits = rest.substr(6);
        std::uint32_t n = 0;
        bool ok = !digits.empty() && digits.size() <= 8;
        for (std::size_t k = 0; ok && k < digits.size(); ++k) {
            const int d = hexDigit(digits[k]);
            ok = d >= 0;
            n = n * 16 + std::uint32_t(d);
        }
        if (!ok) {
            v.problem = "dword braucht 1 bis 8 Hexadezimalziffern";
            return v;
        }
        v.kind = ValueLine::Set;
        v.type = 4;
        v.data = {std::uint8_t(n), std::uint8_t(n >> 8), std::uint8_t(n >> 16), std::uint8_t(n >> 24)};
        return v;
    }
    if (startsWithNoCase(rest, u"hex")) {
        std::u16string_view afterHex = rest.substr(3);
        std::uint32_t type = 3;
        if (!afterHex.empty() && afterHex.front() == u'(') {
            const std::size_t close = afterHex.find(u')');
            if (close == std::u16string_view::npos || close == 1 || close > 9) {
                v.problem = "hex(n) ohne gültige Typnummer";
                return v;
            }
            type = 0;
            for (char16_t c : afterHex.substr(1, close - 1)) {
                const int d = hexDigit(c);
                if (d < 0) {
                    v.problem = "hex(n) ohne gültige Typnummer";
                    return v;
                }
                type = type * 16 + std::uint32_t(d);
            }
            afterHex.remove_prefix(close + 1);
        }
        if (afterHex.empty() || afterHex.front() != u':') {
            v.problem = "':' nach hex fehlt";
            return v;
        }
        std::optional<std::vector<std::uint8_t>> data = parseHexBytes(afterHex.substr(1));
        if (!data) {
            v.problem = "ungültige Bytefolge";
            return v;
        }
        v.kind = ValueLine::Set;
        v.type = type;
        v.data = std::move(*data);
        return v;
    }
    v.problem = "unbekannte Datenform";
    return v;
}

// What a reading keeps of the lines it accepts. Keys are handed back as the
// sink numbers them; NoKey is never one of them.
class ReadSink {
public:
    static constexpr std::size_t NoKey = static_cast<std::size_t>(-1);
    virtual ~ReadSink() = default;
    virtual void comment(std::u16string_view line) = 0;
    virtual std::size_t openKey(std::u16string_view path) = 0;
    virtual void deleteKey(std::u16string_view path) = 0;
    // lineStart: where the value's line begins in the text.
    virtual void setValue(std::size_t key, ValueLine&& value, std::size_t lineStart) = 0;
    virtual void deleteValue(std::size_t key, const std::u16string& name, std::size_t lineStart) = 0;
};

// One pass over the lines, checking every one of them and handing what they
// say to the sink, so the time grows with the file, not faster.
class Reader {
public:
    Reader(std::string* error, std::vector<RegDocument::Problem>* problems) : m_error(error), m_problems(problems) {}

    // The text the bytes hold, or nothing when they are no text.
    std::optional<std::u16string> decode(std::span<const std::uint8_t> bytes)
    {
        std::optional<std::u16string> text = decodeText(bytes);
        if (!text)
            problem(0, "keine gültige UTF-16- oder UTF-8-Kodierung");
        return text;
    }
    // False when the text cannot be read (strictly: at its first problem).
    bool read(std::u16string_view text, ReadSink& sink);

private:
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

    std::string* m_error;
    std::vector<RegDocument::Problem>* m_problems;
};

bool Reader::read(std::u16string_view text, ReadSink& sink)
{
    bool headerSeen = false;
    std::size_t current = ReadSink::NoKey; // the key values go to
    for (Lines lines(text); !lines.atEnd();) {
        const std::size_t lineStart = lines.offset();
        std::u16string_view line = trim(lines.take());
        const std::size_t lineNo = lines.number();
        if (line.empty())
            continue;
        if (!headerSeen) {
            // Without the header no line can be trusted, salvaging or not.
            if (line != kHeader) {
                problem(lineNo, "Kopfzeile fehlt");
                return false;
            }
            headerSeen = true;
            continue;
        }
        if (line.front() == u';') {
            sink.comment(line);
            continue;
        }
        if (line.front() == u'[') {
            current = ReadSink::NoKey;
            if (line.back() != u']' || line.size() < 3) {
                if (!problem(lineNo, "Schlüsselzeile ohne ']'"))
                    return false;
                continue;
            }
            std::u16string_view path = line.substr(1, line.size() - 2);
            if (path.front() == u'-') {
                path.remove_prefix(1);
                sink.deleteKey(path);
                continue;
            }
            if (path.empty() || path.find(u'\\') == 0) {
                if (!problem(lineNo, "leerer Schlüsselpfad"))
                    return false;
                continue;
            }
            current = sink.openKey(path);
            continue;
        }
        if (line.front() != u'"' && line.front() != u'@') {
            if (!problem(lineNo, "unverständliche Zeile"))
                return false;
            continue;
        }

        ValueLine value = readValueLine(line, lines);
        const char* bad = !value.named   ? value.problem
            : current == ReadSink::NoKey ? "Wert ohne Schlüssel"
                                         : value.problem;
        if (bad) {
            if (!problem(lineNo, bad, value.named ? &value.name : nullptr))
                return false;
            continue;
        }
        if (value.kind == ValueLine::Delete)
            sink.deleteValue(current, value.name, lineStart);
        else
            sink.setValue(current, std::move(value), lineStart);
    }
    if (!headerSeen) {
        problem(0, "Datei ist leer");
        return false;
    }
    return true;
}

// Keeps every key and value in file order, with the comments before them.
// Keys and values are found through indexes by their lower-case names, and
// deletions only mark what they delete.
class DocumentSink final : public ReadSink {
public:
    void comment(std::u16string_view line) override { m_pending.emplace_back(line); }

    std::size_t openKey(std::u16string_view path) override
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
    void deleteKey(std::u16string_view path) override
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

    void setValue(std::size_t key, ValueLine&& value, std::size_t) override
    {
        KeySlot& slot = m_slots[key];
        auto [it, added] = slot.valueIndex.try_emplace(lowerAscii(value.name), slot.key.values.size());
        if (added) {
            slot.key.values.push_back(RegDocument::Value{std::move(value.name), value.type, std::move(value.data), {}});
            slot.valueLive.push_back(true);
        } else {
            RegDocument::Value& v = slot.key.values[it->second];
            v.type = value.type;
            v.data = std::move(value.data);
        }
        RegDocument::Value& v = slot.key.values[it->second];
        for (std::u16string& c : m_pending)
            v.comments.push_back(std::move(c));
        m_pending.clear();
    }

    void deleteValue(std::size_t key, const std::u16string& name, std::size_t) override
    {
        KeySlot& slot = m_slots[key];
        if (auto it = slot.valueIndex.find(lowerAscii(name)); it != slot.valueIndex.end()) {
            slot.valueLive[it->second] = false;
            takeComments(slot.key.values[it->second].comments);
            slot.valueIndex.erase(it);
        }
    }

    RegDocument finish()
    {
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

private:
    struct KeySlot {
        RegDocument::Key key;
        bool live = true;
        std::vector<bool> valueLive;
        std::unordered_map<std::u16string, std::size_t> valueIndex; // lower-case name -> live value
    };

    void takeComments(std::vector<std::u16string>& from)
    {
        for (std::u16string& c : from)
            m_pending.push_back(std::move(c));
        from.clear();
    }

    std::vector<KeySlot> m_slots;
    std::map<std::u16string, std::size_t> m_keyIndex; // lower-case path -> live key, ordered for sub-key ranges
    std::vector<std::u16string> m_pending;            // comment lines waiting for the next key or value
};

std::optional<RegDocument> readDocument(std::span<const std::uint8_t> bytes, std::string* error,
                                        std::vector<RegDocument::Problem>* problems)
{
    Reader reader(error, problems);
    const std::optional<std::u16string> text = reader.decode(bytes);
    DocumentSink sink;
    if (!text || !reader.read(*text, sink))
        return std::nullopt;
    return sink.finish();
}

// A name's hash without regard to ASCII case (FNV-1a).
std::uint32_t nameHash(std::u16string_view name)
{
    std::uint32_t h = 2166136261u;
    for (char16_t c : name) {
        h = (h ^ asciiLower(c)) * 16777619u;
        h = (h ^ (asciiLower(c) >> 8)) * 16777619u;
    }
    return h;
}

// Notes, for one key, the lines that open it, delete it (or a key above it)
// and set or delete its values; every other key is checked and dropped.
class KeyIndexSink final : public ReadSink {
public:
    explicit KeyIndexSink(std::u16string_view path, std::vector<RegKeyIndex::Event>& events)
        : m_path(path), m_events(events)
    {
    }

    void comment(std::u16string_view) override {}

    std::size_t openKey(std::u16string_view path) override
    {
        if (!sameName(path, m_path))
            return Other;
        m_events.push_back({RegKeyIndex::Event::Opened, 0, 0});
        return Ours;
    }

    void deleteKey(std::u16string_view path) override
    {
        const bool above = m_path.size() > path.size() && m_path[path.size()] == u'\\'
            && sameName(m_path.substr(0, path.size()), path);
        if (above || sameName(path, m_path))
            m_events.push_back({RegKeyIndex::Event::KeyDeleted, 0, 0});
    }

    void setValue(std::size_t key, ValueLine&& value, std::size_t lineStart) override
    {
        if (key == Ours)
            m_events.push_back({RegKeyIndex::Event::ValueSet, nameHash(value.name), lineStart});
    }

    void deleteValue(std::size_t key, const std::u16string& name, std::size_t lineStart) override
    {
        if (key == Ours)
            m_events.push_back({RegKeyIndex::Event::ValueDeleted, nameHash(name), lineStart});
    }

private:
    static constexpr std::size_t Ours = 0;
    static constexpr std::size_t Other = 1;
    std::u16string_view m_path;
    std::vector<RegKeyIndex::Event>& m_events;
};

} // namespace

std::optional<RegKeyIndex> RegKeyIndex::read(std::span<const std::uint8_t> bytes, std::u16string_view path,
                                             std::string* error)
{
    Reader reader(error, nullptr);
    std::optional<std::u16string> text = reader.decode(bytes);
    if (!text)
        return std::nullopt;
    RegKeyIndex index;
    index.m_text = std::move(*text);
    KeyIndexSink sink(path, index.m_events);
    if (!reader.read(index.m_text, sink))
        return std::nullopt;
    return index;
}

bool RegKeyIndex::exists() const
{
    for (auto e = m_events.rbegin(); e != m_events.rend(); ++e) {
        if (e->kind == Event::KeyDeleted)
            return false;
        if (e->kind == Event::Opened)
            return true;
    }
    return false;
}

std::optional<RegDocument::Value> RegKeyIndex::value(std::u16string_view name) const
{
    // The last line that names the value decides, unless the key was deleted after it.
    const std::uint32_t hash = nameHash(name);
    for (auto e = m_events.rbegin(); e != m_events.rend(); ++e) {
        if (e->kind == Event::KeyDeleted)
            return std::nullopt;
        if (e->kind == Event::Opened || e->nameHash != hash)
            continue;
        Lines lines(m_text, e->lineStart);
        ValueLine v = readValueLine(trim(lines.take()), lines);
        if (!sameName(v.name, name))
            continue;
        if (v.kind != ValueLine::Set)
            return std::nullopt;
        return RegDocument::Value{std::move(v.name), v.type, std::move(v.data), {}};
    }
    return std::nullopt;
}

std::optional<RegDocument> RegDocument::parse(std::span<const std::uint8_t> bytes, std::string* error)
{
    return readDocument(bytes, error, nullptr);
}

std::optional<RegDocument> RegDocument::parseSalvaging(std::span<const std::uint8_t> bytes,
                                                       std::vector<Problem>* problems)
{
    std::vector<Problem> ignored;
    return readDocument(bytes, nullptr, problems ? problems : &ignored);
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

std::string RegDocument::toUtf8Text() const { return platform::Utf16ToUtf8(serializeText(*this)); }

} // namespace settings
