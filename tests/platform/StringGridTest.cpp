// The string grid: cells, sizes, the fixed heading row while the body scrolls, keys and
// column sizing by dragging the heading's border.
#include "StringGrid.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <gtest/gtest.h>

static void Key(StringGrid& g, int key)
{
    QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(&g, &e);
}

static void Mouse(StringGrid& g, QEvent::Type type, QPoint pos, Qt::MouseButtons buttons)
{
    QMouseEvent e(type, pos, g.viewport()->mapToGlobal(pos), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(g.viewport(), &e);
}

TEST(StringGridTest, CellsAndSizesFollowTheCounts)
{
    StringGrid g;
    g.SetColCount(3);
    g.SetRowCount(4);
    g.SetCell(2, 3, QStringLiteral("x"));
    g.SetCell(3, 3, QStringLiteral("outside"));  // ignored
    EXPECT_EQ(g.Cell(2, 3), QStringLiteral("x"));
    EXPECT_EQ(g.Cell(3, 3), QString());
    g.SetRowCount(2);
    g.SetRowCount(4);
    EXPECT_EQ(g.Cell(2, 3), QString());  // rows dropped and added again are empty
    g.SetRowHeight(2, 55);
    g.SetDefaultRowHeight(18);
    EXPECT_EQ(g.RowHeight(2), 18);  // the default applies to every row
    // At least one row stays below the fixed rows.
    g.SetRowCount(1);
    EXPECT_EQ(g.FixedRows(), 0);
}

TEST(StringGridTest, KeysMoveTheCurrentRowAndTheHeadingStaysOnTop)
{
    StringGrid g;
    g.resize(300, 200);
    g.show();
    g.SetColCount(2);
    g.SetRowCount(1001);
    g.SetDefaultRowHeight(20);
    bool handled = false;
    QObject::connect(&g, &StringGrid::KeyPressed, [&handled](int key, Qt::KeyboardModifiers, bool& h) {
        if (key == Qt::Key_Return) h = handled = true;
    });
    Key(g, Qt::Key_End);
    EXPECT_EQ(g.Row(), 1000);
    EXPECT_EQ(g.CellRect(0, 0).top(), 0);  // the heading row is not scrolled away
    EXPECT_TRUE(g.CellRect(0, 1000).bottom() < g.viewport()->height());
    Key(g, Qt::Key_Home);
    EXPECT_EQ(g.Row(), 1);
    EXPECT_EQ(g.TopRow(), 1);
    Key(g, Qt::Key_Up);
    EXPECT_EQ(g.Row(), 1);
    Key(g, Qt::Key_PageDown);
    EXPECT_GT(g.Row(), 2);
    Key(g, Qt::Key_Return);
    EXPECT_TRUE(handled);
}

TEST(StringGridTest, DraggingTheHeadingBorderSizesTheColumn)
{
    StringGrid g;
    g.resize(400, 200);
    g.show();
    g.SetGridLines(false, true);
    g.SetColCount(3);
    g.SetColWidth(0, 50);
    g.SetColWidth(1, 80);
    QList<QPair<int, int>> resized;
    QObject::connect(&g, &StringGrid::ColumnResized, [&resized](int c, int w) { resized.append({c, w}); });
    const int border = 50 + 1 + 80;  // right edge of column 1 (one line after column 0)
    Mouse(g, QEvent::MouseButtonPress, QPoint(border, 5), Qt::LeftButton);
    Mouse(g, QEvent::MouseMove, QPoint(border + 37, 5), Qt::LeftButton);
    Mouse(g, QEvent::MouseButtonRelease, QPoint(border + 37, 5), Qt::NoButton);
    EXPECT_EQ(g.ColWidth(1), 117);
    EXPECT_EQ(resized, (QList<QPair<int, int>>{{1, 117}}));
    // A point in the body names its cell.
    g.SetRowCount(5);
    int col = -1, row = -1;
    ASSERT_TRUE(g.MouseToCell(QPoint(60, g.CellRect(0, 3).center().y()), col, row));
    EXPECT_EQ(QPoint(col, row), QPoint(1, 3));
}

TEST(StringGridTest, TheScrollBarGoesWhenTheRowsFitAgain)
{
    StringGrid g;
    g.resize(300, 200);
    g.show();
    g.SetColCount(2);
    g.SetRowCount(9);
    g.SetDefaultRowHeight(20);
    for (int r = 1; r < 9; ++r) g.SetRowHeight(r, 120);  // word-wrapped rows, taller than the grid
    QApplication::processEvents();
    EXPECT_TRUE(g.verticalScrollBar()->isVisible());
    g.SetDefaultRowHeight(20);  // the rows are one line again: all of them fit
    QApplication::processEvents();
    EXPECT_FALSE(g.verticalScrollBar()->isVisible());
    EXPECT_EQ(g.TopRow(), 1);
}
