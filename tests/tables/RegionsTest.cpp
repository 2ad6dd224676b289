// The regions window: loading, adding, changing, saving, reloading, column widths, row heights
// and the data-safety rules.
#include "TablesFixture.h"

#include "ProfileFile.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>

namespace {

using RegionsTest = TablesFixture;

QList<int> Widths(const StringGrid& g)
{
    QList<int> widths;
    for (int c = 0; c < g.ColCount(); ++c) widths << g.ColWidth(c);
    return widths;
}

TEST_F(RegionsTest, LoadAndAddGiveMaxIdPlusOneAndABadKeyIsKeptAsZero)
{
    WriteRegions({QStringLiteral("5;Алтай;Горно-Алтайск;;;;;"), QStringLiteral("9;Бурятия;Улан-Удэ;;;;;"),
                  QStringLiteral("# comment"), QStringLiteral(";skipped"), QString(),
                  QStringLiteral("7;Коми;Сыктывкар;;;;;"), QStringLiteral("12a;Тыва;Кызыл")});
    TfrmTableForm* w = Open();
    ASSERT_NE(w, nullptr);
    const QString bad = QStringLiteral("Ошибка доступа к файлу!\n'12a' is not a valid integer value");
    EXPECT_EQ(dialogs_->Texts(), QStringList{bad});
    EXPECT_EQ(dialogs_->Count(Dialogs::Box::Error), 1);
    EXPECT_EQ(CountLog(QStringLiteral("ОШИБКА! '12a' is not a valid integer value")), 1);
    EXPECT_EQ(w->StringGrid1->RowCount(), 5);
    EXPECT_EQ(w->StringGrid1->Cell(0, 4) + w->StringGrid1->Cell(1, 4), QStringLiteral("4Тыва"));
    EXPECT_EQ(w->RegionList->MaxID, 9);
    WhenDialog(Ok);
    w->Button1Click();
    EXPECT_EQ(ReadRegions().mid(3), QStringList({QStringLiteral("0;Тыва;Кызыл;;;;;"), QStringLiteral("10;Новая запись;;;;;;")}));
    EXPECT_EQ(w->StringGrid1->Row(), 1);
    EXPECT_FALSE(w->RegionList->Modified);

    // A cancelled add and a delete answered No change nothing; the freed ID is not given again.
    WhenDialog([](TfrmEditForm& d) { d.Button2->click(); });
    w->Button1Click();
    w->StringGrid1->SetRow(5);
    dialogs_->ConfirmAnswers = {false, true};
    w->Button3Click();
    EXPECT_EQ(ReadRegions().size(), 5);
    w->Button3Click();
    const QString confirm = QStringLiteral("Запись будет удалена.\nПодтвердите ваши намерения?");
    EXPECT_EQ(dialogs_->Texts(), QStringList({bad, confirm, confirm}));
    WhenDialog(Ok);
    w->Button1Click();
    EXPECT_EQ(ReadRegions().last(), QStringLiteral("11;Новая запись;;;;;;"));
}

TEST_F(RegionsTest, ChangeKeepsRowAndIdAndF5ReadsTheFileAgain)
{
    QStringList lines;
    for (int i = 1; i <= 8; ++i) lines << QStringLiteral("%1;Регион %1;Город;;;;;").arg(i * 2);
    WriteRegions(lines);
    TfrmTableForm* w = Open();
    w->StringGrid1->SetRow(7);
    WhenDialog([](TfrmEditForm& d) {
        EXPECT_EQ(d.Edit1->text(), QStringLiteral("Регион 14"));
        d.Edit7->setText(QStringLiteral("Столица"));
        d.Edit2->setText(QString(60, QLatin1Char('7')));  // cut to 50 when stored
        Ok(d);
    });
    w->Button2Click();
    EXPECT_EQ(w->StringGrid1->Row(), 7);
    EXPECT_EQ(ReadRegions()[6], QStringLiteral("14;Регион 14;Столица;") + QString(50, QLatin1Char('7')) +
                                    QStringLiteral(";;;;"));
    // OK without a change, and a dialog left after refusing a text, store and save nothing.
    const QByteArray before = RegionBytes();
    WhenDialog(Ok);
    w->Button2Click();
    WhenDialog([](TfrmEditForm& d) {
        d.Edit1->setText(QStringLiteral("Алтай;Горный"));
        Ok(d);
        d.Button2->click();
    });
    w->Button2Click();
    EXPECT_EQ(dialogs_->Count(Dialogs::Box::Warning), 1);
    EXPECT_EQ(RegionBytes(), before);
    EXPECT_EQ(w->StringGrid1->Cell(1, 7), QStringLiteral("Регион 14"));

    WriteRegions({QStringLiteral("3;Тыва;Кызыл;;;;;")});
    w->StringGrid1->SetRow(5);
    Key(w->StringGrid1, Qt::Key_F5);
    EXPECT_EQ(w->StringGrid1->RowCount(), 2);
    EXPECT_EQ(w->StringGrid1->Cell(1, 1), QStringLiteral("Тыва"));
    EXPECT_EQ(w->StringGrid1->Row(), 1);
    EXPECT_EQ(w->RegionList->MaxID, 3);
}

TEST_F(RegionsTest, EmptyTableShowsNoticeAndDisablesCommands)
{
    TfrmTableForm* w = OpenOne();
    EXPECT_TRUE(main_->Print->isEnabled());
    // Deleting the only region leaves the empty table and an empty file.
    w->Button3Click();
    EXPECT_EQ(RegionBytes(), QByteArray());
    auto expectEmpty = [&] {
        EXPECT_EQ(w->StringGrid1->RowCount(), 1);
        EXPECT_EQ(w->StringGrid1->FixedRows(), 0);
        EXPECT_TRUE(w->StaticText2->isVisibleTo(w));
        EXPECT_EQ(w->StaticText2->text(), QStringLiteral("Нет записей для отображения"));
        EXPECT_TRUE(w->Button1->isEnabled());
        for (QObject* o : QList<QObject*>{w->Button2, w->Button3, w->N3, w->MenuItem6, main_->Print, main_->PrintPreview,
                                          main_->CopyToClipBoard, main_->ExportToFile, main_->MenuPrintEx})
            EXPECT_FALSE(o->property("enabled").toBool()) << o->objectName().toStdString();
    };
    expectEmpty();
    // A file of comments and skipped lines reads as empty too.
    WriteRegions({QStringLiteral("# only a comment"), QStringLiteral(";x;y"), QString()});
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
    EXPECT_EQ(ReadRegions(), QStringList{QStringLiteral("1;Новая запись;;;;;;")});
    EXPECT_FALSE(w->StaticText2->isVisibleTo(w));
    EXPECT_TRUE(main_->Print->isEnabled());
}

TEST_F(RegionsTest, ColumnWidthsDefaultsStoredValuesCloseRoundTripAndShiftF9)
{
    TfrmTableForm* w = OpenOne({QStringLiteral("[options]"), QStringLiteral("autosave=1"), QStringLiteral("[sg1]"),
                                QStringLiteral("cw3=120")});
    const QString ini = appDir_ + QStringLiteral("tvk.ini");
    auto stored = [&](int c) { return TIniFile(ini).ReadInteger(QStringLiteral("sg1"), QStringLiteral("cw%1").arg(c), -1); };
    StringGrid* g = w->StringGrid1;
    g->setParent(nullptr);  // out of the layout, sized by hand
    g->resize(1000 + 2 * g->frameWidth(), 300);
    ASSERT_EQ(g->ClientWidth(), 1000);
    w->ReadUserSettings();
    EXPECT_EQ(Widths(*g), QList<int>({30, 40, 40, 120, 50, 50, 50, 50}));
    g->resize(861 + 2 * g->frameWidth(), 300);
    TIniFile(ini).WriteString(QStringLiteral("sg1"), QStringLiteral("cw3"), QString());
    w->ReadUserSettings();
    EXPECT_EQ(Widths(*g), QList<int>({25, 34, 34, 34, 43, 43, 43, 43}));
    g->setParent(w->Panel5);

    const QList<int> set{101, 108, 115, 122, 129, 136, 143, 150};
    for (int c = 0; c < 8; ++c) g->SetColWidth(c, set[c]);
    main_->MdiArea->closeAllSubWindows();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(stored(7), 150);
    main_->RegionsExecute();
    ASSERT_NE(frmTableForm, nullptr);
    g = frmTableForm->StringGrid1;
    EXPECT_EQ(Widths(*g), set);

    // Shift+F9 asks before saving the widths; F9 and Ctrl+Shift+F9 do nothing.
    g->SetColWidth(1, 77);
    const QByteArray before = TestSupport::ReadBytes(ini);
    dialogs_->Messages.clear();
    dialogs_->ConfirmAnswers = {false, true};
    for (Qt::KeyboardModifiers mods : QList<Qt::KeyboardModifiers>{Qt::NoModifier, Qt::ControlModifier | Qt::ShiftModifier, Qt::ShiftModifier})
        Key(g, Qt::Key_F9, mods);
    EXPECT_EQ(TestSupport::ReadBytes(ini), before);
    Key(g, Qt::Key_F9, Qt::ShiftModifier);
    EXPECT_EQ(dialogs_->Texts(), QStringList(2, QStringLiteral("Сохранить текущие настройки?")));
    EXPECT_EQ(stored(1), 77);
}

TEST_F(RegionsTest, WordWrapRowHeightsAreWholeLinesOfTheWidestCandidate)
{
    WriteIni({QStringLiteral("[tables]"), QStringLiteral("rowheight=18"), QStringLiteral("wordwrap=1")});
    const QString longName = QStringLiteral("Очень длинное наименование региона из многих слов");
    WriteRegions({QStringLiteral("1;") + longName + QStringLiteral(";;;;;;"),
                  QStringLiteral("2;Коми;;;;;;") + longName + QStringLiteral(" ") + longName});
    TfrmTableForm* w = Open();
    StringGrid* g = w->StringGrid1;
    for (int c = 0; c < 8; ++c) g->SetColWidth(c, 60);
    w->GridResize();
    EXPECT_GT(g->RowHeight(1), 18);
    EXPECT_EQ(g->RowHeight(1) % 18, 0);
    EXPECT_EQ(g->RowHeight(2), 18);  // the last column alone never raises a row
    g->SetColWidth(1, 2000);
    w->GridResize();
    EXPECT_EQ(g->RowHeight(1), 18);
}

TEST_F(RegionsTest, FailedSaveKeepsFileAndModifiedAndRetriesLater)
{
    TfrmTableForm* w = OpenOne();
    const QByteArray before = RegionBytes();
    // The database folder is replaced by a plain file: no write can succeed, even as root.
    const QString moved = db_ + QStringLiteral("_moved");
    ASSERT_TRUE(QDir().rename(db_, moved));
    TestSupport::WriteBytes(db_, "x");
    WhenDialog([](TfrmEditForm& d) {
        d.Edit1->setText(QStringLiteral("Горный Алтай"));
        Ok(d);
    });
    w->Button2Click();
    ASSERT_EQ(dialogs_->Count(Dialogs::Box::Error), 1);
    EXPECT_TRUE(dialogs_->Messages[0].Text.startsWith(QStringLiteral("При сохранении данных произошла ошибка!\n")));
    EXPECT_EQ(CountLog(QStringLiteral("ОШИБКА! ")), 1);
    EXPECT_TRUE(w->RegionList->Modified);
    EXPECT_EQ(TestSupport::ReadBytes(moved + QStringLiteral("/ksRegions.txt")), before);

    // Closing while the save still fails keeps the window and its change; once the folder is
    // back, the close saves and the window goes.
    main_->MdiArea->closeAllSubWindows();
    EXPECT_EQ(dialogs_->Count(Dialogs::Box::Error), 2);
    ASSERT_EQ(main_->MdiArea->subWindowList().size(), 1);
    EXPECT_TRUE(w->RegionList->Modified);
    ASSERT_TRUE(QFile::remove(db_));
    ASSERT_TRUE(QDir().rename(moved, db_));
    main_->MdiArea->closeAllSubWindows();
    EXPECT_TRUE(main_->MdiArea->subWindowList().isEmpty());
    EXPECT_EQ(ReadRegions(), QStringList{QStringLiteral("1;Горный Алтай;;;;;;")});
}

TEST_F(RegionsTest, AFileThatCannotBeReadIsNeverWrittenBackUntilF5ReadsItWhole)
{
    TfrmTableForm* w = OpenOne();
    const QString path = DataPath(QStringLiteral("ksRegions.txt"));
    const QByteArray before = RegionBytes();
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QDir().mkdir(path));  // there, but no file to read
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
    EXPECT_EQ(w->StringGrid1->Cell(1, 1), QStringLiteral("Алтай"));
}

TEST_F(RegionsTest, UnusableDelimiterLeavesTheFileAlone)
{
    TfrmTableForm* w = OpenOne({QStringLiteral("[constants]"), QStringLiteral("delimeterstring=ab")});
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
