#include "platform/RemoteWindowList.h"

#include "platform/Utf8.h"

namespace platform {

RemoteWindowList::RemoteWindowList(std::string socketPath, int timeoutMs)
    : socketPath_(std::move(socketPath)), timeoutMs_(timeoutMs)
{
}

void RemoteWindowList::Load()
{
    if (loaded_)
        return;
    loaded_ = true;
    // Nobody listening (no instance, or one still starting or already closing)
    // simply means there are no windows to find.
    if (socketPath_.empty() || !client_.Connect(socketPath_))
        return;
    if (const auto titles = client_.QueryTitles(timeoutMs_))
        for (const std::string& t : *titles)
            titles_.push_back(util::Utf8ToUtf16(t));
}

bool RemoteWindowList::IsRemote(WindowHandle window) const
{
    return window > kDesktopFirst && window - kDesktopFirst <= titles_.size();
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
    return CopyWindowText(titles_[window - kDesktopFirst - 1], buffer, maxCount);
}

bool RemoteWindowList::PostMessageW(WindowHandle window, unsigned message, std::uintptr_t, std::intptr_t)
{
    // The channel is the main window's; only the instance's windows can be addressed.
    return IsRemote(window) && client_.Post(message);
}

} // namespace platform
