#include "PrintTestSupport.h"

#include "MetaPages.h"

#include <QRegularExpression>

namespace {

GridPrintJob::Options JobOptions(const QString& title = QStringLiteral("РЕГИОНЫ"))
{
    GridPrintJob::Options o;
    o.Title = title;
    o.Subtitle = QStringLiteral("Дата распечатки 01.02.2024 10:11:12");
    o.DocumentTitle = QStringLiteral("Кестрова");
    return o;
}

// The body-row tokens of a text, in order.
QStringList RowTokens(const QString& text)
{
    QStringList out;
    auto it = QRegularExpression(QStringLiteral("r(\\d{4})x")).globalMatch(text);
    while (it.hasNext()) out << it.next().captured(1);
    return out;
}

}  // namespace

TEST_F(PrintingTest, SmallGridPrintsOnePageWithHeadingAndNoNumber)
{
    auto grid = MakeGrid(3);
    EXPECT_EQ(GridPrintJob::Build(*grid, JobOptions()), 1);
    EXPECT_EQ(GridPrintJob::PrintPages(1), 1);
    const QString pdf = Path(QStringLiteral("out.pdf"));
    EXPECT_EQ(PdfPages(pdf), 1);
    const QString text = PdfText(pdf);
    EXPECT_TRUE(text.contains(QStringLiteral("РЕГИОНЫ")));
    EXPECT_TRUE(text.contains(QStringLiteral("Дата распечатки ")));
    EXPECT_TRUE(text.contains(QStringLiteral("Имя")));
    EXPECT_EQ(RowTokens(text), (QStringList{"0001", "0002", "0003"}));
    EXPECT_FALSE(text.contains(QStringLiteral("Стр.")));
    EXPECT_EQ(LogMessages(), (QStringList{QStringLiteral("Сформирован отчет РЕГИОНЫ"),
                                          QStringLiteral("Напечатан отчет: РЕГИОНЫ. Всего страниц: 1. Копий 1")}));
}

TEST_F(PrintingTest, LongGridRepeatsHeadingsAndNumbersPagesFromTwo)
{
    auto grid = MakeGrid(400);
    const int pages = GridPrintJob::Build(*grid, JobOptions());
    ASSERT_GE(pages, 2);
    GridPrintJob::PrintPages(1);
    const QString pdf = Path(QStringLiteral("out.pdf"));
    ASSERT_EQ(PdfPages(pdf), pages);
    QStringList all;
    for (int i = 1; i <= pages; ++i) {
        const QString text = PdfText(pdf, i);
        EXPECT_TRUE(text.contains(QStringLiteral("Имя"))) << "page " << i;
        EXPECT_EQ(text.contains(QStringLiteral("РЕГИОНЫ")), i == 1) << "page " << i;
        const QRegularExpression number(QStringLiteral("Стр\\. (\\d+)"));
        const auto m = number.match(text);
        if (i == 1) {
            EXPECT_FALSE(m.hasMatch());
        } else {
            ASSERT_TRUE(m.hasMatch()) << "page " << i;
            EXPECT_EQ(m.captured(1).toInt(), i);
            // It stands at the foot: nothing of the grid below it.
            EXPECT_TRUE(RowTokens(text.mid(m.capturedEnd())).isEmpty()) << "page " << i;
        }
        all += RowTokens(text);
    }
    QStringList expected;
    for (int r = 1; r <= 400; ++r) expected << QStringLiteral("%1").arg(r, 4, 10, QLatin1Char('0'));
    EXPECT_EQ(all, expected);  // every row exactly once, in order
}

TEST_F(PrintingTest, SwitchesRemoveNumberAndSubtitle)
{
    AppConfig->PrintPageNum = false;
    AppConfig->PrintSubtitle = false;
    auto grid = MakeGrid(200);
    const int pages = GridPrintJob::Build(*grid, JobOptions());
    ASSERT_GE(pages, 2);
    GridPrintJob::PrintPages(1);
    const QString text = PdfText(Path(QStringLiteral("out.pdf")));
    EXPECT_FALSE(text.contains(QStringLiteral("Стр.")));
    EXPECT_FALSE(text.contains(QStringLiteral("Дата распечатки")));
    EXPECT_TRUE(text.contains(QStringLiteral("РЕГИОНЫ")));
}

TEST_F(PrintingTest, CopiesAndPageRangeGiveTheSheetsInOrder)
{
    auto grid = MakeGrid(400);
    const int pages = GridPrintJob::Build(*grid, JobOptions());
    ASSERT_GE(pages, 5);
    // Pages 2 to 3, two copies: sheets 2, 3, 2, 3; the log names the job's page count.
    EXPECT_EQ(GridPrintJob::PrintPages(2, 2, 3), 2);
    const QString pdf = Path(QStringLiteral("out.pdf"));
    ASSERT_EQ(PdfPages(pdf), 4);
    QStringList numbers;
    for (int i = 1; i <= 4; ++i)
        numbers << QRegularExpression(QStringLiteral("Стр\\. (\\d+)")).match(PdfText(pdf, i)).captured(1);
    EXPECT_EQ(numbers, (QStringList{"2", "3", "2", "3"}));
    EXPECT_EQ(LogMessages().last(), QStringLiteral("Напечатан отчет: РЕГИОНЫ. Всего страниц: %1. Копий 2").arg(pages));

    // All pages, two copies, into the next numbered file.
    GridPrintJob::PrintPages(2);
    EXPECT_EQ(PdfPages(Path(QStringLiteral("out-2.pdf"))), 2 * pages);
}

TEST_F(PrintingTest, CancelledFileDialogPrintsAndLogsNothing)
{
    qunsetenv("KESTROVA_PDF");
    auto grid = MakeGrid(3);
    GridPrintJob::Build(*grid, JobOptions());
    EXPECT_EQ(GridPrintJob::PrintPages(1), 0);
    ASSERT_EQ(dialogs->FileRequests.size(), 1);
    EXPECT_EQ(dialogs->FileRequests[0].Filter, QStringLiteral("PDF (*.pdf)|*.pdf"));
    EXPECT_TRUE(Printer().Aborted());
    EXPECT_FALSE(Printer().Printing());
    EXPECT_EQ(LogMessages(), QStringList{QStringLiteral("Сформирован отчет РЕГИОНЫ")});

    // The chosen file is written when the dialog answers.
    dialogs->FileAnswers << Path(QStringLiteral("chosen.pdf"));
    EXPECT_EQ(GridPrintJob::PrintPages(1), 1);
    EXPECT_EQ(PdfPages(Path(QStringLiteral("chosen.pdf"))), 1);
    EXPECT_EQ(Printer().LastOutputFile(), Path(QStringLiteral("chosen.pdf")));
}

TEST_F(PrintingTest, HeadingLinesThreeAndFourAppearOnPageOne)
{
    auto grid = MakeGrid(3);
    GridPrintJob::Options o = JobOptions();
    o.Line3 = QStringLiteral("Третья строка");
    o.Line4 = QStringLiteral("Четвертая строка");
    GridPrintJob::Build(*grid, o);
    GridPrintJob::PrintPages(1);
    const QString text = PdfText(Path(QStringLiteral("out.pdf")));
    const int title = text.indexOf(QStringLiteral("РЕГИОНЫ"));
    const int line3 = text.indexOf(QStringLiteral("Третья строка"));
    const int line4 = text.indexOf(QStringLiteral("Четвертая строка"));
    const int heading = text.indexOf(QStringLiteral("Имя"));
    EXPECT_TRUE(title >= 0 && title < line3 && line3 < line4 && line4 < heading) << text.toStdString();
}
