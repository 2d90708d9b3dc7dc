#include "app/TForm1.h"

#include "platform/WindowFrame.h"

#include "app/AccessibilityCorrections.h"
#include "app/MainLayout.h"
#include "app/ShortCutToKeySequence.h"
#include "app/ShortCutToText.h"
#include "app/TPixelForm.h"
#include "app/ZarnolithApplication.h"
#include "appearance/THintergrundForm.h"
#include "calc/AndererWert.h"
#include "controls/TSpinEdit.h"
#include "instance/Messages.h"
#include "instance/QtFormTree.h"
#include "instance/QtWindowSystem.h"
#include "platform/ScreenArea.h"
#include "platform/SystemMenu.h"
#include "platform/WindowFrame.h"
#include "ui/ClientScroller.h"
#include "ui/ControlAppearance.h"
#include "ui/DialogPlacement.h"
#include "ui/MessageBoxDisplay.h"
#include "ui/ScreenWatch.h"
#include "ui/TextMeasure.h"
#include "ui/TextRoom.h"
#include "ui/WindowFit.h"
#include "util/IntegerText.h"
#include "util/KaufmannsUndEntfernen.h"

#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QShowEvent>
#include <QStatusBar>
#include <QWindow>
#include <cstdlib>

TForm1* Form1 = nullptr;
TFont* AnzeigeSchrift = nullptr;
ColorValue AnzeigeHintergrund{0x00FFFFFFu};

namespace {

// Start values have at most four digits (1 to 9999, "0" before the first).
constexpr int StartValueLength = 4;

} // namespace

TForm1::TForm1(QWidget* parent, platform::IBeep& beep, const platform::IScreenArea& screenArea, IErrorBox& errorBox,
               help::IHelpEnvironment& helpEnvironment)
    : QMainWindow(parent), Help(helpEnvironment), m_beep(beep), m_screenArea(screenArea), m_errorBox(errorBox)
{
    Form1 = this;
    InstallAccessibilityCorrections();
    createControls();
    createMenu();
    FormCreate();
}

TForm1::~TForm1()
{
    if (AnzeigeSchrift == &FontDialog1.Font)
        AnzeigeSchrift = nullptr;
    if (Form1 == this) {
        Form1 = nullptr;
        ClearMessageBoxDisplay();
    }
}

void TForm1::createControls()
{
    // The client area is the central widget; menu bar, frame and title lie
    // outside it. It scrolls only when the work area cannot hold the controls.
    m_client = new QWidget;
    m_scroller = NewClientScroller(*this, m_client, mainlayout::Margin);
    setCentralWidget(m_scroller);
    // Moved to a screen of another scale or size: laid out for it again.
    new ScreenWatch(*this, [this] { screenChanged(); });

    auto makeLabel = [this](const char* name) {
        auto* l = new QLabel(m_client);
        l->setObjectName(QString::fromLatin1(name));
        l->setAutoFillBackground(true);
        return l;
    };
    Label1 = makeLabel("Label1");
    Label2 = makeLabel("Label2");
    Label3 = makeLabel("Label3");
    Label4 = makeLabel("Label4");

    auto makeEdit = [this](const char* name) {
        auto* e = new QLineEdit(QStringLiteral("0"), m_client);
        e->setObjectName(QString::fromLatin1(name));
        e->setReadOnly(true);
        return e;
    };
    Edit1 = makeEdit("Edit1");
    Edit2 = makeEdit("Edit2");

    auto makeSpin = [this](const char* name, int tag) {
        auto* s = new TSpinEdit(m_client, m_beep);
        s->setObjectName(QString::fromLatin1(name));
        s->setTag(tag);
        s->setMinValue(0);
        s->setMaxValue(99999);
        s->setMaxLength(5);
        s->setValue(0);
        s->setReadOnly(true);
        return s;
    };
    SpinEdit1 = makeSpin("SpinEdit1", 1);
    SpinEdit2 = makeSpin("SpinEdit2", 2);

    Button1 = new QPushButton(m_client);
    Button1->setObjectName(QStringLiteral("Button1"));
    connect(Button1, &QPushButton::clicked, this,
            ZarnolithApplication::GuardedSlot(this, &TForm1::MenuDateiNeuClick, m_errorBox));

    StatusBar1 = new QStatusBar(m_client);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    StatusPanel = new QLabel(StatusBar1);
    StatusPanel->setObjectName(QStringLiteral("StatusPanel"));
    StatusPanel->setAlignment(Qt::AlignCenter);
    StatusBar1->addWidget(StatusPanel, 1);

    Label1->setBuddy(Edit1);
    Label2->setBuddy(Edit2);
    Label3->setBuddy(SpinEdit1);
    Label4->setBuddy(SpinEdit2);

    setTabOrder(Edit1, Edit2);
    setTabOrder(Edit2, SpinEdit1);
    setTabOrder(SpinEdit1, SpinEdit2);
    setTabOrder(SpinEdit2, Button1);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setSingleShot(true);
    Timer1->setInterval(25);
    connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);
}

