#pragma once
// A font as the program keeps it: face name, character height in pixels
// (negative, as Windows stores it; the size in points follows from the screen
// resolution), colour value, character set number and style. The display font
// AnzeigeSchrift is one object of this type.
#include "ui/ColorValue.h"

#include <QFont>
#include <QString>
#include <cstdint>

struct TFontStyles {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    friend bool operator==(const TFontStyles&, const TFontStyles&) = default;
};

class TFont {
public:
    TFont() = default;
    explicit TFont(int pixelsPerInch) : PixelsPerInch(pixelsPerInch) {}

    QString Name = QStringLiteral("Courier New");
    int Height = -19; // pixels; negative = character height without leading
    ColorValue Color{ColorValue::clWindowText};
    std::uint8_t Charset = 0; // Windows character set number (0 = ANSI)
    TFontStyles Style;
    // The resolution, in logical dots per inch, at which Size and Height convert;
    // 0 means the primary screen's, asked at each conversion (96 without a
    // screen). The program's fonts keep 0; a test fixes one for its font.
    int PixelsPerInch = 0;

    // Size in points: -MulDiv(Height, 72, dpi); writing sets Height := -MulDiv(size, dpi, 72).
    int Size() const;
    void setSize(int points);
    // The largest size in points, of either sign, whose height Height holds at
    // the font's resolution (setSize saturates beyond it).
    int LargestPoints() const;

    // The resolution in force: PixelsPerInch, or the primary screen's when that is 0.
    int Resolution() const;

    // Bounds of the size actually drawn: a stored size of 0, a negative or an
    // absurd one must not leave the program unusable. The stored value stays as it is.
    static constexpr int MinDisplayPoints = 6;
    static constexpr int MaxDisplayPoints = 400;
    static constexpr int DefaultPoints = 14;
    // The pixel size the controls get: |Height| within the bounds above;
    // a height of 0 (the system's "default size") gives the default 14 points.
    int AppliedPixelHeight() const;

    QFont toQFont() const;
    QColor textColor() const { return Color.toQColor(); }

    friend bool operator==(const TFont&, const TFont&) = default;
};
