// The profile-file reader and writer with the rules of the Windows private-profile functions.
#include "ProfileFile.h"

#include "AnsiCodec.h"
#include "Exceptions.h"
#include "Regional.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStringList>

namespace {

// A value is read into a buffer of 2048 characters, so 2047 of it are seen.
constexpr qsizetype MaxValueLength = 2047;

// The lines of the file, none for a missing one. readable is false when the file is there but
// cannot be read: a reader then sees defaults, a writer must not replace what it could not see.
QStringList ReadLines(const QString& fileName, bool* readable = nullptr)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        if (readable) *readable = !file.exists();
        return {};
    }
    const QByteArray bytes = file.readAll();
    if (readable) *readable = file.error() == QFileDevice::NoError;
    QStringList lines = AnsiCodec::Decode(bytes).split(QLatin1Char('\n'));
    for (QString& line : lines)
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

QStringView TrimBlanks(QStringView s)
{
    qsizetype b = 0, e = s.size();
    while (b < e && (s[b] == QLatin1Char(' ') || s[b] == QLatin1Char('\t'))) ++b;
    while (e > b && (s[e - 1] == QLatin1Char(' ') || s[e - 1] == QLatin1Char('\t'))) --e;
    return s.mid(b, e - b);
}

// The name of a section header line, or a null view when the line is no header.
bool SectionName(const QString& line, QStringView& name)
{
    const QStringView t = TrimBlanks(line);
    if (!t.startsWith(QLatin1Char('['))) return false;
    const qsizetype close = t.indexOf(QLatin1Char(']'));
    name = TrimBlanks(close < 0 ? t.mid(1) : t.mid(1, close - 1));
    return true;
}

// The key of an entry line; false for a line without "=".
bool KeyName(const QString& line, QStringView& key, QStringView& value)
{
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq < 0) return false;
    key = TrimBlanks(QStringView(line).left(eq));
    value = QStringView(line).mid(eq + 1);
    return true;
}

bool SameName(QStringView a, const QString& b)
{
    return a.compare(TrimBlanks(b), Qt::CaseInsensitive) == 0;
}

// Where a section and a key stand in the lines: header index (-1 none), entry index (-1 none),
// and the index after which a new key of the section goes.
struct Place {
    qsizetype header = -1;
    qsizetype entry = -1;
    qsizetype lastContent = -1;
};

Place Find(const QStringList& lines, const QString& section, const QString& key)
{
    Place p;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QStringView name;
        if (SectionName(lines[i], name)) {
            if (p.header >= 0) break;  // the end of the first section of that name
            if (SameName(name, section)) p.header = p.lastContent = i;
            continue;
        }
        if (p.header < 0) continue;
        if (!TrimBlanks(lines[i]).isEmpty()) p.lastContent = i;
        QStringView k, v;
        if (p.entry < 0 && !key.isNull() && KeyName(lines[i], k, v) && SameName(k, key)) p.entry = i;
    }
    return p;
}

QString Cleaned(QString value)
{
    // A line break inside a value would split it into lines of its own and corrupt the file.
    value.replace(QLatin1Char('\r'), QLatin1Char(' '));
    value.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return value;
}

// What a read of the line "key=<raw>" gives.
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

}  // namespace

TIniFile::TIniFile(const QString& fileName) : fileName_(fileName) {}

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& def) const
{
    const QStringList lines = ReadLines(fileName_);
    const Place p = Find(lines, section, key);
    if (p.entry < 0) return def;
    QStringView k, v;
    KeyName(lines[p.entry], k, v);
    return StoredValue(v);
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
    return Find(ReadLines(fileName_), section, QString()).header >= 0;
}

bool TIniFile::ValueExists(const QString& section, const QString& key) const
{
    return Find(ReadLines(fileName_), section, key).entry >= 0;
}

namespace {

// Puts one value into the lines; false when the file already holds that value.
bool Apply(QStringList& lines, const QString& section, const QString& key, const QString& value)
{
    const QString cleanKey = TrimBlanks(key).toString();
    const QString clean = Cleaned(value);
    const Place p = Find(lines, section, cleanKey);
    if (p.entry >= 0) {
        QStringView k, v;
        KeyName(lines[p.entry], k, v);
        if (StoredValue(v) == StoredValue(clean)) return false;
        lines[p.entry] = k.toString() + QLatin1Char('=') + clean;
    } else if (p.header >= 0) {
        lines.insert(p.lastContent + 1, cleanKey + QLatin1Char('=') + clean);
    } else {
        lines.append(QLatin1Char('[') + TrimBlanks(section).toString() + QLatin1Char(']'));
        lines.append(cleanKey + QLatin1Char('=') + clean);
    }
    return true;
}

}  // namespace

void TIniFile::WriteString(const QString& section, const QString& key, const QString& value)
{
    WriteValues({Entry{section, key, value}});
}

void TIniFile::WriteValues(const QList<Entry>& entries)
{
    const QString path = QDir::isAbsolutePath(fileName_) ? fileName_ : QDir::current().absoluteFilePath(fileName_);
    bool readable = true;
    QStringList lines = ReadLines(fileName_, &readable);
    if (!readable) throw Exception(QStringLiteral("Unable to write to ") + path);
    bool changed = false;
    for (const Entry& e : entries) changed = Apply(lines, e.Section, e.Key, e.Value) || changed;
    if (!changed) return;
    QString text;
    for (const QString& line : lines) text += line + QLatin1String("\r\n");
    const QByteArray bytes = AnsiCodec::Encode(text);  // an unencodable character leaves the file alone

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
