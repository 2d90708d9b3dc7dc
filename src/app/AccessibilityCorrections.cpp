#include "app/AccessibilityCorrections.h"

#ifdef _WIN32

// Windows has a bridge of its own (UI Automation); what is corrected here is
// what Qt tells over AT-SPI.
void InstallAccessibilityCorrections() {}

#else

#include "app/AtSpiDevicePixels.h"

#include <QAccessible>
#include <QWidget>

namespace {

QAccessible::UpdateHandler g_previous = nullptr;

// Qt's text fields report a caret move whenever their cursor position changes,
// also when the program writes a field that does not have the focus (where no
// caret is drawn).
bool CaretOfAnUnfocusedField(QAccessibleEvent* event)
{
    if (event->type() != QAccessible::TextCaretMoved)
        return false;
    const auto* widget = qobject_cast<const QWidget*>(event->object());
    return widget && !widget->hasFocus();
}

void FilteredUpdate(QAccessibleEvent* event)
{
    if (CaretOfAnUnfocusedField(event))
        return;
    // Qt has already brought a table's own view of its rows up to date from this
    // event before any handler sees it; handed on again it would be applied twice
    // (and this bridge announces nothing for it).
    if (event->type() == QAccessible::TableModelChanged && !g_previous)
        return;
    // Qt hands an event to its platform bridge only while no handler is
    // installed: step aside for this one event.
    QAccessible::installUpdateHandler(g_previous);
    QAccessible::updateAccessibility(event);
    QAccessible::installUpdateHandler(FilteredUpdate);
}

} // namespace

void InstallAccessibilityCorrections()
{
    static const bool installed = [] {
        g_previous = QAccessible::installUpdateHandler(FilteredUpdate);
        InstallAtSpiDevicePixels();
        return true;
    }();
    Q_UNUSED(installed);
}

#endif
