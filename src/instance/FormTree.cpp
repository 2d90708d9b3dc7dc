#include "instance/FormTree.h"

#include "instance/Foreground.h"

namespace instance {

namespace {

// Every visible form `owner` owns, in the order of its components, each
// followed by the forms it owns in turn. The count is taken once; a component
// that went away meanwhile is skipped.
template <class Visit>
void forEachVisibleForm(FormTree& tree, Component owner, const Visit& visit)
{
    const int entryCount = tree.ComponentCount(owner);
    for (int i = 0; i < entryCount; ++i) {
        const Component k = tree.Components(owner, i);
        if (k == 0 || !tree.IsForm(k) || !tree.Visible(k))
            continue;
        visit(k);
        forEachVisibleForm(tree, k, visit);
    }
}

} // namespace

void FormulareNachVorne(instance::WindowSystem& ws, FormTree& tree, Component owner)
{
    forEachVisibleForm(tree, owner, [&](Component k) { FensterInVordergrund(ws, tree.Handle(k)); });
}

void RaiseApplication(instance::WindowSystem& ws, FormTree& tree, instance::WindowHandle applicationWindow,
                      Component application)
{
    if (applicationWindow != 0) {
        // Never the foreground window itself, so it is always raised, and every
        // form it owns with it.
        FensterInVordergrund(ws, applicationWindow);
    } else {
        // Without such a window the visible forms go to the top of the stacking
        // here, in the walk's order, the foreground window among them. The walk
        // below leaves a form that is the foreground window where it is, and that
        // window can lie under another program's: a window manager that answers
        // late hands the foreground back to a form without raising it. Its dialog
        // alone would then come up over the other program.
        forEachVisibleForm(tree, application, [&](Component k) { ws.BringWindowToTop(tree.Handle(k)); });
    }
    FormulareNachVorne(ws, tree, application);
}

} // namespace instance
