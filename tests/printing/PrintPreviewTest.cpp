#include "PrintTestSupport.h"

#include "PrintPreview.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>

using PrintPreview::TfrmPreview;

namespace {

void Key(QWidget* target, int key, int times = 1)
{
    for (int i = 0; i < times; ++i) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    }
}

}  // namespace

TEST_F(PrintingTest, ModalPreviewPagesToItsEndsPrintsAndIsReleased)
{
    const int count = BuildJob(130);
    ASSERT_GE(count, 3);
    bool seen = false;
    TfrmPreview::OnExecute = [&](TfrmPreview& form) {
        seen = PrintPreview::frmPreview == &form && form.isVisible();
        EXPECT_EQ((QStringList{form.objectName(), form.windowTitle(), form.ZoomBox->itemText(14),
                               form.ToolButton5->toolTip(), form.SpeedButton1->text(), form.StatusPanel1->text()}),
                  (QStringList{"frmPreview", "Предварительный просмотр", "По ширине текста", "Печать", "Закрыть",
                               QStringLiteral("Всего страниц: %1").arg(count)}));
        EXPECT_EQ(form.ZoomBox->count(), 15);
        for (const QLabel* panel : {form.StatusPanel0, form.StatusPanel1})
            EXPECT_TRUE(panel->width() >= 100 && TestSupport::ShowsWholeText(*panel)) << panel->text().toStdString();
        // Every toolbar button shows an image of its own.
        QList<QImage> images;
        for (QToolButton* b : {form.ToolButton5, form.ToolButton1, form.ToolButton2, form.ToolButton3, form.ToolButton4, form.ToolButton6})
            if (const QImage image = b->icon().pixmap(16, 16).toImage(); !image.isNull() && !images.contains(image)) images << image;
        EXPECT_EQ(images.size(), 6);
        // The zoom list would take Page Down itself; the window sees it first. Paging stops at either end.
        Key(form.ZoomBox, Qt::Key_PageDown);
        EXPECT_EQ(form.StatusPanel0->text(), QStringLiteral("Стр. 2"));
        EXPECT_TRUE(form.ToolButton4->isEnabled() && form.ToolButton6->isEnabled());
        Key(&form, Qt::Key_PageDown, count + 2);
        EXPECT_EQ(form.StatusPanel0->text(), QStringLiteral("Стр. %1").arg(count));
        EXPECT_FALSE(form.ToolButton6->isEnabled());
        Key(&form, Qt::Key_PageUp, count + 2);
        EXPECT_EQ(form.StatusPanel0->text(), QStringLiteral("Стр. 1"));
        EXPECT_FALSE(form.ToolButton4->isEnabled());
        // Printing sends every page once and leaves the window open; Escape closes it.
        form.ToolButton5->click();
        EXPECT_EQ(PdfPages("out.pdf"), count);
        EXPECT_EQ(LogMessages().last(),
                  QStringLiteral("Напечатан отчет РЕГИОНЫ из окна предварительного просмотра. Всего страниц: %1").arg(count));
        EXPECT_TRUE(form.isVisible());
        Key(&form, Qt::Key_Escape);
        EXPECT_FALSE(form.isVisible());
    };
    GridPrintJob::Preview();
    TfrmPreview::OnExecute = nullptr;
    EXPECT_TRUE(seen);
    EXPECT_EQ(PrintPreview::frmPreview, nullptr);
    EXPECT_NE(CurrentPages, nullptr);  // the job is the caller's to free
}

TEST_F(PrintingTest, StatusPanelsAreAHundredPixelsOrAsWideAsTheirTexts)
{
    BuildJob(3);
    TfrmPreview form;
    form.resize(1000, 800);
    QFont small = form.font();
    small.setPixelSize(6);
    form.setFont(small);
    form.show();
    for (const QLabel* panel : {form.StatusPanel0, form.StatusPanel1}) EXPECT_EQ(panel->width(), 100);

    // In a font where "Всего страниц: 1" needs more than 100 pixels the panels widen; the number
    // is never cut off.
    QFont large = form.font();
    large.setPixelSize(22);
    form.setFont(large);
    QCoreApplication::processEvents();
    ASSERT_GT(QFontMetrics(large).horizontalAdvance(form.StatusPanel1->text()), 100);
    EXPECT_EQ(form.StatusPanel1->text(), QStringLiteral("Всего страниц: 1"));
    for (const QLabel* panel : {form.StatusPanel0, form.StatusPanel1})
        EXPECT_TRUE(TestSupport::ShowsWholeText(*panel)) << panel->text().toStdString();
}

