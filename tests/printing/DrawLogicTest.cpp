#include "PrintTestSupport.h"

#include "DrawLogic.h"
#include "MetaPages.h"

#include <QImage>
#include <QPainter>
#include <QPicture>

TEST(DrawLogicFontSize, FollowsResolutionAndRoundsHalvesToEven)
{
    EXPECT_EQ(BodyFontSize(1.0, 300, 100), 23);
    EXPECT_EQ(BodyFontSize(1.0, 600, 100), 47);
    EXPECT_EQ(BodyFontSize(1.0, 1200, 100), 93);
    // 3.5 and 10.5 at 300 dpi; the same exact halves at 600 and 1200 dpi.
    EXPECT_EQ(BodyFontSize(1.0, 300, 15), 4);
    EXPECT_EQ(BodyFontSize(1.0, 300, 45), 10);
    EXPECT_EQ(BodyFontSize(0.75, 600, 10), 4);
    EXPECT_EQ(BodyFontSize(0.75, 600, 30), 10);
    EXPECT_EQ(BodyFontSize(0.375, 1200, 50), 18);
    EXPECT_EQ(BodyFontSize(0.375, 1200, 70), 24);
    // A setting below 1 counts as 1; the size never drops to 0.
    EXPECT_EQ(BodyFontSize(1.0, 600, 0), BodyFontSize(1.0, 600, 1));
    EXPECT_EQ(BodyFontSize(1.0, 600, -50), 1);
}

TEST_F(PrintingTest, OverTallBodyRowGetsAPageOfItsOwn)
{
    auto grid = MakeGrid(5);
    grid->SetRowHeight(3, 5000);
    GridPrintJob::Options o;
    o.Title = QStringLiteral("Т");
    EXPECT_EQ(GridPrintJob::Build(*grid, o), 3);
    GridPrintJob::PrintPages(1);
    const QString pdf = Path(QStringLiteral("out.pdf"));
    EXPECT_TRUE(PdfText(pdf, 1).contains(QStringLiteral("r0002x")));
    EXPECT_FALSE(PdfText(pdf, 1).contains(QStringLiteral("r0003x")));
    const QString second = PdfText(pdf, 2);
    EXPECT_TRUE(second.contains(QStringLiteral("r0003x")));
    EXPECT_FALSE(second.contains(QStringLiteral("r0004x")));
    EXPECT_TRUE(second.contains(QStringLiteral("Стр. 2")));
    EXPECT_TRUE(PdfText(pdf, 3).contains(QStringLiteral("r0004x")));
}

TEST_F(PrintingTest, HeadingRowThatDoesNotFitEndsTheJob)
{
    auto grid = MakeGrid(5);
    grid->SetRowHeight(0, 5000);
    EXPECT_EQ(GridPrintJob::Build(*grid, {}), 1);
}

namespace {

// Rows of the image (from the top) that hold dark pixels in column x.
int FirstDarkRow(const QImage& image, int x, int from = 0)
{
    for (int y = from; y < image.height(); ++y)
        if (qGray(image.pixel(x, y)) < 128) return y;
    return -1;
}

}  // namespace

TEST_F(PrintingTest, HeadingRowsStartBelowTheTitleBoxWithoutSubtitle)
{
    AppConfig->PrintSubtitle = false;
    AppConfig->BoldLine = 3;
    AppConfig->RegLine = 0;
    auto grid = MakeGrid(2);
    GridPrintJob::Build(*grid, {});
    ASSERT_EQ(CurrentPages->Count(), 1);

    // The title font is 47 × 1.5 = 70.5, rounded to 70 points, bold.
    QPicture probe;
    QPainter measure(&probe);
    QFont title(QStringLiteral("DejaVu Sans"));
    title.setPointSize(70);
    title.setBold(true);
    measure.setFont(title);
    const int th = measure.fontMetrics().height();
    measure.end();

    QImage page(Printer().PageWidth(), 1200, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    ReplayPage(painter, *CurrentPages->Pages(0));
    painter.end();
    // The top border of the heading row: a 3-pixel line centred on TopMargin + 4 × th + 3.
    const int x = 1000;  // inside the second column, right of its texts
    const int border = FirstDarkRow(page, x);
    EXPECT_NEAR(border, 100 + 4 * th + 3 - 1, 1);
    // Borders of body cells are off: the first body row has no line below the heading's.
    const int next = FirstDarkRow(page, x, border + 4);
    EXPECT_GT(next, border + 4);  // the heading's bottom border
    EXPECT_EQ(FirstDarkRow(page, x, next + 4), -1);
}
