#include "ui/DialogPlacement.h"

#include "platform/ScreenArea.h"
#include "platform/WindowFrame.h"
#include "platform/X11Window.h"
#include "ui/ScreenWatch.h"
#include "ui/WindowFit.h"

#include <QEvent>
#include <QVariant>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

struct Outer {
    QRect rect;                                     // frame included
    QPoint clientOffset;                            // what Qt's move() needs added to reach the frame's position
    QMargins room;                                  // the frame with each side rounded up (see roomOf)
    std::optional<platform::FrameExtents> borrowed; // another window's frame stood in

    // The rectangle the window takes at most, given where the client lies.
    QRect roomAround(const QPoint& client, const QSize& size) const { return QRect(client, size).marginsAdded(room); }
};

// The window manager counts device pixels; Qt's coordinates are scaled by the
// window's device pixel ratio (display scaling). A position takes the frame
// rounded as Qt rounds its own; the room the window takes, each side of the
// frame rounded up, so that a 1-pixel border at 3x, which rounds to none, is
// not left out (the window would stick out of the screen by it).
QMargins roomOf(const platform::FrameExtents& e, qreal ratio)
{
    const auto up = [ratio](int v) { return static_cast<int>(std::ceil(v / ratio - 1e-6)); };
    return {up(e.left), up(e.top), up(e.right), up(e.bottom)};
}

QMargins atLeast(const QMargins& a, const QMargins& b)
{
    return {std::max(a.left(), b.left()), std::max(a.top(), b.top()), std::max(a.right(), b.right()),
            std::max(a.bottom(), b.bottom())};
}

Outer outerOf(const QWidget& window)
{
    const QRect client = window.geometry();
    if (const std::optional<platform::NativeOuter> native = platform::NativeOuterRect(window)) {
        // As the window system reports it (Windows): the frame around the client it takes.
        const QRect& r = native->rect;
        const QMargins frame(client.left() - r.left(), client.top() - r.top(), r.right() - client.right(),
                             r.bottom() - client.bottom());
        return {r, native->moveOffset, frame, {}};
    }
    const QRect frame = window.frameGeometry();
    const QMargins known(client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
                         frame.bottom() - client.bottom());
    const qreal ratio = std::max(window.devicePixelRatioF(), 1.0);
    if (frame.size() != window.size() || window.internalWinId() == 0) {
        Outer o{frame, {}, known, {}};
        // Qt's own idea of the frame is rounded; the device pixels decide the room.
        if (window.internalWinId() != 0) {
            std::optional<platform::FrameExtents> e = platform::X11KnownFrameExtents(window.internalWinId());
            if (!e && ratio > 1)
                e = platform::X11FrameExtents(window.internalWinId());
            if (e)
                o.room = atLeast(known, roomOf(*e, ratio));
        }
        return o;
    }
    bool borrowed = false;
    const std::optional<platform::FrameExtents> e = platform::X11FrameExtents(window.internalWinId(), &borrowed);
    if (!e)
        return {frame, {}, known, {}};
    const auto scaled = [ratio](int v) { return qRound(v / ratio); };
    const QMargins m(scaled(e->left), scaled(e->top), scaled(e->right), scaled(e->bottom));
    return {frame.marginsAdded(m), {m.left(), m.top()}, roomOf(*e, ratio), borrowed ? e : std::nullopt};
}

// Places a window once more, once it is shown, when the frame it was placed
// with was another window's and its own differs.
class FrameCheck : public QObject {
public:
    FrameCheck(QWidget& window, platform::FrameExtents borrowed, std::function<LayoutPoint(const QRect&)> rule,
               std::optional<QRect> keepIn)
        : QObject(&window), m_window(&window), m_borrowed(borrowed), m_rule(std::move(rule)),
          m_keepIn(std::move(keepIn))
    {
        setObjectName(QStringLiteral("FrameCheck"));
        window.windowHandle()->installEventFilter(this);
    }

    // Ends the checks of the window's earlier placements.
    static void forget(QWidget& window)
    {
        for (QObject* c : window.children())
            if (c->objectName() == QLatin1String("FrameCheck"))
                static_cast<FrameCheck*>(c)->retire();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Expose || !m_window || !m_window->windowHandle()
            || !m_window->windowHandle()->isExposed())
            return QObject::eventFilter(watched, event);
        QWidget& w = *m_window;
        const auto rule = m_rule;
        const auto keepIn = m_keepIn;
        const std::optional<platform::FrameExtents> own = platform::X11FrameExtents(w.internalWinId());
        const bool differs = own && *own != m_borrowed;
        retire();
        if (differs)
            PlaceOuter(w, rule, keepIn);
        return false;
    }

