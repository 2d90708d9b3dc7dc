#pragma once
// The program's style: the desktop's own, plus a focus indication that a
// low-vision user can find. Styles mark the focus with a one-pixel line in a
// colour close to the control's own (or, for a push button, exactly like the
// default button), which vanishes beside a large font, under a magnifier and
// on most text backgrounds. Here every control that takes the keyboard focus
// shows it with a frame at least 2 pixels wide that grows with the control's
// font (FocusRingWidth):
// - push buttons: a dashed frame in the button's text colour around the caption;
// - framed edit fields (the number fields included): a solid ring just inside
//   the field's frame, black or white, whichever stands out more from the
//   field's background; the text area leaves room for it, focused or not;
// - framed lists: the same ring around the list, in a band that is the list's
//   background while it has no focus.
// - check boxes and radio buttons: a solid ring round the whole control,
//   indicator and text, black or white, whichever stands out more from the
//   window behind it; the control keeps a margin free for it;
// - drop-down boxes: a solid ring just inside the box's outline, black or
//   white against the box's face; text and arrow stay clear of it.
// The selected entry of a list is drawn in the palette's highlight colours on
// every platform (the native look of some is a pale tint the user cannot see).
//
// The style's small parts grow with the control's font as the number fields'
// arrows do (ScaledPart): scroll bars, the arrow of a drop-down box; check
// boxes and radio buttons are as large as the capital letters of their text.
// Beside the usual small fonts the style's own sizes stay.
#include <QProxyStyle>

class QFontMetrics;

class FocusFrameStyle : public QProxyStyle {
    Q_OBJECT
public:
    // Wraps `base` (nullptr: the application's default style).
    explicit FocusFrameStyle(QStyle* base = nullptr);

    // The width of the focus frame for a control whose font has these metrics
    // (FocusLineWidth): 2 pixels up to a line height of 29, then a twelfth of a line.
    static int FocusRingWidth(const QFontMetrics& metrics);
    // The thickness of a part beside text of these metrics whose own size in
    // the style is `own`: that, or two thirds of a line where that is more.
    static int ScaledPart(int own, const QFontMetrics& metrics);

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                            const QWidget* widget = nullptr) const override;
    QRect subElementRect(SubElement element, const QStyleOption* option, const QWidget* widget) const override;
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl sub,
                         const QWidget* widget = nullptr) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& contents,
                           const QWidget* widget = nullptr) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;

    void polish(QWidget* widget) override;
    void unpolish(QWidget* widget) override;
    using QProxyStyle::polish;
    using QProxyStyle::unpolish;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
