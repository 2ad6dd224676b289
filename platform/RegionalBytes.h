// The regional conversions of numbers, dates and times straight on Windows-1251 bytes: the data-file
// readers and writers convert millions of fields, and most are in the plain forms handled here.
#pragma once

#include "AnsiCodec.h"
#include "ByteSink.h"
#include "Regional.h"

#include <QString>

#include <charconv>
#include <cmath>
#include <cstring>

// Regional is the one source of the formats and of the results: a Converter takes the current
// settings when it is made, and each of its readings and writings gives exactly what Regional's
// conversion gives for the same text or value, in Windows-1251 bytes: the same value, the same
// text, the same error. A change to a conversion of Regional is a change here too; the tests of
// this unit and the regional fuzz harness hold the two together.
namespace RegionalBytes {

using AnsiCodec::Decode;

// A date or time format of the regional settings, compiled for the plain numeric forms
// (dd.MM.yyyy, H:mm:ss and the like). Texts in exactly the form the format writes are read and
// written here directly; every other text and format goes through the regional conversions,
// which decide. Only that exact form is taken, so both roads give the same result.
class NumericFormat {
public:
    NumericFormat(const QString& format, const char* kinds);
    bool Ok() const { return ok_; }
    bool UsesChar(char c) const
    {
        for (int i = 0; i < count_; ++i)
            if (tokens_[i].Kind < 0 && tokens_[i].Literal == c) return true;
        return false;
    }
    // The three numbers, in the order of the kinds; false unless the text is in the exact form.
    bool Parse(const char* s, qsizetype n, int out[3]) const { return ParsePrefix(s, n, out) == n; }
    // The same at the start of s: the length of the text read, -1 when s does not start with one.
    qsizetype ParsePrefix(const char* s, qsizetype n, int out[3]) const
    {
        if (!ok_) return -1;
        qsizetype p = 0;
        for (int t = 0; t < count_; ++t) {
            const Token& tok = tokens_[t];
            if (tok.Kind < 0) {
                if (p >= n || s[p] != tok.Literal) return -1;
                ++p;
                continue;
            }
            int width = tok.Width;
            if (width == 1 && p + 1 < n && IsDigit(s[p + 1])) {
                if (s[p] == '0') return -1;  // never written with a leading zero
                width = 2;
            }
            if (p + width > n) return -1;
            const unsigned d0 = unsigned(s[p] - '0'), d1 = width > 1 ? unsigned(s[p + 1] - '0') : 0;
            if (d0 > 9 || d1 > 9) return -1;
            int value = width > 1 ? int(d0 * 10 + d1) : int(d0);
            if (width == 4) {
                const unsigned d2 = unsigned(s[p + 2] - '0'), d3 = unsigned(s[p + 3] - '0');
                if (d2 > 9 || d3 > 9) return -1;
                value = value * 100 + int(d2 * 10 + d3);
            }
            out[int(tok.Kind)] = value;
            p += width;
        }
        return p;
    }
    // At most 64 bytes.
    char* Format(char* p, const int values[3]) const
    {
        for (int t = 0; t < count_; ++t) {
            const Token& tok = tokens_[t];
            if (tok.Kind < 0) {
                *p++ = tok.Literal;
                continue;
            }
            int v = values[int(tok.Kind)];
            const int len = v >= 1000 ? 4 : v >= 100 ? 3 : v >= 10 ? 2 : 1;
            const int width = len > tok.Width ? len : tok.Width;
            for (int i = width - 1; i >= 0; --i, v /= 10) p[i] = char('0' + v % 10);
            p += width;
        }
        return p;
    }

private:
    static bool IsDigit(char c) { return c >= '0' && c <= '9'; }
    struct Token {
        signed char Kind;  // index into the kinds, -1 for a literal character
        int Width;
        char Literal;
    };
    static constexpr int MaxTokens = 16;
    Token tokens_[MaxTokens] = {};
    int count_ = 0;
    bool ok_ = false;
};

// Proleptic Gregorian calendar arithmetic (as QDate's), on days since 30.12.1899.
inline bool IsLeapYear(int y)
{
    return y % 4 == 0 && (y % 100 != 0 || y % 400 == 0);
}
inline bool IsValidDate(int y, int m, int d)
{
    static constexpr int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return y >= 1 && m >= 1 && m <= 12 && d >= 1 && d <= days[m - 1] + (m == 2 && IsLeapYear(y));
}
inline qint64 DaysFromCivil(int y, int m, int d)
{
    y -= m <= 2;
    const qint64 era = (y >= 0 ? y : y - 399) / 400;
    const qint64 yoe = y - era * 400;
    const qint64 doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const qint64 doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468 + 25569;  // 25569: 30.12.1899 to 01.01.1970
}
inline void CivilFromDays(qint64 days, int& y, int& m, int& d)
{
    const qint64 z = days - 25569 + 719468;
    const qint64 era = (z >= 0 ? z : z - 146096) / 146097;
    const qint64 doe = z - era * 146097;
    const qint64 yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const qint64 doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const qint64 mp = (5 * doy + 2) / 153;
    d = int(doy - (153 * mp + 2) / 5 + 1);
    m = int(mp < 10 ? mp + 3 : mp - 9);
    y = int(yoe + era * 400 + (m <= 2));
}

// The conversions of fields with the regional settings: integers, dates, times, fractions.
class Converter {
public:
    Converter();

