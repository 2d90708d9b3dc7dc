#pragma once
// The X server as another program sees it: the top-level windows in stacking
// order, their titles and outer rectangles (frame included), the active window
// and the keyboard focus, and a plain window of "another program" to take the
// focus away. Works with and without a window manager.
#include <QMargins>
#include <QRect>
#include <QString>
#include <QTest>

#include <xcb/xcb.h>

#include <poll.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace desktoptest {

class X11Probe {
public:
    X11Probe() : m_c(xcb_connect(nullptr, nullptr))
    {
        if (xcb_connection_has_error(m_c))
            return;
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_c)).data->root;
        m_screen = QRect(0, 0, xcb_setup_roots_iterator(xcb_get_setup(m_c)).data->width_in_pixels,
                         xcb_setup_roots_iterator(xcb_get_setup(m_c)).data->height_in_pixels);
    }
    ~X11Probe() { xcb_disconnect(m_c); }
    X11Probe(const X11Probe&) = delete;
    X11Probe& operator=(const X11Probe&) = delete;

    bool ok() const { return m_root != XCB_WINDOW_NONE && !xcb_connection_has_error(m_c); }
    QRect screen() const { return m_screen; }

    bool windowManagerRunning()
    {
        const xcb_atom_t check = atom("_NET_SUPPORTING_WM_CHECK");
        const auto named = property32(m_root, check, XCB_ATOM_WINDOW);
        return !named.empty() && property32(named[0], check, XCB_ATOM_WINDOW) == named;
    }

    // A window manager that has finished starting answers a frame-extents
    // request for a window it does not manage yet (one it got while starting
    // it may drop).
    bool windowManagerAnswers()
    {
        const xcb_window_t w = xcb_generate_id(m_c);
        const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_create_window(m_c, XCB_COPY_FROM_PARENT, w, m_root, 0, 0, 10, 10, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                          XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &mask);
        xcb_client_message_event_t m{};
        m.response_type = XCB_CLIENT_MESSAGE;
        m.format = 32;
        m.window = w;
        m.type = atom("_NET_REQUEST_FRAME_EXTENTS");
        xcb_send_event(m_c, 0, m_root, XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                       reinterpret_cast<const char*>(&m));
        xcb_flush(m_c);
        const bool answered = propertyChanged(w, atom("_NET_FRAME_EXTENTS"), 1000).has_value();
        destroy(w);
        return answered;
    }

    // The Xft.dpi the desktop's resources set for X11 programs, 96 without one.
    double xftDpi()
    {
        auto r = take(xcb_get_property_reply(
            m_c, xcb_get_property(m_c, 0, m_root, XCB_ATOM_RESOURCE_MANAGER, XCB_ATOM_STRING, 0, 65536), nullptr));
        if (!r)
            return 96;
        const std::string all(static_cast<const char*>(xcb_get_property_value(r.get())),
                              static_cast<std::size_t>(xcb_get_property_value_length(r.get())));
        const std::string key = "Xft.dpi:";
        const std::size_t at = all.find(key);
        return at == std::string::npos ? 96 : std::max(1.0, std::atof(all.c_str() + at + key.size()));
    }

    // The work area the window manager announces, else the whole screen.
    QRect workArea()
    {
        const auto wa = property32(m_root, atom("_NET_WORKAREA"), XCB_ATOM_CARDINAL);
        return wa.size() >= 4 ? QRect(int(wa[0]), int(wa[1]), int(wa[2]), int(wa[3])) : m_screen;
    }

    // Mapped top-level client windows, bottom first.
    std::vector<xcb_window_t> stacking()
    {
        std::vector<xcb_window_t> all;
        if (windowManagerRunning()) {
            for (std::uint32_t w : property32(m_root, atom("_NET_CLIENT_LIST_STACKING"), XCB_ATOM_WINDOW))
                all.push_back(w);
        } else {
            auto tree = take(xcb_query_tree_reply(m_c, xcb_query_tree(m_c, m_root), nullptr));
            if (tree) {
                const xcb_window_t* children = xcb_query_tree_children(tree.get());
                all.assign(children, children + xcb_query_tree_children_length(tree.get()));
            }
        }
        std::erase_if(all, [this](xcb_window_t w) { return !viewable(w); });
        return all;
    }

    std::string title(xcb_window_t w)
    {
        auto r = take(xcb_get_property_reply(
            m_c, xcb_get_property(m_c, 0, w, atom("_NET_WM_NAME"), atom("UTF8_STRING"), 0, 1024), nullptr));
        if (!r || xcb_get_property_value_length(r.get()) == 0)
            r = take(xcb_get_property_reply(m_c, xcb_get_property(m_c, 0, w, XCB_ATOM_WM_NAME, XCB_ATOM_ANY, 0, 1024),
                                            nullptr));
        if (!r)
            return {};
        return std::string(static_cast<const char*>(xcb_get_property_value(r.get())),
                           static_cast<std::size_t>(xcb_get_property_value_length(r.get())));
    }

    // The mapped top-level window with this title, or none.
    xcb_window_t find(const QString& wanted)
    {
        const std::string t = wanted.toStdString();
        for (xcb_window_t w : stacking())
            if (title(w) == t)
                return w;
        return XCB_WINDOW_NONE;
    }

    // Whether a top-level window with this title exists, mapped or not (a
    // window the window manager has not yet taken is still the root's child).
    bool created(const QString& wanted)
    {
        const std::string t = wanted.toStdString();
        auto tree = take(xcb_query_tree_reply(m_c, xcb_query_tree(m_c, m_root), nullptr));
        if (!tree)
            return false;
        const xcb_window_t* children = xcb_query_tree_children(tree.get());
        for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i)
            if (title(children[i]) == t)
                return true;
        return find(wanted) != XCB_WINDOW_NONE;
    }

    std::vector<std::string> stackingTitles()
    {
        std::vector<std::string> titles;
        for (xcb_window_t w : stacking())
            titles.push_back(title(w));
        return titles;
    }

    // The client window's rectangle on the screen.
    std::optional<QRect> client(xcb_window_t w)
    {
        auto g = take(xcb_get_geometry_reply(m_c, xcb_get_geometry(m_c, w), nullptr));
        auto t = take(xcb_translate_coordinates_reply(m_c, xcb_translate_coordinates(m_c, w, m_root, 0, 0), nullptr));
        if (!g || !t)
            return std::nullopt;
        return QRect(t->dst_x, t->dst_y, g->width, g->height);
    }

    // The frame the window manager announces around the client; none without
    // a window manager, nothing until it has framed the window.
    std::optional<QMargins> frameExtents(xcb_window_t w)
    {
        const auto e = property32(w, atom("_NET_FRAME_EXTENTS"), XCB_ATOM_CARDINAL);
        if (e.size() == 4)
            return QMargins(int(e[0]), int(e[2]), int(e[1]), int(e[3]));
        if (windowManagerRunning())
            return std::nullopt;
        return QMargins();
    }

    // Client rectangle plus the frame the window manager announces for it.
    std::optional<QRect> outer(xcb_window_t w)
    {
        const std::optional<QRect> r = client(w);
        const std::optional<QMargins> e = r ? frameExtents(w) : std::nullopt;
        if (!e)
            return std::nullopt;
        return r->marginsAdded(*e);
    }

    xcb_window_t activeWindow()
    {
        const auto a = property32(m_root, atom("_NET_ACTIVE_WINDOW"), XCB_ATOM_WINDOW);
        return a.empty() ? xcb_window_t(XCB_WINDOW_NONE) : a[0];
    }

    xcb_window_t inputFocus()
    {
        auto f = take(xcb_get_input_focus_reply(m_c, xcb_get_input_focus(m_c), nullptr));
        return f ? f->focus : xcb_window_t(XCB_WINDOW_NONE);
    }

    // A plain window of another program, mapped and given the focus as the
    // user would by clicking it (with a window manager through it).
    xcb_window_t showOtherProgram(const QRect& where)
    {
        const xcb_window_t w = xcb_generate_id(m_c);
        const std::uint32_t values[] = {0xffffffu, XCB_EVENT_MASK_PROPERTY_CHANGE};
        xcb_create_window(m_c, XCB_COPY_FROM_PARENT, w, m_root, std::int16_t(where.x()), std::int16_t(where.y()),
                          std::uint16_t(where.width()), std::uint16_t(where.height()), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                          XCB_COPY_FROM_PARENT, XCB_CW_BACK_PIXEL | XCB_CW_EVENT_MASK, values);
        const char name[] = "Anderes Programm";
        xcb_change_property(m_c, XCB_PROP_MODE_REPLACE, w, atom("_NET_WM_NAME"), atom("UTF8_STRING"), 8,
                            sizeof name - 1, name);
        xcb_map_window(m_c, w);
        xcb_flush(m_c);
        if (QTest::qWaitFor([&] { return viewable(w); }, 10000))
            activate(w);
        return w;
    }

    // Focus to the window as a click would give it: the user's input time is now.
    void activate(xcb_window_t w)
    {
        const std::uint32_t now = serverTime(m_own ? m_own : own());
        if (windowManagerRunning()) {
            xcb_client_message_event_t m{};
            m.response_type = XCB_CLIENT_MESSAGE;
            m.format = 32;
            m.window = w;
            m.type = atom("_NET_ACTIVE_WINDOW");
            m.data.data32[0] = 2;
            m.data.data32[1] = now;
            xcb_send_event(m_c, 0, m_root, XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                           reinterpret_cast<const char*>(&m));
        } else {
            const std::uint32_t above = XCB_STACK_MODE_ABOVE;
            xcb_configure_window(m_c, w, XCB_CONFIG_WINDOW_STACK_MODE, &above);
            xcb_set_input_focus(m_c, XCB_INPUT_FOCUS_PARENT, w, now);
        }
        xcb_flush(m_c);
    }

    // The keys the X server holds down now (key codes), whoever pressed them.
    std::vector<int> keysDown()
    {
        std::vector<int> down;
        auto r = take(xcb_query_keymap_reply(m_c, xcb_query_keymap(m_c), nullptr));
        if (r)
            for (int code = 0; code < 256; ++code)
                if (r->keys[code / 8] & (1 << (code % 8)))
                    down.push_back(code);
        return down;
    }

    void destroy(xcb_window_t w)
    {
        xcb_destroy_window(m_c, w);
        xcb_flush(m_c);
    }

