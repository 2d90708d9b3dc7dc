#include "instance/FormTree.h"

#include "instance/Foreground.h"

namespace instance {

void FormulareNachVorne(instance::WindowSystem& ws, FormTree& tree, Component owner)
{
    // The count is taken once; a component that went away meanwhile is skipped.
    const int entryCount = tree.ComponentCount(owner);
    for (int i = 0; i < entryCount; ++i) {
        const Component k = tree.Components(owner, i);
        if (k == 0 || !tree.IsForm(k) || !tree.Visible(k))
            continue;
        FensterInVordergrund(ws, tree.Handle(k));
        FormulareNachVorne(ws, tree, k);
    }
}

void RaiseApplication(instance::WindowSystem& ws, FormTree& tree, instance::WindowHandle applicationWindow,
                      Component application)
{
    if (applicationWindow != 0)
        FensterInVordergrund(ws, applicationWindow);
    FormulareNachVorne(ws, tree, application);
}

} // namespace instance
