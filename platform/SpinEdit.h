// The class library's spin field: a whole number with up and down arrows, a range that a
// minimum and maximum of 0 switch off, a limit on the characters typed, and a text that is not
// a number read as the minimum.
#pragma once

#include <QSpinBox>

class SpinEdit : public QSpinBox {
    Q_OBJECT
public:
    explicit SpinEdit(QWidget* parent = nullptr);

    // Both 0: no range. A value outside the range is brought into it when set and when the
    // field loses the focus.
    void SetRange(int minValue, int maxValue);
    int MinValue() const { return minValue_; }
    int MaxValue() const { return maxValue_; }
    void SetMaxLength(int characters);

    // The number the text holds, brought into the range; the minimum when it holds no 32-bit
    // whole number (empty, a sign alone, more than 32 bits).
    int Value() const;
    void SetValue(int value);

protected:
    void fixup(QString& input) const override;
    QValidator::State validate(QString& input, int& pos) const override;

private:
    int Clamp(qlonglong value) const;
    // The value a text stands for, by the rule of Value.
    int Interpret(const QString& text) const;
    int minValue_ = 0;
    int maxValue_ = 0;
};
