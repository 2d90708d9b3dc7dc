#pragma once
// A colour as the program stores it: 00BBGGRR for a plain colour (red in the
// lowest byte), FF0000nn for system colour number nn. A system colour keeps
// that form and is resolved through the palette only when drawn.
#include <QColor>
#include <QPalette>
#include <cstdint>

struct ColorValue {
    std::uint32_t raw = 0;

    static constexpr std::uint32_t clWindowText = 0xFF000008u;
    static constexpr std::uint32_t clBtnFace = 0xFF00000Fu;

    constexpr bool isSystemColor() const { return (raw & 0xFF000000u) == 0xFF000000u; }
    static ColorValue fromRgb(int r, int g, int b);
    static ColorValue fromQColor(const QColor& c) { return fromRgb(c.red(), c.green(), c.blue()); }
    QColor toQColor(const QPalette& palette) const;
    QColor toQColor() const; // through the application's palette

    friend constexpr bool operator==(ColorValue, ColorValue) = default;
};
