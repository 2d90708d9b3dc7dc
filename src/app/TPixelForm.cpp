#include "app/TPixelForm.h"

#include "app/PixelLayout.h"
#include "app/PopupShortcutFilter.h"
#include "app/ShortCutToKeySequence.h"
#include "app/TForm1.h"
#include "controls/TSpinEdit.h"
#include "controls/VirtualKey.h"
#include "platform/ScreenArea.h"
#include "ui/ClientScroller.h"
#include "ui/ControlAppearance.h"
#include "ui/DialogPlacement.h"
#include "ui/TextMeasure.h"
#include "ui/TextRoom.h"
#include "ui/WindowFit.h"
#include "util/KaufmannsUndEntfernen.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QApplication>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QShowEvent>
#include <QTimer>

TPixelForm* PixelForm = nullptr;

TPixelForm::TPixelForm(QWidget* parent, platform::IBeep& beep, const platform::IScreenArea& screenArea)
    // A fixed dialog frame: title and close box, no minimise, maximise or help button.
    : QDialog(parent,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                  | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      m_beep(beep), m_screenArea(screenArea)
{
    PixelForm = this;
    setObjectName(QStringLiteral("PixelForm"));

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    PopupEinfuegen = PopupMenu1->addAction(QStringLiteral("Einfügen"));
    PopupEinfuegen->setObjectName(QStringLiteral("PopupEinfuegen"));
    PopupEinfuegen->setShortcut(ShortCutToKeySequence(ShortCutEinfuegen));
    PopupEinfuegen->setShortcutContext(Qt::WidgetShortcut); // matched only through the fields' filter
    PopupEinfuegen->setVisible(false);
    auto* popupKeys = new PopupShortcutFilter(PopupMenu1, this);

    // The client scrolls only when the work area cannot hold the controls.
    m_content = new QWidget;
    m_scroller = NewClientScroller(*this, m_content, pixellayout::Margin);
    // Moved to a screen of another scale or size while open: laid out for it
    // again where it is, inside that screen's work area.
    RelayOutOnScreenChange(*this, [this] { layOutControls(); });

    auto makeLabel = [this](const char* name) {
        auto* l = new QLabel(m_content);
        l->setObjectName(QString::fromLatin1(name));
        l->setAutoFillBackground(true);
        return l;
    };
    auto makeSpin = [this, popupKeys](const char* name) {
        auto* s = new TSpinEdit(m_content, m_beep);
        s->setObjectName(QString::fromLatin1(name));
        s->setMinValue(1);
        s->setMaxValue(9999);
        s->setMaxLength(4);
        s->setValue(1);
        // The fields' popup menu has no visible item: a context-menu request offers nothing.
        s->setContextMenuPolicy(Qt::PreventContextMenu);
        s->editor()->setContextMenuPolicy(Qt::PreventContextMenu);
        popupKeys->watch(s->editor());
        s->OnKeyDown = [this](TSpinEdit* sender, std::uint16_t& key, Qt::KeyboardModifiers shift) {
            SpinEdit1KeyDown(sender, key, shift);
        };
        s->OnKeyPress = [this](TSpinEdit* sender, char16_t& key) { SpinEdit1KeyPress(sender, key); };
        return s;
    };
    Label1 = makeLabel("Label1");
    SpinEdit1 = makeSpin("SpinEdit1");
    Label2 = makeLabel("Label2");
    SpinEdit2 = makeSpin("SpinEdit2");
    Label1->setBuddy(SpinEdit1);
    Label2->setBuddy(SpinEdit2);

    Button1 = new QPushButton(m_content);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    Button2 = new QPushButton(m_content);
    Button2->setObjectName(QStringLiteral("Button2"));
    connect(Button1, &QPushButton::clicked, this, [this] { setModalResult(mrOk); });
    connect(Button2, &QPushButton::clicked, this, [this] { setModalResult(mrCancel); });

    setTabOrder(Button1, Button2);
    setTabOrder(Button2, SpinEdit1);
    setTabOrder(SpinEdit1, SpinEdit2);
    setTabOrder(SpinEdit2, Button1);

    FormCreate();
}

TPixelForm::~TPixelForm()
{
    if (PixelForm == this)
        PixelForm = nullptr;
}

void TPixelForm::FormCreate() { CaptionZuweisen(); }

void TPixelForm::CaptionZuweisen()
{
    setWindowTitle(QStringLiteral("Neue Startwerte für Bildbreite und -höhe"));
    Label1->setText(QStringLiteral("Bild&breite:"));
    Label2->setText(QStringLiteral("Bild&höhe:"));
    Button1->setText(QStringLiteral("O&K"));
    Button2->setText(QStringLiteral("&Abbrechen"));

    for (QLabel* l : {Label1, Label2}) {
        l->adjustSize();
        const QString name = util::KaufmannsUndEntfernen(l->text());
        l->buddy()->setAccessibleName(name);
        static_cast<TSpinEdit*>(l->buddy())->editor()->setAccessibleName(name);
    }
    Button1->setAccessibleName(QStringLiteral("OK"));
    Button2->setAccessibleName(QStringLiteral("Abbrechen"));
}

std::vector<QObject*> TPixelForm::Components() const
{
    return {Label1, SpinEdit1, Label2, SpinEdit2, Button1, Button2, PopupMenu1};
}

void TPixelForm::SchriftartZuweisen()
{
    if (AnzeigeSchrift)
        ApplyDisplaySettings(Components(), *AnzeigeSchrift, AnzeigeHintergrund);
}

void TPixelForm::showEvent(QShowEvent* event)
{
    if (!event->spontaneous()) {
        FormShow();
        if (!m_positionRuleSpent) {
            // Centred over the main window once, at the first showing.
            m_positionRuleSpent = true;
            if (const QWidget* owner = parentWidget() ? parentWidget()->window() : Form1)
                MoveCentredOverOwner(*this, *owner);
        }
    }
    QDialog::showEvent(event);
}

void TPixelForm::FormShow()
{
    SchalterEinrichten();
    SpinEdit1->setFocus();
    SpinEdit1->selectAll();
}

void TPixelForm::SchalterEinrichten()
{
    layOutControls();
    FensterEinrichten();
}

void TPixelForm::layOutControls()
{
    int captionRoom = 0;
    for (QObject* o : Components())
        if (auto* b = qobject_cast<QPushButton*>(o)) {
            b->resize(pixellayout::ButtonWidth, HoeheFuerSchrift(b->font(), *b));
            captionRoom = std::max(captionRoom, b->sizeHint().width());
        }

    PixelLayoutInput in;
    in.buttonRoom = captionRoom;
    for (const TSpinEdit* s : {SpinEdit1, SpinEdit2})
        in.fieldRoom
            = std::max(in.fieldRoom, EditWidthForText(*s->editor(), WidestNumberText(s->font(), s->MaxLength())));
    in.label[0] = {Label1->width(), Label1->height()};
    in.label[1] = {Label2->width(), Label2->height()};
    in.spinHeight[0] = SpinEdit1->height();
    in.spinHeight[1] = SpinEdit2->height();
    in.buttonHeight = Button1->height();
    const platform::ScreenRect wa = m_screenArea.WorkArea();
    const QSize frame = AroundWindow(*this);
    in.room = ClientRoom({wa.width, wa.height}, {frame.width(), frame.height()});
    in.scrollBarExtent = m_scroller->verticalScrollBar()->sizeHint().width();
    PixelLayoutResult r = ComputePixelLayout(in);

    m_content->setFixedWidth(r.clientWidth);
    ButtonLeftsFor(m_content->width(), r);
    m_content->setFixedHeight(r.clientHeight);
    m_scroller->setHorizontalScrollBarPolicy(r.view.horizontal ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    m_scroller->setVerticalScrollBarPolicy(r.view.vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    setFixedSize(r.view.client.width, r.view.client.height);
    HoldExactSize(*this);
    m_scroller->setGeometry(0, 0, width(), height());

    auto place = [](QWidget* w, const LayoutRect& rc) { w->setGeometry(rc.left, rc.top, rc.width, rc.height); };
    place(Label1, r.label[0]);
    place(Label2, r.label[1]);
    place(SpinEdit1, r.spin[0]);
    place(SpinEdit2, r.spin[1]);
    place(Button1, r.button[0]);
    place(Button2, r.button[1]);
}

void TPixelForm::FensterEinrichten()
{
    // By the whole screen; where that would put a part of the dialog outside
    // the work area (under a panel, or beyond the screen), moved inside it.
    const platform::ScreenRect screen = m_screenArea.PrimaryScreen();
    const platform::ScreenRect wa = m_screenArea.WorkArea();
    PlaceOuter(
        *this,
        [screen](const QRect& outer) {
            return DialogScreenPosition({screen.width, screen.height}, {outer.width(), outer.height()});
        },
        QRect(wa.left, wa.top, wa.width, wa.height));
}

void TPixelForm::SpinEdit1KeyDown(TSpinEdit*, std::uint16_t& Key, Qt::KeyboardModifiers Shift)
{
    const bool noModifier = !(Shift & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier));
    if (Key == vk::Return && noModifier && Button1->isEnabled()) {
        Key = 0;
        setModalResult(mrOk);
    }
}

void TPixelForm::SpinEdit1KeyPress(TSpinEdit*, char16_t& Key)
{
    if (Key == vk::Escape) {
        Key = 0;
        setModalResult(mrCancel);
    }
}

void TPixelForm::setModalResult(int result) { done(result); }

void TPixelForm::accept() { setModalResult(mrOk); }

void TPixelForm::reject() { setModalResult(mrCancel); }