    bool TryInt(const char* s, qsizetype n, int& value) const
    {
        if (FastInt(s, n, value)) return true;
        return Regional::TryStrToInt(Decode(s, n), value);
    }
    int Int(const char* s, qsizetype n) const
    {
        int value = 0;
        if (FastInt(s, n, value)) return value;
        return Regional::StrToInt(Decode(s, n));
    }
    TDateTime Date(const char* s, qsizetype n) const
    {
        TDateTime value = 0;
        if (PlainDate(s, n, value)) return value;
        return Regional::StrToDate(Decode(s, n));
    }
    TDateTime Time(const char* s, qsizetype n) const
    {
        TDateTime value = 0;
        if (PlainTime(s, n, value)) return value;
        return Regional::StrToTime(Decode(s, n));
    }
    bool PlainDate(const char* s, qsizetype n, TDateTime& value) const { return PlainDatePrefix(s, n, value) == n; }
    bool PlainTime(const char* s, qsizetype n, TDateTime& value) const { return PlainTimePrefix(s, n, value) == n; }
    // The readings of a text in exactly the form the writer gives at the start of s: the length
    // read, -1 when s does not start with such a text. Any other text the regional conversions decide.
    qsizetype PlainDatePrefix(const char* s, qsizetype n, TDateTime& value) const
    {
        // Neighbouring lines often share their date.
        const qsizetype cached = readDateLength_;
        if (cached > 1 && n >= cached && s[0] == readDateText_[0] && s[1] == readDateText_[1] &&
            std::memcmp(s, readDateText_, size_t(cached)) == 0 &&
            (n == cached || !IsDigit(s[cached]))) {
            value = readDate_;
            return cached;
        }
        int v[3] = {0, 0, 0};
        const qsizetype used = date_.ParsePrefix(s, n, v);
        if (used <= 0 || !IsValidDate(v[2], v[1], v[0])) return -1;
        readDate_ = value = TDateTime(DaysFromCivil(v[2], v[1], v[0]));
        readDateLength_ = used <= qsizetype(sizeof readDateText_) ? used : 0;
        if (readDateLength_) std::memcpy(readDateText_, s, size_t(used));
        return used;
    }
    qsizetype PlainTimePrefix(const char* s, qsizetype n, TDateTime& value) const
    {
        int v[3] = {0, 0, 0};
        const qsizetype used = time_.ParsePrefix(s, n, v);
        if (used <= 0 || v[0] >= 24 || v[1] >= 60 || v[2] >= 60) return -1;
        value = TDateTime(v[0] * 3600 + v[1] * 60 + v[2]) / 86400.0;
        return used;
    }
    // Plain readings of whole fields followed by the delimiter need a delimiter that no such
    // text holds.
    bool PlainDelimiter(char d) const
    {
        if (d != plainFor_) {
            plainFor_ = d;
            plainOk_ = !(IsDigit(d) || d == '-' || (decimalOk_ && d == decimal_) || date_.UsesChar(d) || time_.UsesChar(d));
        }
        return plainOk_;
    }
    qsizetype PlainFloatPrefix(const char* s, qsizetype n, double& value) const { return FloatPrefix(s, n, value); }
    double Float(const char* s, qsizetype n) const
    {
        double value = 0;
        if (FastFloat(s, n, value)) return value;
        return Regional::StrToFloat(Decode(s, n));
    }

