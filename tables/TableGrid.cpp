// Grid painting, word-wrap row heights and column widths shared by the program's string grids.
#include "TableGrid.h"

#include "AppConfig.h"
#include "Dialogs.h"
#include "Pictures.h"
#include "ProfileFile.h"
#include "Exceptions.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QFontMetrics>
#include <QPainter>
#include <QTextLayout>
#include <QVBoxLayout>
#include <cmath>

TMeasureBox::TMeasureBox(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Memo1"));
    hide();
}

void TMeasureBox::SetBoxWidth(int width)
{
    if (width == width_) return;
    width_ = width;
    laidOut_ = false;
}

void TMeasureBox::SetText(const QString& text)
{
    if (text == text_ && laidOut_) return;
    text_ = text;
    laidOut_ = false;
}

void TMeasureBox::changeEvent(QEvent* event)
{
    // Lines laid out in another font are no longer right.
    if (event->type() == QEvent::FontChange) laidOut_ = false;
    QWidget::changeEvent(event);
}

int TMeasureBox::LineCount() const
{
    Layout();
    return int(lines_.size());
}

QString TMeasureBox::Line(int index) const
{
    Layout();
    return (index >= 0 && index < lines_.size()) ? lines_[index] : QString();
}

void TMeasureBox::Layout() const
{
    if (laidOut_) return;
    laidOut_ = true;
    lines_.clear();
    const qreal room = qMax(1, width_ - 2 * InnerMargin);
    // Words wrap at blanks; a word wider than the box is broken, as in an edit box.
    QTextLayout layout(text_, font());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    for (;;) {
        QTextLine line = layout.createLine();
        if (!line.isValid()) break;
        line.setLineWidth(room);
        QString piece = text_.mid(line.textStart(), line.textLength());
        while (!piece.isEmpty() && piece.back().isSpace()) piece.chop(1);
        lines_.append(piece);
    }
    layout.endLayout();
    if (lines_.isEmpty()) lines_.append(QString());
}

namespace TableGrid {

void DrawHeaderCell(QPainter& painter, const StringGrid& grid, int col, int row, const QRect& rect)
{
    QFont font = grid.font();
    font.setBold(false);
    font.setItalic(false);
    font.setUnderline(false);
    painter.setFont(font);
    painter.fillRect(rect, ColorToQColor(AppConfig->Bgc1));
    painter.setPen(grid.palette().color(QPalette::WindowText));
    const int textHeight = QFontMetrics(font).height();
    const QRect textRect(rect.left() + 2, rect.top() + (grid.RowHeight(0) - textHeight) / 2,
                         qMax(0, rect.width() - 2), textHeight);
    painter.save();
    painter.setClipRect(rect, Qt::IntersectClip);
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, grid.Cell(col, row));
    painter.restore();
}

