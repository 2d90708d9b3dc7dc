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

namespace {

// The visible forms to the top of the stacking, in the walk's order, the
// foreground window among them too.
void StackFormsOnTop(instance::WindowSystem& ws, FormTree& tree, Component owner)
{
    const int entryCount = tree.ComponentCount(owner);
    for (int i = 0; i < entryCount; ++i) {
        const Component k = tree.Components(owner, i);
        if (k == 0 || !tree.IsForm(k) || !tree.Visible(k))
            continue;
        ws.BringWindowToTop(tree.Handle(k));
        StackFormsOnTop(ws, tree, k);
    }
}

} // namespace

void RaiseApplication(instance::WindowSystem& ws, FormTree& tree, instance::WindowHandle applicationWindow,
                      Component application)
{
    if (applicationWindow != 0) {
        // Never the foreground window itself, so it is always raised, and every
        // form it owns with it.
        FensterInVordergrund(ws, applicationWindow);
    } else {
        // Without such a window the forms are raised here. The walk below leaves
        // a form that is the foreground window where it is, and that window can
        // lie under another program's: a window manager that answers late hands
        // the foreground back to a form without raising it. Its dialog alone
        // would then come up over the other program.
        StackFormsOnTop(ws, tree, application);
    }
    FormulareNachVorne(ws, tree, application);
}

} // namespace instance
