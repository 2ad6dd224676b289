// The field splitter against the plain reading of its rule: the n-th piece between delimiters,
// without leading and trailing codes up to 32, at most 256 characters.
#include "AnsiCodec.h"
#include "DefFun.h"
#include "FuzzSupport.h"

namespace {

QString Trimmed(const QString& s)
{
    qsizetype b = 0, e = s.size();
    while (b < e && s[b].unicode() <= 32) ++b;
    while (e > b && s[e - 1].unicode() <= 32) --e;
    return s.mid(b, e - b).left(256);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2) return 0;
    // First byte: the field number (-2 .. 13); second: the delimiter (0: none, 1: two characters).
    const int fieldNo = int(data[0] % 16) - 2;
    const QString line = AnsiCodec::Decode(reinterpret_cast<const char*>(data + 2), qsizetype(size - 2));
    const QString delimiter = data[1] == 0 ? QString() : data[1] == 1 ? QStringLiteral(";;")
                                                                      : AnsiCodec::Decode(reinterpret_cast<const char*>(data + 1), 1);
    const QString field = GetFieldNo(fieldNo, line, delimiter);

    QString expected;
    if (delimiter.size() != 1) {
        expected = fieldNo <= 1 ? Trimmed(line) : QString();  // the whole line is the one field
    } else if (fieldNo < 1) {
        expected = Trimmed(QString(line).remove(delimiter[0]));
    } else {
        const QStringList pieces = line.split(delimiter[0]);
        expected = fieldNo <= pieces.size() ? Trimmed(pieces[fieldNo - 1]) : QString();
    }
    FUZZ_CHECK(field == expected);
    return 0;
}
