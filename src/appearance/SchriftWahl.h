#pragma once
// What the font dialog hands back, and how it goes into the display font:
// face, size and style always; the colour only when the user picked one; the
// character set only when the user changed the script or the face.
#include "appearance/TFont.h"

#include <cstdint>
#include <optional>

struct SchriftWahl {
    QString Name;
    int Punkte = 14;
    int Gewicht = 400; // Windows weights: 400 normal, 700 bold
    bool Kursiv = false;
    bool Unterstrichen = false;
    bool Durchgestrichen = false;
    std::optional<ColorValue> Farbe;             // set when the user picked a colour
    std::optional<std::uint8_t> Zeichensatz;     // set when the user changed script or face
};

// Bold when the weight is above normal (400).
void SchriftWahlUebernehmen(TFont& font, const SchriftWahl& wahl);
