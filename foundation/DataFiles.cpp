// The readers and writers of the five data files, each by its layout and the shared line rules.
#include "DataFiles.h"

#include "AnsiCodec.h"
#include "AppConfig.h"
#include "DefFun.h"
#include "Dialogs.h"
#include "Exceptions.h"
#include "Regional.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <charconv>
#include <cmath>
#include <cstring>
#include <algorithm>
#include <memory>

namespace DataFiles {

const QString DelimiterWarning = QStringLiteral(
    "Разделитель полей в настройках должен быть одним символом. Файлы данных не читаются и не записываются.");

QString DelimiterProblem(const QString& delimiter)
{
    if (delimiter.size() != 1) return DelimiterWarning;
    const QChar d = delimiter[0];
    const QString refused = QStringLiteral(" Файлы данных не читаются и не записываются.");
    if (AnsiCodec::FirstUnencodable(delimiter) >= 0)
        return QStringLiteral("Разделитель полей \"%1\" нельзя записать в кодировке Windows-1251.").arg(delimiter) + refused;
    // What the program writes inside a field: digits, signs and the exponent of numbers, the
    // decimal separator, and the literal characters of dates and times (and AM/PM when shown).
    const Regional::Settings& s = Regional::Current();
    bool inside = (d >= QLatin1Char('0') && d <= QLatin1Char('9')) || QStringLiteral("+-Ee").contains(d) ||
                  d == s.DecimalSeparator;
    if (!d.isLetter()) inside = inside || s.ShortDateFormat.contains(d) || s.LongTimeFormat.contains(d);
    else if (s.LongTimeFormat.contains(QLatin1Char('a'), Qt::CaseInsensitive))
        inside = inside || QStringLiteral("AMPamp").contains(d);
    if (inside)
        return QStringLiteral("Разделитель полей \"%1\" встречается в записи чисел, дат или времени.").arg(delimiter) + refused;
    return QString();
}

namespace {

// The delimiter and comment character as Windows-1251 bytes, taken once per file.
struct Layout {
    bool Usable = false;
    char Delimiter = 0;
    bool HasComment = false;
    char Comment = '#';
    QString DelimiterText;
    QString Problem;  // why the delimiter is refused

