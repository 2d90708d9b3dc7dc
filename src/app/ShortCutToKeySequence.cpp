#include "app/ShortCutToKeySequence.h"

#include "app/ShortCutToText.h"

namespace {

int qtKey(std::uint8_t vk)
{
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9'))
        return vk; // Qt's letter and digit keys use the same codes
    if (vk >= shortcut::KeyF1 && vk < shortcut::KeyF1 + 24)
        return Qt::Key_F1 + (vk - shortcut::KeyF1);
    switch (vk) {
    case 8: return Qt::Key_Backspace;
    case 9: return Qt::Key_Tab;
    case 13: return Qt::Key_Return;
    case 27: return Qt::Key_Escape;
    case 32: return Qt::Key_Space;
    case 33: return Qt::Key_PageUp;
    case 34: return Qt::Key_PageDown;
    case 35: return Qt::Key_End;
    case 36: return Qt::Key_Home;
    case 37: return Qt::Key_Left;
    case 38: return Qt::Key_Up;
    case 39: return Qt::Key_Right;
    case 40: return Qt::Key_Down;
    case 45: return Qt::Key_Insert;
    case 46: return Qt::Key_Delete;
    default: return 0;
    }
}

} // namespace

QKeySequence ShortCutToKeySequence(std::uint16_t value)
{
    const int key = qtKey(static_cast<std::uint8_t>(value & 0xFF));
    if (key == 0)
        return {};
    Qt::KeyboardModifiers mods;
    if (value & shortcut::Shift)
        mods |= Qt::ShiftModifier;
    if (value & shortcut::Ctrl)
        mods |= Qt::ControlModifier;
    if (value & shortcut::Alt)
        mods |= Qt::AltModifier;
    return QKeySequence(QKeyCombination(mods, static_cast<Qt::Key>(key)));
}
