// The research register window: the researches of ksResearchRegister.txt in the table-window family.
#include "ResRegister.h"

#include <QComboBox>
#include <QLineEdit>
#include <QToolButton>

#include <algorithm>

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

TfrmTableForm2::TfrmTableForm2(QWidget* owner)
    : TTableDialogForm(ResearchParams(), owner, DataFiles::LoadResearches, DataFiles::SaveResearches)
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

QStringList TfrmTableForm2::RecordCells(int index) const
{
    const OResearches::TUnits& r = ResearchList->Items(index);
    return {r.Name, LevelWord(r.Ref1), KindWord(r.Ref2)};
}

void TfrmTableForm2::PrepareDialog(TfrmEditForm2& dialog, bool adding)
{
    if (!adding) return;
    dialog.setWindowTitle(dialog.windowTitle() + QStringLiteral(" (добавление)"));
    dialog.SpeedButton2->setEnabled(false);  // a research not yet stored has no measurements
}

int TfrmTableForm2::NewRecordID()
{
    // Measurements left behind by a deleted research keep its ID, which MaxID may no longer
    // cover after a reload: the new research takes an ID above them too.
    return std::max(ResearchList->MaxID,
                    DataFiles::HighestMeasuredResearch(DataFiles::PathOf(DataFiles::MeasurementsFile))) + 1;
}

bool TfrmTableForm2::KeptAfterCancel(TfrmEditForm2& dialog, OResearches::TUnits& r)
{
    // Measurements saved meanwhile under another level or kind: the record follows them,
    // whatever else the cancelled dialog held.
    int level = 0, kind = 0;
    if (!dialog.SavedUnderOtherChoice(r, level, kind)) return false;
    r.Ref1 = level;
    r.Ref2 = kind;
    return true;
}
