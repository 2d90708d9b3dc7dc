#include "instance/WindowSearch.h"

namespace instance {

bool TitleEndsWithText(std::u16string_view title, std::u16string_view text)
{
    if (title.empty() || text.empty())
        return false;
    const auto first = title.find(text);
    return first != std::u16string_view::npos && first + text.size() == title.size();
}

instance::WindowHandle FensterMitTitelSuchen(instance::WindowSystem& ws, std::u16string_view text)
{
    instance::WindowHandle window = ws.FindWindowW();
    if (window == 0)
        return 0;
    // The walk starts after the first window; that one is never examined.
    for (long examined = 0; examined < kWalkLimit && (window = ws.GetWindowNext(window)) != 0; ++examined) {
        char16_t buffer[kTitleBuffer];
        if (ws.GetWindowTextW(window, buffer, kTitleBuffer) <= 0)
            buffer[0] = u'\0';            // no title read (a window going away): whatever the buffer holds is none
        buffer[kTitleBuffer - 1] = u'\0'; // whatever the implementation did, the text ends here
        if (TitleEndsWithText(std::u16string_view(buffer), text))
            return window;
    }
    return 0;
}

} // namespace instance
