#include "appearance/SchriftWahl.h"

void SchriftWahlUebernehmen(TFont& font, const SchriftWahl& wahl)
{
    font.Name = wahl.Name;
    if (wahl.Punkte)
        font.setSize(*wahl.Punkte);
    font.Style.bold = wahl.Gewicht > 400;
    font.Style.italic = wahl.Kursiv;
    font.Style.underline = wahl.Unterstrichen;
    font.Style.strikeOut = wahl.Durchgestrichen;
    if (wahl.Farbe)
        font.Color = *wahl.Farbe;
    if (wahl.Zeichensatz)
        font.Charset = *wahl.Zeichensatz;
}
