// The regional settings and the class library's text conversions of numbers, dates and times.
#include "Regional.h"

#include "Exceptions.h"

#include <QLocale>
#include <QVarLengthArray>
#include <charconv>
#include <cmath>
#include <cstring>

namespace Regional {

namespace {

// What the parsers need, worked out once when the settings change rather than on every call.
struct Derived {
    Settings settings;
    // Order of day, month and year in the short date format: indexes 0 day, 1 month, 2 year.
    int dateOrder[3] = {0, 1, 2};
    // What stands before, between and after the three numbers, blanks left out ("yyyy. MM. dd."
    // gives "", ".", ".", "."); spaced is true where the format has blanks only.
    QString gap[4] = {QString(), QStringLiteral("."), QStringLiteral("."), QString()};
    bool spaced[4] = {false, false, false, false};
    QChar timeSeparator = QLatin1Char(':');
};

Derived& State()
{
    static Derived state;
    return state;
}

// Blanks, and the direction marks some locales put around the separators, may stand on
// either side of a date separator.
inline bool IsDateFiller(QChar c)
{
    return c.isSpace() || c.category() == QChar::Other_Format;
}

void Derive(Derived& d)
{
    const QString& f = d.settings.ShortDateFormat;
    int order = 0;
    QChar last;
    QString gap[4];
    bool filler[4] = {false, false, false, false};
    for (QChar c : f) {
        const char16_t u = c.unicode();
        if (u == 'd' || u == 'M' || u == 'y') {
            if (c != last && order < 3) {
                d.dateOrder[order++] = u == 'd' ? 0 : u == 'M' ? 1 : 2;
            }
        } else if (IsDateFiller(c)) {
            filler[order] = true;
        } else if (c != QLatin1Char('\'')) {
            gap[order] += c;
        }
        last = c;
    }
    if (order < 3) {  // not a numeric format: day, month, year at dots
        d.dateOrder[0] = 0;
        d.dateOrder[1] = 1;
        d.dateOrder[2] = 2;
        gap[0].clear();
        gap[1] = gap[2] = QStringLiteral(".");
        gap[3].clear();
        for (bool& f : filler) f = false;
    }
    for (int k = 0; k < 4; ++k) {
        d.gap[k] = gap[k];
        d.spaced[k] = gap[k].isEmpty() && filler[k];
    }
    d.timeSeparator = QLatin1Char(':');
    for (QChar c : d.settings.LongTimeFormat) {
        if (!c.isLetter() && !c.isSpace()) {
            d.timeSeparator = c;
            break;
        }
    }
}

// True when every letter of the format is one of the allowed pattern letters (a numeric format).
bool OnlyLetters(const QString& format, const QString& allowed)
{
    for (QChar c : format)
        if (c.isLetter() && !allowed.contains(c)) return false;
    // "MMM" and "ddd" name months and days in words.
    return !format.contains(QLatin1String("MMM")) && !format.contains(QLatin1String("ddd"));
}

// The system's long time format without its time-zone part.
QString WithoutTimeZone(const QString& format)
{
    QString out;
    for (QChar c : format)
        if (c != QLatin1Char('t')) out += c;
    return out.trimmed();
}

// A two-digit year would lose its century in every date the program writes.
QString WithFullYear(QString format)
{
    const qsizetype at = format.indexOf(QLatin1String("yy"));
    if (at >= 0 && format.mid(at, 4) != QLatin1String("yyyy")) format.replace(at, 2, QStringLiteral("yyyy"));
    return format;
}

[[noreturn]] void Fail(const char* pattern, QStringView text)
{
    throw EConvertError(QString::fromLatin1(pattern).arg(text));
}

inline bool IsBlank(char16_t c) { return c == ' '; }

inline int HexDigit(char16_t c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

constexpr double DaySeconds = 86400.0;
constexpr qint64 DayMsecs = 86400000;

QDate BaseDate() { return QDate(1899, 12, 30); }

// Splits a date-time value into whole days and milliseconds of the day, rounding to the millisecond.
void Split(TDateTime value, qint64& days, qint64& msecs)
{
    days = qint64(std::trunc(value));
    msecs = qint64(std::llround(std::fabs(value - double(days)) * DaySeconds * 1000.0));
    if (msecs >= DayMsecs) {
        msecs -= DayMsecs;
        days += value < 0 ? -1 : 1;
    }
}

// Reads an unsigned decimal number of at most maxDigits digits at text[i].
bool ReadNumber(QStringView text, qsizetype& i, int maxDigits, int& value, int& digits)
{
    value = 0;
    digits = 0;
    while (i < text.size() && text[i].unicode() >= '0' && text[i].unicode() <= '9') {
        if (++digits > maxDigits) return false;
        value = value * 10 + (text[i].unicode() - '0');
        ++i;
    }
    return digits > 0;
}

void SkipBlanks(QStringView text, qsizetype& i)
{
    while (i < text.size() && IsBlank(text[i].unicode())) ++i;
}

}  // namespace

Settings FromLocale(const QLocale& locale)
{
    if (locale.language() == QLocale::C) {
        // The "C" locale is no user's choice; its formats name months in English.
        return Neutral();
    }
    Settings s;
    const QString point = locale.decimalPoint();
    const QString group = locale.groupSeparator();
    s.DecimalSeparator = point.isEmpty() ? QLatin1Char('.') : point[0];
    s.ThousandSeparator = group.isEmpty() ? QChar(0x00A0) : group[0];
    const QString date = WithFullYear(locale.dateFormat(QLocale::ShortFormat));
    s.ShortDateFormat = OnlyLetters(date, QStringLiteral("dMy")) ? date : Neutral().ShortDateFormat;
    const QString time = WithoutTimeZone(locale.timeFormat(QLocale::LongFormat));
    s.LongTimeFormat = OnlyLetters(time, QStringLiteral("hHmszAPap")) && !time.isEmpty() ? time : Neutral().LongTimeFormat;
    return s;
}

void InitFromSystem()
{
    Set(FromLocale(QLocale::system()));
}

const Settings& Current()
{
    return State().settings;
}

void Set(const Settings& settings)
{
    Derived& d = State();
    d.settings = settings;
    Derive(d);
}

Settings Russian()
{
    Settings s;
    s.DecimalSeparator = QLatin1Char(',');
    s.ThousandSeparator = QChar(0x00A0);
    s.ShortDateFormat = QStringLiteral("dd.MM.yyyy");
    s.LongTimeFormat = QStringLiteral("HH:mm:ss");
    return s;
}

Settings Neutral()
{
    return Settings();
}

// ---- Integers ----

QString IntToStr(qint64 value)
{
    return QString::number(value);
}

// Leading blanks are skipped and trailing ones refused, as the class library does; a sign may
// precede "$" or "0x". Hexadecimal takes up to 32 bits as the bit pattern ("$FFFFFFFF" is -1).
bool TryStrToInt(QStringView text, int& value)
{
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n && IsBlank(text[i].unicode())) ++i;
    bool negative = false;
    if (i < n && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    bool hex = false;
    if (i < n && text[i] == QLatin1Char('$')) {
        hex = true;
        ++i;
    } else if (i + 1 < n && text[i] == QLatin1Char('0') && (text[i + 1] == QLatin1Char('x') || text[i + 1] == QLatin1Char('X'))) {
        hex = true;
        i += 2;
    }
    if (i >= n) return false;
    quint64 magnitude = 0;
    if (hex) {
        for (; i < n; ++i) {
            const int h = HexDigit(text[i].unicode());
            if (h < 0) return false;
            magnitude = magnitude * 16 + quint64(h);
            if (magnitude > 0xFFFFFFFFULL) return false;
        }
        const qint32 bits = qint32(quint32(magnitude));
        value = negative ? qint32(0u - quint32(bits)) : bits;
        return true;
    }
    for (; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c < '0' || c > '9') return false;
        magnitude = magnitude * 10 + quint64(c - '0');
        if (magnitude > 0x80000000ULL) return false;
    }
    if (!negative && magnitude > 0x7FFFFFFFULL) return false;
    value = negative ? int(-qint64(magnitude)) : int(magnitude);
    return true;
}

int StrToInt(QStringView text)
{
    int value = 0;
    if (!TryStrToInt(text, value)) Fail("'%1' is not a valid integer value", text);
    return value;
}

// ---- Floating point ----

// General format: fixed notation while the decimal exponent lies in -4..14, else scientific
// ("1E20", "1,5E-7"); 15 significant digits, trailing zeros dropped, no grouping.
QString FloatToStr(double value)
{
    if (std::isnan(value)) return QStringLiteral("NAN");
    if (std::isinf(value)) return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    if (value == 0) return QStringLiteral("0");

    // The class library's way: 18 significant digits first, then 15 with a half going up.
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 17);
    *res.ptr = '\0';
    // buf: [-]d.ddddddddddddddddde[+-]xx
    const char* p = buf;
    const bool negative = *p == '-';
    if (negative) ++p;
    char digits[20];
    int count = 0;
    for (; *p != 'e'; ++p)
        if (*p != '.') digits[count++] = *p;
    int exponent = std::atoi(p + 1);
    count = 15;
    if (digits[15] >= '5') {
        char up[16];
        std::memcpy(up, digits, 15);
        int k = 14;
        for (; k >= 0 && up[k] == '9'; --k) up[k] = '0';
        bool carried = k < 0;
        if (carried) up[0] = '1';
        else ++up[k];
        // Rounding up past the largest double would write a number no reader takes back.
        bool fits = true;
        const int upExponent = exponent + (carried ? 1 : 0);
        if (upExponent >= 308) {
            char text[32];
            std::memcpy(text, up, 15);
            text[15] = 'e';
            const auto e = std::to_chars(text + 16, text + sizeof text, upExponent - 14);
            double back = 0;
            fits = std::from_chars(text, e.ptr, back).ec == std::errc();
        }
        if (fits) {
            std::memcpy(digits, up, 15);
            exponent = upExponent;
        }
    }
    while (count > 1 && digits[count - 1] == '0') --count;

