#pragma once
// What the font dialog hands back, and how it goes into the display font:
// face and style always; the size unless it was left as shown (then the
// font's height stays exactly as it was); the colour only when the user picked
// one; the character set only when the user changed the script or the face.
#include "ui/TFont.h"

#include <cstdint>
#include <optional>

struct SchriftWahl {
    QString Name;
    std::optional<int> Punkte;                   // empty: the size stays exactly as it was
    int Gewicht = 400; // Windows weights: 400 normal, 700 bold
    bool Kursiv = false;
    bool Unterstrichen = false;
    bool Durchgestrichen = false;
    std::optional<ColorValue> Farbe;             // set when the user picked a colour
    std::optional<std::uint8_t> Zeichensatz;     // set when the user changed script or face
};

// Bold when the weight is above normal (400).
void SchriftWahlUebernehmen(TFont& font, const SchriftWahl& wahl);
