#include "platform/X11Window.h"

#include <QGuiApplication>
#include <QWindow>

#include <xcb/xcb.h>

#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

namespace platform {
namespace {

template <class T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

template <class T>
Reply<T> reply(T* r)
{
    return Reply<T>(r, &std::free);
}

// Qt's own connection, or nullptr when Qt does not run on X11.
xcb_connection_t* qtConnection()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t atom(xcb_connection_t* c, const char* name)
{
    const auto r = reply(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr));
    return r ? r->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

// The values of a 32-bit property, empty when it is missing or of another type.
std::vector<std::uint32_t> property32(xcb_connection_t* c, xcb_window_t w, xcb_atom_t name, xcb_atom_t type)
{
    const auto r = reply(xcb_get_property_reply(c, xcb_get_property(c, 0, w, name, type, 0, 1024), nullptr));
    if (!r || r->format != 32 || r->type != type)
        return {};
    const auto* v = static_cast<const std::uint32_t*>(xcb_get_property_value(r.get()));
    return std::vector<std::uint32_t>(v, v + xcb_get_property_value_length(r.get()) / 4);
}

struct Desktop {
    xcb_connection_t* c = nullptr;
    xcb_window_t root = XCB_WINDOW_NONE;
    bool windowManager = false;
    std::vector<std::uint32_t> supported;

    bool supports(xcb_atom_t a) const { return std::find(supported.begin(), supported.end(), a) != supported.end(); }
};

// The desktop the window lives on. Our requests on the window go after what Qt
// has queued for it, so Qt's queue is sent and answered first.
std::optional<Desktop> desktopOf(xcb_window_t window)
{
    Desktop d;
    d.c = qtConnection();
    if (!d.c || window == XCB_WINDOW_NONE)
        return std::nullopt;
    const auto tree = reply(xcb_query_tree_reply(d.c, xcb_query_tree(d.c, window), nullptr));
    if (!tree)
        return std::nullopt;
    d.root = tree->root;
    // A window manager names a check window on the root, and the check window names itself
    // (a property left behind by a window manager that has gone does not).
    const xcb_atom_t check = atom(d.c, "_NET_SUPPORTING_WM_CHECK");
    const auto named = property32(d.c, d.root, check, XCB_ATOM_WINDOW);
    d.windowManager = !named.empty() && property32(d.c, named[0], check, XCB_ATOM_WINDOW) == named;
    if (d.windowManager)
        d.supported = property32(d.c, d.root, atom(d.c, "_NET_SUPPORTED"), XCB_ATOM_ATOM);
    return d;
}

// A connection of our own for requests answered by an event: Qt's connection
// hands every event to Qt's reader.
using Connection = std::unique_ptr<xcb_connection_t, decltype(&xcb_disconnect)>;

Connection sideConnection()
{
    Connection c(xcb_connect(nullptr, nullptr), &xcb_disconnect);
    if (xcb_connection_has_error(c.get()))
        return Connection(nullptr, &xcb_disconnect);
    return c;
}

// Waits up to timeout for an event that `wanted` accepts.
bool waitForEvent(xcb_connection_t* c, std::chrono::milliseconds timeout,
                  const std::function<bool(const xcb_generic_event_t&)>& wanted)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    xcb_flush(c);
    for (;;) {
        while (xcb_generic_event_t* e = xcb_poll_for_event(c)) {
            const bool found = wanted(*e);
            std::free(e);
            if (found)
                return true;
        }
        const auto left
            = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (xcb_connection_has_error(c) || left.count() <= 0)
            return false;
        pollfd p{xcb_get_file_descriptor(c), POLLIN, 0};
        ::poll(&p, 1, static_cast<int>(left.count()) + 1);
    }
}

// A window manager answers at once; a busy machine may keep it from running for a while.
constexpr std::chrono::milliseconds WindowManagerAnswer{2000};
// How long a frame request waits at most when no frame of ours can stand in.
constexpr std::chrono::milliseconds WindowManagerPatience{30000};

bool isPropertyNotify(const xcb_generic_event_t& e, xcb_window_t window, xcb_atom_t name)
{
    if ((e.response_type & 0x7f) != XCB_PROPERTY_NOTIFY)
        return false;
    const auto& p = reinterpret_cast<const xcb_property_notify_event_t&>(e);
    return p.window == window && p.atom == name;
}

// The server's time now: a property change on a window of our own reports it.
xcb_timestamp_t serverTime(xcb_connection_t* side, xcb_window_t root)
{
    const xcb_window_t w = xcb_generate_id(side);
    const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(side, 0, w, root, -1, -1, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT,
                      XCB_CW_EVENT_MASK, &mask);
    xcb_change_property(side, XCB_PROP_MODE_APPEND, w, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, 0, nullptr);
    xcb_timestamp_t time = XCB_CURRENT_TIME;
    waitForEvent(side, WindowManagerAnswer, [&](const xcb_generic_event_t& e) {
        if (!isPropertyNotify(e, w, XCB_ATOM_WM_NAME))
            return false;
        time = reinterpret_cast<const xcb_property_notify_event_t&>(e).time;
        return true;
    });
    xcb_destroy_window(side, w);
    xcb_flush(side);
    return time;
}

void sendToWindowManager(xcb_connection_t* c, xcb_window_t root, xcb_window_t window, xcb_atom_t type,
                         std::initializer_list<std::uint32_t> data)
{
    xcb_client_message_event_t m{};
    m.response_type = XCB_CLIENT_MESSAGE;
    m.format = 32;
    m.window = window;
    m.type = type;
    std::copy(data.begin(), data.end(), m.data.data32);
    xcb_send_event(c, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&m));
}

