#include "ui/MessageBoxDisplay.h"

#include "ui/ControlAppearance.h"
#include "ui/HeldKeyFilter.h"
#include "ui/TextContrast.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include <algorithm>
#include <optional>

namespace {

struct BoxDisplay {
    TFont font;
    ColorValue background;
};

std::optional<BoxDisplay>& inForce()
{
    static std::optional<BoxDisplay> display;
    return display;
}

QStyle::StandardPixmap standardPixmapOf(QMessageBox::Icon icon)
{
    switch (icon) {
    case QMessageBox::Information: return QStyle::SP_MessageBoxInformation;
    case QMessageBox::Warning: return QStyle::SP_MessageBoxWarning;
    case QMessageBox::Critical: return QStyle::SP_MessageBoxCritical;
    case QMessageBox::Question: return QStyle::SP_MessageBoxQuestion;
    default: return QStyle::SP_CustomBase;
    }
}

} // namespace

void SetMessageBoxDisplay(const TFont& font, ColorValue background) { inForce() = BoxDisplay{font, background}; }

void ClearMessageBoxDisplay() { inForce().reset(); }

void ApplyMessageBoxDisplay(QMessageBox& box)
{
    const std::optional<BoxDisplay>& display = inForce();
    if (!display)
        return;
    const QPalette scheme = QApplication::palette(&box);
    const QColor paper = display->background.toQColor(scheme);
    const QColor ink = TextColorOn(display->font.Color, paper, scheme);
    QPalette pal = box.palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive}) {
        pal.setColor(group, QPalette::Window, paper);
        pal.setColor(group, QPalette::WindowText, ink);
        pal.setColor(group, QPalette::Base, paper);
        pal.setColor(group, QPalette::Text, ink);
    }
    box.setPalette(pal);
    box.setFont(display->font.toQFont());

    // Buttons as everywhere: the face, size and style of the display font, the
    // scheme's own button colours.
    for (QAbstractButton* b : box.buttons())
        if (auto* button = qobject_cast<QPushButton*>(b)) {
            button->setPalette(scheme);
            ApplyFaceSizeStyle(*button, display->font);
        }

    // The icon two lines high, never smaller than the style's own.
    const QStyle::StandardPixmap pixmap = standardPixmapOf(box.icon());
    auto* iconLabel = box.findChild<QLabel*>(QStringLiteral("qt_msgboxex_icon_label"));
    if (iconLabel && pixmap != QStyle::SP_CustomBase) {
        const int own = box.style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, &box);
        const int size = std::max(own, 2 * QFontMetrics(box.font()).height());
        QPixmap image = box.style()->standardIcon(pixmap, nullptr, &box).pixmap(size, size);
        if (image.height() < size) // an icon read from an image file comes no larger than the file
            image = image.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        iconLabel->setPixmap(image);
    }
}

void ShowMessageBox(QWidget* owner, QMessageBox::Icon icon, const QString& title, const QString& text)
{
    QMessageBox box(icon, title, text, QMessageBox::NoButton, owner);
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    ApplyMessageBoxDisplay(box);
    new HeldKeyFilter(box); // a Return still held from before must not close it unread
    box.exec();
}
