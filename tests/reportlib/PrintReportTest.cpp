// PrintReport as the program calls it: the library loaded with dlopen, the hand-off files
// (a picture and 00Korvel.tmp) in TEMP, the PDF printer writing to KESTROVA_PDF; the printed
// PDF read back with the poppler tools and the preview window driven while its loop runs.
#include "Dialogs.h"
#include "Printer.h"
#include "ReportProp.h"
#include "TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QWindow>
#include <cstring>
#include <dlfcn.h>
#include <gtest/gtest.h>

namespace {

const QColor Red(255, 0, 0), Green(0, 255, 0);
const QString ErrorSentence = QStringLiteral("При печати отчета возникла ошибка!\n");

QString RunTool(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0) return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

// "<pages> <width>x<height>": the page count and the first page's size in whole points.
QString PdfPages(const QString& pdf)
{
    const QString info = RunTool(QStringLiteral("pdfinfo"), {pdf});
    const auto size = QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+) pts")).match(info);
    return QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info).captured(1) +
           QStringLiteral(" %1x%2").arg(qRound(size.captured(1).toDouble())).arg(qRound(size.captured(2).toDouble()));
}

QString PdfText(const QString& pdf) { return RunTool(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")}); }  // UTF-8

QImage PdfPageImage(const QString& pdf, int page, int dpi = 100)
{
    const QString prefix = pdf + QStringLiteral("-page%1").arg(page), n = QString::number(page);
    RunTool(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-f"),
                                         n, QStringLiteral("-l"), n, QStringLiteral("-singlefile"), pdf, prefix});
    return QImage(prefix + QStringLiteral(".png"));
}

// The box of every pixel within 60 of the colour in each channel.
QRect ColourBounds(const QImage& picture, QColor colour)
{
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (qAbs(qRed(p) - colour.red()) <= 60 && qAbs(qGreen(p) - colour.green()) <= 60 &&
                qAbs(qBlue(p) - colour.blue()) <= 60)
                bounds |= QRect(x, y, 1, 1);
        }
    return bounds;
}

QRect GreenIn(const QString& pdf, int page = 1, int dpi = 100) { return ColourBounds(PdfPageImage(pdf, page, dpi), Green); }

QWidget* TopLevel(const QString& name)
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == name) return w;
    return nullptr;
}

bool Busy() { return TopLevel(QStringLiteral("frmShowProcess")) || QApplication::overrideCursor(); }

QToolButton* Button(QWidget& window, const char* name) { return window.findChild<QToolButton*>(QString::fromLatin1(name)); }

// Runs `drive` on the preview once its modal loop shows it, then presses "Закрыть".
void WhenPreviewShown(std::function<void(QWidget&)> drive)
{
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, drive, tries = 0]() mutable {
        QWidget* preview = TopLevel(QStringLiteral("frmPreview"));
        if (preview && !preview->isVisible()) preview = nullptr;
        if (!preview && ++tries < 500) return;
        timer->deleteLater();
        timer->stop();
        if (!preview) return;
        drive(*preview);
        Button(*preview, "SpeedButton1")->click();
    });
    timer->start(10);
}

// The share of the preview sheet's width that the picture's green corner covers.
double GreenShare(QWidget& preview)
{
    const QImage sheet = preview.findChild<QWidget*>(QStringLiteral("PaintBox1"))->grab().toImage();
    return double(ColourBounds(sheet, Green).width()) / sheet.width();
}