void TForm1::createMenu()
{
    const auto command
        = [this](void (TForm1::*handler)()) { return ZarnolithApplication::GuardedSlot(this, handler, m_errorBox); };
    MainMenu1 = menuBar();
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));

    auto addMenu = [this](const char* name, const QString& caption) {
        QMenu* m = MainMenu1->addMenu(caption);
        m->setObjectName(QString::fromLatin1(name));
        return m;
    };
    auto addItem = [](QMenu* menu, const char* name) {
        QAction* a = menu->addAction(QString());
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };

    MenuDatei = addMenu("MenuDatei", QStringLiteral("&Datei"));
    MenuDateiNeu = addItem(MenuDatei, "MenuDateiNeu");
    MenuDateiNeu->setShortcut(ShortCutToKeySequence(ShortCutDateiNeu));
    MenuDateiBeenden = addItem(MenuDatei, "MenuDateiBeenden");
    MenuDateiBeenden->setShortcut(ShortCutToKeySequence(ShortCutDateiBeenden));
    connect(MenuDateiNeu, &QAction::triggered, this, command(&TForm1::MenuDateiNeuClick));
    connect(MenuDateiBeenden, &QAction::triggered, this, command(&TForm1::MenuDateiBeendenClick));

    MenuAns = addMenu("MenuAns", QStringLiteral("&Ansicht"));
    MenuAnsSchriftart = addItem(MenuAns, "MenuAnsSchriftart");
    MenuAnsHintergrund = addItem(MenuAns, "MenuAnsHintergrund");
    connect(MenuAnsSchriftart, &QAction::triggered, this, command(&TForm1::MenuAnsSchriftartClick));
    connect(MenuAnsHintergrund, &QAction::triggered, this, command(&TForm1::MenuAnsHintergrundClick));

    MenuHilfe = addMenu("MenuHilfe", QStringLiteral("&Hilfe"));
    MenuHilfeinfo = addItem(MenuHilfe, "MenuHilfeinfo");
    MenuHilfeHomepage = addItem(MenuHilfe, "MenuHilfeHomepage");
    MenuHilfeUpdate = addItem(MenuHilfe, "MenuHilfeUpdate");
    MenuHilfeAenderungen = addItem(MenuHilfe, "MenuHilfeAenderungen");
    MenuHilfeMail = addItem(MenuHilfe, "MenuHilfeMail");
    MenuHilfeSpenden = addItem(MenuHilfe, "MenuHilfeSpenden");
    connect(MenuHilfe, &QMenu::aboutToShow, this, command(&TForm1::MenuHilfeClick));
    connect(MenuHilfeinfo, &QAction::triggered, this, command(&TForm1::MenuHilfeinfoClick));
    connect(MenuHilfeHomepage, &QAction::triggered, this, command(&TForm1::MenuHilfeHomepageClick));
    connect(MenuHilfeUpdate, &QAction::triggered, this, command(&TForm1::MenuHilfeUpdateClick));
    connect(MenuHilfeAenderungen, &QAction::triggered, this, command(&TForm1::MenuHilfeAenderungenClick));
    connect(MenuHilfeMail, &QAction::triggered, this, command(&TForm1::MenuHilfeMailClick));
    connect(MenuHilfeSpenden, &QAction::triggered, this, command(&TForm1::MenuHilfeSpendenClick));
}