TEST_F(PrintingTest, LayoutFiguresForAnA4SheetOfOnePage)
{
    BuildJob(3);
    TfrmPreview form;
    form.resize(1000, 800);
    form.show();
    ASSERT_EQ(form.PPI(), 96);
    auto view = [&] { return form.ScrollBox1->viewport()->size(); };
    auto zoom = [&](int index) { form.ZoomBox->setCurrentIndex(index); form.ZoomBoxChange(); };
    // Both bars or none.
    auto bars = [&] { return QList<int>{form.ScrollBox1->horizontalScrollBarPolicy(), form.ScrollBox1->verticalScrollBarPolicy()}; };
    const QList<int> on{Qt::ScrollBarAlwaysOn, Qt::ScrollBarAlwaysOn}, off{Qt::ScrollBarAlwaysOff, Qt::ScrollBarAlwaysOff};

    // Opens on the whole page: the sheet's height fills the client area less 15, centred across.
    EXPECT_EQ(form.ZoomBox->currentIndex(), 12);
    EXPECT_NEAR(form.Panel2->height(), view().height() - 15, 1);
    EXPECT_EQ(form.Panel2->pos(), QPoint((view().width() - 1) / 2 - form.Panel2->width() / 2, 7));
    EXPECT_EQ(bars(), off);

    // 100%: 96 × 4958 / 600 and 96 × 7017 / 600, truncated; taller than the area: 7 from the top, still centred
    // across, both bars.
    form.ToolButton3->click();
    EXPECT_EQ(form.ZoomBox->currentIndex(), 7);
    EXPECT_EQ(form.Panel2->geometry(), QRect((view().width() - 1) / 2 - 793 / 2, 7, 793, 1122));
    EXPECT_EQ(form.Panel1->size(), QSize(view().width() - 1, 1137));
    EXPECT_EQ(bars(), on);

    // 50%: smaller than the area, centred in it, no bars.
    zoom(9);
    EXPECT_EQ(form.Panel2->geometry(), QRect((view().width() - 1) / 2 - 198, (view().height() - 1) / 2 - 280, 396, 561));
    EXPECT_EQ(form.Panel1->size(), view() - QSize(1, 1));
    EXPECT_EQ(bars(), off);

    // Page width: the sheet's width fills the client area less 15; it is taller, so bars appear.
    // A resize keeps the chosen item and recomputes it.
    form.ToolButton2->click();
    EXPECT_EQ(bars(), on);
    for (QSize size : {QSize(1000, 800), QSize(700, 600)}) {
        form.resize(size);
        EXPECT_EQ(form.ZoomBox->currentIndex(), 13);
        EXPECT_NEAR(form.Panel2->width(), view().width() - 15, 1);
    }

    // Dragging at 200% scrolls by the sheet's movement, and stops when the button is up.
    zoom(4);
    QScrollBar *h = form.ScrollBox1->horizontalScrollBar(), *v = form.ScrollBox1->verticalScrollBar();
    h->setValue(100); v->setValue(100);
    form.PaintBox1MouseDown(300, 300);
    form.PaintBox1MouseMove(280, 290);
    EXPECT_EQ(QPoint(h->value(), v->value()), QPoint(120, 110));
    form.PaintBox1MouseUp();
    form.PaintBox1MouseMove(0, 0);
    EXPECT_EQ(h->value(), 120);

    // A single page cannot be paged; the close button closes.
    Key(&form, Qt::Key_PageDown);
    EXPECT_FALSE(form.ToolButton4->isEnabled() || form.ToolButton6->isEnabled());
    form.SpeedButton1->click();
    EXPECT_FALSE(form.isVisible());
}

TEST_F(PrintingTest, PageLooksTheSameInThePreviewAndInThePdf)
{
    // Borders of 2 pixels at the raster's resolution: hairlines are a matter of each renderer's taste.
    AppConfig->BoldLine = AppConfig->RegLine = 12;
    BuildJob(40);
    GridPrintJob::PrintPages(1);
    Run(QStringLiteral("pdftoppm"), {"-r", "100", "-png", "-singlefile", Path("out.pdf"), Path("raster")});
    const QImage printed(Path("raster.png"));
    ASSERT_FALSE(printed.isNull());
    TfrmPreview form;
    // Mean brightness of 8 × 8 blocks, so that glyph smoothing does not count.
    auto blocks = [&](const QImage& image) {
        return image.convertToFormat(QImage::Format_Grayscale8).scaled(image.size() / 8, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    };
    // The preview's page, moved by offset pixels.
    auto shown = [&](int offset) {
        return blocks(Painted(printed.size(), [&](QPainter& p) { p.translate(offset, offset); form.PaintBox1Paint(p, printed.size()); }));
    };
    // Measured against the same preview moved by 3 pixels, to show that the measure sees a misplacement.
    const QImage a = blocks(printed), b = shown(0), c = shown(3);
    ASSERT_EQ(a.size(), b.size());
    double same = 0, misplaced = 0, worst = 0, ink = 0;
    const int n = a.width() * a.height();
    for (int i = 0; i < n; ++i) {
        const QPoint at(i % a.width(), i / a.width());
        const int ai = qGray(a.pixel(at)), bi = qGray(b.pixel(at));
        same += std::abs(ai - bi);
        misplaced += std::abs(qGray(c.pixel(at)) - bi);
        worst = std::max(worst, double(std::abs(ai - bi)));
        ink += 255 - ai;
    }
    EXPECT_GT(ink / n, 3.0);  // there is something on the page
    EXPECT_LT(same, misplaced / 2) << same / n << " " << misplaced / n;
    EXPECT_LT(same / n, 2.0);
    EXPECT_LT(worst, 48.0);
}
