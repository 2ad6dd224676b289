// The grid page renderer.
#include "DrawLogic.h"

#include "AppConfig.h"
#include "MetaPages.h"
#include "Printer.h"
#include "StringGrid.h"

#include <QFontMetrics>
#include <QPainter>
#include <cmath>

int LogPixelsX = 0;

namespace {

// Halves go to the even neighbour (the default rounding mode).
int Round(long double value)
{
    return int(std::nearbyintl(value));
}

// The text that measures how much larger the print font is than the grid's screen font.
const QString MeasuringText = QStringLiteral("raspechatkastringgrida");

class StringGridSource : public TPrintGridSource {
public:
    explicit StringGridSource(StringGrid& grid) : grid_(grid) {}
    int RowCount() const override { return grid_.RowCount(); }
    int ColCount() const override { return grid_.ColCount(); }
    int FixedRows() const override { return grid_.FixedRows(); }
    int FixedCols() const override { return grid_.FixedCols(); }
    int RowHeight(int row) const override { return grid_.RowHeight(row); }
    int ColWidth(int col) const override { return grid_.ColWidth(col); }
    QString Cell(int col, int row) const override { return grid_.Cell(col, row); }
    QFont Font() const override { return grid_.font(); }
    int Width() const override { return grid_.width(); }
    int ScreenTextWidth(const QString& text) const override
    {
        return QFontMetrics(grid_.font(), &grid_).horizontalAdvance(text);
    }

private:
    StringGrid& grid_;
};

// A box given as left, top, right, bottom (right and bottom outside it).
QRect Box(int left, int top, int right, int bottom)
{
    return QRect(left, top, right - left, bottom - top);
}

}  // namespace

int BodyFontSize(double scale, int logPixelsX, int appScale)
{
    if (appScale < 1) appScale = 1;
    const long double size = 28.0L * scale * logPixelsX / 360 * appScale / 100;
    return std::max(1, Round(size));
}

int PrintGridPage(StringGrid& Grid, int StartRow, int PageNo, double Scale, int LeftMargin, int TopMargin,
                  int BottomMargin, int Mode, QPainter& Canvas)
{
    return PrintGridPage(StringGridSource(Grid), StartRow, PageNo, Scale, LeftMargin, TopMargin, BottomMargin, Mode,
                         Canvas);
}

int PrintGridPage(const TPrintGridSource& Grid, int StartRow, int PageNo, double Scale, int LeftMargin,
                  int TopMargin, int BottomMargin, int Mode, QPainter& Canvas)
{
    LogPixelsX = Printer().LogPixelsX();
    return DrawGridPage(Grid, StartRow, PageNo, Scale, LeftMargin, TopMargin, Printer().PageHeight() - BottomMargin,
                        Mode, Canvas);
}

