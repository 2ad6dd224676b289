// The class library's spin field.
#include "SpinEdit.h"

#include <QLineEdit>

#include <algorithm>
#include <limits>

SpinEdit::SpinEdit(QWidget* parent) : QSpinBox(parent)
{
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    SetRange(0, 0);
}

void SpinEdit::SetRange(int minValue, int maxValue)
{
    minValue_ = minValue;
    maxValue_ = maxValue;
    if (minValue == 0 && maxValue == 0)
        setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    else
        setRange(minValue, maxValue);
}

void SpinEdit::SetMaxLength(int characters)
{
    lineEdit()->setMaxLength(characters);
}

int SpinEdit::Clamp(qlonglong value) const
{
    return int(std::clamp<qlonglong>(value, minimum(), maximum()));
}

int SpinEdit::Interpret(const QString& text) const
{
    // A number beyond 32 bits is no number to the field, like an empty text: not the largest one.
    bool ok = false;
    const int typed = text.trimmed().toInt(&ok);
    return ok ? Clamp(typed) : minValue_;
}

int SpinEdit::Value() const
{
    return Interpret(cleanText());
}

void SpinEdit::SetValue(int value)
{
    setValue(Clamp(value));
}

QValidator::State SpinEdit::validate(QString& input, int& pos) const
{
    // Any digits may be typed, after a sign, even outside the range: leaving the field brings
    // them in (a text that is no 32-bit number to the minimum).
    const QString text = input.trimmed();
    qsizetype digits = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isDigit() && c.unicode() < 128) ++digits;
        else if (i > 0 || (c != u'+' && c != u'-')) return QValidator::Invalid;
    }
    if (digits == 0) return QValidator::Intermediate;
    return QSpinBox::validate(input, pos) == QValidator::Acceptable ? QValidator::Acceptable : QValidator::Intermediate;
}

void SpinEdit::fixup(QString& input) const
{
    input = QString::number(Interpret(input));
}
