// The preview window of the current print job.
#include "PrintPreview.h"

#include "DrawnIcon.h"

#include "DefFun.h"
#include "Exceptions.h"
#include "MetaPages.h"
#include "Printer.h"

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QKeyEvent>
#include <QScreen>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPolygonF>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace PrintPreview {

TfrmPreview* frmPreview = nullptr;
std::function<void(TfrmPreview&)> TfrmPreview::OnExecute;

namespace {

// The paint box hands its paint and mouse events to the window's handlers.
class PaintBox : public QWidget {
public:
    PaintBox(TfrmPreview* form, QWidget* parent) : QWidget(parent), form_(form) {}

protected:
    void paintEvent(QPaintEvent*) override
    {
        Guarded([&] {
            QPainter painter(this);
            // The sheet is cleared before the page is drawn on it.
            painter.fillRect(rect(), Qt::white);
            form_->PaintBox1Paint(painter, size());
        });
    }
    void mousePressEvent(QMouseEvent* e) override
    {
        Guarded([&] { form_->PaintBox1MouseDown(e->position().toPoint().x(), e->position().toPoint().y()); });
    }
    void mouseMoveEvent(QMouseEvent* e) override
    {
        Guarded([&] { form_->PaintBox1MouseMove(e->position().toPoint().x(), e->position().toPoint().y()); });
    }
    void mouseReleaseEvent(QMouseEvent*) override
    {
        Guarded([&] { form_->PaintBox1MouseUp(); });
    }

private:
    TfrmPreview* form_;
};

// The scroll box reports its resizing once its client area has been laid out anew.
class ScrollBox : public QScrollArea {
public:
    ScrollBox(TfrmPreview* form, QWidget* parent) : QScrollArea(parent), form_(form) {}

protected:
    void resizeEvent(QResizeEvent* event) override
    {
        QScrollArea::resizeEvent(event);
        Guarded([&] { form_->ScrollBox1Resize(); });
    }

private:
    TfrmPreview* form_;
};

const char* const ZoomItems[] = {"800%", "500%", "400%", "300%", "200%",  "150%", "125%", "100%",
                                 "75%",  "50%",  "25%",  "10%",  "Страница целиком", "По ширине страницы",
                                 "По ширине текста"};
const double ZoomFactors[] = {8, 5, 4, 3, 2, 1.5, 1.25, 1, 0.75, 0.5, 0.25, 0.1};
constexpr int ZoomWholePage = 12;
constexpr int ZoomPageWidth = 13;
constexpr int Zoom100 = 7;

// The images drawn below: print, whole page, page width, text width, previous and next page.
constexpr int DrawnImages[] = {3, 109, 110, 111, 115, 116};

// A white sheet with a dark outline, in the 16 × 16 units of an image.
void DrawSheet(QPainter& p, const QRectF& sheet)
{
    p.setPen(QPen(QColor(64, 64, 64), 1));
    p.setBrush(Qt::white);
    p.drawRect(sheet);
}

// A horizontal double-headed arrow from x1 to x2 at height y.
void DrawWidthArrow(QPainter& p, qreal x1, qreal x2, qreal y)
{
    p.setPen(QPen(QColor(0, 70, 180), 1.2));
    p.drawLine(QPointF(x1, y), QPointF(x2, y));
    p.drawPolyline(QPolygonF{QPointF(x1 + 2.5, y - 2.5), QPointF(x1, y), QPointF(x1 + 2.5, y + 2.5)});
    p.drawPolyline(QPolygonF{QPointF(x2 - 2.5, y - 2.5), QPointF(x2, y), QPointF(x2 - 2.5, y + 2.5)});
}

void DrawImage(QPainter& p, int index)
{
    const QColor blue(0, 70, 180);
    switch (index) {
    case 3:  // print: a printer with a sheet going in and one coming out
        DrawSheet(p, QRectF(4.5, 1.5, 7, 5));
        p.setBrush(QColor(150, 150, 150));
        p.drawRoundedRect(QRectF(1.5, 6.5, 13, 5), 1, 1);
        DrawSheet(p, QRectF(4.5, 9.5, 7, 5));
        p.drawLine(QPointF(6, 11.5), QPointF(10, 11.5));
        p.drawLine(QPointF(6, 13), QPointF(9, 13));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(40, 170, 40));
        p.drawEllipse(QPointF(12.5, 8), 0.9, 0.9);
        break;
    case 109:  // whole page: a sheet inside the corners of the view
        DrawSheet(p, QRectF(4.5, 2.5, 7, 11));
        p.setPen(QPen(blue, 1.2));
        p.setBrush(Qt::NoBrush);
        for (const QPointF& corner : {QPointF(1, 1), QPointF(15, 1), QPointF(15, 15), QPointF(1, 15)}) {
            const qreal dx = corner.x() < 8 ? 3 : -3;
            const qreal dy = corner.y() < 8 ? 3 : -3;
            p.drawPolyline(QPolygonF{corner + QPointF(dx, 0), corner, corner + QPointF(0, dy)});
        }
        break;
    case 110:  // page width: a sheet with an arrow from edge to edge
        DrawSheet(p, QRectF(1.5, 2.5, 13, 11));
        DrawWidthArrow(p, 2.5, 13.5, 8);
        break;
    case 111:  // text width: lines of text with an arrow over them
        DrawSheet(p, QRectF(1.5, 1.5, 13, 13));
        p.setPen(QPen(QColor(64, 64, 64), 1));
        for (const qreal y : {8.5, 10.5, 12.5}) p.drawLine(QPointF(4, y), QPointF(y < 12 ? 12 : 9, y));
        DrawWidthArrow(p, 4, 12, 5);
        break;
    case 115:  // previous page
    case 116:  // next page
    {
        const qreal tip = index == 115 ? 3.5 : 12.5;
        const qreal base = index == 115 ? 11.5 : 4.5;
        p.setPen(QPen(blue.darker(130), 1));
        p.setBrush(blue);
        p.drawPolygon(QPolygonF{QPointF(base, 2.5), QPointF(tip, 8), QPointF(base, 13.5)});
        break;
    }
    default:
        break;
    }
}

}  // namespace

