// The federal district dialog: name, code and centre of one federal district, the centre
// proposed from the region capitals.
#pragma once

#include "RecordDialog.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QWidget;

namespace ORegions {
class TUnits;
}

class TfrmEditForm1 : public TRecordDialog {
    Q_OBJECT
public:
    explicit TfrmEditForm1(QWidget* owner = nullptr);
    ~TfrmEditForm1() override;

    QWidget* Panel1 = nullptr;  // edge panels: left, top, right
    QWidget* Panel2 = nullptr;
    QWidget* Panel3 = nullptr;
    QWidget* Panel4 = nullptr;  // the bottom strip with the buttons
    QWidget* Panel5 = nullptr;  // the fields
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label8 = nullptr;
    QLineEdit* Edit1 = nullptr;     // Name
    QLineEdit* Edit3 = nullptr;     // CodeMSH
    QComboBox* ComboBox2 = nullptr; // Capital: free text, the list only proposes

    // The list of ComboBox2 := the capitals of every region in ksRegions.txt, sorted; the
    // edit field empty. A missing file leaves the list empty.
    void FillCapitals();

    // The controls from a record (Name, CodeMSH, Capital), and back (the record cuts the texts).
    void SetRecord(const ORegions::TUnits& r);
    void GetRecord(ORegions::TUnits& r) const;
};

// The federal district dialog while it is open.
extern TfrmEditForm1* frmEditForm1;
