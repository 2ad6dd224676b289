// The profile-file reader and writer with the rules of the Windows private-profile functions.
#include "ProfileFile.h"

#include "AnsiCodec.h"
#include "Exceptions.h"
#include "Regional.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <optional>

namespace {

// A value is read into a buffer of 2048 characters, so 2047 of it are seen.
constexpr qsizetype MaxValueLength = 2047;

// Blank, tab, vertical tab, form feed and ^Z (a DOS end-of-file mark) surround names and values.
inline bool IsBlank(QChar c)
{
    const char16_t u = c.unicode();
    return u == ' ' || u == '\t' || u == '\v' || u == '\f' || u == 0x1A;
}

QStringView TrimBlanks(QStringView s)
{
    qsizetype b = 0, e = s.size();
    while (b < e && IsBlank(s[b])) ++b;
    while (e > b && IsBlank(s[e - 1])) --e;
    return s.mid(b, e - b);
}

bool SameName(QStringView a, QStringView b)
{
    return a.compare(TrimBlanks(b), Qt::CaseInsensitive) == 0;
}

// One line of the text: where it starts, where its content ends and where its line end ends.
struct Line {
    qsizetype begin = 0, contentEnd = 0, end = 0;
};

// The file as it was read. The text holds every byte as one character (Windows-1251, where all
// 256 bytes round-trip, or the code units of a UTF-16LE file), so unchanged lines are written
// back byte for byte.
struct Document {
    bool utf16 = false;
    QString text;
    QByteArray oddByte;  // a UTF-16 file of an odd length keeps its last byte
    QList<Line> lines;

    QStringView Content(qsizetype i) const
    {
        const Line& l = lines[i];
        return QStringView(text).mid(l.begin, l.contentEnd - l.begin);
    }
    bool HasLineEnd(qsizetype i) const { return lines[i].end > lines[i].contentEnd; }

    // A lone CR ends a line, as LF and CR LF do.
    void Split()
    {
        lines.clear();
        const char16_t* t = reinterpret_cast<const char16_t*>(text.constData());
        const qsizetype n = text.size();
        qsizetype begin = 0;
        for (qsizetype i = 0; i < n; ++i) {
            const char16_t c = t[i];
            if (c != '\r' && c != '\n') continue;
            const qsizetype end = c == '\r' && i + 1 < n && t[i + 1] == '\n' ? i + 2 : i + 1;
            lines.append({begin, i, end});
            begin = end;
            i = end - 1;
        }
        if (begin < n) lines.append({begin, n, n});
    }

    // The line end new lines take: that of the first line that has one, else CR LF.
    QString LineEnd() const
    {
        for (qsizetype i = 0; i < lines.size(); ++i)
            if (HasLineEnd(i)) return text.mid(lines[i].contentEnd, lines[i].end - lines[i].contentEnd);
        return QStringLiteral("\r\n");
    }

    QByteArray Bytes() const
    {
        if (!utf16) return AnsiCodec::Encode(text);  // an unencodable character leaves the file alone
        QByteArray bytes("\xFF\xFE", 2);
        for (QChar c : text) {
            bytes.append(char(c.unicode() & 0xFF));
            bytes.append(char(c.unicode() >> 8));
        }
        return bytes + oddByte;
    }
};

// The file's document, empty for a missing one. readable is false when the file is there but
// cannot be read: a reader then sees defaults, a writer must not replace what it could not see.
Document ReadDocument(const QString& fileName, bool* readable = nullptr)
{
    Document doc;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        if (readable) *readable = !file.exists();
        return doc;
    }
    const QByteArray bytes = file.readAll();
    if (readable) *readable = file.error() == QFileDevice::NoError;
    // An editor's "Unicode" is UTF-16LE with its byte-order mark; anything else is the code page.
    if (bytes.startsWith("\xFF\xFE")) {
        doc.utf16 = true;
        const qsizetype units = (bytes.size() - 2) / 2;
        doc.text.resize(units);
        for (qsizetype i = 0; i < units; ++i)
            doc.text[i] = QChar(char16_t(quint8(bytes[2 + 2 * i]) | quint8(bytes[3 + 2 * i]) << 8));
        if (bytes.size() % 2) doc.oddByte = bytes.right(1);
    } else {
        doc.text = AnsiCodec::Decode(bytes);
    }
    doc.Split();
    return doc;
}

