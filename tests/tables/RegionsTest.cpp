// The regions window: loading, adding, changing, saving, reloading, column widths, row heights
// and the data-safety rules.
#include "TablesFixture.h"

#include "ProfileFile.h"

#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QPushButton>

namespace {

using RegionsTest = TablesFixture;

void PressKey(QWidget* target, int key, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QKeyEvent press(QEvent::KeyPress, key, mods);
    QApplication::sendEvent(target, &press);
}

TEST_F(RegionsTest, AddGetsMaxIdPlusOneEvenWithGaps)
{
    WriteRegions({QStringLiteral("5;Алтай;Горно-Алтайск;;;;;"), QStringLiteral("9;Бурятия;Улан-Удэ;;;;;"),
                  QStringLiteral("# comment"), QStringLiteral(";skipped"), QString(),
                  QStringLiteral("7;Коми;Сыктывкар;;;;;")});
    TfrmTableForm* w = Open();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->StringGrid1->RowCount(), 4);
    EXPECT_EQ(w->StringGrid1->Cell(0, 3), QStringLiteral("3"));
    EXPECT_EQ(w->StringGrid1->Cell(1, 3), QStringLiteral("Коми"));
    EXPECT_EQ(w->RegionList->MaxID, 9);
    WhenDialog([](TfrmEditForm& d) { d.Button1->click(); });
    w->Button1Click();
    const QStringList lines = ReadRegions();
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], QStringLiteral("5;Алтай;Горно-Алтайск;;;;;"));
    EXPECT_EQ(lines[3], QStringLiteral("10;Новая запись;;;;;;"));
    EXPECT_EQ(w->StringGrid1->Row(), 1);
    EXPECT_FALSE(w->RegionList->Modified);

    // A cancelled add changes nothing, and the freed ID of a deletion is not given again.
    WhenDialog([](TfrmEditForm& d) { d.Button2->click(); });
    w->Button1Click();
    EXPECT_EQ(ReadRegions().size(), 4);
    w->StringGrid1->SetRow(4);
    w->Button3Click();
    WhenDialog([](TfrmEditForm& d) { d.Button1->click(); });
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
        d.Button1->click();
    });
    w->Button2Click();
    EXPECT_EQ(w->StringGrid1->Row(), 7);
    EXPECT_EQ(ReadRegions()[6], QStringLiteral("14;Регион 14;Столица;") + QString(50, QLatin1Char('7')) +
                                    QStringLiteral(";;;;"));
    // OK without a change stores and saves nothing.
    const QByteArray before = TestSupport::ReadBytes(RegionsPath());
    WhenDialog([](TfrmEditForm& d) { d.Button1->click(); });
    w->Button2Click();
    EXPECT_EQ(TestSupport::ReadBytes(RegionsPath()), before);

    WriteRegions({QStringLiteral("3;Тыва;Кызыл;;;;;")});
    w->StringGrid1->SetRow(5);
    PressKey(w->StringGrid1, Qt::Key_F5);
    EXPECT_EQ(w->StringGrid1->RowCount(), 2);
    EXPECT_EQ(w->StringGrid1->Cell(1, 1), QStringLiteral("Тыва"));
    EXPECT_EQ(w->StringGrid1->Row(), 1);
    EXPECT_EQ(w->RegionList->MaxID, 3);
}

TEST_F(RegionsTest, BadKeyFieldIsReportedOnceAndKeptWithIdZero)
{
    WriteRegions({QStringLiteral("12a;Алтай;Горно-Алтайск"), QStringLiteral("4;Коми;Сыктывкар;;;;;")});
    TfrmTableForm* w = Open();
    ASSERT_EQ(dialogs_->Messages.size(), 1);
    EXPECT_EQ(dialogs_->Messages[0].Kind, Dialogs::Box::Error);
    EXPECT_EQ(dialogs_->Messages[0].Text,
              QStringLiteral("Ошибка доступа к файлу!\n'12a' is not a valid integer value"));
    EXPECT_EQ(CountLog(QStringLiteral("ОШИБКА! '12a' is not a valid integer value")), 1);
    EXPECT_EQ(w->StringGrid1->Cell(1, 1), QStringLiteral("Алтай"));
    EXPECT_TRUE(w->Button1->isEnabled());
    w->StringGrid1->SetRow(2);
    w->Button3Click();
    EXPECT_EQ(ReadRegions(), QStringList{QStringLiteral("0;Алтай;Горно-Алтайск;;;;;")});
}