int DrawGridPage(const TPrintGridSource& Grid, int StartRow, int PageNo, double Scale, int LeftMargin,
                 int TopMargin, int BottomLimit, int Mode, QPainter& Canvas)
{
    Q_UNUSED(Mode);  // preview and print pages are drawn alike
    const TAppConfig& cfg = EnsureAppConfig();
    const int pageWidth = Printer().PageWidth();
    const QString title = CurrentPages ? CurrentPages->Title : QString();
    const QString subtitle = CurrentPages ? CurrentPages->Subtitle : QString();
    const QString line3 = CurrentPages ? CurrentPages->Line3 : QString();
    const QString line4 = CurrentPages ? CurrentPages->Line4 : QString();
    const bool lastPage = !CurrentPages || CurrentPages->Count() == PageNo + 1;

    int result = -1;
    Canvas.setBrush(Qt::NoBrush);
    Canvas.setPen(QPen(Qt::black));

    QFont body = Grid.Font();
    if (!cfg.FontName.isEmpty()) body.setFamily(cfg.FontName);
    const int base = BodyFontSize(Scale, LogPixelsX, cfg.Scale);
    body.setPointSize(base);
    Canvas.setFont(body);

    const int screenWidth = Grid.ScreenTextWidth(MeasuringText);
    const long double k =
        screenWidth > 0 ? (long double)Canvas.fontMetrics().horizontalAdvance(MeasuringText) / screenWidth : 1.0L;
    const int pad = Round(2 * k);
    int y = 0;

    if (PageNo == 0) {
        QFont font = body;
        font.setPointSize(Round(base * 1.5L));
        font.setBold(true);
        Canvas.setFont(font);
        int th = Canvas.fontMetrics().height();
        Canvas.drawText(Box(0, 0, pageWidth - LeftMargin, 4 * th).translated(LeftMargin, TopMargin),
                        Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, title);
        y = 4 * th + 3;

        QFont lineFont = body;
        lineFont.setBold(false);
        lineFont.setPointSize(Round(base * 1.2L));
        if (cfg.PrintSubtitle) {
            Canvas.setFont(lineFont);
            th = Canvas.fontMetrics().height();
            Canvas.drawText(Box(0, y, Round(Grid.Width() * k), y + th).translated(LeftMargin, TopMargin),
                            Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, subtitle);
            y += th + 15;
        }
        for (const QString& line : {line3, line4}) {
            if (line.isEmpty()) continue;
            Canvas.setFont(lineFont);
            th = Canvas.fontMetrics().height();
            Canvas.drawText(Box(0, y, pageWidth - LeftMargin, y + 2 * th).translated(LeftMargin, TopMargin),
                            Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, line);
            y += 2 * th + 15;
        }
    }

    // Cells are drawn in the body font, style normal.
    QFont cellFont = body;
    cellFont.setBold(false);
    cellFont.setItalic(false);
    cellFont.setUnderline(false);
    cellFont.setStrikeOut(false);
    Canvas.setFont(cellFont);
    const int numberHeight = Canvas.fontMetrics().height();

    // The number sits in the strip that the fit test keeps free; drawn once per page.
    bool numberDrawn = false;
    auto drawPageNumber = [&] {
        if (numberDrawn) return;
        numberDrawn = true;
        Canvas.drawText(Box(LeftMargin, BottomLimit - numberHeight, pageWidth, BottomLimit),
                        Qt::AlignRight | Qt::AlignTop | Qt::TextSingleLine,
                        QStringLiteral("Стр. ") + QString::number(PageNo + 1));
    };
    const bool numbered = PageNo > 0 && cfg.PrintPageNum;
    const int textFlags = Qt::AlignLeft | Qt::AlignTop | (cfg.WordWrap ? Qt::TextWordWrap : Qt::TextSingleLine);
    const int fixedRows = Grid.FixedRows();
    const int fixedCols = Grid.FixedCols();
    const int rowCount = Grid.RowCount();
    const int colCount = Grid.ColCount();
    bool bodyRowDrawn = false;
    int currentPen = -1;

    for (int r = 0; r < rowCount; ++r) {
        if (r >= fixedRows && r < StartRow) {
            r = StartRow - 1;  // the rows of earlier pages, skipped without measuring
            continue;
        }
        const int rh = Round(Grid.RowHeight(r) * k);
        bool clipped = false;
        if (numberHeight + TopMargin + y + rh + 15 > BottomLimit) {
            // A body row that does not fit on a page holding nothing but the heading rows never
            // will: it is drawn clipped here, on a page of its own.
            if (r >= fixedRows && !bodyRowDrawn && PageNo > 0) {
                clipped = true;
            } else {
                if (numbered) drawPageNumber();
                result = r < fixedRows ? -1 : r;
                break;
            }
        }
        if (clipped) {
            Canvas.save();
            Canvas.setClipRect(Box(LeftMargin, TopMargin + y, pageWidth, BottomLimit - numberHeight - 15));
        }
        int x = 0;
        for (int c = 0; c < colCount; ++c) {
            const int cw = Round(Grid.ColWidth(c) * k);
            const QRect cell = Box(x, y, x + cw, y + rh).translated(LeftMargin, TopMargin);
            const int pen = (c < fixedCols || r < fixedRows) ? cfg.BoldLine : cfg.RegLine;
            if (pen > 0) {
                if (pen != currentPen) {
                    Canvas.setPen(QPen(Qt::black, pen));
                    currentPen = pen;
                }
                // Right and bottom one pixel further, so neighbouring borders overlap.
                Canvas.drawRect(QRectF(cell.left() + 0.5, cell.top() + 0.5, cw, rh));
            }
            Canvas.drawText(Box(cell.left() + pad, cell.top() + pad, cell.left() + cw, cell.top() + rh), textFlags,
                            Grid.Cell(c, r));
            x += cw;
        }
        if (clipped) {
            Canvas.restore();
            currentPen = -1;
        }
        if (r >= fixedRows) bodyRowDrawn = true;
        y += rh;
        if (lastPage && numbered) drawPageNumber();
    }
    return result;
}
