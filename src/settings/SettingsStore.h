#pragma once
// Loads and saves the display font and the text-background index under the
// key "Software\Zarnolith" of the current user (values FontName, FontSize,
// FontColor, FontCharSet, FontStyle, HintColor). The main window owns one and
// passes its font object and its HintergrundNr property in.
#include "settings/IRegistry.h"
#include "ui/TFont.h"

#include <functional>
#include <memory>

namespace settings {

// What the store depends on besides the font and the index: where the values
// live and the short pause that ends every call. Tests hand in their own.
class ISettingsEnvironment {
public:
    virtual ~ISettingsEnvironment() = default;
    // A new handle on the store's registry for one load or save.
    virtual std::unique_ptr<settings::IRegistry> OpenRegistry() = 0;
    virtual void Pause(int milliseconds) = 0;
};

// The running program's own: the platform's user registry and a real sleep.
ISettingsEnvironment& SystemSettingsEnvironment();

class SettingsStore {
public:
    SettingsStore(TFont& displayFont, std::function<int()> readHintergrundNr,
                  std::function<void(int)> writeHintergrundNr,
                  ISettingsEnvironment& environment = SystemSettingsEnvironment());

    // true loads (and writes HintergrundNr, which applies and lays out), false
    // saves all six values. Registry errors (settings::ERegistryException) go on
    // to the caller after the key is closed.
    void RegistryLadenSpeichern(bool LadenS);

    // After a load that found the store damaged and set it aside: what to tell
    // the user (the kept copy, the values not read). Empty otherwise.
    const QString& Notice() const { return m_notice; }
    static QString NoticeText(const settings::RegRepair& repair);

    // Style bits as stored: italic 1, bold 2, underline 4, strike-out 8.
    static int StyleBits(const TFontStyles& style);
    // -1 (all bits set) means no style, as a missing value does; bits above 3 are ignored.
    static TFontStyles StyleFromBits(int bits);

private:
    TFont& m_font;
    std::function<int()> m_readHintergrundNr;
    std::function<void(int)> m_writeHintergrundNr;
    ISettingsEnvironment& m_environment;
    QString m_notice;
};

} // namespace settings
