// The research register window: the researches of ksResearchRegister.txt in the table-window family.
#include "ResRegister.h"

#include "EditResearch.h"

#include <QComboBox>
#include <QLineEdit>
#include <QToolButton>

#include <algorithm>
#include <memory>

TfrmTableForm2* frmTableForm2 = nullptr;

namespace {

TTableParams ResearchParams()
{
    TTableParams p;
    p.Caption = QStringLiteral("Исследования");
    p.Title = QStringLiteral("ИССЛЕДОВАНИЯ");
    p.FileName = DataFiles::ResearchRegisterFile;
    p.Headings = {QStringLiteral("№"), QStringLiteral("Наименование"), QStringLiteral("Уровень"), QStringLiteral("Вид")};
    p.ProvisionalFactors = {0.03, 0.04, 0.04, 0.05};
    p.DefaultFactors = {0.03, 0.04, 0.04, 0.04};
    p.Section = QStringLiteral("sg3");
    p.Kind = wkResearches;
    return p;
}

}  // namespace

TfrmTableForm2::TfrmTableForm2(QWidget* owner) : TTableForm(ResearchParams(), owner)
{
    setObjectName(QStringLiteral("frmTableForm2"));
    FormCreate();
    frmTableForm2 = this;
}

TfrmTableForm2::~TfrmTableForm2()
{
    if (frmTableForm2 == this) frmTableForm2 = nullptr;
}

QString TfrmTableForm2::LevelWord(int level)
{
    return level == 0 ? QStringLiteral("Региональный") : QStringLiteral("Федеральный");
}

QString TfrmTableForm2::KindWord(int kind)
{
    return kind == 0 ? QStringLiteral("Логический") : QStringLiteral("Числовой");
}

void TfrmTableForm2::NewList()
{
    delete ResearchList;
    ResearchList = new TOResearches(this);
    ResearchList->SetMaxID(0);
    ResearchList->SetModified(false);
}

int TfrmTableForm2::RecordCount() const
{
    return ResearchList->Count();
}

QStringList TfrmTableForm2::RecordCells(int index) const
{
    const OResearches::TUnits& r = ResearchList->Items(index);
    return {r.Name, LevelWord(r.Ref1), KindWord(r.Ref2)};
}

bool TfrmTableForm2::ListModified() const
{
    return ResearchList->Modified;
}

void TfrmTableForm2::SetListModified(bool value)
{
    ResearchList->SetModified(value);
}

void TfrmTableForm2::AddPlaceholder()
{
    ResearchList->Add();
}

DataFiles::LoadResult TfrmTableForm2::LoadRecords(const QString& path)
{
    return DataFiles::LoadResearches(path, *ResearchList);
}

void TfrmTableForm2::SaveRecords(const QString& path)
{
    DataFiles::SaveResearches(path, *ResearchList);
}

bool TfrmTableForm2::AddRecord()
{
    std::unique_ptr<TfrmEditForm2> dialog(new TfrmEditForm2(this));
    dialog->setWindowTitle(dialog->windowTitle() + QStringLiteral(" (добавление)"));
    dialog->SpeedButton2->setEnabled(false);  // a research not yet stored has no measurements
    dialog->Edit1->setText(QStringLiteral("Новая запись"));
    dialog->FillRec(true, 0);
    if (dialog->Execute() != erChanged) return false;
    // Measurements left behind by a deleted research keep its ID, which MaxID may no longer
    // cover after a reload: the new research takes an ID above them too.
    const int highest =
        std::max(ResearchList->MaxID, DataFiles::HighestMeasuredResearch(DataFiles::PathOf(DataFiles::MeasurementsFile)));
    ResearchList->SetMaxID(highest + 1);
    ResearchList->Add();
    OResearches::TUnits& r = ResearchList->Items(ResearchList->Count() - 1);
    r.ID = ResearchList->MaxID;
    dialog->GetRecord(r);
    return true;
}

bool TfrmTableForm2::ChangeRecord(int index)
{
    std::unique_ptr<TfrmEditForm2> dialog(new TfrmEditForm2(this));
    OResearches::TUnits& r = ResearchList->Items(index);
    dialog->SetRecord(r);
    dialog->FillRec(false, r.ID);
    if (dialog->Execute() == erChanged) {
        dialog->GetRecord(r);
        return true;
    }
    // Measurements saved meanwhile under another level or kind: the record follows them,
    // whatever else the cancelled dialog held.
    int level = 0, kind = 0;
    if (!dialog->SavedUnderOtherChoice(r, level, kind)) return false;
    r.Ref1 = level;
    r.Ref2 = kind;
    return true;
}

void TfrmTableForm2::DeleteRecord(int index)
{
    ResearchList->Delete(index);
}
