#pragma once
// What the font dialog hands back, and how it goes into the display font:
// face and style always; the size unless it was left as shown (then the
// font's height stays exactly as it was); the colour only when the user picked
// one; the character set only when the user changed the script or the face.
#include "ui/TFont.h"

#include <cstdint>
#include <optional>

struct FontChoice {
    QString Name;
    std::optional<int> Points; // empty: the size stays exactly as it was
    int Weight = 400;          // Windows weights: 400 normal, 700 bold
    bool Italic = false;
    bool Underlined = false;
    bool StruckOut = false;
    std::optional<ColorValue> Color;     // set when the user picked a colour
    std::optional<std::uint8_t> Charset; // set when the user changed script or face
};

// Bold when the weight is above normal (400).
void ApplyFontChoice(TFont& font, const FontChoice& choice);
