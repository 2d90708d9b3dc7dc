#pragma once
// The single-instance guard at program start.
#include "instance/NamedMutex.h"
#include "instance/WindowSystem.h"

namespace instance {

struct GuardResult {
    bool firstInstance = true;        // false: another instance runs, end now
    instance::MutexHandle handle = 0; // InstanzSperre; close it when the first instance ends
};

// Creates InstanzSperre. When another instance holds it, asks that instance's
// main window to come to the front (if one is found) and tells the caller to end.
// Any other failure lets the program start as the first instance, unguarded.
GuardResult CheckInstance(instance::NamedMutex& mutexes, instance::WindowSystem& targetWindow);

// After the message loop: closes the handle if the guard obtained one.
void ReleaseInstance(instance::NamedMutex& mutexes, instance::MutexHandle handle);

} // namespace instance
