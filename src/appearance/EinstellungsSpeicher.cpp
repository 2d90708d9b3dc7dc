#include "appearance/EinstellungsSpeicher.h"

#include "platform/TRegistry.h"

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

void EinstellungsSpeicher::RegistryLadenSpeichern(bool LadenS)
{
    auto reg = std::make_unique<platform::TRegistry>(m_fabrik());
    std::exception_ptr fehler;
    try {
        if (reg->OpenKey(u"\\Software\\Zarnolith", true)) {
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
