// The byte conversions give exactly what the regional ones give, under the formats of several locales.
#include "AnsiCodec.h"
#include "Exceptions.h"
#include "RegionalBytes.h"

#include <QLocale>
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

using RegionalBytes::Converter;

namespace {

class RegionalBytesTest : public ::testing::Test {
protected:
    void TearDown() override { Regional::Set(Regional::Neutral()); }
};

Regional::Settings With(QChar decimal, const char* date, const char* time)
{
    Regional::Settings s = Regional::Neutral();
    s.DecimalSeparator = decimal;
    s.ShortDateFormat = QString::fromLatin1(date);
    s.LongTimeFormat = QString::fromLatin1(time);
    return s;
}

// Decimal point and comma, day-month-year at dots, month first at slashes, the year first with
// dashes or with dots and blanks, hours with and without a leading zero, at colons or dots, with
// AM/PM, and a decimal separator that Windows-1251 lacks; then what the system's locales give.
std::vector<Regional::Settings> Locales()
{
    std::vector<Regional::Settings> all{
        Regional::Neutral(),
        Regional::Russian(),
        With(QLatin1Char('.'), "M/d/yyyy", "h:mm:ss AP"),
        With(QLatin1Char('.'), "M/d/yyyy", "H:mm:ss"),
        With(QLatin1Char(','), "yyyy-MM-dd", "HH:mm:ss"),
        With(QLatin1Char(','), "d.M.yyyy", "H.mm.ss"),
        With(QLatin1Char('.'), "yyyy. MM. dd.", "ap h:mm:ss"),
        With(QLatin1Char('.'), "dd/MM/yyyy", "HH:mm:ss"),
        With(QChar(0x066B), "dd/MM/yyyy", "hh:mm:ss AP"),
    };
    for (QLocale::Language language : {QLocale::German, QLocale::English, QLocale::Swedish, QLocale::Finnish,
                                       QLocale::Hungarian, QLocale::Korean, QLocale::Japanese, QLocale::Arabic})
        all.push_back(Regional::FromLocale(QLocale(language)));
    return all;
}

QString Describe(const Regional::Settings& s)
{
    return QStringLiteral("%1 %2 %3").arg(QString(s.DecimalSeparator), s.ShortDateFormat, s.LongTimeFormat);
}

// A conversion's value, or the message it failed with.
struct Outcome {
    double Value = 0;
    QString Error;
    bool operator==(const Outcome& o) const
    {
        return Error == o.Error && (Value == o.Value || (std::isnan(Value) && std::isnan(o.Value))) &&
               std::signbit(Value) == std::signbit(o.Value);
    }
};
void PrintTo(const Outcome& o, std::ostream* os)
{
    *os << (o.Error.isEmpty() ? QString::number(o.Value, 'g', 17) : o.Error).toStdString();
}

template <class F>
Outcome Of(F&& convert)
{
    try {
        return {double(convert()), QString()};
    } catch (const EConvertError& e) {
        return {0, e.Message};
    }
}

// The bytes that Regional's text stands for in a file, or the message of the text that
// Windows-1251 cannot hold.
QByteArray FileBytesOf(const QString& text)
{
    try {
        return AnsiCodec::Encode(text);
    } catch (const EConvertError& e) {
        return "error: " + e.Message.toUtf8();
    }
}

// What a writer of the converter puts down, as bytes.
template <class Put>
QByteArray Written(Put&& put)
{
    ByteSink sink;
    try {
        sink.Commit(put(sink, sink.Room(256)));
    } catch (const EConvertError& e) {
        return "error: " + e.Message.toUtf8();
    }
    return QByteArray(sink.Data(), sink.Size());
}

const double Floats[] = {0, -0.0, 1, -1, 0.1, 1.5, -2.25, 123456.789, 1e-4, 9.99999e-5, 1e14, 999999999999999.0, 1e15,
                         -2.5e-7, 1.0 / 3, 2.0 / 3 * 1000, 3.14159265358979, 1e300, 0.1 + 0.2, 5e-324,
                         std::numeric_limits<double>::max(), std::numeric_limits<double>::infinity(),
                         std::numeric_limits<double>::quiet_NaN()};
const double Dates[] = {0, 1, -1, 38384, 38384, 38385, 2958465, 2958466, -693593, -693594, 36525, 38384.5, -0.5, 2.9e6};
const double Times[] = {0, 0.5, 1.0 / 86400, 86399.0 / 86400, 0.123456, 37230.0 / 86400, 0.999999, 1.25, -0.25, 43200.5 / 86400};
const int Ints[] = {0, 1, -1, 7, 123456789, 999999999, 1000000000, INT_MAX, INT_MIN};

// Texts of every shape: the plain forms and their near misses, blanks, other separators, signs,
// leading zeros, values out of range, hexadecimal, AM/PM.
const char16_t* const Texts[] = {
    u"", u" ", u"-", u"x", u"0", u"-0", u"+0", u"12", u"-5", u"+7", u"007", u"$FF", u"0x1a", u" 12", u"12 ", u"1 2",
    u"999999999", u"-999999999", u"1000000000", u"2147483647", u"2147483648", u"-2147483648", u"-2147483649",
    u"12345678901234567890", u"1.5", u"1,5", u"-2.25", u"-2,25", u"1E5", u"1e-3", u"1,5E-7", u".5", u"5.", u"5,",
    u"00012.50", u"0.1234567890123456789", u"9007199254740993", u"1.7976931348623157E308", u"1E400", u"-0.0", u"-0,0",
    u"123456789012345678901234567890.5", u"0.000000000000000000000000000001", u"1..5", u"--1", u"1-", u"NAN", u"INF",
    u"01.02.2005", u"1.2.2005", u"31.02.2005", u"29.02.2004", u"29.02.2005", u"01.02.05", u" 01.02.2005", u"01.02.2005 ",
    u"001.02.2005", u"01.002.2005", u"01.02.20051", u"0.1.2005", u"01.02.0000", u"01.01.0001", u"31.12.9999", u"01.02",
    u"2/1/2005", u"02/01/2005", u"12/31/2004", u"2/29/2004", u"13/1/2004", u"1/13/2004", u"2005-02-01", u"2005-2-1",
    u"2005. 02. 01.", u"2005.02.01", u"2005. 2. 1.", u"1.13.2005", u"1.2.2005.",
    u"10:00:00", u"1:02:03", u"01:02:03", u"9:05:03", u"9:5:3", u"23:59:59", u"24:00:00", u"12:60:00", u"10:00:60",
    u"10:00", u"10.00.00", u"1.02.03", u"10:00:00 AM", u"12:00:00 PM", u"1:02:03 PM", u"1:02:03 pm", u"13:00:00 PM",
    u"AM 1:02:03", u"10:00:00.5", u"10:00:00.123", u" 10:00:00", u"10:00:00 ", u"100:00:00", u"1:2:3:4",
};

// Every reading of the converter, on a text's bytes, against the regional reading of the text.
void ExpectSameReadings(const Converter& conv, const QString& text)
{
    QByteArray bytes;
    if (!AnsiCodec::TryEncode(text, bytes)) return;  // no file holds it
    SCOPED_TRACE(text.toStdString());
    const char* s = bytes.constData();
    const qsizetype n = bytes.size();
    EXPECT_EQ(Of([&] { return conv.Int(s, n); }), Of([&] { return Regional::StrToInt(text); }));
    EXPECT_EQ(Of([&] { return conv.Date(s, n); }), Of([&] { return Regional::StrToDate(text); }));
    EXPECT_EQ(Of([&] { return conv.Time(s, n); }), Of([&] { return Regional::StrToTime(text); }));
    EXPECT_EQ(Of([&] { return conv.Float(s, n); }), Of([&] { return Regional::StrToFloat(text); }));
    int i = 77, j = 77;
    EXPECT_EQ(conv.TryInt(s, n, i), Regional::TryStrToInt(text, j));
    EXPECT_EQ(i, j);

    // A plain reading at the start of a field followed by more of the line takes what the
    // regional reading of the field alone takes, or leaves it to that reading.
    const QByteArray line = bytes + ";rest";
    TDateTime value = 0;
    if (conv.PlainDatePrefix(line.constData(), line.size(), value) == n) {
        EXPECT_EQ(value, Regional::StrToDate(text));
    }
    if (conv.PlainTimePrefix(line.constData(), line.size(), value) == n) {
        EXPECT_EQ(value, Regional::StrToTime(text));
    }
    double number = 0;
    if (conv.PlainFloatPrefix(line.constData(), line.size(), number) == n) {
        const double regional = Regional::StrToFloat(text);
        EXPECT_TRUE(number == regional && std::signbit(number) == std::signbit(regional)) << number;
    }
}

}  // namespace

