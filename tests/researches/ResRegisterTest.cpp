// The research register window: what differs from the regions window (columns and words,
// unconverted levels and kinds, new IDs above orphaned measurements, a stopped load) and the
// shared commands over its columns.
#include "RegisterFixture.h"

#include "MeasuresTestFixture.h"
#include "ProfileFile.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QProcess>
#include <QToolButton>

namespace {

using ResRegisterTest = RegisterFixture;

QString PdfText(const QString& pdf)
{
    QProcess p;
    p.start(u"pdftotext"_s, {pdf, u"-"_s});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

TEST_F(ResRegisterTest, OpensFromTheMenuOnceAndOnlyWhenTheFileExists)
{
    OpenRegister();
    EXPECT_EQ(frmTableForm2, nullptr);
    EXPECT_EQ(dialogs_->Count(Dialogs::Box::Warning), 1);
    EXPECT_TRUE(dialogs_->Texts().value(0).startsWith(u"Не найден файл ksResearchRegister.txt!"_s));

    WriteRegister({u"1;Численность;0;1"_s});
    main_->AnalisisExecute();
    TfrmTableForm2* w = frmTableForm2;
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), u"Исследования"_s);
    EXPECT_EQ(w->StaticText1->text(), u"ИССЛЕДОВАНИЯ"_s);
    EXPECT_EQ(CountLog(u"Меню - Исследования"_s), 1);
    main_->AnalisisExecute();  // brings the open window forward
    EXPECT_EQ(frmTableForm2, w);
    EXPECT_EQ(main_->MdiArea->subWindowList().size(), 1);
    EXPECT_EQ(main_->WhatToDo->Print, int(wkResearches));
}

TEST_F(ResRegisterTest, ColumnsShowWordsAndAnUnconvertedLevelIsStoredAsNoChoice)
{
    WriteRegister({u"3;Население;0;1"_s, u"# comment"_s, u";skipped"_s, u"7;Газификация;1;0"_s, u"5;Прочее;2;5;extra"_s});
    TfrmTableForm2* w = OpenRegister();
    StringGrid* g = w->StringGrid1;
    ASSERT_EQ(g->ColCount(), 4);
    ASSERT_EQ(g->RowCount(), 4);
    const QList<QStringList> rows{{u"№"_s, u"Наименование"_s, u"Уровень"_s, u"Вид"_s},
                                  {u"1"_s, u"Население"_s, u"Региональный"_s, u"Числовой"_s},
                                  {u"2"_s, u"Газификация"_s, u"Федеральный"_s, u"Логический"_s},
                                  {u"3"_s, u"Прочее"_s, u"Федеральный"_s, u"Числовой"_s}};
    for (int r = 0; r < rows.size(); ++r)
        for (int c = 0; c < 4; ++c) EXPECT_EQ(g->Cell(c, r), rows[r][c]) << r << "," << c;

    // A level of 2 shows no choice; accepted after another change it is stored as -1.
    g->SetRow(3);
    Change(w, [](TfrmEditForm2& d) {
        EXPECT_EQ(d.ComboBox1->currentIndex(), -1);
        EXPECT_EQ(d.ComboBox2->currentIndex(), -1);
        EXPECT_EQ(d.windowTitle(), u"Исследование"_s);
        d.Edit1->setText(u"Прочее 2"_s);
        Ok(d);
    });
    EXPECT_EQ(ReadRegister(), QStringList({u"3;Население;0;1"_s, u"7;Газификация;1;0"_s, u"5;Прочее 2;-1;-1"_s}));
    EXPECT_EQ(g->Cell(2, 3), u"Федеральный"_s);
    EXPECT_EQ(g->Row(), 3);

    // Add: the dialog is marked as such, its measurements button off; OK at once gives
    // MaxID + 1 with level and kind 0.
    Add(w, [](TfrmEditForm2& d) {
        EXPECT_EQ(d.windowTitle(), u"Исследование (добавление)"_s);
        EXPECT_FALSE(d.SpeedButton2->isEnabled());
        EXPECT_EQ(d.Edit1->text(), u"Новая запись"_s);
        Ok(d);
    });
    EXPECT_EQ(ReadRegister().last(), u"8;Новая запись;0;0"_s);
    EXPECT_EQ(g->Cell(2, 4) + g->Cell(3, 4), u"РегиональныйЛогический"_s);
    EXPECT_EQ(g->Row(), 1);
}

