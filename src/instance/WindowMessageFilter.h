#pragma once
// Window messages that other programs of the desktop post to one of our
// windows (Windows): the filter sees every message the toolkit takes from the
// thread's queue or hands to a window procedure, also inside a modal dialog's
// loop, and takes only those addressed to its window with one of its numbers.
// Everything else goes on to the toolkit as before.
#include "instance/WindowSystem.h"

#include <QAbstractNativeEventFilter>
#include <functional>
#include <vector>

namespace instance {

class WindowMessageFilter final : public QAbstractNativeEventFilter {
public:
    // window: the window's handle at the time a message comes (0 while it has
    // none); handler: runs on the UI thread with the message number.
    WindowMessageFilter(std::function<WindowHandle()> window, std::vector<unsigned> messages,
                        std::function<void(unsigned)> handler);

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    std::function<WindowHandle()> m_window;
    std::vector<unsigned> m_messages;
    std::function<void(unsigned)> m_handler;
};

} // namespace instance