private:
    template <class T>
    static std::unique_ptr<T, decltype(&std::free)> take(T* r)
    {
        return {r, &std::free};
    }

    xcb_atom_t atom(const char* name)
    {
        auto r = take(xcb_intern_atom_reply(
            m_c, xcb_intern_atom(m_c, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr));
        return r ? r->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
    }

    std::vector<std::uint32_t> property32(xcb_window_t w, xcb_atom_t name, xcb_atom_t type)
    {
        auto r = take(xcb_get_property_reply(m_c, xcb_get_property(m_c, 0, w, name, type, 0, 1024), nullptr));
        if (!r || r->format != 32 || r->type != type)
            return {};
        const auto* v = static_cast<const std::uint32_t*>(xcb_get_property_value(r.get()));
        return std::vector<std::uint32_t>(v, v + xcb_get_property_value_length(r.get()) / 4);
    }

    bool viewable(xcb_window_t w)
    {
        auto a = take(xcb_get_window_attributes_reply(m_c, xcb_get_window_attributes(m_c, w), nullptr));
        return a && a->map_state == XCB_MAP_STATE_VIEWABLE;
    }

    // A window of ours that no one sees, for reading the server's time.
    xcb_window_t own()
    {
        m_own = xcb_generate_id(m_c);
        const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_create_window(m_c, 0, m_own, m_root, -1, -1, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT,
                          XCB_CW_EVENT_MASK, &mask);
        return m_own;
    }

    // The time of the next change of the property on a window of ours whose changes we watch.
    std::optional<std::uint32_t> propertyChanged(xcb_window_t w, xcb_atom_t name, int timeout)
    {
        std::optional<std::uint32_t> time;
        (void)QTest::qWaitFor(
            [&] {
                while (xcb_generic_event_t* e = xcb_poll_for_event(m_c)) {
                    if ((e->response_type & 0x7f) == XCB_PROPERTY_NOTIFY) {
                        const auto* p = reinterpret_cast<xcb_property_notify_event_t*>(e);
                        if (p->window == w && p->atom == name)
                            time = p->time;
                    }
                    std::free(e);
                }
                return time.has_value();
            },
            timeout);
        return time;
    }

    // The server's time, from the notice of a property change on our own window.
    std::uint32_t serverTime(xcb_window_t own)
    {
        xcb_change_property(m_c, XCB_PROP_MODE_APPEND, own, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8, 0, nullptr);
        xcb_flush(m_c);
        return propertyChanged(own, XCB_ATOM_WM_CLASS, 5000).value_or(XCB_CURRENT_TIME);
    }

    xcb_connection_t* m_c;
    xcb_window_t m_root = XCB_WINDOW_NONE;
    QRect m_screen;
    xcb_window_t m_own = XCB_WINDOW_NONE;
};

