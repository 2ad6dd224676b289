// The report holder and the three output steps of PrintReport: preview, print at once,
// print through the dialog, with the page printing through the print scale.
#include "Reports.h"

#include "Exceptions.h"
#include "ExportFunctions.h"
#include "MetaPages.h"
#include "Printer.h"
#include "QRPreview.h"
#include "RepGraph.h"
#include "ReportEngine.h"
#include "ShowReportGeneration.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPainter>
#include <QPointer>
#include <QStyle>
#include <algorithm>
#include <cmath>

TfrmReports* frmReports = nullptr;

namespace {

constexpr int ImageCount = 92;

// The preview's toolbar images by their places in the list.
void FillImageList(QList<QIcon>& images)
{
    images.clear();
    for (int i = 0; i < ImageCount; ++i) images.append(QIcon());
    QStyle* style = QApplication::style();
    images[6] = QIcon::fromTheme(QStringLiteral("document-print"), style->standardIcon(QStyle::SP_DialogSaveButton));
    images[84] = QIcon::fromTheme(QStringLiteral("zoom-fit-best"), style->standardIcon(QStyle::SP_TitleBarMaxButton));
    images[85] = QIcon::fromTheme(QStringLiteral("zoom-fit-width"), style->standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton));
    images[86] = QIcon::fromTheme(QStringLiteral("zoom-original"), style->standardIcon(QStyle::SP_FileDialogDetailedView));
    images[90] = QIcon::fromTheme(QStringLiteral("go-previous"), style->standardIcon(QStyle::SP_ArrowLeft));
    images[91] = QIcon::fromTheme(QStringLiteral("go-next"), style->standardIcon(QStyle::SP_ArrowRight));
}

// The start the three output steps share: holder, layout, page set-up, progress, pages.
TReport& StartReport(bool withDialog, int ReportKind, int LeftMargin, int TopMargin, int BottomMargin,
                     int RightMargin)
{
    frmReports = new TfrmReports();
    if (ReportKind == 0) {
        Form21 = new TForm21();
        LoadReportData(ReportKind);
        frmReports->SetReport(Form21->Enterprise);
    }
    if (withDialog) frmReports->PrintDialog1.MinPage = 1;

    TReport& report = *frmReports->Report();
    const int orientation = ReportProp && ReportProp->Orientation == 1 ? DMORIENT_PORTRAIT : DMORIENT_LANDSCAPE;
    report.PrinterSettings.Orientation = orientation;
    report.Page.Orientation = orientation;
    // The report's printer settings go to the printer, which the sheet and the mapping follow.
    Printer().SetOrientation(orientation);

    report.Page.TopMargin = TopMargin;
    report.Page.RightMargin = RightMargin;
    report.Page.BottomMargin = BottomMargin;
    report.Page.LeftMargin = LeftMargin;

    if (frmShowProcess) {
        frmShowProcess->Label1->setText(QStringLiteral("Прорисовка эскизов..."));
        frmShowProcess->ProgressBar1->setValue(25);
        frmShowProcess->Label3->setText(QString::number(frmShowProcess->ProgressBar1->value()) + QLatin1Char('%'));
    }
    if (withDialog) QCoreApplication::processEvents();

    report.Prepare();
    return report;
}

}  // namespace

TfrmReports::TfrmReports(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmReports"));
    setWindowTitle(QStringLiteral("Reports archive"));
    FillImageList(ImageList1);
    FormCreate();
}

void TfrmReports::FormCreate()
{
    FReport = new TReport(this);
}

void ReleaseReportObjects()
{
    // The layout owns its report and the holder its empty one; deleting the two owners
    // releases whichever report was being output.
    delete Form21;
    Form21 = nullptr;
    delete frmReports;
    frmReports = nullptr;
}

QSize ScaledWindowExtent(const TReport& report, double Scale, bool landscape)
{
    const double k = Scale * 2.6 / 100;
    // An extent of 0 would make the mapping singular.
    const int width = std::max(1, int(std::trunc(report.PaperWidth() / k)));
    const int length = std::max(1, int(std::trunc(report.PaperLength() / k)));
    return landscape ? QSize(length, width) : QSize(width, length);
}

void PrintPages(int First, int Last, int Copies, double Scale)
{
    if (!frmReports || !frmReports->Report()) throw Exception(QStringLiteral("There is no report to print"));
    const TReport& report = *frmReports->Report();
    First = std::max(First, 1);
    Last = std::min(Last, report.PageCount());
    if (First > Last) return;
    Copies = std::max(Copies, 1);

    TPrinter& printer = Printer();
    const QSize extent = ScaledWindowExtent(report, Scale, printer.Orientation() == DMORIENT_LANDSCAPE);
    printer.BeginDoc();
    if (printer.Aborted()) {  // the output file was not chosen: nothing to print, the document is ended
        printer.EndDoc();
        return;
    }
    try {
        QPainter& canvas = *printer.Canvas();
        canvas.setWindow(0, 0, extent.width(), extent.height());
        canvas.setViewport(0, 0, printer.PageWidth(), printer.PageHeight());
        bool firstSheet = true;
        for (int copy = 0; copy < Copies; ++copy) {
            for (int i = First; i <= Last; ++i) {
                if (!firstSheet) printer.NewPage();
                firstSheet = false;
                ReplayPage(*printer.Canvas(), report.Pages(i));
            }
        }
        printer.EndDoc();
    } catch (...) {
        if (printer.Printing()) printer.Abort();
        throw;
    }
}

void PrintDirect(int Scale, int ReportKind, int LeftMargin, int TopMargin, int BottomMargin, int RightMargin)
{
    TReport& report = StartReport(false, ReportKind, LeftMargin, TopMargin, BottomMargin, RightMargin);
    PrintPages(1, report.PageCount(), 1, Scale);
    CloseProgressWindow();
    RestoreCursor();
    ReleaseReportObjects();
}

void PrintWithDialog(int Scale, int ReportKind, int LeftMargin, int TopMargin, int BottomMargin, int RightMargin)
{
    TReport& report = StartReport(true, ReportKind, LeftMargin, TopMargin, BottomMargin, RightMargin);
    Dialogs::PrintRequest& dialog = frmReports->PrintDialog1;
    dialog.MaxPage = report.PageCount();
    CloseProgressWindow();
    RestoreCursor();

    dialog.AllPages = true;
    dialog.FromPage = dialog.MinPage;
    dialog.ToPage = dialog.MaxPage;
    dialog.Copies = 1;
    if (Dialogs::ExecutePrintDialog(dialog)) PrintPages(dialog.FirstPage(), dialog.LastPage(), dialog.Copies, Scale);
    ReleaseReportObjects();
}

void ShowPreview(intptr_t AppHandle, int Scale, int ReportKind, int LeftMargin, int TopMargin, int BottomMargin,
                 int RightMargin)
{
    StartReport(false, ReportKind, LeftMargin, TopMargin, BottomMargin, RightMargin);
    BindApplication(AppHandle);
    CloseProgressWindow();
    RestoreCursor();

    {
        // Destroyed here once, unless its own release already did it.
        struct Holder {
            QPointer<QRPreview::TfrmPreview> window;
            ~Holder() { delete window.data(); }
        } preview{new QRPreview::TfrmPreview(ApplicationWindow())};
        preview.window->Scale = Scale;
        preview.window->Execute();
    }

    ReleaseReportObjects();
    QCoreApplication::processEvents();
    BindApplication(0);
}
