#include "appearance/FontWindow.h"

#include "appearance/ColorTable.h"
#include "appearance/FontScripts.h"
#include "appearance/FontWindowControls.h"
#include "platform/ScreenArea.h"
#include "ui/DialogPlacement.h"
#include "ui/TextContrast.h"
#include "ui/TextMeasure.h"
#include "ui/WindowFit.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShowEvent>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kStandard = 0, kItalic = 1, kBold = 2, kBoldItalic = 3;
constexpr int kSizes[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};
const QString kSampleText = QStringLiteral("AaBbYyZz");
constexpr std::uint32_t kWhite = 0x00FFFFFF;
// The lines the lists show where the window has room for them.
constexpr int kNameLines = 7, kStyleLines = 5, kSizeLines = 7;

// The text colour as the sample draws it on `background`, as the windows will:
// a colour the user picked exactly as picked, the system's text colour black or
// white where it would not be readable there.
QColor sampleTextColor(ColorValue color, const QColor& background, const QPalette& palette)
{
    return TextColorOn(color, background, palette);
}

QIcon colorSwatch(const QColor& color, const QColor& edge, int side, qreal pixelRatio)
{
    QPixmap pm(QSize(side, side) * pixelRatio);
    pm.setDevicePixelRatio(pixelRatio);
    pm.fill(color);
    QPainter p(&pm);
    // The edge keeps a swatch of the list's own background colour visible.
    const int line = std::max(1, side / 12);
    QPen pen(edge, line);
    pen.setJoinStyle(Qt::MiterJoin);
    p.setPen(pen);
    p.drawRect(QRectF(line / 2.0, line / 2.0, side - line, side - line));
    return QIcon(pm);
}

int rowOf(const QListWidget& list, const QString& text, Qt::CaseSensitivity cs = Qt::CaseInsensitive)
{
    for (int i = 0; i < list.count(); ++i)
        if (list.item(i)->text().compare(text, cs) == 0)
            return i;
    return -1;
}

} // namespace

FontWindow::FontWindow(const TFont& start, QWidget* parent) : FontWindow(start, ColorValue{kWhite}, parent) {}