    Layout()
    {
        const TAppConfig& c = EnsureAppConfig();
        DelimiterText = c.Delimiter;
        QByteArray byte;
        Problem = DelimiterProblem(c.Delimiter);
        if (Problem.isEmpty() && AnsiCodec::TryEncode(c.Delimiter, byte) && byte.size() == 1) {
            Usable = true;
            Delimiter = byte[0];
        }
        const QString comment = c.CommentChar.isEmpty() ? QStringLiteral("#") : c.CommentChar;
        if (comment.size() == 1 && AnsiCodec::TryEncode(comment, byte) && byte.size() == 1) {
            HasComment = true;
            Comment = byte[0];
        }
    }
    bool Skipped(const char* line, qsizetype size) const
    {
        return size == 0 || line[0] == Delimiter || (HasComment && line[0] == Comment);
    }
    FieldCursor<char> Fields(const char* line, qsizetype size) const
    {
        return FieldCursor<char>(line, size, Delimiter, true);
    }
};

Layout UsableLayout()
{
    Layout layout;
    if (!layout.Usable) throw EInOutError(layout.Problem);
    return layout;
}

// Calls f(line, length, lengthWithEnd) for every line: the text without its CR LF (or LF),
// and the extent with the line end. Stops, returning false, when f returns false.
template <class F>
bool ForEachLine(const char* data, qsizetype size, F&& f)
{
    qsizetype pos = 0;
    while (pos < size) {
        const void* nl = std::memchr(data + pos, '\n', size_t(size - pos));
        const qsizetype end = nl ? static_cast<const char*>(nl) - data : size;
        qsizetype length = end - pos;
        if (length > 0 && data[end - 1] == '\r') --length;
        const qsizetype full = (nl ? end + 1 : size) - pos;
        if (!f(data + pos, length, full)) return false;
        pos += full;
    }
    return true;
}

// A file read in blocks into memory, never mapped: a file that another program cuts short
// while it is read is read as what was there, where a mapping would fault on the lost pages.
class FileBytes {
public:
    // False for a missing file; EInOutError for one that is there but cannot be read.
    bool Open(const QString& path)
    {
        QFileInfo info(path);
        if (!info.exists()) return false;
        file_.setFileName(path);
        if (info.isDir() || !file_.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
            throw EInOutError(QStringLiteral("Cannot open file %1: %2")
                                  .arg(path, info.isDir() ? QStringLiteral("it is a directory") : file_.errorString()));
        size_ = file_.size();
        return true;
    }
    // The size at opening, a hint for what the lines will take.
    qsizetype Size() const { return size_; }
    // ForEachLine over the whole file, a block at a time; a line never straddles two calls.
    template <class F>
    void Lines(F&& f)
    {
        // Small first, so a walk that stops early reads little; then large, fewer calls.
        qsizetype block = qsizetype(1) << 16;
        QByteArray buffer;
        qsizetype kept = 0;  // the unfinished last line of the block before
        for (;;) {
            if (buffer.size() < kept + block) buffer.resize(kept + block);
            const qint64 got = file_.read(buffer.data() + kept, block);
            block = std::min(block * 2, qsizetype(1) << 20);
            if (got < 0) throw EInOutError(QStringLiteral("Cannot read file %1: %2").arg(file_.fileName(), file_.errorString()));
            const char* data = buffer.constData();
            const qsizetype size = kept + qsizetype(got);
            if (got == 0) {
                if (size > 0) ForEachLine(data, size, f);
                return;
            }
            const void* last = memrchr(data + kept, '\n', size_t(got));
            if (!last) {
                kept = size;
                continue;
            }
            const qsizetype whole = static_cast<const char*>(last) - data + 1;
            if (!ForEachLine(data, whole, f)) return;
            kept = size - whole;
            std::memmove(buffer.data(), data + whole, size_t(kept));
        }
    }

private:
    QFile file_;
    qsizetype size_ = 0;
};

QString Decode(const char* p, qsizetype n)
{
    return n == 0 ? QString() : AnsiCodec::Decode(p, n);
}

// A growing byte buffer written through raw pointers: the writers' hot path fills whole
// lines in place instead of appending piece by piece.
class ByteSink {
public:
    void Reserve(size_t n)
    {
        if (n > cap_) Grow(n);
    }
    // A pointer with room for n more bytes; Commit takes the end of what was written.
    char* Room(size_t n)
    {
        if (size_ + n > cap_) Grow(std::max(cap_ * 2, size_ + n));
        return buf_.get() + size_;
    }
    void Commit(char* end) { size_ = size_t(end - buf_.get()); }
    void Reset() { size_ = 0; }
    void Append(const char* p, size_t n)
    {
        if (n == 0) return;
        std::memcpy(Room(n), p, n);
        size_ += n;
    }
    const char* Data() const { return buf_ ? buf_.get() : ""; }
    qsizetype Size() const { return qsizetype(size_); }

private:
    void Grow(size_t n)
    {
        auto bigger = std::make_unique_for_overwrite<char[]>(n);
        if (size_) std::memcpy(bigger.get(), buf_.get(), size_);
        buf_ = std::move(bigger);
        cap_ = n;
    }
    std::unique_ptr<char[]> buf_;
    size_t size_ = 0;
    size_t cap_ = 0;
};

// A date or time format of the regional settings, compiled for the plain numeric forms
// (dd.MM.yyyy, H:mm:ss and the like). Texts in exactly the form the format writes are read and
// written here directly; every other text and format goes through the regional conversions,
// which decide. Only that exact form is taken, so both roads give the same result.
class NumericFormat {
public:
    NumericFormat(const QString& format, const char* kinds)
    {
        int seen[3] = {0, 0, 0};
        bool lastNumeric = false;
        for (qsizetype i = 0; i < format.size();) {
            const QChar ch = format.at(i);
            if (ch.isLetter()) {
                qsizetype run = 1;
                while (i + run < format.size() && format.at(i + run) == ch) ++run;
                const char* k = ch.unicode() < 128 ? std::strchr(kinds, char(ch.unicode())) : nullptr;
                const bool year = ch == QLatin1Char('y');
                if (!k || *k == 0 || lastNumeric || (year ? run != 4 : run > 2) || count_ == MaxTokens) return;
                const int index = int(k - kinds);
                ++seen[index];
                tokens_[count_++] = Token{static_cast<signed char>(index), int(run), 0};
                lastNumeric = true;
                i += run;
            } else {
                if (ch.unicode() >= 128 || ch.isDigit() || ch == QLatin1Char('\'') || count_ == MaxTokens) return;
                tokens_[count_++] = Token{-1, 0, char(ch.unicode())};
                lastNumeric = false;
                ++i;
            }
        }
        ok_ = seen[0] == 1 && seen[1] == 1 && seen[2] == 1;
    }
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
bool IsLeapYear(int y)
{
    return y % 4 == 0 && (y % 100 != 0 || y % 400 == 0);
}
bool IsValidDate(int y, int m, int d)
{
    static constexpr int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return y >= 1 && m >= 1 && m <= 12 && d >= 1 && d <= days[m - 1] + (m == 2 && IsLeapYear(y));
}
qint64 DaysFromCivil(int y, int m, int d)
{
    y -= m <= 2;
    const qint64 era = (y >= 0 ? y : y - 399) / 400;
    const qint64 yoe = y - era * 400;
    const qint64 doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const qint64 doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468 + 25569;  // 25569: 30.12.1899 to 01.01.1970
}
void CivilFromDays(qint64 days, int& y, int& m, int& d)
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
    Converter()
        : settings_(Regional::Current()),
          date_(settings_.ShortDateFormat, "dMy"),
          time_(settings_.LongTimeFormat, "Hms")
    {
        QByteArray byte;
        if (AnsiCodec::TryEncode(QString(settings_.DecimalSeparator), byte) && byte.size() == 1 &&
            byte[0] != '-' && !(byte[0] >= '0' && byte[0] <= '9')) {
            decimalOk_ = true;
            decimal_ = byte[0];
        }
    }

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
    static char* PutText(ByteSink& sink, char* p, const QString& text)
    {
        const QByteArray bytes = AnsiCodec::Encode(text);
        sink.Commit(p);
        sink.Append(bytes.constData(), size_t(bytes.size()));
        return sink.Room(256);
    }
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

// The six fields of a measurement line, in the file's form, followed by CR LF.
void AppendMeasurement(ByteSink& out, const OResearches::TUnits& m, const Layout& layout, const Converter& conv)
{
    char* p = out.Room(256);
    p = conv.PutInt(p, m.ID);
    *p++ = layout.Delimiter;
    p = conv.PutInt(p, m.Ref1);
    *p++ = layout.Delimiter;
    p = conv.PutInt(p, m.Ref2);
    *p++ = layout.Delimiter;
    p = conv.PutDate(out, p, m.Date);
    *p++ = layout.Delimiter;
    p = conv.PutTime(out, p, m.Time);
    *p++ = layout.Delimiter;
    p = conv.PutFloat(out, p, m.Value);
    *p++ = '\r';
    *p++ = '\n';
    out.Commit(p);
}

void WriteBytesAtomic(const QString& path, const char* data, qsizetype size)
{
    QSaveFile file(path);
    // Unbuffered: a short write (disk full, file-size limit) shows at once instead of being
    // lost in a buffer flushed by commit.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw EInOutError(QStringLiteral("Unable to write to %1: %2").arg(path, file.errorString()));
    if (size > 0 && file.write(data, size) != size) {
        const QString reason = file.errorString();
        file.cancelWriting();
        throw EInOutError(QStringLiteral("Unable to write to %1: %2").arg(path, reason));
    }
    if (!file.commit()) throw EInOutError(QStringLiteral("Unable to write to %1: %2").arg(path, file.errorString()));
}

// The frame every loader shares: the delimiter check, the skip rule, and a conversion that
// is not guarded stopping the load with its message.
// onLine(line, lengthWithEnd, skipped) sees every line before perLine does.
template <class F, class L = void (*)(const char*, qsizetype, bool)>
LoadResult LoadFile(const QString& path, F&& perLine, L&& onLine = [](const char*, qsizetype, bool) {})
{
    LoadResult result;
    const Layout layout;
    if (!layout.Usable) {
        result.Complete = false;
        result.Error = layout.Problem;
        return result;
    }
    FileBytes file;
    if (!file.Open(path)) return result;
    const Converter conv;
    file.Lines([&](const char* line, qsizetype size, qsizetype full) {
        const bool skipped = layout.Skipped(line, size);
        onLine(line, full, skipped);
        if (skipped) return true;
        try {
            perLine(layout, conv, line, size, result);
        } catch (const EConvertError& e) {
            result.Complete = false;
            result.Error = e.Message;
            return false;
        }
        return true;
    });
    return result;
}



// Field 1 of a table file, through the key-field error path; true when it converted.
bool ReadKey(const Converter& conv, const char* s, qsizetype n, int32_t& id)
{
    try {
        id = conv.Int(s, n);
        return true;
    } catch (const EConvertError& e) {
        ReportKeyFieldError(e.Message);
        return false;
    }
}

// The fields of one line in turn, each converted as asked.
class LineFields {
public:
    LineFields(const Layout& layout, const Converter& conv, const char* line, qsizetype size)
        : line_(line), cursor_(layout.Fields(line, size)), conv_(conv) {}
    void Skip(int fields) { cursor_.Skip(fields); }
    QString Text() { Next(); return Decode(line_ + s_, n_); }
    int Int() { Next(); return conv_.Int(line_ + s_, n_); }
    // The number, or false when the field holds none.
    bool TryInt(int& value) { Next(); return conv_.TryInt(line_ + s_, n_, value); }
    TDateTime Date() { Next(); return conv_.Date(line_ + s_, n_); }
    TDateTime Time() { Next(); return conv_.Time(line_ + s_, n_); }
    double Float() { Next(); return conv_.Float(line_ + s_, n_); }
    // The identifier in field 1, raising the list's MaxID when it converted.
    template <class List>
    void Key(List& list, int32_t& id)
    {
        if (Key(id) && id > list.MaxID) list.MaxID = id;
    }
    // The identifier alone; id keeps its value when it does not convert.
    bool Key(int32_t& id)
    {
        Next();
        return ReadKey(conv_, line_ + s_, n_, id);
    }

private:
    void Next() { cursor_.Next(s_, n_); }
    const char* line_;
    FieldCursor<char> cursor_;
    const Converter& conv_;
    qsizetype s_ = 0, n_ = 0;
};

// A table file's loader: each line a new record whose identifier is read first; fill reads the rest.
template <class List, class Fill>
LoadResult LoadTable(const QString& path, List& list, Fill&& fill)
{
    return LoadFile(path, [&](const Layout& layout, const Converter& conv, const char* line, qsizetype size, LoadResult& result) {
        list.Add();
        ++result.Records;
        auto& r = list.Items(list.Count() - 1);
        LineFields fields(layout, conv, line, size);
        fields.Key(list, r.ID);
        fill(r, fields);
    });
}

// A table file rewritten whole from the list's records, from the index first on.
template <class List, class LineOf>
void SaveTable(const QString& path, const List& list, int first, LineOf&& lineOf)
{
    UsableLayout();
    QStringList lines;
    for (int i = first; i < list.Count(); ++i) lines.append(lineOf(list.Items(i)));
    WriteLinesAtomic(path, lines);
}

QString Joined(std::initializer_list<QString> fields)
{
    const QString& d = EnsureAppConfig().Delimiter;
    QString line;
    bool first = true;
    for (const QString& f : fields) {
        if (!first) line += d;
        first = false;
        line += f;
    }
    return line;
}

}  // namespace

QString PathOf(const QString& fileName)
{
    return EnsureAppConfig().DBPath + QLatin1Char('/') + fileName;
}

bool DelimiterUsable()
{
    return Layout().Usable;
}

bool CheckDelimiter()
{
    const Layout layout;
    if (layout.Usable) return true;
    Dialogs::Warning(layout.Problem);
    return false;
}

bool IsSkipped(QStringView line)
{
    if (line.isEmpty()) return true;
    const TAppConfig& c = EnsureAppConfig();
    const QStringView first = line.left(1);
    const QString comment = c.CommentChar.isEmpty() ? QStringLiteral("#") : c.CommentChar;
    return first == c.Delimiter || first == comment;
}

void WriteLinesAtomic(const QString& path, const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += AnsiCodec::Encode(line);
        bytes += "\r\n";
    }
    WriteBytesAtomic(path, bytes.constData(), bytes.size());
}

void ReportKeyFieldError(const QString& message)
{
    ReportError(QStringLiteral("Ошибка доступа к файлу!"), message);
}

void ReportSaveError(const QString& message)
{
    ReportError(QStringLiteral("При сохранении данных произошла ошибка!"), message);
}

// ---- ksRegions.txt and ksFederalParts.txt

LoadResult LoadRegions(const QString& path, TORegions& list)
{
    return LoadTable(path, list, [](ORegions::TUnits& r, LineFields& fields) {
        r.Name = fields.Text();
        r.Capital = fields.Text();
        for (FixedText<50>* t : {&r.CodeMVD, &r.CodeMSH, &r.CodeAlpha, &r.CodeLatin, &r.CodeAlphaNum}) *t = fields.Text();
    });
}

LoadResult LoadFederalParts(const QString& path, TORegions& list)
{
    return LoadTable(path, list, [](ORegions::TUnits& r, LineFields& fields) {
        r.Name = fields.Text();
        r.Capital = fields.Text();
        r.CodeMSH = fields.Text();
    });
}

QString RegionLine(const ORegions::TUnits& r)
{
    return Joined({Regional::IntToStr(r.ID), r.Name, r.Capital, r.CodeMVD, r.CodeMSH, r.CodeAlpha, r.CodeLatin,
                   r.CodeAlphaNum});
}

QString FederalPartLine(const ORegions::TUnits& r)
{
    return Joined({Regional::IntToStr(r.ID), r.Name, r.Capital, r.CodeMSH});
}

void SaveRegions(const QString& path, const TORegions& list)
{
    SaveTable(path, list, 1, RegionLine);
}

void SaveFederalParts(const QString& path, const TORegions& list)
{
    SaveTable(path, list, 1, FederalPartLine);
}

// ---- ksResearchRegister.txt

LoadResult LoadResearches(const QString& path, TOResearches& list)
{
    return LoadTable(path, list, [](OResearches::TUnits& r, LineFields& fields) {
        r.Name = fields.Text();
        r.Ref1 = fields.Int();
        r.Ref2 = fields.Int();
    });
}

QString ResearchLine(const OResearches::TUnits& r)
{
    return Joined({Regional::IntToStr(r.ID), r.Name, Regional::IntToStr(r.Ref1), Regional::IntToStr(r.Ref2)});
}

void SaveResearches(const QString& path, const TOResearches& list)
{
    SaveTable(path, list, 1, ResearchLine);
}

// ---- ksMesurements.txt

namespace {

// A measurement line in the plain form the writer gives, read in one pass: no field with blanks
// or control codes to trim, integers of up to nine digits, dates, times and numbers in the exact
// forms. False for any other line, which goes field by field; for a plain line both roads
// convert the same texts the same way.
bool ReadPlainMeasurement(const Layout& layout, const Converter& conv, const char* line, qsizetype size,
                          OResearches::TUnits& m, bool readRef1)
{
    const char d = layout.Delimiter;
    if (!conv.PlainDelimiter(d)) return false;
    const char* p = line;
    const char* const end = line + size;
    int32_t ints[3];
    for (int32_t& value : ints) {
        const bool negative = p < end && *p == '-';
        if (negative) ++p;
        const char* digits = p;
        unsigned v = 0;
        while (p < end && unsigned(*p - '0') <= 9) v = v * 10 + unsigned(*p++ - '0');
        if (p == digits || p - digits > 9 || p == end || *p != d) return false;
        value = negative ? -int32_t(v) : int32_t(v);
        ++p;
    }
    // Each text must fill its field: the delimiter or the line's end follows it.
    auto filled = [&](qsizetype used) {
        if (used <= 0) return false;
        p += used;
        if (p == end) return true;
        if (*p != d) return false;
        ++p;
        return true;
    };
    TDateTime date, time;
    double value;
    if (!filled(conv.PlainDatePrefix(p, end - p, date)) || !filled(conv.PlainTimePrefix(p, end - p, time)) ||
        !filled(conv.PlainFloatPrefix(p, end - p, value)))
        return false;
    m.ID = ints[0];
    if (readRef1) m.Ref1 = ints[1];
    m.Ref2 = ints[2];
    m.Date = date;
    m.Time = time;
    m.Value = value;
    return true;
}

// Fields 1 and 3 to 6 of a measurement line into m; field 1 guarded, the others throw.
void FillMeasurement(OResearches::TUnits& m, TOResearches& list, const Layout& layout, const Converter& conv,
                     const char* line, qsizetype size, bool readRef1)
{
    if (ReadPlainMeasurement(layout, conv, line, size, m, readRef1)) {
        if (m.ID > list.MaxID) list.MaxID = m.ID;
        return;
    }
    LineFields fields(layout, conv, line, size);
    fields.Key(list, m.ID);
    if (readRef1) m.Ref1 = fields.Int();
    else fields.Skip(1);
    m.Ref2 = fields.Int();
    m.Date = fields.Date();
    m.Time = fields.Time();
    m.Value = fields.Float();
}

// Field 2 of a data line, which the measurements file holds the research in.
int ResearchOf(const Layout& layout, const Converter& conv, const char* line, qsizetype size)
{
    LineFields fields(layout, conv, line, size);
    fields.Skip(1);
    return fields.Int();
}

}  // namespace
LoadResult LoadMeasurements(const QString& path, int researchID, TOResearches& list)
{
    return LoadFile(path, [&](const Layout& layout, const Converter& conv, const char* line, qsizetype size, LoadResult& result) {
        if (ResearchOf(layout, conv, line, size) != researchID) return;
        list.Add();
        ++result.Records;
        OResearches::TUnits& m = list.Items(list.Count() - 1);
        m.Ref1 = researchID;
        FillMeasurement(m, list, layout, conv, line, size, false);
    });
}

LoadResult LoadAllMeasurements(const QString& path, TOResearches& list)
{
    return LoadFile(path, [&](const Layout& layout, const Converter& conv, const char* line, qsizetype size, LoadResult& result) {
        list.Add();
        ++result.Records;
        FillMeasurement(list.Items(list.Count() - 1), list, layout, conv, line, size, true);
    });
}

QString MeasurementLine(const OResearches::TUnits& m)
{
    const Layout layout = UsableLayout();
    ByteSink out;
    AppendMeasurement(out, m, layout, Converter());
    return Decode(out.Data(), out.Size() - 2);
}

void SaveMeasurements(const QString& path, int researchID, const TOResearches& list)
{
    const Layout layout = UsableLayout();
    const Converter conv;
    // The research's lines first: a value that cannot be written stops before the file is touched.
    ByteSink tail;
    tail.Reserve(size_t(list.Count()) * 48);
    for (int i = 1; i < list.Count(); ++i) AppendMeasurement(tail, list.Items(i), layout, conv);

    ByteSink out;
    {
        FileBytes file;
        if (file.Open(path)) {
            out.Reserve(size_t(file.Size()) + size_t(tail.Size()) + 2);
            file.Lines([&](const char* line, qsizetype size, qsizetype full) {
                int id = 0;
                if (!layout.Skipped(line, size)) {
                    FieldCursor<char> fields = layout.Fields(line, size);
                    fields.Skip(1);
                    qsizetype s, n;
                    fields.Next(s, n);
                    if (conv.TryInt(line + s, n, id) && id == researchID) return true;
                }
                // Every other line goes over as it stands, bad ones included.
                out.Append(line, size_t(full));
                if (line[full - 1] == '\r') out.Append("\n", 1);
                else if (line[full - 1] != '\n') out.Append("\r\n", 2);
                return true;
            });
        }
    }
    out.Append(tail.Data(), size_t(tail.Size()));
    WriteBytesAtomic(path, out.Data(), out.Size());
}

QList<MeasurementTexts> FormatMeasurements(const TOResearches& list)
{
    const Converter conv;
    ByteSink sink;
    auto text = [&sink](auto&& put) {
        sink.Reset();
        sink.Commit(put(sink.Room(256)));
        return Decode(sink.Data(), sink.Size());
    };
    QList<MeasurementTexts> texts;
    texts.reserve(list.Count());
    for (int i = 1; i < list.Count(); ++i) {
        const OResearches::TUnits& m = list.Items(i);
        texts.append({text([&](char* p) { return conv.PutDate(sink, p, m.Date); }),
                      text([&](char* p) { return conv.PutTime(sink, p, m.Time); }),
                      text([&](char* p) { return conv.PutFloat(sink, p, m.Value); })});
    }
    return texts;
}

void SaveAllMeasurements(const QString& path, const TOResearches& list)
{
    const Layout layout = UsableLayout();
    const Converter conv;
    ByteSink out;
    out.Reserve(size_t(list.Count()) * 48);
    for (int i = 1; i < list.Count(); ++i) AppendMeasurement(out, list.Items(i), layout, conv);
    WriteBytesAtomic(path, out.Data(), out.Size());
}

bool HasMeasurements(const QString& path, int researchID)
{
    const Layout layout = UsableLayout();
    FileBytes file;
    if (!file.Open(path)) return false;
    const Converter conv;
    bool found = false;
    file.Lines([&](const char* line, qsizetype size, qsizetype) {
        if (layout.Skipped(line, size)) return true;
        found = ResearchOf(layout, conv, line, size) == researchID;
        return !found;
    });
    return found;
}

void MeasurementIndex::Build(QByteArray bytes)
{
    const Layout layout = UsableLayout();
    const Converter conv;
    bytes_ = std::move(bytes);
    lines_.clear();  // its room is kept for the next file
    researches_.clear();
    BadOrdinal = INT_MAX;
    BadMessage.clear();
    Errors.clear();
    lines_.reserve(size_t(bytes_.size() / 32));
    const char* data = bytes_.constData();
    const char* const end = data + bytes_.size();
    const char d = layout.Delimiter;
    int ordinal = 0;
    for (const char* line = data; line < end;) {
        const char* nl = static_cast<const char*>(std::memchr(line, '\n', size_t(end - line)));
        const char* stop = nl ? nl : end;
        qsizetype size = stop - line;
        if (size > 0 && stop[-1] == '\r') --size;
        const char* next = nl ? nl + 1 : end;
        if (layout.Skipped(line, size)) {
            line = next;
            continue;
        }
        // The usual line: field 2 plain digits right after the first delimiter, the splitter's
        // answer without its searches.
        const char* p = line;
        const char* e = line + size;
        while (p < e && *p != d) ++p;
        int id = 0;
        bool ok = false;
        if (p < e) {
            const char* q = ++p;
            unsigned v = 0;
            while (q < e && q - p < 9 && unsigned(*q - '0') <= 9) v = v * 10 + unsigned(*q++ - '0');
            if (q > p && q < e && *q == d) {
                id = int(v);
                ok = true;
            }
        }
        if (!ok) {
            FieldCursor<char> fields = layout.Fields(line, size);
            fields.Skip(1);
            qsizetype s, n;
            fields.Next(s, n);
            ok = conv.TryInt(line + s, n, id);
            if (!ok && BadOrdinal == INT_MAX) {
                BadOrdinal = ordinal;
                try {
                    conv.Int(line + s, n);
                } catch (const EConvertError& e) {
                    BadMessage = e.Message;
                }
            }
        }
        if (ok) lines_.push_back({line - data, int(size), id});
        ++ordinal;
        line = next;
    }
}

QByteArray MeasurementIndex::ReleaseBytes()
{
    QByteArray bytes = std::move(bytes_);
    lines_.clear();  // keeps its room for the next file
    researches_.clear();
    BadOrdinal = INT_MAX;
    BadMessage.clear();
    Errors.clear();
    return bytes;
}

const MeasurementIndex::Research* MeasurementIndex::Find(int researchID)
{
    if (auto it = researches_.find(researchID); it != researches_.end()) return it->second.Lines.empty() ? nullptr : &it->second;
    Research& r = researches_[researchID];
    const Layout layout = UsableLayout();
    const Converter conv;
    // A failed conversion's message, from the loud conversion; -1 when it converted.
    auto failure = [this](auto convert) {
        try {
            convert();
            return -1;
        } catch (const EConvertError& e) {
            Errors.append(e.Message);
            return int(Errors.size()) - 1;
        }
    };
    // The research's lines lie apart in the file: fetch each a few lines ahead of its parsing.
    std::vector<size_t> mine;
    for (size_t i = 0; i < lines_.size(); ++i)
        if (lines_[i].ResearchID == researchID) mine.push_back(i);
    r.Lines.reserve(mine.size());
    constexpr size_t Ahead = 8;
    for (size_t m = 0; m < mine.size(); ++m) {
        if (m + Ahead < mine.size()) __builtin_prefetch(bytes_.constData() + lines_[mine[m + Ahead]].Start);
        const size_t i = mine[m];
        const LineRef& ref = lines_[i];
        const char* line = bytes_.constData() + ref.Start;
        FieldCursor<char> fields = layout.Fields(line, ref.Length);
        qsizetype s3, n3, s6, n6;
        fields.Skip(2);
        fields.Next(s3, n3);
        fields.Skip(2);
        fields.Next(s6, n6);
        // Kept lines before the first bad one sit at their ordinals; those after it one further
        // on (at least), which keeps every comparison with BadOrdinal right.
        Line l{int(i) + (int(i) >= BadOrdinal ? 1 : 0)};
        l.Error6 = failure([&] { l.Value = conv.Float(line + s6, n6); });
        if (l.Error6 >= 0) {
            if (r.MaxError == INT_MAX) {
                r.MaxError = l.Ordinal;
                r.MaxMessage = Errors[l.Error6];
            }
        } else {
            const double v = std::floor(l.Value);
            if (v > double(r.Max)) r.Max = v >= double(INT_MAX) ? INT_MAX : int(v);
        }
        if (!conv.TryInt(line + s3, n3, l.Place)) l.Error3 = failure([&] { conv.Int(line + s3, n3); });
        if (r.PassError == INT_MAX && (l.Error6 >= 0 || l.Error3 >= 0)) {
            r.PassError = l.Ordinal;
            r.PassMessage = Errors[l.Error6 >= 0 ? l.Error6 : l.Error3];
        }
        r.Lines.push_back(l);
    }
    return r.Lines.empty() ? nullptr : &r;
}

int HighestMeasuredResearch(const QString& path)
{
    const Layout layout = UsableLayout();
    FileBytes file;
    if (!file.Open(path)) return 0;
    const Converter conv;
    int highest = 0;
    file.Lines([&](const char* line, qsizetype size, qsizetype) {
        if (layout.Skipped(line, size)) return true;
        FieldCursor<char> fields = layout.Fields(line, size);
        fields.Skip(1);
        qsizetype s, n;
        fields.Next(s, n);
        int id = 0;
        if (conv.TryInt(line + s, n, id) && id > highest) highest = id;
        return true;
    });
    return highest;
}

// ---- ksLinksToMap.txt

namespace {

// A line's bytes as a file line: a last line without its end gets CR LF.
QByteArray WholeLine(const char* line, qsizetype full)
{
    QByteArray bytes(line, full);
    if (bytes.endsWith('\r')) bytes += '\n';
    else if (!bytes.endsWith('\n')) bytes += "\r\n";
    return bytes;
}

// The shared reading; layout, when given, takes the lines and origins.
LoadResult ReadLinks(const QString& path, TOCoordinates& list, LinksLayout* kept)
{
    const char* raw = nullptr;
    qsizetype rawSize = 0;
    return LoadFile(
        path,
        [&](const Layout& layout, const Converter& conv, const char* line, qsizetype size, LoadResult& result) {
            list.Add();
            ++result.Records;
            OCoordinates::TUnits& p = list.Items(list.Count() - 1);
            LineFields fields(layout, conv, line, size);
            try {
                for (int32_t* field : {&p.Level, &p.PlaceID, &p.X, &p.Y}) *field = fields.Int();
                if (kept) {
                    kept->Origin.append(int(kept->Lines.size()));
                    kept->Lines.append(QByteArray());
                }
            } catch (const EConvertError& e) {
                if (kept) {
                    kept->Origin.append(LinksLayout::KeptLine);
                    kept->Lines.append(WholeLine(raw, rawSize));
                }
                ReportKeyFieldError(e.Message);
            }
        },
        [&](const char* line, qsizetype full, bool skipped) {
            raw = line;
            rawSize = full;
            if (kept && skipped) kept->Lines.append(WholeLine(line, full));
        });
}

}  // namespace

LoadResult LoadLinks(const QString& path, TOCoordinates& list)
{
    return ReadLinks(path, list, nullptr);
}

LoadResult LoadLinks(const QString& path, TOCoordinates& list, LinksLayout& layout)
{
    return ReadLinks(path, list, &layout);
}

QString LinkLine(const OCoordinates::TUnits& p)
{
    return Joined({Regional::IntToStr(p.Level), Regional::IntToStr(p.PlaceID), Regional::IntToStr(p.X),
                   Regional::IntToStr(p.Y)});
}

void SaveLinks(const QString& path, const TOCoordinates& list)
{
    SaveTable(path, list, 0, LinkLine);
}

void SaveLinks(const QString& path, const TOCoordinates& list, LinksLayout& layout)
{
    UsableLayout();
    if (layout.Origin.size() != list.Count()) throw EInOutError(QStringLiteral("Link points and their lines disagree"));
    // Which record stands at each line that was read as a point.
    QList<int> pointAt(layout.Lines.size(), -1);
    for (int i = 0; i < list.Count(); ++i)
        if (layout.Origin[i] >= 0 && layout.Origin[i] < layout.Lines.size()) pointAt[layout.Origin[i]] = i;
    LinksLayout written;
    written.Origin = layout.Origin;
    QByteArray bytes;
    auto point = [&](int i) {
        written.Origin[i] = int(written.Lines.size());
        written.Lines.append(QByteArray());
        bytes += AnsiCodec::Encode(LinkLine(list.Items(i)));
        bytes += "\r\n";
    };
    for (qsizetype k = 0; k < layout.Lines.size(); ++k) {
        if (!layout.Lines[k].isEmpty()) {
            written.Lines.append(layout.Lines[k]);
            bytes += layout.Lines[k];
        } else if (pointAt[k] >= 0) {
            point(pointAt[k]);
        }
    }
    for (int i = 0; i < list.Count(); ++i)
        if (layout.Origin[i] == LinksLayout::NewPoint) point(i);
    WriteBytesAtomic(path, bytes.constData(), bytes.size());
    layout = std::move(written);
}

namespace {

// A lookup's walk over the record lines of a file; false (and nothing walked) when it is missing.
template <class F>
bool ForEachRecord(const QString& path, F&& perLine)
{
    const Layout layout = UsableLayout();
    FileBytes file;
    if (!file.Open(path)) return false;
    const Converter conv;
    file.Lines([&](const char* line, qsizetype size, qsizetype) {
        if (!layout.Skipped(line, size)) perLine(layout, conv, line, size);
        return true;
    });
    return true;
}

}  // namespace

QStringList ReadCapitals(const QString& path)
{
    QStringList capitals;
    ForEachRecord(path, [&](const Layout& layout, const Converter& conv, const char* line, qsizetype size) {
        LineFields fields(layout, conv, line, size);
        fields.Skip(2);
        capitals.append(fields.Text());
    });
    return capitals;
}

PlaceIndex ReadPlaces(const QString& path)
{
    PlaceIndex index;
    index.exists_ = ForEachRecord(path, [&](const Layout& layout, const Converter& conv, const char* line, qsizetype size) {
        FieldCursor<char> fields = layout.Fields(line, size);
        qsizetype s, n;
        fields.Next(s, n);
        PlaceIndex::Line place;
        place.IdText = Decode(line + s, n);
        place.IdOk = conv.TryInt(line + s, n, place.ID);
        fields.Next(s, n);
        place.Name = Decode(line + s, n);
        const int at = int(index.lines_.size());
        if (!place.IdOk && index.firstBad_ < 0) {
            index.firstBad_ = at;
            try {
                Regional::StrToInt(place.IdText);
            } catch (const EConvertError& e) {
                index.badMessage_ = e.Message;
            }
        }
        if (place.IdOk && !index.first_.contains(place.ID)) index.first_.insert(place.ID, at);
        index.lines_.append(std::move(place));
    });
    return index;
}

QString PlaceIndex::Name(int id) const
{
    const auto it = first_.constFind(id);
    const int at = it == first_.cend() ? int(lines_.size()) : it.value();
    if (firstBad_ >= 0 && firstBad_ < at) throw EConvertError(badMessage_);
    return at < lines_.size() ? lines_[at].Name : QString();
}

QList<int> PlaceIndex::IDs() const
{
    if (firstBad_ >= 0) throw EConvertError(badMessage_);
    QList<int> ids;
    ids.reserve(lines_.size());
    for (const Line& l : lines_) ids.append(l.ID);
    return ids;
}

QList<QPair<int, QString>> ReadPlaceNames(const QString& path)
{
    QList<QPair<int, QString>> names;
    const PlaceIndex places = ReadPlaces(path);
    for (const PlaceIndex::Line& l : places.Lines()) {
        if (l.IdOk) {
            names.append({l.ID, l.Name});
            continue;
        }
        // A bad identifier takes the loaders' error path: reported, and the place kept with ID 0.
        try {
            Regional::StrToInt(l.IdText);
        } catch (const EConvertError& e) {
            ReportKeyFieldError(e.Message);
        }
        names.append({0, l.Name});
    }
    return names;
}

}  // namespace DataFiles
