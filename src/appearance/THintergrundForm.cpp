#include "appearance/THintergrundForm.h"

#include "appearance/ColorTable.h"
#include "appearance/HintergrundLayout.h"
#include "appearance/TListBox.h"
#include "platform/ScreenArea.h"
#include "ui/ClientScroller.h"
#include "ui/ControlAppearance.h"
#include "ui/DialogPlacement.h"
#include "ui/WindowFit.h"
#include "ui/TextMeasure.h"
#include "util/KaufmannsUndEntfernen.h"

#include <QApplication>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QShowEvent>

THintergrundForm::THintergrundForm(QWidget* AOwner, int ABtnWidth, int ARand, const platform::IScreenArea& screenArea)
    : QDialog(AOwner,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                  | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      FBtnWidth(ABtnWidth), FRand(ARand), m_screenArea(screenArea)
{
    setObjectName(QStringLiteral("HintergrundForm"));
    QFont own(QStringLiteral("Tahoma"));
    own.setPixelSize(11);
    setFont(own);

    // The client scrolls only when the work area cannot hold the controls.
    m_content = new QWidget;
    m_scroller = NewClientScroller(*this, m_content, FRand);
    // Moved to a screen of another scale or size while open: laid out for it
    // again where it is, inside that screen's work area.
    RelayOutOnScreenChange(*this, [this] { layOutControls(); });

    // Component order is tab order: list, OK, Cancel.
    ListBox1 = new TListBox(m_content);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setAccessibleName(QStringLiteral("Schrifthintergrund")); // a list takes no name from the window
    Button1 = new QPushButton(m_content);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    Button1->setAutoDefault(false);
    Button2 = new QPushButton(m_content);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setAutoDefault(false);
    connect(Button1, &QPushButton::clicked, this, [this] { done(mrOk); });
    connect(Button2, &QPushButton::clicked, this, [this] { done(mrCancel); });
    setTabOrder(ListBox1, Button1);
    setTabOrder(Button1, Button2);

    FormCreate();
}

void THintergrundForm::FormCreate()
{
    CaptionZuweisen(QStringLiteral("Schrifthintergrund wählen"), QStringLiteral("O&K"), QStringLiteral("&Abbrechen"));
}

int THintergrundForm::HintergrundNr() const { return ListBox1->ItemIndex(); }

void THintergrundForm::setHintergrundNr(int value) { ListBox1->setItemIndex(SelectedBy(value)); }

ColorValue THintergrundForm::HintergrundFarbe() const { return ColorOf(HintergrundNr()); }

int THintergrundForm::SelectedBy(int value) { return value >= 0 && value < ColorCount ? value : 0; }

ColorValue THintergrundForm::ColorOf(int nr) { return ColorValue{FarbWerte[SelectedBy(nr)]}; }

void THintergrundForm::setBtnWidth(int value)
{
    FBtnWidth = value;
    SchalterEinrichten();
}

void THintergrundForm::setRand(int value)
{
    FRand = value;
    SchalterEinrichten();
}

void THintergrundForm::CaptionZuweisen(const QString& ACaption, const QString& ABtn1Caption,
                                       const QString& ABtn2Caption)
{
    setWindowTitle(ACaption);
    Button1->setText(ABtn1Caption);
    Button2->setText(ABtn2Caption);
    ListBox1->clear();
    for (std::u16string_view name : FarbNamen)
        ListBox1->addItem(QString::fromUtf16(name.data(), static_cast<qsizetype>(name.size())));
}

void THintergrundForm::SchalterEinrichten()
{
    layOutControls();
    FensterEinrichten();
}

void THintergrundForm::layOutControls()
{
    const QList<QPushButton*> buttons = m_content->findChildren<QPushButton*>(Qt::FindDirectChildrenOnly);
    QString longest;
    for (QPushButton* b : buttons) {
        b->resize(FBtnWidth, HoeheFuerSchrift(b->font(), *b));
        const QString caption = util::KaufmannsUndEntfernen(b->text());
        if (caption.size() > longest.size())
            longest = caption;
    }
    for (QPushButton* b : buttons)
        b->resize(BreiteFuerText(b->font(), longest + QStringLiteral("MM")), b->height());

    HintergrundLayoutInput in;
    in.margin = FRand;
    in.buttonWidth = Button1->width();
    in.buttonHeight = Button1->height();
    in.lineHeight = HoeheFuerSchrift(ListBox1->font(), *ListBox1);
    // The longest name beside the list's frame and a vertical scroll bar.
    const int scrollBar = ListBox1->verticalScrollBar()->sizeHint().width();
    in.listRoom = ListBox1->sizeHintForColumn(0) + 2 * ListBox1->frameWidth() + scrollBar;
    const platform::ScreenRect wa = m_screenArea.WorkArea();
    const QSize frame = AroundWindow(*this);
    in.room = ClientRoom({wa.width, wa.height}, {frame.width(), frame.height()});
    in.scrollBarExtent = m_scroller->verticalScrollBar()->sizeHint().width();
    const HintergrundLayoutResult r = ComputeHintergrundLayout(in);

    auto place = [](QWidget* w, const LayoutRect& rc) { w->setGeometry(rc.left, rc.top, rc.width, rc.height); };
    place(ListBox1, r.list);
    place(Button1, r.button[0]);
    place(Button2, r.button[1]);
    m_content->setFixedSize(r.clientWidth, r.clientHeight);
    m_scroller->setHorizontalScrollBarPolicy(r.view.horizontal ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    m_scroller->setVerticalScrollBarPolicy(r.view.vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    setFixedSize(r.view.client.width, r.view.client.height); // a fixed dialog frame: the user does not resize it
    HoldExactSize(*this);
    m_scroller->setGeometry(0, 0, width(), height());
    // A shortened list keeps the selection in view.
    if (QListWidgetItem* selected = ListBox1->currentItem())
        ListBox1->scrollToItem(selected);
}

void THintergrundForm::FensterEinrichten()
{
    // The whole screen, not its work area; the dialog's outer size, frame
    // included. Where that would put a part of it outside the work area, moved inside.
    const platform::ScreenRect screen = m_screenArea.PrimaryScreen();
    const platform::ScreenRect wa = m_screenArea.WorkArea();
    PlaceOuter(
        *this,
        [screen](const QRect& outerLayout) {
            const LayoutPoint p
                = DialogScreenPosition({screen.width, screen.height}, {outerLayout.width(), outerLayout.height()});
            return LayoutPoint{screen.left + p.x, screen.top + p.y};
        },
        QRect(wa.left, wa.top, wa.width, wa.height));
}

void THintergrundForm::SchriftartZuweisen(const TFont& AFont, ColorValue AColor)
{
    ApplyDisplaySettings({ListBox1, Button1, Button2}, AFont, AColor);
}

void THintergrundForm::showEvent(QShowEvent* event)
{
    if (!event->spontaneous()) {
        FormShow();
        if (!m_positionRuleSpent) {
            m_positionRuleSpent = true;
            if (const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr)
                MoveCentredOverOwner(*this, *owner);
        }
    }
    QDialog::showEvent(event);
}

void THintergrundForm::FormShow()
{
    SchalterEinrichten();
    MerkItemIndex = ListBox1->ItemIndex();
    ListBox1->setFocus();
    if (QListWidgetItem* selected = ListBox1->currentItem())
        ListBox1->scrollToItem(selected);
}

void THintergrundForm::FormClose()
{
    if (result() == mrCancel)
        ListBox1->setItemIndex(MerkItemIndex);
}

void THintergrundForm::done(int r)
{
    setResult(r);
    FormClose();
    QDialog::done(r);
}

void THintergrundForm::accept() { done(mrOk); }

void THintergrundForm::reject() { done(mrCancel); }
