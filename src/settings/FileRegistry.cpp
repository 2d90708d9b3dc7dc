#include "settings/FileRegistry.h"

#include "settings/AtomicFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace settings {

namespace fs = std::filesystem;

namespace {

constexpr std::u16string_view kRoot = u"HKEY_CURRENT_USER";

// When this instance began (the library is loaded at start): staged files
// older than this were left by an earlier, interrupted run.
const struct timespec kInstanceStart = [] {
    struct timespec t {};
    ::clock_gettime(CLOCK_REALTIME, &t);
    return t;
}();

fs::path homeDirectory()
{
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir)
        return pw->pw_dir;
    return ".";
}

} // namespace

FileRegistry::FileRegistry(fs::path file) : m_file(std::move(file)) {}

FileRegistry::~FileRegistry() { CloseKey(); }

fs::path FileRegistry::DefaultFile()
{
    // A relative XDG_CONFIG_HOME is invalid and to be ignored.
    fs::path base;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg && fs::path(xdg).is_absolute())
        base = xdg;
    else
        base = homeDirectory() / ".config";
    return base / "Zarnolith" / "Zarnolith.reg";
}

bool FileRegistry::FileState::sameAs(const FileState& other) const
{
    // The time and identity alone would miss an editor that rewrote the file
    // in place within the same clock tick; the contents settle it.
    return kind == other.kind
        && (kind != Read
            || (device == other.device && inode == other.inode && modified.tv_sec == other.modified.tv_sec
                && modified.tv_nsec == other.modified.tv_nsec && bytes == other.bytes));
}

FileRegistry::FileState FileRegistry::ReadFile(const fs::path& file)
{
    FileState state;
    // Non-blocking, so a pipe at the path cannot hold the program up; it is then refused below.
    const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        state.kind = errno == ENOENT ? FileState::Missing : FileState::Unusable;
        return state;
    }
    struct stat st {};
    state.kind = FileState::Unusable;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        state.device = st.st_dev;
        state.inode = st.st_ino;
        state.modified = st.st_mtim;
        // As large as the file claims to be, and one byte more, which tells a file that has grown
        // past the limit whatever its size claimed.
        const auto claimed = static_cast<std::size_t>(std::max<off_t>(st.st_size, 0));
        std::vector<std::uint8_t> bytes(std::min(claimed, MaxFileBytes) + 1);
        std::size_t got = 0;
        bool failed = false;
        for (;;) {
            if (got == bytes.size()) {
                if (bytes.size() > MaxFileBytes)
                    break;
                bytes.resize(std::min(bytes.size() * 2, MaxFileBytes + 1));
            }
            const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                failed = n < 0;
                break;
            }
            got += static_cast<std::size_t>(n);
        }
        if (!failed) {
            bytes.resize(got);
            state.kind = got > MaxFileBytes ? FileState::TooLarge : FileState::Read;
            if (state.kind == FileState::Read)
                state.bytes = std::move(bytes);
        }
    }
    ::close(fd);
    return state;
}

bool FileRegistry::loadDocument()
{
    m_doc = RegDocument{};
    m_index.reset();
    m_opened = ReadFile(m_file);
    RegRepair repair;
    switch (m_opened.kind) {
    case FileState::Missing: return true;
    case FileState::Unusable:
        // Not a file we can read (a directory, a pipe, no permission): no damage, and nothing may be overwritten.
        std::fprintf(stderr, "Zarnolith: Einstellungsdatei %s ist nicht lesbar\n", m_file.c_str());
        return false;
    case FileState::TooLarge:
        std::fprintf(stderr, "Zarnolith: Einstellungsdatei %s ist größer als %zu Bytes\n", m_file.c_str(),
                     MaxFileBytes);
        repair.unread.push_back({});
        break;
    case FileState::Read: {
        std::string why;
        // Reading needs the key alone; the whole document is built when something is written.
        if ((m_index = RegKeyIndex::read(m_opened.bytes, m_keyPath, &why)))
            return true;
        std::fprintf(stderr, "Zarnolith: Einstellungsdatei %s ist beschädigt (%s)\n", m_file.c_str(), why.c_str());
        // Every line that can still be read is kept; a bad line costs its own value at most.
        std::vector<RegDocument::Problem> problems;
        if (std::optional<RegDocument> salvaged = RegDocument::parseSalvaging(m_opened.bytes, &problems)) {
            m_doc = std::move(*salvaged);
            for (const RegDocument::Problem& p : problems)
                repair.unread.push_back({p.line, p.valueName});
        } else {
            repair.unread.push_back({});
        }
        break;
    }
    }
    if (!setAside()) {
        m_doc = RegDocument{};
        return false;
    }
    repair.keptCopy = m_setAside.string();
    m_repair = std::move(repair);
    return true;
}

bool FileRegistry::setAside()
{
    char stamp[32];
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    // Through a symbolic link it is the file itself that is set aside; the link stays.
    const fs::path file = ResolveTarget(m_file);
    const std::string base = file.string() + ".beschaedigt-" + stamp;
    std::error_code ec;
    fs::path target = base;
    for (int n = 2; fs::exists(fs::symlink_status(target, ec)) && n < 1000; ++n)
        target = base + "-" + std::to_string(n);
    fs::rename(file, target, ec);
    if (ec) {
        std::fprintf(stderr, "Zarnolith: %s lässt sich nicht beiseitelegen: %s\n", m_file.c_str(),
                     ec.message().c_str());
        return false;
    }
    std::fprintf(stderr, "Zarnolith: beschädigte Einstellungen liegen jetzt unter %s\n", target.c_str());
    m_setAside = target;
    return true;
}

