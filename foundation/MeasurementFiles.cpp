// The readers and writers of the measurements file, and the measurements index of the map.
#include "MeasurementFiles.h"

#include "DataFileLines.h"
#include "Exceptions.h"

#include <cmath>
#include <cstring>

namespace DataFiles {

using namespace Frame;

namespace {

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

}  // namespace DataFiles
