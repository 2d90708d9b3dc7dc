#include "controls/TSpinEdit.h"

#include "controls/SpinButtons.h"
#include "controls/SpinValueRules.h"
#include "controls/TSpinEditAccessible.h"
#include "controls/VirtualKey.h"
#include "controls/VirtualKeyMapping.h"
#include "platform/Beep.h"
#include "ui/ControlAppearance.h"
#include "ui/TextMeasure.h"

#include <QAccessible>
#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMenuBar>
#include <QPushButton>

#include <algorithm>

namespace {

char16_t regionalDecimalSeparator()
{
    const QString point = QLocale::system().decimalPoint();
    return point.isEmpty() ? u'.' : point.at(0).unicode();
}

// The character a key types, as the classic edit control receives it: Ctrl plus a
// letter types the control character of that letter, Ctrl or Alt with anything
// else types nothing, Delete types nothing. Empty when the key types nothing.
QString typedCharacters(const QKeyEvent* e)
{
    const Qt::KeyboardModifiers mods = e->modifiers();
    const int key = e->key();
    if (mods & Qt::ControlModifier) {
        if (mods & Qt::AltModifier)
            return e->text(); // AltGr on Windows
        if (key >= Qt::Key_A && key <= Qt::Key_Z)
            return QString(QChar(char16_t(key - Qt::Key_A + 1)));
        return {};
    }
    if (mods & Qt::AltModifier)
        return {};
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return QStringLiteral("\r");
    case Qt::Key_Escape: return QString(QChar(char16_t(27)));
    case Qt::Key_Backspace: return QString(QChar(char16_t(8)));
    case Qt::Key_Delete: return {};
    default: return e->text();
    }
}

} // namespace

TSpinEdit::TSpinEdit(QWidget* parent, platform::IBeep& beep)
    : QWidget(parent), m_beep(beep), m_edit(new SpinLineEdit(this)), m_buttons(new SpinButtons(m_edit))
{
    InstallSpinEditAccessibility();
    TakeWholeFont(*this);
    m_edit->setText(QStringLiteral("0"));
    m_notifiedText = m_edit->text();
    setFocusProxy(m_edit);
    setFocusPolicy(Qt::StrongFocus);
    connect(m_edit, &QLineEdit::textChanged, this, [this] { textEdited(); });
    m_buttons->OnStep = [this](bool up) { step(up); };
    m_buttons->OnPressStarted = [this] {
        if (m_edit->focusPolicy() != Qt::NoFocus && isEnabled() && !m_edit->hasFocus())
            m_edit->setFocus(Qt::OtherFocusReason);
    };
    applyHeightRule();
}

TSpinEdit::~TSpinEdit()
{
    // The editor reports its focus-out to this field; delete it while the
    // field is still whole, not later among the QWidget base's children.
    delete m_edit;
    m_edit = nullptr;
}

std::int32_t TSpinEdit::Value() const { return ReadSpinValue(m_edit->text().toStdU16String(), m_min); }

void TSpinEdit::setValue(std::int32_t v)
{
    const QString t = QString::number(ClampForWrite(v, m_min, m_max));
    // The editor itself has no length limit, so program writes are never cut.
    if (t != m_edit->text())
        m_edit->setText(t);
}

int TSpinEdit::MaxLength() const { return m_maxLength; }
void TSpinEdit::setMaxLength(int n) { m_maxLength = std::max(n, 0); }
bool TSpinEdit::ReadOnly() const { return m_edit->isReadOnly(); }
void TSpinEdit::setReadOnly(bool on) { m_edit->setReadOnly(on); }
QString TSpinEdit::text() const { return m_edit->text(); }
void TSpinEdit::selectAll() { m_edit->selectAll(); }

void TSpinEdit::stepUp() { step(true); }
void TSpinEdit::stepDown() { step(false); }

void TSpinEdit::step(bool up)
{
    if (ReadOnly()) {
        m_beep.MessageBeep();
        return;
    }
    setValue(SaturatingAdd(Value(), up ? m_increment : -m_increment));
}

void TSpinEdit::textEdited()
{
    // Qt reports a retyped identical text too; the handlers want real changes only.
    const QString now = m_edit->text();
    if (now == m_notifiedText)
        return;
    m_notifiedText = now;
    if (QAccessible::isActive()) {
        QAccessibleValueChangeEvent announce(this, Value());
        QAccessible::updateAccessibility(&announce);
    }
    if (OnChange)
        OnChange(this);
}

QString TSpinEdit::labelName() const
{
    if (!accessibleName().isEmpty())
        return accessibleName();
    if (!parentWidget())
        return {};
    for (const QLabel* label : parentWidget()->findChildren<QLabel*>()) {
        if (label->buddy() == this) {
            QString name = label->text();
            // "&&" stands for a literal ampersand, a single "&" marks the accelerator.
            name.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
            name.remove(QLatin1Char('&'));
            name.replace(QStringLiteral("\x01"), QStringLiteral("&"));
            return name;
        }
    }
    return {};
}

bool TSpinEdit::windowTakesDialogKey(const QKeyEvent* e) const
{
    const auto* dialog = qobject_cast<const QDialog*>(window());
    if (!dialog)
        return false;
    const Qt::KeyboardModifiers mods = e->modifiers();
    const bool plain = mods == Qt::NoModifier || (e->key() == Qt::Key_Enter && mods == Qt::KeypadModifier);
    if (!plain)
        return false;
    if (e->key() == Qt::Key_Escape)
        return true;
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        for (const QPushButton* button : dialog->findChildren<QPushButton*>())
            if (button->isDefault() && button->isVisible() && button->isEnabled())
                return true;
    }
    return false;
}

