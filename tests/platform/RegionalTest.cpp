// The class library's conversions under the Russian and the neutral regional settings.
#include "Exceptions.h"
#include "Regional.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace Regional;

namespace {

// Sets regional formats for one test and puts the neutral ones back.
class RegionalTest : public ::testing::Test {
protected:
    void TearDown() override { Set(Neutral()); }
};

template <class F>
QString ConvertErrorOf(F&& f)
{
    try {
        f();
    } catch (const EConvertError& e) {
        return e.Message;
    }
    return QStringLiteral("<no error>");
}

}  // namespace

TEST_F(RegionalTest, StrToIntAcceptsDecimalAndBothHexForms)
{
    EXPECT_EQ(StrToInt(u"12"), 12);
    EXPECT_EQ(StrToInt(u"-5"), -5);
    EXPECT_EQ(StrToInt(u"+7"), 7);
    EXPECT_EQ(StrToInt(u"$FF"), 255);
    EXPECT_EQ(StrToInt(u"0x1a"), 26);
    EXPECT_EQ(StrToInt(u"0XFF"), 255);
    EXPECT_EQ(StrToInt(u"-$10"), -16);
    EXPECT_EQ(StrToInt(u"  12"), 12);  // leading blanks are skipped
    EXPECT_EQ(StrToInt(u"007"), 7);
    EXPECT_EQ(StrToInt(u"2147483647"), 2147483647);
    EXPECT_EQ(StrToInt(u"-2147483648"), std::numeric_limits<int>::min());
    EXPECT_EQ(StrToInt(u"$FFFFFFFF"), -1);  // hexadecimal is the 32-bit pattern
}

TEST_F(RegionalTest, StrToIntRefusesWhatIsNoWholeNumberInRange)
{
    for (const char16_t* bad : {u"", u"-", u"+", u"$", u"0x", u"12 ", u"1 2", u"abc", u"1.0", u"2147483648",
                                u"-2147483649", u"99999999999999999999", u"$100000000", u"$G1", u"--1"}) {
        int v = 77;
        EXPECT_FALSE(TryStrToInt(bad, v)) << QString::fromUtf16(bad).toStdString();
        EXPECT_EQ(v, 77);
    }
    EXPECT_EQ(ConvertErrorOf([] { StrToInt(u"abc"); }), QStringLiteral("'abc' is not a valid integer value"));
    EXPECT_EQ(ConvertErrorOf([] { StrToInt(u""); }), QStringLiteral("'' is not a valid integer value"));
}

TEST_F(RegionalTest, FloatToStrGeneralFormat)
{
    EXPECT_EQ(FloatToStr(18), QStringLiteral("18"));
    EXPECT_EQ(FloatToStr(1.56999), QStringLiteral("1.56999"));
    EXPECT_EQ(FloatToStr(-2.5), QStringLiteral("-2.5"));
    EXPECT_EQ(FloatToStr(0), QStringLiteral("0"));
    EXPECT_EQ(FloatToStr(-0.0), QStringLiteral("0"));
    EXPECT_EQ(FloatToStr(0.1), QStringLiteral("0.1"));
    EXPECT_EQ(FloatToStr(1.0 / 3), QStringLiteral("0.333333333333333"));
    EXPECT_EQ(FloatToStr(2.0 / 3), QStringLiteral("0.666666666666667"));
    EXPECT_EQ(FloatToStr(1234567.5), QStringLiteral("1234567.5"));  // no grouping
    EXPECT_EQ(FloatToStr(123456789012345.0), QStringLiteral("123456789012345"));
    EXPECT_EQ(FloatToStr(0.0001), QStringLiteral("0.0001"));
    // Beyond 15 digits or below 0.0001 the exponent form takes over.
    EXPECT_EQ(FloatToStr(1e15), QStringLiteral("1E15"));
    EXPECT_EQ(FloatToStr(1e20), QStringLiteral("1E20"));
    EXPECT_EQ(FloatToStr(1e-5), QStringLiteral("1E-5"));
    EXPECT_EQ(FloatToStr(-1.5e-7), QStringLiteral("-1.5E-7"));
    EXPECT_EQ(FloatToStr(999999999999999.9), QStringLiteral("1E15"));  // rounding carries into the exponent
    EXPECT_EQ(FloatToStr(std::numeric_limits<double>::infinity()), QStringLiteral("INF"));
    EXPECT_EQ(FloatToStr(std::nan("")), QStringLiteral("NAN"));

    Set(Russian());
    EXPECT_EQ(FloatToStr(1.56999), QStringLiteral("1,56999"));
    EXPECT_EQ(FloatToStr(1234567.5), QStringLiteral("1234567,5"));
    EXPECT_EQ(FloatToStr(18), QStringLiteral("18"));
    EXPECT_EQ(FloatToStr(2.5e-9), QStringLiteral("2,5E-9"));
}