std::optional<FrameExtents> extentsOf(xcb_connection_t* c, xcb_window_t w, xcb_atom_t extents)
{
    const std::vector<std::uint32_t> v = property32(c, w, extents, XCB_ATOM_CARDINAL);
    if (v.size() != 4)
        return std::nullopt;
    return FrameExtents{int(v[0]), int(v[1]), int(v[2]), int(v[3])};
}

// Where a window not yet mapped stands, as its owner put it.
struct Placed {
    std::int16_t x = 0, y = 0;
    std::uint16_t width = 0, height = 0;
    friend bool operator==(const Placed&, const Placed&) = default;
};

std::optional<Placed> placedOf(xcb_connection_t* c, xcb_window_t w)
{
    const auto g = reply(xcb_get_geometry_reply(c, xcb_get_geometry(c, w), nullptr));
    if (!g)
        return std::nullopt;
    const auto tree = reply(xcb_query_tree_reply(c, xcb_query_tree(c, w), nullptr));
    const auto attributes = reply(xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, w), nullptr));
    // Once the window manager has taken the window into a frame, the place is its matter.
    if (!tree || tree->parent != tree->root || !attributes || attributes->map_state != XCB_MAP_STATE_UNMAPPED)
        return std::nullopt;
    return Placed{g->x, g->y, g->width, g->height};
}

// A window of our own, never shown, whose frame is asked for at once: the
// window manager answers requests in order, so its answer tells that every
// request sent before has been handled.
xcb_window_t askAboutMarker(xcb_connection_t* c, xcb_window_t root)
{
    const xcb_window_t marker = xcb_generate_id(c);
    const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(c, XCB_COPY_FROM_PARENT, marker, root, 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                      XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &mask);
    sendToWindowManager(c, root, marker, atom(c, "_NET_REQUEST_FRAME_EXTENTS"), {});
    return marker;
}

