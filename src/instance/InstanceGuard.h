#pragma once
// The single-instance guard at program start.
#include "platform/NamedMutex.h"
#include "platform/WindowSystem.h"

namespace instance {

struct GuardResult {
    bool firstInstance = true;        // false: another instance runs, end now
    platform::MutexHandle handle = 0; // InstanzSperre; close it when the first instance ends
};

// Creates InstanzSperre. When another instance holds it, asks that instance's
// main window to come to the front (if one is found) and tells the caller to end.
// Any other failure lets the program start as the first instance, unguarded.
GuardResult CheckInstance(platform::NamedMutex& mutexes, platform::WindowSystem& targetWindow);

// After the message loop: closes the handle if the guard obtained one.
void ReleaseInstance(platform::NamedMutex& mutexes, platform::MutexHandle handle);

} // namespace instance