// Every change among the root's children as it happens, read on a connection
// of its own: where each window (with a window manager, its frame) stood
// when it was mapped and wherever it went afterwards, so that a jump from a
// wrong first place is seen however quickly it is corrected.
class MoveLog {
public:
    MoveLog() : m_c(xcb_connect(nullptr, nullptr))
    {
        if (xcb_connection_has_error(m_c))
            return;
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(m_c)).data->root;
        const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_c, root, XCB_CW_EVENT_MASK, &mask);
        // Answered once the selection is in force: nothing after this is missed.
        std::free(xcb_get_input_focus_reply(m_c, xcb_get_input_focus(m_c), nullptr));
    }
    ~MoveLog() { xcb_disconnect(m_c); }
    MoveLog(const MoveLog&) = delete;
    MoveLog& operator=(const MoveLog&) = delete;

    // The places of the window since it was last mapped (its frame's, once the
    // window manager has framed it), the first being where it was mapped.
    std::vector<QPoint> placesSinceMapped(xcb_window_t window)
    {
        read();
        xcb_window_t shown = window;
        for (const Event& e : m_events)
            if (e.type == XCB_REPARENT_NOTIFY && e.window == window)
                shown = e.parent;
        std::vector<QPoint> places;
        QPoint at;
        for (const Event& e : m_events) {
            if (e.window != shown)
                continue;
            if (e.type == XCB_CREATE_NOTIFY || e.type == XCB_CONFIGURE_NOTIFY) {
                at = e.place;
                if (!places.empty() && places.back() != at)
                    places.push_back(at);
            } else if (e.type == XCB_MAP_NOTIFY) {
                places = {at};
            } else if (e.type == XCB_UNMAP_NOTIFY) {
                places.clear();
            }
        }
        return places;
    }

