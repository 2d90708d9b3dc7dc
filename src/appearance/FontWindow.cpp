#include "appearance/FontWindow.h"

#include "appearance/ColorTable.h"
#include "appearance/FontScripts.h"

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

constexpr int kStandard = 0, kItalic = 1, kBold = 2, kBoldItalic = 3;
constexpr int kSizes[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};
const QString kSampleText = QStringLiteral("AaBbYyZz");

QIcon colorSwatch(const QColor& c, int side)
{
    QPixmap pm(side, side);
    pm.fill(c);
    QPainter p(&pm);
    p.setPen(Qt::black);
    p.drawRect(0, 0, side - 1, side - 1);
    return QIcon(pm);
}

void selectRow(QListWidget* list, int line)
{
    if (line >= 0 && line < list->count()) {
        list->setCurrentRow(line);
        list->scrollToItem(list->item(line), QAbstractItemView::PositionAtCenter);
    }
}

} // namespace

FontWindow::FontWindow(const TFont& start, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_start(start)
{
    setWindowTitle(QStringLiteral("Schriftart"));
    auto* content = new QWidget;
    auto* grid = new QGridLayout(content);

    auto* nameLabel = new QLabel(QStringLiteral("Schrift&art:"));
    auto* styleLabel = new QLabel(QStringLiteral("Schrift&schnitt:"));
    auto* sizeLabel = new QLabel(QStringLiteral("&Größe:"));
    NameEdit = new QLineEdit(start.Name);
    NameList = new QListWidget;
    StyleList = new QListWidget;
    SizeEdit = new QLineEdit(QString::number(start.Size()));
    // No size limit of our own: any size the font holds, a stored 0 or negative one included.
    SizeEdit->setValidator(new QIntValidator(-m_start.LargestPoints(), m_start.LargestPoints(), SizeEdit));
    SizeList = new QListWidget;
    // Lists take no name from a label; a screen reader needs one to announce them.
    NameList->setAccessibleName(QStringLiteral("Schriftart"));
    StyleList->setAccessibleName(QStringLiteral("Schriftschnitt"));
    SizeList->setAccessibleName(QStringLiteral("Größe"));
    nameLabel->setBuddy(NameEdit);
    styleLabel->setBuddy(StyleList);
    sizeLabel->setBuddy(SizeEdit);
    grid->addWidget(nameLabel, 0, 0);
    grid->addWidget(styleLabel, 0, 1);
    grid->addWidget(sizeLabel, 0, 2);
    grid->addWidget(NameEdit, 1, 0);
    grid->addWidget(SizeEdit, 1, 2);
    grid->addWidget(NameList, 2, 0);
    grid->addWidget(StyleList, 1, 1, 2, 1);
    grid->addWidget(SizeList, 2, 2);

    // The screen fonts; the start face stays even where the database does not list it.
    QStringList families;
    for (const QString& f : QFontDatabase::families())
        if (!QFontDatabase::isPrivateFamily(f))
            families << f;
    NameList->addItems(families);
    for (int i = 0; i < NameList->count(); ++i)
        if (NameList->item(i)->text().compare(start.Name, Qt::CaseInsensitive) == 0)
            selectRow(NameList, i);

    StyleList->addItems(
        {QStringLiteral("Standard"), QStringLiteral("Kursiv"), QStringLiteral("Fett"), QStringLiteral("Fett Kursiv")});
    selectRow(StyleList, (start.Style.bold ? kBold : kStandard) + (start.Style.italic ? kItalic : 0));

    for (int g : kSizes)
        SizeList->addItem(QString::number(g));
    for (int i = 0; i < SizeList->count(); ++i)
        if (SizeList->item(i)->text().toInt() == start.Size())
            selectRow(SizeList, i);

    auto* effects = new QGroupBox(QStringLiteral("Effekte"));
    auto* effectsLayout = new QVBoxLayout(effects);
    StruckOut = new QCheckBox(QStringLiteral("Durchgestric&hen"));
    StruckOut->setChecked(start.Style.strikeOut);
    Underlined = new QCheckBox(QStringLiteral("&Unterstrichen"));
    Underlined->setChecked(start.Style.underline);
    auto* colorLabel = new QLabel(QStringLiteral("&Farbe:"));
    ColorBox = new QComboBox;
    colorLabel->setBuddy(ColorBox);
    effectsLayout->addWidget(StruckOut);
    effectsLayout->addWidget(Underlined);
    effectsLayout->addWidget(colorLabel);
    effectsLayout->addWidget(ColorBox);

    // The current colour heads the list when it is none of the sixteen (a system colour, say).
    int startColor = -1;
    for (int i = 0; i < static_cast<int>(std::size(TextColorTable)); ++i)
        if (TextColorTable[i].Wert == start.Color.raw)
            startColor = i;
    if (startColor < 0) {
        ColorBox->addItem(colorSwatch(start.Color.toQColor(), 16),
                          start.Color.raw == ColorValue::clWindowText ? QStringLiteral("Fenstertext")
                                                                      : QStringLiteral("Benutzerdefiniert"),
                          QVariant::fromValue(start.Color.raw));
    }
    for (const ColorEntry& color : TextColorTable)
        ColorBox->addItem(colorSwatch(ColorValue{color.Wert}.toQColor(), 16), QStringView(color.Name).toString(),
                          QVariant::fromValue(color.Wert));
    ColorBox->setCurrentIndex(startColor < 0 ? 0 : startColor);

    auto* sampleBox = new QGroupBox(QStringLiteral("Beispiel"));
    auto* sampleLayout = new QVBoxLayout(sampleBox);
    Sample = new QLabel(kSampleText);
    Sample->setAlignment(Qt::AlignCenter);
    m_sampleScroll = new QScrollArea;
    m_sampleScroll->setWidget(Sample);
    m_sampleScroll->setWidgetResizable(true);
    m_sampleScroll->setAlignment(Qt::AlignCenter);
    m_sampleScroll->setAccessibleName(QStringLiteral("Beispiel"));
    sampleLayout->addWidget(m_sampleScroll);
    auto* scriptLabel = new QLabel(QStringLiteral("Sk&ript:"));
    ScriptBox = new QComboBox;
    scriptLabel->setBuddy(ScriptBox);
    sampleLayout->addWidget(scriptLabel);
    sampleLayout->addWidget(ScriptBox);

    grid->addWidget(effects, 3, 0);
    grid->addWidget(sampleBox, 3, 1, 1, 2);

    OkButton = new QPushButton(QStringLiteral("OK"));
    CancelButton = new QPushButton(QStringLiteral("Abbrechen"));
    OkButton->setDefault(true);
    auto* buttonList = new QHBoxLayout;
    buttonList->addStretch();
    buttonList->addWidget(OkButton);
    buttonList->addWidget(CancelButton);
    grid->addLayout(buttonList, 4, 0, 1, 3);

    m_scrollArea = new QScrollArea;
    m_scrollArea->setWidget(content);
    m_scrollArea->setWidgetResizable(true);
    m_scrollArea->setFrameShape(QFrame::NoFrame);
    m_scrollArea->setAccessibleName(windowTitle()); // a Tab stop of its own, for scrolling by keys
    auto* outerLayout = new QVBoxLayout(this);
    outerLayout->setContentsMargins(0, 0, 0, 0);
    outerLayout->addWidget(m_scrollArea);

    fillScripts(start.Name, start.Charset);

    connect(NameList, &QListWidget::currentTextChanged, this, [this](const QString& name) {
        if (name.isEmpty())
            return;
        NameEdit->setText(name);
        fillScripts(name, ScriptBox->currentData().toInt());
        updateSample();
    });
    connect(NameEdit, &QLineEdit::textEdited, this, [this](const QString& text) {
        // Typing a face's beginning moves the list to it.
        for (int i = 0; i < NameList->count(); ++i) {
            if (NameList->item(i)->text().startsWith(text, Qt::CaseInsensitive)) {
                const QSignalBlocker still(NameList);
                selectRow(NameList, i);
                break;
            }
        }
        fillScripts(chosenName(), ScriptBox->currentData().toInt());
        updateSample();
    });
    connect(SizeList, &QListWidget::currentTextChanged, this, [this](const QString& g) {
        if (!g.isEmpty())
            SizeEdit->setText(g);
        updateSample();
    });
    connect(SizeEdit, &QLineEdit::textEdited, this, [this] { updateSample(); });
    connect(StyleList, &QListWidget::currentRowChanged, this, [this] { updateSample(); });
    connect(StruckOut, &QCheckBox::toggled, this, [this] { updateSample(); });
    connect(Underlined, &QCheckBox::toggled, this, [this] { updateSample(); });
    connect(ColorBox, &QComboBox::activated, this, [this] {
        m_colorChosen = true;
        updateSample();
    });
    connect(ScriptBox, &QComboBox::activated, this, [this] { m_scriptChosen = true; });
    connect(OkButton, &QPushButton::clicked, this, &FontWindow::accept);
    connect(CancelButton, &QPushButton::clicked, this, &FontWindow::reject);

    setUpOwnFont();
    updateSample();
    NameEdit->setFocus();
}

void FontWindow::fillScripts(const QString& family, int wanted)
{
    std::vector<int> scripts = ScriptsOfFont(family);
    // The font's own character set stays selectable for its own face.
    if (family.compare(m_start.Name, Qt::CaseInsensitive) == 0
        && std::find(scripts.begin(), scripts.end(), m_start.Charset) == scripts.end())
        scripts.insert(scripts.begin(), m_start.Charset);
    const QSignalBlocker still(ScriptBox);
    ScriptBox->clear();
    int picked = 0;
    for (int z : scripts) {
        if (z == wanted)
            picked = ScriptBox->count();
        ScriptBox->addItem(ScriptName(z), z);
    }
    ScriptBox->setCurrentIndex(picked);
}

QString FontWindow::chosenName() const
{
    const QString text = NameEdit->text().trimmed();
    for (int i = 0; i < NameList->count(); ++i)
        if (NameList->item(i)->text().compare(text, Qt::CaseInsensitive) == 0)
            return NameList->item(i)->text();
    return text;
}

std::optional<int> FontWindow::readPoints() const
{
    bool ok = false;
    const int p = SizeEdit->text().trimmed().toInt(&ok);
    if (!ok || p < -m_start.LargestPoints() || p > m_start.LargestPoints())
        return std::nullopt;
    return p;
}

FontChoice FontWindow::Choice() const
{
    FontChoice w;
    w.Name = chosenName();
    if (w.Name.isEmpty())
        w.Name = m_start.Name;
    // A size left as it was shown keeps the font's exact height: a stored size
    // in points does not always come back the same through the pixel height.
    if (SizeEdit->text().trimmed() != QString::number(m_start.Size()))
        w.Points = readPoints();
    const int fontStyle = StyleList->currentRow();
    w.Weight = (fontStyle == kBold || fontStyle == kBoldItalic) ? 700 : 400;
    w.Italic = fontStyle == kItalic || fontStyle == kBoldItalic;
    w.Underlined = Underlined->isChecked();
    w.StruckOut = StruckOut->isChecked();
    if (m_colorChosen)
        w.Color = ColorValue{ColorBox->currentData().toUInt()};
    if (m_scriptChosen || w.Name.compare(m_start.Name, Qt::CaseInsensitive) != 0)
        w.Charset = static_cast<std::uint8_t>(ScriptBox->currentData().toInt());
    return w;
}

void FontWindow::updateSample()
{
    TFont probe = m_start;
    ApplyFontChoice(probe, Choice());
    if (!m_colorChosen)
        probe.Color = m_start.Color;
    Sample->setFont(probe.toQFont());
    QPalette pal = Sample->palette();
    pal.setColor(QPalette::WindowText, probe.Color.toQColor(pal));
    Sample->setPalette(pal);
}

void FontWindow::setUpOwnFont()
{
    // The window's own texts in the display font, but never so large that it
    // no longer fits the screen: shrink until it does (a floor of 8 points),
    // and let the scroll area take what is still too large.
    const QScreen* targetScreen = parentWidget() ? parentWidget()->screen() : screen();
    const QSize room = targetScreen ? targetScreen->availableGeometry().size() - QSize(40, 60) : QSize(800, 600);
    QFont own = m_start.toQFont();
    own.setUnderline(false);
    own.setStrikeOut(false);
    const int floorPx = m_start.Resolution() * 8 / 72;
    int px = std::max(m_start.AppliedPixelHeight(), floorPx);

    auto fits = [&](int pixelSize) {
        own.setPixelSize(pixelSize);
        setFont(own);
        const QFontMetrics fm(own);
        const int line = fm.height();
        // Lists sized from the font, not from the view's fixed preferred size.
        const int margin
            = 2 * NameList->frameWidth() + NameList->verticalScrollBar()->sizeHint().width() + fm.averageCharWidth();
        // As wide as the longest face name offered, so none is cut off.
        int widestName = fm.horizontalAdvance(QStringLiteral("Liberation Sans Narrow"));
        for (int i = 0; i < NameList->count(); ++i)
            widestName = std::max(widestName, fm.horizontalAdvance(NameList->item(i)->text()));
        // Not QSizePolicy::Ignored: the grid then hands the column less than
        // this minimum and the style list covers the longest names.
        NameList->setMinimumSize(widestName + margin, 7 * line);
        NameList->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
        StyleList->setFixedWidth(fm.horizontalAdvance(QStringLiteral("Fett Kursiv")) + margin);
        StyleList->setMinimumHeight(5 * line);
        SizeList->setFixedWidth(std::max(fm.horizontalAdvance(QStringLiteral("9999")) + margin,
                                         fm.horizontalAdvance(QStringLiteral("Größe:"))));
        SizeList->setMinimumHeight(7 * line);
        // A huge sample scrolls inside its box instead of blowing the window up.
        m_sampleScroll->setFixedHeight(4 * line);
        m_sampleScroll->setMinimumWidth(fm.horizontalAdvance(kSampleText));
        m_sampleScroll->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
        m_scrollArea->widget()->adjustSize();
        const QSize needed = m_scrollArea->widget()->sizeHint();
        return needed.width() <= room.width() && needed.height() <= room.height();
    };
    if (!fits(px)) {
        int lo = floorPx, hi = px; // lo fits or is the floor, hi does not fit
        while (hi - lo > 1) {
            const int middle = (lo + hi) / 2;
            (fits(middle) ? lo : hi) = middle;
        }
        fits(lo);
    }
    const QSize needed = m_scrollArea->widget()->sizeHint() + QSize(4, 4);
    resize(std::min(needed.width(), room.width()), std::min(needed.height(), room.height()));
}

void FontWindow::accept()
{
    if (SizeEdit->text().trimmed() != QString::number(m_start.Size()) && !readPoints()) {
        QMessageBox::information(this, QStringLiteral("Schriftart"),
                                 QStringLiteral("Die Größe muss eine ganze Zahl zwischen %1 und %2 sein.")
                                     .arg(-m_start.LargestPoints())
                                     .arg(m_start.LargestPoints()));
        SizeEdit->setFocus();
        SizeEdit->selectAll();
        return;
    }
    done(1);
}

void FontWindow::reject() { done(2); }
