#pragma once
// The room a control needs so that its text is not cut off in a large display
// font. The layouts keep their fixed widths and widen a control only where
// that width would cut its text.
#include <QString>

class QFont;
class QLineEdit;

// Width an edit field needs to show `text` whole: the text, the caret, the
// field's inner and text margins and its frame.
int EditWidthForText(const QLineEdit& edit, const QString& text);

// The widest text of `length` characters that a number field can come to
// hold: the widest of the digits and signs, repeated.
QString WidestNumberText(const QFont& font, int length);

// How tall a label in `font` is with `text` wrapped at word boundaries into `width`.
int WrappedTextHeight(const QFont& font, const QString& text, int width);

// The width the widest word of `text` takes as a label of its own: a wrapped
// text narrower than that would cut the word.
int WidestWordWidth(const QFont& font, const QString& text);
