#include "appearance/TFont.h"

#include "util/MulDiv.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace {
int g_dpiOverride = 0;
}

int TFont::PixelsPerInch()
{
    if (g_dpiOverride > 0)
        return g_dpiOverride;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        return std::max(1, static_cast<int>(std::lround(screen->logicalDotsPerInchY())));
    return 96;
}

void TFont::setPixelsPerInchOverride(int dpi) { g_dpiOverride = dpi; }

int TFont::Size() const { return -util::MulDiv(Height, 72, PixelsPerInch()); }

void TFont::setSize(int points) { Height = -util::MulDiv(points, PixelsPerInch(), 72); }

QFont TFont::toQFont() const
{
    QFont f(Name);
    // Qt's pixel size is the em height, which is what a negative Windows height means.
    f.setPixelSize(std::max(1, std::abs(Height)));
    f.setBold(Style.bold);
    f.setItalic(Style.italic);
    f.setUnderline(Style.underline);
    f.setStrikeOut(Style.strikeOut);
    return f;
}
