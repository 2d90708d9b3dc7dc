#include "ui/TFont.h"

#include "util/MulDiv.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

int TFont::Resolution() const
{
    if (PixelsPerInch > 0)
        return PixelsPerInch;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        return std::max(1, static_cast<int>(std::lround(screen->logicalDotsPerInchY())));
    return 96;
}

int TFont::Size() const { return -util::MulDiv(Height, 72, Resolution()); }

void TFont::setSize(int points)
{
    // MulDiv's result can leave the 32-bit range for absurd sizes; saturate instead of wrapping.
    const std::int64_t dpi = Resolution();
    const std::int64_t p = static_cast<std::int64_t>(points) * dpi;
    const std::int64_t h = p >= 0 ? (p + 36) / 72 : -((-p + 36) / 72);
    const std::int64_t limit = std::numeric_limits<std::int32_t>::max();
    Height = static_cast<int>(-std::clamp(h, -limit, limit));
}

int TFont::LargestPoints() const
{
    // setSize rounds |points| * dpi / 72 half up; that must stay within 32 bits.
    const std::int64_t limit = std::numeric_limits<std::int32_t>::max();
    const std::int64_t points = ((limit + 1) * 72 - 37) / Resolution();
    return static_cast<int>(std::min(points, limit));
}

int TFont::AppliedPixelHeight() const
{
    const int dpi = Resolution();
    if (Height == 0)
        return util::MulDiv(DefaultPoints, dpi, 72);
    // A positive height is a cell height in Windows terms; its size is close enough to draw by.
    const std::int64_t pixels = Height < 0 ? -static_cast<std::int64_t>(Height) : Height;
    const std::int64_t lo = util::MulDiv(MinDisplayPoints, dpi, 72);
    const std::int64_t hi = util::MulDiv(MaxDisplayPoints, dpi, 72);
    return static_cast<int>(std::clamp(pixels, lo, hi));
}

QFont TFont::toQFont() const
{
    QFont f(Name);
    // Qt's pixel size is the em height, which is what a negative Windows height means.
    f.setPixelSize(AppliedPixelHeight());
    f.setBold(Style.bold);
    f.setItalic(Style.italic);
    f.setUnderline(Style.underline);
    f.setStrikeOut(Style.strikeOut);
    return f;
}