void TForm1::FormCreate()
{
    m_hintergrundNr = 1; // "Weiß"; only selects, nothing is applied yet

    // No size command: the layout alone sets the size; minimise and maximise stay.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    platform::RemoveSizeCommand(*this);

    AnzeigeHintergrund = THintergrundForm::ColorOf(m_hintergrundNr);
    AnzeigeSchrift = &FontDialog1.Font;
    Edit1->setFocus();
    CaptionZuweisen();
}

void TForm1::CaptionZuweisen()
{
    setWindowTitle(QString::fromUtf16(instance::kMainWindowTitle));
    Label1->setText(QStringLiteral("Startwert-Bildbreite:"));
    Label2->setText(QStringLiteral("Startwert-Bildhöhe:"));
    Label3->setText(QStringLiteral("Neue Bildbreite:"));
    Label4->setText(QStringLiteral("Neue Bildhöhe:"));
    Button1->setText(QStringLiteral("&Neue Startwerte..."));

    // The caption alone: the menu shows the shortcut from the item's key
    // sequence, in the program's own words (LoadProgramShortcutTexts).
    MenuDateiNeu->setText(QStringLiteral("&Neue Bildpixel-Startwerte..."));
    MenuDateiBeenden->setText(QStringLiteral("&Beenden"));
    MenuAnsSchriftart->setText(QStringLiteral("Schriftart..."));
    MenuAnsHintergrund->setText(QStringLiteral("Schrift&hintergrund..."));
    MenuHilfeinfo->setText(QStringLiteral("Programm-&Info"));
    MenuHilfeHomepage->setText(QStringLiteral("Programm-Home&page..."));
    MenuHilfeUpdate->setText(QStringLiteral("Programm-&Aktualisierung..."));
    MenuHilfeAenderungen->setText(QStringLiteral("Programm-&Änderungen..."));
    MenuHilfeMail->setText(QStringLiteral("&Mail an den Programmierer..."));
    MenuHilfeSpenden->setText(QStringLiteral("&Spenden..."));

    StatusPanel->setText(QStringLiteral("Mit %1 können die Bildpixel-Startwerte geändert werden")
                             .arg(QString::fromStdString(ShortCutToText(ShortCutDateiNeu))));

    for (QLabel* l : {Label1, Label2, Label3, Label4}) {
        l->adjustSize();
        const QString name = util::KaufmannsUndEntfernen(l->text());
        l->buddy()->setAccessibleName(name);
        if (auto* spin = qobject_cast<TSpinEdit*>(l->buddy()))
            spin->editor()->setAccessibleName(name);
    }
    Button1->setAccessibleName(util::KaufmannsUndEntfernen(Button1->text()));
    StatusBar1->setAccessibleName(StatusPanel->text());
}

std::vector<QObject*> TForm1::Components() const
{
    return {Label1, Label2, Label3, Label4, StatusBar1, Edit1, Edit2, SpinEdit1, SpinEdit2, Button1};
}

void TForm1::SchriftartZuweisen()
{
    if (AnzeigeSchrift) {
        ApplyDisplaySettings(Components(), *AnzeigeSchrift, AnzeigeHintergrund);
        SetMessageBoxDisplay(*AnzeigeSchrift, AnzeigeHintergrund); // the program's boxes show what this window shows
    }
    SchalterEinrichten();
}

void TForm1::SchalterEinrichten()
{
    m_laidOutWhileMaximised = m_laidOutWhileMaximised || isMaximized();
    layOutControls();
    FensterEinrichten();
}