// The name of a section header line: "[" first and a "]" after it; the name runs to the last "]".
bool SectionName(QStringView line, QStringView& name)
{
    const QStringView t = TrimBlanks(line);
    if (!t.startsWith(QLatin1Char('['))) return false;
    const qsizetype close = t.lastIndexOf(QLatin1Char(']'));
    if (close < 1) return false;
    name = TrimBlanks(t.mid(1, close - 1));
    return true;
}

// The key of an entry line and its value; a line without "=" is an entry named by the whole
// line, without a value. False for a blank line.
bool KeyName(QStringView line, QStringView& key, QStringView& value, bool& hasValue)
{
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    hasValue = eq >= 0;
    key = TrimBlanks(hasValue ? line.left(eq) : line);
    value = hasValue ? line.mid(eq + 1) : QStringView();
    return hasValue || !key.isEmpty();
}

// Where a section and a key stand in the lines: header index (-1 none), entry index (-1 none),
// and the line after which a new key of the section goes.
struct Place {
    qsizetype header = -1;
    qsizetype entry = -1;
    qsizetype lastContent = -1;
};

Place Find(const Document& doc, QStringView section, std::optional<QStringView> key = std::nullopt)
{
    Place p;
    for (qsizetype i = 0; i < doc.lines.size(); ++i) {
        const QStringView line = doc.Content(i);
        QStringView name;
        if (SectionName(line, name)) {
            if (p.header >= 0) break;  // the end of the first section of that name
            if (SameName(name, section)) p.header = p.lastContent = i;
            continue;
        }
        if (p.header < 0) continue;
        QStringView k, v;
        bool hasValue = false;
        if (!KeyName(line, k, v, hasValue)) continue;
        p.lastContent = i;
        // The first entry of a name wins, one without a value too.
        if (p.entry < 0 && key && SameName(k, *key)) p.entry = i;
    }
    return p;
}

// What a read of an entry's value gives.
QString StoredValue(QStringView raw)
{
    QStringView v = TrimBlanks(raw);
    // Single or double quotation marks around the whole value are dropped.
    for (const QLatin1Char quote : {QLatin1Char('"'), QLatin1Char('\'')})
        if (v.size() >= 2 && v.startsWith(quote) && v.endsWith(quote)) {
            v = v.mid(1, v.size() - 2);
            break;
        }
    return v.left(MaxValueLength).toString();
}

QString Cleaned(QStringView text)
{
    // A line break inside a name or value would split it into lines of its own and corrupt the file.
    QString s = text.toString();
    s.replace(QLatin1Char('\r'), QLatin1Char(' '));
    s.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return s;
}

