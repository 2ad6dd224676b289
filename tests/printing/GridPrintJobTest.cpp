#include "PrintTestSupport.h"

#include "DrawLogic.h"

#include <QImage>
#include <QPainter>
#include <QPicture>

namespace {

// The body-row tokens of a text, in order.
QStringList RowTokens(const QString& text)
{
    QStringList out;
    auto it = QRegularExpression(QStringLiteral("r(\\d{4})x")).globalMatch(text);
    while (it.hasNext()) out << it.next().captured(1);
    return out;
}

QString PageNumber(const QString& text)
{
    return QRegularExpression(QStringLiteral("Стр\\. (\\d+)")).match(text).captured(1);
}

}  // namespace

TEST(DrawLogicFontSize, FollowsResolutionAndRoundsHalvesToEven)
{
    // scale, dpi, setting, size: the exact halves 3.5 and 10.5 at each resolution; a setting below 1 counts as 1.
    const struct { double scale; int dpi, setting, size; } cases[] = {
        {1.0, 300, 100, 23}, {1.0, 600, 100, 47}, {1.0, 1200, 100, 93}, {1.0, 300, 15, 4}, {1.0, 300, 45, 10},
        {0.75, 600, 10, 4},  {0.75, 600, 30, 10}, {0.375, 1200, 50, 18}, {0.375, 1200, 70, 24},
        {1.0, 600, 0, 1},    {1.0, 600, -50, 1},
    };
    for (const auto& c : cases) EXPECT_EQ(BodyFontSize(c.scale, c.dpi, c.setting), c.size) << c.dpi << " " << c.setting;
}

TEST_F(PrintingTest, OverTallRowsEndInsteadOfLooping)
{
    BuildJob(5);
    grid->SetRowHeight(3, 5000);  // a body row: clipped on a page of its own
    EXPECT_EQ(GridPrintJob::Build(*grid, JobOptions()), 3);
    GridPrintJob::PrintPages(1);
    EXPECT_EQ(RowTokens(PdfText("out.pdf", 1)), (QStringList{"0001", "0002"}));
    EXPECT_EQ(RowTokens(PdfText("out.pdf", 2)), QStringList{"0003"});
    EXPECT_EQ(RowTokens(PdfText("out.pdf", 3)), (QStringList{"0004", "0005"}));
    grid->SetRowHeight(0, 5000);  // a heading row ends the job
    EXPECT_EQ(GridPrintJob::Build(*grid, {}), 1);
}