FontWindow::FontWindow(const TFont& start, ColorValue background, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_start(start), m_background(background)
{
    setWindowTitle(QStringLiteral("Schriftart"));
    m_content = new QWidget;

    m_nameLabel = new QLabel(QStringLiteral("Schrift&art:"));
    m_styleLabel = new QLabel(QStringLiteral("Schrift&schnitt:"));
    m_sizeLabel = new QLabel(QStringLiteral("&Größe:"));
    NameEdit = new QLineEdit(start.Name);
    NameList = m_nameList = new ChoiceList;
    StyleList = m_styleList = new ChoiceList;
    SizeEdit = new QLineEdit(QString::number(start.Size()));
    // No size limit of our own: any size the font holds, a stored 0 or negative one included.
    SizeEdit->setValidator(new QIntValidator(-m_start.LargestPoints(), m_start.LargestPoints(), SizeEdit));
    SizeList = m_sizeList = new ChoiceList;
    // Lists take no name from a label; a screen reader needs one to announce them.
    NameList->setAccessibleName(QStringLiteral("Schriftart"));
    StyleList->setAccessibleName(QStringLiteral("Schriftschnitt"));
    SizeList->setAccessibleName(QStringLiteral("Größe"));
    m_nameLabel->setBuddy(NameEdit);
    m_styleLabel->setBuddy(StyleList);
    m_sizeLabel->setBuddy(SizeEdit);

    // The screen fonts. The name field shows the stored face as it is; the list
    // shows the face drawn for it: the face itself, or the one an alias stands
    // for ("Arial" on Linux), or none.
    QStringList families;
    for (const QString& f : QFontDatabase::families())
        if (!QFontDatabase::isPrivateFamily(f))
            families << f;
    NameList->addItems(families);
    int shownFace = rowOf(*NameList, start.Name);
    if (shownFace < 0)
        shownFace = rowOf(*NameList, QFontInfo(QFont(start.Name)).family());
    m_nameList->showChosen(shownFace);

    StyleList->addItems(
        {QStringLiteral("Standard"), QStringLiteral("Kursiv"), QStringLiteral("Fett"), QStringLiteral("Fett Kursiv")});
    m_style = (start.Style.bold ? kBold : kStandard) + (start.Style.italic ? kItalic : 0);
    m_styleList->showChosen(m_style);

    for (int g : kSizes)
        SizeList->addItem(QString::number(g));
    m_sizeList->showChosen(rowOf(*SizeList, QString::number(start.Size())));

    m_effects = new QGroupBox(QStringLiteral("Effekte"));
    auto* effectsLayout = new QVBoxLayout(m_effects);
    StruckOut = new QCheckBox(QStringLiteral("Durchgestric&hen"));
    StruckOut->setChecked(start.Style.strikeOut);
    Underlined = new QCheckBox(QStringLiteral("&Unterstrichen"));
    Underlined->setChecked(start.Style.underline);
    auto* colorLabel = new QLabel(QStringLiteral("&Farbe:"));
    ColorBox = new FocusWheelComboBox;
    colorLabel->setBuddy(ColorBox);
    // As wide as box and text: a click beside the text would miss the box.
    effectsLayout->addWidget(StruckOut, 0, Qt::AlignLeft);
    effectsLayout->addWidget(Underlined, 0, Qt::AlignLeft);
    effectsLayout->addWidget(colorLabel);
    effectsLayout->addWidget(ColorBox);

    // The current colour heads the list when it is none of the sixteen (a system colour, say).
    int startColor = -1;
    for (int i = 0; i < static_cast<int>(std::size(TextColorTable)); ++i)
        if (TextColorTable[i].Wert == start.Color.raw)
            startColor = i;
    if (startColor < 0) {
        ColorBox->addItem(start.Color.raw == ColorValue::clWindowText ? QStringLiteral("Fenstertext")
                                                                      : QStringLiteral("Benutzerdefiniert"),
                          QVariant::fromValue(start.Color.raw));
    }
    for (const ColorEntry& color : TextColorTable)
        ColorBox->addItem(QStringView(color.Name).toString(), QVariant::fromValue(color.Wert));
    ColorBox->setCurrentIndex(startColor < 0 ? 0 : startColor);

    m_sampleBox = new QGroupBox(QStringLiteral("Beispiel"));
    auto* sampleLayout = new QVBoxLayout(m_sampleBox);
    Sample = new QLabel(kSampleText);
    Sample->setAlignment(Qt::AlignCenter);
    Sample->setAutoFillBackground(true); // on the text-background colour
    m_sampleScroll = new TabScrollArea;
    m_sampleScroll->setWidget(Sample);
    m_sampleScroll->setWidgetResizable(true);
    m_sampleScroll->setAlignment(Qt::AlignCenter);
    m_sampleScroll->setAccessibleName(QStringLiteral("Beispiel"));
    m_sampleRing = new FocusRing(m_sampleScroll);
    // At its own size: a holder stretched taller would draw the focus line away from the box.
    sampleLayout->addWidget(m_sampleRing, 0, Qt::AlignLeft | Qt::AlignTop);
    auto* scriptLabel = new QLabel(QStringLiteral("Sk&ript:"));
    ScriptBox = new FocusWheelComboBox;
    scriptLabel->setBuddy(ScriptBox);
    sampleLayout->addWidget(scriptLabel);
    sampleLayout->addWidget(ScriptBox);

    OkButton = new QPushButton(QStringLiteral("OK"));
    CancelButton = new QPushButton(QStringLiteral("Abbrechen"));
    OkButton->setDefault(true);

    m_scrollArea = new TabScrollArea;
    m_scrollArea->setWidget(m_content);
    m_scrollArea->setWidgetResizable(true);
    m_scrollArea->setFrameShape(QFrame::NoFrame);
    m_scrollArea->setAccessibleName(windowTitle()); // a Tab stop of its own, for scrolling by keys
    auto* outerLayout = new QVBoxLayout(this);
    outerLayout->setContentsMargins(0, 0, 0, 0);
    m_scrollRing = new FocusRing(m_scrollArea);
    outerLayout->addWidget(m_scrollRing);

    fillScripts(start.Name, start.Charset);

    // Only what the user picks is a choice: the lists report their selection,
    // which moving through the window (Tab, the wheel, scrolling) leaves alone.
    connect(NameList, &QListWidget::itemSelectionChanged, this, [this] {
        const int row = m_nameList->chosenRow();
        if (row < 0)
            return; // an entry unselected (Ctrl+click) chooses no face
        NameEdit->setText(NameList->item(row)->text());
        fillScripts(NameList->item(row)->text(), ScriptBox->currentData().toInt());
        updateSample();
    });
    connect(NameEdit, &QLineEdit::textEdited, this, [this](const QString& text) {
        // Typing a face's beginning shows the first face that begins so.
        for (int i = 0; i < NameList->count(); ++i) {
            if (NameList->item(i)->text().startsWith(text, Qt::CaseInsensitive)) {
                const QSignalBlocker still(NameList);
                m_nameList->showChosen(i);
                break;
            }
        }
        fillScripts(chosenName(), ScriptBox->currentData().toInt());
        updateSample();
    });
    connect(StyleList, &QListWidget::itemSelectionChanged, this, [this] {
        if (const int row = m_styleList->chosenRow(); row >= 0) {
            m_style = row;
        } else {
            const QSignalBlocker still(StyleList); // a style is always chosen
            m_styleList->showChosen(m_style);
        }
        updateSample();
    });
    connect(SizeList, &QListWidget::itemSelectionChanged, this, [this] {
        if (const int row = m_sizeList->chosenRow(); row >= 0)
            SizeEdit->setText(SizeList->item(row)->text());
        updateSample();
    });
    connect(SizeEdit, &QLineEdit::textEdited, this, [this](const QString& text) {
        const QSignalBlocker still(SizeList);
        m_sizeList->showChosen(rowOf(*SizeList, text.trimmed()));
        updateSample();
    });
    connect(StruckOut, &QCheckBox::toggled, this, [this] { updateSample(); });
    connect(Underlined, &QCheckBox::toggled, this, [this] { updateSample(); });
    connect(ColorBox, &QComboBox::activated, this, [this] {
        m_colorChosen = true;
        updateSample();
    });
    connect(ScriptBox, &QComboBox::activated, this, [this] { m_scriptChosen = true; });
    connect(OkButton, &QPushButton::clicked, this, &FontWindow::accept);
    connect(CancelButton, &QPushButton::clicked, this, &FontWindow::reject);
    // Whichever way the focus comes to a control (Tab, a mnemonic, a click), it comes into view.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now && m_content->isAncestorOf(now))
            KeepInView(*m_scrollArea, *now, 2 * m_scrollRing->ringWidth());
    });

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

