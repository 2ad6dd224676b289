// The measurements window: the measurements of one research (place, date, time, value) in a
// grid, edited through the measurement dialog and written to ksMesurements.txt on OK.
#pragma once

#include "OResearches.h"
#include "StringGrid.h"
#include "TableGrid.h"

#include <QDialog>
#include <QPointer>

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QToolButton;
class TResearchChoice;

class TfrmEditStUnit41 : public QDialog {
    Q_OBJECT
public:
    // choice gives the research's level and kind, read at each use.
    explicit TfrmEditStUnit41(TResearchChoice* choice, QWidget* owner = nullptr);
    ~TfrmEditStUnit41() override;

    // Controls, named as their objectName.
    QWidget* Panel1 = nullptr;
    QWidget* Panel2 = nullptr;
    QWidget* Panel3 = nullptr;
    QWidget* Panel4 = nullptr;
    QWidget* Panel5 = nullptr;
    QWidget* Panel8 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QToolButton* SpeedButton18 = nullptr;  // add
    QToolButton* SpeedButton7 = nullptr;   // edit
    QToolButton* SpeedButton12 = nullptr;  // delete
    QToolButton* SpeedButton19 = nullptr;  // auto-fill
    QToolButton* SpeedButton47 = nullptr;  // clear
    StringGrid* StringGrid1 = nullptr;
    QLabel* StaticText2 = nullptr;
    TMeasureBox* Memo1 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* N2 = nullptr;  // add
    QAction* N1 = nullptr;  // edit
    QAction* N3 = nullptr;  // delete

    // The research's measurements; record 0 is a placeholder, record i is grid row i.
    TOResearches* MesList = nullptr;
    int ResearchID = 0;

    // Loads the research's lines and fills the grid. A conversion that stops the reading throws
    // (the window is then not to be shown).
    void PreFillRec(int ResearchID);
    // MesList into the grid; the edit commands by whether there are measurements.
    void FillRec();
    // Writes the research's measurements; true when written. A failure is logged and shown,
    // the old file stays as it was and MesList stays modified.
    bool SaveRecs();

    void SetGridParams();
    void ReadUserSettings();
    void SaveUserSettings();
    void GridResize();
    void FormActivate();

    // The research's level and kind as the research dialog shows them now.
    int Level() const;
    int Kind() const;
    // The place's name by the level: empty for a place that is in no line of the file.
    QString PlaceName(int placeID) const;

public slots:
    void Button1Click();
    void Button2Click();
    void SpeedButton18Click();
    void SpeedButton7Click();
    void SpeedButton12Click();
    void SpeedButton19Click();
    void SpeedButton47Click();

protected:
    // Ctrl+End: OK; Esc: Cancel. True when consumed.
    bool FormKeyDown(int key, Qt::KeyboardModifiers shift);
    // Ctrl+Enter in the grid: edit. True when consumed.
    bool StringGrid1KeyDown(int key, Qt::KeyboardModifiers shift);
    void done(int result) override;
    void reject() override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    void SetEditControls(bool hasRecords);
    // Shows the measurement dialog for a new measurement or for grid row `row`; on erChanged
    // the record (appended or row's) takes the dialog's place, date, time and value.
    void EditMeasurement(bool isNew, int row);

    TResearchChoice* choice_;
    // False while the file could not be read (an unusable delimiter): nothing is changed or written.
    bool loadedWhole_ = true;
    // The row heights were measured for the grid as it is (texts, widths, row height).
    bool rowsMeasured_ = false;
};

// The measurements window while it exists.
extern TfrmEditStUnit41* frmEditStUnit41;
