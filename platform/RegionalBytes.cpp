// The cold parts of the byte conversions: compiling the formats, and the texts that go the regional way.
#include "RegionalBytes.h"

namespace RegionalBytes {

NumericFormat::NumericFormat(const QString& format, const char* kinds)
{
    int seen[3] = {0, 0, 0};
    bool lastNumeric = false;
    for (qsizetype i = 0; i < format.size();) {
        const QChar ch = format.at(i);
        if (ch.isLetter()) {
            qsizetype run = 1;
            while (i + run < format.size() && format.at(i + run) == ch) ++run;
            const char* k = ch.unicode() < 128 ? std::strchr(kinds, char(ch.unicode())) : nullptr;
            const bool year = ch == QLatin1Char('y');
            if (!k || *k == 0 || lastNumeric || (year ? run != 4 : run > 2) || count_ == MaxTokens) return;
            const int index = int(k - kinds);
            ++seen[index];
            tokens_[count_++] = Token{static_cast<signed char>(index), int(run), 0};
            lastNumeric = true;
            i += run;
        } else {
            if (ch.unicode() >= 128 || ch.isDigit() || ch == QLatin1Char('\'') || count_ == MaxTokens) return;
            tokens_[count_++] = Token{-1, 0, char(ch.unicode())};
            lastNumeric = false;
            ++i;
        }
    }
    ok_ = seen[0] == 1 && seen[1] == 1 && seen[2] == 1;
}

Converter::Converter()
    : settings_(Regional::Current()),
      date_(settings_.ShortDateFormat, "dMy"),
      time_(settings_.LongTimeFormat, "Hms")
{
    QByteArray byte;
    if (AnsiCodec::TryEncode(QString(settings_.DecimalSeparator), byte) && byte.size() == 1 &&
        byte[0] != '-' && !(byte[0] >= '0' && byte[0] <= '9')) {
        decimalOk_ = true;
        decimal_ = byte[0];
    }
}

char* Converter::PutText(ByteSink& sink, char* p, const QString& text)
{
    const QByteArray bytes = AnsiCodec::Encode(text);
    sink.Commit(p);
    sink.Append(bytes.constData(), size_t(bytes.size()));
    return sink.Room(256);
}

}  // namespace RegionalBytes
