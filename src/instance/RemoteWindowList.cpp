#include "instance/RemoteWindowList.h"

#include "platform/Utf8.h"

namespace instance {

RemoteWindowList::RemoteWindowList(std::string socketPath, int timeoutMs)
    : m_socketPath(std::move(socketPath)), m_timeoutMs(timeoutMs)
{
}

void RemoteWindowList::Load()
{
    if (m_loaded)
        return;
    m_loaded = true;
    // Nobody listening (no instance, or one still starting or already closing)
    // simply means there are no windows to find.
    if (m_socketPath.empty() || !m_client.Connect(m_socketPath))
        return;
    if (const auto titles = m_client.QueryTitles(m_timeoutMs))
        for (const std::string& t : *titles)
            m_titles.push_back(platform::Utf8ToUtf16(t));
}

bool RemoteWindowList::IsRemote(WindowHandle window) const
{
    return window > kDesktopFirst && window - kDesktopFirst <= m_titles.size();
}

WindowHandle RemoteWindowList::FindWindowW()
{
    Load();
    return kDesktopFirst;
}

WindowHandle RemoteWindowList::GetWindowNext(WindowHandle window)
{
    Load();
    const WindowHandle next = window + 1;
    return window >= kDesktopFirst && IsRemote(next) ? next : 0;
}

int RemoteWindowList::GetWindowTextW(WindowHandle window, char16_t* buffer, int maxCount)
{
    if (!IsRemote(window))
        return CopyWindowText(u"", buffer, maxCount);
    return CopyWindowText(m_titles[window - kDesktopFirst - 1], buffer, maxCount);
}

bool RemoteWindowList::PostMessageW(WindowHandle window, unsigned message, std::uintptr_t, std::intptr_t)
{
    // The channel is the main window's; only the instance's windows can be addressed.
    return IsRemote(window) && m_client.Post(message);
}

} // namespace instance
