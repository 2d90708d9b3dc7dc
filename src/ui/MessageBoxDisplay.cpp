#include "ui/MessageBoxDisplay.h"

#include "platform/ScreenArea.h"
#include "ui/ControlAppearance.h"
#include "ui/DialogPlacement.h"
#include "ui/HeldKeyFilter.h"
#include "ui/TextContrast.h"
#include "ui/WindowFit.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QPainter>
#include <QStyle>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
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

QStyle::StandardPixmap standardPixmapOf(QMessageBox::Icon icon);
QPixmap grownIcon(const QWidget& box, QStyle::StandardPixmap pixmap, int size);

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

QPixmap grownIcon(const QWidget& box, QStyle::StandardPixmap pixmap, int size)
{
    QPixmap image = box.style()->standardIcon(pixmap, nullptr, &box).pixmap(size, size);
    if (image.height() < size) // an icon read from an image file comes no larger than the file
        image = image.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return image;
}

// The box's text laid out at `width` as a label lays out its wrapped text,
// but a word wider than the width is broken within it rather than cut off at
// the view's edge: broken between words, else anywhere. Paragraphs at line
// feeds; each paragraph's lines below the last one's, `leading` apart.
// Returns the size it takes (never wider than `width`); draws it with
// `painter` where one is given.
QSize layOutText(const QString& text, const QFont& font, int width, QPainter* painter = nullptr)
{
    const QFontMetricsF fm(font);
    QTextOption option(Qt::AlignLeft);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    qreal y = 0;
    qreal widest = 0;
    bool first = true;
    for (const QString& paragraph : text.split(QLatin1Char('\n'))) {
        QTextLayout layout(paragraph, font);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            if (!first)
                y += fm.leading();
            first = false;
            line.setLineWidth(width);
            line.setPosition(QPointF(0, y));
            y += line.height();
            widest = std::max(widest, line.naturalTextWidth());
        }
        layout.endLayout();
        if (painter)
            layout.draw(painter, QPointF(0, 0));
    }
    return {std::min(width, static_cast<int>(std::ceil(widest))), static_cast<int>(std::ceil(y))};
}

// Draws the label's text as layOutText lays it out, in the label's font and
// text colour; the label itself keeps its text for everyone who reads it.
class BrokenTextPainter : public QObject {
public:
    explicit BrokenTextPainter(QLabel& label) : QObject(&label) { label.installEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* label = qobject_cast<QLabel*>(watched);
        if (!label || event->type() != QEvent::Paint)
            return QObject::eventFilter(watched, event);
        QPainter painter(label);
        const QPalette::ColorGroup group = !label->isEnabled() ? QPalette::Disabled
            : label->isActiveWindow()                          ? QPalette::Active
                                                               : QPalette::Inactive;
        painter.setPen(label->palette().color(group, label->foregroundRole()));
        layOutText(label->text(), label->font(), label->width(), &painter);
        return true;
    }
};

// The program's message box: laid out by the toolkit while that fits the work
// area. Beyond that its text wraps at the width the work area leaves it and,
// where it is still too high, scrolls in the height that is left, so the
// button row stays in view; the keys that scroll a text (arrows, page keys,
// Home, End) scroll it while the button has the focus. The text stays the
// box's own label, which screen readers read as the box's text. The box is
// placed over its owner, its outer rectangle wholly inside the work area.
class FittingMessageBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    bool event(QEvent* e) override
    {
        bool handled = false;
        if (e->type() == QEvent::LayoutRequest && m_view) {
            // The toolkit would size the box for a label it no longer holds.
            handled = QDialog::event(e);
            fit();
        } else {
            handled = QMessageBox::event(e);
            if (e->type() == QEvent::LayoutRequest && isVisible())
                fit();
        }
        holdSize();
        return handled;
    }

    void showEvent(QShowEvent* e) override
    {
        QMessageBox::showEvent(e);
        if (e->spontaneous())
            return;
        fit();
        place();
    }

    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (e->type() == QEvent::KeyPress && m_view && scrollByKey(*static_cast<QKeyEvent*>(e)))
            return true;
        return QMessageBox::eventFilter(watched, e);
    }

