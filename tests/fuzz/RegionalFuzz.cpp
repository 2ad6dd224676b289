// The regional conversions on any text under several settings: what converts writes back as
// text that reads back to the same value (for numbers of 15 digits, the same text).
#include "FuzzSupport.h"
#include "Regional.h"

#include <cmath>

namespace {

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
    return 0;
}
