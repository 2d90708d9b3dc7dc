#include "help/HistoryViewer.h"

#include "platform/ScreenArea.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollBar>
#include <QShowEvent>
#include <QStringDecoder>

#include "ui/TextContrast.h"
#include "ui/DialogPlacement.h"
#include "ui/WindowFit.h"
#include "util/Cp1252.h"

namespace help {

HistoryViewer::HistoryViewer(const QString& path, const TFont& displayFont, ColorValue background, QWidget* owner)
    : QPlainTextEdit(owner)
{
    // A window of its own, but one that goes when the main window goes.
    setWindowFlag(Qt::Window);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(TitleFor(path));
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    setFont(displayFont.toQFont());
    QPalette pal = palette();
    const QColor paper = background.toQColor(pal);
    pal.setColor(QPalette::Base, paper);
    // A system text colour drawn on the chosen background only where it stays readable.
    pal.setColor(QPalette::Text, TextColorOn(displayFont.Color, paper, pal));
    setPalette(pal);

    const std::optional<QString> text = ReadHistoryFile(path);
    setPlainText(
        text ? *text
             : QStringLiteral("Die Datei \"%1\" konnte nicht gelesen werden.").arg(QDir::toNativeSeparators(path)));
    SetUpSize();
}

QString HistoryViewer::TitleFor(const QString& path)
{
    return QFileInfo(path).fileName() + QStringLiteral(" - Zarnolith");
}

std::optional<QString> HistoryViewer::ReadHistoryFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    QStringDecoder utf8(QStringConverter::Utf8);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        text = util::FromCp1252(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

void HistoryViewer::SetUpSize()
{
    // About 72 columns by 25 lines of the display font, as far as the screen allows.
    const QFontMetrics fm(font());
    const int frame = 2 * frameWidth() + 2 * static_cast<int>(document()->documentMargin());
    QSize size(fm.averageCharWidth() * 72 + frame + verticalScrollBar()->sizeHint().width(),
               fm.lineSpacing() * 25 + frame);
    const QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        const QSize available = platform::WorkAreaOf(*screen).size() * 9 / 10;
        size = size.boundedTo(available);
    }
    resize(size);
}

void HistoryViewer::showEvent(QShowEvent* event)
{
    if (!event->spontaneous() && !m_placed) {
        m_placed = true;
        const QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
        if (screen) {
            const QRect wa = platform::WorkAreaOf(*screen);
            PlaceOuter(
                *this,
                [wa](const QRect& outer) {
                    return LayoutPoint{wa.x() + HalfOf(wa.width() - outer.width()),
                                       wa.y() + HalfOf(wa.height() - outer.height())};
                },
                wa);
        }
    }
    QPlainTextEdit::showEvent(event);
}

void HistoryViewer::BringToFront()
{
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
}

void HistoryViewer::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

} // namespace help