    // Built in a plain buffer: this runs once per number of every file written.
    const char16_t sep = State().settings.DecimalSeparator.unicode();
    char16_t out[48];
    int len = 0;
    if (negative) out[len++] = u'-';
    if (exponent >= 15 || exponent < -4) {
        out[len++] = char16_t(digits[0]);
        if (count > 1) {
            out[len++] = sep;
            for (int k = 1; k < count; ++k) out[len++] = char16_t(digits[k]);
        }
        out[len++] = u'E';
        char expText[8];
        const auto e = std::to_chars(expText, expText + sizeof expText, exponent);
        for (const char* c = expText; c != e.ptr; ++c) out[len++] = char16_t(*c);
    } else if (exponent < 0) {
        out[len++] = u'0';
        out[len++] = sep;
        for (int k = -1; k > exponent; --k) out[len++] = u'0';
        for (int k = 0; k < count; ++k) out[len++] = char16_t(digits[k]);
    } else {
        const int whole = exponent + 1;
        for (int k = 0; k < whole; ++k) out[len++] = k < count ? char16_t(digits[k]) : u'0';
        if (count > whole) {
            out[len++] = sep;
            for (int k = whole; k < count; ++k) out[len++] = char16_t(digits[k]);
        }
    }
    return QString(reinterpret_cast<const QChar*>(out), len);
}