bool FileRegistry::save()
{
    std::error_code ec;
    fs::create_directories(ResolveTarget(m_file).parent_path(), ec);
    std::string why;
    if (!WriteFileAtomically(m_file, m_doc.serialize(), &why)) {
        std::fprintf(stderr, "Zarnolith: %s nicht gespeichert: %s\n", m_file.c_str(), why.c_str());
        return false;
    }
    RemoveStaleStagedFiles(m_file, kInstanceStart);
    m_opened = ReadFile(m_file);
    return true;
}

bool FileRegistry::commit()
{
    std::string why = "die Datei ändert sich laufend";
    // Each round merges into the file as it is now; another program saving
    // again in between makes another round.
    for (int round = 0; round < 5; ++round) {
        FileState now = ReadFile(m_file);
        if (now.sameAs(m_opened) || now.kind == FileState::Missing) {
            if (!CommitStagedFile(m_staged, m_file, &why))
                break;
            m_staged.clear();
            RemoveStaleStagedFiles(m_file, kInstanceStart);
            return true;
        }
        // Changed on disk since the key was opened. What we cannot read we must not overwrite.
        std::optional<RegDocument> newer;
        if (now.kind == FileState::Read)
            newer = RegDocument::parse(now.bytes);
        if (!newer) {
            why = "die Datei wurde inzwischen durch etwas Unlesbares ersetzt";
            break;
        }
        RegDocument::Key& key = newer->findOrAddKey(m_keyPath);
        for (const Written& w : m_written)
            RegDocument::setValue(key, w.name, w.type, w.data);
        fs::path staged;
        if (!StageFile(m_file, newer->serialize(), &staged, &why))
            break;
        ::unlink(m_staged.c_str());
        m_staged = std::move(staged);
        m_doc = std::move(*newer);
        m_opened = std::move(now);
    }
    std::fprintf(stderr, "Zarnolith: %s nicht gespeichert: %s\n", m_file.c_str(), why.c_str());
    if (!m_staged.empty())
        ::unlink(m_staged.c_str());
    m_staged.clear();
    return false;
}

void FileRegistry::wholeDocument()
{
    if (!m_index)
        return;
    // The bytes the index was read from: this reading succeeds as that one did.
    m_doc = RegDocument::parse(m_opened.bytes).value_or(RegDocument{});
    m_index.reset();
}

bool FileRegistry::keyExists() { return m_index ? m_index->exists() : m_doc.findKey(m_keyPath) != nullptr; }

bool FileRegistry::OpenKey(std::u16string_view path, bool canCreate)
{
    CloseKey();
    m_setAside.clear();
    m_repair.reset();
    while (!path.empty() && path.front() == u'\\')
        path.remove_prefix(1);
    m_keyPath = std::u16string(kRoot) + u'\\' + std::u16string(path);
    if (!loadDocument()) {
        m_keyPath.clear();
        return false;
    }
    // What was saved from a damaged file goes back to disk at once.
    bool mustWrite = !m_setAside.empty();
    if (!keyExists() && canCreate) {
        wholeDocument();
        m_doc.findOrAddKey(m_keyPath);
        mustWrite = true;
    }
    if ((mustWrite && !save()) || !keyExists()) {
        m_doc = RegDocument{};
        m_index.reset();
        m_keyPath.clear();
        return false;
    }
    return true;
}

bool FileRegistry::CloseKey()
{
    const bool stored = m_staged.empty() || commit();
    m_staged.clear();
    m_written.clear();
    m_keyPath.clear();
    m_doc = RegDocument{};
    m_index.reset();
    return stored;
}

RegDocument::Key* FileRegistry::openKey() { return m_keyPath.empty() ? nullptr : m_doc.findKey(m_keyPath); }

std::optional<RegDocument::Value> FileRegistry::findValue(std::u16string_view name)
{
    if (m_keyPath.empty())
        return std::nullopt;
    if (m_index)
        return m_index->value(name);
    RegDocument::Key* key = openKey();
    const RegDocument::Value* v = key ? RegDocument::findValue(*key, name) : nullptr;
    if (!v)
        return std::nullopt;
    return *v;
}

std::optional<RegValueInfo> FileRegistry::QueryValueInfo(std::u16string_view name)
{
    const std::optional<RegDocument::Value> v = findValue(name);
    if (!v)
        return std::nullopt;
    return RegValueInfo{v->type, static_cast<std::uint32_t>(v->data.size())};
}

std::optional<RegValueData> FileRegistry::QueryValue(std::u16string_view name, std::uint32_t maxBytes)
{
    std::optional<RegDocument::Value> v = findValue(name);
    if (!v || v->data.size() > maxBytes)
        return std::nullopt;
    return RegValueData{v->type, std::move(v->data)};
}

bool FileRegistry::SetValue(std::u16string_view name, std::uint32_t type, std::span<const std::uint8_t> data)
{
    if (m_keyPath.empty())
        return false;
    wholeDocument();
    RegDocument::Key* key = openKey();
    if (!key)
        return false;
    const RegDocument before = m_doc;
    RegDocument::setValue(*key, name, type, std::vector<std::uint8_t>(data.begin(), data.end()));
    fs::path staged;
    std::string why;
    if (StageFile(m_file, m_doc.serialize(), &staged, &why)) {
        if (!m_staged.empty())
            ::unlink(m_staged.c_str());
        m_staged = std::move(staged);
        m_written.push_back(Written{std::u16string(name), type, std::vector<std::uint8_t>(data.begin(), data.end())});
        return true;
    }
    std::fprintf(stderr, "Zarnolith: %s nicht gespeichert: %s\n", m_file.c_str(), why.c_str());
    m_doc = before; // what is in memory stays what will reach the disk
    return false;
}

} // namespace settings
