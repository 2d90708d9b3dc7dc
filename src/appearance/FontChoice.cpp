#include "appearance/FontChoice.h"

void ApplyFontChoice(TFont& font, const FontChoice& choice)
{
    font.Name = choice.Name;
    if (choice.Points)
        font.setSize(*choice.Points);
    font.Style.bold = choice.Gewicht > 400;
    font.Style.italic = choice.Kursiv;
    font.Style.underline = choice.Underlined;
    font.Style.strikeOut = choice.StruckOut;
    if (choice.Color)
        font.Color = *choice.Color;
    if (choice.Charset)
        font.Charset = *choice.Charset;
}
