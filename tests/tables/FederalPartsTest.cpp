// The federal districts window and its dialog: what differs from the regions window.
#include "TablesFixture.h"

#include "ProfileFile.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>

namespace {

class FederalPartsTest : public TablesFixture {
protected:
    void WriteDistricts(const QStringList& lines) { WriteData(u"ksFederalParts.txt"_s, lines); }
    QStringList ReadDistricts() const { return ReadData(u"ksFederalParts.txt"_s); }
    static void WhenDistrict(std::function<void(TfrmEditForm1&)> act) { WhenShown(frmEditForm1, act); }
    static void Add(TfrmTableForm1* w, std::function<void(TfrmEditForm1&)> act) { WhenDistrict(act); w->Button1Click(); }
    static void Change(TfrmTableForm1* w, std::function<void(TfrmEditForm1&)> act) { WhenDistrict(act); w->Button2Click(); }
    static QStringList Row(StringGrid* g, int r)
    {
        QStringList cells;
        for (int c = 0; c < g->ColCount(); ++c) cells << g->Cell(c, r);
        return cells;
    }
};

TEST_F(FederalPartsTest, FourColumnsAndTheFileWrittenBackInFourFields)
{
    WriteRegions({u"1;Москва;Москва;;;;;"_s});
    WriteDistricts({u"3;Центральный;Москва;01"_s, u"# comment"_s, u";skipped"_s, QString(),
                    u"7;Южный;Ростов-на-Дону;02;x;y;z;w"_s, u"q;Северо-Западный;Санкт-Петербург"_s, u"5;Уральский"_s});
    TfrmTableForm1* w = OpenDistricts();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), u"Федеральные округа"_s);
    EXPECT_EQ(w->StaticText1->text(), u"ФЕДЕРАЛЬНЫЕ ОКРУГА"_s);
    EXPECT_EQ(dialogs_->Texts(), QStringList{u"Ошибка доступа к файлу!\n'q' is not a valid integer value"_s});
    StringGrid* g = w->StringGrid1;
    EXPECT_EQ(Row(g, 0), QStringList({u"№"_s, u"Наименование"_s, u"Центр"_s, u"Код МСХ"_s}));
    EXPECT_EQ(Row(g, 2), QStringList({u"2"_s, u"Южный"_s, u"Ростов-на-Дону"_s, u"02"_s}));
    EXPECT_EQ(Row(g, 4), QStringList({u"4"_s, u"Уральский"_s, QString(), QString()}));
    EXPECT_EQ(w->FederalPartList->MaxID, 7);
    EXPECT_EQ(main_->WhatToDo->Print, wkFederalParts);
    // A rewrite would lose that line's identifier: read-only until F5 reads the file whole.
    EXPECT_FALSE(w->LoadedWhole());
    WriteDistricts({u"3;Центральный;Москва;01"_s, u"# comment"_s, u";skipped"_s, QString(),
                    u"7;Южный;Ростов-на-Дону;02;x;y;z;w"_s, u"5;Уральский"_s});
    Key(g, Qt::Key_F5);

    // The first change writes only the record lines, four fields each; the new district gets 8.
    Add(w, Ok);
    EXPECT_EQ(ReadDistricts(), QStringList({u"3;Центральный;Москва;01"_s, u"7;Южный;Ростов-на-Дону;02"_s,
                                            u"5;Уральский;;"_s, u"8;Новая запись;;"_s}));
    EXPECT_EQ(g->Row(), 1);
    // Deleting removes only its line; F5 reads the file again.
    g->SetRow(2);
    w->Button3Click();
    EXPECT_EQ(ReadDistricts().size(), 3);
    EXPECT_FALSE(ReadDistricts().join(u'|').contains(u"Южный"_s));
    WriteDistricts({u"9;Дальневосточный;Владивосток;"_s});
    Key(g, Qt::Key_F5);
    EXPECT_EQ(Row(g, 1), QStringList({u"1"_s, u"Дальневосточный"_s, u"Владивосток"_s, QString()}));
    EXPECT_EQ(w->FederalPartList->MaxID, 9);

    // Opening again brings the open window forward.
    main_->N11Click();
    EXPECT_EQ(main_->MdiArea->subWindowList().size(), 2);
    EXPECT_EQ(frmTableForm1, w);
}