// Some window managers (openbox) work out their answer to a frame request by
// managing the window for a moment, and move and resize the real window on the
// way where its size does not suit its size hints: to the frame's inner
// corner at the screen's top-left. The window is put back where the program
// had put it, so the program's next move is not taken for one to where the
// window already stands.
//
// Where the program had put it is not what the server reports when the frame
// is asked for: the window manager carries out the program's moves and resizes
// of a window it redirects in its own time, and a busy one may hold several
// still. So a marker request of our own goes just before the frame request:
// once the window manager has answered it, it has carried out every request
// made before, and has not yet begun on the window's own. The window's
// notifications up to then tell the place.
class PlaceWatch {
public:
    PlaceWatch(xcb_connection_t* c, xcb_window_t w, xcb_window_t root, xcb_atom_t extents)
        : m_c(c), m_w(w), m_extents(extents)
    {
        const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
        xcb_change_window_attributes(c, w, XCB_CW_EVENT_MASK, &mask);
        const xcb_get_geometry_cookie_t asked = xcb_get_geometry(c, w);
        m_from = static_cast<std::uint16_t>(asked.sequence);
        const auto g = reply(xcb_get_geometry_reply(c, asked, nullptr));
        // Only a window not yet mapped nor taken up is ours to put back.
        if (!g || !placedOf(c, w))
            return;
        m_now = {g->x, g->y, g->width, g->height};
        m_placed = m_now;
        m_marker = askAboutMarker(c, root);
    }
    ~PlaceWatch()
    {
        if (m_marker != XCB_WINDOW_NONE) {
            xcb_destroy_window(m_c, m_marker);
            xcb_flush(m_c);
        }
    }
    PlaceWatch(const PlaceWatch&) = delete;
    PlaceWatch& operator=(const PlaceWatch&) = delete;

    // Every event read on the connection passes through here.
    void see(const xcb_generic_event_t& e)
    {
        const int type = e.response_type & 0x7f;
        if (type == XCB_PROPERTY_NOTIFY && isPropertyNotify(e, m_marker, m_extents)) {
            m_markerAnswered = true;
            return;
        }
        // Only what happened after the first reading, and only the server's own
        // notices (a window manager's made-up ones tell no real place).
        if ((e.response_type & 0x80) || std::int16_t(std::uint16_t(e.sequence - m_from)) < 0)
            return;
        if (type == XCB_REPARENT_NOTIFY && reinterpret_cast<const xcb_reparent_notify_event_t&>(e).window == m_w)
            m_placed.reset(); // taken up: the place is the window manager's matter now
        if (type != XCB_CONFIGURE_NOTIFY || !m_placed)
            return;
        const auto& n = reinterpret_cast<const xcb_configure_notify_event_t&>(e);
        if (n.window != m_w || n.event != m_w)
            return;
        m_now = {n.x, n.y, n.width, n.height};
        if (!m_markerAnswered)
            m_placed = m_now;
    }

    // Whether the event is the window manager's answer about the window: a
    // notice of the property that comes before the marker's answer is one a
    // trial for an earlier request left behind.
    bool isAnswer(const xcb_generic_event_t& e) const
    {
        return isPropertyNotify(e, m_w, m_extents) && (m_marker == XCB_WINDOW_NONE || m_markerAnswered);
    }

    // Puts the window back where the program had put it, once every trial
    // framing for it is over. A window manager that did not answer the marker
    // leaves the place as the server reported it when the frame was asked for.
    void putBack() const
    {
        if (!m_placed || !placedOf(m_c, m_w))
            return;
        const Placed& p = *m_placed;
        // Sent even where the window seems to stand there already: a trial may
        // still move it after its answer, and a request that changes nothing costs nothing.
        const std::uint32_t values[]
            = {std::uint32_t(std::int32_t(p.x)), std::uint32_t(std::int32_t(p.y)), p.width, p.height};
        xcb_configure_window(
            m_c, m_w, XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT,
            values);
        // Carried out by the server before this returns: it then reaches the
        // window manager ahead of whatever the program asks next, on any connection.
        std::free(xcb_get_input_focus_reply(m_c, xcb_get_input_focus(m_c), nullptr));
    }

private:
    xcb_connection_t* m_c;
    xcb_window_t m_w;
    xcb_atom_t m_extents;
    xcb_window_t m_marker = XCB_WINDOW_NONE;
    std::uint16_t m_from = 0;
    bool m_markerAnswered = false;
    Placed m_now;
    std::optional<Placed> m_placed;
};

// Waits until the window manager has handled every request sent to it before:
// it handles them in order, so once it has answered a frame request for a
// window of our own made now, the earlier ones are done. A window manager that
// has just answered is running: it is given as long as for a first answer.
void awaitEarlierRequests(xcb_connection_t* c, xcb_window_t root, xcb_atom_t extents, PlaceWatch& watch)
{
    const xcb_window_t marker = askAboutMarker(c, root);
    waitForEvent(c, WindowManagerPatience, [&](const xcb_generic_event_t& e) {
        watch.see(e);
        return isPropertyNotify(e, marker, extents);
    });
    xcb_destroy_window(c, marker);
    xcb_flush(c);
}

