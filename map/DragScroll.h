// Drag scrolling of a picture inside a scroll box, and keeping the picture's panel fitted to the
// box. Shared by the map window and the linking window:
//
//     drag_ = TDragScroll::Install(this, ScrollBox2, Image1, {Image2});
//     drag_->OnRelease = [this](Qt::MouseButton b, QPoint at, bool dragged) { ... };
//
// The scroll box's widget is the panel; the picture widget sits at 0, 0 on it and has the size
// of the picture. Mouse positions handed out are in picture pixels.
#pragma once

#include <QObject>
#include <QPoint>
#include <functional>
#include <initializer_list>

class QScrollArea;
class QWidget;

class TDragScroll : public QObject {
    Q_OBJECT
public:
    // Watches form (its resizes), box (its resizes and the mouse on its viewport), picture and
    // the widgets in more (the mouse; overlays on the picture). Owned by form.
    static TDragScroll* Install(QWidget* form, QScrollArea* box, QWidget* picture,
                                std::initializer_list<QWidget*> more = {});

    // Mouse-down on the picture or the box, any button: the drag starts at At.
    void MouseDown(QPoint At);
    // A move: scrolls while dragging (the hand cursor shows), so the point under the mouse at
    // mouse-down stays under it. True when it scrolled.
    bool MouseMove(QPoint At);
    // Mouse-up: the cursor goes back to the default and the drag ends.
    void MouseUp();

    // The panel at least as large as the box's client area less one pixel, the scroll bars
    // shown only when the panel is larger than the box.
    void ScrollBox2Resize();
    // Drag position and scroll positions to 0, then fit the panel (twice: the bars' change
    // changes the client area).
    void FormResize();

    int DragX = 0;
    int DragY = 0;
    bool Dragging = false;

    // Every mouse move over the picture or the box, dragging or not, after any scrolling.
    std::function<void(QPoint At, bool dragging)> OnMove;
    // Every mouse-up over the picture or the box, after the drag has ended; dragged tells
    // whether the picture scrolled since the mouse went down.
    std::function<void(Qt::MouseButton Button, QPoint At, bool dragged)> OnRelease;

    ~TDragScroll() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TDragScroll(QWidget* form, QScrollArea* box, QWidget* picture);
    void SetHand(bool on);

    QWidget* form_;
    QScrollArea* box_;
    QWidget* picture_;
    bool hand_ = false;
    bool moved_ = false;
};