bool TSpinEdit::passCharacter(char16_t& c)
{
    if (!IsAcceptedCharacter(c, regionalDecimalSeparator())) {
        m_beep.MessageBeep();
        return false;
    }
    if (OnKeyPress)
        OnKeyPress(this, c);
    return c != 0;
}

void TSpinEdit::editorKeyPress(QKeyEvent* e)
{
    // Enter and Esc belong to the window's default and cancel buttons first.
    if (windowTakesDialogKey(e)) {
        e->ignore();
        return;
    }
    e->accept();

    std::uint16_t key = VirtualKeyFromQtKey(e->key());
    if (key == vk::Up)
        stepUp();
    else if (key == vk::Down)
        stepDown();
    if (key != 0 && OnKeyDown) {
        OnKeyDown(this, key, e->modifiers());
        if (key == 0)
            return;
    }
    if (e->key() == Qt::Key_Up || e->key() == Qt::Key_Down)
        return; // the step was their whole effect

    const QString typed = typedCharacters(e);
    if (typed.isEmpty()) {
        if (e->modifiers() & Qt::AltModifier && !(e->modifiers() & Qt::ControlModifier)) {
            e->ignore(); // Alt combinations are the window's (menus, accelerators)
            return;
        }
        if (e->matches(QKeySequence::Paste))
            m_edit->pasteLimited();
        else
            m_edit->standardKeyPress(e);
        return;
    }

    for (const QChar ch : typed) {
        const char16_t original = ch.unicode();
        char16_t c = original;
        if (!passCharacter(c))
            continue;
        if (c < 32) {
            // Control characters carry the editing commands (clipboard, undo, backspace).
            if (c != original)
                continue;
            if (e->matches(QKeySequence::Paste))
                m_edit->pasteLimited();
            else
                m_edit->standardKeyPress(e);
        } else if (!ReadOnly()) {
            m_edit->insertLimited(QString(QChar(c)));
        }
    }
}

void TSpinEdit::editorFocusOut(QFocusEvent* e)
{
    // Only a move to another control of the same window corrects the value;
    // closing or deactivating the window leaves the text as the user left it,
    // and so does the menu bar taking the keyboard (Alt, or Alt and a menu's
    // letter): Esc gives the keyboard back to the field as it was.
    if (e->reason() == Qt::ActiveWindowFocusReason || e->reason() == Qt::PopupFocusReason
        || e->reason() == Qt::MenuBarFocusReason)
        return;
    const QWidget* next = QApplication::focusWidget();
    if (!next || next == m_edit || next->window() != window() || qobject_cast<const QMenuBar*>(next))
        return;
    if (m_min == m_max)
        return;
    const std::int32_t v = Value();
    if (v < m_min || v > m_max)
        setValue(v);
}

TSpinEdit::HeightRule TSpinEdit::heightRule() const
{
    // Each measure builds a label; both heights come from the same two.
    const int line = LabelLineHeight(font());
    const int systemLine = LabelLineHeight(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
    const int minimum = line + std::min(line, systemLine) / 4 + 6;
    return {std::max(line + 8, minimum), minimum};
}

int TSpinEdit::ruleHeight() const { return heightRule().height; }

int TSpinEdit::minimumRuleHeight() const { return heightRule().minimum; }

QSize TSpinEdit::sizeHint() const { return {m_edit->sizeHint().width(), ruleHeight()}; }

void TSpinEdit::applyHeightRule()
{
    // The minimum makes every later resize or setGeometry respect the lower bound.
    const HeightRule rule = heightRule();
    setMinimumHeight(rule.minimum);
    resize(width(), rule.height);
    // A hidden field gets its resize event only when shown; its parts follow now.
    layoutParts();
}

void TSpinEdit::applyEditorPalette()
{
    // Windows colour a control through its background/text roles; the text area
    // paints with Base/Text, so it takes those from Window/WindowText when only
    // those were set on the field.
    QPalette p = palette();
    if (p.isBrushSet(QPalette::Active, QPalette::Window) && !p.isBrushSet(QPalette::Active, QPalette::Base))
        p.setBrush(QPalette::Base, p.brush(QPalette::Window));
    if (p.isBrushSet(QPalette::Active, QPalette::WindowText) && !p.isBrushSet(QPalette::Active, QPalette::Text))
        p.setBrush(QPalette::Text, p.brush(QPalette::WindowText));
    m_edit->setPalette(p);
}

void TSpinEdit::resizeEvent(QResizeEvent*) { layoutParts(); }

void TSpinEdit::layoutParts()
{
    m_edit->setGeometry(rect());
    // The arrows fill the right end of the text area's room inside the frame
    // (and inside the focus ring, where the style draws one), and the text
    // area ends before them, so text never runs under the buttons.
    const int strip = SpinButtons::StripWidthFor(font());
    m_edit->setTextMargins(0, 0, strip, 0);
    const QRect inner = m_edit->contentsArea();
    m_buttons->setGeometry(inner.right() + 1 - strip, inner.top(), strip, inner.height());
}

void TSpinEdit::changeEvent(QEvent* e)
{
    if (e->type() == QEvent::FontChange)
        applyHeightRule();
    else if (e->type() == QEvent::PaletteChange)
        applyEditorPalette();
    QWidget::changeEvent(e);
}

void TSpinEdit::showEvent(QShowEvent* e)
{
    // Screen readers follow the focus into the text area; give it the field's name.
    m_edit->setAccessibleName(labelName());
    QWidget::showEvent(e);
}
