#pragma once
// Bringing a window to the foreground, the way the running system allows it.
#include "instance/WindowSystem.h"

namespace instance {

// The version test: true for the attaching method (NT family above 4; the
// consumer family above 4.0), false for the plain method.
bool UseAttachMethod(const instance::OsVersion& version);

// Restores the window if minimised and makes it the foreground window.
// The result tells whether it is the foreground window at the end.
bool FensterInVordergrund(instance::WindowSystem& ws, instance::WindowHandle window);

} // namespace instance
