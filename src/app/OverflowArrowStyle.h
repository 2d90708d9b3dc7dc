#pragma once
// The platform's style, except for the arrow on the menu bar's overflow button:
// the toolkit's own arrow is an image file, and reading its format at start-up
// loads every image-format plugin (and their libraries) before the first window
// shows. This style draws the arrow with the style's own arrow primitive, and
// only when the button is painted.
#include <QProxyStyle>

class OverflowArrowStyle : public QProxyStyle {
    Q_OBJECT
public:
    // Takes over the given style (the one the toolkit chose) as its base.
    explicit OverflowArrowStyle(QStyle* base);

    QIcon standardIcon(StandardPixmap standardIcon, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
};
