// Drag scrolling of a picture inside a scroll box, and keeping the picture's panel fitted to it.
#include "DragScroll.h"

#include <QEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>

TDragScroll* TDragScroll::Install(QWidget* form, QScrollArea* box, QWidget* picture, std::initializer_list<QWidget*> more)
{
    auto* d = new TDragScroll(form, box, picture);
    form->installEventFilter(d);
    box->installEventFilter(d);
    box->viewport()->installEventFilter(d);
    picture->installEventFilter(d);
    for (QWidget* w : more) w->installEventFilter(d);
    return d;
}

TDragScroll::TDragScroll(QWidget* form, QScrollArea* box, QWidget* picture)
    : QObject(form), form_(form), box_(box), picture_(picture)
{
}

TDragScroll::~TDragScroll()
{
    SetHand(false);
}

void TDragScroll::SetHand(bool on)
{
    if (on == hand_) return;
    hand_ = on;
    if (on) QGuiApplication::setOverrideCursor(Qt::PointingHandCursor);
    else QGuiApplication::restoreOverrideCursor();
}

void TDragScroll::MouseDown(QPoint At)
{
    DragX = At.x();
    DragY = At.y();
    Dragging = true;
    moved_ = false;
}

bool TDragScroll::MouseMove(QPoint At)
{
    if (!Dragging) return false;
    SetHand(true);
    QScrollBar* h = box_->horizontalScrollBar();
    QScrollBar* v = box_->verticalScrollBar();
    const int hx = h->value();
    const int vy = v->value();
    h->setValue(hx + DragX - At.x());
    v->setValue(vy + DragY - At.y());
    const bool scrolled = h->value() != hx || v->value() != vy;
    moved_ = moved_ || scrolled;
    return scrolled;
}

void TDragScroll::MouseUp()
{
    SetHand(false);
    Dragging = false;
}

void TDragScroll::ScrollBox2Resize()
{
    QWidget* panel = box_->widget();
    if (!panel) return;
    const QSize client = box_->viewport()->size();
    const QSize pic = picture_->size();
    const int h = pic.height() < client.height() ? client.height() - 1 : pic.height();
    const int w = pic.width() < client.width() ? client.width() - 1 : pic.width();
    panel->setGeometry(0, 0, w, h);
    const bool bars = w > box_->width() || h > box_->height();
    const Qt::ScrollBarPolicy policy = bars ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
    box_->setHorizontalScrollBarPolicy(policy);
    box_->setVerticalScrollBarPolicy(policy);
}

void TDragScroll::FormResize()
{
    DragX = 0;
    DragY = 0;
    box_->horizontalScrollBar()->setValue(0);
    box_->verticalScrollBar()->setValue(0);
    ScrollBox2Resize();
    ScrollBox2Resize();
}

bool TDragScroll::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::Resize) {
        if (watched == form_) FormResize();
        else if (watched == box_) ScrollBox2Resize();
        return false;
    }
    const bool press = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick;
    if (!press && type != QEvent::MouseMove && type != QEvent::MouseButtonRelease) return false;
    if (watched == form_ || watched == box_) return false;
    auto* w = static_cast<QWidget*>(watched);
    auto* me = static_cast<QMouseEvent*>(event);
    // Picture pixels, whichever widget got the event; they move with the picture, so the
    // mouse is taken in the window's coordinates, which do not.
    QWidget* top = w->window();
    const QPoint at = w->mapTo(top, me->position().toPoint());
    const QPoint pos = picture_->mapFrom(top, at);
    if (press) {
        MouseDown(pos);
    } else if (type == QEvent::MouseMove) {
        MouseMove(pos);
        if (OnMove) OnMove(picture_->mapFrom(top, at), Dragging);
    } else {
        const bool dragged = moved_;
        MouseUp();
        if (OnRelease) OnRelease(me->button(), pos, dragged);
    }
    // Handled here once: not passed on to the panel and the box behind the picture.
    return true;
}
