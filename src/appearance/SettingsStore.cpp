#include "appearance/SettingsStore.h"

#include "platform/TRegistry.h"

#include <QStringList>

#include <algorithm>
#include <chrono>
#include <exception>
#include <thread>

ISettingsEnvironment& SystemSettingsEnvironment()
{
    struct System final : ISettingsEnvironment {
        std::unique_ptr<platform::IRegistry> OpenRegistry() override { return platform::CreateUserRegistry(); }
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

QString SettingsStore::NoticeText(const platform::RegRepair& repair)
{
    QString text = QStringLiteral("Die Einstellungsdatei war beschädigt. Sie wurde unverändert aufbewahrt als:\n%1\n\n")
                       .arg(QString::fromStdString(repair.keptCopy));
    const bool wholeFile = std::any_of(repair.unread.begin(), repair.unread.end(),
                                       [](const platform::RegRepair::Unread& u) { return u.line == 0; });
    if (wholeFile)
        return text + QStringLiteral("Keine Einstellung konnte daraus gelesen werden; es gelten die Standardwerte.");
    // A long list helps nobody in a box: the first ten, then how many more.
    constexpr std::size_t kAtMost = 10;
    QStringList parts;
    for (std::size_t i = 0; i < repair.unread.size() && i < kAtMost; ++i) {
        const platform::RegRepair::Unread& u = repair.unread[i];
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
    auto reg = std::make_unique<platform::TRegistry>(m_environment.OpenRegistry());
    std::exception_ptr failure;
    try {
        const bool opened = reg->OpenKey(u"\\Software\\Zarnolith", true);
        if (LadenS) {
            if (const std::optional<platform::RegRepair> repair = reg->Repair())
                m_notice = NoticeText(*repair);
        }
        if (opened) {
            if (LadenS) {
                const QString name = QString::fromStdU16String(reg->ReadString(u"FontName"));
                m_font.Name = name.isEmpty() ? QStringLiteral("Arial") : name;

                m_font.setSize(reg->ValueExists(u"FontSize") ? reg->ReadInteger(u"FontSize") : 14);

                m_font.Color.raw = reg->ValueExists(u"FontColor")
                    ? static_cast<std::uint32_t>(reg->ReadInteger(u"FontColor"))
                    : ColorValue::clWindowText;

                m_font.Charset = reg->ValueExists(u"FontCharSet")
                    ? static_cast<std::uint8_t>(reg->ReadInteger(u"FontCharSet") & 0xFF)
                    : 0;

                const int fontStyle = reg->ValueExists(u"FontStyle") ? reg->ReadInteger(u"FontStyle") : -1;
                m_font.Style = StyleFromBits(fontStyle);

                m_writeHintergrundNr(reg->ValueExists(u"HintColor") ? reg->ReadInteger(u"HintColor") : 1);
            } else {
                reg->WriteInteger(u"HintColor", m_readHintergrundNr());
                reg->WriteString(u"FontName", m_font.Name.toStdU16String());
                reg->WriteInteger(u"FontSize", m_font.Size());
                reg->WriteInteger(u"FontColor", static_cast<std::int32_t>(m_font.Color.raw));
                reg->WriteInteger(u"FontCharSet", m_font.Charset);
                reg->WriteInteger(u"FontStyle", StyleBits(m_font.Style));
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