class PrintReportTest : public ::testing::Test {
protected:
    PrintReportTest()
    {
        static void* library = dlopen(KESTROVA_BINARY_DIR "/libRalvik.so", RTLD_NOW | RTLD_LOCAL);
        if (!library) ADD_FAILURE() << dlerror();
        PrintReport = library ? reinterpret_cast<TPrintReportFn>(dlsym(library, "PrintReport")) : nullptr;
        qputenv("TEMP", QFile::encodeName(Dir.path()));
        qputenv("KESTROVA_PDF", QFile::encodeName(File("report.pdf")));
        QImage picture(400, 200, QImage::Format_RGB32);
        picture.fill(Red);
        QPainter(&picture).fillRect(0, 0, 80, 40, Green);  // a green corner, a fifth each way
        picture.save(File("00RepGraph.bmp"), "BMP");
        TestSupport::WriteAnsiLines(File("00Korvel.tmp"), {File("00RepGraph.bmp"), Caption});
        Prop.PaperSize = DMPAPER_A4;
        Prop.Orientation = DMORIENT_PORTRAIT;
        Prop.PrinterIndex = Printer().Printers().indexOf(QStringLiteral("PDF"));
    }
    void TearDown() override
    {
        EXPECT_FALSE(Busy());  // no call leaves the hourglass or the progress window behind
        qunsetenv("KESTROVA_PDF");
        qunsetenv("TEMP");
    }
    QString File(const char* name) const { return Dir.filePath(QString::fromLatin1(name)); }
    QStringList PdfFiles() const { return QDir(Dir.path()).entryList({QStringLiteral("*.pdf")}, QDir::Files); }
    bool Print(int outputMode, int scale = 100) { return PrintReport(0, 0, outputMode, scale, &Prop); }

    const QString Caption = QStringLiteral("Численность населения, тыс. чел.");
    QTemporaryDir Dir;
    Dialogs::ScriptedHandler Dialogs;
    TReportProp Prop{};
    TPrintReportFn PrintReport = nullptr;
};

TEST_F(PrintReportTest, PrintsOneA4PageOfThePictureWithinTheMarginsAndTheCaptionLine)
{
    ASSERT_NE(PrintReport, nullptr);
    Prop.LeftMargin = 50;  // tenths of a millimetre: 18 layout pixels
    Prop.TopMargin = 200;  // 75 layout pixels
    ASSERT_TRUE(Print(1));
    ASSERT_EQ(PdfFiles(), QStringList{QStringLiteral("report.pdf")});
    EXPECT_EQ(PdfPages(File("report.pdf")), QStringLiteral("1 595x842"));
    EXPECT_TRUE(PdfText(File("report.pdf")).contains(Caption));

    // The paper spans 807 x 1142 layout pixels at scale 100; the picture box is 761 x 513.
    const QImage page = PdfPageImage(File("report.pdf"), 1);
    const QRect red = ColourBounds(page, Red), green = ColourBounds(page, Green);
    const double ux = page.width() / 807.0, uy = page.height() / 1142.0;
    EXPECT_NEAR(red.left(), 18 * ux, 2);
    EXPECT_NEAR(red.top(), 75 * uy, 2);
    EXPECT_NEAR(red.width(), 761 * ux, 3);
    EXPECT_NEAR(red.height(), 513 * uy, 3);
    EXPECT_NEAR(green.width(), red.width() / 5.0, 3);
    EXPECT_NEAR(green.height(), red.height() / 5.0, 3);

    // Without a line 2 the caption is empty.
    TestSupport::WriteAnsiLines(File("00Korvel.tmp"), {File("00RepGraph.bmp")});
    ASSERT_TRUE(Print(1));
    EXPECT_TRUE(PdfText(File("report-2.pdf")).trimmed().isEmpty());
    EXPECT_FALSE(GreenIn(File("report-2.pdf"), 1, 30).isEmpty());
    EXPECT_TRUE(Dialogs.Messages.isEmpty());
}

