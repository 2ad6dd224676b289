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

int SpinEdit::Value() const
{
    bool ok = false;
    const qlonglong typed = cleanText().trimmed().toLongLong(&ok);
    if (!ok) return minValue_;
    return Clamp(typed);
}

void SpinEdit::SetValue(int value)
{
    setValue(Clamp(value));
}

QValidator::State SpinEdit::validate(QString& input, int& pos) const
{
    // Any whole number may be typed, even outside the range: leaving the field brings it in.
    const QString text = input.trimmed();
    if (text.isEmpty() || text == QLatin1String("-") || text == QLatin1String("+")) return QValidator::Intermediate;
    bool ok = false;
    text.toLongLong(&ok);
    if (!ok) return QValidator::Invalid;
    return QSpinBox::validate(input, pos) == QValidator::Acceptable ? QValidator::Acceptable : QValidator::Intermediate;
}

void SpinEdit::fixup(QString& input) const
{
    bool ok = false;
    const qlonglong typed = input.trimmed().toLongLong(&ok);
    const int value = Clamp(ok ? typed : minValue_);
    input = QString::number(value);
}