void TForm1::layOutControls()
{
    StatusPanel->setWordWrap(false); // measured on one line; wrapped below where it must
    StatusBar1->resize(StatusBar1->width(), HoeheFuerSchrift(StatusBar1->font(), *StatusBar1));
    for (QObject* o : Components())
        if (auto* b = qobject_cast<QPushButton*>(o))
            b->resize(std::max(mainlayout::ButtonWidth, b->sizeHint().width()), HoeheFuerSchrift(b->font(), *b));

    MainLayoutInput in;
    for (const QLineEdit* e : {Edit1, Edit2})
        in.fieldRoom = std::max(in.fieldRoom, EditWidthForText(*e, WidestNumberText(e->font(), StartValueLength)));
    for (const TSpinEdit* s : {SpinEdit1, SpinEdit2})
        in.fieldRoom
            = std::max(in.fieldRoom, EditWidthForText(*s->editor(), WidestNumberText(s->font(), s->MaxLength())));
    in.buttonRoom = Button1->width();
    in.statusRoom = StatusBar1->sizeHint().width();
    const QLabel* labels[4] = {Label1, Label2, Label3, Label4};
    for (int i = 0; i < 4; ++i)
        in.label[i] = {labels[i]->width(), labels[i]->height()};
    in.editHeight[0] = Edit1->height();
    in.editHeight[1] = Edit2->height();
    in.spinHeight[0] = SpinEdit1->height();
    in.spinHeight[1] = SpinEdit2->height();
    in.buttonHeight = Button1->height();
    in.statusHeight = StatusBar1->height();

    // The room the work area leaves the client: less the frame, the title bar and the menu bar.
    const platform::ScreenRect wa = m_screenArea.WorkArea();
    const QSize frame = AroundWindow(*this);
    const int menuHeight
        = std::max(MainMenu1->heightForWidth(wa.width - frame.width()), MainMenu1->sizeHint().height());
    in.room = ClientRoom({wa.width, wa.height}, {frame.width(), frame.height() + menuHeight});
    in.scrollBarExtent = m_scroller->verticalScrollBar()->sizeHint().width();
    // The hint wrapped: its lines in the bar's height, the bar's own margins around them.
    const int barMargins = StatusBar1->sizeHint().width() - StatusPanel->sizeHint().width();
    const int oneLine = StatusPanel->sizeHint().height();
    const QFont statusFont = StatusPanel->font();
    const QString hint = StatusPanel->text();
    in.statusHeightFor = [=](int width) {
        return in.statusHeight - oneLine + WrappedTextHeight(statusFont, hint, width - barMargins);
    };
    in.statusWordRoom = WidestWordWidth(statusFont, hint) + barMargins;
    MainLayoutResult r = ComputeMainLayout(in);

    auto place = [](QWidget* w, const LayoutRect& rc) { w->setGeometry(rc.left, rc.top, rc.width, rc.height); };
    for (int i = 0; i < 4; ++i)
        place(const_cast<QLabel*>(labels[i]), r.label[i]);
    place(Edit1, r.edit[0]);
    place(Edit2, r.edit[1]);
    place(SpinEdit1, r.spin[0]);
    place(SpinEdit2, r.spin[1]);

    m_client->setFixedWidth(r.clientWidth);
    const int clientWidth = m_client->width();
    r.button.left = ButtonLeftFor(clientWidth, r.button.width);
    place(Button1, r.button);
    m_client->setFixedHeight(r.clientHeight);
    // Docked to the bottom edge over the full width; its one panel follows the bar's width.
    StatusPanel->setWordWrap(r.statusWrapped);
    StatusBar1->setGeometry(0, m_client->height() - r.statusHeight, clientWidth, r.statusHeight);

    m_scroller->setHorizontalScrollBarPolicy(r.view.horizontal ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    m_scroller->setVerticalScrollBarPolicy(r.view.vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    if (isMaximized()) {
        // A maximised window keeps its size and state: the client fills it, and
        // the size laid out here is the one it gets back when it is restored.
        layout()->setSizeConstraint(QLayout::SetDefaultConstraint);
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        m_scroller->setMinimumSize(0, 0);
        m_scroller->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        m_scroller->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        m_scroller->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        HoldExactSize(*this);
        return;
    }
    m_scroller->setFixedSize(r.view.client.width, r.view.client.height);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    // The outer size follows the client size now, so the placement sees it.
    layout()->activate();
    HoldExactSize(*this);
}

void TForm1::FensterEinrichten()
{
    const platform::ScreenRect wa = m_screenArea.WorkArea();
    const LayoutRect workArea{wa.left, wa.top, wa.width, wa.height};
    const bool maximised = isMaximized();
    // Where the window system holds a maximised window's place, a move would
    // restore it: it stays as it is, and a restore places it by the layout it
    // has then (m_laidOutWhileMaximised).
    if (maximised && platform::SystemPlacesMaximised(*this))
        return;
    // A maximised window goes to the work area's corner, where the platform keeps
    // it anyway; any other stays inside the work area, title bar included.
    std::optional<QRect> keepIn;
    if (!maximised)
        keepIn = QRect(wa.left, wa.top, wa.width, wa.height);
    PlaceOuter(
        *this,
        [workArea, maximised](const QRect& outer) {
            return MainWindowPosition(workArea, {outer.width(), outer.height()}, maximised);
        },
        keepIn);
}

void TForm1::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !m_positionRuleSpent)
        return;
    const bool wasMaximised = static_cast<QWindowStateChangeEvent*>(event)->oldState() & Qt::WindowMaximized;
    if (isMaximized() && !wasMaximised)
        layOutControls(); // no fixed size while maximised: the platform sizes it
    else if (wasMaximised && !isMaximized())
        // Back to the laid-out fixed size once the platform has given back the
        // window's normal place: where a new font or background was laid out
        // meanwhile, placed as that layout would have placed it; else where it
        // was, as far as the work area allows.
        QTimer::singleShot(0, this, [this] {
            if (isMaximized())
                return;
            if (!m_laidOutWhileMaximised) {
                screenChanged();
                return;
            }
            m_laidOutWhileMaximised = false;
            layOutControls();
            FensterEinrichten();
        });
}

