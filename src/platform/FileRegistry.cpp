#include "platform/FileRegistry.h"

#include "platform/AtomicFile.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iterator>
#include <pwd.h>
#include <unistd.h>

namespace platform {

namespace fs = std::filesystem;

namespace {

constexpr std::u16string_view kRoot = u"HKEY_CURRENT_USER";

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

bool FileRegistry::loadDocument()
{
    m_doc = RegDocument{};
    std::error_code ec;
    if (!fs::exists(m_file, ec))
        return !ec;
    std::ifstream in(m_file, std::ios::binary);
    if (!in)
        return false; // unreadable (permissions): that is no damage, and nothing may be overwritten
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad())
        return false;
    std::string why;
    if (std::optional<RegDocument> doc = RegDocument::parse(bytes, &why)) {
        m_doc = std::move(*doc);
        return true;
    }
    std::fprintf(stderr, "Zarnolith: Einstellungsdatei %s ist beschädigt (%s)\n", m_file.c_str(), why.c_str());
    return setAside();
}

bool FileRegistry::setAside()
{
    char stamp[32];
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    const std::string base = m_file.string() + ".beschaedigt-" + stamp;
    std::error_code ec;
    fs::path target = base;
    for (int n = 2; fs::exists(target, ec) && n < 1000; ++n)
        target = base + "-" + std::to_string(n);
    fs::rename(m_file, target, ec);
    if (ec) {
        std::fprintf(stderr, "Zarnolith: %s lässt sich nicht beiseitelegen: %s\n", m_file.c_str(), ec.message().c_str());
        return false;
    }
    std::fprintf(stderr, "Zarnolith: beschädigte Einstellungen liegen jetzt unter %s\n", target.c_str());
    m_setAside = target;
    return true;
}

bool FileRegistry::save()
{
    std::error_code ec;
    fs::create_directories(m_file.parent_path(), ec);
    std::string why;
    if (!WriteFileAtomically(m_file, m_doc.serialize(), &why)) {
        std::fprintf(stderr, "Zarnolith: %s nicht gespeichert: %s\n", m_file.c_str(), why.c_str());
        return false;
    }
    return true;
}

bool FileRegistry::OpenKey(std::u16string_view path, bool canCreate)
{
    CloseKey();
    m_setAside.clear();
    while (!path.empty() && path.front() == u'\\')
        path.remove_prefix(1);
    if (!loadDocument())
        return false;
    std::u16string full = std::u16string(kRoot) + u'\\' + std::u16string(path);
    if (!m_doc.findKey(full)) {
        if (!canCreate)
            return false;
        m_doc.findOrAddKey(full);
        if (!save())
            return false;
    }
    m_keyPath = std::move(full);
    return true;
}

void FileRegistry::CloseKey()
{
    if (!m_staged.empty()) {
        std::string why;
        if (!CommitStagedFile(m_staged, m_file, &why))
            std::fprintf(stderr, "Zarnolith: %s nicht gespeichert: %s\n", m_file.c_str(), why.c_str());
        m_staged.clear();
    }
    m_keyPath.clear();
    m_doc = RegDocument{};
}

RegDocument::Key* FileRegistry::openKey() { return m_keyPath.empty() ? nullptr : m_doc.findKey(m_keyPath); }

std::optional<RegValueInfo> FileRegistry::QueryValueInfo(std::u16string_view name)
{
    RegDocument::Key* key = openKey();
    if (!key)
        return std::nullopt;
    const RegDocument::Value* v = RegDocument::findValue(*key, name);
    if (!v)
        return std::nullopt;
    return RegValueInfo{v->type, static_cast<std::uint32_t>(v->data.size())};
}

std::optional<RegValueData> FileRegistry::QueryValue(std::u16string_view name, std::uint32_t maxBytes)
{
    RegDocument::Key* key = openKey();
    if (!key)
        return std::nullopt;
    const RegDocument::Value* v = RegDocument::findValue(*key, name);
    if (!v || v->data.size() > maxBytes)
        return std::nullopt;
    return RegValueData{v->type, v->data};
}

bool FileRegistry::SetValue(std::u16string_view name, std::uint32_t type, std::span<const std::uint8_t> data)
{
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
        return true;
    }
    std::fprintf(stderr, "Zarnolith: %s nicht gespeichert: %s\n", m_file.c_str(), why.c_str());
    m_doc = before; // what is in memory stays what will reach the disk
    return false;
}

} // namespace platform

namespace platform {
std::unique_ptr<IRegistry> CreateUserRegistry() { return std::make_unique<FileRegistry>(); }
} // namespace platform