    // The writers put a field at p, which has room for 64 bytes, and return its end. A text
    // from the regional conversions goes through the sink, which then gives fresh room.
    char* PutInt(char* p, int value) const { return std::to_chars(p, p + 16, value).ptr; }
    char* PutDate(ByteSink& sink, char* p, TDateTime value) const
    {
        // Neighbouring lines often share their date.
        if (value == lastDate_ && lastDateLength_ > 0) {
            std::memcpy(p, lastDateText_, size_t(lastDateLength_));
            return p + lastDateLength_;
        }
        if (date_.Ok() && std::isfinite(value) && value == std::floor(value) && std::fabs(value) < 3.0e6) {
            int year = 0, month = 0, day = 0;
            CivilFromDays(qint64(value), year, month, day);
            if (year >= 1 && year <= 9999) {
                const int v[3] = {day, month, year};
                char* end = date_.Format(p, v);
                lastDate_ = value;
                lastDateLength_ = int(end - p);
                std::memcpy(lastDateText_, p, size_t(lastDateLength_));
                return end;
            }
        }
        return PutText(sink, p, Regional::DateToStr(value));
    }
    char* PutTime(ByteSink& sink, char* p, TDateTime value) const
    {
        if (time_.Ok() && value >= 0 && value < 1) {
            const double seconds = std::nearbyint(value * 86400.0);
            // Only a time of whole seconds exactly as reading gives it; others go the long way.
            if (seconds < 86400 && seconds / 86400.0 == value) {
                const int s = int(seconds);
                const int v[3] = {s / 3600, s / 60 % 60, s % 60};
                return time_.Format(p, v);
            }
        }
        return PutText(sink, p, Regional::TimeToStr(value));
    }
    char* PutFloat(ByteSink& sink, char* p, double value) const
    {
        const double a = std::fabs(value);
        if (decimalOk_ && std::isfinite(value) && ((value == 0 && !std::signbit(value)) || (a >= 1e-4 && a < 1e15))) {
            // The shortest text that reads back as the value; when it has at most 15 significant
            // digits it is also the 15-digit rounding, which is what the general format writes.
            // Longer ones round the regional way.
            const auto r = std::to_chars(p, p + 48, value, std::chars_format::fixed);
            if (r.ec == std::errc() && SignificantDigits(p, r.ptr) <= 15 && !std::memchr(p, 'e', size_t(r.ptr - p))) {
                for (char* q = p; q != r.ptr; ++q)
                    if (*q == '.') *q = decimal_;
                return r.ptr;
            }
        }
        return PutText(sink, p, Regional::FloatToStr(value));
    }

private:
    static char* PutText(ByteSink& sink, char* p, const QString& text);
    static int SignificantDigits(const char* p, const char* end)
    {
        int digits = 0;
        bool leading = true;
        for (; p != end; ++p) {
            if (*p < '0' || *p > '9') continue;
            if (leading && *p == '0') continue;
            leading = false;
            ++digits;
        }
        return digits;
    }
    // Plain decimal integers of up to nine digits, which every reading of an integer agrees on.
    static bool FastInt(const char* s, qsizetype n, int& value)
    {
        if (n == 0 || n > 10) return false;
        const bool negative = s[0] == '-';
        qsizetype i = negative ? 1 : 0;
        if (i == n || n - i > 9) return false;
        int v = 0;
        for (; i < n; ++i) {
            const unsigned digit = unsigned(s[i] - '0');
            if (digit > 9) return false;
            v = v * 10 + int(digit);
        }
        value = negative ? -v : v;
        return true;
    }
    static bool IsDigit(char c) { return unsigned(c - '0') <= 9; }
    // Digits, at most one decimal separator between digits, an optional leading minus.
    bool FastFloat(const char* s, qsizetype n, double& value) const { return FloatPrefix(s, n, value) == n; }
    // The same at the start of s, up to the first character that cannot continue the number:
    // the length read, or -1.
    qsizetype FloatPrefix(const char* s, qsizetype n, double& value) const
    {
        if (!decimalOk_ || n == 0) return -1;
        const char* p = s;
        const char* const end = s + (n > 40 ? 41 : n);
        const bool negative = *p == '-';
        if (negative) ++p;
        quint64 mantissa = 0;
        const char* digits = p;
        while (p < end && IsDigit(*p)) mantissa = mantissa * 10 + unsigned(*p++ - '0');
        const qsizetype intDigits = p - digits;
        qsizetype fracDigits = 0;
        if (intDigits == 0) return -1;
        if (p < end && *p == decimal_) {
            const char* fraction = ++p;
            while (p < end && IsDigit(*p)) mantissa = mantissa * 10 + unsigned(*p++ - '0');
            fracDigits = p - fraction;
            if (fracDigits == 0) return -1;
        }
        const qsizetype used = p - s;
        if (used > 40) return -1;
        if (negative && mantissa == 0 && intDigits + fracDigits <= 19) return -1;  // "-0": the regional reading decides
        // Both the digits and the power of ten are exact doubles, so one division rounds
        // correctly: the value every correct reading gives.
        static constexpr double powers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                            1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
        if (intDigits + fracDigits <= 19 && mantissa <= (quint64(1) << 53) && fracDigits <= 22) {
            const double v = double(mantissa) / powers[fracDigits];
            value = negative ? -v : v;
            return used;
        }
        char buf[48];
        for (qsizetype k = 0; k < used; ++k) buf[k] = s[k] == decimal_ ? '.' : s[k];
        auto r = std::from_chars(buf, buf + used, value);
        if (r.ec != std::errc() || r.ptr != buf + used || (negative && value == 0)) return -1;
        return used;
    }

    Regional::Settings settings_;
    NumericFormat date_;
    NumericFormat time_;
    bool decimalOk_ = false;
    char decimal_ = '.';
    mutable char plainFor_ = 0;
    mutable bool plainOk_ = false;
    mutable TDateTime lastDate_ = 0;
    mutable int lastDateLength_ = 0;
    mutable char lastDateText_[64];
    mutable TDateTime readDate_ = 0;
    mutable qsizetype readDateLength_ = 0;
    mutable char readDateText_[64];
};

}  // namespace RegionalBytes
