// Date and time pickers in the regional formats.
#include "DateTimePicker.h"

#include <cmath>

DateTimePicker::DateTimePicker(Kind kind, QWidget* parent) : QDateTimeEdit(parent), kind_(kind)
{
    const Regional::Settings& s = Regional::Current();
    if (kind_ == dtkDate) {
        setDisplayFormat(s.ShortDateFormat);
        setCalendarPopup(true);
        setDateRange(QDate(1, 1, 1), QDate(9999, 12, 31));
    } else {
        setDisplayFormat(s.LongTimeFormat);
    }
    connect(this, &QDateTimeEdit::dateTimeChanged, this, [this] {
        if (!setting_) emit Changed();
    });
}

TDateTime DateTimePicker::Date() const
{
    return std::floor(Regional::FromQDateTime(QDateTime(date(), QTime(0, 0))));
}

void DateTimePicker::SetDate(TDateTime value)
{
    setting_ = true;
    setDate(Regional::ToQDateTime(value).date());
    setting_ = false;
}

TDateTime DateTimePicker::Time() const
{
    return Regional::FromQDateTime(QDateTime(QDate(1899, 12, 30), time()));
}

void DateTimePicker::SetTime(TDateTime value)
{
    setting_ = true;
    // The picker shows whole seconds, and holds no more than it shows.
    const QTime t = Regional::ToQDateTime(value).time();
    setTime(QTime(t.hour(), t.minute(), t.second()));
    setting_ = false;
}