void FontWindow::paintSwatches()
{
    // As large as the capital letters of the colour's name beside it.
    const int side = std::max(16, QFontMetrics(font()).capHeight());
    ColorBox->setIconSize(QSize(side, side));
    const QColor edge = palette().color(QPalette::Text);
    const QColor background = m_background.toQColor(palette());
    for (int i = 0; i < ColorBox->count(); ++i) {
        // Each colour as the sample would draw it.
        const QColor c = sampleTextColor(ColorValue{ColorBox->itemData(i).toUInt()}, background, palette());
        ColorBox->setItemIcon(i, colorSwatch(c, edge, side, devicePixelRatioF()));
    }
}

QString FontWindow::chosenName() const
{
    // A face left as it was shown goes back exactly as stored, spelling and blanks included.
    const QString shown = NameEdit->text();
    if (shown == m_start.Name)
        return m_start.Name;
    const QString text = shown.trimmed();
    if (text.isEmpty())
        return m_start.Name;
    const int row = rowOf(*NameList, text);
    return row >= 0 ? NameList->item(row)->text() : text;
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
    // A size left as it was shown keeps the font's exact height: a stored size
    // in points does not always come back the same through the pixel height.
    if (SizeEdit->text().trimmed() != QString::number(m_start.Size()))
        w.Points = readPoints();
    w.Weight = (m_style == kBold || m_style == kBoldItalic) ? 700 : 400;
    w.Italic = m_style == kItalic || m_style == kBoldItalic;
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
    Sample->setFont(probe.toQFont());
    // The chosen text colour on the text-background colour in use: what the windows will show.
    QPalette pal = Sample->palette();
    const QColor background = m_background.toQColor(palette());
    pal.setColor(QPalette::Window, background);
    pal.setColor(QPalette::WindowText, sampleTextColor(probe.Color, background, palette()));
    Sample->setPalette(pal);
    if (m_view.isValid())
        sizeSample();
}

