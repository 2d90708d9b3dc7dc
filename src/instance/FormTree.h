#pragma once
// Owned components as the activation walk sees them: every component owns an
// ordered list of components (creation order); some of them are forms with a
// window. The application object is the root.
#include "instance/WindowSystem.h"

#include <cstdint>

namespace instance {

using Component = std::uintptr_t; // 0 = none

class FormTree {
public:
    virtual ~FormTree() = default;
    virtual int ComponentCount(Component owner) = 0;
    // 0 when the index is no longer valid.
    virtual Component Components(Component owner, int index) = 0;
    virtual bool IsForm(Component component) = 0;
    virtual bool Visible(Component component) = 0;
    virtual instance::WindowHandle Handle(Component form) = 0;
};

// Brings every visible form the owner owns to the front, depth first: a form,
// then the forms it owns, then the next form of the owner.
void FormulareNachVorne(instance::WindowSystem& ws, FormTree& tree, Component owner);

// The handling of WM_AKTIVIEREN: the application's own top-level window (0
// when the toolkit has none; its forms are then raised to the top as that
// window's raising would take them), then the application's forms, so that
// an open dialog ends up on top.
void RaiseApplication(instance::WindowSystem& ws, FormTree& tree, instance::WindowHandle applicationWindow,
                      Component application);

} // namespace instance
