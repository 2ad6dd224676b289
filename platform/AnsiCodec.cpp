// Windows-1251 both ways through one 128-entry table of the upper half; the lower half is ASCII.
#include "AnsiCodec.h"

#include "Exceptions.h"

#include <array>
#include <cstring>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace AnsiCodec {

namespace {

// Bytes 0x80..0xFF. 0x98 is unassigned in the code page; it stands for U+0098 so that it survives.
constexpr char16_t UpperHalf[128] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // B8
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,  // C0
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,  // C8
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,  // D0
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,  // D8
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,  // E0
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,  // E8
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,  // F0
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,  // F8
};

// The reverse of the upper half, for the characters below U+2200 (all of them are); 0 = no byte.
struct ReverseTable {
    std::array<quint8, 0x2200> bytes{};
    ReverseTable()
    {
        for (int i = 0; i < 128; ++i) bytes[UpperHalf[i]] = quint8(0x80 + i);
    }
};

const ReverseTable& Reverse()
{
    static const ReverseTable table;
    return table;
}

// The byte of one character, or -1 when the code page has none.
inline int ByteOf(char16_t c, const ReverseTable& rev)
{
    if (c < 0x80) return c;
    if (c < rev.bytes.size() && rev.bytes[c] != 0) return rev.bytes[c];
    return -1;
}

constexpr quint64 HighBits = 0x8080808080808080ULL;

}  // namespace

QString Decode(const QByteArray& bytes)
{
    return Decode(bytes.constData(), bytes.size());
}

QString Decode(const char* data, qsizetype size)
{
    if (size <= 0) return QString();
    QString result(size, Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(result.data());
    const auto* in = reinterpret_cast<const unsigned char*>(data);
    qsizetype i = 0;
    while (i < size) {
        // Data files are mostly ASCII: widen a block at a time while no high bit is set.
#ifdef __SSE2__
        while (i + 16 <= size) {
            const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
            if (_mm_movemask_epi8(block)) break;
            const __m128i zero = _mm_setzero_si128();
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_unpacklo_epi8(block, zero));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i + 8), _mm_unpackhi_epi8(block, zero));
            i += 16;
        }
#endif
        while (i + 8 <= size) {
            quint64 word;
            std::memcpy(&word, in + i, 8);
            if (word & HighBits) break;
            for (int k = 0; k < 8; ++k) out[i + k] = in[i + k];
            i += 8;
        }
        if (i >= size) break;
        const unsigned char b = in[i];
        out[i] = b < 0x80 ? char16_t(b) : UpperHalf[b - 0x80];
        ++i;
    }
    return result;
}

qsizetype FirstUnencodable(QStringView text)
{
    const ReverseTable& rev = Reverse();
    const char16_t* p = text.utf16();
    for (qsizetype i = 0, n = text.size(); i < n; ++i)
        if (ByteOf(p[i], rev) < 0) return i;
    return -1;
}

bool TryEncode(QStringView text, QByteArray& out, qsizetype* badIndex)
{
    const ReverseTable& rev = Reverse();
    const qsizetype n = text.size();
    QByteArray bytes(n, Qt::Uninitialized);
    char* dst = bytes.data();
    const char16_t* p = text.utf16();
    for (qsizetype i = 0; i < n; ++i) {
        const int b = ByteOf(p[i], rev);
        if (b < 0) {
            if (badIndex) *badIndex = i;
            return false;
        }
        dst[i] = char(b);
    }
    out = std::move(bytes);
    if (badIndex) *badIndex = -1;
    return true;
}

QByteArray Encode(QStringView text)
{
    QByteArray out;
    qsizetype bad = -1;
    if (!TryEncode(text, out, &bad)) {
        // Name the whole character: a surrogate pair is one character to the user.
        qsizetype len = 1;
        if (QChar::isHighSurrogate(text[bad].unicode()) && bad + 1 < text.size() &&
            QChar::isLowSurrogate(text[bad + 1].unicode()))
            len = 2;
        const QString ch = text.mid(bad, len).toString();
        const uint code = len == 2 ? QChar::surrogateToUcs4(text[bad], text[bad + 1]) : text[bad].unicode();
        throw EConvertError(QStringLiteral("The character '%1' (U+%2) cannot be written in the Windows-1251 code page")
                                .arg(ch)
                                .arg(QString::number(code, 16).toUpper().rightJustified(4, QLatin1Char('0'))));
    }
    return out;
}

}  // namespace AnsiCodec
