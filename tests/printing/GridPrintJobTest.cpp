#include "PrintTestSupport.h"

#include "DrawLogic.h"

namespace {

// What the pattern's group matches in a text, in order: the body rows' tokens, the page numbers.
QStringList Captures(const QString& text, const QString& pattern)
{
    QStringList out;
    for (const auto& m : QRegularExpression(pattern).globalMatch(text)) out << m.captured(1);
    return out;
}
QStringList RowTokens(const QString& text) { return Captures(text, QStringLiteral("r(\\d{4})x")); }
QStringList PageNumbers(const QString& text) { return Captures(text, QStringLiteral("Стр\\. (\\d+)")); }

// Page index of the current job replayed on a white image of the given size, from row top of the page down.
QImage JobPage(int index, QSize size, int top = 0)
{
    return Painted(size, [&](QPainter& p) { p.translate(0, -top); ReplayPage(p, *CurrentPages->Pages(index)); });
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
    EXPECT_EQ(GridPrintJob::Build(*grid, kJob), 3);
    GridPrintJob::PrintPages(1);
    QList<QStringList> rows;
    for (const QString& text : PdfPageTexts("out.pdf")) rows << RowTokens(text);
    EXPECT_EQ(rows, (QList<QStringList>{{"0001", "0002"}, {"0003"}, {"0004", "0005"}}));
    grid->SetRowHeight(0, 5000);  // a heading row ends the job
    EXPECT_EQ(GridPrintJob::Build(*grid, {}), 1);
}

// Without subtitle the heading rows start below a title box of four title lines; the page number's foot stands at
// the bottom margin whatever the top margin.
TEST_F(PrintingTest, TitleBoxAndPageNumberStandWhereTheMarginsSay)
{
    TAppConfig& c = *AppConfig;
    c.PrintSubtitle = false;
    c.BoldLine = 3; c.RegLine = 0;
    c.TopMargin = 1500; c.BottomMargin = 300;
    ASSERT_GE(BuildJob(100, {}), 2);
    // Dark rows in the second column, right of its texts: the heading's 3-pixel borders, the top one centred at
    // TopMargin + 4 × th + 3 (th: the title font, 47 × 1.5 = 70.5 rounded to 70 points, bold); body borders are off.
    const QImage head = JobPage(0, {Printer().PageWidth(), 1200}, 1500);
    QPicture probe;
    const int th = QFontMetrics(QFont(QStringLiteral("DejaVu Sans"), 70, QFont::Bold), &probe).height();
    QList<int> dark;
    for (int y = 0; y < head.height(); ++y)
        if (qGray(head.pixel(1000, y)) < 128 && (dark.isEmpty() || y > dark.last() + 3)) dark << y;
    ASSERT_EQ(dark.size(), 2);
    EXPECT_NEAR(dark[0], 4 * th + 3 - 1, 1);

    // The foot of page 2 right of the grid holds nothing but the number.
    const int width = Printer().PageWidth(), strip = 1000, top = Printer().PageHeight() - strip;
    const QImage foot = JobPage(1, {width, strip}, top);
    QRect ink;
    for (int y = 0; y < strip; ++y)
        for (int x = width / 2; x < width; ++x)
            if (qGray(foot.pixel(x, y)) < 128) ink |= QRect(x, y, 1, 1);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_LT(top + ink.bottom(), Printer().PageHeight() - 300);
    EXPECT_GT(top + ink.top(), Printer().PageHeight() - 300 - 150);
    EXPECT_GT(ink.right(), width - 40);
}

TEST_F(PrintingTest, SmallGridAsksForItsFileAndPrintsOnePageWithHeadingAndNoNumber)
{
    qunsetenv("KESTROVA_PDF");
    EXPECT_EQ(BuildJob(3), 1);
    // A cancelled file dialog prints and logs nothing; the chosen file is written when the dialog answers.
    EXPECT_EQ(GridPrintJob::PrintPages(1), 0);
    ASSERT_EQ(dialogs_->FileRequests.size(), 1);
    EXPECT_EQ(dialogs_->FileRequests[0].Filter, QStringLiteral("PDF (*.pdf)|*.pdf"));
    EXPECT_TRUE(Printer().Aborted() && !Printer().Printing());
    dialogs_->FileAnswers << Path("chosen.pdf");
    EXPECT_EQ(GridPrintJob::PrintPages(1), 1);
    EXPECT_EQ(PdfPages("chosen.pdf"), 1);
    const QString text = PdfText("chosen.pdf");
    const QRegularExpression heading(QStringLiteral("РЕГИОНЫ.*Дата распечатки .*Третья строка.*Четвертая строка.*Имя"),
                                     QRegularExpression::DotMatchesEverythingOption);
    EXPECT_TRUE(text.contains(heading)) << text.toStdString();
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
    const QStringList texts = PdfPageTexts("out.pdf");
    ASSERT_EQ(texts.size(), pages);
    QStringList all, expected;
    for (int i = 1; i <= pages; ++i) {
        const QString& text = texts[i - 1];
        EXPECT_TRUE(text.contains(QStringLiteral("Имя"))) << i;
        EXPECT_EQ(text.contains(QStringLiteral("РЕГИОНЫ")), i == 1) << i;
        EXPECT_EQ(PageNumbers(text), i == 1 ? QStringList() : QStringList{QString::number(i)});
        // The number stands at the foot: nothing of the grid below it.
        EXPECT_TRUE(i == 1 || RowTokens(text.mid(text.indexOf(QStringLiteral("Стр. ")))).isEmpty()) << i;
        all += RowTokens(text);
    }
    for (int r = 1; r <= 400; ++r) expected << QStringLiteral("%1").arg(r, 4, 10, QLatin1Char('0'));
    EXPECT_EQ(all, expected);  // every row exactly once, in order

    // Pages 2 to 3, two copies, into the next numbered file: sheets 2, 3, 2, 3; the log names the job's page count.
    EXPECT_EQ(GridPrintJob::PrintPages(2, 2, 3), 2);
    EXPECT_EQ(PdfPages("out-2.pdf"), 4);
    EXPECT_EQ(PageNumbers(PdfText("out-2.pdf")), (QStringList{"2", "3", "2", "3"}));
    EXPECT_EQ(LogMessages().last(), QStringLiteral("Напечатан отчет: РЕГИОНЫ. Всего страниц: %1. Копий 2").arg(pages));

    AppConfig->PrintPageNum = AppConfig->PrintSubtitle = false;
    GridPrintJob::Build(*grid, kJob);
    GridPrintJob::PrintPages(1);
    const QString text = PdfText("out-3.pdf");
    EXPECT_TRUE(text.contains(QStringLiteral("РЕГИОНЫ")));
    EXPECT_FALSE(text.contains(QStringLiteral("Стр.")) || text.contains(QStringLiteral("Дата распечатки")));
}
