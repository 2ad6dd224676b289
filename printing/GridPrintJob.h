// One print job of a table window's grid: built page by page, then printed or previewed.
#pragma once

#include <QString>

class QObject;
class QWidget;
class StringGrid;

namespace GridPrintJob {

struct Options {
    QString Title;          // first heading line (the window's title strip)
    QString Subtitle;       // "Дата распечатки " + date and time, or empty
    QString Line3;
    QString Line4;
    QString DocumentTitle;  // the printer document's title (the main window's caption)
    int Mode = 3;           // 1 built for the preview, 3 for printing; pages are drawn the same
    QObject* Owner = nullptr;  // the window that prints; the job is also freed with it
};

// Frees any job still held, builds CurrentPages page by page with PrintGridPage (the
// settings' margins, scale 1.0), writes "Сформирован отчет " + Title to the log and returns
// the page count (what the print dialog's MaxPage needs). The job stays in CurrentPages
// until Free().
int Build(StringGrid& grid, const Options& options);

// Prints pages [fromPage, toPage] (1-based, clamped to the job; 0, 0 = all) `copies` times
// in one document titled Options::DocumentTitle: every page after the document's first on a
// new sheet. Then logs "Напечатан отчет: <title>. Всего страниц: <job's page count>. Копий
// <copies>". Returns the pages printed per copy; 0 when the PDF file dialog was cancelled
// (nothing printed, nothing logged). Printer errors raise EPrinter (the document is aborted).
int PrintPages(int copies, int fromPage = 0, int toPage = 0);

// Shows CurrentPages in PrintPreview::TfrmPreview (modal, held in PrintPreview::frmPreview while
// open) and frees the window afterwards. The window stands over owner's window, so the window
// manager keeps it in front of the program.
void Preview(QWidget* owner = nullptr);

// Releases CurrentPages (and sets it to nullptr).
void Free();

}  // namespace GridPrintJob