// The frame of another top-level window of this program that the window
// manager has mapped and framed, one of the same window type first.
std::optional<FrameExtents> framedSibling(const Desktop& d, xcb_window_t w, xcb_atom_t extents)
{
    const xcb_atom_t type = atom(d.c, "_NET_WM_WINDOW_TYPE");
    const std::vector<std::uint32_t> wanted = property32(d.c, w, type, XCB_ATOM_ATOM);
    std::optional<FrameExtents> any;
    for (const QWindow* other : QGuiApplication::topLevelWindows()) {
        if (!other->handle() || other->winId() == w)
            continue;
        const auto o = static_cast<xcb_window_t>(other->winId());
        const auto attributes = reply(xcb_get_window_attributes_reply(d.c, xcb_get_window_attributes(d.c, o), nullptr));
        if (!attributes || attributes->map_state != XCB_MAP_STATE_VIEWABLE)
            continue;
        const std::optional<FrameExtents> e = extentsOf(d.c, o, extents);
        if (!e)
            continue;
        if (property32(d.c, o, type, XCB_ATOM_ATOM) == wanted)
            return e;
        if (!any)
            any = e;
    }
    return any;
}

} // namespace

std::optional<FrameExtents> X11FrameExtents(std::uintptr_t window, bool* borrowed)
{
    const auto w = static_cast<xcb_window_t>(window);
    const std::optional<Desktop> d = desktopOf(w);
    if (!d)
        return std::nullopt;
    if (borrowed)
        *borrowed = false;
    if (!d->windowManager)
        return FrameExtents{};
    const xcb_atom_t extents = atom(d->c, "_NET_FRAME_EXTENTS");
    const auto read = [&](xcb_connection_t* c) { return extentsOf(c, w, extents); };
    // A window the window manager manages carries its frame already.
    const auto attributes = reply(xcb_get_window_attributes_reply(d->c, xcb_get_window_attributes(d->c, w), nullptr));
    if (attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE)
        return read(d->c);
    if (!d->supports(atom(d->c, "_NET_REQUEST_FRAME_EXTENTS")))
        return std::nullopt;

    Connection side = sideConnection();
    if (!side)
        return std::nullopt;
    // The window manager answers by setting the property on the window: watch it, then ask.
    PlaceWatch watch(side.get(), w, d->root, extents);
    int asked = 0;
    const auto ask = [&] {
        sendToWindowManager(side.get(), d->root, w, atom(side.get(), "_NET_REQUEST_FRAME_EXTENTS"), {});
        ++asked;
    };
    ask();
    const auto answered = [&](const xcb_generic_event_t& e) {
        watch.see(e);
        return watch.isAnswer(e);
    };
    // Once answered: where the question was asked more than once, the window
    // manager's trial framings for the other requests may still be to come, and
    // each moves the window again; the window is put back after the last.
    const auto settled = [&] {
        if (asked > 1)
            awaitEarlierRequests(side.get(), d->root, extents, watch);
        watch.putBack();
        return read(side.get());
    };
    // A window whose mapping the window manager is taking up gets its frame
    // without an answer to the request: the property is looked at meanwhile.
    const auto answer = [&](std::chrono::milliseconds timeout) -> std::optional<FrameExtents> {
        const auto until = std::chrono::steady_clock::now() + timeout;
        do {
            if (waitForEvent(side.get(), std::chrono::milliseconds{100}, answered))
                return settled();
            // Only once the window is being taken up: before, the property may be the
            // answer to an earlier request, made while the window's hints were not what
            // they are now (openbox gives a window that can be resized a larger frame).
            if (!placedOf(side.get(), w) && read(side.get()))
                return settled();
        } while (std::chrono::steady_clock::now() < until);
        return std::nullopt;
    };
    if (const std::optional<FrameExtents> e = answer(WindowManagerAnswer))
        return e;

    // No answer yet (the window manager is busy or stopped). A window of ours
    // that it frames already shows the frame it puts around our windows.
    if (const std::optional<FrameExtents> stand = framedSibling(*d, w, extents)) {
        if (borrowed)
            *borrowed = true;
        return stand;
    }
    // Nothing to go by: wait for the answer, as long as the window manager is there.
    const auto deadline = std::chrono::steady_clock::now() + WindowManagerPatience;
    while (std::chrono::steady_clock::now() < deadline) {
        // Asked again: a request that came while the window manager still took
        // the window for one it manages (an id reused) is dropped unanswered.
        ask();
        if (const std::optional<FrameExtents> e = answer(std::chrono::milliseconds{500}))
            return e;
        const std::optional<Desktop> now = desktopOf(w);
        if (!now)
            return std::nullopt;
        if (!now->windowManager)
            return FrameExtents{};
    }
    return read(side.get()); // an answer that came without its notice, or none
}

