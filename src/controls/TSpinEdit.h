#pragma once
// The numeric spin field: a one-line integer field with two arrow buttons in a
// 15-pixel strip at its right end. Its value is derived from its text whenever
// it is read; writing clamps into MinValue..MaxValue and writes the decimal text.
#include <QWidget>
#include <cstdint>
#include <functional>

class QLineEdit;

class TSpinEdit : public QWidget {
    Q_OBJECT
public:
    // Handlers that the windows attach and detach at run time (empty = detached).
    using ChangeHandler = std::function<void(TSpinEdit* sender)>;
    using KeyDownHandler = std::function<void(TSpinEdit* sender, std::uint16_t& key, Qt::KeyboardModifiers shift)>;
    using KeyPressHandler = std::function<void(TSpinEdit* sender, char16_t& key)>;

    explicit TSpinEdit(QWidget* parent = nullptr);
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
    int MaxLength() const;
    void setMaxLength(int n);
    bool ReadOnly() const;
    void setReadOnly(bool on);
    int Tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }

    QString text() const;
    void selectAll();
    QLineEdit* editor() const { return m_edit; }

    void stepUp();
    void stepDown();

    ChangeHandler OnChange;
    KeyDownHandler OnKeyDown;
    KeyPressHandler OnKeyPress;

protected:
    void resizeEvent(QResizeEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    void applyHeightRule();
    void textEdited();

    QLineEdit* m_edit = nullptr;
    std::int32_t m_min = 0;
    std::int32_t m_max = 0;
    std::int32_t m_increment = 1;
    int m_tag = 0;
};
