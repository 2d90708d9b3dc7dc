#pragma once
// Finding a top-level window by the end of its title.
#include "instance/WindowSystem.h"

#include <string_view>

namespace instance {

// Titles are read into a buffer of this many characters, so at most one less take part.
inline constexpr int kTitleBuffer = 261;

// The walk examines at most this many windows. A session's desktop holds far
// fewer (the window manager's handle table has room for 65536 objects of all
// kinds), so only a walk that windows coming and going led in a circle stops here.
inline constexpr long kWalkLimit = 65536;

// Whether the first occurrence of text in title ends the title; an empty title
// or text never matches. Case-sensitive.
bool TitleEndsWithText(std::u16string_view title, std::u16string_view text);

// The first top-level window after the very first one whose title (cut to 260
// characters) matches; 0 when there is none or after kWalkLimit windows.
instance::WindowHandle FensterMitTitelSuchen(instance::WindowSystem& ws, std::u16string_view text);

} // namespace instance
