#include "PrintTestSupport.h"

#include "Exceptions.h"

#include <QFile>
#include <QPainter>

namespace {

void PrintOneDocument(const QString& title = QString())
{
    Printer().Title = title;
    Printer().BeginDoc();
    Printer().Canvas()->drawText(100, 100, QStringLiteral("x"));
    Printer().EndDoc();
}

}  // namespace

TEST_F(PrintingTest, PdfPrinterIsListedLastAndMeasuresA4At600Dpi)
{
    TPrinter& p = Printer();
    EXPECT_EQ(p.Printers().last(), QStringLiteral("PDF"));
    EXPECT_TRUE(p.IsPdf());
    EXPECT_EQ(p.PrinterName(), QStringLiteral("PDF"));
    EXPECT_EQ(p.LogPixelsX(), 600);
    EXPECT_EQ(p.LogPixelsY(), 600);
    // 595 × 842 points.
    EXPECT_EQ(p.PhysicalWidth(), 4958);
    EXPECT_EQ(p.PhysicalHeight(), 7017);
    EXPECT_EQ(p.PhysicalOffsetX(), 0);
    EXPECT_EQ(p.PhysicalOffsetY(), 0);
    EXPECT_EQ(p.PageWidth(), 4958);
    EXPECT_EQ(p.PageHeight(), 7017);
    EXPECT_EQ(p.PaperSize(), DMPAPER_A4);
    EXPECT_EQ(p.Orientation(), DMORIENT_PORTRAIT);
}

TEST_F(PrintingTest, PaperCodesAndOrientationMapToThePage)
{
    TPrinter& p = Printer();
    for (int code : {DMPAPER_LETTER, DMPAPER_LEGAL, DMPAPER_A3, DMPAPER_A5, DMPAPER_A4}) {
        p.SetPaperSize(code);
        EXPECT_EQ(p.PaperSize(), code);
    }
    p.SetPaperSize(DMPAPER_A3);
    EXPECT_EQ(p.PhysicalWidth(), 7017);
    p.SetOrientation(DMORIENT_LANDSCAPE);
    EXPECT_EQ(p.Orientation(), DMORIENT_LANDSCAPE);
    EXPECT_EQ(p.PaperSize(), DMPAPER_A3);
    EXPECT_EQ(p.PhysicalWidth(), 9925);
    EXPECT_EQ(p.PhysicalHeight(), 7017);
    EXPECT_THROW(p.SetPaperSize(70), EPrinter);
    EXPECT_THROW(p.SetPrinterIndex(int(p.Printers().size())), EPrinter);
}

TEST_F(PrintingTest, DocumentCallsOutOfOrderRaise)
{
    TPrinter& p = Printer();
    EXPECT_THROW(p.NewPage(), EPrinter);
    EXPECT_THROW(p.EndDoc(), EPrinter);
    EXPECT_THROW(p.Canvas(), EPrinter);
    p.BeginDoc();
    EXPECT_TRUE(p.Printing());
    EXPECT_EQ(p.PageNumber(), 1);
    EXPECT_THROW(p.SetOrientation(DMORIENT_LANDSCAPE), EPrinter);
    EXPECT_THROW(p.BeginDoc(), EPrinter);
    p.NewPage();
    EXPECT_EQ(p.PageNumber(), 2);
    p.EndDoc();
    EXPECT_FALSE(p.Printing());
    EXPECT_EQ(PdfPages(Path(QStringLiteral("out.pdf"))), 2);
}

TEST_F(PrintingTest, UnattendedDocumentsAreNumberedAndTitled)
{
    PrintOneDocument(QStringLiteral("Кестрова"));
    PrintOneDocument();
    PrintOneDocument();
    EXPECT_TRUE(QFile::exists(Path(QStringLiteral("out.pdf"))));
    EXPECT_TRUE(QFile::exists(Path(QStringLiteral("out-2.pdf"))));
    EXPECT_TRUE(QFile::exists(Path(QStringLiteral("out-3.pdf"))));
    EXPECT_EQ(Printer().LastOutputFile(), Path(QStringLiteral("out-3.pdf")));
    EXPECT_TRUE(dialogs->FileRequests.isEmpty());
    EXPECT_TRUE(Run(QStringLiteral("pdfinfo"), {Path(QStringLiteral("out.pdf"))}).contains(QStringLiteral("Кестрова")));
}

TEST_F(PrintingTest, UnwritableFileRaisesAndLeavesThePrinterIdle)
{
    qputenv("KESTROVA_PDF", Path(QStringLiteral("missing/dir/out.pdf")).toLocal8Bit());
    EXPECT_THROW(Printer().BeginDoc(), EPrinter);
    EXPECT_FALSE(Printer().Printing());
    // The printer works again afterwards.
    qputenv("KESTROVA_PDF", Path(QStringLiteral("ok.pdf")).toLocal8Bit());
    PrintOneDocument();
    EXPECT_EQ(PdfPages(Path(QStringLiteral("ok.pdf"))), 1);
}

TEST_F(PrintingTest, CanvasOriginIsThePrintableAreaCorner)
{
    Printer().BeginDoc();
    QPainter* canvas = Printer().Canvas();
    ASSERT_NE(canvas, nullptr);
    EXPECT_EQ(canvas->device()->logicalDpiX(), 600);
    EXPECT_EQ(canvas->device()->width(), Printer().PageWidth());
    Printer().EndDoc();
}
