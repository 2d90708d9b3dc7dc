#include "ui/TextContrast.h"

#include <QGuiApplication>
#include <algorithm>
#include <cmath>

namespace {

double linear(int channel)
{
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

} // namespace

double RelativeLuminance(const QColor& c)
{
    const QColor rgb = c.toRgb();
    return 0.2126 * linear(rgb.red()) + 0.7152 * linear(rgb.green()) + 0.0722 * linear(rgb.blue());
}

double ContrastRatio(const QColor& a, const QColor& b)
{
    const double la = RelativeLuminance(a);
    const double lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor StrongestOn(const QColor& background)
{
    const QColor black(0, 0, 0);
    const QColor white(255, 255, 255);
    return ContrastRatio(black, background) >= ContrastRatio(white, background) ? black : white;
}

QColor TextColorOn(ColorValue text, const QColor& background, const QPalette& palette)
{
    QColor drawn = text.toQColor(palette);
    if (!text.isSystemColor())
        return drawn;
    drawn.setAlpha(255); // a scheme's colour drawn as text is opaque
    if (ContrastRatio(drawn, background) >= kReadableTextContrast)
        return drawn;
    return StrongestOn(background);
}

QColor TextColorOn(ColorValue text, const QColor& background)
{
    return TextColorOn(text, background, QGuiApplication::palette());
}