QIcon MainImageList(int index)
{
    if (std::ranges::find(DrawnImages, index) == std::end(DrawnImages)) return QIcon();
    return DrawnIcon([index](QPainter& painter) { DrawImage(painter, index); });
}

TfrmPreview::TfrmPreview(QWidget* owner) : QDialog(owner)
{
    BuildControls();
    Guarded([&] { FormCreate(); });
}

TfrmPreview::TfrmPreview(QWidget* owner, NoFormCreate) : QDialog(owner)
{
    BuildControls();
}

TfrmPreview::~TfrmPreview()
{
    qApp->removeEventFilter(this);
    if (frmPreview == this) frmPreview = nullptr;
}

void TfrmPreview::BuildControls()
{
    setObjectName(QStringLiteral("frmPreview"));
    setWindowTitle(QStringLiteral("Предварительный просмотр"));
    // A dialog-type window: X11 window managers keep it over its owner (WM_TRANSIENT_FOR), or
    // over the program's windows when it has none.
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                   Qt::WindowCloseButtonHint);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setFixedHeight(29);
    auto addButton = [&](const char* name, const QString& hint, int image) {
        auto* button = new QToolButton(ToolBar1);
        button->setObjectName(QString::fromLatin1(name));
        button->setToolTip(hint);
        button->setText(hint);
        button->setIcon(MainImageList(image));
        ToolBar1->addWidget(button);
        return button;
    };
    ToolButton5 = addButton("ToolButton5", QStringLiteral("Печать"), 3);
    ToolBar1->addSeparator();
    ToolButton1 = addButton("ToolButton1", QStringLiteral("Страница целиком"), 109);
    ToolButton2 = addButton("ToolButton2", QStringLiteral("По ширине страницы"), 110);
    ToolButton3 = addButton("ToolButton3", QStringLiteral("По ширине текста"), 111);
    ToolBar1->addSeparator();
    ToolButton4 = addButton("ToolButton4", QStringLiteral("Предыдущая страница"), 115);
    ToolButton6 = addButton("ToolButton6", QStringLiteral("Следующая страница"), 116);
    ToolButton4->setEnabled(false);
    ToolButton6->setEnabled(false);
    ToolBar1->addSeparator();
    ZoomBox = new QComboBox(ToolBar1);
    ZoomBox->setObjectName(QStringLiteral("ZoomBox"));
    ZoomBox->setFixedWidth(183);
    ZoomBox->setToolTip(QStringLiteral("Масштаб"));
    for (const char* item : ZoomItems) ZoomBox->addItem(QString::fromUtf8(item));
    ZoomBox->setCurrentIndex(-1);
    ToolBar1->addWidget(ZoomBox);
    ToolBar1->addSeparator();
    SpeedButton1 = new QToolButton(ToolBar1);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setText(QStringLiteral("Закрыть"));
    SpeedButton1->setAutoRaise(true);
    ToolBar1->addWidget(SpeedButton1);
    layout->addWidget(ToolBar1);

    ScrollBox1 = new ScrollBox(this, this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setFrameShape(QFrame::NoFrame);
    ScrollBox1->setWidgetResizable(false);
    Panel1 = new QWidget;
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setAutoFillBackground(true);
    QPalette workspace = Panel1->palette();
    workspace.setColor(QPalette::Window, QColor(171, 171, 171));  // the application workspace colour
    Panel1->setPalette(workspace);
    Panel2 = new QWidget(Panel1);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setAutoFillBackground(true);
    QPalette sheet = Panel2->palette();
    sheet.setColor(QPalette::Window, Qt::white);
    Panel2->setPalette(sheet);
    PaintBox1 = new PaintBox(this, Panel2);
    PaintBox1->setObjectName(QStringLiteral("PaintBox1"));
    ScrollBox1->setWidget(Panel1);
    layout->addWidget(ScrollBox1, 1);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    StatusPanel0 = new QLabel(StatusBar1);
    StatusPanel1 = new QLabel(StatusBar1);
    // Two panels of 100 pixels each, wider where their text needs it ("Всего страниц: 12" is
    // wider than 100 pixels in most fonts): a label takes its text's width in the bar.
    StatusPanel0->setMinimumWidth(100);
    StatusPanel1->setMinimumWidth(100);
    StatusBar1->addWidget(StatusPanel0);
    StatusBar1->addWidget(StatusPanel1);
    layout->addWidget(StatusBar1);

    auto guarded = [this](void (TfrmPreview::*handler)()) {
        return [this, handler] { Guarded([&] { (this->*handler)(); }); };
    };
    connect(ToolButton5, &QToolButton::clicked, this, guarded(&TfrmPreview::ToolButton5Click));
    connect(ToolButton1, &QToolButton::clicked, this, guarded(&TfrmPreview::ToolButton1Click));
    connect(ToolButton2, &QToolButton::clicked, this, guarded(&TfrmPreview::ToolButton2Click));
    connect(ToolButton3, &QToolButton::clicked, this, guarded(&TfrmPreview::ToolButton3Click));
    connect(ToolButton4, &QToolButton::clicked, this, guarded(&TfrmPreview::ToolButton4Click));
    connect(ToolButton6, &QToolButton::clicked, this, guarded(&TfrmPreview::ToolButton6Click));
    connect(SpeedButton1, &QToolButton::clicked, this, guarded(&TfrmPreview::SpeedButton1Click));
    connect(ZoomBox, &QComboBox::activated, this, guarded(&TfrmPreview::ZoomBoxChange));

    // The window sees key presses before its controls.
    qApp->installEventFilter(this);
}

