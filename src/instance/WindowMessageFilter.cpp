#include "instance/WindowMessageFilter.h"

#include <QByteArray>
#include <algorithm>

#include <windows.h>

namespace instance {

WindowMessageFilter::WindowMessageFilter(std::function<WindowHandle()> window, std::vector<unsigned> messages,
                                         std::function<void(unsigned)> handler)
    : m_window(std::move(window)), m_messages(std::move(messages)), m_handler(std::move(handler))
{
}

bool WindowMessageFilter::nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result)
{
    if (eventType != "windows_generic_MSG" || !message)
        return false;
    const MSG& msg = *static_cast<const MSG*>(message);
    if (std::find(m_messages.begin(), m_messages.end(), msg.message) == m_messages.end())
        return false;
    const WindowHandle target = m_window();
    if (target == 0 || reinterpret_cast<WindowHandle>(msg.hwnd) != target)
        return false;
    // Taken here, so the message reaches no window procedure after it.
    if (result)
        *result = 0;
    m_handler(msg.message);
    return true;
}

} // namespace instance
