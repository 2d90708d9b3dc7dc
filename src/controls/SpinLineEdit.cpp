#include "controls/SpinLineEdit.h"

#include "controls/TSpinEdit.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTextBoundaryFinder>

#include <algorithm>

namespace {

// The last boundary between whole characters (as the user sees them) at or
// before `limit`: a cut there never leaves half a surrogate pair or a letter
// without its accent.
qsizetype lastCharacterBoundary(const QString& text, qsizetype limit)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    finder.setPosition(limit);
    return finder.isAtBoundary() ? limit : std::max<qsizetype>(0, finder.toPreviousBoundary());
}

} // namespace

SpinLineEdit::SpinLineEdit(TSpinEdit* field) : QLineEdit(field), m_field(field)
{
    // The field keeps its own length limit; the editor's would cut program writes.
    setMaxLength(32767);
    // Every character goes through the field's filter as a key; no input method,
    // no drops that would bypass it.
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setAcceptDrops(false);
}

void SpinLineEdit::standardKeyPress(QKeyEvent* e) { QLineEdit::keyPressEvent(e); }

void SpinLineEdit::insertLimited(const QString& text)
{
    if (isReadOnly() || text.isEmpty())
        return;
    QString piece = text;
    if (m_field->MaxLength() > 0) {
        const int kept = this->text().size() - selectedText().size();
        const int room = std::max(0, m_field->MaxLength() - kept);
        if (piece.size() > room)
            piece.truncate(lastCharacterBoundary(piece, room));
        if (piece.isEmpty())
            return;
    }
    insert(piece);
}

void SpinLineEdit::pasteLimited()
{
    if (isReadOnly())
        return;
    QString clip = QApplication::clipboard()->text();
    // A single-line field takes the first line of a multi-line clipboard.
    const qsizetype lineEnd = clip.indexOf(QRegularExpression(QStringLiteral("[\r\n]")));
    if (lineEnd >= 0)
        clip.truncate(lineEnd);
    insertLimited(clip);
}

bool SpinLineEdit::event(QEvent* e)
{
    if (e->type() == QEvent::ShortcutOverride) {
        // The window's shortcuts are matched before the field sees a key (a
        // dialog can take Ctrl+V away from its fields this way); keys that no
        // shortcut takes still arrive here as ordinary key presses.
        e->ignore();
        return false;
    }
    return QLineEdit::event(e);
}

void SpinLineEdit::keyPressEvent(QKeyEvent* e) { m_field->editorKeyPress(e); }

void SpinLineEdit::focusInEvent(QFocusEvent* e)
{
    QLineEdit::focusInEvent(e);
    m_field->m_edit->setAccessibleName(m_field->labelName());
    // A left press on the text places the caret; which button it was is known
    // only when the press itself arrives, right after this.
    if (e->reason() == Qt::MouseFocusReason)
        m_focusFromPress = true;
    else
        selectAll();
}

void SpinLineEdit::focusOutEvent(QFocusEvent* e)
{
    m_focusFromPress = false;
    QLineEdit::focusOutEvent(e);
    m_field->editorFocusOut(e);
}

void SpinLineEdit::mousePressEvent(QMouseEvent* e)
{
    const bool selectAfter = m_focusFromPress && e->button() != Qt::LeftButton;
    m_focusFromPress = false;
    QLineEdit::mousePressEvent(e);
    if (selectAfter)
        selectAll();
}

void SpinLineEdit::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() == Qt::MiddleButton) {
        // X11's selection paste, limited like any other paste.
        if (!isReadOnly() && QApplication::clipboard()->supportsSelection())
            insertLimited(QApplication::clipboard()->text(QClipboard::Selection).section(QLatin1Char('\n'), 0, 0));
        e->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(e);
}

void SpinLineEdit::contextMenuEvent(QContextMenuEvent* e)
{
    // A window that gives the field a menu of its own (or none) decides here.
    if (m_field->contextMenuPolicy() != Qt::DefaultContextMenu) {
        e->ignore();
        return;
    }
    QMenu* menu = createStandardContextMenu();
    // The menu's paste must obey the length limit like Ctrl+V does.
    if (QAction* paste = menu->findChild<QAction*>(QStringLiteral("edit-paste"))) {
        disconnect(paste, &QAction::triggered, nullptr, nullptr);
        connect(paste, &QAction::triggered, this, [this] { pasteLimited(); });
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(e->globalPos());
}

QRect SpinLineEdit::contentsArea() const
{
    QStyleOptionFrame option;
    initStyleOption(&option);
    return style()->subElementRect(QStyle::SE_LineEditContents, &option, this);
}
