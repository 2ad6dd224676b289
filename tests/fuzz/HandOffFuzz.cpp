// The report library's reader of the hand-off file: line n is the n-th piece of the file
// between LF (a CR before the LF dropped), read as Windows-1251; past the end, an empty line.
#include "AnsiCodec.h"
#include "ExportFunctions.h"
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fuzz::Dir();
    Fuzz::Put(QStringLiteral("00Korvel.tmp"), data, size);
    QList<QByteArray> lines = QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)).split('\n');
    if (lines.last().isEmpty()) lines.removeLast();
    for (int i = 0; i <= qMin(int(lines.size()), 40); ++i) {
        QString line = QStringLiteral("x");
        ReadTempLine(0, i, line);
        QByteArray expected = i < lines.size() ? lines[i] : QByteArray();
        if (expected.endsWith('\r')) expected.chop(1);
        FUZZ_CHECK(line == AnsiCodec::Decode(expected));
    }
    return 0;
}
