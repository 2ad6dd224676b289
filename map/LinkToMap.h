// The linking window: ties regions and federal districts to the map picture by link points.
#pragma once

#include "DataFiles.h"
#include "MapPicture.h"
#include "OCoordinates.h"
#include "Pictures.h"
#include "WhiteAreas.h"

#include <QPoint>
#include <vector>

class QAction;
class QLabel;
class QMenu;
class QToolBar;
class QToolButton;

class TfrmGraphForm1 : public TMapPictureWindow {
    Q_OBJECT
public:
    explicit TfrmGraphForm1(QWidget* owner = nullptr);
    ~TfrmGraphForm1() override;

    // It serves none of the shared commands.
    int WindowKind() const override { return wkNone; }
    // LoadMap, FillCapitals(0), FillCoordinates.
    void Load() override;

    void FormActivate() override;
    // Asks before unsaved link points are lost; false keeps the window open.
    bool FormClose() override;

    void LoadMap();
    void FillCapitals(int Level);
    void FillCoordinates();
    void ClearMap();
    void FillSelected();

    // The mouse on the picture, in picture pixels.
    void Image1MouseMove(QPoint At);
    void Image1MouseUp(Qt::MouseButton Button, QPoint At);

    TColor LinkColor = 9564305;
    int CurrentLevel = 0;
    std::vector<int> Codes;

    QToolBar* ToolBar1 = nullptr;
    QToolButton* ToolButton1 = nullptr;
    QMenu* PopupMenu2 = nullptr;
    QAction* est11 = nullptr;
    QAction* est21 = nullptr;
    QToolButton* ToolButton2 = nullptr;
    QToolButton* ToolButton3 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QWidget* Panel5 = nullptr;

public slots:
    void est11Click();
    void est21Click();
    void ToolButton1Click();
    void ComboBox1Change();
    void SpeedButton1Click();
    void ToolButton2Click();
    // True when the file was written; a failure is shown and the points stay unsaved.
    bool ToolButton3Click();

private:
    void FormCreate();
    void ChooseLevel(QAction* item, int Level);
    // The ID of the selected place; false when none is selected.
    bool SelectedCode(int& code) const;
    // Link points may change and be saved only when the links file was read whole.
    void SetEditable(bool editable);

    // The file's lines around the points, so the save writes back what it did not read as a
    // point, each in its place: a point read keeps its line's place (a deleted one leaves it),
    // a new point goes at the end.
    DataFiles::LinksLayout links_;
    // Fills kept inside the white areas of the map as loaded.
    TConfinedFill areas_;
    bool editable_ = false;
};

extern TfrmGraphForm1* frmGraphForm1;
