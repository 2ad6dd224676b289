// The measurement dialog: place list and preselection, value box by kind, results and the
// checks that keep OK from taking a measurement without a place or with a value that is no number.
#include "MeasuresTestFixture.h"

namespace {

using EditMeasurTest = MeasuresFixture;

// A dialog laid out as the window does for a change (or a new measurement), answered by act.
int Show(FakeChoice& choice, bool isNew, int preselect, std::function<void(TfrmEditForm3&)> act, int* selected = nullptr)
{
    TfrmEditForm3 dialog(&choice);
    dialog.FillRec(isNew);
    if (choice.Kind != 0) dialog.ComboBox1->setEditText(u"1.5"_s);
    dialog.DateTimePicker1->SetDate(Regional::StrToDate(u"01.02.2005"));
    dialog.DateTimePicker2->SetTime(Regional::StrToTime(u"10:00:00"));
    dialog.FillRegions(preselect);
    MeasuresFixture::WhenDialog(act);
    const int result = dialog.Execute();
    if (selected) *selected = dialog.SelectedID;
    return result;
}

TEST_F(EditMeasurTest, PlaceListPreselectionAndChosenId)
{
    WriteData(u"ksRegions.txt"_s, {u"# регионы"_s, u"10;Алтай"_s, u"20;Тыва"_s, u"30;Бурятия"_s});
    QStringList items;
    int preselected = -2, selected = 0;
    const int result = Show(choice_, false, 20, [&](TfrmEditForm3& d) {
        for (int i = 0; i < d.ComboBox2->count(); ++i) items << d.ComboBox2->itemText(i);
        preselected = d.ComboBox2->currentIndex();
        EXPECT_EQ(d.ComboBox2->maxVisibleItems(), 16);
        d.ComboBox2->setCurrentIndex(2);
        d.MarkToSave();
        d.Button1->click();
    }, &selected);
    EXPECT_EQ(items, QStringList({u"Алтай"_s, u"Тыва"_s, u"Бурятия"_s}));
    EXPECT_EQ(preselected, 1);
    EXPECT_EQ(result, erChanged);
    EXPECT_EQ(selected, 30);

    // An ID that no line carries selects nothing; a missing file leaves the list empty.
    Show(choice_, true, 0, [&](TfrmEditForm3& d) { preselected = d.ComboBox2->currentIndex(); d.Button2->click(); });
    EXPECT_EQ(preselected, -1);
    TfrmEditForm3 districts(&choice_);
    districts.FillFOs(1);
    EXPECT_TRUE(districts.ComboBox2->count() == 0 && districts.IDs.isEmpty());
    // A line whose field 1 is not an integer keeps the dialog from being shown.
    WriteData(u"ksRegions.txt"_s, {u"10;Алтай"_s, u"x;Тыва"_s});
    EXPECT_THROW(districts.FillRegions(10), EConvertError);
}

// Several lines with the place's ID: the last of them is preselected.
TEST_F(EditMeasurTest, PreselectsTheLastLineWithThePlaceId)
{
    WriteData(u"ksRegions.txt"_s, {u"1;Алтай"_s, u"2;Тыва"_s, u"2;Тыва вторая"_s, u"3;Бурятия"_s});
    QString preselected;
    int selected = 0;
    const int result = Show(choice_, true, 2, [&](TfrmEditForm3& d) {
        preselected = d.ComboBox2->currentText();
        d.Button1->click();
    }, &selected);
    EXPECT_EQ(preselected, u"Тыва вторая"_s);
    EXPECT_EQ(result, erChanged);
    EXPECT_EQ(selected, 2);
}

TEST_F(EditMeasurTest, ValueBoxByKind)
{
    TfrmEditForm3 dialog(&choice_);
    choice_.Kind = 0;
    dialog.FillRec(false);
    EXPECT_FALSE(dialog.ComboBox1->isEditable());
    EXPECT_EQ(dialog.ComboBox1->count(), 2);
    EXPECT_TRUE(dialog.ComboBox1->itemText(0) == u"Истина"_s && dialog.ComboBox1->itemText(1) == u"Ложь"_s);
    EXPECT_EQ(dialog.ComboBox1->currentIndex(), 0);
    choice_.Kind = 1;
    dialog.FillRec(false);
    EXPECT_TRUE(dialog.ComboBox1->isEditable() && dialog.ComboBox1->count() == 0 && dialog.ComboBox1->currentText().isEmpty());
    // Filling the controls from the program is no change.
    dialog.ComboBox1->setEditText(u"7"_s);
    dialog.DateTimePicker2->SetTime(0.5);
    EXPECT_FALSE(dialog.Modified);
}

TEST_F(EditMeasurTest, ResultsAndKeys)
{
    WriteData(u"ksRegions.txt"_s, {u"1;Алтай"_s});
    const auto ok = [](TfrmEditForm3& d) { d.Button1->click(); };
    EXPECT_EQ(Show(choice_, false, 1, ok), erCancelled);  // nothing changed
    EXPECT_EQ(Show(choice_, true, 1, ok), erChanged);
    EXPECT_EQ(Show(choice_, false, 1, [](TfrmEditForm3& d) {
                  d.DateTimePicker2->setTime(QTime(11, 0));  // as the user would
                  d.Button1->click();
              }),
              erChanged);
    QStringList seen;
    EXPECT_EQ(Show(choice_, true, 1, [&seen](TfrmEditForm3& d) {
                  Key(d.ComboBox2, Qt::Key_End, Qt::ControlModifier | Qt::ShiftModifier);
                  seen << (d.isVisible() ? u"open"_s : u"closed"_s);
                  Key(d.DateTimePicker1, Qt::Key_End, Qt::ControlModifier);
              }),
              erChanged);
    EXPECT_EQ(seen, QStringList({u"open"_s}));
    EXPECT_EQ(Show(choice_, true, 1, [](TfrmEditForm3& d) { Key(d.ComboBox1, Qt::Key_Escape); }), erCancelled);
}

TEST_F(EditMeasurTest, OkRefusesNoPlaceAndAValueThatIsNoNumber)
{
    WriteData(u"ksRegions.txt"_s, {u"1;Алтай"_s});
    QStringList states;
    const int result = Show(choice_, true, 0, [&states](TfrmEditForm3& d) {
        d.Button1->click();  // no place chosen
        states << (d.isVisible() ? u"open"_s : u"closed"_s);
        d.ComboBox2->setCurrentIndex(0);
        d.ComboBox1->setEditText(u"12,3,4"_s);
        d.Button1->click();
        states << (d.isVisible() ? u"open"_s : u"closed"_s);
        d.ComboBox1->setEditText(u"12.5"_s);
        d.Button1->click();
    });
    EXPECT_EQ(states, QStringList({u"open"_s, u"open"_s}));
    EXPECT_EQ(result, erChanged);
    EXPECT_EQ(dialogs_->Texts(), QStringList({u"Не выбрано наименование: выберите место измерения в списке."_s,
                                               u"Значение «12,3,4» не является числом."_s}));
}

TEST_F(EditMeasurTest, RefusedValueLeavesTheMeasurementAsItWas)
{
    WritePlaces();
    WriteMeasurements({u"1;2;1;01.02.2005;10:00:00;1.5"_s});
    TfrmEditStUnit41* w = Open(2);
    WhenDialog([](TfrmEditForm3& d) {
        d.ComboBox2->setCurrentIndex(2);
        d.MarkToSave();
        d.ComboBox1->setEditText(u"12,3,4"_s);
        d.Button1->click();
        d.Button2->click();
    });
    w->SpeedButton7Click();
    const OResearches::TUnits& m = w->MesList->Items(1);
    EXPECT_TRUE(m.Ref2 == 1 && m.Value == 1.5 && m.Name == u"Алтай"_s);
    EXPECT_FALSE(w->MesList->Modified);
}

}  // namespace