TEST_F(RegionsTest, EmptyTableShowsNoticeAndDisablesCommands)
{
    WriteRegions({QStringLiteral("1;Алтай;;;;;;")});
    TfrmTableForm* w = Open();
    EXPECT_TRUE(main_->Print->isEnabled());
    // Deleting the only region leaves the empty table and an empty file.
    w->Button3Click();
    EXPECT_EQ(TestSupport::ReadBytes(RegionsPath()), QByteArray());
    auto expectEmpty = [&] {
        EXPECT_EQ(w->StringGrid1->RowCount(), 1);
        EXPECT_EQ(w->StringGrid1->FixedRows(), 0);
        EXPECT_TRUE(w->StaticText2->isVisibleTo(w));
        EXPECT_EQ(w->StaticText2->text(), QStringLiteral("Нет записей для отображения"));
        for (QObject* o : {static_cast<QObject*>(w->Button2), static_cast<QObject*>(w->Button3),
                           static_cast<QObject*>(w->N3), static_cast<QObject*>(w->MenuItem6)})
            EXPECT_FALSE(o->property("enabled").toBool()) << o->objectName().toStdString();
        EXPECT_TRUE(w->Button1->isEnabled());
        for (QAction* a : {main_->Print, main_->PrintPreview, main_->CopyToClipBoard, main_->ExportToFile,
                           main_->MenuPrintEx})
            EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
    };
    expectEmpty();
    // A file of comments and skipped lines reads as empty too.
    WriteRegions({QStringLiteral("# only a comment"), QStringLiteral(";x;y"), QString()});
    PressKey(w->StringGrid1, Qt::Key_F5);
    expectEmpty();
    // Change, Enter and delete do nothing; Ins still adds.
    dialogs_->Messages.clear();
    w->Button2Click();
    w->Button3Click();
    PressKey(w->StringGrid1, Qt::Key_Return);
    EXPECT_TRUE(dialogs_->Messages.isEmpty());
    WhenDialog([](TfrmEditForm& d) { d.Button1->click(); });
    w->MenuItem5->trigger();
    EXPECT_EQ(ReadRegions(), QStringList{QStringLiteral("1;Новая запись;;;;;;")});
    EXPECT_FALSE(w->StaticText2->isVisibleTo(w));
    EXPECT_TRUE(main_->Print->isEnabled());
    EXPECT_EQ(main_->WhatToDo->Print, int(wkRegions));
}

TEST_F(RegionsTest, ColumnWidthsDefaultsStoredValuesAndCloseRoundTrip)
{
    WriteIni({QStringLiteral("[options]"), QStringLiteral("autosave=1"), QStringLiteral("[sg1]"),
              QStringLiteral("cw3=120")});
    WriteRegions({QStringLiteral("1;Алтай;;;;;;")});
    TfrmTableForm* w = Open();
    StringGrid* g = w->StringGrid1;
    g->setParent(nullptr);  // out of the layout, sized by hand
    g->resize(1000 + 2 * g->frameWidth(), 300);
    ASSERT_EQ(g->ClientWidth(), 1000);
    w->ReadUserSettings();
    QList<int> widths;
    for (int c = 0; c < 8; ++c) widths << g->ColWidth(c);
    EXPECT_EQ(widths, QList<int>({30, 40, 40, 120, 50, 50, 50, 50}));
    g->resize(861 + 2 * g->frameWidth(), 300);
    TIniFile(appDir_ + QStringLiteral("tvk.ini")).WriteString(QStringLiteral("sg1"), QStringLiteral("cw3"), QString());
    w->ReadUserSettings();
    widths.clear();
    for (int c = 0; c < 8; ++c) widths << g->ColWidth(c);
    EXPECT_EQ(widths, QList<int>({25, 34, 34, 34, 43, 43, 43, 43}));
    g->setParent(w->Panel5);

    for (int c = 0; c < 8; ++c) g->SetColWidth(c, 101 + c * 7);
    main_->MdiArea->closeAllSubWindows();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(frmTableForm, nullptr);
    TIniFile ini(appDir_ + QStringLiteral("tvk.ini"));
    for (int c = 0; c < 8; ++c)
        EXPECT_EQ(ini.ReadInteger(QStringLiteral("sg1"), QStringLiteral("cw%1").arg(c), -1), 101 + c * 7);
    main_->RegionsExecute();
    ASSERT_NE(frmTableForm, nullptr);
    for (int c = 0; c < 8; ++c) EXPECT_EQ(frmTableForm->StringGrid1->ColWidth(c), 101 + c * 7);
}

