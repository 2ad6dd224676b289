#include "PrintTestSupport.h"

#include "Exceptions.h"

#include <QImage>
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

TEST_F(PrintingTest, PdfPrinterMeasuresThePaperAt600DpiAndRefusesCallsOutOfOrder)
{
    TPrinter& p = Printer();
    EXPECT_EQ(p.Printers().last(), QStringLiteral("PDF"));
    EXPECT_TRUE(p.IsPdf());
    // A4 is 595 × 842 points; the printable area is the whole sheet.
    const QList<int> a4{p.LogPixelsX(), p.LogPixelsY(), p.PhysicalWidth(), p.PhysicalHeight(), p.PhysicalOffsetX(),
                        p.PhysicalOffsetY(), p.PageWidth(), p.PageHeight()};
    EXPECT_EQ(a4, (QList<int>{600, 600, 4958, 7017, 0, 0, 4958, 7017}));
    EXPECT_THROW(p.NewPage(), EPrinter);
    EXPECT_THROW(p.EndDoc(), EPrinter);
    EXPECT_THROW(p.Canvas(), EPrinter);
    p.BeginDoc();
    EXPECT_EQ(p.PageNumber(), 1);
    EXPECT_EQ(QSize(p.Canvas()->device()->logicalDpiX(), p.Canvas()->device()->width()), QSize(600, 4958));
    EXPECT_THROW(p.SetOrientation(DMORIENT_LANDSCAPE), EPrinter);
    EXPECT_THROW(p.BeginDoc(), EPrinter);
    p.NewPage();
    EXPECT_EQ(p.PageNumber(), 2);
    p.EndDoc();
    EXPECT_FALSE(p.Printing());
    EXPECT_EQ(PdfPages("out.pdf"), 2);
    p.SetPaperSize(DMPAPER_A3);
    p.SetOrientation(DMORIENT_LANDSCAPE);
    EXPECT_EQ(p.PaperSize(), DMPAPER_A3);
    EXPECT_EQ(QSize(p.PhysicalWidth(), p.PhysicalHeight()), QSize(9925, 7017));
    EXPECT_THROW(p.SetPaperSize(70), EPrinter);
    EXPECT_THROW(p.SetPrinterIndex(int(p.Printers().size())), EPrinter);
}

TEST_F(PrintingTest, UnattendedDocumentsAreNumberedAndTitledAndAnUnwritableFileRaises)
{
    PrintOneDocument(QStringLiteral("Кестрова"));
    PrintOneDocument();
    PrintOneDocument();
    for (const char* name : {"out.pdf", "out-2.pdf", "out-3.pdf"}) EXPECT_EQ(PdfPages(name), 1) << name;
    EXPECT_EQ(Printer().LastOutputFile(), Path("out-3.pdf"));
    EXPECT_TRUE(dialogs_->FileRequests.isEmpty());
    EXPECT_TRUE(Run(QStringLiteral("pdfinfo"), {Path("out.pdf")}).contains(QStringLiteral("Кестрова")));
    // A file that cannot be written raises and leaves the printer idle and usable.
    qputenv("KESTROVA_PDF", Path("missing/dir/out.pdf").toLocal8Bit());
    EXPECT_THROW(Printer().BeginDoc(), EPrinter);
    EXPECT_FALSE(Printer().Printing());
    qputenv("KESTROVA_PDF", Path("ok.pdf").toLocal8Bit());
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
    QPainter recorder(&page);
    recorder.fillRect(QRect(100, 50, 200, 80), Qt::black);
    recorder.end();
    for (int dpi : {96, 300, 600, 1200}) {
        QImage image(400, 200, QImage::Format_RGB32);
        image.setDotsPerMeterX(qRound(dpi / 0.0254));
        image.setDotsPerMeterY(image.dotsPerMeterX());
        image.fill(Qt::white);
        QPainter painter(&image);
        ReplayPage(painter, page);
        painter.end();
        // Corners inside are black, their neighbours outside white.
        QList<int> grays;
        for (QPoint at : {QPoint(100, 50), QPoint(299, 129), QPoint(99, 50), QPoint(300, 129), QPoint(299, 130)})
            grays << qGray(image.pixel(at));
        EXPECT_EQ(grays, (QList<int>{0, 0, 255, 255, 255})) << dpi;
    }
}
