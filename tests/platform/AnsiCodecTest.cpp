// Windows-1251 conversion: every byte survives, the fast path agrees with the table, bad characters are caught.
#include "AnsiCodec.h"
#include "Exceptions.h"

#include <gtest/gtest.h>

TEST(AnsiCodec, EveryByteRoundTrips)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b) all.append(char(b));
    const QString text = AnsiCodec::Decode(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(AnsiCodec::Encode(text), all);
    EXPECT_EQ(AnsiCodec::FirstUnencodable(text), -1);
    // The unassigned byte keeps a character of its own.
    EXPECT_EQ(text[0x98].unicode(), 0x0098);
    EXPECT_EQ(text[0xA8], QChar(u'Ё'));
    EXPECT_EQ(text[0xB8], QChar(u'ё'));
    EXPECT_EQ(text[0xB9], QChar(u'№'));
    EXPECT_EQ(text[0x88], QChar(u'€'));
    EXPECT_EQ(text[0xC0], QChar(u'А'));
    EXPECT_EQ(text[0xFF], QChar(u'я'));
    EXPECT_EQ(text[0xA0].unicode(), 0x00A0);
}

TEST(AnsiCodec, RussianTextEncodesToItsCodePage)
{
    EXPECT_EQ(AnsiCodec::Encode(u"Москва;12"), QByteArray("\xCC\xEE\xF1\xEA\xE2\xE0;12"));
    EXPECT_EQ(AnsiCodec::Decode(QByteArray("\xCC\xEE\xF1\xEA\xE2\xE0")), QStringLiteral("Москва"));
    EXPECT_TRUE(AnsiCodec::Decode(QByteArray()).isEmpty());
}

// The eight-byte ASCII path must hand over to the table at any offset, and stop at the end.
TEST(AnsiCodec, HighBytesAtEveryOffsetDecode)
{
    for (int len = 1; len <= 40; ++len) {
        for (int pos = 0; pos < len; ++pos) {
            QByteArray bytes(len, 'a');
            bytes[pos] = char(0xE9);  // й
            const QString text = AnsiCodec::Decode(bytes);
            ASSERT_EQ(text.size(), len);
            for (int i = 0; i < len; ++i) ASSERT_EQ(text[i], i == pos ? QChar(u'й') : QChar(u'a')) << len << " " << pos;
        }
    }
}

TEST(AnsiCodec, UnencodableCharacterIsReportedNotReplaced)
{
    const QString text = QStringLiteral("Регион Ω и 日");
    EXPECT_EQ(AnsiCodec::FirstUnencodable(text), 7);
    QByteArray out("untouched");
    qsizetype bad = 0;
    EXPECT_FALSE(AnsiCodec::TryEncode(text, out, &bad));
    EXPECT_EQ(bad, 7);
    EXPECT_EQ(out, QByteArray("untouched"));
    try {
        AnsiCodec::Encode(text);
        FAIL() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_TRUE(e.Message.contains(QStringLiteral("'Ω'"))) << e.Message.toStdString();
        EXPECT_TRUE(e.Message.contains(QStringLiteral("U+03A9"))) << e.Message.toStdString();
    }
    // A character outside the basic plane is named whole.
    try {
        AnsiCodec::Encode(QStringLiteral("a😀"));
        FAIL() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_TRUE(e.Message.contains(QStringLiteral("U+1F600"))) << e.Message.toStdString();
    }
}

TEST(AnsiCodec, LargeMixedBufferRoundTrips)
{
    QByteArray bytes;
    bytes.reserve(4 << 20);
    for (int i = 0; bytes.size() < (4 << 20); ++i) bytes += i % 7 ? "12;Moscow;0,5;25.03.2006\r\n" : "\xCC\xEE\xF1\xEA\xE2\xE0;\x98\r\n";
    EXPECT_EQ(AnsiCodec::Encode(AnsiCodec::Decode(bytes)), bytes);
}
