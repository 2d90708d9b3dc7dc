// Provisional: text, value rules, change notification and height rule only.
// Keys, filter, arrow buttons and focus handling follow.
#include "controls/TSpinEdit.h"

#include "util/IntegerText.h"

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QLineEdit>

TSpinEdit::TSpinEdit(QWidget* parent)
    : QWidget(parent)
    , m_edit(new QLineEdit(QStringLiteral("0"), this))
{
    setFocusProxy(m_edit);
    setFocusPolicy(Qt::StrongFocus);
    connect(m_edit, &QLineEdit::textChanged, this, [this] { textEdited(); });
    applyHeightRule();
}

TSpinEdit::~TSpinEdit() = default;

std::int32_t TSpinEdit::Value() const
{
    return util::ParseIntegerText(m_edit->text().toStdU16String()).value_or(m_min);
}

void TSpinEdit::setValue(std::int32_t v)
{
    if (m_min != m_max)
        v = v < m_min ? m_min : (v > m_max ? m_max : v);
    const QString t = QString::number(v);
    if (t != m_edit->text()) {
        // Program writes are not limited by MaxLength.
        const int limit = m_edit->maxLength();
        m_edit->setMaxLength(32767);
        m_edit->setText(t);
        m_edit->setMaxLength(limit);
    }
}

int TSpinEdit::MaxLength() const { return m_edit->maxLength(); }
void TSpinEdit::setMaxLength(int n) { m_edit->setMaxLength(n > 0 ? n : 32767); }
bool TSpinEdit::ReadOnly() const { return m_edit->isReadOnly(); }
void TSpinEdit::setReadOnly(bool on) { m_edit->setReadOnly(on); }
QString TSpinEdit::text() const { return m_edit->text(); }
void TSpinEdit::selectAll() { m_edit->selectAll(); }

void TSpinEdit::stepUp() { setValue(Value() + m_increment); }
void TSpinEdit::stepDown() { setValue(Value() - m_increment); }

void TSpinEdit::textEdited()
{
    if (OnChange)
        OnChange(this);
}

void TSpinEdit::resizeEvent(QResizeEvent*)
{
    m_edit->setGeometry(0, 0, width() - 15, height());
}

void TSpinEdit::changeEvent(QEvent* e)
{
    if (e->type() == QEvent::FontChange)
        applyHeightRule();
    QWidget::changeEvent(e);
}

void TSpinEdit::applyHeightRule()
{
    const int L = QFontMetrics(font()).height();
    const int system = QFontMetrics(QApplication::font()).height();
    const int minimum = L + std::min(L, system) / 4 + 6;
    resize(width(), std::max(L + 8, minimum));
}