void TForm1::screenChanged()
{
    layOutControls();
    if (isMaximized())
        return;
    // Where the user has put it, as far as the work area of its screen allows.
    if (const QScreen* s = screen()) {
        const QRect wa = platform::WorkAreaOf(*s);
        PlaceOuter(
            *this,
            [](const QRect& outer) {
                return LayoutPoint{outer.x(), outer.y()};
            },
            wa);
    }
}

void TForm1::showEvent(QShowEvent* event)
{
    if (!event->spontaneous()) {
        try {
            FormShow();
        } catch (const std::exception& e) {
            // FormShow ends at the error (no start-up dialog). The box follows once
            // the window is up: an exception must not unwind through the toolkit's show.
            QTimer::singleShot(0, this, [this, message = ZarnolithApplication::MessageOf(e)] {
                m_errorBox.ShowException(message);
                ShowSettingsNotice();
            });
        }
        if (!m_positionRuleSpent) {
            // The toolkit's centring in the work area, once, after FormShow (a
            // window shown maximised is in its place already).
            m_positionRuleSpent = true;
            if (!isMaximized()) {
                const QScreen* s = screen();
                const QRect wa = platform::WorkAreaOf(*s);
                const QRect desk = s->virtualGeometry();
                PlaceOuter(
                    *this,
                    [wa, desk](const QRect& outer) {
                        return ScreenCentrePosition(ToLayoutRect(wa), {outer.width(), outer.height()},
                                                    ToLayoutRect(desk));
                    },
                    wa);
            }
        }
    }
    QMainWindow::showEvent(event);
}

void TForm1::FormShow()
{
    LoadDisplaySettings();
    Timer1->setInterval(5);
    Timer1->start();
}

void TForm1::Timer1Timer()
{
    Timer1->stop();
    // A close request can come before the dialog is due (an outside 1124 right
    // at the start): the program is ending then, and a box or dialog would keep it running.
    if (!isVisible())
        return;
    // A damaged settings file is told about first, before the start-values dialog takes the keyboard.
    ShowSettingsNotice();
    MenuDateiNeu->trigger();
}

void TForm1::attachSpinEditChange(TSpinEdit* field)
{
    field->OnChange = [this](TSpinEdit* sender) {
        ZarnolithApplication::Guarded([this, sender] { SpinEditChange(sender); }, m_errorBox);
    };
}

