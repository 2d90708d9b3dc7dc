#include "appearance/FontScripts.h"

#include <QFontDatabase>
#include <QList>
#include <algorithm>

namespace {

struct Script {
    int charset;
    const char* name;
};

constexpr Script kScripts[] = {
    {0, "Westlich"},
    {1, "Standard"},
    {2, "Symbol"},
    {77, "Mac"},
    {128, "Japanisch"},
    {129, "Koreanisch"},
    {130, "Koreanisch (Johab)"},
    {134, "Chinesisch (vereinfacht)"},
    {136, "Chinesisch (traditionell)"},
    {161, "Griechisch"},
    {162, "Türkisch"},
    {163, "Vietnamesisch"},
    {177, "Hebräisch"},
    {178, "Arabisch"},
    {186, "Baltisch"},
    {204, "Kyrillisch"},
    {222, "Thailändisch"},
    {238, "Mitteleuropäisch"},
    {255, "OEM/DOS"},
};

} // namespace

QString ScriptName(int charset)
{
    for (const Script& s : kScripts)
        if (s.charset == charset)
            return QString::fromUtf8(s.name);
    return QStringLiteral("Zeichensatz %1").arg(charset);
}

std::vector<int> ScriptsOfFont(const QString& family)
{
    std::vector<int> out;
    for (QFontDatabase::WritingSystem ws : QFontDatabase::writingSystems(family)) {
        switch (ws) {
        case QFontDatabase::Latin: out.insert(out.end(), {0, 162, 186, 238}); break;
        case QFontDatabase::Greek: out.push_back(161); break;
        case QFontDatabase::Cyrillic: out.push_back(204); break;
        case QFontDatabase::Hebrew: out.push_back(177); break;
        case QFontDatabase::Arabic: out.push_back(178); break;
        case QFontDatabase::Thai: out.push_back(222); break;
        case QFontDatabase::Vietnamese: out.push_back(163); break;
        case QFontDatabase::SimplifiedChinese: out.push_back(134); break;
        case QFontDatabase::TraditionalChinese: out.push_back(136); break;
        case QFontDatabase::Japanese: out.push_back(128); break;
        case QFontDatabase::Korean: out.push_back(129); break;
        case QFontDatabase::Symbol: out.push_back(2); break;
        default: break;
        }
    }
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    if (out.empty())
        out.push_back(0);
    return out;
}
