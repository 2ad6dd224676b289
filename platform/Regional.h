// The user's regional settings, read once at start-up, and the class library's conversions that use them.
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringView>

class QLocale;

// Days since 30.12.1899, the fraction being the time of day.
using TDateTime = double;

namespace Regional {

struct Settings {
    QChar DecimalSeparator = QLatin1Char('.');
    QChar ThousandSeparator = QLatin1Char(',');
    QString ShortDateFormat = QStringLiteral("dd.MM.yyyy");  // Qt format string
    QString LongTimeFormat = QStringLiteral("HH:mm:ss");     // Qt format string, no time-zone part
};

// Reads the system locale (LC_ALL / LC_NUMERIC / LC_TIME / LANG) once. A two-digit year in the
// short date format is widened to four digits, so that written dates keep their century; the
// "C" locale, and formats that name months or days in words, fall back to Neutral()'s formats.
void InitFromSystem();
Settings FromLocale(const QLocale& locale);
const Settings& Current();
void Set(const Settings& settings);
// Russian formats: decimal comma, non-breaking-space grouping, dd.MM.yyyy, HH:mm:ss.
Settings Russian();
// Point decimal separator, dd.MM.yyyy, HH:mm:ss (what tests use unless they say otherwise).
Settings Neutral();

// Integers: decimal, "$" or "0x" hexadecimal, 32-bit range. Leading blanks are skipped, trailing
// ones refused; hexadecimal is taken as the 32-bit pattern ("$FFFFFFFF" is -1).
QString IntToStr(qint64 value);
int StrToInt(QStringView text);  // EConvertError "'%s' is not a valid integer value"
bool TryStrToInt(QStringView text, int& value);

// General format, 15 significant digits, no grouping; the exponent form ("1E20", "1E-5") below
// 0.0001 and from 1E15 on.
QString FloatToStr(double value);
double StrToFloat(QStringView text);  // EConvertError "'%s' is not a valid floating point value"
bool TryStrToFloat(QStringView text, double& value);

QString DateToStr(TDateTime value);
// Numbers in the format's order at its separator; day and month of one or two digits; the date must exist.
TDateTime StrToDate(QStringView text);  // EConvertError "'%s' is not a valid date"
bool TryStrToDate(QStringView text, TDateTime& value);
QString TimeToStr(TDateTime value);
TDateTime StrToTime(QStringView text);  // EConvertError "'%s' is not a valid time"
bool TryStrToTime(QStringView text, TDateTime& value);
// Short date, a blank, long time.
QString DateTimeToStr(TDateTime value);

TDateTime Now();
TDateTime Date();
TDateTime FromQDateTime(const QDateTime& value);
QDateTime ToQDateTime(TDateTime value);

}  // namespace Regional
