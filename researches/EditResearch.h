// The research dialog: name, level and kind of one research, the lock of level and kind while
// the research has measurements, and the road to its measurements.
#pragma once

#include "RecordDialog.h"
#include "ResearchChoice.h"

#include <optional>
#include <utility>

class QComboBox;
class QLabel;
class QLineEdit;
class QToolButton;
class QWidget;

namespace OResearches {
class TUnits;
}

class TfrmEditForm2 : public TRecordDialog, public TResearchChoice {
    Q_OBJECT
public:
    explicit TfrmEditForm2(QWidget* owner = nullptr);
    ~TfrmEditForm2() override;

    QWidget* Panel1 = nullptr;  // left margin
    QWidget* Panel2 = nullptr;  // top margin
    QWidget* Panel3 = nullptr;  // right margin
    QWidget* Panel4 = nullptr;  // the bottom strip with the buttons
    QWidget* Panel5 = nullptr;  // the fields
    QLabel* Label1 = nullptr;
    QLabel* Label8 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Edit1 = nullptr;      // Name
    QComboBox* ComboBox1 = nullptr;  // level: its list position
    QComboBox* ComboBox2 = nullptr;  // kind: its list position
    QToolButton* SpeedButton2 = nullptr;  // "Измерения"

    // The research being edited; 0 while one is added.
    int ResearchID = 0;

    // Modified := Mark, the research's ID kept, level and kind locked while it has measurements.
    void FillRec(bool Mark, int ID);
    // The same for the ResearchID that SetRecord took (0 for a new research).
    void FillRec(bool Mark) override;
    // True when ksMesurements.txt holds a line of ResearchID; reading stops at the first one.
    bool CheckMes() const;

    // The controls and ResearchID from a record (a level or kind other than 0 and 1 shows no
    // choice), and the controls back (no choice is stored as -1).
    void SetRecord(const OResearches::TUnits& r);
    void GetRecord(OResearches::TUnits& r) const;

    // TResearchChoice: the combo boxes as they stand now.
    int ChosenLevel() const override;
    int ChosenKind() const override;
    void MeasurementsSaved(int level, int kind) override;

    // True when measurements of the research were saved while the dialog was open under a level
    // or kind that means other than r's, and are still stored; level and kind are then the save's.
    bool SavedUnderOtherChoice(const OResearches::TUnits& r, int& level, int& kind) const;

public slots:
    // "Измерения": the research's measurements, modally; afterwards the lock is decided again.
    void SpeedButton2Click();

private:
    void SetLock();

    bool hasMeasurements_ = false;
    std::optional<std::pair<int, int>> savedUnder_;
};

// The research dialog while it is open.
extern TfrmEditForm2* frmEditForm2;
