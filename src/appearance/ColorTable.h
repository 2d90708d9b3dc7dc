#pragma once
// The named colours: the 19 text-background colours and the 16 text colours of
// the font window. Values as 00BBGGRR (red in the lowest byte).
#include <array>
#include <cstdint>
#include <iterator>
#include <string_view>

// One named colour. The constructor takes both parts, so an entry whose value
// was forgotten does not compile.
struct ColorEntry {
    constexpr ColorEntry(std::u16string_view name, std::uint32_t value) : Name(name), Wert(value) {}
    std::u16string_view Name;
    std::uint32_t Wert;
};

// The text-background colours, in list order. "Dunkelgrau" has the same value
// as "Grau" and "Hellgrau" the same as "Silber"; the index, not the value, is
// the user's choice.
inline constexpr ColorEntry ColorTable[] = {
    {u"Schwarz", 0x00000000},    {u"Weiß", 0x00FFFFFF},       {u"Gelb", 0x0000FFFF},     {u"Blau", 0x00FF0000},
    {u"Marineblau", 0x00800000}, {u"Himmelblau", 0x00F0CAA6}, {u"Blaugrün", 0x00808000}, {u"Grün", 0x00008000},
    {u"Minzgrün", 0x00C0DCC0},   {u"Gelbgrün", 0x0000FF00},   {u"Olivgrün", 0x00008080}, {u"Grau", 0x00808080},
    {u"Dunkelgrau", 0x00808080}, {u"Hellgrau", 0x00C0C0C0},   {u"Rot", 0x000000FF},      {u"Purpur", 0x00800080},
    {u"Lila", 0x00FF00FF},       {u"Silber", 0x00C0C0C0},     {u"Braun", 0x00000080},
};

inline constexpr int ColorCount = static_cast<int>(std::size(ColorTable));

// The names and the values by index, read from the table above.
inline constexpr std::array<std::u16string_view, ColorCount> FarbNamen = [] {
    std::array<std::u16string_view, ColorCount> nameList{};
    for (int i = 0; i < ColorCount; ++i)
        nameList[i] = ColorTable[i].Name;
    return nameList;
}();

inline constexpr std::array<std::uint32_t, ColorCount> FarbWerte = [] {
    std::array<std::uint32_t, ColorCount> valueList{};
    for (int i = 0; i < ColorCount; ++i)
        valueList[i] = ColorTable[i].Wert;
    return valueList;
}();

// The text colours the font window offers, in list order.
inline constexpr ColorEntry TextColorTable[] = {
    {u"Schwarz", 0x000000},    {u"Dunkelrot", 0x000080}, {u"Grün", 0x008000},      {u"Oliv", 0x008080},
    {u"Marineblau", 0x800000}, {u"Violett", 0x800080},   {u"Blaugrün", 0x808000},  {u"Grau", 0x808080},
    {u"Silber", 0xC0C0C0},     {u"Rot", 0x0000FF},       {u"Hellgrün", 0x00FF00},  {u"Gelb", 0x00FFFF},
    {u"Blau", 0xFF0000},       {u"Fuchsie", 0xFF00FF},   {u"Aquamarin", 0xFFFF00}, {u"Weiß", 0xFFFFFF},
};
