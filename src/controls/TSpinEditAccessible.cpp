#include "controls/TSpinEditAccessible.h"

#include "controls/TSpinEdit.h"

#include <QLineEdit>

namespace {

QAccessibleInterface* spinEditFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("TSpinEdit"))
        if (auto* field = qobject_cast<TSpinEdit*>(object))
            return new TSpinEditAccessible(field);
    return nullptr;
}

} // namespace

TSpinEditAccessible::TSpinEditAccessible(TSpinEdit* field) : QAccessibleWidget(field, QAccessible::SpinBox) {}

TSpinEdit* TSpinEditAccessible::field() const { return static_cast<TSpinEdit*>(widget()); }

void* TSpinEditAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::ValueInterface)
        return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QString TSpinEditAccessible::text(QAccessible::Text t) const
{
    switch (t) {
    case QAccessible::Name: return field()->labelName();
    case QAccessible::Value: return field()->text();
    default: return QAccessibleWidget::text(t);
    }
}

QAccessible::State TSpinEditAccessible::state() const
{
    QAccessible::State s = QAccessibleWidget::state();
    s.readOnly = field()->ReadOnly();
    s.editable = !field()->ReadOnly();
    // The focus sits in the text area, which is the field as far as the user is concerned.
    s.focused = field()->editor()->hasFocus();
    return s;
}

QVariant TSpinEditAccessible::currentValue() const { return field()->Value(); }

void TSpinEditAccessible::setCurrentValue(const QVariant& value)
{
    bool ok = false;
    const int v = value.toInt(&ok);
    if (ok)
        field()->setValue(v);
}

QVariant TSpinEditAccessible::maximumValue() const { return field()->MaxValue(); }
QVariant TSpinEditAccessible::minimumValue() const { return field()->MinValue(); }
QVariant TSpinEditAccessible::minimumStepSize() const { return field()->Increment(); }

void InstallSpinEditAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(spinEditFactory);
        return true;
    }();
    Q_UNUSED(installed);
}
