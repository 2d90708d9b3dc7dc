#pragma once
// What a screen reader learns about a spin field: a spin box named after its
// label, whose value (with range and step) it can read and set and whose text
// comes from the text area.
#include <QAccessibleWidget>

class TSpinEdit;

class TSpinEditAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit TSpinEditAccessible(TSpinEdit* field);

    void* interface_cast(QAccessible::InterfaceType type) override;
    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;

    QVariant currentValue() const override;
    void setCurrentValue(const QVariant& value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;

private:
    TSpinEdit* field() const;
};

// Registers the interface with Qt's accessibility once per process.
void InstallSpinEditAccessibility();
