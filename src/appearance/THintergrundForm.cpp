#include "appearance/THintergrundForm.h"

#include "appearance/ColorTable.h"
#include "appearance/TListBox.h"
#include "ui/ControlAppearance.h"
#include "ui/DialogPlacement.h"
#include "ui/TextMeasure.h"
#include "util/KaufmannsUndEntfernen.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

THintergrundForm::THintergrundForm(QWidget* AOwner, int ABtnWidth, int ARand)
    : QDialog(AOwner,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                  | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      FBtnWidth(ABtnWidth), FRand(ARand)
{
    setObjectName(QStringLiteral("HintergrundForm"));
    QFont own(QStringLiteral("Tahoma"));
    own.setPixelSize(11);
    setFont(own);

    // Component order is tab order: list, OK, Cancel.
    ListBox1 = new TListBox(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setAccessibleName(QStringLiteral("Schrifthintergrund")); // a list takes no name from the window
    Button1 = new QPushButton(this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    Button1->setAutoDefault(false);
    Button2 = new QPushButton(this);
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

void THintergrundForm::setHintergrundNr(int value)
{
    if (value < 0 || value >= ColorCount)
        value = 0;
    ListBox1->setItemIndex(value);
}

ColorValue THintergrundForm::HintergrundFarbe() const
{
    const int nr = HintergrundNr();
    return ColorValue{FarbWerte[nr >= 0 && nr < ColorCount ? nr : 0]};
}

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
    // Drop the fixed size of the last layout so that the sizes below take effect.
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);

    const QList<QPushButton*> buttons = findChildren<QPushButton*>(Qt::FindDirectChildrenOnly);
    QString longest;
    for (QPushButton* b : buttons) {
        b->resize(FBtnWidth, HoeheFuerSchrift(b->font(), *b));
        const QString caption = util::KaufmannsUndEntfernen(b->text());
        if (caption.size() > longest.size())
            longest = caption;
    }
    for (QPushButton* b : buttons)
        b->resize(BreiteFuerText(b->font(), longest + QStringLiteral("MM")), b->height());

    // Outer size first the whole screen, so the client sizes below are not held back.
    const QSize frameSize = OuterSize(*this) - size();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        resize(screen->geometry().size() - frameSize);

    Button1->move(FRand, Button1->y());
    Button2->move(2 * Button1->x() + Button1->width(), Button2->y());
    resize(Button2->x() + Button2->width() + Button1->x(), height());

    ListBox1->move(FRand, FRand);
    ListBox1->resize(width() - 2 * ListBox1->x(), 20 * HoeheFuerSchrift(ListBox1->font(), *ListBox1));
    Button1->move(Button1->x(), ListBox1->y() + ListBox1->height() + FRand);
    Button2->move(Button2->x(), Button1->y());
    resize(width(), Button1->y() + Button1->height() + FRand);
    setFixedSize(size()); // a fixed dialog frame: the user does not resize it

    FensterEinrichten();
}

void THintergrundForm::FensterEinrichten()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    // The whole screen, not its work area; the dialog's outer size, frame included.
    const QRect targetScreen = screen->geometry();
    PlaceOuter(*this, [&](const QRect& outerLayout) {
        const LayoutPoint p = DialogScreenPosition({targetScreen.width(), targetScreen.height()},
                                                   {outerLayout.width(), outerLayout.height()});
        return LayoutPoint{targetScreen.x() + p.x, targetScreen.y() + p.y};
    });
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
