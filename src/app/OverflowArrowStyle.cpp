#include "app/OverflowArrowStyle.h"

#include <QGuiApplication>
#include <QIconEngine>
#include <QPainter>
#include <QStyleOption>

namespace {

class ArrowIconEngine : public QIconEngine {
public:
    ArrowIconEngine(const QStyle* style, QStyle::PrimitiveElement arrow) : m_style(style), m_arrow(arrow) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override
    {
        QStyleOption option;
        option.rect = rect;
        option.palette = QGuiApplication::palette();
        option.state = mode == QIcon::Disabled ? QStyle::State_None : QStyle::State_Enabled;
        m_style->drawPrimitive(m_arrow, &option, painter);
    }

    QIconEngine* clone() const override { return new ArrowIconEngine(m_style, m_arrow); }

private:
    const QStyle* m_style;
    QStyle::PrimitiveElement m_arrow;
};

} // namespace

OverflowArrowStyle::OverflowArrowStyle(QStyle* base) : QProxyStyle(base) {}

QIcon OverflowArrowStyle::standardIcon(StandardPixmap standardIcon, const QStyleOption* option,
                                       const QWidget* widget) const
{
    switch (standardIcon) {
    case SP_ToolBarHorizontalExtensionButton: return QIcon(new ArrowIconEngine(this, PE_IndicatorArrowRight));
    case SP_ToolBarVerticalExtensionButton: return QIcon(new ArrowIconEngine(this, PE_IndicatorArrowDown));
    default: return QProxyStyle::standardIcon(standardIcon, option, widget);
    }
}