private:
    // The box is of one fixed size, set by the toolkit (on showing, on a new
    // text or font) or by fit(); whatever set it, the window manager is to
    // take it as it stands, not rounded to a resize step (see HoldExactSize).
    void holdSize()
    {
        if (minimumSize() == maximumSize() && baseSize() != minimumSize())
            HoldExactSize(*this);
    }

    QRect workArea() const
    {
        const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
        const QScreen* s = owner && owner->screen() ? owner->screen() : screen();
        if (!s)
            s = QGuiApplication::primaryScreen();
        return s ? platform::WorkAreaOf(*s) : QRect();
    }

    void fit()
    {
        auto* label = findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        auto* grid = qobject_cast<QGridLayout*>(layout());
        const QRect area = workArea();
        if (!label || !grid || area.isEmpty())
            return;
        if (m_view && label->parentWidget() != m_view->viewport()) {
            // The toolkit has laid the box out anew around its label.
            delete m_view;
            m_view = nullptr;
        }
        const QSize frame = AroundWindow(*this);
        const LayoutSize room = ClientRoom({area.width(), area.height()}, {frame.width(), frame.height()});
        if (!m_view) {
            if (FitsInto({width(), height()}, room))
                return;
            m_wanted = size();
            takeIntoView(*grid, *label);
        }
        label->setWordWrap(true);

        // What lies around the text, measured by the box's own layout.
        const auto boxFor = [&](const QSize& view) {
            m_view->setFixedSize(view);
            grid->activate();
            return grid->totalMinimumSize();
        };
        constexpr int Probe = 4000;
        QSize least;
        LayoutSize around;
        const auto measure = [&] {
            least = boxFor({1, 1});
            const QSize large = boxFor({Probe, Probe});
            around = {large.width() - Probe, large.height() - Probe};
        };
        measure();
        const QFontMetrics fm(label->font());
        const auto wrapped = [&](int width) {
            // Never lower than the label itself would have it.
            const QSize s = layOutText(label->text(), label->font(), width);
            return LayoutSize{s.width(), std::max(s.height(), label->heightForWidth(width))};
        };
        const int widestWord
            = fm.boundingRect(QRect(0, 0, 1, 2000), Qt::AlignLeft | Qt::TextWordWrap, label->text()).width();
        const int bar = m_view->verticalScrollBar()->sizeHint().width();
        // The icon, grown with the font, makes room where the box without its
        // text is too high (a word too wide beside it is broken instead).
        const int excess = least.height() - room.height;
        if (excess > 0 && shrinkIconBy(excess))
            measure();
        const TextWindowFit f = FitTextWindow({m_wanted.width(), m_wanted.height()}, around,
                                              {least.width(), least.height()}, room, bar, widestWord, wrapped);

        m_view->setHorizontalScrollBarPolicy(f.view.horizontal ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
        m_view->setVerticalScrollBarPolicy(f.view.vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
        // The text as wide as the view leaves it, as high as it lays out there.
        const int textWidth = std::max(1, f.view.client.width - (f.view.vertical ? bar : 0));
        label->resize(textWidth, wrapped(textWidth).height);
        boxFor({f.view.client.width, f.view.client.height});
        m_view->verticalScrollBar()->setSingleStep(fm.height());
        m_view->horizontalScrollBar()->setSingleStep(fm.averageCharWidth() * 4);
        setFixedSize(f.window.width, f.window.height);
        grid->activate();
        // Measuring posted layout requests that ask for this same fitting again.
        QCoreApplication::removePostedEvents(this, QEvent::LayoutRequest);
    }

    // The icon gives up to `excess` of its size, down to the style's own.
    bool shrinkIconBy(int excess)
    {
        auto* iconLabel = findChild<QLabel*>(QStringLiteral("qt_msgboxex_icon_label"));
        const QStyle::StandardPixmap pixmap = standardPixmapOf(icon());
        if (!iconLabel || pixmap == QStyle::SP_CustomBase || iconLabel->pixmap().isNull())
            return false;
        const int own = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
        const int now = iconLabel->pixmap().deviceIndependentSize().toSize().height();
        const int size = std::max(own, now - excess);
        if (size >= now)
            return false;
        iconLabel->setPixmap(grownIcon(*this, pixmap, size));
        return true;
    }

    // The label moves into a scrolling view in the cell it had.
    void takeIntoView(QGridLayout& grid, QLabel& label)
    {
        int row = 0, column = 0, rows = 1, columns = 1;
        grid.getItemPosition(grid.indexOf(&label), &row, &column, &rows, &columns);
        grid.removeWidget(&label);
        m_view = new QScrollArea(this);
        m_view->setObjectName(QStringLiteral("MessageTextView"));
        m_view->setFrameShape(QFrame::NoFrame);
        m_view->setFocusPolicy(Qt::NoFocus);
        m_view->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        m_view->viewport()->setAutoFillBackground(false);
        m_view->setWidget(&label);
        new BrokenTextPainter(label);
        label.show();
        grid.addWidget(m_view, row, column, rows, columns);
        m_view->show();
        for (QAbstractButton* b : buttons())
            b->installEventFilter(this);
    }

    bool scrollByKey(const QKeyEvent& key)
    {
        if (key.modifiers() & ~Qt::KeypadModifier)
            return false;
        QScrollBar* down = m_view->verticalScrollBar();
        QScrollBar* across = m_view->horizontalScrollBar();
        const auto act = [](QScrollBar* bar, QAbstractSlider::SliderAction action) {
            if (bar->maximum() <= bar->minimum())
                return false;
            bar->triggerAction(action);
            return true;
        };
        switch (key.key()) {
        case Qt::Key_Up: return act(down, QAbstractSlider::SliderSingleStepSub);
        case Qt::Key_Down: return act(down, QAbstractSlider::SliderSingleStepAdd);
        case Qt::Key_PageUp: return act(down, QAbstractSlider::SliderPageStepSub);
        case Qt::Key_PageDown: return act(down, QAbstractSlider::SliderPageStepAdd);
        case Qt::Key_Home: return act(down, QAbstractSlider::SliderToMinimum);
        case Qt::Key_End: return act(down, QAbstractSlider::SliderToMaximum);
        case Qt::Key_Left: return act(across, QAbstractSlider::SliderSingleStepSub);
        case Qt::Key_Right: return act(across, QAbstractSlider::SliderSingleStepAdd);
        default: return false;
        }
    }

    // Over the owner as the program's dialogs are, else in the middle of the
    // work area; wholly inside the work area either way.
    void place()
    {
        if (QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr) {
            MoveCentredOverOwner(*this, *owner);
            return;
        }
        const QRect area = workArea();
        if (area.isEmpty())
            return;
        PlaceOuter(
            *this,
            [area](const QRect& outer) {
                return LayoutPoint{area.x() + HalfOf(area.width() - outer.width()),
                                   area.y() + HalfOf(area.height() - outer.height())};
            },
            area);
    }

    QScrollArea* m_view = nullptr;
    QSize m_wanted; // the size the toolkit laid the box out in for the whole text
};

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
        iconLabel->setPixmap(grownIcon(box, pixmap, size));
    }
}

void ShowMessageBox(QWidget* owner, QMessageBox::Icon icon, const QString& title, const QString& text)
{
    FittingMessageBox box(icon, title, QString(), QMessageBox::NoButton, owner);
    // The text as it stands: a "<" in a message is a character, not markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    ApplyMessageBoxDisplay(box);
    new HeldKeyFilter(box); // a Return still held from before must not close it unread
    box.exec();
}
