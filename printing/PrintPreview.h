// The modal preview window: one page of the current print job at a time on a sheet of the
// printer's paper, with zoom, paging, drag-scrolling and printing of every page.
#pragma once

#include <QDialog>
#include <QIcon>
#include <functional>

class QComboBox;
class QLabel;
class QPainter;
class QScrollArea;
class QStatusBar;
class QToolBar;
class QToolButton;

namespace PrintPreview {

class TfrmPreview : public QDialog {
    Q_OBJECT
public:
    // Builds the window and runs FormCreate (the pages come from CurrentPages, which must
    // hold at least one page).
    explicit TfrmPreview(QWidget* owner = nullptr);
    ~TfrmPreview() override;

    // Shows the window maximised and modally. When OnExecute is set (tests), it is called
    // once the modal loop runs, so a test can drive the window and close it.
    int Execute();
    static std::function<void(TfrmPreview&)> OnExecute;

    QToolBar* ToolBar1 = nullptr;
    QToolButton* ToolButton5 = nullptr;  // print
    QToolButton* ToolButton1 = nullptr;  // whole page
    QToolButton* ToolButton2 = nullptr;  // page width
    QToolButton* ToolButton3 = nullptr;  // text width
    QToolButton* ToolButton4 = nullptr;  // previous page
    QToolButton* ToolButton6 = nullptr;  // next page
    QComboBox* ZoomBox = nullptr;
    QToolButton* SpeedButton1 = nullptr;  // close
    QScrollArea* ScrollBox1 = nullptr;
    QWidget* Panel1 = nullptr;    // work area
    QWidget* Panel2 = nullptr;    // the sheet
    QWidget* PaintBox1 = nullptr; // the page is painted here
    QStatusBar* StatusBar1 = nullptr;
    QLabel* StatusPanel0 = nullptr;  // "Стр. N"
    QLabel* StatusPanel1 = nullptr;  // "Всего страниц: N"

    int PageIndex = 0;
    int DragX = 0;
    int DragY = 0;
    bool Dragging = false;

    // Handlers, named as the window's events.
    virtual void FormCreate();
    void ScrollBox1Resize();
    void ZoomBoxChange();
    void ToolButton1Click();
    void ToolButton2Click();
    void ToolButton3Click();
    virtual void ToolButton6Click();
    virtual void ToolButton4Click();
    virtual void ToolButton5Click();
    void SpeedButton1Click();
    void PaintBox1MouseDown(int x, int y);
    void PaintBox1MouseMove(int x, int y);
    void PaintBox1MouseUp();
    // Returns true when the key is consumed.
    bool FormKeyDown(int key);
    // Clears the sheet and paints the current page again.
    void PageChange();

    // Draws the current page on a paint box of the given size (PaintBox1's paint, or a test's image).
    virtual void PaintBox1Paint(QPainter& painter, const QSize& size);

    // The window's pixels per inch and the zoom factor of a ZoomBox index.
    int PPI() const;
    double ZoomFactor(int index) const;

protected:
    // For a variant that runs a FormCreate of its own: builds the controls only.
    struct NoFormCreate {};
    TfrmPreview(QWidget* owner, NoFormCreate);

    // What a variant changes: the page count, the closing.
    virtual int PageCount() const;
    virtual void FormClose() {}

    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    // Selects a ZoomBox item and lays the sheet out for it.
    void SetZoom(int index);
    // Moves to the page delta away when there is one, and updates the paging buttons.
    void StepPage(int delta);
};

// The preview window while it is open.
extern TfrmPreview* frmPreview;

// The toolbar's images by their index in the main window's image list, drawn in code, so the
// preview shows them in the program and in the report library alike; none for other indices.
QIcon MainImageList(int index);

}  // namespace PrintPreview
