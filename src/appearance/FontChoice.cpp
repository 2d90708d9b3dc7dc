#include "appearance/FontChoice.h"

void ApplyFontChoice(TFont& font, const FontChoice& choice)
{
    font.Name = choice.Name;
    if (choice.Points)
        font.setSize(*choice.Points);
    font.Style.bold = choice.Weight > 400;
    font.Style.italic = choice.Italic;
    font.Style.underline = choice.Underlined;
    font.Style.strikeOut = choice.StruckOut;
    if (choice.Color)
        font.Color = *choice.Color;
    if (choice.Charset)
        font.Charset = *choice.Charset;
}
