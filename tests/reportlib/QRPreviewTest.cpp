// The library's preview window, shown by PrintReport with output mode 0 and driven while
// its modal loop runs.
#include "ReportLibrary.h"

#include <QApplication>
#include <QLabel>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <functional>

using namespace ReportLibrary;

namespace {

QWidget* Preview(bool visibleOnly)
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QStringLiteral("frmPreview") && (w->isVisible() || !visibleOnly)) return w;
    return nullptr;
}

QToolButton* Button(QWidget& window, const char* name)
{
    return window.findChild<QToolButton*>(QString::fromLatin1(name));
}

QStringList StatusTexts(QWidget& window)
{
    QStringList texts;
    for (QLabel* label : window.findChild<QStatusBar*>(QStringLiteral("StatusBar1"))->findChildren<QLabel*>())
        texts << label->text();
    return texts;
}

// Runs `drive` on the preview once its modal loop shows it, then presses "Закрыть".
void WhenPreviewShown(std::function<void(QWidget&)> drive)
{
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, drive, tries = 0]() mutable {
        QWidget* preview = Preview(true);
        if (!preview && ++tries < 500) return;
        timer->deleteLater();
        timer->stop();
        if (!preview) return;
        drive(*preview);
        Button(*preview, "SpeedButton1")->click();
    });
    timer->start(10);
}

// The share of the sheet's width that the picture's green corner covers.
double GreenShare(QWidget& preview)
{
    const QImage sheet = preview.findChild<QWidget*>(QStringLiteral("PaintBox1"))->grab().toImage();
    return double(ColourBounds(sheet.convertToFormat(QImage::Format_RGB32), Green).width()) / sheet.width();
}

}  // namespace

using LibraryPreviewTest = ReportTest;

TEST_F(LibraryPreviewTest, AOnePageReportShowsPageOneOfOneAndClosingReturnsTrue)
{
    QStringList status;
    bool pagingEnabled = true, busy = true;
    WhenPreviewShown([&](QWidget& preview) {
        status = StatusTexts(preview);
        pagingEnabled = Button(preview, "ToolButton4")->isEnabled() || Button(preview, "ToolButton6")->isEnabled();
        busy = QApplication::overrideCursor() != nullptr;
    });
    EXPECT_TRUE(Print(0));
    EXPECT_EQ(status, (QStringList{QStringLiteral("Стр. 1"), QStringLiteral("Всего страниц: 1")}));
    EXPECT_FALSE(pagingEnabled);
    EXPECT_FALSE(busy);
    EXPECT_TRUE(Dialogs.Messages.isEmpty());
    EXPECT_TRUE(PdfFiles().isEmpty());
    // Destroyed once, by the call; its own release finds nothing left to do.
    EXPECT_EQ(Preview(false), nullptr);
    QCoreApplication::processEvents();
}

TEST_F(LibraryPreviewTest, ThePageLooksAsPrintedAndScaleTwoHundredDrawsItTwiceAsLarge)
{
    ASSERT_TRUE(Print(1));
    const QImage printed = PdfPageImage(File(QStringLiteral("report.pdf")), 1, 100);
    const double printedShare = double(ColourBounds(printed, Green).width()) / printed.width();

    double at100 = 0, at200 = 0;
    WhenPreviewShown([&](QWidget& preview) { at100 = GreenShare(preview); });
    ASSERT_TRUE(Print(0, 100));
    WhenPreviewShown([&](QWidget& preview) { at200 = GreenShare(preview); });
    ASSERT_TRUE(Print(0, 200));
    ASSERT_GT(at100, 0);
    EXPECT_NEAR(at100, printedShare, 0.01);
    EXPECT_NEAR(at200 / at100, 2.0, 0.1);
}

TEST_F(LibraryPreviewTest, PrintingFromTheWindowKeepsItOpenAndItsErrorsAreShown)
{
    bool open = false;
    WhenPreviewShown([&](QWidget& preview) {
        Button(preview, "ToolButton5")->click();
        qputenv("KESTROVA_PDF", QFile::encodeName(File(QStringLiteral("no/such/dir/report.pdf"))));
        Button(preview, "ToolButton5")->click();
        open = preview.isVisible() && StatusTexts(preview).value(0) == QStringLiteral("Стр. 1");
    });
    EXPECT_TRUE(Print(0, 150));
    EXPECT_TRUE(open);
    ASSERT_EQ(PdfFiles().size(), 1);
    EXPECT_EQ(PdfPages(PdfFiles()[0]), 1);
    EXPECT_TRUE(PdfText(PdfFiles()[0]).contains(Caption));
    // The second print could not write its file: one box, and the window stayed open.
    ASSERT_EQ(Dialogs.Messages.size(), 1);
    EXPECT_EQ(Dialogs.Messages[0].Kind, Dialogs::Box::Error);
}
