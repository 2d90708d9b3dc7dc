#pragma once
// Measuring what a window shows: the contrast of a control's text with its
// background, and how clearly a control shows that it has the keyboard focus,
// read from the pixels drawn (the widget's own rendering on the offscreen
// platform, the X server's screen under a real X display).
#include "ui/TextContrast.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QRect>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include <algorithm>
#include <vector>

namespace lowvision {

// The pixels of a widget as the user sees them: on an X display the screen's
// own (the window must be mapped and exposed), elsewhere the widget's rendering.
// In logical coordinates; a scaled display gives more device pixels per unit.
inline QImage shot(QWidget* w)
{
    auto logical = [w](const QPixmap& pixels) {
        return pixels.toImage()
            .convertToFormat(QImage::Format_RGB32)
            .scaled(w->size(), Qt::IgnoreAspectRatio, Qt::FastTransformation)
            .convertToFormat(QImage::Format_RGB32);
    };
    const QImage rendered = logical(w->grab());
    if (QGuiApplication::platformName() != QLatin1String("xcb") || !w->screen())
        return rendered;
    // The X server shows a repaint a moment after the program made it: wait
    // until the screen holds what the widget renders, but for a few stray
    // pixels (two seconds at most; then what the screen shows is measured as
    // it is).
    auto sameLook = [&rendered](const QImage& screen) {
        if (screen.size() != rendered.size())
            return false;
        qsizetype differing = 0;
        for (int y = 0; y < screen.height(); ++y) {
            const QRgb* a = reinterpret_cast<const QRgb*>(screen.constScanLine(y));
            const QRgb* b = reinterpret_cast<const QRgb*>(rendered.constScanLine(y));
            for (int x = 0; x < screen.width(); ++x)
                differing += (a[x] | 0xFF000000u) != (b[x] | 0xFF000000u);
        }
        return differing * 100 <= qsizetype(screen.width()) * screen.height();
    };
    QImage onScreen;
    QDeadlineTimer deadline(2000);
    do {
        QApplication::processEvents();
        const QPoint at = w->mapToGlobal(QPoint(0, 0)) - w->screen()->geometry().topLeft();
        onScreen = logical(w->screen()->grabWindow(0, at.x(), at.y(), w->width(), w->height()));
        if (sameLook(onScreen))
            break;
        QTest::qWait(20);
    } while (!deadline.hasExpired());
    return onScreen;
}

// A pixel of an image that shot() made (32 bits a pixel), opaque.
inline QRgb pixelOf(const QImage& image, int x, int y)
{
    return reinterpret_cast<const QRgb*>(image.constScanLine(y))[x] | 0xFF000000u;
}

// ContrastRatio of two pixel colours, each pair worked out once: a picture
// has few colours (a text's anti-aliasing gives some dozens), read many times.
class RatioOf {
public:
    double operator()(QRgb a, QRgb b)
    {
        const quint64 key = (quint64(a) << 32) | b;
        const auto it = m_known.constFind(key);
        if (it != m_known.constEnd())
            return *it;
        const double ratio = ContrastRatio(QColor::fromRgb(a), QColor::fromRgb(b));
        m_known.insert(key, ratio);
        return ratio;
    }

private:
    QHash<quint64, double> m_known;
};

// How often each colour occurs in `region` of `image`.
inline QHash<QRgb, int> colourCounts(const QImage& image, const QRect& region)
{
    QHash<QRgb, int> count;
    const QRect r = region.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            ++count[pixelOf(image, x, y)];
    return count;
}

inline QRgb mostFrequent(const QHash<QRgb, int>& count)
{
    QRgb best = 0;
    int most = -1;
    for (auto it = count.cbegin(); it != count.cend(); ++it)
        if (it.value() > most) {
            most = it.value();
            best = it.key();
        }
    return best;
}

// The most frequent colour in `region` of `image`.
inline QColor dominant(const QImage& image, const QRect& region)
{
    return QColor::fromRgb(mostFrequent(colourCounts(image, region)));
}

struct TextReading {
    QColor background; // the dominant colour of the area
    QColor text;       // the colour in it that contrasts most with the background
    double ratio = 1.0;
};

// Text on a plain background: anti-aliasing gives colours between the two, so
// the text colour is the one pixel colour that stands out most.
inline TextReading readText(const QImage& image, const QRect& region)
{
    TextReading reading;
    const QHash<QRgb, int> count = colourCounts(image, region);
    const QRgb background = mostFrequent(count);
    reading.background = QColor::fromRgb(background);
    reading.text = reading.background;
    // Every colour that occurs, each once: the pixels of one colour read alike.
    const QColor back = reading.background;
    for (auto it = count.cbegin(); it != count.cend(); ++it) {
        const QColor c = QColor::fromRgb(it.key());
        const double ratio = ContrastRatio(c, back);
        if (ratio > reading.ratio) {
            reading.ratio = ratio;
            reading.text = c;
        }
    }
    return reading;
}

// How a control shows the focus: the pixels that change between the control
// without the focus (`plain`) and with it (`focused`) by at least 3:1 and that
// stand at least 3:1 from the control's background (a button's face has a
// gradient and a large caption, so the caller names the colour). Per side, the indicator's thickness is the median,
// over the lines across that side (its middle 80 %), of the longest run of such pixels that starts in the outer third;
// a dashed line gives the dash's thickness, a lone caret or a selected text does not count as a frame.
struct FocusReading {
    int thickness = 0;    // the thinnest of the four sides
    double contrast = 1;  // median contrast, focused against plain, of the changed pixels in the outer third
    double indicator = 0; // the same over the frame's own pixels (0: no frame found)
    QColor background;
};

inline FocusReading readFocus(const QImage& focused, const QImage& plain, const QColor& background)
{
    FocusReading reading;
    reading.background = background;
    const int w = std::min(focused.width(), plain.width());
    const int h = std::min(focused.height(), plain.height());
    const QRgb back = background.rgb();
    RatioOf ratioOf;
    auto indicator = [&](int x, int y) {
        const QRgb f = pixelOf(focused, x, y);
        const QRgb p = pixelOf(plain, x, y);
        return ratioOf(f, p) >= 3.0 && ratioOf(f, back) >= 3.0;
    };
    std::vector<double> changed;
    std::vector<double> framed;
    auto sideThickness = [&](int lines, int depth, auto pixelAt) {
        std::vector<int> runs;
        for (int l = lines / 10; l < lines - lines / 10; ++l) {
            int best = 0;
            int run = 0;
            int start = 0;
            for (int d = 0; d < depth * 3; ++d) {
                const QPoint p = pixelAt(l, d);
                if (d < depth) {
                    const QRgb f = pixelOf(focused, p.x(), p.y());
                    const QRgb q = pixelOf(plain, p.x(), p.y());
                    if (f != q)
                        changed.push_back(ratioOf(f, q));
                }
                if (!indicator(p.x(), p.y())) {
                    run = 0;
                    continue;
                }
                if (run++ == 0)
                    start = d;
                if (start < depth) {
                    best = std::max(best, run);
                    framed.push_back(ratioOf(pixelOf(focused, p.x(), p.y()), pixelOf(plain, p.x(), p.y())));
                }
            }
            runs.push_back(best);
        }
        if (runs.empty())
            return 0;
        std::nth_element(runs.begin(), runs.begin() + runs.size() / 2, runs.end());
        return runs[runs.size() / 2];
    };
    const int dh = h / 3, dw = w / 3;
    const int top = sideThickness(w, dh, [&](int l, int d) { return QPoint(l, std::min(d, h - 1)); });
    const int bottom = sideThickness(w, dh, [&](int l, int d) { return QPoint(l, std::max(h - 1 - d, 0)); });
    const int left = sideThickness(h, dw, [&](int l, int d) { return QPoint(std::min(d, w - 1), l); });
    const int right = sideThickness(h, dw, [&](int l, int d) { return QPoint(std::max(w - 1 - d, 0), l); });
    reading.thickness = std::min({top, bottom, left, right});
    if (!framed.empty()) {
        std::nth_element(framed.begin(), framed.begin() + framed.size() / 2, framed.end());
        reading.indicator = framed[framed.size() / 2];
    }
    if (!changed.empty()) {
        std::nth_element(changed.begin(), changed.begin() + changed.size() / 2, changed.end());
        reading.contrast = changed[changed.size() / 2];
    }
    return reading;
}

} // namespace lowvision