TEST_F(RegionsTest, ShiftF9AsksBeforeSavingWidthsOtherF9sDoNothing)
{
    WriteRegions({QStringLiteral("1;Алтай;;;;;;")});
    TfrmTableForm* w = Open();
    const QString ini = appDir_ + QStringLiteral("tvk.ini");
    const QByteArray before = TestSupport::ReadBytes(ini);
    PressKey(w->StringGrid1, Qt::Key_F9);
    PressKey(w->StringGrid1, Qt::Key_F9, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(dialogs_->Messages.isEmpty());
    dialogs_->ConfirmAnswers = {false, true};
    PressKey(w->StringGrid1, Qt::Key_F9, Qt::ShiftModifier);
    EXPECT_EQ(TestSupport::ReadBytes(ini), before);
    PressKey(w->StringGrid1, Qt::Key_F9, Qt::ShiftModifier);
    ASSERT_EQ(dialogs_->Messages.size(), 2);
    EXPECT_EQ(dialogs_->Messages[1].Text, QStringLiteral("Сохранить текущие настройки?"));
    EXPECT_EQ(TIniFile(ini).ReadInteger(QStringLiteral("sg1"), QStringLiteral("cw1"), -1),
              w->StringGrid1->ColWidth(1));
}

TEST_F(RegionsTest, WordWrapRowHeightsAreWholeLinesOfTheWidestCandidate)
{
    WriteIni({QStringLiteral("rowheight=18"), QStringLiteral("wordwrap=1")});
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
    WriteRegions({QStringLiteral("1;Алтай;;;;;;")});
    TfrmTableForm* w = Open();
    const QByteArray before = TestSupport::ReadBytes(RegionsPath());
    // The database folder is replaced by a plain file: no write can succeed, even as root.
    const QString moved = db_ + QStringLiteral("_moved");
    ASSERT_TRUE(QDir().rename(db_, moved));
    TestSupport::WriteBytes(db_, "x");
    WhenDialog([](TfrmEditForm& d) {
        d.Edit1->setText(QStringLiteral("Горный Алтай"));
        d.Button1->click();
    });
    w->Button2Click();
    ASSERT_EQ(dialogs_->Messages.size(), 1);
    EXPECT_EQ(dialogs_->Messages[0].Kind, Dialogs::Box::Error);
    EXPECT_TRUE(dialogs_->Messages[0].Text.startsWith(QStringLiteral("При сохранении данных произошла ошибка!\n")));
    EXPECT_EQ(CountLog(QStringLiteral("ОШИБКА! ")), 1);
    EXPECT_TRUE(w->RegionList->Modified);
    EXPECT_EQ(TestSupport::ReadBytes(moved + QStringLiteral("/ksRegions.txt")), before);

    ASSERT_TRUE(QFile::remove(db_));
    ASSERT_TRUE(QDir().rename(moved, db_));
    w->FormDeactivate();
    EXPECT_FALSE(w->RegionList->Modified);
    EXPECT_EQ(ReadRegions(), QStringList{QStringLiteral("1;Горный Алтай;;;;;;")});
}

TEST_F(RegionsTest, UnusableDelimiterLeavesTheFileAlone)
{
    WriteIni({QStringLiteral("[constants]"), QStringLiteral("delimeterstring=ab")});
    WriteRegions({QStringLiteral("1;Алтай;;;;;;")});
    const QByteArray before = TestSupport::ReadBytes(RegionsPath());
    TfrmTableForm* w = Open();
    ASSERT_GE(dialogs_->Count(Dialogs::Box::Warning), 1);
    EXPECT_EQ(w->StringGrid1->RowCount(), 1);
    EXPECT_FALSE(w->LoadedWhole());
    EXPECT_FALSE(w->Button1->isEnabled());
    EXPECT_FALSE(w->MenuItem5->isEnabled());
    w->Button1Click();
    w->FormDeactivate();
    w->FormClose();
    EXPECT_EQ(TestSupport::ReadBytes(RegionsPath()), before);
}

TEST_F(RegionsTest, DialogRefusingATextLeavesTheRecordAsItWas)
{
    WriteRegions({QStringLiteral("1;Алтай;;;;;;")});
    TfrmTableForm* w = Open();
    const QByteArray before = TestSupport::ReadBytes(RegionsPath());
    WhenDialog([](TfrmEditForm& d) {
        d.Edit1->setText(QStringLiteral("Алтай;Горный"));
        d.Button1->click();
        d.Button2->click();
    });
    w->Button2Click();
    EXPECT_EQ(dialogs_->Count(Dialogs::Box::Warning), 1);
    EXPECT_EQ(TestSupport::ReadBytes(RegionsPath()), before);
    EXPECT_EQ(w->StringGrid1->Cell(1, 1), QStringLiteral("Алтай"));
}

}  // namespace
