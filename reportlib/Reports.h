// The report holder and the three output steps of PrintReport: preview, print at once,
// print through the dialog, with the page printing through the print scale.
#pragma once

#include "Dialogs.h"

#include <QIcon>
#include <QList>
#include <QSize>
#include <QWidget>

class TReport;

// Never shown: it holds the preview's toolbar images, the print dialog and the report
// being output.
class TfrmReports : public QWidget {
    Q_OBJECT
public:
    explicit TfrmReports(QWidget* parent = nullptr);

    QList<QIcon> ImageList1;
    Dialogs::PrintRequest PrintDialog1;

    void FormCreate();
    TReport* Report() const { return FReport; }
    void SetReport(TReport* report) { FReport = report; }

private:
    TReport* FReport = nullptr;
};

extern TfrmReports* frmReports;

// Parameters: scale in percent, report kind, margins in tenths of a millimetre.
void ShowPreview(intptr_t AppHandle, int Scale, int ReportKind, int LeftMargin, int TopMargin, int BottomMargin,
                 int RightMargin);
void PrintDirect(int Scale, int ReportKind, int LeftMargin, int TopMargin, int BottomMargin, int RightMargin);
void PrintWithDialog(int Scale, int ReportKind, int LeftMargin, int TopMargin, int BottomMargin, int RightMargin);

// Prints pages First..Last (from 1) of the report being output, Copies times, the whole
// paper at the given scale stretched over the printable area.
void PrintPages(int First, int Last, int Copies, double Scale);

// The page-picture units that the paper spans at a scale: the paper in tenths of a
// millimetre over Scale * 2.6 / 100, the two swapped for a landscape printer.
QSize ScaledWindowExtent(const TReport& report, double Scale, bool landscape);

// Releases the report being output, the holder and the layout, whichever exist.
void ReleaseReportObjects();
