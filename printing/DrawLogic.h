// The grid page renderer: lays a string grid out on printer pages with its heading block,
// repeated heading rows, cell borders and page numbers.
#pragma once

#include <QFont>
#include <QString>

class QPainter;
class StringGrid;

// The current printer's horizontal resolution; PrintGridPage sets it before every page.
extern int LogPixelsX;

// What the renderer reads of a grid, in screen pixels. The renderer itself needs no widgets.
class TPrintGridSource {
public:
    virtual ~TPrintGridSource() = default;
    virtual int RowCount() const = 0;
    virtual int ColCount() const = 0;
    virtual int FixedRows() const = 0;
    virtual int FixedCols() const = 0;
    virtual int RowHeight(int row) const = 0;
    virtual int ColWidth(int col) const = 0;
    virtual QString Cell(int col, int row) const = 0;
    virtual QFont Font() const = 0;
    virtual int Width() const = 0;
    // Width of a text in the grid's font on the grid's own screen canvas.
    virtual int ScreenTextWidth(const QString& text) const = 0;
};

// Body font size in points: 28 × scale × logPixelsX / 360 × appScale / 100, rounded half to
// even in extended precision. An appScale below 1 is taken as 1; the size is at least 1.
int BodyFontSize(double scale, int logPixelsX, int appScale);

// Sets LogPixelsX from the printer and draws with BottomLimit = Printer().PageHeight() -
// BottomMargin. Returns the row the next page starts at, or -1 when the grid is done.
int PrintGridPage(StringGrid& Grid, int StartRow, int PageNo, double Scale, int LeftMargin, int TopMargin,
                  int BottomMargin, int Mode, QPainter& Canvas);
int PrintGridPage(const TPrintGridSource& Grid, int StartRow, int PageNo, double Scale, int LeftMargin,
                  int TopMargin, int BottomMargin, int Mode, QPainter& Canvas);

// The renderer proper, in printer pixels from the printable area's corner. A body row that
// does not fit even on an empty page is drawn clipped on a page of its own, so a job ends.
int DrawGridPage(const TPrintGridSource& Grid, int StartRow, int PageNo, double Scale, int LeftMargin,
                 int TopMargin, int BottomLimit, int Mode, QPainter& Canvas);