void FontWindow::setUpOwnFont()
{
    // The window's own texts in the display font at its size, however large:
    // the user chose that size to be able to read. The window fits the screen
    // by its layout and scrolls where that is not enough.
    QFont own = m_start.toQFont();
    own.setUnderline(false);
    own.setStrikeOut(false);
    setFont(own);
    const QFontMetrics fm(own);
    paintSwatches();
    // The focus line of the scroll areas as wide as that of the other controls.
    const int ring = FocusLineWidth(fm);
    m_scrollRing->setRingWidth(ring);
    m_sampleRing->setRingWidth(ring);
    fitTo(roomOnScreen(frameMargins()));
}

QSize FontWindow::frameMargins() const
{
    // The frame and title bar the window manager puts round the window, each
    // side rounded up to whole pixels of the window's coordinates: the room
    // the window takes at most. Known once the window exists; until then the
    // owner's, framed by the same manager.
    if (internalWinId() != 0)
        return AroundWindow(*this);
    if (const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr; owner && owner->isVisible())
        return AroundWindow(*owner);
    return QSize(0, 0);
}

QSize FontWindow::roomOnScreen(const QSize& frame) const
{
    const QScreen* target = parentWidget() ? parentWidget()->screen() : screen();
    const QSize work = target ? platform::WorkAreaOf(*target).size() : QSize(800, 600);
    const LayoutSize room = ClientRoom({work.width(), work.height()}, {frame.width(), frame.height()});
    return {room.width, room.height};
}

void FontWindow::arrange(bool stacked)
{
    delete m_content->layout(); // the controls stay; only their places change
    auto* grid = new QGridLayout(m_content);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OkButton);
    buttons->addWidget(CancelButton);
    if (!stacked) {
        grid->addWidget(m_nameLabel, 0, 0);
        grid->addWidget(m_styleLabel, 0, 1);
        grid->addWidget(m_sizeLabel, 0, 2);
        grid->addWidget(NameEdit, 1, 0);
        grid->addWidget(SizeEdit, 1, 2);
        grid->addWidget(NameList, 2, 0);
        grid->addWidget(StyleList, 1, 1, 2, 1);
        grid->addWidget(SizeList, 2, 2);
        grid->addWidget(m_effects, 3, 0);
        grid->addWidget(m_sampleBox, 3, 1, 1, 2);
        grid->addLayout(buttons, 4, 0, 1, 3);
        return;
    }
    // One column, in the order of the Tab key.
    int row = 0;
    for (QWidget* w : std::initializer_list<QWidget*>{m_nameLabel, NameEdit, NameList, m_styleLabel, StyleList,
                                                      m_sizeLabel, SizeEdit, SizeList, m_effects, m_sampleBox}) {
        const bool fixedWidth = w == StyleList || w == SizeList || qobject_cast<QLabel*>(w);
        grid->addWidget(w, row++, 0, fixedWidth ? Qt::AlignLeft : Qt::Alignment());
    }
    grid->addLayout(buttons, row, 0);
}