TEST_F(PrintReportTest, MarginsNarrowerThanTheBoxScaleTheWholePictureIntoThePrintableArea)
{
    // 300 and 700 tenths: 113 and 264 layout pixels; 2000 tenths: 755. A4 is 793 x 1122 layout
    // pixels, so the box shrinks to 567 x 103.
    Prop.LeftMargin = Prop.RightMargin = 300;
    Prop.TopMargin = 700;
    Prop.BottomMargin = 2000;
    ASSERT_TRUE(Print(1));
    const QImage page = PdfPageImage(File("report.pdf"), 1);
    const QRect red = ColourBounds(page, Red), green = ColourBounds(page, Green);
    const double ux = page.width() / 807.0, uy = page.height() / 1142.0;
    EXPECT_NEAR(red.left(), 113 * ux, 2);
    EXPECT_NEAR(red.top(), 264 * uy, 2);
    EXPECT_NEAR(red.width(), 567 * ux, 3);
    EXPECT_NEAR(red.height(), 103 * uy, 3);
    // The corner keeps its fifth of the picture each way: nothing was cut off.
    EXPECT_NEAR(green.width(), red.width() / 5.0, 4);
    EXPECT_NEAR(green.height(), red.height() / 5.0, 4);
}

TEST_F(PrintReportTest, DocumentsOfTheProgramAndOfTheLibraryAreNumberedTogether)
{
    TPrinter& printer = Printer();
    printer.SetPrinterIndex(printer.Printers().indexOf(QStringLiteral("PDF")));
    for (int i = 0; i < 2; ++i) {
        printer.BeginDoc();
        printer.Canvas()->fillRect(0, 0, 100, 100, Qt::blue);
        printer.EndDoc();
    }
    ASSERT_TRUE(Print(1));
    EXPECT_EQ(PdfFiles(), (QStringList{QStringLiteral("report-2.pdf"), QStringLiteral("report-3.pdf"), QStringLiteral("report.pdf")}));
    EXPECT_TRUE(PdfText(File("report-3.pdf")).contains(Caption));
}

TEST_F(PrintReportTest, LandscapeSwapsThePageScaleTwoHundredDoublesThePictureAndKindOneReadsNoHandOff)
{
    Prop.Orientation = DMORIENT_LANDSCAPE;
    ASSERT_TRUE(Print(1, 100));
    ASSERT_TRUE(Print(1, 200));
    EXPECT_EQ(PdfPages(File("report.pdf")), QStringLiteral("1 842x595"));
    const QRect at100 = GreenIn(File("report.pdf")), at200 = GreenIn(File("report-2.pdf"));
    EXPECT_NEAR(double(at200.width()) / at100.width(), 2.0, 0.05);
    EXPECT_NEAR(double(at200.height()) / at100.height(), 2.0, 0.08);

    // Kind 1 prints the empty report, landscape too, without the hand-off files.
    QFile::remove(File("00Korvel.tmp"));
    ASSERT_TRUE(PrintReport(0, 1, 1, 100, &Prop));
    EXPECT_EQ(PdfPages(File("report-3.pdf")), QStringLiteral("1 842x595"));
    EXPECT_TRUE(ColourBounds(PdfPageImage(File("report-3.pdf"), 1, 30), Red).isEmpty());
    EXPECT_TRUE(Dialogs.Messages.isEmpty());
}

TEST_F(PrintReportTest, ErrorsShowTheBoxReturnFalseAndLeaveTheCallersRecordAlone)
{
    // A nested call (False, as a Cancel), a scale below 1, a null record; then a good call.
    Dialogs.PrintAnswers << [&](Dialogs::PrintRequest&) { return Print(1); };
    EXPECT_TRUE(Print(3));
    EXPECT_FALSE(Print(1, 0));
    EXPECT_FALSE(Print(3, -5));
    EXPECT_FALSE(PrintReport(0, 0, 1, 100, nullptr));
    EXPECT_EQ(Dialogs.PrintRequests.size(), 1);
    EXPECT_TRUE(Print(1));  // still usable

    // A missing hand-off.
    QFile::remove(File("00Korvel.tmp"));
    Prop.TopMargin = 11;
    const TReportProp before = Prop;
    bool progressWhileShown = false;
    Dialogs.OnMessage = [&](const Dialogs::ScriptedHandler::Shown&) { progressWhileShown = Busy(); };
    EXPECT_FALSE(Print(1));
    EXPECT_TRUE(progressWhileShown);  // the box comes first, then the progress window goes
    EXPECT_EQ(std::memcmp(&before, &Prop, sizeof Prop), 0);
    EXPECT_EQ(PdfFiles(), QStringList{QStringLiteral("report.pdf")});  // the good call's only

    ASSERT_EQ(Dialogs.Messages.size(), 5);
    EXPECT_EQ(Dialogs.Count(Dialogs::Box::Error), 5);
    for (const QString& text : Dialogs.Texts())
        EXPECT_TRUE(text.startsWith(ErrorSentence) && text.size() > ErrorSentence.size()) << text.toStdString();
    EXPECT_TRUE(Dialogs.Texts()[4].startsWith(ErrorSentence + QStringLiteral("Cannot open file")));
    EXPECT_TRUE(Dialogs.Texts()[4].contains(QStringLiteral("00Korvel.tmp")));
}

