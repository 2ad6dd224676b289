// The class library's conversions under the Russian and the neutral regional settings.
#include "Faults.h"
#include "Regional.h"

#include <QCoreApplication>
#include <QProcess>
#include <gtest/gtest.h>

#include <QDate>
#include <QLocale>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <random>
#include <vector>
#include <limits>

using namespace Regional;

namespace {

// Sets regional formats for one test and puts the neutral ones back.
class RegionalTest : public ::testing::Test {
protected:
    void TearDown() override { Set(Neutral()); }
};

// Every text is refused, and the target keeps its value.
template <class T>
void ExpectRefused(bool (*tryConvert)(QStringView, T&), std::initializer_list<const char16_t*> texts)
{
    for (const char16_t* text : texts) {
        T v = T(77);
        EXPECT_FALSE(tryConvert(text, v)) << QString::fromUtf16(text).toStdString();
        EXPECT_EQ(v, T(77)) << QString::fromUtf16(text).toStdString();
    }
}

}  // namespace

TEST_F(RegionalTest, StrToIntTakesDecimalAndBothHexFormsInRangeOnly)
{
    // Leading blanks are skipped; hexadecimal is the 32-bit pattern.
    const std::pair<const char16_t*, int> cases[] = {
        {u"12", 12},   {u"-5", -5},     {u"+7", 7},     {u"$FF", 255},          {u"0x1a", 26},
        {u"0XFF", 255}, {u"-$10", -16}, {u"  12", 12},  {u"007", 7},            {u"2147483647", 2147483647},
        {u"$FFFFFFFF", -1}, {u"-2147483648", std::numeric_limits<int>::min()}};
    for (const auto& [text, value] : cases) EXPECT_EQ(StrToInt(text), value) << QString::fromUtf16(text).toStdString();
    // What is no whole number in range is refused.
    ExpectRefused(TryStrToInt, {u"", u"-", u"+", u"$", u"0x", u"12 ", u"1 2", u"abc", u"1.0", u"2147483648", u"-2147483649",
                                u"99999999999999999999", u"$100000000", u"$G1", u"--1"});
    EXPECT_EQ(MessageOf<EConvertError>([] { StrToInt(u"abc"); }), QStringLiteral("'abc' is not a valid integer value"));
    EXPECT_EQ(MessageOf<EConvertError>([] { StrToInt(u""); }), QStringLiteral("'' is not a valid integer value"));
}

TEST_F(RegionalTest, FloatToStrGeneralFormat)
{
    // No grouping; beyond 15 digits or below 0.0001 the exponent form takes over, and rounding
    // may carry into the exponent.
    const std::pair<double, const char*> neutral[] = {
        {18, "18"}, {1.56999, "1.56999"}, {-2.5, "-2.5"}, {0, "0"}, {-0.0, "0"}, {0.1, "0.1"},
        {1.0 / 3, "0.333333333333333"}, {2.0 / 3, "0.666666666666667"}, {1234567.5, "1234567.5"},
        {123456789012345.0, "123456789012345"}, {0.0001, "0.0001"}, {1e15, "1E15"}, {1e20, "1E20"},
        {1e-5, "1E-5"}, {-1.5e-7, "-1.5E-7"}, {999999999999999.9, "1E15"},
        {std::numeric_limits<double>::infinity(), "INF"}, {std::nan(""), "NAN"}};
    for (const auto& [value, text] : neutral) EXPECT_EQ(FloatToStr(value), QString::fromLatin1(text)) << value;
    Set(Russian());
    const std::pair<double, const char*> russian[] = {{1.56999, "1,56999"}, {1234567.5, "1234567,5"}, {18, "18"}, {2.5e-9, "2,5E-9"}};
    for (const auto& [value, text] : russian) EXPECT_EQ(FloatToStr(value), QString::fromLatin1(text)) << value;
}

TEST_F(RegionalTest, StrToFloatTakesOnlyTheRegionalSeparator)
{
    const std::pair<const char16_t*, double> cases[] = {{u"1.5", 1.5},       {u" -2.25 ", -2.25}, {u"1e3", 1000},
                                                        {u"1.5E-2", 0.015}, {u".5", 0.5},        {u"7", 7}};
    for (const auto& [text, value] : cases) EXPECT_DOUBLE_EQ(StrToFloat(text), value) << QString::fromUtf16(text).toStdString();
    ExpectRefused(TryStrToFloat, {u"", u".", u"-", u"1,5", u"1.5.2", u"1e", u"1e+", u"abc", u"1 000", u"0x10", u"1e999"});

    Set(Russian());
    EXPECT_DOUBLE_EQ(StrToFloat(u"1,5"), 1.5);
    EXPECT_EQ(MessageOf<EConvertError>([] { StrToFloat(u"1.5"); }), QStringLiteral("'1.5' is not a valid floating point value"));
    // What FloatToStr writes reads back to the same value.
    for (double v : {0.1, 1.56999, -123.456, 1e20, 2.5e-9, 1.0 / 3}) EXPECT_NEAR(StrToFloat(FloatToStr(v)), v, std::fabs(v) * 1e-14) << v;
}

