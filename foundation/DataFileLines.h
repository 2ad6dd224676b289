// The rules every data file shares: file names, the delimiter check, the skip rule, the atomic
// write, the error paths; and the frame in which the layout units beside it read and write lines.
#pragma once

#include "DefFun.h"
#include "Exceptions.h"
#include "RegionalBytes.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cstring>

namespace DataFiles {

inline const QString RegionsFile = QStringLiteral("ksRegions.txt");
inline const QString FederalPartsFile = QStringLiteral("ksFederalParts.txt");
inline const QString ResearchRegisterFile = QStringLiteral("ksResearchRegister.txt");
inline const QString MeasurementsFile = QStringLiteral("ksMesurements.txt");
inline const QString LinksToMapFile = QStringLiteral("ksLinksToMap.txt");

// AppConfig->DBPath + "/" + fileName.
QString PathOf(const QString& fileName);

// Empty when the delimiter can separate fields: exactly one character, in Windows-1251, and
// none the program writes inside a field (a digit, "+", "-", "E", "e", the decimal separator,
// a character of the date or time format of the current regional settings). Otherwise the
// warning naming the problem or the character.
QString DelimiterProblem(const QString& delimiter);
// True when AppConfig->Delimiter is usable. Otherwise CheckDelimiter shows the warning of
// DelimiterProblem and returns false, and the caller leaves its file alone.
bool DelimiterUsable();
bool CheckDelimiter();
// The warning for an empty or longer delimiter.
extern const QString DelimiterWarning;

// How a load ended. Complete is false when a conversion that the layout does not guard
// stopped it: the list holds the records read before it and, last, the stopping line's record,
// filled only up to the failing field; the file must not be written back.
struct LoadResult {
    bool Complete = true;
    int Records = 0;        // records appended
    QString Error;          // the stopping conversion's message
    // Record lines of a table file whose identifier is not an integer (reported, kept with ID 0):
    // such a file is not read whole either, as writing it back would lose the identifiers.
    int BadKeys = 0;
};

// Readers that return a LoadResult report a refused delimiter as an incomplete load; the
// other readers and every writer throw EInOutError with the text of DelimiterProblem.

// True for the lines every reader skips: empty, starting with the delimiter or with "#".
bool IsSkipped(QStringView line);
// Writes the lines (each followed by CR LF) to a temporary file and renames it over path.
// Throws EInOutError (the file untouched) when anything fails; EConvertError when a line
// holds a character that Windows-1251 cannot hold.
void WriteLinesAtomic(const QString& path, const QStringList& lines);

// The key-field error path shared by the loaders: "ОШИБКА! " + message in the log, and the
// error box "Ошибка доступа к файлу!" + line break + message.
void ReportKeyFieldError(const QString& message);
// A failed save: "ОШИБКА! " + message in the log (when it can be written), and the error box
// "При сохранении данных произошла ошибка!" + line break + message.
void ReportSaveError(const QString& message);

// The frame of the layout units of this folder (their readers and writers use it; windows do not).
namespace Frame {

using AnsiCodec::Decode;
using RegionalBytes::Converter;

// The delimiter and comment character as Windows-1251 bytes, taken once per file.
struct Layout {
    bool Usable = false;
    char Delimiter = 0;
    bool HasComment = false;
    char Comment = '#';
    QString DelimiterText;
    QString Problem;  // why the delimiter is refused

    Layout();
    bool Skipped(const char* line, qsizetype size) const
    {
        return size == 0 || line[0] == Delimiter || (HasComment && line[0] == Comment);
    }
    FieldCursor<char> Fields(const char* line, qsizetype size) const
    {
        return FieldCursor<char>(line, size, Delimiter, true);
    }
};

// A usable layout; EInOutError with the text of DelimiterProblem otherwise.
Layout UsableLayout();

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
    bool Open(const QString& path);
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
            block = std::min(block * 2, qsizetype(1) << 18);
            if (got < 0) ReadFailed();
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
    [[noreturn]] void ReadFailed() const;
    QFile file_;
    qsizetype size_ = 0;
};

// Writes the bytes to a temporary file and renames it over path; EInOutError (the file
// untouched) when anything fails.
void WriteBytesAtomic(const QString& path, const char* data, qsizetype size);

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
bool ReadKey(const Converter& conv, const char* s, qsizetype n, int32_t& id);

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
    // The identifier in field 1, raising the list's MaxID when it converted; false when it did not.
    template <class List>
    bool Key(List& list, int32_t& id)
    {
        if (!Key(id)) return false;
        if (id > list.MaxID) list.MaxID = id;
        return true;
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
        if (!fields.Key(list, r.ID)) ++result.BadKeys;
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

// The fields joined by the delimiter of the settings: a line of a table file.
QString Joined(std::initializer_list<QString> fields);

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

}  // namespace Frame

}  // namespace DataFiles