private:
    void retire()
    {
        setObjectName(QString());
        if (m_window && m_window->windowHandle())
            m_window->windowHandle()->removeEventFilter(this);
        deleteLater();
    }

    QPointer<QWidget> m_window;
    platform::FrameExtents m_borrowed;
    std::function<LayoutPoint(const QRect&)> m_rule;
    std::optional<QRect> m_keepIn;
};

// The top-left corner of the outer rectangle PlaceOuter last asked for.
const char* const PlacedAt = "zarnolithPlacedAt";

// The window's outer rectangle as it will be on the screen. While the window
// manager is still taking a newly shown window up (it is not exposed yet), Qt
// may report for a window being shown a place it only passes through, inside a
// frame that has not been moved into position yet (the screen's top-left
// corner with openbox); the place asked for is the one the window is getting.
QRect settledOuterOf(const QWidget& window)
{
    QRect r = outerOf(window).rect;
    const QWindow* handle = window.windowHandle();
    const QVariant placed = window.property(PlacedAt);
    if (window.isVisible() && handle && !handle->isExposed() && placed.isValid())
        r.moveTopLeft(placed.toPoint());
    return r;
}

} // namespace

QRect OuterGeometry(const QWidget& window) { return outerOf(window).rect; }

std::optional<QPoint> LastPlacement(const QWidget& window)
{
    const QVariant placed = window.property(PlacedAt);
    if (!placed.isValid())
        return std::nullopt;
    return placed.toPoint();
}

QSize AroundWindow(const QWidget& window)
{
    const QMargins m = outerOf(window).room;
    return {m.left() + m.right(), m.top() + m.bottom()};
}

void HoldExactSize(QWidget& window)
{
    // The size it is held at: a window manager may have rounded the size the
    // window has by now, which is what the base size is to prevent.
    window.setBaseSize(window.minimumSize() == window.maximumSize() ? window.minimumSize() : QSize());
}

LayoutRect ToLayoutRect(const QRect& r) { return {r.x(), r.y(), r.width(), r.height()}; }

void PlaceOuter(QWidget& window, const std::function<LayoutPoint(const QRect& outer)>& rule,
                const std::optional<QRect>& keepIn)
{
    const Outer o = outerOf(window);
    LayoutPoint p = rule(o.rect);
    if (keepIn) {
        // What is kept inside is the room the window takes at most, around its
        // client where the rule puts it.
        const QPoint toClient = window.geometry().topLeft() - o.rect.topLeft();
        const QRect room = o.roomAround(QPoint(p.x, p.y) + toClient, window.size());
        const LayoutPoint in = KeepInside(ToLayoutRect(*keepIn), {room.x(), room.y()}, {room.width(), room.height()});
        p = {p.x + in.x - room.x(), p.y + in.y - room.y()};
    }
    window.move(p.x + o.clientOffset.x(), p.y + o.clientOffset.y());
    window.setProperty(PlacedAt, QPoint(p.x, p.y));
    FrameCheck::forget(window); // this placement is the one that counts
    if (o.borrowed && window.windowHandle())
        new FrameCheck(window, *o.borrowed, rule, keepIn);
}

LayoutPoint DialogScreenPosition(const LayoutSize& screen, const LayoutSize& outer)
{
    return {std::max(0, HalfOf(screen.width - outer.width) - 1), std::max(0, HalfOf(screen.height - outer.height) - 1)};
}

LayoutPoint CentreOverOwner(const LayoutRect& owner, const LayoutSize& outer, const LayoutRect& workArea)
{
    return {std::max(owner.left + HalfOf(owner.width - outer.width), workArea.left),
            std::max(owner.top + HalfOf(owner.height - outer.height), workArea.top)};
}

void MoveCentredOverOwner(QWidget& dialog, const QWidget& owner)
{
    const QRect o = settledOuterOf(owner);
    // Without a screen there is no work area to raise to or to keep inside.
    QRect workArea(INT_MIN / 2, INT_MIN / 2, 0, 0);
    std::optional<QRect> keepIn;
    if (const QScreen* screen = owner.screen())
        keepIn = workArea = platform::WorkAreaOf(*screen);
    PlaceOuter(
        dialog,
        [&, o, workArea](const QRect& outer) {
            return CentreOverOwner(ToLayoutRect(o), {outer.width(), outer.height()}, ToLayoutRect(workArea));
        },
        keepIn);
}

void RelayOutOnScreenChange(QWidget& window, std::function<void()> layOut)
{
    new ScreenWatch(window, [&window, layOut = std::move(layOut)] {
        layOut();
        if (const QScreen* s = window.screen())
            PlaceOuter(
                window,
                [](const QRect& outer) {
                    return LayoutPoint{outer.x(), outer.y()};
                },
                platform::WorkAreaOf(*s));
    });
}