int TfrmPreview::Execute()
{
    // Where no window manager maximises windows, the restored size already fills the screen.
    if (const QScreen* s = screen()) setGeometry(s->availableGeometry());
    setWindowState(windowState() | Qt::WindowMaximized);
    if (OnExecute) {
        QTimer::singleShot(0, this, [this] {
            if (OnExecute) OnExecute(*this);
        });
    }
    return exec();
}

int TfrmPreview::PageCount() const
{
    return CurrentPages ? CurrentPages->Count() : 0;
}

int TfrmPreview::PPI() const
{
    return logicalDpiX();
}

void TfrmPreview::FormCreate()
{
    PageIndex = 0;
    ToolButton6->setEnabled(PageCount() > 1);
    StatusPanel0->setText(QStringLiteral("Стр. ") + QString::number(PageIndex + 1));
    StatusPanel1->setText(QStringLiteral("Всего страниц: ") + QString::number(PageCount()));
}

double TfrmPreview::ZoomFactor(int index) const
{
    if (index >= 0 && index < ZoomWholePage) return ZoomFactors[index];
    const TPrinter& printer = Printer();
    const QSize client = ScrollBox1->viewport()->size();
    if (index == ZoomWholePage)
        return ((client.height() - 15) / double(PPI())) / (double(printer.PhysicalHeight()) / printer.LogPixelsY());
    if (index == ZoomPageWidth)
        return ((client.width() - 15) / double(PPI())) / (double(printer.PhysicalWidth()) / printer.LogPixelsX());
    return 1;  // "По ширине текста"
}

void TfrmPreview::ScrollBox1Resize()
{
    const TPrinter& printer = Printer();
    if (ZoomBox->currentIndex() < 0) ZoomBox->setCurrentIndex(ZoomWholePage);
    const double z = ZoomFactor(ZoomBox->currentIndex());
    const int sheetHeight = int(PPI() * z * printer.PhysicalHeight() / printer.LogPixelsY());
    const int sheetWidth = int(PPI() * z * printer.PhysicalWidth() / printer.LogPixelsX());
    Panel2->resize(sheetWidth, sheetHeight);
    PaintBox1->resize(sheetWidth, sheetHeight);

    const QSize client = ScrollBox1->viewport()->size();
    const int workHeight = sheetHeight + 15 < client.height() ? client.height() - 1 : sheetHeight + 15;
    const int workWidth = sheetWidth + 15 < client.width() ? client.width() - 1 : sheetWidth + 15;
    Panel1->resize(workWidth, workHeight);
    const int top = workHeight > sheetHeight + 15 ? workHeight / 2 - sheetHeight / 2 : 7;
    const int left = sheetWidth + 15 < workWidth ? workWidth / 2 - sheetWidth / 2 : 7;
    Panel2->move(left, top);

    // Both scroll bars or none.
    const bool bars = ScrollBox1->width() < sheetWidth + 15 || ScrollBox1->height() < sheetHeight + 15;
    const Qt::ScrollBarPolicy policy = bars ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
    ScrollBox1->setHorizontalScrollBarPolicy(policy);
    ScrollBox1->setVerticalScrollBarPolicy(policy);
}