TEST_F(ResRegisterTest, TheKeysReachTheResearchDialogAndTheMeasurementsWindowAsTyped)
{
    WriteRegister({u"1;Население;0;1"_s, u"2;Газификация;1;0"_s});
    WriteData(u"ksRegions.txt"_s, {u"1;Алтай;Горно-Алтайск;;;;;"_s});
    WriteMeasurements({u"1;1;1;01.02.2020;10:00:00;5"_s});
    OpenRegister();
    // Enter on the first row, as typed into the window just opened: the research dialog, whose
    // measurements button opens the window with its grid in focus, where Ins adds.
    QStringList seen;
    WhenResearchDialog([&seen](TfrmEditForm2& d) {
        seen << d.windowTitle() + u':' + d.Edit1->text();
        WhenMeasuresWindow([&seen](TfrmEditStUnit41& m) {
            QApplication::processEvents();
            QWidget* focus = QApplication::focusWidget();
            seen << (focus ? focus->objectName() : u"no focus"_s);
            MeasuresFixture::WhenDialog([&seen](TfrmEditForm3& e) {
                seen << e.windowTitle();
                e.Button2->click();
            });
            TestSupport::TypeKey(Qt::Key_Insert);
            m.activateWindow();  // as the window manager does when the dialog is gone
            TestSupport::TypeKey(Qt::Key_Escape);
        });
        d.SpeedButton2->click();
        Cancel(d);
    });
    TestSupport::TypeKey(Qt::Key_Return);
    EXPECT_EQ(seen, QStringList({u"Исследование:Население"_s, u"StringGrid1"_s, u"Регион (добавление)"_s}));
    EXPECT_EQ(frmEditStUnit41, nullptr);
}

TEST_F(ResRegisterTest, NewIdStaysAboveMeasurementsLeftByADeletedResearch)
{
    WriteRegister({u"1;Первое;0;1"_s, u"2;Второе;0;1"_s, u"3;Третье;1;1"_s});
    WriteMeasurements({u"1;3;1;01.02.2020;10:00:00;5"_s, u"2;3;2;01.02.2020;10:00:00;6"_s});
    TfrmTableForm2* w = OpenRegister();
    w->StringGrid1->SetRow(3);
    dialogs_->ConfirmAnswers = {true};
    w->Button3Click();
    EXPECT_EQ(ReadRegister().size(), 2);
    Key(w->StringGrid1, Qt::Key_F5);
    EXPECT_EQ(w->ResearchList->MaxID, 2);
    Add(w, [](TfrmEditForm2& d) {
        EXPECT_TRUE(d.ComboBox1->isEnabled());  // the add dialog checks research 0, which has none
        Ok(d);
    });
    EXPECT_EQ(ReadRegister().last(), u"4;Новая запись;0;0"_s);
    // Without measurements above it, MaxID + 1 as before.
    Add(w, Ok);
    EXPECT_EQ(ReadRegister().last(), u"5;Новая запись;0;0"_s);
    // The scan reads field 2 of every line and passes over one that is no integer (the add
    // dialog's own check stops at the first line of research 0, before it).
    WriteMeasurements({u"1;0;1;01.02.2020;10:00:00;5"_s, u"1;x;1;01.02.2020;10:00:00;5"_s, u"1;9;1;01.02.2020;10:00:00;5"_s});
    Add(w, Ok);
    EXPECT_EQ(ReadRegister().last(), u"10;Новая запись;0;0"_s);
}

TEST_F(ResRegisterTest, ALevelThatDoesNotConvertStopsTheLoadAndTheFileIsNeverRewritten)
{
    WriteRegister({u"1;Первое;0;1"_s, u"2;Только имя"_s, u"3;Третье;1;1"_s});
    const QByteArray before = RegisterBytes();
    TfrmTableForm2* w = OpenRegister();
    EXPECT_EQ(w->ResearchList->Count(), 2);  // the placeholder and line 1: the failing line is not shown
    EXPECT_FALSE(w->Button1->isEnabled() || w->MenuItem5->isEnabled() || w->Button2->isEnabled());
    w->Button1Click();
    w->FormDeactivate();
    main_->MdiArea->closeAllSubWindows();
    EXPECT_EQ(RegisterBytes(), before);
}

