#pragma once
// The system's default beep (Windows: MessageBeep(0)). Tests replace it to count beeps.
#include <functional>

namespace platform {

void MessageBeep();

// Replaces the beep; an empty function restores the platform's own. Returns the previous hook.
std::function<void()> SetBeepHook(std::function<void()> hook);

} // namespace platform
