// The date and time pickers: regional display formats, TDateTime parts, and only the user's
// changes reported.
#include "DateTimePicker.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <gtest/gtest.h>

TEST(DateTimePickerTest, PartsInTheRegionalFormatsAndOnlyUserChangesReported)
{
    Regional::Settings usa = Regional::Neutral();
    usa.ShortDateFormat = QStringLiteral("M/d/yyyy");
    Regional::Set(usa);
    DateTimePicker date(DateTimePicker::dtkDate);
    DateTimePicker time(DateTimePicker::dtkTime);
    Regional::Set(Regional::Neutral());
    int changes = 0;
    QObject::connect(&date, &DateTimePicker::Changed, [&changes] { ++changes; });
    QObject::connect(&time, &DateTimePicker::Changed, [&changes] { ++changes; });

    const TDateTime moment = Regional::StrToDate(u"05.03.2005") + Regional::StrToTime(u"14:07:09") + 0.4 / 86400;
    date.SetDate(moment);
    time.SetTime(moment);
    EXPECT_EQ(changes, 0);
    EXPECT_TRUE(date.calendarPopup());
    EXPECT_EQ(date.displayFormat(), QStringLiteral("M/d/yyyy"));
    EXPECT_EQ(time.displayFormat(), QStringLiteral("HH:mm:ss"));
    // The date part alone, and the time of day in whole seconds as shown.
    EXPECT_EQ(date.Date(), Regional::StrToDate(u"05.03.2005"));
    EXPECT_EQ(time.Time(), Regional::StrToTime(u"14:07:09"));

    // A key that steps the value is the user's change.
    time.setFocus();
    QKeyEvent up(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
    QApplication::sendEvent(&time, &up);
    EXPECT_EQ(changes, 1);
    EXPECT_NE(time.Time(), Regional::StrToTime(u"14:07:09"));
}

// Every date the readers accept, years 1 to 9999, is held as it was set: an edit that leaves
// the date alone keeps it.
TEST(DateTimePickerTest, HoldsEveryDateTheReadersAccept)
{
    Regional::Set(Regional::Russian());
    DateTimePicker date(DateTimePicker::dtkDate);
    for (const char16_t* text : {u"01.01.0001", u"01.01.0050", u"31.12.0099", u"31.12.9999"}) {
        const TDateTime value = Regional::StrToDate(text);
        date.SetDate(value);
        EXPECT_EQ(date.Date(), value) << QString::fromUtf16(text).toStdString();
        EXPECT_EQ(date.text(), QString::fromUtf16(text));
    }
    Regional::Set(Regional::Neutral());
}
