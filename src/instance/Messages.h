#pragma once
// The names by which a second start and outside programs reach the running
// instance: the instance lock's name, which is also the main window's title,
// and the two window messages of the main window.
#include "ZarnolithVersion.h"

namespace instance {

inline constexpr char kInstanceName[] = ZARNOLITH_PROGRAM_TITLE;
inline constexpr char16_t kMainWindowTitle[] = u"" ZARNOLITH_PROGRAM_TITLE;

// The first message number a window class may give its own meaning (WM_USER).
inline constexpr unsigned kFirstUserMessage = 0x0400;
inline constexpr unsigned WM_BEENDEN = kFirstUserMessage + 100;    // 1124: close, sent by outside programs
inline constexpr unsigned WM_AKTIVIEREN = kFirstUserMessage + 200; // 1224: come to the front, sent by a second start

} // namespace instance