TEST_F(PrintingTest, HeadingRowsStartBelowTheTitleBoxWithoutSubtitle)
{
    AppConfig->PrintSubtitle = false;
    AppConfig->BoldLine = 3;
    AppConfig->RegLine = 0;
    ASSERT_EQ(BuildJob(2, {}), 1);
    QImage page(Printer().PageWidth(), 1200, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    ReplayPage(painter, *CurrentPages->Pages(0));
    painter.end();
    // Dark rows in the second column, right of its texts: the heading's 3-pixel borders, the top one
    // centred at TopMargin + 4 × th + 3 (th: the title font, 47 × 1.5 = 70.5 rounded to 70 points,
    // bold); body borders are off.
    QPicture probe;
    const int th = QFontMetrics(QFont(QStringLiteral("DejaVu Sans"), 70, QFont::Bold), &probe).height();
    QList<int> dark;
    for (int y = 0; y < page.height(); ++y)
        if (qGray(page.pixel(1000, y)) < 128 && (dark.isEmpty() || y > dark.last() + 3)) dark << y;
    ASSERT_EQ(dark.size(), 2);
    EXPECT_NEAR(dark[0], 100 + 4 * th + 3 - 1, 1);
}

TEST_F(PrintingTest, PageNumberStandsAtTheFootWhateverTheTopMargin)
{
    AppConfig->TopMargin = 1500;
    AppConfig->BottomMargin = 300;
    ASSERT_GE(BuildJob(100, {}), 2);
    // The foot of page 2 right of the grid holds nothing but the number.
    const int pageWidth = Printer().PageWidth(), bottom = Printer().PageHeight() - 300, strip = 1000;
    QImage foot(pageWidth, strip, QImage::Format_RGB32);
    foot.fill(Qt::white);
    QPainter painter(&foot);
    painter.translate(0, -(Printer().PageHeight() - strip));
    ReplayPage(painter, *CurrentPages->Pages(1));
    painter.end();
    QRect ink;
    for (int y = 0; y < strip; ++y)
        for (int x = pageWidth / 2; x < pageWidth; ++x)
            if (qGray(foot.pixel(x, y)) < 128) ink |= QRect(x, y, 1, 1);
    const int base = Printer().PageHeight() - strip;
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_LT(base + ink.bottom(), bottom);
    EXPECT_GT(base + ink.top(), bottom - 150);
    EXPECT_GT(ink.right(), pageWidth - 40);
}

TEST_F(PrintingTest, SmallGridPrintsOnePageWithHeadingAndNoNumber)
{
    GridPrintJob::Options o = JobOptions();
    o.Line3 = QStringLiteral("Третья строка");
    o.Line4 = QStringLiteral("Четвертая строка");
    EXPECT_EQ(BuildJob(3, o), 1);
    EXPECT_EQ(GridPrintJob::PrintPages(1), 1);
    EXPECT_EQ(PdfPages("out.pdf"), 1);
    const QString text = PdfText("out.pdf");
    int at = -1;
    for (const char* part : {"РЕГИОНЫ", "Дата распечатки ", "Третья строка", "Четвертая строка", "Имя"}) {
        EXPECT_GT(text.indexOf(QString::fromUtf8(part)), at) << part;
        at = text.indexOf(QString::fromUtf8(part));
    }
    EXPECT_EQ(RowTokens(text), (QStringList{"0001", "0002", "0003"}));
    EXPECT_FALSE(text.contains(QStringLiteral("Стр.")));
    EXPECT_EQ(LogMessages(), (QStringList{QStringLiteral("Сформирован отчет РЕГИОНЫ"),
                                          QStringLiteral("Напечатан отчет: РЕГИОНЫ. Всего страниц: 1. Копий 1")}));
}

TEST_F(PrintingTest, LongGridRepeatsHeadingsNumbersPagesAndObeysRangeAndSwitches)
{
    const int pages = BuildJob(400);
    ASSERT_GE(pages, 5);
    GridPrintJob::PrintPages(1);
    ASSERT_EQ(PdfPages("out.pdf"), pages);
    QStringList all, expected;
    for (int i = 1; i <= pages; ++i) {
        const QString text = PdfText("out.pdf", i);
        EXPECT_TRUE(text.contains(QStringLiteral("Имя"))) << i;
        EXPECT_EQ(text.contains(QStringLiteral("РЕГИОНЫ")), i == 1) << i;
        EXPECT_EQ(PageNumber(text), i == 1 ? QString() : QString::number(i));
        // The number stands at the foot: nothing of the grid below it.
        EXPECT_TRUE(i == 1 || RowTokens(text.mid(text.indexOf(QStringLiteral("Стр. ")))).isEmpty()) << i;
        all += RowTokens(text);
    }
    for (int r = 1; r <= 400; ++r) expected << QStringLiteral("%1").arg(r, 4, 10, QLatin1Char('0'));
    EXPECT_EQ(all, expected);  // every row exactly once, in order

    // Pages 2 to 3, two copies, into the next numbered file: sheets 2, 3, 2, 3; the log names the job's page count.
    EXPECT_EQ(GridPrintJob::PrintPages(2, 2, 3), 2);
    QStringList numbers;
    for (int i = 1; i <= PdfPages("out-2.pdf"); ++i) numbers << PageNumber(PdfText("out-2.pdf", i));
    EXPECT_EQ(numbers, (QStringList{"2", "3", "2", "3"}));
    EXPECT_EQ(LogMessages().last(), QStringLiteral("Напечатан отчет: РЕГИОНЫ. Всего страниц: %1. Копий 2").arg(pages));

    AppConfig->PrintPageNum = AppConfig->PrintSubtitle = false;
    GridPrintJob::Build(*grid, JobOptions());
    GridPrintJob::PrintPages(1);
    const QString text = PdfText("out-3.pdf");
    EXPECT_TRUE(text.contains(QStringLiteral("РЕГИОНЫ")));
    EXPECT_FALSE(text.contains(QStringLiteral("Стр.")) || text.contains(QStringLiteral("Дата распечатки")));
}

TEST_F(PrintingTest, CancelledFileDialogPrintsAndLogsNothing)
{
    qunsetenv("KESTROVA_PDF");
    BuildJob(3);
    EXPECT_EQ(GridPrintJob::PrintPages(1), 0);
    ASSERT_EQ(dialogs_->FileRequests.size(), 1);
    EXPECT_EQ(dialogs_->FileRequests[0].Filter, QStringLiteral("PDF (*.pdf)|*.pdf"));
    EXPECT_TRUE(Printer().Aborted() && !Printer().Printing());
    EXPECT_EQ(LogMessages(), QStringList{QStringLiteral("Сформирован отчет РЕГИОНЫ")});
    // The chosen file is written when the dialog answers.
    dialogs_->FileAnswers << Path("chosen.pdf");
    EXPECT_EQ(GridPrintJob::PrintPages(1), 1);
    EXPECT_EQ(PdfPages("chosen.pdf"), 1);
    EXPECT_EQ(Printer().LastOutputFile(), Path("chosen.pdf"));
}