TEST_F(FederalPartsTest, ChangeStoresNameCentreAndCodeCutAndKeepsTheRow)
{
    WriteRegions({u"1;Москва;Москва;;;;;"_s});
    WriteDistricts({u"1;Центральный;Москва;"_s, u"2;Южный;Ростов-на-Дону;"_s, u"3;Уральский;Екатеринбург;"_s});
    TfrmTableForm1* w = OpenDistricts();
    w->StringGrid1->SetRow(3);
    Change(w, [](TfrmEditForm1& d) {
        // The centre, though no region capital, stands in the edit field; the list proposes Москва.
        EXPECT_EQ(QList<QString>({d.Edit1->text(), d.ComboBox2->currentText(), d.Edit3->text()}),
                  QList<QString>({u"Уральский"_s, u"Екатеринбург"_s, QString()}));
        EXPECT_EQ(d.ComboBox2->count(), 1);
        d.ComboBox2->setCurrentIndex(0);  // choosing from the list is a change
        d.Edit3->setText(QString(60, u'7'));
        Ok(d);
    });
    EXPECT_EQ(w->StringGrid1->Row(), 3);
    EXPECT_EQ(ReadDistricts()[2], u"3;Уральский;Москва;"_s + QString(50, u'7'));
    // OK without a change, and Cancel after typing, store nothing.
    const QStringList before = ReadDistricts();
    Change(w, Ok);
    Change(w, [](TfrmEditForm1& d) { d.ComboBox2->setEditText(u"Пермь"_s); Cancel(d); });
    EXPECT_EQ(ReadDistricts(), before);
    // A file that could not be read whole is never written back.
    const QString path = DataPath(u"ksFederalParts.txt"_s);
    ASSERT_TRUE(QFile::remove(path) && QDir().mkdir(path));
    Key(w->StringGrid1, Qt::Key_F5);
    EXPECT_FALSE(w->Button1->isEnabled() || w->Button2->isEnabled());
    w->FormDeactivate();
    EXPECT_TRUE(QFileInfo(path).isDir());
}

TEST_F(FederalPartsTest, DialogProposesTheRegionCapitalsSortedAndRefusesTextThatWouldNotReadBack)
{
    WriteRegions({u"1;Тверская область;тверь"_s, u"2;Москва;Москва"_s, u"# 3;x;Архангельск"_s, u"4;Без столицы"_s,
                  u"5;Московская область;Москва"_s, u"6;Ярославская;Ёлкино"_s, u"7;Курская;Елец"_s});
    // Sorted by the user's locale: in Russian, Ё goes with Е.
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    struct Back { ~Back() { QLocale::setDefault(QLocale::system()); } } back;
    TfrmEditForm1 d;
    d.FillCapitals();
    QStringList items;
    for (int i = 0; i < d.ComboBox2->count(); ++i) items << d.ComboBox2->itemText(i);
    // Each region's capital once per region, an empty one for a short line, case ignored.
    EXPECT_EQ(items, QStringList({QString(), u"Елец"_s, u"Ёлкино"_s, u"Москва"_s, u"Москва"_s, u"тверь"_s}));
    EXPECT_TRUE(d.ComboBox2->currentText().isEmpty());
    // Enter walks the tab order: name, code, centre, OK.
    QStringList focus;
    WhenDistrict([&](TfrmEditForm1& shown) {
        shown.Edit1->setFocus();
        for (int i = 0; i < 3; ++i) {
            Key(shown.focusWidget(), Qt::Key_Return);
            focus << shown.focusWidget()->objectName();
        }
        // A delimiter in the centre is refused with a warning; the dialog stays open.
        shown.ComboBox2->setEditText(u"Ростов;на-Дону"_s);
        Ok(shown);
        focus << (shown.isVisible() ? u"open"_s : u"closed"_s);
        Cancel(shown);
    });
    d.FillRec(true);
    EXPECT_EQ(d.Execute(), erCancelled);
    EXPECT_EQ(focus, QStringList({u"Edit3"_s, u"ComboBox2"_s, u"Button1"_s, u"open"_s}));
    EXPECT_EQ(dialogs_->Count(Dialogs::Box::Warning), 1);

    // Without the regions file the list is empty and a centre can still be typed.
    ASSERT_TRUE(QFile::remove(DataPath(u"ksRegions.txt"_s)));
    d.FillCapitals();
    EXPECT_EQ(d.ComboBox2->count(), 0);
}

