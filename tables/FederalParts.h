// The federal districts window: the reference table of federal districts (ksFederalParts.txt)
// in the table-window family.
#pragma once

#include "EditFP.h"
#include "ORegions.h"
#include "TableForm.h"

class TfrmTableForm1 : public TTableDialogForm<TORegions, TfrmEditForm1> {
    Q_OBJECT
public:
    explicit TfrmTableForm1(QWidget* owner);
    ~TfrmTableForm1() override;

    // The districts; item 0 is the placeholder, item i is grid row i. Of the record only ID,
    // Name, Capital and CodeMSH are used.
    TORegions*& FederalPartList = Records;

protected:
    QStringList RecordCells(int index) const override;
    // The dialog proposes the region capitals as centres.
    void PrepareDialog(TfrmEditForm1& dialog, bool adding) override;
};

// The federal districts window last created.
extern TfrmTableForm1* frmTableForm1;
