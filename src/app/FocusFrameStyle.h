#pragma once
// The program's style: the desktop's own, plus a clear frame on the push button
// that has the keyboard focus. Some styles draw a focused button exactly like
// the default button, so without it a keyboard user cannot tell whether "O&K"
// or a field holds the focus.
#include <QProxyStyle>

class FocusFrameStyle : public QProxyStyle {
public:
    // Wraps `base` (nullptr: the application's default style).
    explicit FocusFrameStyle(QStyle* base = nullptr);

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
};
