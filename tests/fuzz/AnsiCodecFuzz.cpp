// Windows-1251: every byte string decodes one character a byte and encodes back to itself; any
// text encodes exactly when it has no character the code page lacks, and then decodes back.
#include "AnsiCodec.h"
#include "Exceptions.h"
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString text = AnsiCodec::Decode(bytes);
    FUZZ_CHECK(text.size() == bytes.size());
    FUZZ_CHECK(AnsiCodec::FirstUnencodable(text) == -1);
    FUZZ_CHECK(AnsiCodec::Encode(text) == bytes);

    // The same bytes read as UTF-16 code units: any character at all.
    const QString wide(reinterpret_cast<const QChar*>(bytes.constData()), bytes.size() / 2);
    QByteArray out;
    qsizetype bad = -2;
    const bool ok = AnsiCodec::TryEncode(wide, out, &bad);
    FUZZ_CHECK(bad == AnsiCodec::FirstUnencodable(wide));
    FUZZ_CHECK(ok == (bad == -1));
    if (ok) {
        FUZZ_CHECK(AnsiCodec::Decode(out) == wide);
    } else {
        FUZZ_CHECK(bad >= 0 && bad < wide.size());
        FUZZ_CHECK(AnsiCodec::FirstUnencodable(wide.left(bad)) == -1);
        bool threw = false;
        try {
            AnsiCodec::Encode(wide);
        } catch (const EConvertError&) {
            threw = true;
        }
        FUZZ_CHECK(threw);
    }
    return 0;
}