// Blanks around the number are allowed; the decimal separator is the regional one only;
// no grouping; beyond the range of a double is an error; an optional exponent "E"/"e" with an optional sign.
bool TryStrToFloat(QStringView text, double& value)
{
    const QChar sep = State().settings.DecimalSeparator;
    const qsizetype n = text.size();
    qsizetype i = 0;
    SkipBlanks(text, i);
    QVarLengthArray<char, 64> buf;
    auto put = [&](char c) { buf.append(c); };
    if (i < n && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) {
        if (text[i] == QLatin1Char('-')) put('-');
        ++i;
    }
    int mantissaDigits = 0;
    bool point = false;
    for (; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c >= '0' && c <= '9') {
            put(char(c));
            ++mantissaDigits;
        } else if (c == sep.unicode() && !point) {
            point = true;
            put('.');
        } else {
            break;
        }
    }
    if (mantissaDigits == 0) return false;
    if (i < n && (text[i] == QLatin1Char('E') || text[i] == QLatin1Char('e'))) {
        put('e');
        ++i;
        if (i < n && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) {
            put(char(text[i].unicode()));
            ++i;
        }
        int expDigits = 0;
        for (; i < n && text[i].unicode() >= '0' && text[i].unicode() <= '9'; ++i, ++expDigits)
            put(char(text[i].unicode()));
        if (expDigits == 0) return false;
    }
    SkipBlanks(text, i);
    if (i != n) return false;
    double result = 0;
    // A value beyond the range of a double (either way) is not a valid number.
    const auto res = std::from_chars(buf.data(), buf.data() + buf.size(), result);
    if (res.ec != std::errc() || res.ptr != buf.data() + buf.size()) return false;
    value = result;
    return true;
}

