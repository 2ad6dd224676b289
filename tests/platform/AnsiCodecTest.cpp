// Windows-1251 conversion: every byte survives, the fast path agrees with the table, bad characters are caught.
#include "AnsiCodec.h"
#include "Faults.h"

#include <gtest/gtest.h>

TEST(AnsiCodec, EveryByteRoundTripsAndRussianTextUsesItsCodePage)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b) all.append(char(b));
    const QString text = AnsiCodec::Decode(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(AnsiCodec::Encode(text), all);
    EXPECT_EQ(AnsiCodec::FirstUnencodable(text), -1);
    // The unassigned byte 0x98 keeps a character of its own.
    const std::pair<int, char16_t> samples[] = {{0x98, 0x0098}, {0xA8, u'Ё'}, {0xB8, u'ё'}, {0xB9, u'№'},
                                                {0x88, u'€'},   {0xC0, u'А'}, {0xFF, u'я'}, {0xA0, 0x00A0}};
    for (const auto& [byte, c] : samples) EXPECT_EQ(text[byte].unicode(), c) << byte;

    EXPECT_EQ(AnsiCodec::Encode(u"Москва;12"), QByteArray("\xCC\xEE\xF1\xEA\xE2\xE0;12"));
    EXPECT_EQ(AnsiCodec::Decode(QByteArray("\xCC\xEE\xF1\xEA\xE2\xE0")), QStringLiteral("Москва"));
    EXPECT_TRUE(AnsiCodec::Decode(QByteArray()).isEmpty());
}

// The eight-byte ASCII path must hand over to the table at any offset, and stop at the end.
TEST(AnsiCodec, FastPathAgreesWithTheTable)
{
    for (int len = 1; len <= 40; ++len)
        for (int pos = 0; pos < len; ++pos) {
            QByteArray bytes(len, 'a');
            bytes[pos] = char(0xE9);  // й
            QString expected(len, QLatin1Char('a'));
            expected[pos] = u'й';
            ASSERT_EQ(AnsiCodec::Decode(bytes), expected) << len << " " << pos;
        }
    QByteArray bytes;
    for (int i = 0; bytes.size() < (4 << 20); ++i) bytes += i % 7 ? "12;Moscow;0,5;25.03.2006\r\n" : "\xCC\xEE\xF1\xEA\xE2\xE0;\x98\r\n";
    EXPECT_EQ(AnsiCodec::Encode(AnsiCodec::Decode(bytes)), bytes);
}

TEST(AnsiCodec, UnencodableCharacterIsReportedNotReplaced)
{
    const QString text = QStringLiteral("Регион Ω и 日");
    EXPECT_EQ(AnsiCodec::FirstUnencodable(text), 7);
    QByteArray out("untouched");
    qsizetype bad = 0;
    EXPECT_FALSE(AnsiCodec::TryEncode(text, out, &bad));
    EXPECT_TRUE(bad == 7 && out == "untouched") << bad;
    const QString message = MessageOf<EConvertError>([&] { AnsiCodec::Encode(text); });
    EXPECT_TRUE(message.contains(QStringLiteral("'Ω'")) && message.contains(QStringLiteral("U+03A9"))) << message.toStdString();
    // A character outside the basic plane is named whole.
    EXPECT_TRUE(MessageOf<EConvertError>([] { AnsiCodec::Encode(QStringLiteral("a😀")); }).contains(QStringLiteral("U+1F600")));
}
