// The research register window: the researches of ksResearchRegister.txt in the table-window
// family, their level and kind shown as words; the road to each research's measurements.
#pragma once

#include "EditResearch.h"
#include "OResearches.h"
#include "TableForm.h"

class TfrmTableForm2 : public TTableDialogForm<TOResearches, TfrmEditForm2> {
    Q_OBJECT
public:
    explicit TfrmTableForm2(QWidget* owner);
    ~TfrmTableForm2() override;

    // The records; item 0 is the placeholder, item i is grid row i.
    TOResearches*& ResearchList = Records;

    // The words of the level and kind columns: 0 the first, any other value the second.
    static QString LevelWord(int level);
    static QString KindWord(int kind);

protected:
    QStringList RecordCells(int index) const override;
    void PrepareDialog(TfrmEditForm2& dialog, bool adding) override;
    int NewRecordID() override;
    bool KeptAfterCancel(TfrmEditForm2& dialog, OResearches::TUnits& r) override;
};

// The research register window last created.
extern TfrmTableForm2* frmTableForm2;
