// The measurements window: loading, the grid, the edit commands, and a save that loses no line.
#include "MeasuresTestFixture.h"

#include "../platform/Faults.h"
#include "RegisterFixture.h"

#include <QContextMenuEvent>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QToolButton>

#include <sys/stat.h>

namespace {

using MeasuresTest = MeasuresFixture;

const QStringList ResearchTwo{u"1;2;1;01.02.2005;10:00:00;1.5"_s, u"2;2;2;02.02.2005;11:00:00;2"_s,
                              u"3;2;3;03.02.2005;12:00:00;3"_s};

TEST_F(MeasuresTest, SaveKeepsEveryOtherLineByteForByteThenTheResearchsLines)
{
    WritePlaces();
    // Researches 1, 2 and 3 mixed, a comment, and another research's line in another format.
    const QByteArray first = "1;1;1;01.01.2005;10:00:00;5\r\n# \xe7\xe0\xec\xe5\xf2\xea\xe0\r\n";
    const QByteArray second = "2;3;2;01.01.2005;10:00:00;7\r\n2;1;3;31.02.2005;10:00:00;1,5\r\n"
                              "3;3;007;1.1.2005;10:00;8\r\n";
    TestSupport::WriteBytes(DataPath(u"ksMesurements.txt"_s), "1;2;1;01.02.2005;10:00:00;1.5\r\n" + first +
                                                                   "2;2;2;02.02.2005;11:00:00;2\r\n" + second);
    const QByteArray others = first + second;
    TfrmEditStUnit41* w = Open(2);
    EXPECT_EQ(Column(1), QStringList({u"Алтай"_s, u"Тыва"_s}));
    w->SpeedButton12Click();  // the confirmation answers Yes
    w->Button1Click();
    EXPECT_EQ(MeasurementBytes(), others + "2;2;2;02.02.2005;11:00:00;2\r\n");
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(w->result(), 2);
    EXPECT_EQ(choice_.Saved, (QList<QPair<int, int>>{{0, 1}}));
}

TEST_F(MeasuresTest, OkWithoutChangeWritesNothingCancelDropsChanges)
{
    WritePlaces();
    WriteMeasurements(ResearchTwo);
    const QByteArray before = MeasurementBytes();
    // A rewrite would replace the file by a new one.
    const auto inode = [this] {
        struct stat st {};
        return ::stat(QFile::encodeName(DataPath(u"ksMesurements.txt"_s)).constData(), &st) == 0 ? st.st_ino : 0;
    };
    const auto old = inode();
    Open(2)->Button1Click();
    EXPECT_TRUE(dialogs_->Messages.isEmpty() && choice_.Saved.isEmpty());
    EXPECT_EQ(inode(), old);
    EXPECT_FALSE(window_->isVisible());

    TfrmEditStUnit41* w = Open(2);
    w->SpeedButton47Click();
    Key(w->StringGrid1, Qt::Key_Escape);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(w->result(), 3);
    EXPECT_EQ(MeasurementBytes(), before);
}

TEST_F(MeasuresTest, NewMeasurementTakesTheNextIdOfItsResearch)
{
    WritePlaces();
    WriteMeasurements({u"1;1;1;01.01.2005;10:00:00;5"_s, u"2;1;1;01.01.2005;10:00:00;5"_s, u"3;1;1;01.01.2005;10:00:00;5"_s,
                       u"1;2;1;01.02.2005;10:00:00;1.5"_s, u"2;2;2;02.02.2005;11:00:00;2"_s});
    TfrmEditStUnit41* w = Open(2);
    Grid().SetRow(2);
    WhenDialog([](TfrmEditForm3& d) {
        // The current row is the template: its place, date, time and value are proposed.
        EXPECT_EQ(d.windowTitle(), u"Регион (добавление)"_s);
        EXPECT_EQ(d.ComboBox2->currentText(), u"Тыва"_s);
        EXPECT_EQ(d.ComboBox1->currentText(), u"2"_s);
        EXPECT_EQ(Regional::DateToStr(d.DateTimePicker1->Date()), u"02.02.2005"_s);
        EXPECT_EQ(Regional::TimeToStr(d.DateTimePicker2->Time()), u"11:00:00"_s);
        Answer(2, u"-0.25"_s)(d);
    });
    w->SpeedButton18Click();
    EXPECT_EQ(Column(1).last(), u"Бурятия"_s);
    w->Button1Click();
    EXPECT_EQ(Measurements().last(), u"3;2;3;02.02.2005;11:00:00;-0.25"_s);
}

TEST_F(MeasuresTest, LogicalValuesShowTrueOnlyForZero)
{
    WritePlaces();
    choice_.Kind = 0;
    WriteMeasurements({u"1;4;1;01.02.2005;10:00:00;0"_s, u"2;4;2;01.02.2005;10:00:00;1"_s, u"3;4;3;01.02.2005;10:00:00;100"_s});
    TfrmEditStUnit41* w = Open(4);
    EXPECT_EQ(Column(4), QStringList({u"Истина"_s, u"Ложь"_s, u"Ложь"_s}));
    Grid().SetRow(3);
    int shown = -1;
    WhenDialog([&shown](TfrmEditForm3& d) {
        EXPECT_EQ(d.windowTitle(), u"Регион"_s);
        shown = d.ComboBox1->currentIndex();
        d.Button2->click();
    });
    w->SpeedButton7Click();
    EXPECT_EQ(shown, 1);
    // The kind is read at each refill.
    choice_.Kind = 1;
    w->FillRec();
    EXPECT_EQ(Column(4), QStringList({u"0"_s, u"1"_s, u"100"_s}));
}

TEST_F(MeasuresTest, AutoFillAddsEveryRegionForARegionalResearchOnly)
{
    WritePlaces();
    WriteMeasurements({u"4;6;2;01.02.2005;10:00:00;9"_s});
    TfrmEditStUnit41* w = Open(6);
    choice_.Level = 1;
    w->SpeedButton19Click();
    EXPECT_EQ(w->MesList->Count(), 2);
    EXPECT_FALSE(w->MesList->Modified);
    choice_.Level = 0;
    const TDateTime before = Regional::Now();
    w->SpeedButton19Click();
    ASSERT_EQ(w->MesList->Count(), 5);
    for (int i = 2; i <= 4; ++i) {
        const OResearches::TUnits& m = w->MesList->Items(i);
        EXPECT_TRUE(m.ID == i + 3 && m.Ref1 == 6 && m.Ref2 == i - 1 && m.Value == 100 + 20 * (i - 2)) << i;
        EXPECT_NEAR(m.Date + m.Time, before, 1.0 / 86400 * 5);
    }
    EXPECT_EQ(Column(1), QStringList({u"Тыва"_s, u"Алтай"_s, u"Тыва"_s, u"Бурятия"_s}));
    EXPECT_TRUE(w->MesList->Modified);
}

TEST_F(MeasuresTest, ClearThenAddGivesRowOneAndSavesIt)
{
    WritePlaces();
    WriteMeasurements(ResearchTwo);
    TfrmEditStUnit41* w = Open(2);
    w->SpeedButton47Click();
    EXPECT_EQ(Grid().RowCount(), 1);
    EXPECT_TRUE(w->StaticText2->isVisible());
    EXPECT_FALSE(w->SpeedButton7->isEnabled() || w->SpeedButton12->isEnabled() || w->N1->isEnabled() || w->N3->isEnabled());
    WhenDialog([](TfrmEditForm3& d) {
        // No template: nothing preselected.
        EXPECT_EQ(d.ComboBox2->currentIndex(), -1);
        Answer(0, u"4.5"_s)(d);
    });
    w->SpeedButton18Click();
    EXPECT_EQ(Column(0), QStringList({u"1"_s}));
    EXPECT_TRUE(w->SpeedButton7->isEnabled() && !w->StaticText2->isVisible());
    w->Button1Click();
    ASSERT_EQ(Measurements().size(), 1);
    EXPECT_TRUE(Measurements()[0].startsWith(u"4;2;1;"_s) && Measurements()[0].endsWith(u";4.5"_s));
}

TEST_F(MeasuresTest, DeletingRowThreeOfFiveRenumbersTheRest)
{
    WritePlaces();
    QStringList lines;
    for (int i = 1; i <= 5; ++i) lines << u"%1;2;1;01.02.2005;10:00:00;%2"_s.arg(i).arg(i * 10);
    WriteMeasurements(lines);
    TfrmEditStUnit41* w = Open(2);
    Grid().SetRow(3);
    dialogs_->ConfirmAnswers = {false, true};
    w->SpeedButton12Click();
    EXPECT_EQ(Grid().RowCount(), 6);
    w->SpeedButton12Click();
    EXPECT_EQ(dialogs_->Texts().last(), u"Запись будет удалена.\nПодтвердите ваши намерения?"_s);
    EXPECT_EQ(Column(0), QStringList({u"1"_s, u"2"_s, u"3"_s, u"4"_s}));
    EXPECT_EQ(Column(4), QStringList({u"10"_s, u"20"_s, u"40"_s, u"50"_s}));
    EXPECT_EQ(Grid().Row(), 1);
    EXPECT_EQ(w->MesList->MaxID, 5);
}

TEST_F(MeasuresTest, RightClickPopsTheMenuAtTheMouseAndItsItemsActOnTheRow)
{
    WritePlaces();
    WriteMeasurements(ResearchTwo);
    TfrmEditStUnit41* w = Open(2);
    StringGrid& g = Grid();
    const QPoint onRow2 = g.CellRect(1, 2).center();
    QContextMenuEvent menu(QContextMenuEvent::Mouse, onRow2, g.viewport()->mapToGlobal(onRow2));
    QApplication::sendEvent(g.viewport(), &menu);
    ASSERT_TRUE(w->PopupMenu1->isVisible());
    // The point is the viewport's, so the menu stands at the mouse, not off by the grid's frame.
    EXPECT_EQ(w->PopupMenu1->pos(), g.viewport()->mapToGlobal(onRow2));
    w->PopupMenu1->hide();
    g.SetRow(2);
    dialogs_->ConfirmAnswers = {true};
    w->N3->trigger();
    EXPECT_EQ(Column(4), QStringList({u"1.5"_s, u"3"_s}));
}

TEST_F(MeasuresTest, PlaceNamesThroughTheReferenceFileOfTheLevel)
{
    WriteData(u"ksRegions.txt"_s, {u"1;Алтай"_s, u"1;Второй Алтай"_s, u"2;Тыва"_s});
    WriteMeasurements({u"1;2;99;01.02.2005;10:00:00;1"_s, u"2;2;1;01.02.2005;10:00:00;2"_s, u"3;2;2;01.02.2005;10:00:00;3"_s});
    TfrmEditStUnit41* w = Open(2);
    // The first line wins for a duplicated ID; a place in neither file has no name.
    EXPECT_EQ(Column(1), QStringList({QString(), u"Алтай"_s, u"Тыва"_s}));
    // A federal research without a districts file: no names, the places kept.
    choice_.Level = 1;
    window_.reset();
    w = Open(2);
    EXPECT_EQ(Column(1), QStringList({QString(), QString(), QString()}));
    Grid().SetRow(3);
    w->SpeedButton12Click();
    w->Button1Click();
    EXPECT_EQ(Measurements(), QStringList({u"1;2;99;01.02.2005;10:00:00;1"_s, u"2;2;1;01.02.2005;10:00:00;2"_s}));
    EXPECT_EQ(choice_.Saved, (QList<QPair<int, int>>{{1, 1}}));
}

TEST_F(MeasuresTest, ColumnWidthsFromSectionSg4)
{
    auto widths = [this] {
        Grid().resize(500 + Grid().width() - Grid().ClientWidth(), Grid().height());
        window_->ReadUserSettings();
        QList<int> w;
        for (int c = 0; c < 5; ++c) w << Grid().ColWidth(c);
        return w;
    };
    Open(1);
    EXPECT_EQ(widths(), QList<int>({10, 10, 50, 150, 150}));
    WriteIni({u"[sg4]"_s, u"cw4=120"_s});
    EXPECT_EQ(widths(), QList<int>({10, 10, 50, 150, 120}));
    EXPECT_TRUE(dialogs_->Messages.isEmpty());
    // With autosave the close writes the widths, whichever way the window closes.
    AppConfig->AutoSave = true;
    Grid().SetColWidth(1, 222);
    window_->Button2Click();
    const QStringList ini = TestSupport::ReadAnsiLines(appDir_ + u"tvk.ini"_s);
    EXPECT_TRUE(ini.contains(u"cw1=222"_s) && ini.contains(u"cw4=120"_s)) << ini.join(u'|').toStdString();
}

TEST_F(MeasuresTest, CtrlEnterEditsOnlyRowsEnterAloneNothing)
{
    WritePlaces();
    int opened = 0;
    auto watch = [&opened] { WhenDialog([&opened](TfrmEditForm3& d) { ++opened; d.Button2->click(); }); };
    TfrmEditStUnit41* w = Open(2);  // no file: an empty window
    EXPECT_TRUE(w->StaticText2->isVisible());
    Key(w->StringGrid1, Qt::Key_Return, Qt::ControlModifier);
    QApplication::processEvents();
    EXPECT_EQ(opened, 0);

    WriteMeasurements(ResearchTwo);
    window_.reset();
    w = Open(2);
    watch();
    Key(w->StringGrid1, Qt::Key_Return);
    Key(w->StringGrid1, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(opened, 1);
    // Ctrl+End is OK.
    Key(w->StringGrid1, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(w->result(), 2);
}

TEST_F(MeasuresTest, FailedSaveKeepsTheOldFileAndTheWindowOpen)
{
    WritePlaces();
    QStringList lines = ResearchTwo;
    for (int i = 0; i < 20; ++i) lines << u"%1;7;1;01.02.2005;10:00:00;%1"_s.arg(i);
    WriteMeasurements(lines);
    const QByteArray before = MeasurementBytes();
    const QString file = DataPath(u"ksMesurements.txt"_s);
    struct Fault {
        const char* Name;
        std::function<void(TfrmEditStUnit41*)> Save;
        std::function<void()> Undo;
    };
    const QList<Fault> faults{
        {"read-only database folder", [this](TfrmEditStUnit41* w) { MessageInReadOnlyDirectory(db_, [w] { w->Button1Click(); }); }, [] {}},
        {"file replaced by a directory",
         [&](TfrmEditStUnit41* w) {
             QFile::remove(file);
             QDir().mkdir(file);
             w->Button1Click();
             EXPECT_TRUE(QFileInfo(file).isDir());
         },
         [&] { QDir().rmdir(file); TestSupport::WriteBytes(file, before); }},
        {"file-size limit reached mid-write", [&](TfrmEditStUnit41* w) { MessageUnderFileSizeLimit(rlim_t(before.size() / 2), [w] { w->Button1Click(); }); },
         [] {}},
    };
    for (const Fault& f : faults) {
        SCOPED_TRACE(f.Name);
        dialogs_->Messages.clear();
        choice_.Saved.clear();
        TfrmEditStUnit41* w = Open(2);
        w->SpeedButton12Click();
        f.Save(w);
        ASSERT_EQ(dialogs_->Count(Dialogs::Box::Error), 1);
        EXPECT_TRUE(dialogs_->Texts().last().startsWith(u"При сохранении данных произошла ошибка!\n"_s));
        EXPECT_TRUE(w->isVisible() && w->MesList->Modified && choice_.Saved.isEmpty());
        f.Undo();
        EXPECT_EQ(MeasurementBytes(), before);
        // Once the fault is gone, OK saves.
        w->Button1Click();
        EXPECT_FALSE(w->isVisible());
        EXPECT_EQ(Measurements().size(), lines.size() - 1);
        TestSupport::WriteBytes(file, before);
    }
    EXPECT_EQ(CountLog(u"ОШИБКА! "_s), 2);  // the read-only folder took the log with it
}

TEST_F(MeasuresTest, LoadStoppedByABadLineThrows)
{
    WritePlaces();
    WriteMeasurements({u"1;2;1;01.02.2005;10:00:00;1"_s, u"2;2;1;31.02.2005;10:00:00;1"_s});
    TfrmEditStUnit41 w(&choice_);
    EXPECT_THROW(w.PreFillRec(2), EConvertError);
    // A bad ID only is reported and listed with ID 0.
    WriteMeasurements({u"x;2;1;01.02.2005;10:00:00;1"_s});
    TfrmEditStUnit41 again(&choice_);
    again.PreFillRec(2);
    EXPECT_EQ(again.MesList->Items(1).ID, 0);
    EXPECT_EQ(dialogs_->Texts(), QStringList({u"Ошибка доступа к файлу!\n'x' is not a valid integer value"_s}));
}

TEST_F(MeasuresTest, WordWrapMeasuresTheValueColumnTooAndKeepsHeightsOnActivation)
{
    WritePlaces();
    WriteMeasurements({u"1;2;1;01.02.2005;10:00:00;123456789012345"_s, u"2;2;2;01.02.2005;10:00:00;1"_s});
    WriteIni({u"[sg4]"_s, u"cw0=30"_s, u"cw1=200"_s, u"cw2=90"_s, u"cw3=90"_s, u"cw4=40"_s});
    AppConfig->WordWrap = true;
    AppConfig->RowHeight = 20;
    TfrmEditStUnit41* w = Open(2);
    const int wrapped = Grid().RowHeight(1);
    EXPECT_GE(wrapped, 40);
    EXPECT_EQ(wrapped % 20, 0);
    EXPECT_EQ(Grid().RowHeight(2), 20);
    w->FormActivate();
    EXPECT_EQ(Grid().RowHeight(1), wrapped);
    AppConfig->RowHeight = 24;
    w->FormActivate();
    EXPECT_EQ(Grid().RowHeight(1), wrapped / 20 * 24);
    EXPECT_EQ(Grid().RowHeight(2), 24);
}

TEST_F(MeasuresTest, EditStoresPlaceDateAndValueKeepingIdAndResearch)
{
    WritePlaces();
    WriteMeasurements(QStringList{u"7;1;1;01.01.2005;10:00:00;5"_s} + ResearchTwo);
    TfrmEditStUnit41* w = Open(2);
    Grid().SetRow(2);
    WhenDialog([](TfrmEditForm3& d) {
        EXPECT_EQ(d.windowTitle(), u"Регион"_s);
        EXPECT_EQ(d.ComboBox2->currentText(), u"Тыва"_s);
        d.ComboBox2->setCurrentIndex(2);
        d.MarkToSave();
        d.DateTimePicker1->setDate(QDate(2006, 3, 4));
        d.ComboBox1->setEditText(u"7.25"_s);
        d.Button1->click();
    });
    w->SpeedButton7Click();
    EXPECT_TRUE(w->MesList->Modified);
    EXPECT_EQ(Column(1), QStringList({u"Алтай"_s, u"Бурятия"_s, u"Бурятия"_s}));
    EXPECT_EQ(w->MesList->MaxID, 3);
    w->Button1Click();
    EXPECT_EQ(Measurements(), QStringList({u"7;1;1;01.01.2005;10:00:00;5"_s, ResearchTwo[0],
                                           u"2;2;3;04.03.2006;11:00:00;7.25"_s, ResearchTwo[2]}));
}

// A date before the year 100 (another program may write one) survives an edit of the time alone.
TEST_F(MeasuresTest, AnEarlyDateStaysWhenOnlyTheTimeIsChanged)
{
    WritePlaces();
    WriteMeasurements({u"1;2;1;01.01.0050;10:00:00;5"_s});
    TfrmEditStUnit41* w = Open(2);
    EXPECT_EQ(Column(2), QStringList({u"01.01.0050"_s}));
    WhenDialog([](TfrmEditForm3& d) {
        d.DateTimePicker2->setTime(QTime(11, 30));  // as the user would
        d.Button1->click();
    });
    w->SpeedButton7Click();
    w->Button1Click();
    EXPECT_EQ(Measurements(), QStringList({u"1;2;1;01.01.0050;11:30:00;5"_s}));
}

// A new logical measurement starts as "Истина", whatever the template row shows.
TEST_F(MeasuresTest, LogicalAddStartsTrueWhateverTheTemplate)
{
    WritePlaces();
    choice_.Kind = 0;
    WriteMeasurements({u"1;4;2;01.02.2005;10:00:00;1"_s});
    TfrmEditStUnit41* w = Open(4);
    QString proposed;
    WhenDialog([&proposed](TfrmEditForm3& d) {
        proposed = d.ComboBox1->currentText();
        d.Button1->click();
    });
    w->SpeedButton18Click();
    EXPECT_EQ(proposed, u"Истина"_s);
    EXPECT_EQ(Column(4), QStringList({u"Ложь"_s, u"Истина"_s}));
    w->Button1Click();
    EXPECT_EQ(Measurements().last(), u"2;4;2;01.02.2005;10:00:00;0"_s);
}

// Field 2 of every line is read to find the research's lines: another research's bad one keeps
// the window from opening.
TEST_F(MeasuresTest, AnotherResearchsFieldTwoNotAnIntegerStopsTheOpening)
{
    WritePlaces();
    WriteMeasurements({u"1;2;1;01.02.2005;10:00:00;1"_s, u"1;3x;1;01.02.2005;10:00:00;1"_s});
    TfrmEditStUnit41 w(&choice_);
    try {
        w.PreFillRec(2);
        ADD_FAILURE() << "opened";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message, u"'3x' is not a valid integer value"_s);
    }
}

// Level and kind count as 0 or other: level 2 is federal, kind 2 numeric.
TEST_F(MeasuresTest, LevelAndKindOtherThanZeroCountAsFederalAndNumeric)
{
    WritePlaces();
    choice_.Level = 2;
    choice_.Kind = 2;
    WriteMeasurements({u"1;5;2;01.02.2005;10:00:00;0"_s});
    TfrmEditStUnit41* w = Open(5);
    EXPECT_EQ(Column(1), QStringList({u"Дальневосточный"_s}));
    EXPECT_EQ(Column(4), QStringList({u"0"_s}));
    QString title, proposed;
    QStringList items;
    bool editable = false;
    WhenDialog([&](TfrmEditForm3& d) {
        title = d.windowTitle();
        for (int i = 0; i < d.ComboBox2->count(); ++i) items << d.ComboBox2->itemText(i);
        editable = d.ComboBox1->isEditable();
        proposed = d.ComboBox1->currentText();
        Answer(0, u"3"_s)(d);
        if (d.isVisible()) d.Button2->click();  // OK refused
    });
    w->SpeedButton7Click();
    EXPECT_TRUE(editable);
    EXPECT_EQ(proposed, u"0"_s);
    EXPECT_EQ(title, u"Федеральный округ"_s);
    EXPECT_EQ(items, QStringList({u"Сибирский"_s, u"Дальневосточный"_s}));
    EXPECT_EQ(Column(1), QStringList({u"Сибирский"_s}));
    EXPECT_EQ(Column(4), QStringList({u"3"_s}));
    w->SpeedButton19Click();  // auto-fill is for regional researches only
    EXPECT_EQ(w->MesList->Count(), 2);
}

// From the register: "Измерения" opens the research's measurements under the level and kind the
// dialog shows; what they saved holds in the register even when the dialog is then cancelled.
class MeasuresFromRegister : public RegisterFixture {};

TEST_F(MeasuresFromRegister, SavedUnderANewLevelTheRegisterFollowsAlthoughTheDialogIsCancelled)
{
    WriteData(u"ksFederalParts.txt"_s, {u"1;Сибирский;Новосибирск;"_s, u"2;Дальневосточный;Владивосток;"_s});
    WriteRegister({u"3;Население;0;1"_s});
    TfrmTableForm2* w = OpenRegister();
    Add(w, [](TfrmEditForm2& d) {
        EXPECT_FALSE(d.SpeedButton2->isEnabled());
        Cancel(d);
    });
    Change(w, [](TfrmEditForm2& d) {
        EXPECT_TRUE(d.SpeedButton2->isEnabled() && d.ComboBox1->isEnabled());
        d.Edit1->setText(u"Не сохранять"_s);
        d.ComboBox1->setCurrentIndex(1);
        WhenMeasuresWindow([](TfrmEditStUnit41& m) {
            EXPECT_EQ(m.windowTitle(), u"Измерения: Не сохранять"_s);
            MeasuresFixture::WhenDialog([](TfrmEditForm3& e) {
                EXPECT_EQ(e.windowTitle(), u"Федеральный округ (добавление)"_s);
                MeasuresFixture::Answer(1, u"5"_s)(e);
            });
            m.SpeedButton18Click();
            EXPECT_EQ(m.StringGrid1->Cell(1, 1), u"Дальневосточный"_s);
            m.Button1Click();
        });
        d.SpeedButton2->click();
        // Back from the window: the research has measurements now, so level and kind are locked.
        EXPECT_FALSE(d.ComboBox1->isEnabled() || d.ComboBox2->isEnabled());
        Cancel(d);
    });
    EXPECT_EQ(ReadRegister(), QStringList{u"3;Население;1;1"_s});
    const QStringList lines = ReadData(u"ksMesurements.txt"_s);
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].startsWith(u"1;3;2;"_s) && lines[0].endsWith(u";5"_s));

    // Measurements all removed: the lock is lifted when the window closes.
    Change(w, [](TfrmEditForm2& d) {
        WhenMeasuresWindow([](TfrmEditStUnit41& m) { m.SpeedButton47Click(); m.Button1Click(); });
        d.SpeedButton2->click();
        EXPECT_TRUE(d.ComboBox1->isEnabled() && d.ComboBox2->isEnabled());
        Cancel(d);
    });
    EXPECT_TRUE(ReadData(u"ksMesurements.txt"_s).isEmpty());
}

}  // namespace