TEST_F(FederalPartsTest, DialogDesignCaptionsAndPlaces)
{
    TfrmEditForm1 d;
    EXPECT_EQ(d.windowTitle(), u"Федеральный округ"_s);
    EXPECT_EQ(d.size(), QSize(351, 185));
    const struct { QWidget* widget; const char* text; QPoint at; QSize size; } controls[] = {
        {d.Label1, "Наименование", {8, 8}, {}},           {d.Edit1, "", {8, 24}, {313, 21}},
        {d.Label8, "Код МСХ", {8, 56}, {}},               {d.Edit3, "", {8, 72}, {57, 21}},
        {d.Label2, "Центр федерального округа", {80, 56}, {}}, {d.ComboBox2, "", {80, 72}, {241, 21}},
        {d.Button1, "ОК", {6, 8}, {75, 25}},              {d.Button2, "Отмена", {88, 8}, {75, 25}},
    };
    for (const auto& c : controls) {
        const QString name = c.widget->objectName();
        EXPECT_EQ(c.widget->parentWidget(), name.startsWith(u"Button"_s) ? d.Panel4 : d.Panel5) << name.toStdString();
        EXPECT_EQ(c.widget->pos(), c.at) << name.toStdString();
        if (!c.size.isEmpty()) {
            EXPECT_EQ(c.widget->size(), c.size) << name.toStdString();
        }
        if (auto* label = qobject_cast<QLabel*>(c.widget)) {
            EXPECT_EQ(label->text(), QString::fromUtf8(c.text));
        }
        if (auto* button = qobject_cast<QPushButton*>(c.widget)) {
            EXPECT_EQ(button->text(), QString::fromUtf8(c.text));
        }
    }
    EXPECT_EQ(d.Panel5->geometry(), QRect(6, 6, 339, 139));
    EXPECT_EQ(d.Panel4->geometry(), QRect(0, 145, 351, 40));
}

TEST_F(FederalPartsTest, ColumnWidthsLiveInTheirOwnSectionAndSharedCommandsCarryTheDistrictTexts)
{
    WriteRegions({u"1;Москва;Москва;;;;;"_s});
    WriteDistricts({u"1;Центральный;Москва;"_s});
    TfrmTableForm1* w = OpenDistricts({u"[options]"_s, u"autosave=1"_s});
    StringGrid* g = w->StringGrid1;
    g->setParent(nullptr);  // out of the layout, sized by hand
    g->resize(1000 + 2 * g->frameWidth(), 300);
    w->ReadUserSettings();
    EXPECT_EQ(QList<int>({g->ColWidth(0), g->ColWidth(1), g->ColWidth(2), g->ColWidth(3)}), QList<int>({30, 40, 40, 40}));
    g->setParent(w->Panel5);
    g->SetColWidth(2, 222);

    main_->CopyToClipBoardExecute();
    EXPECT_TRUE(QGuiApplication::clipboard()->text().startsWith(u"\"№\"\tНаименование\tЦентр\tКод МСХ\r\n\"1\"\tЦентральный"_s));
    EXPECT_EQ(CountLog(u"Данные скопированы в буфер обмена: Федеральные округа"_s), 1);
    const QString pdf = dir_.path() + u"/districts.pdf"_s;
    qputenv("KESTROVA_PDF", pdf.toLocal8Bit());
    main_->PrintExecute();
    EXPECT_TRUE(QFile::exists(pdf));
    EXPECT_EQ(CountLog(u"Напечатан отчет: ФЕДЕРАЛЬНЫЕ ОКРУГА. Всего страниц: 1. Копий 1"_s), 1);

    main_->MdiArea->closeAllSubWindows();
    const QString ini = appDir_ + u"tvk.ini"_s;
    EXPECT_EQ(TIniFile(ini).ReadInteger(u"sg2"_s, u"cw2"_s, -1), 222);
    EXPECT_EQ(TIniFile(ini).ReadInteger(u"sg2"_s, u"cw4"_s, -1), -1);
}

TEST_F(FederalPartsTest, AnotherDatabaseFolderIsReadAfreshAndOnlyTheFileReadIsWritten)
{
    WriteRegions({});
    WriteDistricts({u"1;Центральный;Москва;01"_s, u"2;Южный;Ростов-на-Дону;02"_s});
    const QByteArray ownBefore = TestSupport::ReadBytes(DataPath(u"ksFederalParts.txt"_s));
    const QString other = OtherDatabase({{u"ksRegions.txt"_s, {}},
                                         {u"ksFederalParts.txt"_s,
                                          {u"5;Уральский;Екатеринбург;05"_s, u"6;Сибирский;Новосибирск;06"_s,
                                           u"7;Дальневосточный;Хабаровск;07"_s}}});
    const QString otherFile = other + u"/ksFederalParts.txt"_s;
    const QByteArray otherBefore = TestSupport::ReadBytes(otherFile);
    TfrmTableForm1* w = OpenDistricts();

    // The open window now shows the other database, whose file stays as it was.
    ASSERT_TRUE(SwitchDatabase(other));
    ASSERT_EQ(w->StringGrid1->RowCount(), 4);
    EXPECT_EQ(w->StringGrid1->Cell(1, 1), u"Уральский"_s);
    EXPECT_EQ(TestSupport::ReadBytes(otherFile), otherBefore);

    // An add writes the other database's districts plus the new one; the first folder is untouched.
    Add(w, Ok);
    EXPECT_EQ(TestSupport::ReadAnsiLines(otherFile),
              QStringList({u"5;Уральский;Екатеринбург;05"_s, u"6;Сибирский;Новосибирск;06"_s,
                           u"7;Дальневосточный;Хабаровск;07"_s, u"8;Новая запись;;"_s}));
    EXPECT_EQ(TestSupport::ReadBytes(DataPath(u"ksFederalParts.txt"_s)), ownBefore);
}

