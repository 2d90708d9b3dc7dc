#include "instance/WindowSystem.h"

#include <algorithm>

namespace instance {

int CopyWindowText(std::u16string_view title, char16_t* buffer, int maxCount)
{
    if (!buffer || maxCount <= 0)
        return 0;
    const auto n = static_cast<int>(std::min<std::size_t>(title.size(), static_cast<std::size_t>(maxCount - 1)));
    std::copy_n(title.data(), n, buffer);
    buffer[n] = u'\0';
    return n;
}

} // namespace instance
