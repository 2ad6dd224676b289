// Drag scrolling and the panel fitting shared by the map and linking windows.
#include "DragScroll.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

class DragScrollTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = std::make_unique<QWidget>();
        auto* layout = new QVBoxLayout(form.get());
        layout->setContentsMargins(0, 0, 0, 0);
        box = new QScrollArea(form.get());
        box->setWidgetResizable(false);
        panel = new QWidget;
        picture = new QWidget(panel);
        picture->resize(1000, 800);
        overlay = new QWidget(panel);
        overlay->resize(picture->size());
        overlay->setMouseTracking(true);  // as the windows have it, for the hover
        box->setWidget(panel);
        layout->addWidget(box);
        drag = TDragScroll::Install(form.get(), box, picture, {overlay});
        drag->OnRelease = [this](Qt::MouseButton b, QPoint at, bool dragged) { releases.push_back({b, at, dragged}); };
        form->resize(300, 200);
        form->show();
        drag->FormResize();
    }

    // The mouse event at the picture's point at, sent to the overlay as the user's mouse would.
    void Send(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held)
    {
        const QPoint local = at;  // the overlay lies on the picture
        QMouseEvent e(type, local, overlay->mapToGlobal(local), button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(overlay, &e);
    }
    QPoint Scroll() const { return {box->horizontalScrollBar()->value(), box->verticalScrollBar()->value()}; }

    struct Release { Qt::MouseButton Button; QPoint At; bool Dragged; };
    std::unique_ptr<QWidget> form;
    QScrollArea* box = nullptr;
    QWidget* panel = nullptr;
    QWidget* picture = nullptr;
    QWidget* overlay = nullptr;
    TDragScroll* drag = nullptr;
    std::vector<Release> releases;
};

TEST_F(DragScrollTest, AnyButtonDragsThePictureWithTheMouseUnderTheHandCursor)
{
    for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
        drag->FormResize();
        releases.clear();
        Send(QEvent::MouseButtonPress, {200, 150}, button, button);
        EXPECT_TRUE(drag->Dragging);
        EXPECT_EQ(QPoint(drag->DragX, drag->DragY), QPoint(200, 150));
        // The mouse 30 left, 20 up on the screen: the picture follows it.
        Send(QEvent::MouseMove, {170, 130}, Qt::NoButton, button);
        EXPECT_EQ(Scroll(), QPoint(30, 20));
        ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::PointingHandCursor);
        // The point under the mouse at mouse-down is under it still.
        Send(QEvent::MouseButtonRelease, {200, 150}, button, Qt::NoButton);
        EXPECT_FALSE(drag->Dragging);
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
        ASSERT_EQ(releases.size(), 1u);
        EXPECT_EQ(releases[0].Button, button);
        EXPECT_EQ(releases[0].At, QPoint(200, 150));
        EXPECT_TRUE(releases[0].Dragged);
    }
}

TEST_F(DragScrollTest, AClickWithoutMovementIsReleasedAsNoDragAndMovesWithoutAButtonDoNotScroll)
{
    std::vector<bool> moves;
    drag->OnMove = [&](QPoint, bool dragging) { moves.push_back(dragging); };
    Send(QEvent::MouseMove, {50, 50}, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(Scroll(), QPoint(0, 0));
    Send(QEvent::MouseButtonPress, {60, 70}, Qt::LeftButton, Qt::LeftButton);
    Send(QEvent::MouseButtonRelease, {60, 70}, Qt::LeftButton, Qt::NoButton);
    ASSERT_EQ(releases.size(), 1u);
    EXPECT_FALSE(releases[0].Dragged);
    EXPECT_EQ(releases[0].At, QPoint(60, 70));
    EXPECT_EQ(moves, std::vector<bool>{false});
    // Scrolling stops at the ends: a drag past the corner only reaches it.
    Send(QEvent::MouseButtonPress, {10, 10}, Qt::LeftButton, Qt::LeftButton);
    Send(QEvent::MouseMove, {60, 60}, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(Scroll(), QPoint(0, 0));
    Send(QEvent::MouseButtonRelease, {60, 60}, Qt::LeftButton, Qt::NoButton);
    EXPECT_FALSE(releases.back().Dragged);
}

TEST_F(DragScrollTest, ThePanelFillsTheBoxAndTheBarsShowOnlyForALargerPicture)
{
    box->horizontalScrollBar()->setValue(40);
    drag->DragX = 5;
    form->resize(320, 220);
    QCoreApplication::processEvents();
    EXPECT_EQ(Scroll(), QPoint(0, 0));
    EXPECT_EQ(drag->DragX, 0);
    EXPECT_EQ(panel->size(), QSize(1000, 800));
    EXPECT_EQ(box->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);

    picture->resize(50, 40);
    drag->FormResize();
    const QSize client = box->viewport()->size();
    EXPECT_EQ(panel->size(), QSize(client.width() - 1, client.height() - 1));
    EXPECT_EQ(panel->pos(), QPoint(0, 0));
    EXPECT_EQ(box->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
}

}  // namespace