TEST_F(PrintReportTest, OtherModesGoThroughTheDialog)
{
    for (int mode : {2, 3, -1}) EXPECT_TRUE(Print(mode)) << mode;  // cancelled: nothing printed
    ASSERT_EQ(Dialogs.PrintRequests.size(), 3);
    EXPECT_EQ(Dialogs.PrintRequests[0].MinPage, 1);
    EXPECT_EQ(Dialogs.PrintRequests[0].MaxPage, 1);
    EXPECT_TRUE(PdfFiles().isEmpty());

    bool busy = true;
    Dialogs.PrintAnswers << [&](Dialogs::PrintRequest& request) { busy = Busy(); request.Copies = 2; return true; };
    ASSERT_TRUE(Print(-1));
    EXPECT_FALSE(busy);
    EXPECT_EQ(PdfPages(File("report.pdf")), QStringLiteral("2 595x842"));
    EXPECT_EQ(PdfText(File("report.pdf")).count(Caption), 2);
    EXPECT_EQ(GreenIn(File("report.pdf"), 1, 30), GreenIn(File("report.pdf"), 2, 30));
    EXPECT_TRUE(Dialogs.Messages.isEmpty());
}

TEST_F(PrintReportTest, ModeZeroPreviewsThePageAsPrintedAndClosingReturnsTrue)
{
    ASSERT_TRUE(Print(1));
    const QImage printed = PdfPageImage(File("report.pdf"), 1);
    QFile::remove(File("report.pdf"));

    QStringList status;
    bool pagingOrBusy = true, openAfterPrinting = false;
    double at100 = 0, at200 = 0;
    WhenPreviewShown([&](QWidget& preview) {
        for (QLabel* label : preview.findChild<QStatusBar*>(QStringLiteral("StatusBar1"))->findChildren<QLabel*>())
            status << label->text();
        pagingOrBusy = Button(preview, "ToolButton4")->isEnabled() || Button(preview, "ToolButton6")->isEnabled() ||
                       QApplication::overrideCursor();
        at100 = GreenShare(preview);
    });
    EXPECT_TRUE(Print(0, 100));
    WhenPreviewShown([&](QWidget& preview) {
        at200 = GreenShare(preview);
        Button(preview, "ToolButton5")->click();
        const QLabel* page = preview.findChild<QStatusBar*>(QStringLiteral("StatusBar1"))->findChild<QLabel*>();
        openAfterPrinting = preview.isVisible() && page->text() == QStringLiteral("Стр. 1");
    });
    EXPECT_TRUE(Print(0, 200));

    EXPECT_EQ(status, (QStringList{QStringLiteral("Стр. 1"), QStringLiteral("Всего страниц: 1")}));
    EXPECT_FALSE(pagingOrBusy);
    EXPECT_NEAR(at100, double(ColourBounds(printed, Green).width()) / printed.width(), 0.01);
    EXPECT_NEAR(at200 / at100, 2.0, 0.1);
    EXPECT_TRUE(Dialogs.Messages.isEmpty());
    EXPECT_TRUE(openAfterPrinting);  // its print button printed every page once, scaled as the call's
    ASSERT_EQ(PdfFiles(), QStringList{QStringLiteral("report-2.pdf")});
    EXPECT_EQ(PdfPages(File("report-2.pdf")), QStringLiteral("1 595x842"));
    EXPECT_NEAR(double(GreenIn(File("report-2.pdf")).width()) / ColourBounds(printed, Green).width(), 2.0, 0.1);
    EXPECT_EQ(TopLevel(QStringLiteral("frmPreview")), nullptr);  // destroyed once, by the call
    QCoreApplication::processEvents();
}

