// The regional conversions on any text under several settings: what converts writes back as
// text that reads back to the same value (for numbers of 15 digits, the same text); and the byte
// conversions of the data files read the text's bytes and write the values as Regional does.
#include "AnsiCodec.h"
#include "Exceptions.h"
#include "FuzzSupport.h"
#include "Regional.h"
#include "RegionalBytes.h"

#include <cmath>

namespace {

// A conversion's result as text: the value's bits, or the message it failed with.
template <class F>
QByteArray Outcome(F&& convert)
{
    try {
        const double v = double(convert());
        return QByteArray(reinterpret_cast<const char*>(&v), sizeof v);
    } catch (const EConvertError& e) {
        return e.Message.toUtf8();
    }
}

// What a writer of the converter puts down, against Regional's text in Windows-1251.
template <class Put>
bool WritesAs(Put&& put, const QString& text)
{
    ByteSink sink;
    QByteArray written, expected;
    try {
        sink.Commit(put(sink, sink.Room(256)));
        written = QByteArray(sink.Data(), sink.Size());
    } catch (const EConvertError& e) {
        written = e.Message.toUtf8();
    }
    try {
        expected = AnsiCodec::Encode(text);
    } catch (const EConvertError& e) {
        expected = e.Message.toUtf8();
    }
    return written == expected;
}

Regional::Settings SettingsOf(uint8_t which)
{
    Regional::Settings s = which % 4 == 1 ? Regional::Russian() : Regional::Neutral();
    if (which % 4 == 2) {
        s.ShortDateFormat = QStringLiteral("yyyy. MM. dd.");
        s.LongTimeFormat = QStringLiteral("h:mm:ss AP");
    } else if (which % 4 == 3) {
        s.ShortDateFormat = QStringLiteral("M/d/yyyy");
        s.LongTimeFormat = QStringLiteral("H.mm.ss");
        s.DecimalSeparator = QChar(0x066B);  // the Arabic decimal separator
    }
    return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1) return 0;
    Regional::Set(SettingsOf(data[0]));
    // The rest as UTF-8 text, as typed into a dialog or read from a file.
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));

    int i = 0;
    if (Regional::TryStrToInt(text, i)) {
        int back = 0;
        FUZZ_CHECK(Regional::TryStrToInt(Regional::IntToStr(i), back) && back == i);
    }
    double f = 0;
    if (Regional::TryStrToFloat(text, f)) {
        FUZZ_CHECK(std::isfinite(f));
        const QString written = Regional::FloatToStr(f);
        double back = 0;
        FUZZ_CHECK(Regional::TryStrToFloat(written, back));
        FUZZ_CHECK(Regional::FloatToStr(back) == written);
        FUZZ_CHECK(std::fabs(back - f) <= std::fabs(f) * 5.2e-15 + 5e-324);
    }
    TDateTime d = 0;
    if (Regional::TryStrToDate(text, d)) {
        TDateTime back = -1;
        FUZZ_CHECK(Regional::TryStrToDate(Regional::DateToStr(d), back) && back == d);
    }
    TDateTime t = 0;
    if (Regional::TryStrToTime(text, t)) {
        FUZZ_CHECK(t >= 0 && t < 1);
        const QString written = Regional::TimeToStr(t);
        TDateTime back = -1;
        FUZZ_CHECK(Regional::TryStrToTime(written, back));
        FUZZ_CHECK(Regional::TimeToStr(back) == written);
    }

    QByteArray bytes;
    if (AnsiCodec::TryEncode(text, bytes)) {
        const RegionalBytes::Converter conv;
        const char* s = bytes.constData();
        const qsizetype n = bytes.size();
        FUZZ_CHECK(Outcome([&] { return conv.Int(s, n); }) == Outcome([&] { return Regional::StrToInt(text); }));
        FUZZ_CHECK(Outcome([&] { return conv.Date(s, n); }) == Outcome([&] { return Regional::StrToDate(text); }));
        FUZZ_CHECK(Outcome([&] { return conv.Time(s, n); }) == Outcome([&] { return Regional::StrToTime(text); }));
        FUZZ_CHECK(Outcome([&] { return conv.Float(s, n); }) == Outcome([&] { return Regional::StrToFloat(text); }));
        FUZZ_CHECK(WritesAs([&](ByteSink&, char* p) { return conv.PutInt(p, i); }, Regional::IntToStr(i)));
        FUZZ_CHECK(WritesAs([&](ByteSink& sink, char* p) { return conv.PutFloat(sink, p, f); }, Regional::FloatToStr(f)));
        FUZZ_CHECK(WritesAs([&](ByteSink& sink, char* p) { return conv.PutDate(sink, p, d); }, Regional::DateToStr(d)));
        FUZZ_CHECK(WritesAs([&](ByteSink& sink, char* p) { return conv.PutTime(sink, p, t); }, Regional::TimeToStr(t)));
    }
    return 0;
}
