#pragma once
// The activation walk over our Qt objects. The application object owns the
// forms registered with it (Form1, then PixelForm), whatever their Qt parent;
// every other object owns its other QObject children, which Qt keeps in
// creation order. A form is a widget that is a window of its own (main
// window or dialog; no menus or tooltips).
#include "instance/FormularBaum.h"

#include <QList>
#include <QPointer>
#include <QWidget>
#include <vector>

namespace instance {

class QtFormularBaum final : public FormularBaum {
public:
    explicit QtFormularBaum(QList<QPointer<QWidget>> anwendungsFormulare);

    // The application object as a component.
    Komponente Anwendung() const;
    // Every form reachable from the application, depth first, hidden ones too.
    std::vector<QWidget*> AlleFormulare();

    int ComponentCount(Komponente owner) override;
    Komponente Components(Komponente owner, int index) override;
    bool IstFormular(Komponente component) override;
    bool Visible(Komponente component) override;
    platform::WindowHandle Handle(Komponente form) override;

    static bool IstFormularWidget(const QObject* object);

private:
    void Sammeln(Komponente owner, std::vector<QWidget*>& formulare);
    QList<QPointer<QWidget>> anwendungsFormulare_;
};

// The application object's forms in creation order, for WM_AKTIVIEREN and the window titles.
void AnwendungsFormularHinzufuegen(QWidget* form);
QList<QPointer<QWidget>> AnwendungsFormulare();

} // namespace instance
