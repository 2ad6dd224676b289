// The class library's string grid: a scroll area that paints only its visible cells, so tables
// of thousands of rows stay quick; the heading rows stay put while the body scrolls by rows.
#include "StringGrid.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <cstdlib>

namespace {
// How near a heading's column border the mouse must be to drag it.
constexpr int kBorderGrip = 3;

// One entry of the column widths or row heights; an index outside the list reads 0.
int SizeAt(const QVector<int>& sizes, int index)
{
    return (index >= 0 && index < sizes.size()) ? sizes[index] : 0;
}

// Sets one entry (a negative size counts as 0); false, and nothing set, outside the list.
bool SetSizeAt(QVector<int>& sizes, int index, int size)
{
    if (index < 0 || index >= sizes.size()) return false;
    sizes[index] = std::max(size, 0);
    return true;
}
}  // namespace

StringGrid::StringGrid(QWidget* parent) : QAbstractScrollArea(parent)
{
    cells_.resize(rowCount_);
    for (auto& r : cells_) r.resize(colCount_);
    colWidths_.fill(defaultColWidth_, colCount_);
    rowHeights_.fill(defaultRowHeight_, rowCount_);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    verticalScrollBar()->setSingleStep(1);
    UpdateScrollBars();
}

int StringGrid::ColCount() const { return colCount_; }

void StringGrid::SetColCount(int count)
{
    count = std::max(count, 1);
    if (count == colCount_) return;
    for (auto& r : cells_) r.resize(count);
    colWidths_.resize(count);
    for (int c = colCount_; c < count; ++c) colWidths_[c] = defaultColWidth_;
    colCount_ = count;
    col_ = std::min(col_, colCount_ - 1);
    UpdateScrollBars();
    viewport()->update();
}

int StringGrid::RowCount() const { return rowCount_; }

void StringGrid::SetRowCount(int count)
{
    count = std::max(count, 1);
    if (count == rowCount_) return;
    cells_.resize(count);
    for (int r = rowCount_; r < count; ++r) cells_[r].resize(colCount_);
    rowHeights_.resize(count);
    for (int r = rowCount_; r < count; ++r) rowHeights_[r] = defaultRowHeight_;
    rowCount_ = count;
    if (fixedRows_ >= rowCount_) fixedRows_ = rowCount_ - 1;
    if (row_ >= rowCount_) row_ = rowCount_ - 1;
    if (row_ < fixedRows_) row_ = fixedRows_;
    topRow_ = std::clamp(topRow_, fixedRows_, std::max(fixedRows_, MaxTopRow()));
    UpdateScrollBars();
    viewport()->update();
}

int StringGrid::FixedRows() const { return fixedRows_; }

void StringGrid::SetFixedRows(int count)
{
    // As in the class library, at least one row must stay scrollable.
    fixedRows_ = std::clamp(count, 0, rowCount_ - 1);
    if (row_ < fixedRows_) row_ = fixedRows_;
    if (topRow_ < fixedRows_) topRow_ = fixedRows_;
    UpdateScrollBars();
    viewport()->update();
}

QString StringGrid::Cell(int col, int row) const
{
    if (col < 0 || col >= colCount_ || row < 0 || row >= rowCount_) return QString();
    return cells_[row][col];
}

void StringGrid::SetCell(int col, int row, const QString& text)
{
    if (col < 0 || col >= colCount_ || row < 0 || row >= rowCount_) return;
    cells_[row][col] = text;
    viewport()->update();
}

int StringGrid::ColWidth(int col) const { return SizeAt(colWidths_, col); }

void StringGrid::SetColWidth(int col, int width)
{
    if (!SetSizeAt(colWidths_, col, width)) return;
    UpdateScrollBars();
    viewport()->update();
}

int StringGrid::RowHeight(int row) const { return SizeAt(rowHeights_, row); }

void StringGrid::SetRowHeight(int row, int height)
{
    if (!SetSizeAt(rowHeights_, row, height)) return;
    UpdateScrollBars();
    viewport()->update();
}

int StringGrid::DefaultRowHeight() const { return defaultRowHeight_; }

