#include "app/ShortCutToText.h"

namespace {

std::string keyName(std::uint8_t vk)
{
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9'))
        return std::string(1, static_cast<char>(vk));
    if (vk >= shortcut::KeyF1 && vk < shortcut::KeyF1 + 24)
        return "F" + std::to_string(vk - shortcut::KeyF1 + 1);
    // The keys a menu might name besides those, as the German keyboard labels them.
    switch (vk) {
    case 8: return "Rücktaste";
    case 9: return "Tab";
    case 13: return "Eingabe";
    case 27: return "Esc";
    case 32: return "Leer";
    case 33: return "Bild auf";
    case 34: return "Bild ab";
    case 35: return "Ende";
    case 36: return "Pos1";
    case 37: return "Links";
    case 38: return "Nach oben";
    case 39: return "Rechts";
    case 40: return "Nach unten";
    case 45: return "Einfg";
    case 46: return "Entf";
    default: return {};
    }
}

} // namespace

std::string ShortCutToText(std::uint16_t shortcut)
{
    std::string name = keyName(static_cast<std::uint8_t>(shortcut & 0xFF));
    if (name.empty())
        return {};
    std::string text;
    if (shortcut & shortcut::Shift)
        text += "Umsch+";
    if (shortcut & shortcut::Ctrl)
        text += "Strg+";
    if (shortcut & shortcut::Alt)
        text += "Alt+";
    return text + name;
}
