// The data-file harnesses: any bytes as a data file load without failing; a load that was not
// stopped saves, and that file loads whole again (every identifier read) to the same records;
// a second save writes settled bytes.
#pragma once

#include "DataFiles.h"
#include "Exceptions.h"
#include "FuzzSupport.h"

namespace Fuzz {

// Names the first line where two record lists differ before the check fails.
inline bool SameLines(const QStringList& a, const QStringList& b)
{
    for (qsizetype i = 0; i < qMax(a.size(), b.size()); ++i)
        if (a.value(i) != b.value(i)) {
            std::fprintf(stderr, "record %lld: '%s' then '%s'\n", qlonglong(i), qPrintable(a.value(i).toUtf8().toPercentEncoding(" ;")),
                         qPrintable(b.value(i).toUtf8().toPercentEncoding(" ;")));
            return false;
        }
    return true;
}

// The records as lines, each field without codes up to 32 at its ends: a text cut to its
// field's capacity may end in a blank, which the next read drops (as the original does).
template <class List, class Line>
QStringList LinesOf(const List& list, int first, Line line)
{
    QStringList lines;
    for (int i = first; i < list.Count(); ++i) {
        QStringList fields = line(list.Items(i)).split(QLatin1Char(';'));
        for (QString& f : fields) {
            qsizetype e = f.size();
            while (e > 0 && f[e - 1].unicode() <= 32) --e;
            f.truncate(e);
        }
        lines << fields.join(QLatin1Char(';'));
    }
    return lines;
}

// first is the index of the first record (1 where the windows keep a placeholder at 0).
template <class List, class Load, class Save, class Line>
int RoundTrip(const QString& name, const uint8_t* data, size_t size, int first, Load load, Save save, Line line)
{
    Dir();
    Regional::Set(Regional::Russian());
    const QString path = Put(name, data, size);
    List list;
    if (first) list.Add();
    const DataFiles::LoadResult r = load(path, list);
    FUZZ_CHECK(r.Records == list.Count() - first);
    FUZZ_CHECK(r.Complete == r.Error.isEmpty());
    FUZZ_CHECK(r.BadKeys >= 0 && r.BadKeys <= r.Records);
    if (!r.Complete) return 0;
    const QString copy = Dir() + QStringLiteral("/copy-") + name;
    save(copy, list);
    List again;
    if (first) again.Add();
    const DataFiles::LoadResult r2 = load(copy, again);
    // Every identifier written reads back.
    FUZZ_CHECK(r2.Complete && r2.BadKeys == 0 && r2.Records == r.Records);
    FUZZ_CHECK(SameLines(LinesOf(list, first, line), LinesOf(again, first, line)));
    // From the second writing on, the bytes are settled.
    save(copy, again);
    const QByteArray once = Bytes(copy);
    List third;
    if (first) third.Add();
    FUZZ_CHECK(load(copy, third).Complete);
    save(copy, third);
    FUZZ_CHECK(Bytes(copy) == once);
    return 0;
}

}  // namespace Fuzz
