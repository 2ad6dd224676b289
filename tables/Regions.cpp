// The regions window: the reference table of regions (ksRegions.txt) in the table-window family.
#include "Regions.h"

#include "DefFun.h"
#include "EditRegion.h"

#include <QLineEdit>
#include <memory>

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

TfrmTableForm::TfrmTableForm(QWidget* owner) : TTableForm(RegionParams(), owner)
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

void TfrmTableForm::NewList()
{
    delete RegionList;
    RegionList = new TORegions(this);
    RegionList->SetMaxID(0);
    RegionList->SetModified(false);
}

int TfrmTableForm::RecordCount() const
{
    return RegionList->Count();
}

QStringList TfrmTableForm::RecordCells(int index) const
{
    const ORegions::TUnits& r = RegionList->Items(index);
    return {r.Name, r.Capital, r.CodeMVD, r.CodeMSH, r.CodeAlpha, r.CodeLatin, r.CodeAlphaNum};
}

bool TfrmTableForm::ListModified() const
{
    return RegionList->Modified;
}

void TfrmTableForm::SetListModified(bool value)
{
    RegionList->SetModified(value);
}

void TfrmTableForm::AddPlaceholder()
{
    RegionList->Add();
}

DataFiles::LoadResult TfrmTableForm::LoadRecords(const QString& path)
{
    return DataFiles::LoadRegions(path, *RegionList);
}

void TfrmTableForm::SaveRecords(const QString& path)
{
    DataFiles::SaveRegions(path, *RegionList);
}

bool TfrmTableForm::AddRecord()
{
    std::unique_ptr<TfrmEditForm> dialog(new TfrmEditForm(this));
    dialog->Edit1->setText(QStringLiteral("Новая запись"));
    dialog->FillRec(true);
    if (dialog->Execute() != erChanged) return false;
    RegionList->SetMaxID(RegionList->MaxID + 1);
    RegionList->Add();
    ORegions::TUnits& r = RegionList->Items(RegionList->Count() - 1);
    r.ID = RegionList->MaxID;
    dialog->GetRecord(r);
    return true;
}

bool TfrmTableForm::ChangeRecord(int index)
{
    std::unique_ptr<TfrmEditForm> dialog(new TfrmEditForm(this));
    ORegions::TUnits& r = RegionList->Items(index);
    dialog->SetRecord(r);
    dialog->FillRec(false);
    if (dialog->Execute() != erChanged) return false;
    dialog->GetRecord(r);
    return true;
}

void TfrmTableForm::DeleteRecord(int index)
{
    RegionList->Delete(index);
}