TEST_F(RegionalTest, DatesAreDaysSinceTheBaseStrictAndInTheRegionalFormat)
{
    const std::pair<const char16_t*, TDateTime> days[] = {{u"30.12.1899", 0},    {u"01.01.1900", 2}, {u"25.03.2006", 38801},
                                                          {u"1.3.2005", 38412},   {u"01.03.2005", 38412}, {u"29.02.2004", 38046}};
    for (const auto& [text, day] : days) EXPECT_EQ(StrToDate(text), day) << QString::fromUtf16(text).toStdString();
    for (const auto& [day, text] : {std::pair(38801.0, "25.03.2006"), {38801.99, "25.03.2006"}, {-1.25, "29.12.1899"}})
        EXPECT_EQ(DateToStr(day), QString::fromLatin1(text)) << day;

    EXPECT_EQ(MessageOf<EConvertError>([] { StrToDate(u"31.02.2005"); }), QStringLiteral("'31.02.2005' is not a valid date"));
    ExpectRefused(TryStrToDate, {u"29.02.2005", u"00.01.2005", u"32.01.2005", u"01.13.2005", u"25.03.2006x", u"25/03/2006",
                                 u"25.03.", u"", u"abc", u"25..2006", u"123.03.2006"});
    // Order and separator follow the short date format.
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
    const std::pair<const char16_t*, TDateTime> times[] = {{u"14:05:31", (14 * 3600 + 5 * 60 + 31) / 86400.0},
                                                           {u"12:00", 0.5}, {u"0:00:00", 0}, {u"2:30 PM", 14.5 / 24}, {u"12:00 AM", 0}};
    for (const auto& [text, time] : times) EXPECT_DOUBLE_EQ(StrToTime(text), time) << QString::fromUtf16(text).toStdString();
    EXPECT_EQ(TimeToStr(0.5), QStringLiteral("12:00:00"));
    EXPECT_EQ(TimeToStr(StrToTime(u"23:59:59")), QStringLiteral("23:59:59"));
    EXPECT_EQ(MessageOf<EConvertError>([] { StrToTime(u"24:00:00"); }), QStringLiteral("'24:00:00' is not a valid time"));
    ExpectRefused(TryStrToTime, {u"12:60", u"12:00:60", u"12", u"", u"1:2:3:4", u"12.00", u"ab:cd", u"13:00 PM"});
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

// A year of one or two digits lands in the window from 50 years back to 49 ahead of this year.
TEST_F(RegionalTest, ShortYearsFallInTheCenturyWindowOfThisYear)
{
    const int now = QDate::currentDate().year();
    for (int yy = 0; yy < 100; ++yy) {
        int expected = now - 50;
        while (expected % 100 != yy) ++expected;
        ASSERT_LE(expected, now + 49);
        const QString text = QStringLiteral("01.01.%1").arg(yy, 2, 10, QLatin1Char('0'));
        EXPECT_EQ(ToQDateTime(StrToDate(text)).date().year(), expected) << text.toStdString();
        if (yy < 10) {
            EXPECT_EQ(StrToDate(QStringLiteral("01.01.%1").arg(yy)), StrToDate(text)) << yy;
        }
    }
    // Four digits are taken as they stand.
    EXPECT_EQ(ToQDateTime(StrToDate(u"01.01.0076")).date().year(), 76);
}

// The decimal digits are formed first (18 of them), then rounded to 15 with a half going up;
// a rounding past the largest double is cut instead, so the text reads back.
TEST_F(RegionalTest, FloatToStrRoundsEighteenDigitsToFifteenHalfUp)
{
    const double denormal = std::numeric_limits<double>::denorm_min();
    const std::pair<double, const char*> cases[] = {
        {100000000000000.5, "100000000000001"}, {1000000000000005.0, "1.00000000000001E15"},
        {7754090.617418685, "7754090.61741869"}, {123456789012344.5, "123456789012345"},
        {-123456789012344.5, "-123456789012345"}, {100000000000000.48, "100000000000000"},
        {1.000000000000005, "1.00000000000001"}, {0.3000000000000005, "0.3"}, {0.1234567890123455, "0.123456789012345"},
        {99999999999999.95, "100000000000000"}, {999999999999999.5, "1E15"}, {0.00009999999999999995, "0.0001"},
        {DBL_MAX, "1.79769313486231E308"}, {-DBL_MAX, "-1.79769313486231E308"}, {DBL_MIN, "2.2250738585072E-308"},
        {denormal, "4.94065645841247E-324"}, {1e15, "1E15"}, {1e-5, "1E-5"}, {-0.0, "0"}};
    for (const auto& [value, text] : cases) EXPECT_EQ(FloatToStr(value), QString::fromLatin1(text)) << text;

    // Edge values and 100,000 random ones read back as the 15-digit value they were written as.
    std::mt19937_64 random(20261209);
    std::vector<double> values = {DBL_MAX, -DBL_MAX, DBL_MIN, -DBL_MIN, denormal, 3 * denormal, DBL_MIN / 3, -0.0, 1e15, 1e-5};
    std::uniform_real_distribution<double> magnitude(-30, 30);
    while (values.size() < 100000) {
        double v;
        if (values.size() % 2) {
            const quint64 bits = random();
            std::memcpy(&v, &bits, sizeof v);
            if (!std::isfinite(v)) continue;
        } else {
            v = std::pow(10.0, magnitude(random)) * (random() % 2 ? 1 : -1);
        }
        values.push_back(v);
    }
    for (const Settings& s : {Neutral(), Russian()}) {
        Set(s);
        int failures = 0;
        for (double v : values) {
            const QString text = FloatToStr(v);
            double back = 0;
            const bool ok = TryStrToFloat(text, back) && FloatToStr(back) == text &&
                            std::fabs(back - v) <= std::fabs(v) * 5.2e-15 + denormal;
            if (!ok && ++failures < 5) ADD_FAILURE() << text.toStdString() << " from " << v;
        }
        EXPECT_EQ(failures, 0);
    }
}

// Formats with a blank after the separator, a separator after the last number, or direction
// marks: every date written reads back.
TEST_F(RegionalTest, DatesWithBlanksAfterTheSeparatorReadBack)
{
    const struct { const char16_t* format; const char16_t* text; } cases[] = {
        {u"d. M. yyyy", u"25. 3. 2006"}, {u"yyyy. MM. dd.", u"2006. 03. 25."}, {u"dd.MM.yyyy", u"25. 03. 2006"},
        {u"yyyy. MM. dd.", u"2006.03.25"}, {u"d\u200F/M\u200F/yyyy", u"25\u200F/3\u200F/2006"}};
    for (const auto& c : cases) {
        Settings s = Neutral();
        s.ShortDateFormat = QString::fromUtf16(c.format);
        Set(s);
        EXPECT_EQ(StrToDate(c.text), 38801) << QString::fromUtf16(c.text).toStdString();
    }
    Settings s = Neutral();
    s.ShortDateFormat = QStringLiteral("yyyy. MM. dd.");
    Set(s);
    ExpectRefused(TryStrToDate, {u"2006. 03. 25..", u"2006. 03.", u". 2006. 03. 25"});
    Set(Neutral());
    ExpectRefused(TryStrToDate, {u"25.03.2006."});

    // Every locale Qt knows, over two centuries.
    const QList<QLocale> locales = QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
    ASSERT_GT(locales.size(), 100);
    for (const QLocale& locale : locales) {
        Set(FromLocale(locale));
        int failures = 0;
        for (TDateTime day = 1; day < 73000; day += 173) {
            TDateTime back = -1;
            if (!(TryStrToDate(DateToStr(day), back) && back == day) && ++failures == 1)
                ADD_FAILURE() << locale.name().toStdString() << " " << Current().ShortDateFormat.toStdString() << " "
                              << DateToStr(day).toStdString();
        }
    }
}

// Run in a child process under a locale whose short date has a two-digit year (the system
// locale is read once per process).
TEST(RegionalSystem, DISABLED_TwoDigitYearOfTheSystemIsWidened)
{
    InitFromSystem();
    EXPECT_EQ(Current().ShortDateFormat, QStringLiteral("M/d/yyyy"));
    EXPECT_EQ(DateToStr(38801), QStringLiteral("3/25/2006"));
    EXPECT_EQ(StrToDate(u"3/25/2006"), 38801);
}

TEST(RegionalSystem, ASystemDateWithATwoDigitYearIsWrittenWithFourDigits)
{
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"LC_ALL", "LC_TIME", "LC_NUMERIC", "LANG", "LANGUAGE"}) env.remove(QString::fromLatin1(name));
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("en_US.UTF-8"));
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_also_run_disabled_tests"),
                 QStringLiteral("--gtest_filter=RegionalSystem.DISABLED_TwoDigitYearOfTheSystemIsWidened")});
    ASSERT_TRUE(child.waitForFinished(60000));
    const QByteArray out = child.readAllStandardOutput();
    EXPECT_EQ(child.exitCode(), 0) << out.toStdString();
    EXPECT_TRUE(out.contains("[  PASSED  ] 1 test")) << out.toStdString();
}
