#include "ui/ColorValue.h"

#include <QGuiApplication>

ColorValue ColorValue::fromRgb(int r, int g, int b)
{
    return ColorValue{static_cast<std::uint32_t>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16))};
}

QColor ColorValue::toQColor(const QPalette& palette) const
{
    if (!isSystemColor())
        return QColor(raw & 0xFF, (raw >> 8) & 0xFF, (raw >> 16) & 0xFF);
    // The Windows system colour numbers that have a counterpart in a Qt palette.
    switch (raw & 0xFF) {
    case 4: return palette.color(QPalette::Window);     // menu
    case 5: return palette.color(QPalette::Base);       // window
    case 7: return palette.color(QPalette::WindowText); // menu text
    case 13: return palette.color(QPalette::Highlight);
    case 14: return palette.color(QPalette::HighlightedText);
    case 15: return palette.color(QPalette::Button);                   // button face
    case 16: return palette.color(QPalette::Dark);                     // button shadow
    case 17: return palette.color(QPalette::Disabled, QPalette::Text); // grey text
    case 18: return palette.color(QPalette::ButtonText);
    case 20: return palette.color(QPalette::Light); // button highlight
    case 21: return palette.color(QPalette::Shadow);
    case 22: return palette.color(QPalette::Midlight);
    case 23: return palette.color(QPalette::ToolTipText);
    case 24: return palette.color(QPalette::ToolTipBase);
    default: return palette.color(QPalette::Text); // 8: window text, and the rest
    }
}

QColor ColorValue::toQColor() const { return toQColor(QGuiApplication::palette()); }
