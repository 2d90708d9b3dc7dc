#pragma once
// What the X11 window manager does to our top-level windows, asked of it
// directly where Qt's own requests fall short: the frame it will put around a
// window that is not yet mapped, and an activation that takes the keyboard
// focus from another program. Every function answers "not here" on other
// platforms (offscreen, Wayland), so callers keep their plain Qt path there.
#include <cstdint>
#include <optional>

namespace platform {

struct FrameExtents {
    int left = 0;
    int right = 0;
    int top = 0;
    int bottom = 0;
    friend bool operator==(const FrameExtents&, const FrameExtents&) = default;
};

// The frame (border, title bar) the window manager puts around the window, in
// device pixels, asked for before the window is mapped
// (_NET_REQUEST_FRAME_EXTENTS). A window manager that is slow to answer (a
// busy machine) is waited for; when it has not answered within a moment the
// frame of a window of ours that it already frames stands in (of the same
// type where there is one), and `borrowed` is set: the window's own frame may
// still differ. Without such a window the answer is waited for as long as the
// window manager runs (at most half a minute). Zero extents on X11 without a
// window manager; nullopt when not on X11 or when no frame is known.
std::optional<FrameExtents> X11FrameExtents(std::uintptr_t window, bool* borrowed = nullptr);

// The frame the window manager has put, or said it will put, around the
// window (the property its answer or its framing left), in device pixels,
// without asking: nullopt when nothing is known yet or not on X11.
std::optional<FrameExtents> X11KnownFrameExtents(std::uintptr_t window);

// Makes the window the active one with the keyboard focus, as a taskbar or
// pager asks for it on the user's behalf: _NET_ACTIVE_WINDOW with source
// indication 2 and a fresh server time, or without a window manager the input
// focus set directly. false when not on X11.
bool X11Activate(std::uintptr_t window);

// The work area the window manager leaves free on the current desktop
// (_NET_WORKAREA), clipped to the root window, in device pixels. nullopt when
// not on X11; without a window manager that names a work area, the whole root
// window.
struct DeviceWorkArea {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};
std::optional<DeviceWorkArea> X11WorkArea();

} // namespace platform