TEST_F(RegionalTest, StrToFloatTakesOnlyTheRegionalSeparator)
{
    EXPECT_DOUBLE_EQ(StrToFloat(u"1.5"), 1.5);
    EXPECT_DOUBLE_EQ(StrToFloat(u" -2.25 "), -2.25);
    EXPECT_DOUBLE_EQ(StrToFloat(u"1e3"), 1000);
    EXPECT_DOUBLE_EQ(StrToFloat(u"1.5E-2"), 0.015);
    EXPECT_DOUBLE_EQ(StrToFloat(u".5"), 0.5);
    EXPECT_DOUBLE_EQ(StrToFloat(u"7"), 7);
    for (const char16_t* bad : {u"", u".", u"-", u"1,5", u"1.5.2", u"1e", u"1e+", u"abc", u"1 000", u"0x10", u"1e999"}) {
        double v = 9;
        EXPECT_FALSE(TryStrToFloat(bad, v)) << QString::fromUtf16(bad).toStdString();
        EXPECT_EQ(v, 9);
    }

    Set(Russian());
    EXPECT_DOUBLE_EQ(StrToFloat(u"1,5"), 1.5);
    EXPECT_EQ(ConvertErrorOf([] { StrToFloat(u"1.5"); }), QStringLiteral("'1.5' is not a valid floating point value"));
    // What FloatToStr writes reads back to the same value.
    for (double v : {0.1, 1.56999, -123.456, 1e20, 2.5e-9, 1.0 / 3}) {
        const double back = StrToFloat(FloatToStr(v));
        EXPECT_NEAR(back, v, std::fabs(v) * 1e-14) << v;
    }
}

TEST_F(RegionalTest, DatesAreDaysSinceTheBaseAndStrict)
{
    EXPECT_EQ(StrToDate(u"30.12.1899"), 0);
    EXPECT_EQ(StrToDate(u"01.01.1900"), 2);
    EXPECT_EQ(StrToDate(u"25.03.2006"), 38801);
    EXPECT_EQ(StrToDate(u"1.3.2005"), StrToDate(u"01.03.2005"));
    EXPECT_EQ(StrToDate(u"29.02.2004"), StrToDate(u"28.02.2004") + 1);
    EXPECT_EQ(DateToStr(38801), QStringLiteral("25.03.2006"));
    EXPECT_EQ(DateToStr(38801.99), QStringLiteral("25.03.2006"));
    EXPECT_EQ(DateToStr(-1.25), QStringLiteral("29.12.1899"));

    EXPECT_EQ(ConvertErrorOf([] { StrToDate(u"31.02.2005"); }), QStringLiteral("'31.02.2005' is not a valid date"));
    for (const char16_t* bad : {u"29.02.2005", u"00.01.2005", u"32.01.2005", u"01.13.2005", u"25.03.2006x",
                                u"25/03/2006", u"25.03.", u"", u"abc", u"25..2006", u"123.03.2006"}) {
        TDateTime v = 5;
        EXPECT_FALSE(TryStrToDate(bad, v)) << QString::fromUtf16(bad).toStdString();
        EXPECT_EQ(v, 5);
    }
}

TEST_F(RegionalTest, DateOrderAndSeparatorFollowTheFormat)
{
    Settings s = Neutral();
    s.ShortDateFormat = QStringLiteral("M/d/yyyy");
    Set(s);
    EXPECT_EQ(StrToDate(u"3/25/2006"), 38801);
    EXPECT_EQ(DateToStr(38801), QStringLiteral("3/25/2006"));
    EXPECT_FALSE([] { TDateTime v; return TryStrToDate(u"25/3/2006", v); }());
    s.ShortDateFormat = QStringLiteral("yyyy-MM-dd");
    Set(s);
    EXPECT_EQ(StrToDate(u"2006-03-25"), 38801);
}

TEST_F(RegionalTest, TimesAreFractionsOfTheDay)
{
    EXPECT_DOUBLE_EQ(StrToTime(u"14:05:31"), (14 * 3600 + 5 * 60 + 31) / 86400.0);
    EXPECT_DOUBLE_EQ(StrToTime(u"12:00"), 0.5);
    EXPECT_DOUBLE_EQ(StrToTime(u"0:00:00"), 0);
    EXPECT_EQ(TimeToStr(0.5), QStringLiteral("12:00:00"));
    EXPECT_EQ(TimeToStr(StrToTime(u"23:59:59")), QStringLiteral("23:59:59"));
    EXPECT_EQ(ConvertErrorOf([] { StrToTime(u"24:00:00"); }), QStringLiteral("'24:00:00' is not a valid time"));
    for (const char16_t* bad : {u"12:60", u"12:00:60", u"12", u"", u"1:2:3:4", u"12.00", u"ab:cd", u"13:00 PM"}) {
        TDateTime v = 5;
        EXPECT_FALSE(TryStrToTime(bad, v)) << QString::fromUtf16(bad).toStdString();
    }
    EXPECT_DOUBLE_EQ(StrToTime(u"2:30 PM"), 14.5 / 24);
    EXPECT_DOUBLE_EQ(StrToTime(u"12:00 AM"), 0);
}

TEST_F(RegionalTest, DateTimeTextIsDateBlankTime)
{
    Set(Russian());
    const TDateTime t = StrToDate(u"25.03.2006") + StrToTime(u"14:05:31");
    EXPECT_EQ(DateTimeToStr(t), QStringLiteral("25.03.2006 14:05:31"));
    // Midnight keeps its time: the log line always has both parts.
    EXPECT_EQ(DateTimeToStr(38801), QStringLiteral("25.03.2006 00:00:00"));
    // A time a hair below the next second rounds up, carrying into the next day when it must.
    EXPECT_EQ(DateTimeToStr(38801 + 0.99999999999), QStringLiteral("26.03.2006 00:00:00"));

    const QDateTime q(QDate(2006, 3, 25), QTime(14, 5, 31));
    EXPECT_EQ(ToQDateTime(FromQDateTime(q)), q);
    EXPECT_EQ(ToQDateTime(-1.25), QDateTime(QDate(1899, 12, 29), QTime(6, 0)));
    EXPECT_DOUBLE_EQ(FromQDateTime(QDateTime(QDate(1899, 12, 29), QTime(6, 0))), -1.25);
    EXPECT_EQ(Date(), std::floor(Now()));
}
