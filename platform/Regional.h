// The user's regional settings, read once at start-up, and the class library's conversions that use them.
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringView>

// Days since 30.12.1899, the fraction being the time of day.
using TDateTime = double;

namespace Regional {

struct Settings {
    QChar DecimalSeparator = QLatin1Char('.');
    QChar ThousandSeparator = QLatin1Char(',');
    QString ShortDateFormat = QStringLiteral("dd.MM.yyyy");  // Qt format string
    QString LongTimeFormat = QStringLiteral("HH:mm:ss");     // Qt format string, no time-zone part
};

// Reads the system locale (LC_ALL / LC_NUMERIC / LC_TIME / LANG) once.
void InitFromSystem();
const Settings& Current();
void Set(const Settings& settings);
// Russian formats: decimal comma, non-breaking-space grouping, dd.MM.yyyy, HH:mm:ss.
Settings Russian();
// Point decimal separator, dd.MM.yyyy, HH:mm:ss (what tests use unless they say otherwise).
Settings Neutral();

// Integers: decimal, "$" or "0x" hexadecimal, 32-bit range.
QString IntToStr(qint64 value);
int StrToInt(QStringView text);  // EConvertError "'%s' is not a valid integer value"
bool TryStrToInt(QStringView text, int& value);

// General format, 15 significant digits, no grouping.
QString FloatToStr(double value);
double StrToFloat(QStringView text);  // EConvertError "'%s' is not a valid floating point value"
bool TryStrToFloat(QStringView text, double& value);

QString DateToStr(TDateTime value);
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
