#pragma once
// The text area of a spin field. It hands keys, focus changes, mouse presses,
// pastes and context-menu requests to its field, which applies its own rules
// before (or instead of) the standard editing of QLineEdit.
#include <QLineEdit>

class TSpinEdit;

class SpinLineEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit SpinLineEdit(TSpinEdit* field);

    // Standard editing of a key, without the field's rules.
    void standardKeyPress(QKeyEvent* e);
    // Pastes the clipboard text (first line only) without the character filter,
    // cut to the room the field's length limit leaves; nothing when read-only.
    void pasteLimited();
    // The area inside the frame (and whatever the style keeps around the
    // text), where the text and the arrow strip go.
    QRect contentsArea() const;
    // Inserts text typed or pasted by the user, cut to the room the length limit leaves.
    void insertLimited(const QString& text);

protected:
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;

private:
    TSpinEdit* m_field;
    // Focus came from a mouse press whose button is not known yet.
    bool m_focusFromPress = false;
};
