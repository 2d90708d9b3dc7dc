#include "instance/FormularBaum.h"

#include "instance/Vordergrund.h"

namespace instance {

void FormulareNachVorne(platform::WindowSystem& ws, FormularBaum& baum, Komponente owner)
{
    // The count is taken once; a component that went away meanwhile is skipped.
    const int anzahl = baum.ComponentCount(owner);
    for (int i = 0; i < anzahl; ++i) {
        const Komponente k = baum.Components(owner, i);
        if (k == 0 || !baum.IstFormular(k) || !baum.Visible(k))
            continue;
        FensterInVordergrund(ws, baum.Handle(k));
        FormulareNachVorne(ws, baum, k);
    }
}

void AnwendungNachVorne(platform::WindowSystem& ws, FormularBaum& baum, platform::WindowHandle anwendungsFenster,
                        Komponente anwendung)
{
    if (anwendungsFenster != 0)
        FensterInVordergrund(ws, anwendungsFenster);
    FormulareNachVorne(ws, baum, anwendung);
}

} // namespace instance
