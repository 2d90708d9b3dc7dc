#pragma once
// The numeric spin field: a one-line integer field with two arrow buttons in a
// 15-pixel strip at its right end. Its value is derived from its text whenever
// it is read; writing clamps into MinValue..MaxValue and writes the decimal text.
#include "controls/SpinLineEdit.h"
#include "platform/Beep.h"

#include <QWidget>
#include <cstdint>
#include <functional>

class QKeyEvent;
class QFocusEvent;
class SpinButtons;

class TSpinEdit : public QWidget {
    Q_OBJECT
public:
    // Handlers that the windows attach and detach at run time (empty = detached).
    using ChangeHandler = std::function<void(TSpinEdit* sender)>;
    using KeyDownHandler = std::function<void(TSpinEdit* sender, std::uint16_t& key, Qt::KeyboardModifiers shift)>;
    using KeyPressHandler = std::function<void(TSpinEdit* sender, char16_t& key)>;

    // beep: what sounds when a key is refused.
    explicit TSpinEdit(QWidget* parent = nullptr, platform::IBeep& beep = platform::SystemBeep());
    ~TSpinEdit() override;

    // Read: the integer of the text, or MinValue when the text is no integer text; never clamps.
    std::int32_t Value() const;
    // Write: clamp (unless MinValue == MaxValue), write the decimal text; an unchanged text runs nothing.
    void setValue(std::int32_t v);

    std::int32_t MinValue() const { return m_min; }
    void setMinValue(std::int32_t v) { m_min = v; }
    std::int32_t MaxValue() const { return m_max; }
    void setMaxValue(std::int32_t v) { m_max = v; }
    std::int32_t Increment() const { return m_increment; }
    void setIncrement(std::int32_t v) { m_increment = v; }
    // The most characters the user can type or paste; 0 = no limit.
    int MaxLength() const;
    void setMaxLength(int n);
    bool ReadOnly() const;
    void setReadOnly(bool on);
    int Tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }

    QString text() const;
    void selectAll();
    QLineEdit* editor() const { return m_edit; }
    SpinButtons* buttons() const { return m_buttons; }

    // Step up / down by Increment; a read-only field only beeps.
    void stepUp();
    void stepDown();

    // The name a screen reader gives the field: its accessible name, else the
    // text of the label whose buddy it is (without the "&" markers).
    QString labelName() const;

    // The height the field takes for its current font, and the least it ever takes.
    int ruleHeight() const;
    int minimumRuleHeight() const;

    QSize sizeHint() const override;

    ChangeHandler OnChange;
    KeyDownHandler OnKeyDown;
    KeyPressHandler OnKeyPress;

protected:
    void resizeEvent(QResizeEvent* e) override;
    void changeEvent(QEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    friend class SpinLineEdit;

    struct HeightRule {
        int height;
        int minimum;
    };
    HeightRule heightRule() const;
    void applyHeightRule();
    void layoutParts();
    void applyEditorPalette();
    void textEdited();
    void step(bool up);

    // Entry points of the text area.
    void editorKeyPress(QKeyEvent* e);
    void editorFocusOut(QFocusEvent* e);
    bool windowTakesDialogKey(const QKeyEvent* e) const;
    // Runs the character filter and OnKeyPress; false when the character is dropped or consumed.
    bool passCharacter(char16_t& c);

    platform::IBeep& m_beep;
    SpinLineEdit* m_edit = nullptr;
    SpinButtons* m_buttons = nullptr;
    std::int32_t m_min = 0;
    std::int32_t m_max = 0;
    std::int32_t m_increment = 1;
    int m_tag = 0;
    int m_maxLength = 0;
    QString m_notifiedText;
};
