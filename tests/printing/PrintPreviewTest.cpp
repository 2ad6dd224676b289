#include "PrintTestSupport.h"

#include "MetaPages.h"
#include "PrintPreview.h"

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <cmath>

using PrintPreview::TfrmPreview;

namespace {

void Key(QWidget* target, int key)
{
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

}  // namespace

class PreviewTest : public PrintingTest {
protected:
    void BuildJob(int bodyRows)
    {
        grid = MakeGrid(bodyRows);
        GridPrintJob::Options o;
        o.Title = QStringLiteral("РЕГИОНЫ");
        o.Mode = 1;
        GridPrintJob::Build(*grid, o);
    }
    std::unique_ptr<StringGrid> grid;
};

TEST_F(PreviewTest, OnePageJobCannotPage)
{
    BuildJob(3);
    TfrmPreview form;
    EXPECT_EQ(form.objectName(), QStringLiteral("frmPreview"));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Предварительный просмотр"));
    EXPECT_EQ(form.ZoomBox->count(), 15);
    EXPECT_EQ(form.ZoomBox->currentIndex(), -1);
    EXPECT_EQ(form.ZoomBox->itemText(14), QStringLiteral("По ширине текста"));
    EXPECT_EQ(form.ToolButton5->toolTip(), QStringLiteral("Печать"));
    EXPECT_EQ(form.SpeedButton1->text(), QStringLiteral("Закрыть"));
    EXPECT_FALSE(form.ToolButton4->isEnabled());
    EXPECT_FALSE(form.ToolButton6->isEnabled());
    EXPECT_EQ(form.StatusPanel0->text(), QStringLiteral("Стр. 1"));
    EXPECT_EQ(form.StatusPanel1->text(), QStringLiteral("Всего страниц: 1"));
    form.show();
    Key(&form, Qt::Key_PageDown);
    Key(&form, Qt::Key_PageUp);
    EXPECT_EQ(form.PageIndex, 0);
    EXPECT_EQ(form.StatusPanel0->text(), QStringLiteral("Стр. 1"));
}

TEST_F(PreviewTest, PagingKeysWorkFromAnyControlAndStopAtTheEnds)
{
    BuildJob(130);
    const int count = CurrentPages->Count();
    ASSERT_GE(count, 3);
    TfrmPreview form;
    form.show();
    EXPECT_TRUE(form.ToolButton6->isEnabled());
    // The zoom list would take Page Down itself; the window sees it first.
    Key(form.ZoomBox, Qt::Key_PageDown);
    EXPECT_EQ(form.PageIndex, 1);
    EXPECT_EQ(form.ZoomBox->currentIndex(), 12);
    EXPECT_EQ(form.StatusPanel0->text(), QStringLiteral("Стр. 2"));
    EXPECT_TRUE(form.ToolButton4->isEnabled());
    for (int i = 0; i < count + 2; ++i) Key(&form, Qt::Key_PageDown);
    EXPECT_EQ(form.PageIndex, count - 1);
    EXPECT_EQ(form.StatusPanel0->text(), QStringLiteral("Стр. %1").arg(count));
    EXPECT_FALSE(form.ToolButton6->isEnabled());
    for (int i = 0; i < count + 2; ++i) Key(&form, Qt::Key_PageUp);
    EXPECT_EQ(form.PageIndex, 0);
    EXPECT_FALSE(form.ToolButton4->isEnabled());
    EXPECT_TRUE(form.isVisible());
    Key(&form, Qt::Key_Escape);
    EXPECT_FALSE(form.isVisible());
}

TEST_F(PreviewTest, LayoutFiguresForAnA4Sheet)
{
    BuildJob(3);
    TfrmPreview form;
    form.resize(1000, 800);
    form.show();
    ASSERT_EQ(form.PPI(), 96);
    const QSize client = form.ScrollBox1->viewport()->size();

    // Opens on the whole page: the sheet's height fills the client area less 15, centred across.
    EXPECT_EQ(form.ZoomBox->currentIndex(), 12);
    EXPECT_NEAR(form.Panel2->height(), client.height() - 15, 1);
    EXPECT_EQ(form.Panel2->y(), 7);
    EXPECT_EQ(form.Panel2->x(), (client.width() - 1) / 2 - form.Panel2->width() / 2);
    EXPECT_EQ(form.ScrollBox1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);

    // 100%: 96 × 4958 / 600 and 96 × 7017 / 600, truncated; taller than the area: 7 from the
    // top, still centred across, both bars.
    form.ToolButton3->click();
    EXPECT_EQ(form.ZoomBox->currentIndex(), 7);
    EXPECT_EQ(form.Panel2->size(), QSize(793, 1122));
    const QSize barred = form.ScrollBox1->viewport()->size();
    EXPECT_EQ(form.Panel2->pos(), QPoint((barred.width() - 1) / 2 - 793 / 2, 7));
    EXPECT_EQ(form.Panel1->size(), QSize(barred.width() - 1, 1137));
    EXPECT_EQ(form.ScrollBox1->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(form.ScrollBox1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);

    // 50%: smaller than the area, centred in it, no bars.
    form.ZoomBox->setCurrentIndex(9);
    form.ZoomBoxChange();
    const QSize small = form.ScrollBox1->viewport()->size();
    EXPECT_EQ(form.Panel2->size(), QSize(396, 561));
    EXPECT_EQ(form.Panel1->size(), QSize(small.width() - 1, small.height() - 1));
    EXPECT_EQ(form.Panel2->pos(), QPoint((small.width() - 1) / 2 - 198, (small.height() - 1) / 2 - 280));
    EXPECT_EQ(form.ScrollBox1->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);

    // Page width: the sheet's width fills the client area less 15; it is taller, so bars appear.
    form.ToolButton2->click();
    EXPECT_EQ(form.ZoomBox->currentIndex(), 13);
    const QSize wide = form.ScrollBox1->viewport()->size();
    EXPECT_NEAR(form.Panel2->width(), wide.width() - 15, 1);
    EXPECT_EQ(form.ScrollBox1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);

    // A resize keeps the chosen item and recomputes it.
    form.resize(700, 600);
    EXPECT_EQ(form.ZoomBox->currentIndex(), 13);
    EXPECT_NEAR(form.Panel2->width(), form.ScrollBox1->viewport()->width() - 15, 1);
}

TEST_F(PreviewTest, DraggingScrollsBySheetMovement)
{
    BuildJob(3);
    TfrmPreview form;
    form.resize(800, 600);
    form.show();
    form.ZoomBox->setCurrentIndex(4);  // 200%
    form.ZoomBoxChange();
    QScrollBar* h = form.ScrollBox1->horizontalScrollBar();
    QScrollBar* v = form.ScrollBox1->verticalScrollBar();
    h->setValue(100);
    v->setValue(100);
    form.PaintBox1MouseDown(300, 300);
    form.PaintBox1MouseMove(280, 290);
    EXPECT_EQ(h->value(), 120);
    EXPECT_EQ(v->value(), 110);
    form.PaintBox1MouseUp();
    form.PaintBox1MouseMove(0, 0);
    EXPECT_EQ(h->value(), 120);
}

TEST_F(PreviewTest, PrintsEveryPageOnceAndLogsIt)
{
    BuildJob(130);
    const int count = CurrentPages->Count();
    TfrmPreview form;
    form.show();
    form.ToolButton5->click();
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(PdfPages(Path(QStringLiteral("out.pdf"))), count);
    EXPECT_EQ(LogMessages().last(),
              QStringLiteral("Напечатан отчет РЕГИОНЫ из окна предварительного просмотра. Всего страниц: %1").arg(count));
}

TEST_F(PreviewTest, ModalPreviewRunsAndIsReleased)
{
    BuildJob(3);
    bool seen = false;
    TfrmPreview::OnExecute = [&](TfrmPreview& form) {
        seen = PrintPreview::frmPreview == &form && form.isVisible();
        form.SpeedButton1->click();
    };
    GridPrintJob::Preview();
    TfrmPreview::OnExecute = nullptr;
    EXPECT_TRUE(seen);
    EXPECT_EQ(PrintPreview::frmPreview, nullptr);
    EXPECT_NE(CurrentPages, nullptr);  // the job is the caller's to free
}

namespace {

// Mean brightness of blocks of the image, so that glyph smoothing does not count.
QVector<double> Blocks(const QImage& image, int block)
{
    const QImage gray = image.convertToFormat(QImage::Format_Grayscale8);
    QVector<double> out;
    for (int by = 0; by + block <= gray.height(); by += block)
        for (int bx = 0; bx + block <= gray.width(); bx += block) {
            double sum = 0;
            for (int y = by; y < by + block; ++y)
                for (int x = bx; x < bx + block; ++x) sum += gray.constScanLine(y)[x];
            out << sum / (block * block);
        }
    return out;
}

}  // namespace

TEST_F(PreviewTest, PageLooksTheSameInThePreviewAndInThePdf)
{
    // Borders of 2 pixels at the raster's resolution: hairlines are a matter of each renderer's taste.
    AppConfig->BoldLine = 12;
    AppConfig->RegLine = 12;
    BuildJob(40);
    GridPrintJob::PrintPages(1);
    const QString prefix = Path(QStringLiteral("raster"));
    Run(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("100"), QStringLiteral("-png"),
                                     QStringLiteral("-singlefile"), Path(QStringLiteral("out.pdf")), prefix});
    const QImage printed(prefix + QStringLiteral(".png"));
    ASSERT_FALSE(printed.isNull());

    TfrmPreview form;
    QImage shown(printed.size(), QImage::Format_RGB32);
    shown.fill(Qt::white);
    QPainter painter(&shown);
    form.PaintBox1Paint(painter, shown.size());
    painter.end();

    // Measured against the same preview moved by 3 pixels, to show that the measure sees a misplacement.
    QImage moved(shown.size(), QImage::Format_RGB32);
    moved.fill(Qt::white);
    QPainter mover(&moved);
    mover.drawImage(3, 3, shown);
    mover.end();

    const QVector<double> a = Blocks(printed, 8);
    const QVector<double> b = Blocks(shown, 8);
    const QVector<double> c = Blocks(moved, 8);
    ASSERT_EQ(a.size(), b.size());
    double same = 0;
    double misplaced = 0;
    double worst = 0;
    double ink = 0;
    for (int i = 0; i < a.size(); ++i) {
        same += std::abs(a[i] - b[i]);
        misplaced += std::abs(c[i] - b[i]);
        worst = std::max(worst, std::abs(a[i] - b[i]));
        ink += 255 - a[i];
    }
    EXPECT_GT(ink / a.size(), 3.0) << ink / a.size();  // there is something on the page
    EXPECT_LT(same, misplaced / 2) << same / a.size() << " " << misplaced / a.size();
    EXPECT_LT(same / a.size(), 2.0);
    EXPECT_LT(worst, 48.0);
}