void StringGrid::SetDefaultRowHeight(int height)
{
    defaultRowHeight_ = std::max(height, 0);
    rowHeights_.fill(defaultRowHeight_, rowCount_);
    UpdateScrollBars();
    viewport()->update();
}

int StringGrid::DefaultColWidth() const { return defaultColWidth_; }

int StringGrid::GridHeight() const
{
    int h = 0;
    for (int r = 0; r < rowCount_; ++r) h += rowHeights_[r] + LineH();
    return h;
}

int StringGrid::Row() const { return row_; }

void StringGrid::SetRow(int row)
{
    if (row < fixedRows_ || row >= rowCount_) return;
    MoveTo(row);
}

int StringGrid::Col() const { return col_; }

void StringGrid::SetCol(int col)
{
    if (col < 0 || col >= colCount_) return;
    col_ = col;
    viewport()->update();
}

int StringGrid::TopRow() const { return topRow_; }

void StringGrid::SetGridLines(bool horizontal, bool vertical)
{
    hLines_ = horizontal;
    vLines_ = vertical;
    UpdateScrollBars();
    viewport()->update();
}

bool StringGrid::HorizontalLines() const { return hLines_; }
bool StringGrid::VerticalLines() const { return vLines_; }
int StringGrid::GridLineWidth() const { return (hLines_ || vLines_) ? 1 : 0; }

void StringGrid::SetDrawCell(DrawCellFn fn)
{
    drawCell_ = std::move(fn);
    viewport()->update();
}

QColor StringGrid::Color() const
{
    return color_.isValid() ? color_ : palette().color(QPalette::Base);
}

void StringGrid::SetColor(const QColor& color)
{
    color_ = color;
    viewport()->update();
}

int StringGrid::ClientWidth() const
{
    // Worked out from the frame, so it is right before the grid is first shown too.
    const QScrollBar* v = verticalScrollBar();
    const int bar = v->isVisibleTo(this) ? v->sizeHint().width() : 0;
    return std::max(0, contentsRect().width() - bar);
}

int StringGrid::FixedHeight() const
{
    int h = 0;
    for (int r = 0; r < fixedRows_; ++r) h += rowHeights_[r] + LineH();
    return h;
}

int StringGrid::BodyHeight() const { return std::max(0, viewport()->height() - FixedHeight()); }

int StringGrid::MaxTopRow() const
{
    // The highest top row that still leaves the last row fully in view.
    const int room = BodyHeight();
    int used = 0;
    int r = rowCount_ - 1;
    while (r >= fixedRows_) {
        used += rowHeights_[r] + LineH();
        if (used > room) break;
        --r;
    }
    return std::clamp(r + 1, fixedRows_, std::max(fixedRows_, rowCount_ - 1));
}

QRect StringGrid::CellRect(int col, int row) const
{
    if (col < 0 || col >= colCount_ || row < 0 || row >= rowCount_) return QRect();
    if (row >= fixedRows_ && row < topRow_) return QRect();
    int x = -horizontalScrollBar()->value();
    for (int c = 0; c < col; ++c) x += colWidths_[c] + LineW();
    int y = 0;
    if (row < fixedRows_) {
        for (int r = 0; r < row; ++r) y += rowHeights_[r] + LineH();
    } else {
        y = FixedHeight();
        for (int r = topRow_; r < row; ++r) y += rowHeights_[r] + LineH();
    }
    return QRect(x, y, colWidths_[col], rowHeights_[row]);
}

bool StringGrid::MouseToCell(const QPoint& pos, int& col, int& row) const
{
    col = -1;
    row = -1;
    int x = -horizontalScrollBar()->value();
    for (int c = 0; c < colCount_; ++c) {
        const int next = x + colWidths_[c] + LineW();
        if (pos.x() >= x && pos.x() < next) {
            col = c;
            break;
        }
        x = next;
    }
    int y = 0;
    for (int r = 0; r < fixedRows_ && row < 0; ++r) {
        const int next = y + rowHeights_[r] + LineH();
        if (pos.y() >= y && pos.y() < next) row = r;
        y = next;
    }
    for (int r = topRow_; r < rowCount_ && row < 0 && y <= pos.y(); ++r) {
        const int next = y + rowHeights_[r] + LineH();
        if (pos.y() >= y && pos.y() < next) row = r;
        y = next;
    }
    if (col < 0 || row < 0) {
        col = row = -1;
        return false;
    }
    return true;
}

