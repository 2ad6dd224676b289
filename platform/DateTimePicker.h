// The class library's date and time picker: a date (short date format, drop-down calendar) or a
// time (long time format) of the regional settings, read and set as TDateTime parts.
#pragma once

#include "Regional.h"

#include <QDateTimeEdit>

class DateTimePicker : public QDateTimeEdit {
    Q_OBJECT
public:
    enum Kind { dtkDate, dtkTime };
    explicit DateTimePicker(Kind kind, QWidget* parent = nullptr);

    Kind PickerKind() const { return kind_; }
    // The date as whole days since 30.12.1899.
    TDateTime Date() const;
    void SetDate(TDateTime value);
    // The time as the fraction of a day.
    TDateTime Time() const;
    void SetTime(TDateTime value);

signals:
    // The user changed the value; setting it from the program does not count.
    void Changed();

private:
    Kind kind_;
    bool setting_ = false;
};