double StrToFloat(QStringView text)
{
    double value = 0;
    if (!TryStrToFloat(text, value)) Fail("'%1' is not a valid floating point value", text);
    return value;
}

// ---- Dates and times ----

TDateTime FromQDateTime(const QDateTime& value)
{
    const qint64 days = BaseDate().daysTo(value.date());
    const double frac = double(value.time().msecsSinceStartOfDay()) / double(DayMsecs);
    // Before the base date the fraction still counts forward from midnight: -1.25 is 29.12.1899 06:00.
    return days >= 0 ? double(days) + frac : double(days) - frac;
}

QDateTime ToQDateTime(TDateTime value)
{
    qint64 days = 0;
    qint64 msecs = 0;
    Split(value, days, msecs);
    return QDateTime(BaseDate().addDays(days), QTime::fromMSecsSinceStartOfDay(int(msecs)));
}

QString DateToStr(TDateTime value)
{
    return ToQDateTime(value).date().toString(State().settings.ShortDateFormat);
}

QString TimeToStr(TDateTime value)
{
    return ToQDateTime(value).time().toString(State().settings.LongTimeFormat);
}

QString DateTimeToStr(TDateTime value)
{
    const QDateTime dt = ToQDateTime(value);
    const Settings& s = State().settings;
    return dt.date().toString(s.ShortDateFormat) + QLatin1Char(' ') + dt.time().toString(s.LongTimeFormat);
}

