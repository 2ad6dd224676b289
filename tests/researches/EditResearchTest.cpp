// The research dialog: the lock of level and kind by the measurements file, the check that
// stops at the first line of the research, and the choice the measurements code reads.
#include "MeasuresTestFixture.h"
#include "RegisterFixture.h"

#include "AnsiCodec.h"

#include <QToolButton>

namespace {

using EditResearchTest = RegisterFixture;

TEST_F(EditResearchTest, CheckMesStopsAtTheFirstLineOfTheResearchAndAMissingFileMeansNone)
{
    TfrmEditForm2 d;
    d.ResearchID = 7;
    EXPECT_FALSE(d.CheckMes());
    // A large file whose first line matches: the bad field 2 at its end is never reached.
    QByteArray bytes = "1;7;1;01.02.2020;10:00:00;5\r\n";
    for (int i = 0; i < 200000; ++i) bytes += "1;8;1;01.02.2020;10:00:00;5\r\n";
    bytes += "1;bad;1;01.02.2020;10:00:00;5\r\n";
    TestSupport::WriteBytes(DataPath(u"ksMesurements.txt"_s), bytes);
    EXPECT_TRUE(d.CheckMes());
    d.ResearchID = 9;
    EXPECT_THROW(d.CheckMes(), EConvertError);  // reached unguarded, as the loaders do
    WriteMeasurements({u"# 9"_s, u";9"_s, u"1;8;1;01.02.2020;10:00:00;5"_s});
    EXPECT_FALSE(d.CheckMes());
}

TEST_F(EditResearchTest, LevelAndKindAreLockedWhileTheResearchHasMeasurements)
{
    WriteRegister({u"3;Население;0;1"_s, u"7;Газификация;1;0"_s});
    WriteMeasurements({u"1;7;1;01.02.2020;10:00:00;0"_s, u"1;0;1;01.02.2020;10:00:00;0"_s});
    TfrmTableForm2* w = OpenRegister();
    for (int row : {1, 2}) {
        w->StringGrid1->SetRow(row);
        Change(w, [row](TfrmEditForm2& d) {
            EXPECT_EQ(d.ComboBox1->isEnabled(), row == 1);
            EXPECT_EQ(d.ComboBox2->isEnabled(), row == 1);
            EXPECT_FALSE(d.Modified);  // filling the controls is no change
            Cancel(d);
        });
    }
    // Measurement lines of research 0 lock the add dialog: the new research keeps 0 and 0.
    Add(w, [](TfrmEditForm2& d) { EXPECT_FALSE(d.ComboBox1->isEnabled() || d.ComboBox2->isEnabled()); Ok(d); });
    EXPECT_EQ(ReadRegister().last(), u"8;Новая запись;0;0"_s);

    // Picking another kind counts as a change; OK without one stores nothing.
    const QByteArray before = RegisterBytes();
    w->StringGrid1->SetRow(1);
    Change(w, Ok);
    EXPECT_EQ(RegisterBytes(), before);
    Change(w, [](TfrmEditForm2& d) { d.ComboBox2->setCurrentIndex(0); Ok(d); });
    EXPECT_EQ(ReadRegister().first(), u"3;Население;0;0"_s);
    // A name that would not read back is refused.
    Change(w, [](TfrmEditForm2& d) { d.Edit1->setText(u"А;Б"_s); Ok(d); Cancel(d); });
    EXPECT_EQ(dialogs_->Count(Dialogs::Box::Warning), 1);
}

TEST_F(EditResearchTest, MeasurementsSavedUnderAnotherChoiceSurviveACancelledDialog)
{
    WriteRegister({u"3;Население;0;1"_s});
    TfrmTableForm2* w = OpenRegister();
    // The measurements window saves under the federal level the user picked, then the dialog
    // is cancelled: the record takes the level, the name typed meanwhile is dropped.
    Change(w, [this](TfrmEditForm2& d) {
        d.Edit1->setText(u"Не сохранять"_s);
        d.ComboBox1->setCurrentIndex(1);
        const TResearchChoice& choice = d;
        EXPECT_EQ(choice.ChosenLevel(), 1);  // read at the moment of use
        EXPECT_EQ(choice.ChosenKind(), 1);
        WriteMeasurements({u"1;3;2;01.02.2020;10:00:00;5"_s});
        d.MeasurementsSaved(choice.ChosenLevel(), choice.ChosenKind());
        WhenMeasuresWindow([](TfrmEditStUnit41& m) { m.Button2->click(); });
        d.SpeedButton2Click();  // back from the measurements window: now locked
        EXPECT_FALSE(d.ComboBox1->isEnabled());
        Cancel(d);
    });
    EXPECT_EQ(ReadRegister(), QStringList{u"3;Население;1;1"_s});
    EXPECT_EQ(w->StringGrid1->Cell(2, 1), u"Федеральный"_s);
    EXPECT_FALSE(w->ResearchList->Modified);

    // A save under the stored level and kind, or one that left no measurements, changes nothing.
    const QByteArray before = RegisterBytes();
    Change(w, [](TfrmEditForm2& d) { d.MeasurementsSaved(1, 1); Cancel(d); });
    WriteMeasurements({});
    Change(w, [](TfrmEditForm2& d) {
        d.ComboBox1->setCurrentIndex(0);
        d.MeasurementsSaved(0, 1);
        WhenMeasuresWindow([](TfrmEditStUnit41& m) { m.Button2->click(); });
        d.SpeedButton2Click();
        Cancel(d);
    });
    EXPECT_EQ(RegisterBytes(), before);
}

}  // namespace
