// The region dialog: name, five codes and capital of one region.
#pragma once

#include "RecordDialog.h"

class QLabel;
class QLineEdit;
class QWidget;

namespace ORegions {
class TUnits;
}

class TfrmEditForm : public TRecordDialog {
    Q_OBJECT
public:
    explicit TfrmEditForm(QWidget* owner = nullptr);
    ~TfrmEditForm() override;

    QWidget* Panel1 = nullptr;  // the client panel
    QWidget* Panel2 = nullptr;  // the bottom strip with the buttons
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label8 = nullptr;
    QLabel* Label9 = nullptr;
    QLabel* Label10 = nullptr;
    QLabel* Label11 = nullptr;
    QLineEdit* Edit1 = nullptr;  // Name
    QLineEdit* Edit2 = nullptr;  // CodeMVD
    QLineEdit* Edit3 = nullptr;  // CodeMSH
    QLineEdit* Edit4 = nullptr;  // CodeAlpha
    QLineEdit* Edit5 = nullptr;  // CodeLatin
    QLineEdit* Edit6 = nullptr;  // CodeAlphaNum
    QLineEdit* Edit7 = nullptr;  // Capital

    // The controls from a record, in the order Name, the five codes, Capital.
    void SetRecord(const ORegions::TUnits& r);
    // The controls into a record (the record's fields cut the texts to their widths).
    void GetRecord(ORegions::TUnits& r) const;
};

// The region dialog while it is open.
extern TfrmEditForm* frmEditForm;
