// The regions window: the reference table of regions (ksRegions.txt) in the table-window family.
#pragma once

#include "EditRegion.h"
#include "ORegions.h"
#include "TableForm.h"

class TfrmTableForm : public TTableDialogForm<TORegions, TfrmEditForm> {
    Q_OBJECT
public:
    explicit TfrmTableForm(QWidget* owner);
    ~TfrmTableForm() override;

    // The records; item 0 is the placeholder, item i is grid row i.
    TORegions*& RegionList = Records;

    // The field splitter of the data files, as a method of the window.
    void GetFieldNo(int FieldNo, QStringView Line, QString& Result) const;

protected:
    QStringList RecordCells(int index) const override;
};

// The regions window last created.
extern TfrmTableForm* frmTableForm;
