#include "PrintTestSupport.h"

#include "Exceptions.h"

namespace {

void PrintOneDocument(const QString& title = QString())
{
    Printer().Title = title;
    Printer().BeginDoc();
    Printer().Canvas()->drawText(100, 100, QStringLiteral("x"));
    Printer().EndDoc();
}

}  // namespace

TEST_F(PrintingTest, PdfPrinterMeasuresThePaperAt600DpiAndRefusesCallsOutOfOrder)
{
    TPrinter& p = Printer();
    EXPECT_TRUE(p.IsPdf() && p.Printers().last() == QStringLiteral("PDF"));
    // A4 is 595 × 842 points; the printable area is the whole sheet.
    const QList<int> a4{p.LogPixelsX(), p.LogPixelsY(), p.PhysicalWidth(), p.PhysicalHeight(), p.PhysicalOffsetX(),
                        p.PhysicalOffsetY(), p.PageWidth(), p.PageHeight()};
    EXPECT_EQ(a4, (QList<int>{600, 600, 4958, 7017, 0, 0, 4958, 7017}));
    EXPECT_THROW(p.NewPage(), EPrinter);
    EXPECT_THROW(p.EndDoc(), EPrinter);
    EXPECT_THROW(p.Canvas(), EPrinter);
    p.BeginDoc();
    EXPECT_THROW(p.SetOrientation(DMORIENT_LANDSCAPE), EPrinter);
    EXPECT_THROW(p.BeginDoc(), EPrinter);
    p.NewPage();
    p.EndDoc();
    EXPECT_FALSE(p.Printing());
    EXPECT_EQ(PdfPages("out.pdf"), 2);
    p.SetPaperSize(DMPAPER_A3); p.SetOrientation(DMORIENT_LANDSCAPE);
    EXPECT_EQ(QSize(p.PhysicalWidth(), p.PhysicalHeight()), QSize(9925, 7017));  // A3 across
    EXPECT_THROW(p.SetPrinterIndex(int(p.Printers().size())), EPrinter);
}

TEST_F(PrintingTest, EveryWindowsPaperCodeRoundTripsAndAnUnknownOneIsRefused)
{
    TPrinter& p = Printer();
    // Letter, Tabloid, Legal, Executive, A3, A4, A5, B4 and B5 (JIS), #10, DL, C5, B5 envelope,
    // Monarch, ISO B5, A6.
    for (int code : {1, 3, 5, 7, 8, 9, 11, 12, 13, 20, 27, 28, 34, 37, 70}) {
        p.SetPaperSize(code);
        EXPECT_EQ(p.PaperSize(), code);
    }
    for (int code : {0, -1, 100000}) EXPECT_THROW(p.SetPaperSize(code), EPrinter) << code;
    EXPECT_EQ(p.PaperSize(), 70);
}

TEST_F(PrintingTest, UnattendedDocumentsAreNumberedAndTitledAndAnUnwritableFileRaises)
{
    for (const QString& title : {QStringLiteral("Кестрова"), QString(), QString()}) PrintOneDocument(title);
    for (const char* name : {"out.pdf", "out-2.pdf", "out-3.pdf"}) EXPECT_EQ(PdfPages(name), 1) << name;
    EXPECT_TRUE(dialogs_->FileRequests.isEmpty());
    EXPECT_TRUE(Run(QStringLiteral("pdfinfo"), {Path("out.pdf")}).contains(QStringLiteral("Кестрова")));
    // A file that cannot be written raises and leaves the printer idle and usable.
    SetPdfFile("missing/dir/out.pdf");
    EXPECT_THROW(Printer().BeginDoc(), EPrinter);
    EXPECT_FALSE(Printer().Printing());
    SetPdfFile("ok.pdf");
    PrintOneDocument();
    EXPECT_EQ(PdfPages("ok.pdf"), 1);
}

TEST(MetaPages, PagesCheckTheirIndexAndLeaveNoDanglingCurrentPages)
{
    auto* owner = new QObject;
    CurrentPages = new TMetaPages(owner);
    QPicture* first = CurrentPages->AddPage();
    EXPECT_EQ(CurrentPages->Pages(0), first);
    EXPECT_THROW(CurrentPages->Pages(1), EListError);
    EXPECT_THROW(CurrentPages->Pages(-1), EListError);
    delete owner;  // the job goes with its owner
    EXPECT_EQ(CurrentPages, nullptr);
}

// A page recorded in device pixels lands on the same pixels whatever the device's resolution.
TEST(MetaPages, ReplayIsOneUnitPerDevicePixelAtAnyResolution)
{
    QPicture page;
    QPainter(&page).fillRect(QRect(100, 50, 200, 80), Qt::black);
    for (int dpi : {96, 300, 600, 1200}) {
        const QImage image = Painted({400, 200}, [&](QPainter& p) { ReplayPage(p, page); }, dpi);
        // Corners inside are black, their neighbours outside white.
        QList<int> grays;
        for (QPoint at : {QPoint(100, 50), QPoint(299, 129), QPoint(99, 50), QPoint(300, 129), QPoint(299, 130)}) grays << qGray(image.pixel(at));
        EXPECT_EQ(grays, (QList<int>{0, 0, 255, 255, 255})) << dpi;
    }
}

// The one print dialog of the program and the report library: filled from the printer object,
// and the printer chosen in it becomes the one the document goes to.
TEST_F(PrintingTest, PrintDialogListsThePrintersWithTheCurrentOneAndMakesTheChoiceCurrent)
{
    TPrinter& p = Printer();
    const QStringList printers = p.Printers();
    const int pdf = int(printers.size()) - 1;
    p.SetPrinterIndex(0);
    Dialogs::PrintRequest request;
    request.MinPage = 1;
    request.MaxPage = 4;
    dialogs_->PrintAnswers = {[&](Dialogs::PrintRequest& r) { r.PrinterIndex = pdf; r.AllPages = false; r.FromPage = 2; r.ToPage = 3; return true; },
                              [](Dialogs::PrintRequest& r) { r.PrinterIndex = 0; return false; }};
    ASSERT_TRUE(Dialogs::ExecutePrintDialog(request));
    ASSERT_EQ(dialogs_->PrintRequests.size(), 1);
    EXPECT_EQ(dialogs_->PrintRequests[0].Printers, printers);
    EXPECT_TRUE(printers.contains(QStringLiteral("PDF")));
    EXPECT_EQ(dialogs_->PrintRequests[0].PrinterIndex, 0);
    EXPECT_EQ(p.PrinterIndex(), pdf);
    EXPECT_EQ(p.PrinterName(), QStringLiteral("PDF"));
    EXPECT_EQ(QList<int>({request.FirstPage(), request.LastPage()}), QList<int>({2, 3}));
    request.AllPages = true;
    EXPECT_EQ(QList<int>({request.FirstPage(), request.LastPage()}), QList<int>({1, 4}));
    // A cancelled dialog leaves the current printer alone.
    EXPECT_FALSE(Dialogs::ExecutePrintDialog(request));
    EXPECT_EQ(dialogs_->PrintRequests[1].PrinterIndex, pdf);
    EXPECT_EQ(p.PrinterIndex(), pdf);
}