void StringGrid::UpdateScrollBars()
{
    int total = 0;
    for (int c = 0; c < colCount_; ++c) total += colWidths_[c] + LineW();
    QScrollBar* h = horizontalScrollBar();
    h->setRange(0, std::max(0, total - viewport()->width()));
    h->setPageStep(std::max(1, viewport()->width()));
    h->setSingleStep(std::max(1, defaultColWidth_ / 4));

    const int maxTop = MaxTopRow();
    const int top = std::clamp(topRow_, fixedRows_, maxTop);
    // Not blocked: the scroll area shows or hides the bar on its range signal. A new range may
    // move the old value (and so the top row) first; the value set last puts it back.
    QScrollBar* v = verticalScrollBar();
    v->setRange(0, maxTop - fixedRows_);
    v->setPageStep(std::max(1, BodyHeight() / std::max(1, defaultRowHeight_ + LineH())));
    topRow_ = top;
    v->setValue(topRow_ - fixedRows_);
}

void StringGrid::EnsureRowVisible(int row)
{
    if (row < fixedRows_ || row >= rowCount_) return;
    if (row < topRow_) {
        topRow_ = row;
    } else {
        // Move the top down until the row's bottom fits the body.
        const int room = BodyHeight();
        auto bottomOf = [&] {
            int used = 0;
            for (int r = topRow_; r <= row; ++r) used += rowHeights_[r] + LineH();
            return used;
        };
        while (topRow_ < row && bottomOf() > room) ++topRow_;
    }
    UpdateScrollBars();
}

void StringGrid::MoveTo(int row)
{
    row = std::clamp(row, fixedRows_, rowCount_ - 1);
    const bool changed = row != row_;
    row_ = row;
    EnsureRowVisible(row_);
    viewport()->update();
    if (changed) emit CurrentRowChanged(row_);
}

void StringGrid::paintEvent(QPaintEvent*)
{
    QPainter p(viewport());
    const QRect area = viewport()->rect();
    p.fillRect(area, Color());
    const QColor lineColor = palette().color(QPalette::Mid);
    const int left = -horizontalScrollBar()->value();
    const bool focused = hasFocus();

    auto paintRow = [&](int r, int y) {
        int x = left;
        for (int c = 0; c < colCount_ && x < area.right() + 1; ++c) {
            const int w = colWidths_[c];
            const QRect rect(x, y, w, rowHeights_[r]);
            if (x + w + LineW() > 0 && w > 0 && rect.height() > 0) {
                CellState state;
                state.Fixed = r < fixedRows_;
                state.Selected = !state.Fixed && r == row_;
                state.Focused = state.Selected && focused && c == col_;
                p.save();
                p.setClipRect(rect);
                if (drawCell_) {
                    drawCell_(p, c, r, rect, state);
                } else {
                    const QPalette& pal = palette();
                    p.fillRect(rect, state.Fixed ? pal.color(QPalette::Button)
                                     : state.Selected ? pal.color(QPalette::Highlight)
                                                      : pal.color(QPalette::Base));
                    p.setPen(state.Selected ? pal.color(QPalette::HighlightedText) : pal.color(QPalette::Text));
                    p.drawText(rect.adjusted(2, 1, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                               cells_[r][c]);
                }
                p.restore();
            }
            x += w;
            if (vLines_) {
                p.setPen(lineColor);
                p.drawLine(x, y, x, y + rowHeights_[r]);
                x += 1;
            }
        }
        const int bottom = y + rowHeights_[r];
        if (hLines_ || r < fixedRows_) {
            p.setPen(lineColor);
            p.drawLine(left, bottom, x - 1, bottom);
        }
        return bottom + LineH();
    };

    int y = 0;
    for (int r = 0; r < fixedRows_; ++r) y = paintRow(r, y);
    const int bodyTop = y;
    p.setClipRect(QRect(0, bodyTop, area.width(), std::max(0, area.height() - bodyTop)));
    for (int r = topRow_; r < rowCount_ && y <= area.bottom(); ++r) {
        // paintRow saves and restores around each cell, which keeps this body clip.
        y = paintRow(r, y);
    }
}

void StringGrid::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

int StringGrid::ColumnBorderAt(int x) const
{
    int right = -horizontalScrollBar()->value();
    for (int c = 0; c < colCount_; ++c) {
        right += colWidths_[c];
        if (std::abs(x - right) <= kBorderGrip) return c;
        right += LineW();
    }
    return -1;
}

void StringGrid::mousePressEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    setFocus(Qt::MouseFocusReason);
    if (event->button() == Qt::RightButton) {
        // The row under the mouse becomes current first, so a pop-up menu acts on it.
        int col = 0, row = 0;
        if (MouseToCell(pos, col, row) && row >= fixedRows_) MoveTo(row);
    }
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    if (pos.y() < FixedHeight()) {
        const int c = ColumnBorderAt(pos.x());
        if (c >= 0) {
            resizingCol_ = c;
            resizeStartX_ = pos.x();
            resizeStartWidth_ = colWidths_[c];
            return;
        }
    }
    int col = 0, row = 0;
    if (MouseToCell(pos, col, row) && row >= fixedRows_) {
        col_ = col;
        MoveTo(row);
    }
}

