// The library's preview window: the program's preview showing the report being output,
// each page mapped through the print scale, pages counted from 1.
#include "QRPreview.h"

#include "MetaPages.h"
#include "Printer.h"
#include "ReportEngine.h"
#include "Reports.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QStyle>
#include <QToolButton>

namespace QRPreview {

TfrmPreview* frmPreview = nullptr;

TfrmPreview::TfrmPreview(QWidget* owner) : PrintPreview::TfrmPreview(owner, NoFormCreate{})
{
    frmPreview = this;
    setGeometry(31, 8, 958, 691);
    setWindowIcon(QApplication::style()->standardIcon(QStyle::SP_FileDialogContentsView));
    if (frmReports) {
        const QList<QIcon>& images = frmReports->ImageList1;
        ToolButton5->setIcon(images.value(6));
        ToolButton1->setIcon(images.value(84));
        ToolButton2->setIcon(images.value(85));
        ToolButton3->setIcon(images.value(86));
        ToolButton4->setIcon(images.value(90));
        ToolButton6->setIcon(images.value(91));
    }
    FormCreate();
}

TfrmPreview::~TfrmPreview()
{
    if (frmPreview == this) frmPreview = nullptr;
}

int TfrmPreview::PageCount() const
{
    return frmReports && frmReports->Report() ? frmReports->Report()->PageCount() : 0;
}

void TfrmPreview::FormCreate()
{
    Scale = 100.0;
    CurrentPage = 1;
    ToolButton6->setEnabled(PageCount() > 1);
    ShowPageNumber();
    StatusPanel1->setText(QStringLiteral("Всего страниц: ") + QString::number(PageCount()));
}

void TfrmPreview::ShowPageNumber()
{
    StatusPanel0->setText(QStringLiteral("Стр. ") + QString::number(CurrentPage));
}

void TfrmPreview::EnablePaging()
{
    ToolButton4->setEnabled(CurrentPage != 1);
    ToolButton6->setEnabled(CurrentPage < PageCount());
}

void TfrmPreview::ToolButton6Click()
{
    if (PageCount() >= CurrentPage + 1) {
        ++CurrentPage;
        PageChange();
        ShowPageNumber();
    }
    EnablePaging();
}

void TfrmPreview::ToolButton4Click()
{
    if (CurrentPage - 1 > 0) {
        --CurrentPage;
        PageChange();
        ShowPageNumber();
    }
    EnablePaging();
}

void TfrmPreview::ToolButton5Click()
{
    PrintPages(1, PageCount(), 1, Scale);
}

void TfrmPreview::PaintBox1Paint(QPainter& painter, const QSize& size)
{
    if (!frmReports || !frmReports->Report()) return;
    const TReport& report = *frmReports->Report();
    const QSize extent = ScaledWindowExtent(report, Scale, Printer().Orientation() == DMORIENT_LANDSCAPE);
    painter.save();
    painter.setWindow(0, 0, extent.width(), extent.height());
    painter.setViewport(0, 0, size.width(), size.height());
    ReplayPage(painter, report.Pages(CurrentPage));
    painter.restore();
}

void TfrmPreview::FormClose()
{
    // The creator destroys the window when its modal loop ends; a deferred release
    // is dropped with it, so the window is never destroyed twice.
    deleteLater();
}

}  // namespace QRPreview