TEST_F(RegionalBytesTest, WritersGiveTheRegionalTexts)
{
    for (const Regional::Settings& settings : Locales()) {
        Regional::Set(settings);
        SCOPED_TRACE(Describe(settings).toStdString());
        const Converter conv;
        for (int v : Ints)
            EXPECT_EQ(Written([&](ByteSink&, char* p) { return conv.PutInt(p, v); }), FileBytesOf(Regional::IntToStr(v)));
        // In turn, so that a date repeated from the line before is written as the first was.
        for (double v : Dates)
            EXPECT_EQ(Written([&](ByteSink& sink, char* p) { return conv.PutDate(sink, p, v); }),
                      FileBytesOf(Regional::DateToStr(v)))
                << v;
        for (double v : Times)
            EXPECT_EQ(Written([&](ByteSink& sink, char* p) { return conv.PutTime(sink, p, v); }),
                      FileBytesOf(Regional::TimeToStr(v)))
                << v;
        for (double v : Floats)
            EXPECT_EQ(Written([&](ByteSink& sink, char* p) { return conv.PutFloat(sink, p, v); }),
                      FileBytesOf(Regional::FloatToStr(v)))
                << v;
    }
}

TEST_F(RegionalBytesTest, ReadersTakeWhatTheRegionalReadingsTake)
{
    for (const Regional::Settings& settings : Locales()) {
        Regional::Set(settings);
        SCOPED_TRACE(Describe(settings).toStdString());
        const Converter conv;
        for (const char16_t* text : Texts) ExpectSameReadings(conv, QString::fromUtf16(text));
        // What the settings write reads back the same both ways.
        for (int v : Ints) ExpectSameReadings(conv, Regional::IntToStr(v));
        for (double v : Dates) ExpectSameReadings(conv, Regional::DateToStr(v));
        for (double v : Times) ExpectSameReadings(conv, Regional::TimeToStr(v));
        for (double v : Floats) ExpectSameReadings(conv, Regional::FloatToStr(v));
    }
}

