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
    QString Name = QStringLiteral("Courier New");
    int Height = -19; // pixels; negative = character height without leading
    ColorValue Color{ColorValue::clWindowText};
    std::uint8_t Charset = 0; // Windows character set number (0 = ANSI)
    TFontStyles Style;

    // Size in points: -MulDiv(Height, 72, dpi); writing sets Height := -MulDiv(size, dpi, 72).
    int Size() const;
    void setSize(int points);
    // The largest size in points, of either sign, whose height Height holds at
    // the current resolution (setSize saturates beyond it).
    static int LargestPoints();

    // Logical dots per inch of the primary screen (96 without a screen).
    static int PixelsPerInch();
    // For tests and benchmarks: a fixed resolution instead of the screen's (0 = the screen's).
    static void setPixelsPerInchOverride(int dpi);

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