std::optional<FrameExtents> X11KnownFrameExtents(std::uintptr_t window)
{
    const auto w = static_cast<xcb_window_t>(window);
    const std::optional<Desktop> d = desktopOf(w);
    if (!d)
        return std::nullopt;
    if (!d->windowManager)
        return FrameExtents{};
    return extentsOf(d->c, w, atom(d->c, "_NET_FRAME_EXTENTS"));
}

bool X11Activate(std::uintptr_t window)
{
    const auto w = static_cast<xcb_window_t>(window);
    const std::optional<Desktop> d = desktopOf(w);
    if (!d)
        return false;
    const auto attributes = reply(xcb_get_window_attributes_reply(d->c, xcb_get_window_attributes(d->c, w), nullptr));
    if (!attributes || attributes->map_state != XCB_MAP_STATE_VIEWABLE)
        return false; // Qt activates it once it is mapped
    const xcb_atom_t active = atom(d->c, "_NET_ACTIVE_WINDOW");
    if (d->windowManager && d->supports(active)) {
        Connection side = sideConnection();
        const xcb_timestamp_t now = side ? serverTime(side.get(), d->root) : XCB_CURRENT_TIME;
        // Source 2: asked for on the user's behalf, which a window manager does not refuse as
        // focus stealing; the time is now, not the last input our windows received.
        sendToWindowManager(d->c, d->root, w, active, {2, now, 0, 0, 0});
    } else if (!d->windowManager) {
        xcb_set_input_focus(d->c, XCB_INPUT_FOCUS_PARENT, w, XCB_CURRENT_TIME);
    } else {
        return false;
    }
    xcb_flush(d->c);
    return true;
}

std::optional<DeviceWorkArea> X11WorkArea()
{
    xcb_connection_t* c = qtConnection();
    if (!c)
        return std::nullopt;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    if (!screen)
        return std::nullopt;
    const long rootWidth = screen->width_in_pixels;
    const long rootHeight = screen->height_in_pixels;
    DeviceWorkArea a{0, 0, int(rootWidth), int(rootHeight)};
    // Four values per desktop; the current desktop's, else the first.
    const std::vector<std::uint32_t> areas = property32(c, screen->root, atom(c, "_NET_WORKAREA"), XCB_ATOM_CARDINAL);
    const std::vector<std::uint32_t> current
        = property32(c, screen->root, atom(c, "_NET_CURRENT_DESKTOP"), XCB_ATOM_CARDINAL);
    std::size_t at = current.empty() ? 0 : std::size_t(current[0]) * 4;
    if (at + 4 > areas.size())
        at = 0;
    if (areas.size() >= at + 4) {
        // Clipped to the root window: a damaged property must not widen the screen.
        const long left = std::clamp<long>(areas[at], 0, rootWidth);
        const long top = std::clamp<long>(areas[at + 1], 0, rootHeight);
        const long right = std::clamp<long>(long(areas[at]) + long(areas[at + 2]), left, rootWidth);
        const long bottom = std::clamp<long>(long(areas[at + 1]) + long(areas[at + 3]), top, rootHeight);
        if (right > left && bottom > top)
            a = {int(left), int(top), int(right - left), int(bottom - top)};
    }
    return a;
}

} // namespace platform
