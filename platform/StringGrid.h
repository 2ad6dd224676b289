// The class library's string grid: cells by column and row, fixed heading rows,
// column widths, per-row heights, current row, whole-row selection, owner-drawn cells.
#pragma once

#include <QAbstractScrollArea>
#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>
#include <QVector>
#include <functional>

class QPainter;

class StringGrid : public QAbstractScrollArea {
    Q_OBJECT
public:
    // State of a cell handed to the owner-draw callback.
    struct CellState {
        bool Fixed = false;     // a heading (fixed) row
        bool Selected = false;  // in the current row
        bool Focused = false;
    };
    using DrawCellFn = std::function<void(QPainter& painter, int col, int row, const QRect& rect, CellState state)>;

    explicit StringGrid(QWidget* parent = nullptr);

    int ColCount() const;
    void SetColCount(int count);
    int RowCount() const;
    void SetRowCount(int count);
    int FixedRows() const;
    void SetFixedRows(int count);
    // The grid has no fixed (heading) columns; printing asks all the same.
    int FixedCols() const { return 0; }

    QString Cell(int col, int row) const;
    void SetCell(int col, int row, const QString& text);

    int ColWidth(int col) const;
    void SetColWidth(int col, int width);
    int RowHeight(int row) const;
    void SetRowHeight(int row, int height);
    int DefaultRowHeight() const;
    void SetDefaultRowHeight(int height);  // sets every row's height
    int DefaultColWidth() const;
    // Total height of the rows (lines included), the heading rows first.
    int GridHeight() const;

    // Current row and column (whole-row selection).
    int Row() const;
    void SetRow(int row);
    int Col() const;
    void SetCol(int col);
    int TopRow() const;

    void SetGridLines(bool horizontal, bool vertical);
    bool HorizontalLines() const;
    bool VerticalLines() const;
    int GridLineWidth() const;  // 1 when any line is drawn

    // The grid's own colour: what shows where no cell is (invalid: the system window colour).
    QColor Color() const;
    void SetColor(const QColor& color);

    // The owner-draw callback paints every cell; without one, text is drawn plainly.
    void SetDrawCell(DrawCellFn fn);
    // Client width of the grid (inside the frame and scroll bars).
    int ClientWidth() const;
    // The rectangle of a cell in viewport coordinates.
    QRect CellRect(int col, int row) const;
    // Cell under a viewport point; false when there is none.
    bool MouseToCell(const QPoint& pos, int& col, int& row) const;

signals:
    void CurrentRowChanged(int row);
    void CellDoubleClicked(int col, int row);
    void ColumnResized(int col, int width);
    void KeyPressed(int key, Qt::KeyboardModifiers modifiers, bool& handled);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void UpdateScrollBars();
    void EnsureRowVisible(int row);
    int LineW() const { return vLines_ ? 1 : 0; }
    int LineH() const { return hLines_ ? 1 : 0; }
    int FixedHeight() const;
    int BodyHeight() const;
    int MaxTopRow() const;
    int ColumnBorderAt(int x) const;
    void MoveTo(int row);

    int colCount_ = 5;
    int rowCount_ = 5;
    int fixedRows_ = 1;
    QVector<QVector<QString>> cells_;  // [row][col]
    QVector<int> colWidths_;
    QVector<int> rowHeights_;
    int defaultRowHeight_ = 24;
    int defaultColWidth_ = 64;
    int row_ = 1;
    int col_ = 0;
    bool hLines_ = true;
    bool vLines_ = true;
    DrawCellFn drawCell_;
    int resizingCol_ = -1;
    int resizeStartX_ = 0;
    int resizeStartWidth_ = 0;
    int topRow_ = 1;
    QColor color_;
};
