// How the program's string grids look and size their rows: heading and data cell painting,
// the measuring box for wrapped text, word-wrap row heights and the column widths in tvk.ini;
// and the parts of a grid window around them (the grid, the "no records" notice, the pop-up
// menu, emptying the rows). The table windows and the measurements window share it.
#pragma once

#include "StringGrid.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QWidget>

class QAction;
class QKeySequence;
class QLabel;
class QLayout;
class QMenu;
class QVBoxLayout;

// The hidden measuring box (`Memo1`): a word-wrapping text box as wide as a column, in the
// grid's font, that says how many lines a text takes and what they are. Never shown.
class TMeasureBox : public QWidget {
public:
    explicit TMeasureBox(QWidget* parent = nullptr);
    void SetBoxWidth(int width);
    void SetText(const QString& text);
    // At least 1, as an edit box always has a line.
    int LineCount() const;
    QString Line(int index) const;

    // Space left blank at each side of a line, the same for measuring and painting.
    static constexpr int InnerMargin = 2;

protected:
    void changeEvent(QEvent* event) override;

private:
    void Layout() const;
    int width_ = 0;
    QString text_;
    mutable bool laidOut_ = false;
    mutable QStringList lines_;
};

namespace TableGrid {

// Selection modes of a data cell.
enum { dmNone = 0, dmSelected = 1, dmFocused = 2 };

// A heading cell: the settings' heading colour, the text on one line, vertically centred.
void DrawHeaderCell(QPainter& painter, const StringGrid& grid, int col, int row, const QRect& rect);
// A data cell: highlight colours when selected; else even rows in Bgc5 when LinesColor is on;
// column 0 grey when greyRowNumbers. With WordWrap the text is laid out by memo, one line per
// RowHeight.
void DrawDataCell(QPainter& painter, const StringGrid& grid, TMeasureBox& memo, int col, int row,
                  const QRect& rect, int mode, bool greyRowNumbers);

// The selection mode of a cell in the given state.
int CellMode(StringGrid::CellState state);
// A cell of either kind: row 0 as a heading, the others as data cells (see DrawDataCell).
void DrawCell(QPainter& painter, const StringGrid& grid, TMeasureBox& memo, int col, int row, const QRect& rect,
              StringGrid::CellState state, bool greyRowNumbers);

// The grid (`StringGrid1`) on parent: default row height 20, cells painted by draw.
StringGrid* CreateGrid(QWidget* parent, const StringGrid::DrawCellFn& draw);
// The hidden notice "Нет записей для отображения" (`StaticText2`) on parent, 40 pixels down.
QLabel* CreateNotice(QWidget* parent);
// The grid's pop-up menu (named name, owned by owner), shown by a right click on the grid.
QMenu* CreatePopupMenu(QWidget* owner, StringGrid& grid, const QString& name);

// A column layout on owner with no margins and no spacing, as the grid windows stack their strips.
QVBoxLayout* TightColumn(QWidget* owner);
// Lays layout out at once, also in a hidden window (which gets no resize events, and whose
// layouts keep the geometry they had), so the grid's client width is known to the column widths.
void LayOutNow(QLayout& layout);
// The label's background in the settings' Bgc5.
void ApplyBackground(QLabel& label);

// Asks whether the current record is to be deleted; true on yes.
bool ConfirmDelete();

// The grid emptied to its heading row and the notice hidden, centred across a window of the
// given width.
void ClearRows(StringGrid& grid, QLabel& notice, int windowWidth);
// The notice shown over the empty grid.
void ShowNotice(QLabel& notice);

// Word-wrap row heights: per data row the candidate column (0, then 1 .. lastCandidate,
// a later column winning a tie) with the largest text-to-width ratio decides the row's
// height, a whole multiple of RowHeight. Columns of width 0 are never candidates.
void GridResize(StringGrid& grid, TMeasureBox& memo, int lastCandidate);

// An item of the grid's pop-up menu (owned by the menu's parent); its shortcut acts while
// the grid has the focus.
QAction* AddMenuItem(QMenu& menu, StringGrid& grid, const QString& name, const QString& text, const QKeySequence& key);

// The settings applied on activation: colours, default row height, grid lines.
void ApplySettings(StringGrid& grid);

// Width of column c := key "cw<c>" of section, default Trunc(client width x factors[c]).
// Returns the error's message, empty when all went well; the columns not yet read keep their widths.
QString ReadColumnWidths(StringGrid& grid, const QString& section, const QList<double>& factors);
// Writes keys "cw0" .. of section with the current widths; returns the error's message or empty.
QString SaveColumnWidths(const StringGrid& grid, const QString& section);

}  // namespace TableGrid
