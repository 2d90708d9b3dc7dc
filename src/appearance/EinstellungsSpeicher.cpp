#include "appearance/EinstellungsSpeicher.h"

#include "platform/TRegistry.h"

#include <QStringList>

#include <algorithm>
#include <chrono>
#include <exception>
#include <thread>

EinstellungsSpeicher::EinstellungsSpeicher(TFont& schrift, std::function<int()> hintergrundNrLesen,
                                           std::function<void(int)> hintergrundNrSchreiben)
    : m_schrift(schrift)
    , m_hintergrundNrLesen(std::move(hintergrundNrLesen))
    , m_hintergrundNrSchreiben(std::move(hintergrundNrSchreiben))
    , m_fabrik(platform::CreateUserRegistry)
    , m_pause([](int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); })
{
}

int EinstellungsSpeicher::StilBits(const TFontStyles& style)
{
    return (style.italic ? 1 : 0) | (style.bold ? 2 : 0) | (style.underline ? 4 : 0) | (style.strikeOut ? 8 : 0);
}

TFontStyles EinstellungsSpeicher::StilAusBits(int bits)
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

QString EinstellungsSpeicher::HinweisText(const platform::RegRepair& reparatur)
{
    QString text = QStringLiteral("Die Einstellungsdatei war beschädigt. Sie wurde unverändert aufbewahrt als:\n%1\n\n")
                       .arg(QString::fromStdString(reparatur.keptCopy));
    const bool ganzeDatei = std::any_of(reparatur.unread.begin(), reparatur.unread.end(),
                                        [](const platform::RegRepair::Unread& u) { return u.line == 0; });
    if (ganzeDatei)
        return text + QStringLiteral("Keine Einstellung konnte daraus gelesen werden; es gelten die Standardwerte.");
    // A long list helps nobody in a box: the first ten, then how many more.
    constexpr std::size_t kHoechstens = 10;
    QStringList teile;
    for (std::size_t i = 0; i < reparatur.unread.size() && i < kHoechstens; ++i) {
        const platform::RegRepair::Unread& u = reparatur.unread[i];
        if (u.valueName)
            teile << QStringLiteral("'%1' (Zeile %2)").arg(QString::fromStdU16String(*u.valueName)).arg(u.line);
        else
            teile << QStringLiteral("Zeile %1").arg(u.line);
    }
    if (reparatur.unread.size() > kHoechstens)
        teile << QStringLiteral("und %1 weitere").arg(reparatur.unread.size() - kHoechstens);
    return text + QStringLiteral("Nicht gelesen werden konnte: %1.\nAlles Übrige wurde übernommen; für das Fehlende gelten die Standardwerte.")
                      .arg(teile.join(QStringLiteral(", ")));
}

void EinstellungsSpeicher::RegistryLadenSpeichern(bool LadenS)
{
    auto reg = std::make_unique<platform::TRegistry>(m_fabrik());
    std::exception_ptr fehler;
    try {
        const bool geoeffnet = reg->OpenKey(u"\\Software\\Zarnolith", true);
        if (LadenS) {
            if (const std::optional<platform::RegRepair> reparatur = reg->Repair())
                m_hinweis = HinweisText(*reparatur);
        }
        if (geoeffnet) {
            if (LadenS) {
                const QString name = QString::fromStdU16String(reg->ReadString(u"FontName"));
                m_schrift.Name = name.isEmpty() ? QStringLiteral("Arial") : name;

                m_schrift.setSize(reg->ValueExists(u"FontSize") ? reg->ReadInteger(u"FontSize") : 14);

                m_schrift.Color.raw = reg->ValueExists(u"FontColor")
                    ? static_cast<std::uint32_t>(reg->ReadInteger(u"FontColor"))
                    : ColorValue::clWindowText;

                m_schrift.Charset = reg->ValueExists(u"FontCharSet")
                    ? static_cast<std::uint8_t>(reg->ReadInteger(u"FontCharSet") & 0xFF)
                    : 0;

                const int stil = reg->ValueExists(u"FontStyle") ? reg->ReadInteger(u"FontStyle") : -1;
                m_schrift.Style = StilAusBits(stil);

                m_hintergrundNrSchreiben(reg->ValueExists(u"HintColor") ? reg->ReadInteger(u"HintColor") : 1);
            } else {
                reg->WriteInteger(u"HintColor", m_hintergrundNrLesen());
                reg->WriteString(u"FontName", m_schrift.Name.toStdU16String());
                reg->WriteInteger(u"FontSize", m_schrift.Size());
                reg->WriteInteger(u"FontColor", static_cast<std::int32_t>(m_schrift.Color.raw));
                reg->WriteInteger(u"FontCharSet", m_schrift.Charset);
                reg->WriteInteger(u"FontStyle", StilBits(m_schrift.Style));
            }
            reg->CloseKey();
        }
    } catch (...) {
        fehler = std::current_exception();
    }
    // Every call ends with the short pause, then the key is released (closed if still open).
    m_pause(10);
    reg.reset();
    if (fehler)
        std::rethrow_exception(fehler);
}
