// The printer object's paper codes: Windows codes through Qt's page sizes and back.
#include "Exceptions.h"
#include "Printer.h"

#include <gtest/gtest.h>

namespace {

TEST(PrinterTest, EveryWindowsPaperCodeRoundTripsAndAnUnknownOneIsRefused)
{
    TPrinter& printer = Printer();
    printer.SetPrinterIndex(printer.Printers().indexOf(QStringLiteral("PDF")));
    // Letter, Tabloid, Legal, Executive, A3, A4, A5, B4 and B5 (JIS), #10, DL, C5, B5 envelope,
    // Monarch, ISO B5, A6.
    for (int code : {1, 3, 5, 7, 8, 9, 11, 12, 13, 20, 27, 28, 34, 37, 70}) {
        printer.SetPaperSize(code);
        EXPECT_EQ(printer.PaperSize(), code);
    }
    printer.SetPaperSize(8);
    printer.SetOrientation(DMORIENT_LANDSCAPE);
    EXPECT_GT(printer.PhysicalWidth(), printer.PhysicalHeight());  // A3 on its side
    printer.SetOrientation(DMORIENT_PORTRAIT);
    for (int code : {0, -1, 100000}) EXPECT_THROW(printer.SetPaperSize(code), EPrinter) << code;
    EXPECT_EQ(printer.PaperSize(), 8);
    printer.SetPaperSize(DMPAPER_A4);
}

}  // namespace
