#include "appearance/AnzeigeZuweisen.h"

#include <QWidget>

void SchriftUndHintergrundZuweisen(QWidget& control, const TFont& font, ColorValue hintergrund)
{
    QPalette palette = control.palette();
    const QColor back = hintergrund.toQColor(palette);
    // Window is what opaque labels and status bars fill with, Base what fields and lists do.
    palette.setColor(QPalette::Window, back);
    palette.setColor(QPalette::Base, back);
    const QColor text = font.Color.toQColor(palette);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Text, text);
    control.setAutoFillBackground(true);
    control.setPalette(palette);
    control.setFont(font.toQFont());
}

void SchriftNameGroesseStilZuweisen(QWidget& button, const TFont& font)
{
    QFont f = button.font();
    f.setFamilies({font.Name});
    f.setPixelSize(font.AngewandtePixelHoehe());
    f.setBold(font.Style.bold);
    f.setItalic(font.Style.italic);
    f.setUnderline(font.Style.underline);
    f.setStrikeOut(font.Style.strikeOut);
    button.setFont(f);
}
