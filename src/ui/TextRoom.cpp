#include "ui/TextRoom.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>

namespace {

// QLineEdit keeps this much space between its contents rectangle and the text, on either side.
constexpr int EditInnerMargin = 2;
constexpr int CaretWidth = 1;

} // namespace

int EditWidthForText(const QLineEdit& edit, const QString& text)
{
    // The frame as the style draws it, found on a probe rectangle of any width.
    QStyleOptionFrame o;
    o.initFrom(&edit);
    o.rect = QRect(0, 0, 1000, edit.height());
    o.lineWidth = edit.hasFrame() ? edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &o, &edit) : 0;
    const int frame = o.rect.width() - edit.style()->subElementRect(QStyle::SE_LineEditContents, &o, &edit).width();

    const QMargins textMargins = edit.textMargins();
    const QMargins contents = edit.contentsMargins();
    return QFontMetrics(edit.font()).horizontalAdvance(text) + CaretWidth + 2 * EditInnerMargin + textMargins.left()
        + textMargins.right() + contents.left() + contents.right() + frame;
}

QString WidestNumberText(const QFont& font, int length)
{
    const QFontMetrics fm(font);
    QChar widest = QLatin1Char('0');
    for (const QChar c : QStringLiteral("0123456789+-"))
        if (fm.horizontalAdvance(c) > fm.horizontalAdvance(widest))
            widest = c;
    return QString(length, widest);
}

int WrappedTextHeight(const QFont& font, const QString& text, int width)
{
    QLabel probe;
    probe.setFont(font);
    probe.setWordWrap(true);
    probe.setText(text);
    return probe.heightForWidth(std::max(1, width));
}

int WidestWordWidth(const QFont& font, const QString& text)
{
    QLabel probe;
    probe.setFont(font);
    int widest = 0;
    for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        probe.setText(word);
        widest = std::max(widest, probe.sizeHint().width());
    }
    return widest;
}