void TForm1::MenuDateiNeuClick()
{
    // Detach both handlers; whatever way this command ends early (Cancel, or an
    // error from the seeding), the fields get back what they had.
    TSpinEdit::ChangeHandler noted1 = std::exchange(SpinEdit1->OnChange, nullptr);
    TSpinEdit::ChangeHandler noted2 = std::exchange(SpinEdit2->OnChange, nullptr);
    struct Restore {
        TForm1* form;
        TSpinEdit::ChangeHandler& h1;
        TSpinEdit::ChangeHandler& h2;
        bool active = true;
        ~Restore()
        {
            if (!active)
                return;
            form->SpinEdit1->OnChange = std::move(h1);
            form->SpinEdit2->OnChange = std::move(h2);
        }
    } restore{this, noted1, noted2};

    if (!PixelForm)
        return;
    PixelForm->SchriftartZuweisen();
    PixelForm->SpinEdit1->setValue(util::StrToInt(Edit1->text().toStdString()));
    PixelForm->SpinEdit2->setValue(util::StrToInt(Edit2->text().toStdString()));
    // As the dialog closes this window is activated again and gives the keyboard
    // back to the control it had (Edit1 at the start); that activation can come
    // within the dialog's last turn of its loop, before exec() returns, and a
    // screen reader would follow the focus through Edit1. After OK the keyboard
    // goes to the new width (below): this window keeps that from the moment of OK.
    const QMetaObject::Connection toNewWidth
        = connect(PixelForm, &QDialog::accepted, SpinEdit1, [this] { SpinEdit1->setFocus(); });
    const int result = PixelForm->exec();
    disconnect(toNewWidth);
    if (result != TPixelForm::mrOk)
        return;

    SpinEdit1->setReadOnly(false);
    SpinEdit2->setReadOnly(false);
    SpinEdit1->setMinValue(1);
    SpinEdit2->setMinValue(1);
    for (TSpinEdit* f : {PixelForm->SpinEdit1, PixelForm->SpinEdit2})
        if (f->Value() < f->MinValue())
            f->setValue(f->MinValue());
    Edit1->setText(QString::number(PixelForm->SpinEdit1->Value()));
    Edit2->setText(QString::number(PixelForm->SpinEdit2->Value()));
    SpinEdit1->setValue(PixelForm->SpinEdit1->Value());
    SpinEdit2->setValue(PixelForm->SpinEdit2->Value());
    SpinEdit1->setFocus();
    SpinEdit1->selectAll();

    restore.active = false;
    attachSpinEditChange(SpinEdit1);
    attachSpinEditChange(SpinEdit2);
}

void TForm1::MenuDateiBeendenClick() { close(); }

void TForm1::Message(unsigned messageNumber)
{
    if (messageNumber == instance::WM_BEENDEN)
        WMBeenden();
    else if (messageNumber == instance::WM_AKTIVIEREN)
        WMAktivieren();
}

void TForm1::WMBeenden() { MenuDateiBeenden->trigger(); }

// Qt has no hidden application window: the walk over the application's forms does it all.
void TForm1::WMAktivieren() { instance::BringApplicationToFront(instance::ApplicationForms()); }

std::int32_t TForm1::Startwert(int Index) const
{
    return util::StrToInt((Index == 1 ? Edit1 : Edit2)->text().toStdString());
}

std::int32_t TForm1::Wert(int Index) const { return (Index == 1 ? SpinEdit1 : SpinEdit2)->Value(); }

void TForm1::SpinEditChange(TSpinEdit* Sender)
{
    const std::optional<std::int32_t> typed = util::ParseIntegerText(Sender->text().toStdU16String());
    if (!typed || *typed == -1)
        return;
    const int tag = Sender->Tag();
    const std::int32_t n = Wert(tag);
    const std::int32_t changedStart = Startwert(tag);
    const std::int32_t otherStart = Startwert(std::abs(1 - tag));
    const bool widthChanged = tag == 1;
    const std::int32_t v
        = AndererWert(widthChanged ? changedStart : otherStart, widthChanged ? otherStart : changedStart, tag, n);

    TSpinEdit* other = widthChanged ? SpinEdit2 : SpinEdit1;
    other->OnChange = nullptr;
    other->setValue(v);
    attachSpinEditChange(other);
}

// The "&Ansicht" and "&Hilfe" commands.
// MenuAnsSchriftartClick and MenuAnsHintergrundClick: TForm1View.cpp
void TForm1::MenuHilfeClick()
{
    const help::HelpMenuState state = Help.State();
    MenuHilfeAenderungen->setEnabled(state.changesEnabled);
    MenuHilfeUpdate->setVisible(state.updateVisible);
}

void TForm1::MenuHilfeinfoClick() { Help.ShowInfo(this); }
void TForm1::MenuHilfeHomepageClick() { Help.OpenHomepage(this); }
void TForm1::MenuHilfeUpdateClick() { Help.StartUpdate(this, windowTitle(), *AnzeigeSchrift); }
void TForm1::MenuHilfeAenderungenClick() { Help.ShowChanges(this, *AnzeigeSchrift, AnzeigeHintergrund); }
void TForm1::MenuHilfeMailClick() { Help.WriteMail(this); }
void TForm1::MenuHilfeSpendenClick() { Help.OpenDonations(this); }
