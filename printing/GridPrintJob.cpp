// The table windows' print job: building, printing and previewing CurrentPages.
#include "GridPrintJob.h"

#include "AppConfig.h"
#include "DefFun.h"
#include "DrawLogic.h"
#include "MetaPages.h"
#include "PrintPreview.h"
#include "Printer.h"

#include <QPainter>
#include <algorithm>

namespace GridPrintJob {

namespace {
QString documentTitle;
}

int Build(StringGrid& grid, const Options& options)
{
    Free();
    const TAppConfig& cfg = EnsureAppConfig();
    CurrentPages = new TMetaPages(options.Owner);
    CurrentPages->AddPage();
    CurrentPages->Title = options.Title;
    WriteLog(QStringLiteral("Сформирован отчет ") + options.Title);
    CurrentPages->Subtitle = options.Subtitle;
    CurrentPages->Line3 = options.Line3;
    CurrentPages->Line4 = options.Line4;
    documentTitle = options.DocumentTitle;

    int startRow = 0;
    for (int pageNo = 0;; ++pageNo) {
        QPainter canvas(CurrentPages->Pages(pageNo));
        const int next = PrintGridPage(grid, startRow, pageNo, 1.0, cfg.LeftMargin, cfg.TopMargin, cfg.BottomMargin,
                                       options.Mode, canvas);
        canvas.end();
        if (next == -1) break;
        CurrentPages->AddPage();
        startRow = next;
    }
    return CurrentPages->Count();
}

int PrintPages(int copies, int fromPage, int toPage)
{
    if (!CurrentPages) return 0;
    const int count = CurrentPages->Count();
    int first = 0;
    int last = count - 1;
    if (fromPage != 0 || toPage != 0) {
        first = std::clamp(fromPage, 1, count) - 1;
        last = std::clamp(toPage, 1, count) - 1;
    }
    Printer().Title = documentTitle;
    if (!PrintMetaPages(*CurrentPages, first, last, copies)) return 0;
    WriteLog(QStringLiteral("Напечатан отчет: ") + CurrentPages->Title + QStringLiteral(". Всего страниц: ") +
             QString::number(count) + QStringLiteral(". Копий ") + QString::number(copies));
    return last >= first ? last - first + 1 : 0;
}

void Preview(QWidget* owner)
{
    PrintPreview::frmPreview = new PrintPreview::TfrmPreview(owner ? owner->window() : nullptr);
    PrintPreview::TfrmPreview* form = PrintPreview::frmPreview;
    struct Release {
        PrintPreview::TfrmPreview* Form;
        ~Release()
        {
            delete Form;
            PrintPreview::frmPreview = nullptr;
        }
    } release{form};
    form->Execute();
}

void Free()
{
    delete CurrentPages;
    CurrentPages = nullptr;
}

}  // namespace GridPrintJob