TEST_F(PrintReportTest, TheWindowsBelongToTheCallersWindowAndThePreviewShowsItsWholePageCount)
{
    // The caller's main window, named by its native window id as the program hands it over.
    QWidget main;
    main.setObjectName(QStringLiteral("frmMainForm"));
    main.show();
    const intptr_t handle = intptr_t(main.winId());
    // Owned, and dialogs, which X11 window managers keep over their owner.
    auto ownedByMain = [&](QWidget* w) {
        return w && w->parentWidget() == &main && w->windowType() == Qt::Dialog && w->windowHandle() &&
               w->windowHandle()->transientParent() == main.windowHandle();
    };

    const QFont before = QApplication::font();
    QFont large = before;
    large.setPixelSize(22);  // "Всего страниц: 1" is wider than 100 pixels here
    QApplication::setFont(large);
    bool previewOwned = false;
    QStringList cut;
    WhenPreviewShown([&](QWidget& preview) {
        previewOwned = ownedByMain(&preview);
        for (QLabel* label : preview.findChild<QStatusBar*>(QStringLiteral("StatusBar1"))->findChildren<QLabel*>())
            if (!TestSupport::ShowsWholeText(*label)) cut << label->text();
    });
    EXPECT_TRUE(PrintReport(handle, 0, 0, 100, &Prop));
    QApplication::setFont(before);
    EXPECT_TRUE(previewOwned);
    EXPECT_TRUE(cut.isEmpty()) << qPrintable(cut.join(QLatin1Char('|')));

    // The progress window, seen while the error box of a failed call stands.
    QFile::remove(File("00Korvel.tmp"));
    bool progressOwned = false;
    Dialogs.OnMessage = [&](const Dialogs::ScriptedHandler::Shown&) { progressOwned = ownedByMain(TopLevel(QStringLiteral("frmShowProcess"))); };
    EXPECT_FALSE(PrintReport(handle, 0, 1, 100, &Prop));
    EXPECT_TRUE(progressOwned);
}

extern "C" int ReportPropLayoutFromC(int field);

TEST(ReportLibraryExports, TheRecordHasTheSameLayoutInC)
{
    EXPECT_EQ(ReportPropLayoutFromC(-1), int(sizeof(TReportProp)));
    const int offsets[] = {int(offsetof(TReportProp, PaperSize)),    int(offsetof(TReportProp, Orientation)),
                           int(offsetof(TReportProp, TopMargin)),    int(offsetof(TReportProp, LeftMargin)),
                           int(offsetof(TReportProp, BottomMargin)), int(offsetof(TReportProp, RightMargin)),
                           int(offsetof(TReportProp, PrinterIndex))};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(ReportPropLayoutFromC(i), offsets[i]) << i;
}

TEST(ReportLibraryExports, PrintReportIsTheOnlyExportedFunction)
{
    const QString symbols = RunTool(QStringLiteral("nm"), {QStringLiteral("-D"), QStringLiteral("--defined-only"),
                                                           QStringLiteral(KESTROVA_BINARY_DIR "/libRalvik.so")});
    // One line: an address, then the type and the name.
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^[0-9a-f]+ T PrintReport\\n$")).match(symbols).hasMatch())
        << symbols.toStdString();
}

}  // namespace