TEST_F(ResRegisterTest, SharedCommandsCarryTheWordsTitleAndCaption)
{
    WriteRegister({u"4;Население;0;1"_s, u"9;Газификация;1;0"_s});
    OpenRegister({u"[options]"_s, u"autosave=1"_s});
    main_->CopyToClipBoardExecute();
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              u"\"№\"\tНаименование\tУровень\tВид\r\n\"1\"\tНаселение\tРегиональный\tЧисловой\r\n"
              u"\"2\"\tГазификация\tФедеральный\tЛогический\r\n"_s);
    EXPECT_EQ(CountLog(u"Данные скопированы в буфер обмена: Исследования"_s), 1);

    const QString out = dir_.path() + u"/out.txt"_s;
    dialogs_->FileAnswers = {out};
    main_->ExportToFileExecute();
    EXPECT_TRUE(TestSupport::ReadAnsiLines(out).value(2).startsWith(u"2\tГазификация\tФедеральный"_s));
    EXPECT_EQ(CountLog(u"Данные сохранены во внешний файл: Исследования. Имя файла: "_s + out), 1);

    const QString pdf = dir_.path() + u"/register.pdf"_s;
    qputenv("KESTROVA_PDF", pdf.toLocal8Bit());
    dialogs_->PrintAnswers = {[](Dialogs::PrintRequest& r) { r.Copies = 1; return true; }};
    main_->MenuPrintExClick();
    const QString text = PdfText(pdf);
    EXPECT_TRUE(text.contains(u"ИССЛЕДОВАНИЯ"_s) && text.contains(u"Федеральный"_s) && text.contains(u"Логический"_s));
    EXPECT_EQ(CountLog(u"Сформирован отчет ИССЛЕДОВАНИЯ"_s), 1);
    EXPECT_EQ(CountLog(u"Напечатан отчет: ИССЛЕДОВАНИЯ. Всего страниц: 1. Копий 1"_s), 1);

    // Column widths: defaults of 3, 4, 4 and 4 per cent; the close writes sg3.
    StringGrid* g = frmTableForm2->StringGrid1;
    g->setParent(nullptr);
    g->resize(1000 + 2 * g->frameWidth(), 300);
    frmTableForm2->ReadUserSettings();
    QList<int> widths;
    for (int c = 0; c < 4; ++c) widths << g->ColWidth(c);
    EXPECT_EQ(widths, QList<int>({30, 40, 40, 40}));
    g->setParent(frmTableForm2->Panel5);
    g->SetColWidth(1, 321);
    main_->MdiArea->closeAllSubWindows();
    EXPECT_EQ(TIniFile(appDir_ + u"tvk.ini"_s).ReadInteger(u"sg3"_s, u"cw1"_s, -1), 321);
}

TEST_F(ResRegisterTest, ALoadStoppedAtABadKindShowsOnlyTheLinesReadWhole)
{
    WriteRegister({u"1;Первое;0;1"_s, u"2;Второе;1;x"_s, u"3;Третье;1;1"_s});
    TfrmTableForm2* w = OpenRegister();
    EXPECT_EQ(dialogs_->Texts(),
              QStringList{u"Во время выполнения программы возникла ошибка!\n'x' is not a valid integer value"_s});
    // No row with a kind the file does not hold: the grid, and so copy, print and export, carry line 1 only.
    EXPECT_EQ(w->GridLines(false), QStringList({u"№\tНаименование\tУровень\tВид"_s, u"1\tПервое\tРегиональный\tЧисловой"_s}));
    EXPECT_FALSE(w->StaticText3->isHidden());
}

TEST_F(ResRegisterTest, AnIdentifierThatDoesNotReadLeavesTheRegisterReadOnly)
{
    WriteRegister({u"1;Первое;0;1"_s, u"12a;Второе;1;1"_s});
    const QByteArray before = RegisterBytes();
    TfrmTableForm2* w = OpenRegister();
    EXPECT_EQ(dialogs_->Texts(), QStringList{u"Ошибка доступа к файлу!\n'12a' is not a valid integer value"_s});
    EXPECT_EQ(w->StringGrid1->RowCount(), 3);
    EXPECT_FALSE(w->Button1->isEnabled() || w->MenuItem5->isEnabled() || w->Button2->isEnabled() || w->Button3->isEnabled());
    OkIfOpened(frmEditForm2, [w] { w->Button1Click(); });
    main_->MdiArea->closeAllSubWindows();
    EXPECT_EQ(RegisterBytes(), before);
}

TEST_F(ResRegisterTest, AnotherDatabaseFolderIsReadAfreshAndOnlyTheFileReadIsWritten)
{
    WriteRegions({});
    WriteRegister({u"1;Первое;0;1"_s});
    const QByteArray ownBefore = RegisterBytes();
    const QString other = OtherDatabase({{u"ksRegions.txt"_s, {}}, {u"ksResearchRegister.txt"_s, {u"4;Чужое;1;0"_s}}});
    TfrmTableForm2* w = OpenRegister();
    ASSERT_TRUE(SwitchDatabase(other));
    EXPECT_EQ(w->StringGrid1->Cell(1, 1), u"Чужое"_s);
    Add(w, Ok);
    EXPECT_EQ(TestSupport::ReadAnsiLines(other + u"/ksResearchRegister.txt"_s),
              QStringList({u"4;Чужое;1;0"_s, u"5;Новая запись;0;0"_s}));
    EXPECT_EQ(RegisterBytes(), ownBefore);
}

}  // namespace
