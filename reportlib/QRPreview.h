// The library's preview window: the program's preview showing the report being output,
// each page mapped through the print scale, pages counted from 1.
#pragma once

#include "PrintPreview.h"

namespace QRPreview {

class TfrmPreview : public PrintPreview::TfrmPreview {
    Q_OBJECT
public:
    explicit TfrmPreview(QWidget* owner = nullptr);
    ~TfrmPreview() override;

    int CurrentPage = 1;
    double Scale = 100.0;

    void FormCreate() override;
    void ToolButton6Click() override;
    void ToolButton4Click() override;
    void ToolButton5Click() override;
    void PaintBox1Paint(QPainter& painter, const QSize& size) override;

protected:
    int PageCount() const override;
    void FormClose() override;

private:
    void ShowPageNumber();
    void EnablePaging();
};

extern TfrmPreview* frmPreview;

}  // namespace QRPreview