void TfrmPreview::ZoomBoxChange()
{
    // Twice: the first pass may switch the scroll bars, which changes the client area.
    ScrollBox1Resize();
    ScrollBox1Resize();
}

void TfrmPreview::SetZoom(int index)
{
    ZoomBox->setCurrentIndex(index);
    ZoomBoxChange();
}

void TfrmPreview::ToolButton1Click()
{
    SetZoom(ZoomWholePage);
}

void TfrmPreview::ToolButton2Click()
{
    SetZoom(ZoomPageWidth);
}

void TfrmPreview::ToolButton3Click()
{
    SetZoom(Zoom100);
}

void TfrmPreview::StepPage(int delta)
{
    if (PageIndex + delta >= 0 && PageIndex + delta <= PageCount() - 1) {
        PageIndex += delta;
        PageChange();
        StatusPanel0->setText(QStringLiteral("Стр. ") + QString::number(PageIndex + 1));
    }
    ToolButton4->setEnabled(PageIndex != 0);
    ToolButton6->setEnabled(PageIndex < PageCount() - 1);
}

void TfrmPreview::ToolButton6Click()
{
    StepPage(1);
}

void TfrmPreview::ToolButton4Click()
{
    StepPage(-1);
}

void TfrmPreview::ToolButton5Click()
{
    if (!CurrentPages) return;
    const int count = CurrentPages->Count();
    // Nothing was printed when the PDF file dialog was cancelled, so nothing is logged.
    if (!PrintMetaPages(*CurrentPages, 0, count - 1, 1)) return;
    WriteLog(QStringLiteral("Напечатан отчет ") + CurrentPages->Title +
             QStringLiteral(" из окна предварительного просмотра. Всего страниц: ") + QString::number(count));
}

void TfrmPreview::SpeedButton1Click()
{
    close();
}

void TfrmPreview::PaintBox1MouseDown(int x, int y)
{
    DragX = x;
    DragY = y;
    Dragging = true;
}

void TfrmPreview::PaintBox1MouseMove(int x, int y)
{
    if (!Dragging) return;
    QScrollBar* h = ScrollBox1->horizontalScrollBar();
    QScrollBar* v = ScrollBox1->verticalScrollBar();
    h->setValue(h->value() + DragX - x);
    v->setValue(v->value() + DragY - y);
}

void TfrmPreview::PaintBox1MouseUp()
{
    Dragging = false;
}

bool TfrmPreview::FormKeyDown(int key)
{
    switch (key) {
    case Qt::Key_Escape:
        SpeedButton1->click();
        return false;
    case Qt::Key_PageDown:
        ToolButton6->click();
        return true;
    case Qt::Key_PageUp:
        ToolButton4->click();
        return true;
    default:
        return false;
    }
}

void TfrmPreview::PageChange()
{
    // Only the paint box is repainted: it clears the sheet and draws the page shown.
    PaintBox1->update();
}

void TfrmPreview::PaintBox1Paint(QPainter& painter, const QSize& size)
{
    if (PageIndex < 0 || PageIndex >= PageCount()) return;
    const TPrinter& printer = Printer();
    // The paint box stands for the whole physical sheet; a page unit lands where the
    // printer puts it, the printable area starting at the physical offset.
    painter.save();
    painter.scale(double(size.width()) / printer.PhysicalWidth(), double(size.height()) / printer.PhysicalHeight());
    painter.translate(printer.PhysicalOffsetX(), printer.PhysicalOffsetY());
    ReplayPage(painter, *CurrentPages->Pages(PageIndex));
    painter.restore();
}

void TfrmPreview::closeEvent(QCloseEvent* event)
{
    Guarded([&] { FormClose(); });
    QDialog::closeEvent(event);
}

bool TfrmPreview::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        if (widget == this || isAncestorOf(widget)) {
            bool consumed = false;
            Guarded([&] { consumed = FormKeyDown(static_cast<QKeyEvent*>(event)->key()); });
            return consumed;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace PrintPreview
