#include "instance/QtFormTree.h"

#include <QCoreApplication>
#include <algorithm>

namespace instance {

namespace {
QList<QPointer<QWidget>>& registry()
{
    static QList<QPointer<QWidget>> forms;
    return forms;
}
QObject* objectOf(Component k) { return reinterpret_cast<QObject*>(k); }
} // namespace

void AddApplicationForm(QWidget* form) { registry().append(form); }

QList<QPointer<QWidget>> ApplicationForms() { return registry(); }

QtFormTree::QtFormTree(QList<QPointer<QWidget>> applicationForms, Handles handles)
    : m_applicationForms(std::move(applicationForms)), m_handles(handles)
{
}

Component QtFormTree::Application() const { return reinterpret_cast<Component>(QCoreApplication::instance()); }

bool QtFormTree::IsFormWidget(const QObject* object)
{
    const auto* w = qobject_cast<const QWidget*>(object);
    return w && w->isWindow() && (w->windowType() == Qt::Window || w->windowType() == Qt::Dialog);
}

int QtFormTree::ComponentCount(Component owner)
{
    if (owner == 0)
        return 0;
    if (owner == Application())
        return static_cast<int>(m_applicationForms.size());
    return static_cast<int>(objectOf(owner)->children().size());
}

Component QtFormTree::Components(Component owner, int index)
{
    if (owner == 0 || index < 0)
        return 0;
    if (owner == Application())
        return index < m_applicationForms.size() ? reinterpret_cast<Component>(m_applicationForms[index].data()) : 0;
    const QObjectList& children = objectOf(owner)->children();
    if (index >= children.size())
        return 0;
    // A form the application owns is walked there, not again under its Qt parent.
    QObject* child = children[index];
    const bool applicationForm = std::any_of(m_applicationForms.begin(), m_applicationForms.end(),
                                             [child](const QPointer<QWidget>& f) { return f.data() == child; });
    return applicationForm ? 0 : reinterpret_cast<Component>(child);
}

bool QtFormTree::IsForm(Component component)
{
    return component != 0 && component != Application() && IsFormWidget(objectOf(component));
}

bool QtFormTree::Visible(Component component)
{
    const auto* w = qobject_cast<QWidget*>(objectOf(component));
    return w && w->isVisible();
}

instance::WindowHandle QtFormTree::Handle(Component form)
{
    if (!IsForm(form))
        return 0;
    if (m_handles == Handles::Widget)
        return static_cast<instance::WindowHandle>(form);
    // A form that has no native window (never shown) has no handle either.
    return static_cast<instance::WindowHandle>(static_cast<QWidget*>(objectOf(form))->internalWinId());
}

void QtFormTree::Collect(Component owner, std::vector<QWidget*>& formList)
{
    const int n = ComponentCount(owner);
    for (int i = 0; i < n; ++i) {
        const Component k = Components(owner, i);
        if (!IsForm(k))
            continue;
        formList.push_back(static_cast<QWidget*>(objectOf(k)));
        Collect(k, formList);
    }
}

std::vector<QWidget*> QtFormTree::AllForms()
{
    std::vector<QWidget*> formList;
    Collect(Application(), formList);
    return formList;
}

} // namespace instance