private:
    struct Event {
        int type;
        xcb_window_t window;
        xcb_window_t parent;
        QPoint place;
    };

    void read()
    {
        std::free(xcb_get_input_focus_reply(m_c, xcb_get_input_focus(m_c), nullptr)); // all that happened so far
        while (xcb_generic_event_t* e = xcb_poll_for_event(m_c)) {
            switch (e->response_type & 0x7f) {
            case XCB_CREATE_NOTIFY: {
                const auto* c = reinterpret_cast<xcb_create_notify_event_t*>(e);
                m_events.push_back({XCB_CREATE_NOTIFY, c->window, c->parent, QPoint(c->x, c->y)});
                break;
            }
            case XCB_CONFIGURE_NOTIFY: {
                const auto* c = reinterpret_cast<xcb_configure_notify_event_t*>(e);
                m_events.push_back({XCB_CONFIGURE_NOTIFY, c->window, XCB_WINDOW_NONE, QPoint(c->x, c->y)});
                break;
            }
            case XCB_MAP_NOTIFY:
                m_events.push_back(
                    {XCB_MAP_NOTIFY, reinterpret_cast<xcb_map_notify_event_t*>(e)->window, XCB_WINDOW_NONE, {}});
                break;
            case XCB_UNMAP_NOTIFY:
                m_events.push_back(
                    {XCB_UNMAP_NOTIFY, reinterpret_cast<xcb_unmap_notify_event_t*>(e)->window, XCB_WINDOW_NONE, {}});
                break;
            case XCB_REPARENT_NOTIFY: {
                const auto* r = reinterpret_cast<xcb_reparent_notify_event_t*>(e);
                m_events.push_back({XCB_REPARENT_NOTIFY, r->window, r->parent, QPoint(r->x, r->y)});
                break;
            }
            default: break;
            }
            std::free(e);
        }
    }

    xcb_connection_t* m_c;
    std::vector<Event> m_events;
};

} // namespace desktoptest