// Numbers in the order of the short date format, split at its separator. Day and month take
// one or two digits; a year of one or two digits falls in the century window from 50 years
// before this one to 49 after; a missing year is the current one. Blanks may follow a separator.
// The date must exist.
bool TryStrToDate(QStringView text, TDateTime& value)
{
    const Derived& d = State();
    const qsizetype n = text.size();
    auto skipFiller = [&](qsizetype& at) {
        const qsizetype from = at;
        while (at < n && IsDateFiller(text[at])) ++at;
        return at > from;
    };
    // The literal of a gap, blanks allowed around each of its characters.
    auto matchGap = [&](int k, qsizetype& at) {
        const bool blank = skipFiller(at);
        if (d.spaced[k]) return blank;
        for (QChar c : d.gap[k]) {
            if (at >= n || text[at] != c) return false;
            ++at;
            skipFiller(at);
        }
        return true;
    };
    qsizetype i = 0;
    if (!matchGap(0, i)) return false;
    int numbers[3] = {0, 0, 0};
    int digits[3] = {0, 0, 0};
    int count = 0;
    while (count < 3) {
        const int maxDigits = d.dateOrder[count] == 2 ? 4 : 2;
        if (!ReadNumber(text, i, maxDigits, numbers[count], digits[count])) return false;
        ++count;
        qsizetype after = i;
        // Day and month alone (no year) end at the second number.
        if (count == 3 || !matchGap(count, after)) break;
        i = after;
    }
    // What follows the last number in the format may be there or not.
    qsizetype after = i;
    if (count == 3 && matchGap(3, after)) i = after;
    skipFiller(i);
    if (i != n || count < 2) return false;

    int day = 0, month = 0, year = 0, yearDigits = 0;
    // Asking for today is slow; only a short or missing year needs it.
    auto thisYear = [] { return QDate::currentDate().year(); };
    if (count == 2) {
        // Day and month in their relative order; the year is this one.
        int k = 0;
        for (int slot = 0; slot < 3; ++slot) {
            const int what = d.dateOrder[slot];
            if (what == 2) continue;
            (what == 0 ? day : month) = numbers[k++];
        }
        year = thisYear();
        yearDigits = 4;
    } else {
        for (int slot = 0; slot < 3; ++slot) {
            const int what = d.dateOrder[slot];
            if (what == 0) day = numbers[slot];
            else if (what == 1) month = numbers[slot];
            else {
                year = numbers[slot];
                yearDigits = digits[slot];
            }
        }
    }
    if (yearDigits <= 2) {
        const int today = thisYear();
        year += today - today % 100;
        if (year < today - 50) year += 100;
        else if (year > today + 49) year -= 100;
    }
    const QDate date(year, month, day);
    if (year < 1 || !date.isValid()) return false;
    value = double(BaseDate().daysTo(date));
    return true;
}

TDateTime StrToDate(QStringView text)
{
    TDateTime value = 0;
    if (!TryStrToDate(text, value)) Fail("'%1' is not a valid date", text);
    return value;
}

// Hours and minutes, optional seconds and milliseconds, split at the time separator, with an
// optional "AM"/"PM" after a blank; every part within its range.
bool TryStrToTime(QStringView text, TDateTime& value)
{
    const Derived& d = State();
    qsizetype i = 0;
    SkipBlanks(text, i);
    int parts[3] = {0, 0, 0};
    int count = 0;
    int digits = 0;
    while (count < 3) {
        if (!ReadNumber(text, i, 2, parts[count], digits)) return false;
        ++count;
        if (i < text.size() && text[i] == d.timeSeparator && count < 3) {
            ++i;
            continue;
        }
        break;
    }
    if (count < 2) return false;
    int msec = 0;
    if (count == 3 && i < text.size() && text[i] == QLatin1Char('.')) {
        ++i;
        int msDigits = 0;
        if (!ReadNumber(text, i, 3, msec, msDigits)) return false;
        for (; msDigits < 3; ++msDigits) msec *= 10;
    }
    SkipBlanks(text, i);
    int hour = parts[0];
    if (i < text.size()) {
        const QStringView rest = text.mid(i).trimmed();
        const bool am = rest.compare(QLatin1String("AM"), Qt::CaseInsensitive) == 0;
        const bool pm = rest.compare(QLatin1String("PM"), Qt::CaseInsensitive) == 0;
        if (!(am || pm) || hour < 1 || hour > 12) return false;
        hour = hour % 12 + (pm ? 12 : 0);
    }
    if (hour > 23 || parts[1] > 59 || parts[2] > 59) return false;
    value = double((hour * 3600 + parts[1] * 60 + parts[2]) * 1000 + msec) / double(DayMsecs);
    return true;
}

TDateTime StrToTime(QStringView text)
{
    TDateTime value = 0;
    if (!TryStrToTime(text, value)) Fail("'%1' is not a valid time", text);
    return value;
}

TDateTime Now()
{
    return FromQDateTime(QDateTime::currentDateTime());
}

TDateTime Date()
{
    return double(BaseDate().daysTo(QDate::currentDate()));
}

}  // namespace Regional