TEST_F(FederalPartsTest, AChangeNotYetSavedGoesToItsOwnFolderBeforeAnotherIsRead)
{
    WriteRegions({});
    WriteDistricts({u"1;Центральный;Москва;01"_s});
    const QString other = OtherDatabase({{u"ksRegions.txt"_s, {}}, {u"ksFederalParts.txt"_s, {u"5;Уральский;;"_s}}});
    const QByteArray otherBefore = TestSupport::ReadBytes(other + u"/ksFederalParts.txt"_s);
    TfrmTableForm1* w = OpenDistricts();
    const QString moved = BlockDatabase();
    ASSERT_FALSE(moved.isEmpty());
    Change(w, [](TfrmEditForm1& d) { d.Edit1->setText(u"Центр"_s); Ok(d); });
    ASSERT_EQ(dialogs_->Count(Dialogs::Box::Error), 1);

    // While its save fails, the folder does not change and the window keeps the change.
    EXPECT_FALSE(SwitchDatabase(other));
    EXPECT_EQ(dialogs_->Count(Dialogs::Box::Error), 2);
    EXPECT_TRUE(w->FederalPartList->Modified);
    EXPECT_EQ(w->StringGrid1->Cell(1, 1), u"Центр"_s);

    // Once it can, the change goes to the folder it was read from, then the other is read.
    ASSERT_TRUE(UnblockDatabase(moved));
    ASSERT_TRUE(SwitchDatabase(other));
    EXPECT_EQ(ReadDistricts(), QStringList{u"1;Центр;Москва;01"_s});
    EXPECT_EQ(w->StringGrid1->Cell(1, 1), u"Уральский"_s);
    EXPECT_EQ(TestSupport::ReadBytes(other + u"/ksFederalParts.txt"_s), otherBefore);
}

TEST_F(FederalPartsTest, IdentifiersThatDoNotReadLeaveTheWindowReadOnlyUntilF5ReadsThemWhole)
{
    struct Case {
        const char* what;
        QStringList ini;
        QStringList lines;
        int boxes;
    };
    const Case cases[] = {
        // "|" set over files written with ";": each line is one field, an identifier that does not read.
        {"| over ;", {u"[constants]"_s, u"delimeterstring=|"_s},
         {u"1;Центральный;Москва;01"_s, u"2;Южный;Ростов-на-Дону;02"_s}, 2},
        {"one 12a", {}, {u"1;Центральный;Москва;01"_s, u"12a;Южный;Ростов-на-Дону;02"_s}, 1},
    };
    for (const Case& c : cases) {
        QFile::remove(appDir_ + u"tvk.ini"_s);
        WriteRegions({});
        WriteDistricts(c.lines);
        const QByteArray before = TestSupport::ReadBytes(DataPath(u"ksFederalParts.txt"_s));
        TfrmTableForm1* w = OpenDistricts(c.ini);
        EXPECT_EQ(dialogs_->Count(Dialogs::Box::Error), c.boxes) << c.what;
        // The rows are shown; the window says it is read-only and takes no change.
        EXPECT_EQ(w->StringGrid1->RowCount(), 3) << c.what;
        EXPECT_FALSE(w->LoadedWhole()) << c.what;
        EXPECT_FALSE(w->StaticText3->isHidden()) << c.what;
        EXPECT_FALSE(w->Button1->isEnabled() || w->MenuItem5->isEnabled() || w->Button2->isEnabled()) << c.what;
        OkIfOpened(frmEditForm1, [w] { w->Button1Click(); });
        w->FormDeactivate();
        EXPECT_EQ(TestSupport::ReadBytes(DataPath(u"ksFederalParts.txt"_s)), before) << c.what;
        if (c.boxes == 1) {
            // F5 over the mended file reads it whole: the window takes changes again.
            WriteDistricts({u"1;Центральный;Москва;01"_s, u"12;Южный;Ростов-на-Дону;02"_s});
            Key(w->StringGrid1, Qt::Key_F5);
            EXPECT_TRUE(w->LoadedWhole());
            EXPECT_TRUE(w->StaticText3->isHidden());
            Add(w, Ok);
            EXPECT_EQ(ReadDistricts().last(), u"13;Новая запись;;"_s);
        }
        main_->MdiArea->closeAllSubWindows();
        main_.reset();
    }
}

}  // namespace