// Puts one value into the document, changing only the line of the entry or adding lines;
// false when the file already holds that value.
bool Apply(Document& doc, const QString& section, const QString& key, const QString& value)
{
    const QString cleanKey = Cleaned(TrimBlanks(key));
    const QString cleanSection = Cleaned(TrimBlanks(section));
    const QString clean = Cleaned(value);
    const Place p = Find(doc, cleanSection, cleanKey);
    if (p.entry >= 0) {
        QStringView k, v;
        bool hasValue = false;
        KeyName(doc.Content(p.entry), k, v, hasValue);
        if (hasValue && StoredValue(v) == StoredValue(clean)) return false;
        const Line& l = doc.lines[p.entry];
        doc.text.replace(l.begin, l.contentEnd - l.begin, k.toString() + QLatin1Char('=') + clean);
    } else {
        QString added = p.header >= 0 ? QString() : QLatin1Char('[') + cleanSection + QLatin1Char(']');
        qsizetype at = doc.text.size();
        QString lineEnd = doc.LineEnd();
        if (p.header >= 0) {
            at = doc.lines[p.lastContent].end;
            if (doc.HasLineEnd(p.lastContent)) {
                const Line& l = doc.lines[p.lastContent];
                lineEnd = doc.text.mid(l.contentEnd, l.end - l.contentEnd);
            }
        }
        // The line before, the last of a file without a final line end, gets one first.
        const bool joined = at > 0 && at == doc.text.size() && !doc.lines.isEmpty() && !doc.HasLineEnd(doc.lines.size() - 1);
        if (!added.isEmpty()) added += lineEnd;
        added += cleanKey + QLatin1Char('=') + clean + lineEnd;
        doc.text.insert(at, joined ? lineEnd + added : added);
    }
    doc.Split();
    return true;
}

}  // namespace

TIniFile::TIniFile(const QString& fileName) : fileName_(fileName) {}

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& def) const
{
    const Document doc = ReadDocument(fileName_);
    const Place p = Find(doc, section, key);
    if (p.entry < 0) return def;
    QStringView k, v;
    bool hasValue = false;
    KeyName(doc.Content(p.entry), k, v, hasValue);
    return hasValue ? StoredValue(v) : def;
}

int TIniFile::ReadInteger(const QString& section, const QString& key, int def) const
{
    QString value = ReadString(section, key, QString());
    if (value.size() > 2 && (value.startsWith(QLatin1String("0x")) || value.startsWith(QLatin1String("0X"))))
        value.replace(0, 2, QLatin1String("$"));
    int result = 0;
    return Regional::TryStrToInt(value, result) ? result : def;
}

bool TIniFile::ReadBool(const QString& section, const QString& key, bool def) const
{
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

double TIniFile::ReadFloat(const QString& section, const QString& key, double def) const
{
    const QString value = ReadString(section, key, QString());
    double result = 0;
    return !value.isEmpty() && Regional::TryStrToFloat(value, result) ? result : def;
}

bool TIniFile::SectionExists(const QString& section) const
{
    return Find(ReadDocument(fileName_), section).header >= 0;
}

bool TIniFile::ValueExists(const QString& section, const QString& key) const
{
    return Find(ReadDocument(fileName_), section, key).entry >= 0;
}

void TIniFile::WriteString(const QString& section, const QString& key, const QString& value)
{
    WriteValues({Entry{section, key, value}});
}

void TIniFile::WriteValues(const QList<Entry>& entries)
{
    const QString path = QDir::isAbsolutePath(fileName_) ? fileName_ : QDir::current().absoluteFilePath(fileName_);
    bool readable = true;
    Document doc = ReadDocument(fileName_, &readable);
    if (!readable) throw Exception(QStringLiteral("Unable to write to ") + path);
    bool changed = false;
    for (const Entry& e : entries) changed = Apply(doc, e.Section, e.Key, e.Value) || changed;
    if (!changed) return;
    const QByteArray bytes = doc.Bytes();

    // Unbuffered, so that a short write shows in write()'s count: a buffered QSaveFile commits
    // a file cut short by a full disk or a size limit as if all were well.
    QSaveFile file(fileName_);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || file.write(bytes) != bytes.size() || !file.commit())
        throw Exception(QStringLiteral("Unable to write to ") + path);
}

void TIniFile::WriteInteger(const QString& section, const QString& key, int value)
{
    WriteString(section, key, QString::number(value));
}

void TIniFile::WriteBool(const QString& section, const QString& key, bool value)
{
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void TIniFile::WriteFloat(const QString& section, const QString& key, double value)
{
    WriteString(section, key, Regional::FloatToStr(value));
}