void StringGrid::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (resizingCol_ >= 0) {
        SetColWidth(resizingCol_, resizeStartWidth_ + pos.x() - resizeStartX_);
        return;
    }
    const bool overBorder = pos.y() < FixedHeight() && ColumnBorderAt(pos.x()) >= 0;
    viewport()->setCursor(overBorder ? Qt::SplitHCursor : Qt::ArrowCursor);
    if ((event->buttons() & Qt::LeftButton)) {
        int col = 0, row = 0;
        if (MouseToCell(pos, col, row) && row >= fixedRows_) MoveTo(row);
    }
}

void StringGrid::mouseReleaseEvent(QMouseEvent* event)
{
    if (resizingCol_ >= 0 && event->button() == Qt::LeftButton) {
        const int c = resizingCol_;
        resizingCol_ = -1;
        emit ColumnResized(c, colWidths_[c]);
        return;
    }
    QAbstractScrollArea::mouseReleaseEvent(event);
}

void StringGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (event->button() != Qt::LeftButton) return;
    if (pos.y() < FixedHeight() && ColumnBorderAt(pos.x()) >= 0) return;
    int col = 0, row = 0;
    if (MouseToCell(pos, col, row)) emit CellDoubleClicked(col, row);
}

void StringGrid::keyPressEvent(QKeyEvent* event)
{
    bool handled = false;
    emit KeyPressed(event->key(), event->modifiers(), handled);
    if (handled) return;
    const int page = std::max(1, BodyHeight() / std::max(1, defaultRowHeight_ + LineH()));
    switch (event->key()) {
    case Qt::Key_Up: MoveTo(row_ - 1); break;
    case Qt::Key_Down: MoveTo(row_ + 1); break;
    case Qt::Key_PageUp: MoveTo(row_ - page); break;
    case Qt::Key_PageDown: MoveTo(row_ + page); break;
    case Qt::Key_Home: MoveTo(fixedRows_); break;
    case Qt::Key_End: MoveTo(rowCount_ - 1); break;
    case Qt::Key_Left:
        if (col_ > 0) SetCol(col_ - 1);
        break;
    case Qt::Key_Right:
        if (col_ < colCount_ - 1) SetCol(col_ + 1);
        break;
    default: event->ignore(); return;
    }
    event->accept();
}

void StringGrid::scrollContentsBy(int, int)
{
    topRow_ = std::clamp(fixedRows_ + verticalScrollBar()->value(), fixedRows_, std::max(fixedRows_, rowCount_ - 1));
    viewport()->update();
}