void DrawDataCell(QPainter& painter, const StringGrid& grid, TMeasureBox& memo, int col, int row,
                  const QRect& rect, int mode, bool greyRowNumbers)
{
    QFont font = grid.font();
    font.setBold(false);
    font.setItalic(false);
    font.setUnderline(false);
    painter.setFont(font);
    const QPalette& pal = grid.palette();
    QColor brush;
    QColor pen;
    if (mode == dmSelected) {
        pen = pal.color(QPalette::HighlightedText);
        brush = pal.color(QPalette::Highlight);
    } else {
        brush = (row % 2 == 0 && AppConfig->LinesColor) ? ColorToQColor(AppConfig->Bgc5) : pal.color(QPalette::Base);
        pen = (col == 0 && greyRowNumbers) ? pal.color(QPalette::Disabled, QPalette::Text) : pal.color(QPalette::Text);
    }
    painter.fillRect(rect, brush);
    painter.setPen(pen);
    const QString text = grid.Cell(col, row);
    const int lineHeight = QFontMetrics(font).height();
    if (AppConfig->WordWrap) {
        memo.setFont(font);
        memo.SetBoxWidth(grid.ColWidth(col));
        memo.SetText(text);
        const int n = memo.LineCount();
        for (int k = 0; k < n; ++k) {
            const QRect lineRect(rect.left() + TMeasureBox::InnerMargin, rect.top() + k * AppConfig->RowHeight + 1,
                                 qMax(0, rect.width() - TMeasureBox::InnerMargin), lineHeight);
            painter.drawText(lineRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, memo.Line(k));
        }
    } else {
        painter.save();
        painter.setClipRect(rect, Qt::IntersectClip);
        painter.drawText(QRect(rect.left() + 2, rect.top() + 1, qMax(0, rect.width() - 2), lineHeight),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
        painter.restore();
    }
}

int CellMode(StringGrid::CellState state)
{
    return state.Selected ? dmSelected : state.Focused ? dmFocused : dmNone;
}

void DrawCell(QPainter& painter, const StringGrid& grid, TMeasureBox& memo, int col, int row, const QRect& rect,
              StringGrid::CellState state, bool greyRowNumbers)
{
    if (row == 0) DrawHeaderCell(painter, grid, col, row, rect);
    else DrawDataCell(painter, grid, memo, col, row, rect, CellMode(state), greyRowNumbers);
}

StringGrid* CreateGrid(QWidget* parent, const StringGrid::DrawCellFn& draw)
{
    auto* grid = new StringGrid(parent);
    grid->setObjectName(QStringLiteral("StringGrid1"));
    grid->SetDefaultRowHeight(20);
    grid->SetDrawCell(draw);
    return grid;
}

QLabel* CreateNotice(QWidget* parent)
{
    auto* notice = new QLabel(QStringLiteral("Нет записей для отображения"), parent);
    notice->setObjectName(QStringLiteral("StaticText2"));
    notice->setAutoFillBackground(true);
    QFont font = notice->font();
    font.setPixelSize(16);
    notice->setFont(font);
    notice->adjustSize();
    notice->move(0, 40);
    notice->hide();
    return notice;
}

QMenu* CreatePopupMenu(QWidget* owner, StringGrid& grid, const QString& name)
{
    auto* menu = new QMenu(owner);
    menu->setObjectName(name);
    grid.setContextMenuPolicy(Qt::CustomContextMenu);
    // The position is the viewport's (a scroll area maps its context menu events there).
    QObject::connect(&grid, &QWidget::customContextMenuRequested, menu,
                     [menu, &grid](const QPoint& pos) { menu->popup(grid.viewport()->mapToGlobal(pos)); });
    return menu;
}

QVBoxLayout* TightColumn(QWidget* owner)
{
    auto* column = new QVBoxLayout(owner);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    return column;
}

void LayOutNow(QLayout& layout)
{
    layout.invalidate();
    layout.activate();
}

void ApplyBackground(QLabel& label)
{
    QPalette pal = label.palette();
    pal.setColor(QPalette::Window, ColorToQColor(AppConfig->Bgc5));
    label.setPalette(pal);
}

bool ConfirmDelete()
{
    return Dialogs::Confirm(QStringLiteral("Запись будет удалена.") + QLatin1Char('\n') +
                            QStringLiteral("Подтвердите ваши намерения?"));
}

void ClearRows(StringGrid& grid, QLabel& notice, int windowWidth)
{
    notice.move((windowWidth - notice.width()) / 2, notice.y());
    notice.hide();
    if (grid.RowCount() > 1)
        for (int c = 0; c < grid.ColCount(); ++c) grid.SetCell(c, 1, QString());
    grid.SetRowCount(1);
}

void ShowNotice(QLabel& notice)
{
    notice.show();
    notice.raise();
}

void GridResize(StringGrid& grid, TMeasureBox& memo, int lastCandidate)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    struct CursorBack {
        ~CursorBack() { QApplication::restoreOverrideCursor(); }
    } cursorBack;
    const QFontMetrics fm(grid.font());
    memo.setFont(grid.font());
    auto ratio = [&](int c, int r) -> double {
        const int w = grid.ColWidth(c);
        if (w <= 0) return -1.0;  // no ratio: never a candidate
        return double(fm.horizontalAdvance(grid.Cell(c, r))) / double(w);
    };
    const int rowHeight = AppConfig->RowHeight;
    const int last = qMin(lastCandidate, grid.ColCount() - 1);
    for (int r = 1; r < grid.RowCount(); ++r) {
        int candidate = 0;
        double best = ratio(0, r);
        for (int c = 1; c <= last; ++c) {
            const double q = ratio(c, r);
            if (q >= 0 && q >= best) {
                candidate = c;
                best = q;
            }
        }
        if (grid.ColWidth(candidate) <= 0) continue;  // nothing measurable in this row
        memo.SetBoxWidth(grid.ColWidth(candidate));
        memo.SetText(grid.Cell(candidate, r));
        const int height = memo.LineCount() * rowHeight;
        if (height > 0) grid.SetRowHeight(r, height);
    }
}

QAction* AddMenuItem(QMenu& menu, StringGrid& grid, const QString& name, const QString& text, const QKeySequence& key)
{
    auto* a = new QAction(text, menu.parent());
    a->setObjectName(name);
    if (!key.isEmpty()) {
        a->setShortcut(key);
        a->setShortcutContext(Qt::WidgetShortcut);
    }
    menu.addAction(a);
    grid.addAction(a);
    return a;
}

void ApplySettings(StringGrid& grid)
{
    grid.SetColor(ColorToQColor(AppConfig->Bgc5));
    grid.SetDefaultRowHeight(AppConfig->RowHeight);
    grid.SetGridLines(AppConfig->GLines, AppConfig->VLines);
}

QString ReadColumnWidths(StringGrid& grid, const QString& section, const QList<double>& factors)
{
    try {
        TIniFile ini(AppConfig->AppDir + QStringLiteral("tvk.ini"));
        for (int c = 0; c < factors.size(); ++c) {
            const int def = int(std::trunc(grid.ClientWidth() * factors[c]));
            grid.SetColWidth(c, ini.ReadInteger(section, QStringLiteral("cw%1").arg(c), def));
        }
    } catch (const std::exception& e) {
        return ExceptionMessage(e);
    }
    return QString();
}

QString SaveColumnWidths(const StringGrid& grid, const QString& section)
{
    try {
        TIniFile ini(AppConfig->AppDir + QStringLiteral("tvk.ini"));
        for (int c = 0; c < grid.ColCount(); ++c)
            ini.WriteInteger(section, QStringLiteral("cw%1").arg(c), grid.ColWidth(c));
    } catch (const std::exception& e) {
        return ExceptionMessage(e);
    }
    return QString();
}

}  // namespace TableGrid
