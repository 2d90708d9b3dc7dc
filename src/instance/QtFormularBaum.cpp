#include "instance/QtFormularBaum.h"

#include <QCoreApplication>
#include <algorithm>

namespace instance {

namespace {
QList<QPointer<QWidget>>& registry()
{
    static QList<QPointer<QWidget>> forms;
    return forms;
}
QObject* objectOf(Komponente k)
{
    return reinterpret_cast<QObject*>(k);
}
} // namespace

void AnwendungsFormularHinzufuegen(QWidget* form)
{
    registry().append(form);
}

QList<QPointer<QWidget>> AnwendungsFormulare()
{
    return registry();
}

QtFormularBaum::QtFormularBaum(QList<QPointer<QWidget>> anwendungsFormulare)
    : anwendungsFormulare_(std::move(anwendungsFormulare))
{
}

Komponente QtFormularBaum::Anwendung() const
{
    return reinterpret_cast<Komponente>(QCoreApplication::instance());
}

bool QtFormularBaum::IstFormularWidget(const QObject* object)
{
    const auto* w = qobject_cast<const QWidget*>(object);
    return w && w->isWindow() && (w->windowType() == Qt::Window || w->windowType() == Qt::Dialog);
}

int QtFormularBaum::ComponentCount(Komponente owner)
{
    if (owner == 0)
        return 0;
    if (owner == Anwendung())
        return static_cast<int>(anwendungsFormulare_.size());
    return static_cast<int>(objectOf(owner)->children().size());
}

Komponente QtFormularBaum::Components(Komponente owner, int index)
{
    if (owner == 0 || index < 0)
        return 0;
    if (owner == Anwendung())
        return index < anwendungsFormulare_.size() ? reinterpret_cast<Komponente>(anwendungsFormulare_[index].data()) : 0;
    const QObjectList& children = objectOf(owner)->children();
    if (index >= children.size())
        return 0;
    // A form the application owns is walked there, not again under its Qt parent.
    QObject* child = children[index];
    const bool anwendungsFormular = std::any_of(anwendungsFormulare_.begin(), anwendungsFormulare_.end(),
                                                [child](const QPointer<QWidget>& f) { return f.data() == child; });
    return anwendungsFormular ? 0 : reinterpret_cast<Komponente>(child);
}

bool QtFormularBaum::IstFormular(Komponente component)
{
    return component != 0 && component != Anwendung() && IstFormularWidget(objectOf(component));
}

bool QtFormularBaum::Visible(Komponente component)
{
    const auto* w = qobject_cast<QWidget*>(objectOf(component));
    return w && w->isVisible();
}

platform::WindowHandle QtFormularBaum::Handle(Komponente form)
{
    return IstFormular(form) ? static_cast<platform::WindowHandle>(form) : 0;
}

void QtFormularBaum::Sammeln(Komponente owner, std::vector<QWidget*>& formulare)
{
    const int n = ComponentCount(owner);
    for (int i = 0; i < n; ++i) {
        const Komponente k = Components(owner, i);
        if (!IstFormular(k))
            continue;
        formulare.push_back(static_cast<QWidget*>(objectOf(k)));
        Sammeln(k, formulare);
    }
}

std::vector<QWidget*> QtFormularBaum::AlleFormulare()
{
    std::vector<QWidget*> formulare;
    Sammeln(Anwendung(), formulare);
    return formulare;
}

} // namespace instance
