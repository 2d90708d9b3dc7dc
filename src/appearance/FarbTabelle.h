#pragma once
// The 19 text-background colours: names as the list shows them, values as
// 00BBGGRR. "Dunkelgrau" has the same value as "Grau" and "Hellgrau" the same
// as "Silber"; the index, not the value, is the user's choice.
#include <array>
#include <cstdint>
#include <string_view>

inline constexpr int FarbAnzahl = 19;

inline constexpr std::array<std::u16string_view, FarbAnzahl> FarbNamen = {
    u"Schwarz", u"Weiß", u"Gelb", u"Blau", u"Marineblau", u"Himmelblau", u"Blaugrün",
    u"Grün", u"Minzgrün", u"Gelbgrün", u"Olivgrün", u"Grau", u"Dunkelgrau", u"Hellgrau",
    u"Rot", u"Purpur", u"Lila", u"Silber", u"Braun",
};

inline constexpr std::array<std::uint32_t, FarbAnzahl> FarbWerte = {
    0x00000000, 0x00FFFFFF, 0x0000FFFF, 0x00FF0000, 0x00800000, 0x00F0CAA6, 0x00808000,
    0x00008000, 0x00C0DCC0, 0x0000FF00, 0x00008080, 0x00808080, 0x00808080, 0x00C0C0C0,
    0x000000FF, 0x00800080, 0x00FF00FF, 0x00C0C0C0, 0x00000080,
};
