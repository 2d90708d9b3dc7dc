#pragma once
// Owned components as the activation walk sees them: every component owns an
// ordered list of components (creation order); some of them are forms with a
// window. The application object is the root.
#include "platform/WindowSystem.h"

#include <cstdint>

namespace instance {

using Komponente = std::uintptr_t; // 0 = none

class FormularBaum {
public:
    virtual ~FormularBaum() = default;
    virtual int ComponentCount(Komponente owner) = 0;
    // 0 when the index is no longer valid.
    virtual Komponente Components(Komponente owner, int index) = 0;
    virtual bool IstFormular(Komponente component) = 0;
    virtual bool Visible(Komponente component) = 0;
    virtual platform::WindowHandle Handle(Komponente form) = 0;
};

// Brings every visible form the owner owns to the front, depth first: a form,
// then the forms it owns, then the next form of the owner.
void FormulareNachVorne(platform::WindowSystem& ws, FormularBaum& baum, Komponente owner);

// The handling of WM_AKTIVIEREN: the application's own top-level window (0
// when the toolkit has none), then the application's forms, so that an open
// dialog ends up on top.
void AnwendungNachVorne(platform::WindowSystem& ws, FormularBaum& baum, platform::WindowHandle anwendungsFenster,
                        Komponente anwendung);

} // namespace instance
