// The regions window: the reference table of regions (ksRegions.txt) in the table-window family.
#include "Regions.h"

#include "DefFun.h"

#include <QLineEdit>

TfrmTableForm* frmTableForm = nullptr;

namespace {

TTableParams RegionParams()
{
    TTableParams p;
    p.Caption = QStringLiteral("Регионы");
    p.Title = QStringLiteral("РЕГИОНЫ");
    p.FileName = DataFiles::RegionsFile;
    p.Headings = {QStringLiteral("№"),       QStringLiteral("Наименование"), QStringLiteral("Столица"),
                  QStringLiteral("Код МВД"), QStringLiteral("Код МСХ"),      QStringLiteral("Код букв."),
                  QStringLiteral("Код лат."), QStringLiteral("Код цифр.-букв.")};
    p.ProvisionalFactors = {0.03, 0.04, 0.04, 0.05, 0.05, 0.05, 0.05, 0.05};
    p.DefaultFactors = {0.03, 0.04, 0.04, 0.04, 0.05, 0.05, 0.05, 0.05};
    p.Section = QStringLiteral("sg1");
    p.Kind = wkRegions;
    return p;
}

}  // namespace

TfrmTableForm::TfrmTableForm(QWidget* owner)
    : TTableDialogForm(RegionParams(), owner, DataFiles::LoadRegions, DataFiles::SaveRegions)
{
    setObjectName(QStringLiteral("frmTableForm"));
    FormCreate();
    frmTableForm = this;
}

TfrmTableForm::~TfrmTableForm()
{
    if (frmTableForm == this) frmTableForm = nullptr;
}

void TfrmTableForm::GetFieldNo(int FieldNo, QStringView Line, QString& Result) const
{
    ::GetFieldNo(FieldNo, Line, Result);
}

QStringList TfrmTableForm::RecordCells(int index) const
{
    const ORegions::TUnits& r = RegionList->Items(index);
    return {r.Name, r.Capital, r.CodeMVD, r.CodeMSH, r.CodeAlpha, r.CodeLatin, r.CodeAlphaNum};
}
