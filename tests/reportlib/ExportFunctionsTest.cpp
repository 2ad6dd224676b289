// PrintReport as the program calls it: the library loaded at run time, the hand-off files
// in TEMP, the PDF printer writing to KESTROVA_PDF.
#include "ReportLibrary.h"

#include "Printer.h"

#include <QApplication>
#include <QFile>
#include <QWidget>
#include <cstring>

using namespace ReportLibrary;

namespace {

bool ProgressOpen()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QStringLiteral("frmShowProcess")) return true;
    return false;
}

const QString ErrorSentence = QStringLiteral("При печати отчета возникла ошибка!\n");

}  // namespace

using PrintReportTest = ReportTest;

TEST_F(PrintReportTest, PrintsOneA4PageWithThePictureStretchedBetweenTheMarginsAndTheCaption)
{
    ASSERT_NE(PrintReport, nullptr);
    Prop.LeftMargin = 50;  // tenths of a millimetre: 18 layout pixels
    Prop.TopMargin = 200;  // 75 layout pixels
    ASSERT_TRUE(Print(1));
    ASSERT_EQ(PdfFiles().size(), 1);
    QSizeF size;
    EXPECT_EQ(PdfPages(PdfFiles()[0], &size), 1);
    EXPECT_NEAR(size.width(), 595.3, 1);
    EXPECT_NEAR(size.height(), 841.9, 1);
    EXPECT_TRUE(PdfText(PdfFiles()[0]).contains(Caption));
    EXPECT_TRUE(Dialogs.Messages.isEmpty());

    // The paper spans 807 x 1142 layout pixels at scale 100; the picture box is 761 x 513.
    // Edge pixels blend with their neighbours, so a box may lose a pixel or two.
    const QImage page = PdfPageImage(PdfFiles()[0], 1, 100);
    const QRect red = ColourBounds(page, Red), green = ColourBounds(page, Green);
    const double ux = page.width() / 807.0, uy = page.height() / 1142.0;
    EXPECT_NEAR(red.left(), 18 * ux, 2);
    EXPECT_NEAR(red.top(), 75 * uy, 2);
    EXPECT_NEAR(red.width(), 761 * ux, 3);
    EXPECT_NEAR(red.height(), 513 * uy, 3);
    EXPECT_NEAR(green.width(), red.width() * GreenBlock.width() / PictureSize.width(), 3);
    EXPECT_NEAR(green.height(), red.height() * GreenBlock.height() / PictureSize.height(), 3);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_FALSE(ProgressOpen());
}

TEST_F(PrintReportTest, LandscapeSwapsThePageAndTheExtentAndScaleTwoHundredDoublesThePicture)
{
    Prop.Orientation = DMORIENT_LANDSCAPE;
    ASSERT_TRUE(Print(1, 100));
    ASSERT_TRUE(Print(1, 200));
    const QString at100 = File(QStringLiteral("report.pdf")), at200 = File(QStringLiteral("report-2.pdf"));
    QSizeF size;
    EXPECT_EQ(PdfPages(at100, &size), 1);
    EXPECT_NEAR(size.width(), 841.9, 1);
    EXPECT_NEAR(size.height(), 595.3, 1);
    const QImage page = PdfPageImage(at100, 1, 100);
    const QRect red = ColourBounds(page, Red);
    EXPECT_NEAR(red.width(), 761 * page.width() / 1142.0, 3);
    EXPECT_NEAR(red.height(), 513 * page.height() / 807.0, 3);

    const QRect green100 = ColourBounds(page, Green), green200 = ColourBounds(PdfPageImage(at200, 1, 100), Green);
    ASSERT_FALSE(green100.isEmpty());
    EXPECT_NEAR(double(green200.width()) / green100.width(), 2.0, 0.05);
    EXPECT_NEAR(double(green200.height()) / green100.height(), 2.0, 0.08);
}

TEST_F(PrintReportTest, AOneLineHandOffGivesNoCaptionAndOtherKindsReadNoHandOff)
{
    WriteHandOff({File(QStringLiteral("00RepGraph.bmp"))});
    ASSERT_TRUE(Print(1));
    EXPECT_TRUE(PdfText(File(QStringLiteral("report.pdf"))).trimmed().isEmpty());
    EXPECT_FALSE(ColourBounds(PdfPageImage(File(QStringLiteral("report.pdf")), 1, 30), Red).isEmpty());

    QFile::remove(File(QStringLiteral("00Korvel.tmp")));
    ASSERT_TRUE(PrintReport(0, 1, 1, 100, &Prop));
    EXPECT_EQ(PdfPages(File(QStringLiteral("report-2.pdf"))), 1);
    EXPECT_TRUE(ColourBounds(PdfPageImage(File(QStringLiteral("report-2.pdf")), 1, 30), Red).isEmpty());
    EXPECT_TRUE(Dialogs.Messages.isEmpty());
}

