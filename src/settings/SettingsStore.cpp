#include "settings/SettingsStore.h"

#include "settings/TRegistry.h"

#include <QStringList>

#include <algorithm>
#include <chrono>
#include <exception>
#include <ranges>
#include <string>
#include <string_view>
#include <thread>
#include <variant>

namespace settings {

namespace {

// What the stored values describe: the display font and the text-background index.
struct Displayed {
    TFont& font;
    const std::function<int()>& readHintergrundNr;
    const std::function<void(int)>& writeHintergrundNr;
};

// A value as the key holds it: text or a 32-bit integer.
using StoredValue = std::variant<std::u16string, std::int32_t>;

// One stored value: its name, its type and the value a load takes when it is missing (both
// given by byDefault), how a load applies it and what a save writes.
struct Setting {
    std::u16string_view name;
    StoredValue byDefault;
    void (*apply)(const Displayed&, const StoredValue&);
    StoredValue (*current)(const Displayed&);
};

std::int32_t Integer(const StoredValue& value) { return std::get<std::int32_t>(value); }

// The six values, in the order a save writes them (and a new file lists them). A load takes
// HintColor last: setting the index applies and lays the window out, with the font read before.
const Setting kSettings[] = {
    {u"HintColor", 1, [](const Displayed& d, const StoredValue& v) { d.writeHintergrundNr(Integer(v)); },
     [](const Displayed& d) -> StoredValue { return d.readHintergrundNr(); }},
    {u"FontName", std::u16string(u"Arial"),
     [](const Displayed& d, const StoredValue& v) {
         d.font.Name = QString::fromStdU16String(std::get<std::u16string>(v));
     },
     [](const Displayed& d) -> StoredValue { return d.font.Name.toStdU16String(); }},
    {u"FontSize", 14, [](const Displayed& d, const StoredValue& v) { d.font.setSize(Integer(v)); },
     [](const Displayed& d) -> StoredValue { return d.font.Size(); }},
    {u"FontColor", static_cast<std::int32_t>(ColorValue::clWindowText),
     [](const Displayed& d, const StoredValue& v) { d.font.Color.raw = static_cast<std::uint32_t>(Integer(v)); },
     [](const Displayed& d) -> StoredValue { return static_cast<std::int32_t>(d.font.Color.raw); }},
    {u"FontCharSet", 0,
     [](const Displayed& d, const StoredValue& v) { d.font.Charset = static_cast<std::uint8_t>(Integer(v) & 0xFF); },
     [](const Displayed& d) -> StoredValue { return static_cast<std::int32_t>(d.font.Charset); }},
    {u"FontStyle", -1,
     [](const Displayed& d, const StoredValue& v) { d.font.Style = SettingsStore::StyleFromBits(Integer(v)); },
     [](const Displayed& d) -> StoredValue { return SettingsStore::StyleBits(d.font.Style); }},
};

// The stored value, or the default when it is missing; an empty text counts as missing.
StoredValue Read(TRegistry& reg, const Setting& setting)
{
    if (std::holds_alternative<std::u16string>(setting.byDefault)) {
        std::u16string text = reg.ReadString(setting.name);
        return text.empty() ? setting.byDefault : StoredValue(std::move(text));
    }
    return reg.ValueExists(setting.name) ? StoredValue(reg.ReadInteger(setting.name)) : setting.byDefault;
}

void Write(TRegistry& reg, const Setting& setting, const StoredValue& value)
{
    if (const auto* text = std::get_if<std::u16string>(&value))
        reg.WriteString(setting.name, *text);
    else
        reg.WriteInteger(setting.name, Integer(value));
}

} // namespace

ISettingsEnvironment& SystemSettingsEnvironment()
{
    struct System final : ISettingsEnvironment {
        std::unique_ptr<settings::IRegistry> OpenRegistry() override { return settings::CreateUserRegistry(); }
        void Pause(int milliseconds) override { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }
    };
    static System system;
    return system;
}

SettingsStore::SettingsStore(TFont& displayFont, std::function<int()> readHintergrundNr,
                             std::function<void(int)> writeHintergrundNr, ISettingsEnvironment& environment)
    : m_font(displayFont), m_readHintergrundNr(std::move(readHintergrundNr)),
      m_writeHintergrundNr(std::move(writeHintergrundNr)), m_environment(environment)
{
}

int SettingsStore::StyleBits(const TFontStyles& style)
{
    return (style.italic ? 1 : 0) | (style.bold ? 2 : 0) | (style.underline ? 4 : 0) | (style.strikeOut ? 8 : 0);
}

TFontStyles SettingsStore::StyleFromBits(int bits)
{
    TFontStyles style;
    if (bits == -1)
        return style;
    style.italic = (bits & 1) != 0;
    style.bold = (bits & 2) != 0;
    style.underline = (bits & 4) != 0;
    style.strikeOut = (bits & 8) != 0;
    return style;
}

QString SettingsStore::NoticeText(const settings::RegRepair& repair)
{
    QString text = QStringLiteral("Die Einstellungsdatei war beschädigt. Sie wurde unverändert aufbewahrt als:\n%1\n\n")
                       .arg(QString::fromStdString(repair.keptCopy));
    const bool wholeFile = std::any_of(repair.unread.begin(), repair.unread.end(),
                                       [](const settings::RegRepair::Unread& u) { return u.line == 0; });
    if (wholeFile)
        return text + QStringLiteral("Keine Einstellung konnte daraus gelesen werden; es gelten die Standardwerte.");
    // A long list helps nobody in a box: the first ten, then how many more.
    constexpr std::size_t kAtMost = 10;
    QStringList parts;
    for (std::size_t i = 0; i < repair.unread.size() && i < kAtMost; ++i) {
        const settings::RegRepair::Unread& u = repair.unread[i];
        if (u.valueName)
            parts << QStringLiteral("'%1' (Zeile %2)").arg(QString::fromStdU16String(*u.valueName)).arg(u.line);
        else
            parts << QStringLiteral("Zeile %1").arg(u.line);
    }
    if (repair.unread.size() > kAtMost)
        parts << QStringLiteral("und %1 weitere").arg(repair.unread.size() - kAtMost);
    return text
        + QStringLiteral("Nicht gelesen werden konnte: %1.\nAlles Übrige wurde übernommen; für das Fehlende gelten die "
                         "Standardwerte.")
              .arg(parts.join(QStringLiteral(", ")));
}

void SettingsStore::RegistryLadenSpeichern(bool LadenS)
{
    auto reg = std::make_unique<TRegistry>(m_environment.OpenRegistry());
    std::exception_ptr failure;
    try {
        const bool opened = reg->OpenKey(u"\\Software\\Zarnolith", true);
        if (LadenS) {
            if (const std::optional<settings::RegRepair> repair = reg->Repair())
                m_notice = NoticeText(*repair);
        }
        if (opened) {
            const Displayed displayed{m_font, m_readHintergrundNr, m_writeHintergrundNr};
            if (LadenS) {
                for (const Setting& setting : kSettings | std::views::drop(1))
                    setting.apply(displayed, Read(*reg, setting));
                kSettings[0].apply(displayed, Read(*reg, kSettings[0]));
            } else {
                for (const Setting& setting : kSettings)
                    Write(*reg, setting, setting.current(displayed));
            }
            reg->CloseKey();
        }
    } catch (...) {
        failure = std::current_exception();
    }
    // Every call ends with the short pause, then the key is released (closed if still open).
    m_environment.Pause(10);
    reg.reset();
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace settings
