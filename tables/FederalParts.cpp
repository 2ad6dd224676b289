// The federal districts window: the reference table of federal districts in the table-window family.
#include "FederalParts.h"

#include <QComboBox>
#include <QLineEdit>

TfrmTableForm1* frmTableForm1 = nullptr;

namespace {

TTableParams FederalPartParams()
{
    TTableParams p;
    p.Caption = QStringLiteral("Федеральные округа");
    p.Title = QStringLiteral("ФЕДЕРАЛЬНЫЕ ОКРУГА");
    p.FileName = DataFiles::FederalPartsFile;
    p.Headings = {QStringLiteral("№"), QStringLiteral("Наименование"), QStringLiteral("Центр"), QStringLiteral("Код МСХ")};
    p.ProvisionalFactors = {0.03, 0.04, 0.04, 0.05};
    p.DefaultFactors = {0.03, 0.04, 0.04, 0.04};
    p.Section = QStringLiteral("sg2");
    p.Kind = wkFederalParts;
    return p;
}

}  // namespace

TfrmTableForm1::TfrmTableForm1(QWidget* owner)
    : TTableDialogForm(FederalPartParams(), owner, DataFiles::LoadFederalParts, DataFiles::SaveFederalParts)
{
    setObjectName(QStringLiteral("frmTableForm1"));
    FormCreate();
    frmTableForm1 = this;
}

TfrmTableForm1::~TfrmTableForm1()
{
    if (frmTableForm1 == this) frmTableForm1 = nullptr;
}

QStringList TfrmTableForm1::RecordCells(int index) const
{
    const ORegions::TUnits& r = FederalPartList->Items(index);
    return {r.Name, r.Capital, r.CodeMSH};
}

void TfrmTableForm1::PrepareDialog(TfrmEditForm1& dialog, bool)
{
    dialog.FillCapitals();
}