// Neighbouring lines often share their date, and a date read just before is taken again from its
// text: only the very same text, standing whole, gives it.
TEST_F(RegionalBytesTest, RepeatedDateIsTakenOnlyFromTheSameText)
{
    Regional::Set(Regional::Russian());
    const Converter conv;
    for (const char* text : {"01.02.2005", "01.02.2005", "01.02.2006", "01.02.20051", "01.02.200", "11.02.2005", "01.02.2005"}) {
        const qsizetype n = qsizetype(std::strlen(text));
        EXPECT_EQ(Of([&] { return conv.Date(text, n); }), Of([&] { return Regional::StrToDate(QString::fromLatin1(text)); }))
            << text;
    }
}

// A line is read in one pass only with a delimiter that no text read that way can hold.
TEST_F(RegionalBytesTest, PlainReadingNeedsADelimiterNoPlainTextHolds)
{
    for (const Regional::Settings& settings : Locales()) {
        Regional::Set(settings);
        SCOPED_TRACE(Describe(settings).toStdString());
        const Converter conv;
        EXPECT_TRUE(conv.PlainDelimiter(';'));
        EXPECT_TRUE(conv.PlainDelimiter('\t'));
        // The texts of the plain forms: what the settings write, where it reads in one pass.
        QByteArray plain = "-0123456789";
        auto add = [&](const QString& text, auto prefix) {
            QByteArray bytes;
            if (AnsiCodec::TryEncode(text, bytes) && prefix(bytes) == bytes.size()) plain += bytes;
        };
        TDateTime value = 0;
        double number = 0;
        for (double v : Dates)
            add(Regional::DateToStr(v), [&](const QByteArray& b) { return conv.PlainDatePrefix(b.constData(), b.size(), value); });
        for (double v : Times)
            add(Regional::TimeToStr(v), [&](const QByteArray& b) { return conv.PlainTimePrefix(b.constData(), b.size(), value); });
        add(Regional::FloatToStr(1.5), [&](const QByteArray& b) { return conv.PlainFloatPrefix(b.constData(), b.size(), number); });
        for (char c : plain) EXPECT_FALSE(conv.PlainDelimiter(c)) << c;
    }
}
