#pragma once
// Menu shortcuts as the program stores and shows them. A shortcut value is a
// 16-bit number: the Windows virtual-key code in the low byte plus the flags
// below. Its text is "Umsch+", "Strg+", "Alt+" (in that order, as held) and
// the key's name: a letter or digit as itself, a function key as "F" and its number.
#include <cstdint>
#include <string>

namespace shortcut {
constexpr std::uint16_t Shift = 0x2000;
constexpr std::uint16_t Ctrl = 0x4000;
constexpr std::uint16_t Alt = 0x8000;
constexpr std::uint16_t KeyF1 = 0x70;

constexpr std::uint16_t Make(std::uint16_t modifiers, char16_t key)
{
    return static_cast<std::uint16_t>(modifiers | key);
}
} // namespace shortcut

// UTF-8 text; empty for no shortcut and for a key that has no name.
std::string ShortCutToText(std::uint16_t shortcut);
