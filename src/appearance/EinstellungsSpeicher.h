#pragma once
// Loads and saves the display font and the text-background index under the
// key "Software\Zarnolith" of the current user (values FontName, FontSize,
// FontColor, FontCharSet, FontStyle, HintColor). The main window owns one and
// passes its font object and its HintergrundNr property in.
#include "platform/IRegistry.h"
#include "ui/TFont.h"

#include <functional>
#include <memory>

class EinstellungsSpeicher {
public:
    using RegistryFabrik = std::function<std::unique_ptr<platform::IRegistry>()>;
    using Pause = std::function<void(int milliseconds)>;

    EinstellungsSpeicher(TFont& schrift, std::function<int()> hintergrundNrLesen,
                         std::function<void(int)> hintergrundNrSchreiben);

    // true loads (and writes HintergrundNr, which applies and lays out), false
    // saves all six values. Registry errors (platform::ERegistryException) go on
    // to the caller after the key is closed.
    void RegistryLadenSpeichern(bool LadenS);

    // Seams: where the store lives (default: the platform's user registry) and
    // the short pause that ends every call (default: a real sleep).
    void setRegistryFabrik(RegistryFabrik fabrik) { m_fabrik = std::move(fabrik); }
    void setPause(Pause pause) { m_pause = std::move(pause); }

    // After a load that found the store damaged and set it aside: what to tell
    // the user (the kept copy, the values not read). Empty otherwise.
    const QString& Hinweis() const { return m_hinweis; }
    static QString HinweisText(const platform::RegRepair& reparatur);

    // Style bits as stored: italic 1, bold 2, underline 4, strike-out 8.
    static int StilBits(const TFontStyles& style);
    // -1 (all bits set) means no style, as a missing value does; bits above 3 are ignored.
    static TFontStyles StilAusBits(int bits);

private:
    TFont& m_schrift;
    std::function<int()> m_hintergrundNrLesen;
    std::function<void(int)> m_hintergrundNrSchreiben;
    RegistryFabrik m_fabrik;
    Pause m_pause;
    QString m_hinweis;
};