void FontWindow::sizeControls(const QSize& view)
{
    m_view = view;
    const QFontMetrics fm(font());
    const int line = fm.height();
    const int frame = 2 * NameList->frameWidth();
    // Lists sized from the font, not from the view's fixed preferred size.
    const int margin = frame + NameList->verticalScrollBar()->sizeHint().width() + fm.averageCharWidth();
    // As wide as the longest face name offered, so none is cut off.
    int widestName = fm.horizontalAdvance(QStringLiteral("Liberation Sans Narrow"));
    for (int i = 0; i < NameList->count(); ++i)
        widestName = std::max(widestName, fm.horizontalAdvance(NameList->item(i)->text()));
    // As many lines as the view holds, up to the usual number: a list the
    // focus reaches can always be seen whole.
    const auto listHeight
        = [&](int lines) { return std::clamp((view.height() - frame) / line, 1, lines) * line + frame; };
    // Not QSizePolicy::Ignored: the grid then hands the column less than
    // this minimum and the style list covers the longest names.
    NameList->setMinimumSize(widestName + margin, listHeight(kNameLines));
    NameList->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    StyleList->setFixedWidth(fm.horizontalAdvance(QStringLiteral("Fett Kursiv")) + margin);
    StyleList->setMinimumHeight(listHeight(kStyleLines));
    SizeList->setFixedWidth(std::max(fm.horizontalAdvance(QStringLiteral("9999")) + margin,
                                     fm.horizontalAdvance(QStringLiteral("Größe:"))));
    SizeList->setMinimumHeight(listHeight(kSizeLines));
    sizeSample();
}

void FontWindow::sizeSample()
{
    // The box as large as the sample in the chosen font, but no larger than
    // the view: a larger sample scrolls inside its box instead of blowing the
    // window up. At least the sample text's size in the window's own font.
    const QFontMetrics own(font());
    const int edge = 2 * (m_sampleScroll->frameWidth() + m_sampleRing->ringWidth());
    const QSize least(own.horizontalAdvance(kSampleText) + 2 * own.averageCharWidth() + edge, 2 * own.height() + edge);
    const QSize wanted = (Sample->sizeHint() + QSize(edge, edge)).expandedTo(least);
    // The group box's title and edges come on top of the box itself.
    const QSize limit = (m_view - QSize(2 * own.averageCharWidth(), 2 * own.height())).expandedTo(QSize(1, 1));
    m_sampleScroll->setFixedSize(wanted.boundedTo(limit)
                                 - QSize(2 * m_sampleRing->ringWidth(), 2 * m_sampleRing->ringWidth()));
}

void FontWindow::fitTo(const QSize& room)
{
    // The outer area's view: the room less the focus line all round.
    const int ring = m_scrollRing->ringWidth();
    const QSize view = room - QSize(2 * ring, 2 * ring);
    // The columns side by side while that fits the width, else one column.
    arrange(false);
    sizeControls(view);
    if (m_content->sizeHint().width() > view.width()) {
        arrange(true);
        sizeControls(view);
    }
    // Where even that needs more room than there is, the window scrolls; a
    // scroll bar takes its width from the view in the other direction.
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_scrollArea);
    QSize least = m_content->minimumSizeHint();
    bool across = least.width() > view.width();
    const bool down = least.height() > view.height() - (across ? bar : 0);
    across = least.width() > view.width() - (down ? bar : 0);
    const QSize bars(down ? bar : 0, across ? bar : 0);
    if (!bars.isNull())
        sizeControls(view - bars);
    const QSize wanted = m_content->sizeHint() + QSize(2 * ring, 2 * ring) + bars;
    resize(wanted.boundedTo(room));
}

void FontWindow::showEvent(QShowEvent* event)
{
    if (!event->spontaneous() && !m_placed) {
        m_placed = true;
        // Now the window manager's frame is known: fit the room it leaves, and
        // place the window as the other dialogs are placed: centred over its
        // owner, the whole outer rectangle, title bar included, inside the work area.
        fitTo(roomOnScreen(frameMargins()));
        layout()->activate();
        for (ChoiceList* list : {m_nameList, m_styleList, m_sizeList})
            list->scrollToChosen();
        const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
        if (owner && owner->isVisible()) {
            MoveCentredOverOwner(*this, *owner);
        } else if (const QScreen* target = screen()) {
            const QRect workArea = platform::WorkAreaOf(*target);
            PlaceOuter(
                *this,
                [workArea](const QRect& outer) {
                    return LayoutPoint{workArea.x() + HalfOf(workArea.width() - outer.width()),
                                       workArea.y() + HalfOf(workArea.height() - outer.height())};
                },
                workArea);
        }
    }
    QDialog::showEvent(event);
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