TEST_F(PrintReportTest, AMissingHandOffShowsTheErrorAndLeavesTheCallersRecordAlone)
{
    QFile::remove(File(QStringLiteral("00Korvel.tmp")));
    Prop.TopMargin = 11;
    const TReportProp before = Prop;
    bool progressWhileShown = false;
    Dialogs.OnMessage = [&](const Dialogs::ScriptedHandler::Shown&) { progressWhileShown = ProgressOpen(); };

    EXPECT_FALSE(Print(1));
    ASSERT_EQ(Dialogs.Messages.size(), 1);
    EXPECT_EQ(Dialogs.Messages[0].Kind, Dialogs::Box::Error);
    EXPECT_TRUE(Dialogs.Messages[0].Text.startsWith(ErrorSentence + QStringLiteral("Cannot open file")));
    EXPECT_TRUE(Dialogs.Messages[0].Text.contains(QStringLiteral("00Korvel.tmp")));
    EXPECT_TRUE(progressWhileShown);  // the box comes first, then the progress window goes
    EXPECT_FALSE(ProgressOpen());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(PdfFiles().isEmpty());
    EXPECT_EQ(std::memcmp(&before, &Prop, sizeof Prop), 0);
}

TEST_F(PrintReportTest, RefusedCallsTakeTheErrorPathAndPrintNothing)
{
    WriteHandOff({File(QStringLiteral("missing.bmp")), Caption});
    EXPECT_FALSE(Print(1));
    WriteHandOff({File(QStringLiteral("00RepGraph.bmp")), Caption});
    const TReportProp good = Prop;
    Prop.PrinterIndex = 999;
    EXPECT_FALSE(Print(1));
    Prop = good;
    EXPECT_FALSE(Print(1, 0));  // the page mapping divides by the scale
    EXPECT_FALSE(Print(3, -5));
    EXPECT_FALSE(PrintReport(0, 0, 1, 100, nullptr));

    ASSERT_EQ(Dialogs.Messages.size(), 5);
    for (const auto& shown : Dialogs.Messages) {
        EXPECT_EQ(shown.Kind, Dialogs::Box::Error);
        EXPECT_TRUE(shown.Text.startsWith(ErrorSentence) && shown.Text.size() > ErrorSentence.size());
    }
    EXPECT_TRUE(Dialogs.PrintRequests.isEmpty());
    EXPECT_TRUE(PdfFiles().isEmpty());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // The library is still usable; a paper the printer does not list leaves the printer's own.
    Prop.PaperSize = 0;
    EXPECT_TRUE(Print(1));
    EXPECT_EQ(PdfFiles().size(), 1);
}

TEST_F(PrintReportTest, OtherModesGoThroughTheDialog)
{
    for (int mode : {2, 3, -1}) EXPECT_TRUE(Print(mode)) << mode;  // cancelled: nothing printed
    ASSERT_EQ(Dialogs.PrintRequests.size(), 3);
    EXPECT_EQ(Dialogs.PrintRequests[0].MinPage, 1);
    EXPECT_EQ(Dialogs.PrintRequests[0].MaxPage, 1);
    EXPECT_TRUE(PdfFiles().isEmpty());

    bool progressOpen = true;
    Dialogs.PrintAnswers << [&](Dialogs::PrintRequest& request) {
        progressOpen = ProgressOpen() || QApplication::overrideCursor();
        request.Copies = 2;
        return true;
    };
    ASSERT_TRUE(Print(-1));
    EXPECT_FALSE(progressOpen);
    ASSERT_EQ(PdfFiles().size(), 1);
    EXPECT_EQ(PdfPages(PdfFiles()[0]), 2);
    EXPECT_EQ(PdfText(PdfFiles()[0]).count(Caption), 2);
    EXPECT_EQ(ColourBounds(PdfPageImage(PdfFiles()[0], 1, 30), Green),
              ColourBounds(PdfPageImage(PdfFiles()[0], 2, 30), Green));
    EXPECT_TRUE(Dialogs.Messages.isEmpty());
}

TEST_F(PrintReportTest, ACallWhileOneRunsIsRefused)
{
    bool nested = true;
    Dialogs.PrintAnswers << [&](Dialogs::PrintRequest&) {
        nested = Print(1);
        return false;
    };
    EXPECT_TRUE(Print(3));
    EXPECT_FALSE(nested);
    ASSERT_EQ(Dialogs.Messages.size(), 1);
    EXPECT_TRUE(Dialogs.Messages[0].Text.startsWith(ErrorSentence));
    EXPECT_TRUE(PdfFiles().isEmpty());
    EXPECT_TRUE(Print(1));
}

TEST(ReportLibraryExports, PrintReportIsTheOnlyExportedFunction)
{
    const QString symbols = QString::fromUtf8(
        RunTool(QStringLiteral("nm"), {QStringLiteral("-D"), QStringLiteral("--defined-only"),
                                       QStringLiteral(KESTROVA_BINARY_DIR "/libRalvik.so")}));
    QStringList exported;
    for (const QString& line : symbols.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        exported << line.section(QLatin1Char(' '), 1, -1, QString::SectionSkipEmpty);
    EXPECT_EQ(exported, QStringList{QStringLiteral("T PrintReport")});
}
