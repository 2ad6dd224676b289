// The map picture both picture windows are built around: the picture widget on its panel in a
// scroll box, the bar under it with a button and a list, and the loading of the map file.
#pragma once

#include "DocumentWindow.h"
#include "OCoordinates.h"

#include <QImage>
#include <QString>
#include <QWidget>

class QComboBox;
class QHBoxLayout;
class QScrollArea;
class QToolButton;
class QVBoxLayout;
class TDragScroll;

// Image1: shows the picture; paints only the visible part, straight from the image.
class TMapImage : public QWidget {
    Q_OBJECT
public:
    explicit TMapImage(QWidget* parent = nullptr);
    QImage Picture;  // Format_RGB32
    // Fits the widget to the picture.
    void PictureChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A document window showing the map file's picture and the link points on it.
class TMapPictureWindow : public TDocumentWindow {
    Q_OBJECT
public:
    // The opener logs the opening after Load.
    bool LogBeforeLoad() const override { return false; }
    void FormDeactivate() override;
    void DeActivateMenu();

    TOCoordinates* Points = nullptr;
    // DragX, DragY, Dragging, the panel fitting.
    TDragScroll* Drag = nullptr;

    QToolButton* SpeedButton1 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QScrollArea* ScrollBox2 = nullptr;
    QWidget* Panel20 = nullptr;
    TMapImage* Image1 = nullptr;

protected:
    // 1123 by 650, its parts one under another without margins in Column.
    explicit TMapPictureWindow(QWidget* owner = nullptr);

    QVBoxLayout* Column = nullptr;

    // ScrollBox2 (a child of parent) with Panel20 for its widget and Image1 at 0, 0 on it.
    QScrollArea* BuildPicture(QWidget* parent);
    // The bottom bar Panel1 with SpeedButton1 (caption) and ComboBox1; the window adds the rest
    // of its row to the layout returned.
    QHBoxLayout* BuildBottomBar(const QString& caption);
    // Empties the picture, fits the panel to the box and loads the map file's picture (RGB32).
    // A picture that cannot be read leaves the picture empty and raises.
    void LoadPicture();
};
