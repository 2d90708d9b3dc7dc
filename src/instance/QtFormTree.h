#pragma once
// The activation walk over our Qt objects. The application object owns the
// forms registered with it (Form1, then PixelForm), whatever their Qt parent;
// every other object owns its other QObject children, which Qt keeps in
// creation order. A form is a widget that is a window of its own (main
// window or dialog; no menus or tooltips).
#include "instance/FormTree.h"

#include <QList>
#include <QPointer>
#include <QWidget>
#include <vector>

namespace instance {

class QtFormTree final : public FormTree {
public:
    // What Handle() gives for a form: the widget itself (QtWindowSystem), or
    // the window system's own handle of its native window (on Windows the HWND).
    enum class Handles { Widget, Native };

    explicit QtFormTree(QList<QPointer<QWidget>> applicationForms, Handles handles = Handles::Widget);

    // The application object as a component.
    Component Application() const;
    // Every form reachable from the application, depth first, hidden ones too.
    std::vector<QWidget*> AllForms();

    int ComponentCount(Component owner) override;
    Component Components(Component owner, int index) override;
    bool IsForm(Component component) override;
    bool Visible(Component component) override;
    instance::WindowHandle Handle(Component form) override;

    static bool IsFormWidget(const QObject* object);

private:
    void Collect(Component owner, std::vector<QWidget*>& formList);
    QList<QPointer<QWidget>> m_applicationForms;
    Handles m_handles;
};

// The application object's forms in creation order, for WM_AKTIVIEREN and the window titles.
void AddApplicationForm(QWidget* form);
QList<QPointer<QWidget>> ApplicationForms();

} // namespace instance
