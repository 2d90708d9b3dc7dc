#include "appearance/SchriftartFenster.h"

#include "appearance/FarbTabelle.h"
#include "appearance/SchriftSkripte.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

constexpr int kStandard = 0, kKursiv = 1, kFett = 2, kFettKursiv = 3;
constexpr int kGroessen[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};
const QString kBeispieltext = QStringLiteral("AaBbYyZz");

QIcon farbfeld(const QColor& c, int seite)
{
    QPixmap pm(seite, seite);
    pm.fill(c);
    QPainter p(&pm);
    p.setPen(Qt::black);
    p.drawRect(0, 0, seite - 1, seite - 1);
    return QIcon(pm);
}

void waehleZeile(QListWidget* liste, int zeile)
{
    if (zeile >= 0 && zeile < liste->count()) {
        liste->setCurrentRow(zeile);
        liste->scrollToItem(liste->item(zeile), QAbstractItemView::PositionAtCenter);
    }
}

} // namespace

SchriftartFenster::SchriftartFenster(const TFont& start, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , m_start(start)
{
    setWindowTitle(QStringLiteral("Schriftart"));
    auto* inhalt = new QWidget;
    auto* raster = new QGridLayout(inhalt);

    auto* nameLabel = new QLabel(QStringLiteral("Schrift&art:"));
    auto* stilLabel = new QLabel(QStringLiteral("Schrift&schnitt:"));
    auto* groesseLabel = new QLabel(QStringLiteral("&Größe:"));
    NameEdit = new QLineEdit(start.Name);
    NameListe = new QListWidget;
    StilListe = new QListWidget;
    GroesseEdit = new QLineEdit(QString::number(start.Size()));
    // No size limit of our own: any size the font holds, a stored 0 or negative one included.
    GroesseEdit->setValidator(new QIntValidator(-TFont::GroesstePunkte(), TFont::GroesstePunkte(), GroesseEdit));
    GroesseListe = new QListWidget;
    // Lists take no name from a label; a screen reader needs one to announce them.
    NameListe->setAccessibleName(QStringLiteral("Schriftart"));
    StilListe->setAccessibleName(QStringLiteral("Schriftschnitt"));
    GroesseListe->setAccessibleName(QStringLiteral("Größe"));
    nameLabel->setBuddy(NameEdit);
    stilLabel->setBuddy(StilListe);
    groesseLabel->setBuddy(GroesseEdit);
    raster->addWidget(nameLabel, 0, 0);
    raster->addWidget(stilLabel, 0, 1);
    raster->addWidget(groesseLabel, 0, 2);
    raster->addWidget(NameEdit, 1, 0);
    raster->addWidget(GroesseEdit, 1, 2);
    raster->addWidget(NameListe, 2, 0);
    raster->addWidget(StilListe, 1, 1, 2, 1);
    raster->addWidget(GroesseListe, 2, 2);

    // The screen fonts; the start face stays even where the database does not list it.
    QStringList familien;
    for (const QString& f : QFontDatabase::families())
        if (!QFontDatabase::isPrivateFamily(f))
            familien << f;
    NameListe->addItems(familien);
    for (int i = 0; i < NameListe->count(); ++i)
        if (NameListe->item(i)->text().compare(start.Name, Qt::CaseInsensitive) == 0)
            waehleZeile(NameListe, i);

    StilListe->addItems({QStringLiteral("Standard"), QStringLiteral("Kursiv"), QStringLiteral("Fett"),
                         QStringLiteral("Fett Kursiv")});
    waehleZeile(StilListe, (start.Style.bold ? kFett : kStandard) + (start.Style.italic ? kKursiv : 0));

    for (int g : kGroessen)
        GroesseListe->addItem(QString::number(g));
    for (int i = 0; i < GroesseListe->count(); ++i)
        if (GroesseListe->item(i)->text().toInt() == start.Size())
            waehleZeile(GroesseListe, i);

    auto* effekte = new QGroupBox(QStringLiteral("Effekte"));
    auto* effekteLayout = new QVBoxLayout(effekte);
    Durchgestrichen = new QCheckBox(QStringLiteral("Durchgestric&hen"));
    Durchgestrichen->setChecked(start.Style.strikeOut);
    Unterstrichen = new QCheckBox(QStringLiteral("&Unterstrichen"));
    Unterstrichen->setChecked(start.Style.underline);
    auto* farbLabel = new QLabel(QStringLiteral("&Farbe:"));
    FarbBox = new QComboBox;
    farbLabel->setBuddy(FarbBox);
    effekteLayout->addWidget(Durchgestrichen);
    effekteLayout->addWidget(Unterstrichen);
    effekteLayout->addWidget(farbLabel);
    effekteLayout->addWidget(FarbBox);

    // The current colour heads the list when it is none of the sixteen (a system colour, say).
    int startFarbe = -1;
    for (int i = 0; i < static_cast<int>(std::size(TextFarbTabelle)); ++i)
        if (TextFarbTabelle[i].Wert == start.Color.raw)
            startFarbe = i;
    if (startFarbe < 0) {
        FarbBox->addItem(farbfeld(start.Color.toQColor(), 16),
                         start.Color.raw == ColorValue::clWindowText ? QStringLiteral("Fenstertext")
                                                                    : QStringLiteral("Benutzerdefiniert"),
                         QVariant::fromValue(start.Color.raw));
    }
    for (const FarbEintrag& farbe : TextFarbTabelle)
        FarbBox->addItem(farbfeld(ColorValue{farbe.Wert}.toQColor(), 16), QStringView(farbe.Name).toString(),
                         QVariant::fromValue(farbe.Wert));
    FarbBox->setCurrentIndex(startFarbe < 0 ? 0 : startFarbe);

    auto* beispielBox = new QGroupBox(QStringLiteral("Beispiel"));
    auto* beispielLayout = new QVBoxLayout(beispielBox);
    Beispiel = new QLabel(kBeispieltext);
    Beispiel->setAlignment(Qt::AlignCenter);
    m_beispielRollen = new QScrollArea;
    m_beispielRollen->setWidget(Beispiel);
    m_beispielRollen->setWidgetResizable(true);
    m_beispielRollen->setAlignment(Qt::AlignCenter);
    m_beispielRollen->setAccessibleName(QStringLiteral("Beispiel"));
    beispielLayout->addWidget(m_beispielRollen);
    auto* skriptLabel = new QLabel(QStringLiteral("Sk&ript:"));
    SkriptBox = new QComboBox;
    skriptLabel->setBuddy(SkriptBox);
    beispielLayout->addWidget(skriptLabel);
    beispielLayout->addWidget(SkriptBox);

    raster->addWidget(effekte, 3, 0);
    raster->addWidget(beispielBox, 3, 1, 1, 2);

    OkButton = new QPushButton(QStringLiteral("OK"));
    AbbrechenButton = new QPushButton(QStringLiteral("Abbrechen"));
    OkButton->setDefault(true);
    auto* knoepfe = new QHBoxLayout;
    knoepfe->addStretch();
    knoepfe->addWidget(OkButton);
    knoepfe->addWidget(AbbrechenButton);
    raster->addLayout(knoepfe, 4, 0, 1, 3);

    m_rollbereich = new QScrollArea;
    m_rollbereich->setWidget(inhalt);
    m_rollbereich->setWidgetResizable(true);
    m_rollbereich->setFrameShape(QFrame::NoFrame);
    m_rollbereich->setAccessibleName(windowTitle()); // a Tab stop of its own, for scrolling by keys
    auto* aussen = new QVBoxLayout(this);
    aussen->setContentsMargins(0, 0, 0, 0);
    aussen->addWidget(m_rollbereich);

    fuelleSkripte(start.Name, start.Charset);

    connect(NameListe, &QListWidget::currentTextChanged, this, [this](const QString& name) {
        if (name.isEmpty())
            return;
        NameEdit->setText(name);
        fuelleSkripte(name, SkriptBox->currentData().toInt());
        beispielAktualisieren();
    });
    connect(NameEdit, &QLineEdit::textEdited, this, [this](const QString& text) {
        // Typing a face's beginning moves the list to it.
        for (int i = 0; i < NameListe->count(); ++i) {
            if (NameListe->item(i)->text().startsWith(text, Qt::CaseInsensitive)) {
                const QSignalBlocker still(NameListe);
                waehleZeile(NameListe, i);
                break;
            }
        }
        fuelleSkripte(gewaehlterName(), SkriptBox->currentData().toInt());
        beispielAktualisieren();
    });
    connect(GroesseListe, &QListWidget::currentTextChanged, this, [this](const QString& g) {
        if (!g.isEmpty())
            GroesseEdit->setText(g);
        beispielAktualisieren();
    });
    connect(GroesseEdit, &QLineEdit::textEdited, this, [this] { beispielAktualisieren(); });
    connect(StilListe, &QListWidget::currentRowChanged, this, [this] { beispielAktualisieren(); });
    connect(Durchgestrichen, &QCheckBox::toggled, this, [this] { beispielAktualisieren(); });
    connect(Unterstrichen, &QCheckBox::toggled, this, [this] { beispielAktualisieren(); });
    connect(FarbBox, &QComboBox::activated, this, [this] {
        m_farbeGewaehlt = true;
        beispielAktualisieren();
    });
    connect(SkriptBox, &QComboBox::activated, this, [this] { m_skriptGewaehlt = true; });
    connect(OkButton, &QPushButton::clicked, this, &SchriftartFenster::accept);
    connect(AbbrechenButton, &QPushButton::clicked, this, &SchriftartFenster::reject);

    eigeneSchriftEinrichten();
    beispielAktualisieren();
    NameEdit->setFocus();
}

void SchriftartFenster::fuelleSkripte(const QString& family, int gewuenscht)
{
    std::vector<int> skripte = SkripteDerSchrift(family);
    // The font's own character set stays selectable for its own face.
    if (family.compare(m_start.Name, Qt::CaseInsensitive) == 0
        && std::find(skripte.begin(), skripte.end(), m_start.Charset) == skripte.end())
        skripte.insert(skripte.begin(), m_start.Charset);
    const QSignalBlocker still(SkriptBox);
    SkriptBox->clear();
    int auswahl = 0;
    for (int z : skripte) {
        if (z == gewuenscht)
            auswahl = SkriptBox->count();
        SkriptBox->addItem(SkriptName(z), z);
    }
    SkriptBox->setCurrentIndex(auswahl);
}

QString SchriftartFenster::gewaehlterName() const
{
    const QString text = NameEdit->text().trimmed();
    for (int i = 0; i < NameListe->count(); ++i)
        if (NameListe->item(i)->text().compare(text, Qt::CaseInsensitive) == 0)
            return NameListe->item(i)->text();
    return text;
}

std::optional<int> SchriftartFenster::gelesenePunkte() const
{
    bool ok = false;
    const int p = GroesseEdit->text().trimmed().toInt(&ok);
    if (!ok || p < -TFont::GroesstePunkte() || p > TFont::GroesstePunkte())
        return std::nullopt;
    return p;
}

SchriftWahl SchriftartFenster::Wahl() const
{
    SchriftWahl w;
    w.Name = gewaehlterName();
    if (w.Name.isEmpty())
        w.Name = m_start.Name;
    // A size left as it was shown keeps the font's exact height: a stored size
    // in points does not always come back the same through the pixel height.
    if (GroesseEdit->text().trimmed() != QString::number(m_start.Size()))
        w.Punkte = gelesenePunkte();
    const int stil = StilListe->currentRow();
    w.Gewicht = (stil == kFett || stil == kFettKursiv) ? 700 : 400;
    w.Kursiv = stil == kKursiv || stil == kFettKursiv;
    w.Unterstrichen = Unterstrichen->isChecked();
    w.Durchgestrichen = Durchgestrichen->isChecked();
    if (m_farbeGewaehlt)
        w.Farbe = ColorValue{FarbBox->currentData().toUInt()};
    if (m_skriptGewaehlt || w.Name.compare(m_start.Name, Qt::CaseInsensitive) != 0)
        w.Zeichensatz = static_cast<std::uint8_t>(SkriptBox->currentData().toInt());
    return w;
}

void SchriftartFenster::beispielAktualisieren()
{
    TFont probe = m_start;
    SchriftWahlUebernehmen(probe, Wahl());
    if (!m_farbeGewaehlt)
        probe.Color = m_start.Color;
    Beispiel->setFont(probe.toQFont());
    QPalette pal = Beispiel->palette();
    pal.setColor(QPalette::WindowText, probe.Color.toQColor(pal));
    Beispiel->setPalette(pal);
}

void SchriftartFenster::eigeneSchriftEinrichten()
{
    // The window's own texts in the display font, but never so large that it
    // no longer fits the screen: shrink until it does (a floor of 8 points),
    // and let the scroll area take what is still too large.
    const QScreen* bildschirm = parentWidget() ? parentWidget()->screen() : screen();
    const QSize platz = bildschirm ? bildschirm->availableGeometry().size() - QSize(40, 60) : QSize(800, 600);
    QFont eigene = m_start.toQFont();
    eigene.setUnderline(false);
    eigene.setStrikeOut(false);
    const int boden = TFont::PixelsPerInch() * 8 / 72;
    int px = std::max(m_start.AngewandtePixelHoehe(), boden);

    auto passt = [&](int groesse) {
        eigene.setPixelSize(groesse);
        setFont(eigene);
        const QFontMetrics fm(eigene);
        const int zeile = fm.height();
        // Lists sized from the font, not from the view's fixed preferred size.
        const int rand = 2 * NameListe->frameWidth() + NameListe->verticalScrollBar()->sizeHint().width() + fm.averageCharWidth();
        // As wide as the longest face name offered, so none is cut off.
        int breitesterName = fm.horizontalAdvance(QStringLiteral("Liberation Sans Narrow"));
        for (int i = 0; i < NameListe->count(); ++i)
            breitesterName = std::max(breitesterName, fm.horizontalAdvance(NameListe->item(i)->text()));
        // Not QSizePolicy::Ignored: the grid then hands the column less than
        // this minimum and the style list covers the longest names.
        NameListe->setMinimumSize(breitesterName + rand, 7 * zeile);
        NameListe->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
        StilListe->setFixedWidth(fm.horizontalAdvance(QStringLiteral("Fett Kursiv")) + rand);
        StilListe->setMinimumHeight(5 * zeile);
        GroesseListe->setFixedWidth(std::max(fm.horizontalAdvance(QStringLiteral("9999")) + rand,
                                             fm.horizontalAdvance(QStringLiteral("Größe:"))));
        GroesseListe->setMinimumHeight(7 * zeile);
        // A huge sample scrolls inside its box instead of blowing the window up.
        m_beispielRollen->setFixedHeight(4 * zeile);
        m_beispielRollen->setMinimumWidth(fm.horizontalAdvance(kBeispieltext));
        m_beispielRollen->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
        m_rollbereich->widget()->adjustSize();
        const QSize bedarf = m_rollbereich->widget()->sizeHint();
        return bedarf.width() <= platz.width() && bedarf.height() <= platz.height();
    };
    if (!passt(px)) {
        int lo = boden, hi = px; // lo fits or is the floor, hi does not fit
        while (hi - lo > 1) {
            const int mitte = (lo + hi) / 2;
            (passt(mitte) ? lo : hi) = mitte;
        }
        passt(lo);
    }
    const QSize bedarf = m_rollbereich->widget()->sizeHint() + QSize(4, 4);
    resize(std::min(bedarf.width(), platz.width()), std::min(bedarf.height(), platz.height()));
}

void SchriftartFenster::accept()
{
    if (GroesseEdit->text().trimmed() != QString::number(m_start.Size()) && !gelesenePunkte()) {
        QMessageBox::information(this, QStringLiteral("Schriftart"),
                                 QStringLiteral("Die Größe muss eine ganze Zahl zwischen %1 und %2 sein.")
                                     .arg(-TFont::GroesstePunkte())
                                     .arg(TFont::GroesstePunkte()));
        GroesseEdit->setFocus();
        GroesseEdit->selectAll();
        return;
    }
    done(1);
}

void SchriftartFenster::reject() { done(2); }
