// The regions window: loading, adding, changing, saving, reloading, column widths, row heights
// and the data-safety rules.
#include "TablesFixture.h"

#include "ProfileFile.h"

#include <QAction>
#include <QLabel>
#include <QMdiArea>

namespace {

using RegionsTest = TablesFixture;

TEST_F(RegionsTest, LoadAndAddGiveMaxIdPlusOneAndABadKeyIsKeptAsZero)
{
    WriteRegions({u"5;Алтай;Горно-Алтайск;;;;;"_s, u"9;Бурятия;Улан-Удэ;;;;;"_s, u"# comment"_s, u";skipped"_s, QString(),
                  u"7;Коми;Сыктывкар;;;;;"_s, u"12a;Тыва;Кызыл"_s});
    TfrmTableForm* w = Open();
    const QString bad = u"Ошибка доступа к файлу!\n'12a' is not a valid integer value"_s;
    EXPECT_EQ(dialogs_->Texts(), QStringList{bad});
    EXPECT_EQ(dialogs_->Count(Dialogs::Box::Error), 1);
    EXPECT_EQ(CountLog(u"ОШИБКА! '12a' is not a valid integer value"_s), 1);
    EXPECT_EQ(w->StringGrid1->Cell(0, 4) + w->StringGrid1->Cell(1, 4), u"4Тыва"_s);
    // A rewrite would lose its identifier: no change is taken until F5 reads the file whole.
    const QByteArray unread = RegionBytes();
    OkIfOpened(frmEditForm, [w] { w->Button1Click(); });
    EXPECT_EQ(RegionBytes(), unread);
    WriteRegions({u"5;Алтай;Горно-Алтайск;;;;;"_s, u"9;Бурятия;Улан-Удэ;;;;;"_s, u"# comment"_s, u";skipped"_s, QString(),
                  u"7;Коми;Сыктывкар;;;;;"_s, u"0;Тыва;Кызыл"_s});
    Key(w->StringGrid1, Qt::Key_F5);
    Add(w, Ok);
    EXPECT_EQ(ReadRegions().mid(3), QStringList({u"0;Тыва;Кызыл;;;;;"_s, u"10;Новая запись;;;;;;"_s}));
    EXPECT_EQ(w->StringGrid1->Row(), 1);

    // A cancelled add and a delete answered No change nothing; the freed ID is not given again.
    Add(w, Cancel);
    w->StringGrid1->SetRow(5);
    dialogs_->ConfirmAnswers = {false, true};
    w->Button3Click();
    EXPECT_EQ(ReadRegions().size(), 5);
    w->Button3Click();
    EXPECT_EQ(dialogs_->Texts(), QStringList{bad} + QStringList(2, u"Запись будет удалена.\nПодтвердите ваши намерения?"_s));
    Add(w, Ok);
    EXPECT_EQ(ReadRegions().last(), u"11;Новая запись;;;;;;"_s);
}

TEST_F(RegionsTest, ChangeKeepsRowAndIdAndF5ReadsTheFileAgain)
{
    TfrmTableForm* w = OpenRows(8, 2);  // IDs 2, 4, ..., 16
    w->StringGrid1->SetRow(7);
    Change(w, [](TfrmEditForm& d) {
        EXPECT_EQ(d.Edit1->text(), u"Регион З"_s);
        d.Edit7->setText(u"Столица"_s);
        d.Edit2->setText(QString(60, u'7'));  // cut to 50 when stored
        Ok(d);
    });
    EXPECT_EQ(w->StringGrid1->Row(), 7);
    EXPECT_EQ(ReadRegions()[6], u"14;Регион З;Столица;"_s + QString(50, u'7') + u";;;;"_s);
    // OK without a change, and a dialog left after refusing a text, store and save nothing.
    const QByteArray before = RegionBytes();
    Change(w, Ok);
    Change(w, [](TfrmEditForm& d) { d.Edit1->setText(u"Алтай;Горный"_s); Ok(d); Cancel(d); });
    EXPECT_EQ(dialogs_->Count(Dialogs::Box::Warning), 1);
    EXPECT_EQ(RegionBytes(), before);
    EXPECT_EQ(w->StringGrid1->Cell(1, 7), u"Регион З"_s);

    WriteRegions({u"3;Тыва;Кызыл;;;;;"_s});
    w->StringGrid1->SetRow(5);
    Key(w->StringGrid1, Qt::Key_F5);
    EXPECT_EQ(w->StringGrid1->RowCount(), 2);
    EXPECT_EQ(w->StringGrid1->Cell(1, 1), u"Тыва"_s);
    EXPECT_EQ(w->StringGrid1->Row(), 1);
}

TEST_F(RegionsTest, EmptyTableShowsNoticeAndDisablesCommands)
{
    TfrmTableForm* w = OpenOne();
    w->Button3Click();  // deleting the only region leaves the empty table and an empty file
    EXPECT_EQ(RegionBytes(), QByteArray());
    auto expectEmpty = [&] {
        EXPECT_EQ(w->StringGrid1->RowCount(), 1);
        EXPECT_EQ(w->StringGrid1->FixedRows(), 0);
        EXPECT_TRUE(w->StaticText2->isVisibleTo(w));
        EXPECT_EQ(w->StaticText2->text(), u"Нет записей для отображения"_s);
        EXPECT_TRUE(w->Button1->isEnabled());
        for (QObject* o : QList<QObject*>{w->Button2, w->Button3, w->N3, w->MenuItem6, main_->Print, main_->PrintPreview,
                                          main_->CopyToClipBoard, main_->ExportToFile, main_->MenuPrintEx})
            EXPECT_FALSE(o->property("enabled").toBool()) << o->objectName().toStdString();
    };
    expectEmpty();
    // A file of comments and skipped lines reads as empty too.
    WriteRegions({u"# only a comment"_s, u";x;y"_s, QString()});
    Key(w->StringGrid1, Qt::Key_F5);
    expectEmpty();
    // Change, Enter and delete do nothing; Ins still adds.
    dialogs_->Messages.clear();
    w->Button2Click();
    w->Button3Click();
    Key(w->StringGrid1, Qt::Key_Return);
    EXPECT_TRUE(dialogs_->Messages.isEmpty());
    WhenDialog(Ok);
    w->MenuItem5->trigger();
    EXPECT_EQ(ReadRegions(), QStringList{u"1;Новая запись;;;;;;"_s});
    EXPECT_FALSE(w->StaticText2->isVisibleTo(w));
    EXPECT_TRUE(main_->Print->isEnabled());
}

TEST_F(RegionsTest, ColumnWidthsDefaultsStoredValuesCloseRoundTripAndShiftF9)
{
    TfrmTableForm* w = OpenOne({u"[options]"_s, u"autosave=1"_s, u"[sg1]"_s, u"cw3=120"_s});
    auto widths = [](StringGrid* g) { QList<int> all; for (int c = 0; c < g->ColCount(); ++c) all << g->ColWidth(c); return all; };
    const QString ini = appDir_ + u"tvk.ini"_s;
    auto stored = [&](int c) { return TIniFile(ini).ReadInteger(u"sg1"_s, u"cw%1"_s.arg(c), -1); };
    StringGrid* g = w->StringGrid1;
    g->setParent(nullptr);  // out of the layout, sized by hand
    g->resize(1000 + 2 * g->frameWidth(), 300);
    w->ReadUserSettings();
    EXPECT_EQ(widths(g), QList<int>({30, 40, 40, 120, 50, 50, 50, 50}));
    g->resize(861 + 2 * g->frameWidth(), 300);
    TIniFile(ini).WriteString(u"sg1"_s, u"cw3"_s, QString());
    w->ReadUserSettings();
    EXPECT_EQ(widths(g), QList<int>({25, 34, 34, 34, 43, 43, 43, 43}));
    g->setParent(w->Panel5);

    const QList<int> set{101, 108, 115, 122, 129, 136, 143, 150};
    for (int c = 0; c < 8; ++c) g->SetColWidth(c, set[c]);
    main_->MdiArea->closeAllSubWindows();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(stored(7), 150);
    main_->RegionsExecute();
    ASSERT_NE(frmTableForm, nullptr);
    g = frmTableForm->StringGrid1;
    EXPECT_EQ(widths(g), set);

    // Shift+F9 asks before saving the widths; F9 and Ctrl+Shift+F9 do nothing.
    g->SetColWidth(1, 77);
    const QByteArray before = TestSupport::ReadBytes(ini);
    dialogs_->ConfirmAnswers = {false, true};
    for (Qt::KeyboardModifiers mods : QList<Qt::KeyboardModifiers>{Qt::NoModifier, Qt::ControlModifier | Qt::ShiftModifier, Qt::ShiftModifier})
        Key(g, Qt::Key_F9, mods);
    EXPECT_EQ(TestSupport::ReadBytes(ini), before);
    Key(g, Qt::Key_F9, Qt::ShiftModifier);
    EXPECT_EQ(dialogs_->Texts(), QStringList(2, u"Сохранить текущие настройки?"_s));
    EXPECT_EQ(stored(1), 77);
}

TEST_F(RegionsTest, WordWrapRowHeightsAreWholeLinesOfTheWidestCandidate)
{
    WriteIni({u"[tables]"_s, u"rowheight=18"_s, u"wordwrap=1"_s});
    const QString longName = u"Очень длинное наименование региона из многих слов"_s;
    WriteRegions({u"1;%1;;;;;;"_s.arg(longName), u"2;Коми;;;;;;%1 %1"_s.arg(longName)});
    TfrmTableForm* w = Open();
    for (int c = 0; c < 8; ++c) w->StringGrid1->SetColWidth(c, 60);
    w->GridResize();
    EXPECT_GT(w->StringGrid1->RowHeight(1), 18);
    EXPECT_EQ(w->StringGrid1->RowHeight(1) % 18, 0);
    EXPECT_EQ(w->StringGrid1->RowHeight(2), 18);  // the last column alone never raises a row
    w->StringGrid1->SetColWidth(1, 2000);
    w->GridResize();
    EXPECT_EQ(w->StringGrid1->RowHeight(1), 18);
}

TEST_F(RegionsTest, FailedSaveKeepsFileAndModifiedAndRetriesLater)
{
    TfrmTableForm* w = OpenOne();
    const QByteArray before = RegionBytes();
    const QString moved = BlockDatabase();
    ASSERT_FALSE(moved.isEmpty());
    Change(w, [](TfrmEditForm& d) { d.Edit1->setText(u"Горный Алтай"_s); Ok(d); });
    ASSERT_EQ(dialogs_->Count(Dialogs::Box::Error), 1);
    EXPECT_TRUE(dialogs_->Messages[0].Text.startsWith(u"При сохранении данных произошла ошибка!\n"_s));
    EXPECT_EQ(CountLog(u"ОШИБКА! "_s), 1);
    EXPECT_TRUE(w->RegionList->Modified);
    EXPECT_EQ(TestSupport::ReadBytes(moved + u"/ksRegions.txt"_s), before);

    // Closing while the save still fails keeps the window and its change; once the folder is
    // back, the close saves and the window goes.
    main_->MdiArea->closeAllSubWindows();
    EXPECT_EQ(dialogs_->Count(Dialogs::Box::Error), 2);
    ASSERT_EQ(main_->MdiArea->subWindowList().size(), 1);
    ASSERT_TRUE(UnblockDatabase(moved));
    main_->MdiArea->closeAllSubWindows();
    EXPECT_TRUE(main_->MdiArea->subWindowList().isEmpty());
    EXPECT_EQ(ReadRegions(), QStringList{u"1;Горный Алтай;;;;;;"_s});
}

TEST_F(RegionsTest, AFileThatCannotBeReadIsNeverWrittenBackUntilF5ReadsItWhole)
{
    TfrmTableForm* w = OpenOne();
    const QString path = DataPath(u"ksRegions.txt"_s);
    const QByteArray before = RegionBytes();
    ASSERT_TRUE(QFile::remove(path) && QDir().mkdir(path));  // there, but no file to read
    Key(w->StringGrid1, Qt::Key_F5);
    EXPECT_EQ(dialogs_->Count(Dialogs::Box::Error), 1);
    EXPECT_FALSE(w->Button1->isEnabled() || w->MenuItem5->isEnabled());
    w->Button1Click();
    w->FormDeactivate();
    EXPECT_TRUE(QFileInfo(path).isDir());
    ASSERT_TRUE(QDir().rmdir(path));
    TestSupport::WriteBytes(path, before);
    Key(w->StringGrid1, Qt::Key_F5);
    EXPECT_TRUE(w->Button1->isEnabled());
    EXPECT_EQ(w->StringGrid1->Cell(1, 1), u"Алтай"_s);
}

// A regions window whose reader stops at the second record while Stop is set, as a reader
// stops at a field it cannot convert: that line's record comes last, partly filled.
class StoppingRegions : public TfrmTableForm {
public:
    using TfrmTableForm::TfrmTableForm;
    static inline bool Stop = true;

protected:
    DataFiles::LoadResult LoadRecords(const QString& path) override
    {
        DataFiles::LoadResult result = TfrmTableForm::LoadRecords(path);
        if (!Stop) return result;
        while (RegionList->Count() > 3) RegionList->Delete(RegionList->Count() - 1);
        return {false, 2, u"'x' is not a valid integer value"_s};
    }
};

TEST_F(RegionsTest, ALoadStoppedPartWayIsReportedAndTheWindowStaysReadOnlyUntilF5)
{
    TfrmMainForm::DocumentCreators().Regions = [](TfrmMainForm* o) { return frmTableForm = new StoppingRegions(o); };
    StoppingRegions::Stop = true;
    WriteRegions({u"1;Алтай;;;;;;"_s, u"2;Коми;;;;;;"_s});
    const QByteArray before = RegionBytes();
    TfrmTableForm* w = Open();
    ASSERT_NE(w, nullptr);
    const QString message = u"'x' is not a valid integer value"_s;
    EXPECT_EQ(dialogs_->Texts(), QStringList{u"Во время выполнения программы возникла ошибка!\n"_s + message});
    EXPECT_EQ(CountLog(u"НЕПРЕДВИДЕННАЯ ОШИБКА! "_s + message), 1);
    // What was read whole is shown; nothing may change it, and nothing writes the file back.
    EXPECT_EQ(w->StringGrid1->RowCount(), 2);
    EXPECT_EQ(w->RegionList->Count(), 2);
    EXPECT_EQ(main_->MdiArea->subWindowList().size(), 1);
    for (QObject* o : QList<QObject*>{w->Button1, w->Button2, w->Button3, w->MenuItem5, w->N3, w->MenuItem6})
        EXPECT_FALSE(o->property("enabled").toBool()) << o->objectName().toStdString();
    w->Button1Click();
    w->FormDeactivate();
    EXPECT_EQ(RegionBytes(), before);
    // F5 reports it again while the reader stops, and gives the table back once it reads whole.
    Key(w->StringGrid1, Qt::Key_F5);
    EXPECT_EQ(dialogs_->Count(Dialogs::Box::Error), 2);
    StoppingRegions::Stop = false;
    Key(w->StringGrid1, Qt::Key_F5);
    EXPECT_EQ(w->StringGrid1->RowCount(), 3);
    EXPECT_TRUE(w->Button1->isEnabled() && w->Button3->isEnabled());
}

TEST_F(RegionsTest, UnusableDelimiterLeavesTheFileAlone)
{
    TfrmTableForm* w = OpenOne({u"[constants]"_s, u"delimeterstring=ab"_s});
    const QByteArray before = RegionBytes();
    ASSERT_GE(dialogs_->Count(Dialogs::Box::Warning), 1);
    EXPECT_EQ(w->StringGrid1->RowCount(), 1);
    EXPECT_FALSE(w->Button1->isEnabled() || w->MenuItem5->isEnabled());
    w->Button1Click();
    w->FormDeactivate();
    w->FormClose();
    EXPECT_EQ(RegionBytes(), before);
}

}  // namespace
