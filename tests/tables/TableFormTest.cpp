// The family's commands on the regions window: search, copy, export, print and the main
// window's routing.
#include "TablesFixture.h"

#include "AnsiCodec.h"
#include "ColorBox.h"
#include "ConnParams.h"
#include "Pictures.h"
#include "SpinEdit.h"
#include "PrintPreview.h"
#include "Printer.h"
#include "ProfileFile.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFontInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QProcess>
#include <QWindow>

namespace {

using TableFormTest = TablesFixture;

QString Output(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}
// The fonts a PDF embeds, without their subset tags.
QStringList PdfFonts(const QString& pdf)
{
    QStringList fonts;
    const QStringList lines = Output(u"pdffonts"_s, {pdf}).split(u'\n', Qt::SkipEmptyParts);
    for (const QString& line : lines.mid(2)) fonts << line.section(u' ', 0, 0).section(u'+', -1);
    fonts.removeDuplicates();
    fonts.sort();
    return fonts;
}
// The text of each page of a PDF.
QStringList PdfPages(const QString& pdf) { return Output(u"pdftotext"_s, {pdf, u"-"_s}).split(u'\f', Qt::SkipEmptyParts); }

TEST_F(TableFormTest, SearchFindsRowNumbersCaseAndSeparatorsStopsAtTheEndAndStartsAgain)
{
    TfrmTableForm* w = OpenRows(15);
    w->Edit1->setText(u"12"_s);
    w->SpeedButton2Click();
    EXPECT_EQ(w->StringGrid1->Row(), 12);
    w->SpeedButton2Click();
    EXPECT_EQ(dialogs_->Texts(), QStringList{u"Достигнут конец списка."_s});
    EXPECT_EQ(dialogs_->Count(Dialogs::Box::Information), 1);
    w->StringGrid1->SetRow(3);
    w->SpeedButton2Click();
    EXPECT_EQ(w->StringGrid1->Row(), 12);

    // Enter in the search box searches and selects the text; typing starts again at row 1.
    w->Edit1->setText(u"1"_s);
    Key(w->Edit1, Qt::Key_Backspace);
    w->Edit1->setText(u"1"_s);
    Key(w->Edit1, Qt::Key_Return);
    EXPECT_EQ(w->StringGrid1->Row(), 1);
    EXPECT_EQ(w->Edit1->selectedText(), u"1"_s);
    Key(w->Edit1, Qt::Key_Down);
    EXPECT_EQ(w->StringGrid1->Row(), 2);

    // Upper-case Cyrillic is found in lower case; thousand separators in cells are skipped.
    WriteRegions({u"1;АЛТАЙ;;;;;;"_s, u"2;КОМИ;;1 234;;;;"_s});
    Key(w->StringGrid1, Qt::Key_F5);
    Regional::Settings s = Regional::Neutral();
    s.ThousandSeparator = u' ';
    Regional::Set(s);
    for (const QString& text : {u"коми"_s, u"1234"_s}) {
        w->SearchRestart = true;
        w->Edit1->setText(text);
        w->SpeedButton2Click();
        EXPECT_EQ(w->StringGrid1->Row(), 2) << text.toStdString();
    }
    EXPECT_EQ(dialogs_->Messages.size(), 1);
}

TEST_F(TableFormTest, ClipboardExportAndActivationOfTheSharedCommands)
{
    WriteRegions({u"4;Алтай;Горно-Алтайск;1;2;АЛ;AL;01"_s, u"9;Коми;Сыктывкар;;;;;"_s});
    TfrmTableForm* w = Open();
    const QString rest = u"\tНаименование\tСтолица\tКод МВД\tКод МСХ\tКод букв.\tКод лат.\tКод цифр.-букв."_s;
    const QString rows = u"\tАлтай\tГорно-Алтайск\t1\t2\tАЛ\tAL\t01\r\n%1\tКоми\tСыктывкар\t\t\t\t\t\r\n"_s;
    main_->CopyToClipBoardExecute();  // through the main window's routing
    EXPECT_EQ(QGuiApplication::clipboard()->text(), u"\"№\""_s + rest + u"\r\n\"1\""_s + rows.arg(u"\"2\""_s));
    EXPECT_EQ(dialogs_->Texts(), QStringList{u"Данные скопированы в буфер обмена."_s});
    EXPECT_EQ(CountLog(u"Данные скопированы в буфер обмена: Регионы"_s), 1);

    // A cancelled save dialog writes and logs nothing.
    const QString out = dir_.path() + u"/out.txt"_s;
    dialogs_->FileAnswers = {QString(), out};
    main_->ExportToFileExecute();
    EXPECT_FALSE(QFile::exists(out));
    EXPECT_EQ(CountLog(u"Данные сохранены во внешний файл"_s), 0);
    ASSERT_EQ(dialogs_->FileRequests.size(), 1);
    EXPECT_EQ(dialogs_->FileRequests[0].Filter, u"Текстовый файл (*.txt)|*.txt"_s);
    EXPECT_EQ(dialogs_->FileRequests[0].DefaultExt, u"txt"_s);

    main_->ExportToFileExecute();
    EXPECT_EQ(TestSupport::ReadBytes(out), AnsiCodec::Encode(u"№"_s + rest + u"\r\n1"_s + rows.arg(u"2"_s)));
    EXPECT_EQ(CountLog(u"Данные сохранены во внешний файл: Регионы. Имя файла: "_s + out), 1);

    // The shared commands follow activation; opening again only brings the window forward.
    w->FormDeactivate();
    EXPECT_FALSE(main_->CopyToClipBoard->isEnabled());
    w->FormActivate();
    EXPECT_TRUE(main_->CopyToClipBoard->isEnabled());
    main_->RegionsExecute();
    EXPECT_EQ(frmTableForm, w);
}

TEST_F(TableFormTest, PrintOfASmallTableIsOnePageTitledAfterTheMainWindow)
{
    OpenRows(3);
    const QString pdf = dir_.path() + u"/small.pdf"_s;
    qputenv("KESTROVA_PDF", pdf.toLocal8Bit());
    main_->PrintExecute();  // through the main window's routing
    const QStringList pages = PdfPages(pdf);
    ASSERT_EQ(pages.size(), 1);
    EXPECT_TRUE(pages[0].contains(u"Дата распечатки "_s));
    EXPECT_TRUE(pages[0].contains(u"Город"_s));
    EXPECT_EQ(CountLog(u"Сформирован отчет РЕГИОНЫ"_s), 1);
    EXPECT_EQ(CountLog(u"Напечатан отчет: РЕГИОНЫ. Всего страниц: 1. Копий 1"_s), 1);
    EXPECT_TRUE(Output(u"pdfinfo"_s, {pdf}).contains(u"Кестрова"_s));
}

TEST_F(TableFormTest, ThePreviewStandsOverTheMainWindow)
{
    OpenRows(3);
    QWidget* parent = nullptr;
    QWindow* transient = nullptr;
    PrintPreview::TfrmPreview::OnExecute = [&](PrintPreview::TfrmPreview& form) {
        parent = form.parentWidget();
        transient = form.windowHandle() ? form.windowHandle()->transientParent() : nullptr;
        form.close();
    };
    main_->PrintPreviewExecute();  // through the main window's routing
    PrintPreview::TfrmPreview::OnExecute = nullptr;
    EXPECT_EQ(parent, main_.get());
    EXPECT_EQ(transient, main_->windowHandle());
}

TEST_F(TableFormTest, PrintAndPrintDialogRangeAndCopiesPrintTheRightPagesInOrder)
{
    TfrmTableForm* w = OpenRows(400, 1, {u"[print]"_s, u"printsubtitle=0"_s});
    const QString allPdf = dir_.path() + u"/all.pdf"_s;
    qputenv("KESTROVA_PDF", allPdf.toLocal8Bit());
    w->Print(1);
    const QStringList all = PdfPages(allPdf);
    ASSERT_GE(all.size(), 3);
    EXPECT_TRUE(all[0].contains(u"РЕГИОНЫ"_s));
    EXPECT_NE(all[1], all[2]);
    EXPECT_EQ(CountLog(u"Сформирован отчет РЕГИОНЫ"_s), 1);
    EXPECT_EQ(CountLog(u"Напечатан отчет: РЕГИОНЫ. Всего страниц: %1. Копий 1"_s.arg(all.size())), 1);

    const QString rangePdf = dir_.path() + u"/range.pdf"_s;
    qputenv("KESTROVA_PDF", rangePdf.toLocal8Bit());
    dialogs_->PrintAnswers = {[](Dialogs::PrintRequest& r) { r.AllPages = false; r.FromPage = 2; r.ToPage = 3; r.Copies = 2; return true; }};
    main_->MenuPrintExClick();
    ASSERT_EQ(dialogs_->PrintRequests.size(), 1);
    EXPECT_EQ(dialogs_->PrintRequests[0].MinPage, 1);
    EXPECT_EQ(dialogs_->PrintRequests[0].MaxPage, all.size());
    // The dialog lists the printers (the real ones and "PDF") with the current one chosen.
    EXPECT_EQ(dialogs_->PrintRequests[0].Printers, Printer().Printers());
    EXPECT_EQ(dialogs_->PrintRequests[0].Printers.last(), u"PDF"_s);
    EXPECT_EQ(dialogs_->PrintRequests[0].PrinterIndex, Printer().PrinterIndex());
    EXPECT_EQ(PdfPages(rangePdf), QStringList({all[1], all[2], all[1], all[2]}));
    EXPECT_EQ(CountLog(u"Напечатан отчет: РЕГИОНЫ. Всего страниц: %1. Копий 2"_s.arg(all.size())), 1);

    // A cancelled print dialog prints and logs nothing more than the built job.
    main_->MenuPrintExClick();
    EXPECT_EQ(CountLog(u"Сформирован отчет РЕГИОНЫ"_s), 3);
    EXPECT_EQ(CountLog(u"Напечатан отчет"_s), 2);
}

// The widget the keyboard reaches once the windows have settled.
QWidget* Focus()
{
    QApplication::processEvents();
    return QApplication::focusWidget();
}

TEST_F(TableFormTest, TheGridHasTheKeysWhenTheWindowOpensComesForwardAndAfterF5)
{
    TfrmTableForm* regions = OpenRows(3);
    EXPECT_EQ(Focus(), regions->StringGrid1);
    // Enter edits the current row, Ins adds: typed, not called.
    QStringList shown;
    WhenDialog([&shown](TfrmEditForm& d) { shown << d.windowTitle() + u':' + d.Edit1->text(); Cancel(d); });
    TestSupport::TypeKey(Qt::Key_Return);
    main_->activateWindow();  // as the window manager does when the dialog is gone
    WhenDialog([&shown](TfrmEditForm& d) { shown << d.windowTitle() + u':' + d.Edit1->text(); Cancel(d); });
    TestSupport::TypeKey(Qt::Key_Insert);
    EXPECT_EQ(shown, QStringList({u"Регион:Регион Б"_s, u"Регион:Новая запись"_s}));

    // The districts window opens with its grid in focus; the regions window brought forward again has its own.
    WriteData(u"ksFederalParts.txt"_s, {u"1;Сибирский;Новосибирск;"_s});
    main_->N11Click();
    ASSERT_NE(frmTableForm1, nullptr);
    EXPECT_EQ(Focus(), frmTableForm1->StringGrid1);
    main_->RegionsExecute();
    EXPECT_EQ(Focus(), regions->StringGrid1);

    // Tab goes between the grid and the search box only.
    TestSupport::TypeKey(Qt::Key_Tab);
    EXPECT_EQ(Focus(), regions->Edit1);
    TestSupport::TypeKey(Qt::Key_Tab);
    EXPECT_EQ(Focus(), regions->StringGrid1);

    // F5 typed in the search box reads the file again and hands the keys back to the grid.
    regions->Edit1->setFocus();
    TestSupport::TypeKey(Qt::Key_F5);
    EXPECT_EQ(Focus(), regions->StringGrid1);
    // A click that activates the window on its search box leaves the focus there.
    regions->Edit1->setFocus();
    regions->FormActivate();
    EXPECT_EQ(Focus(), regions->Edit1);
}

// A mouse event of button at a point of the grid's viewport.
void Mouse(StringGrid* g, QEvent::Type type, Qt::MouseButton button, QPoint pos)
{
    QMouseEvent e(type, pos, g->viewport()->mapToGlobal(pos), button, button, Qt::NoModifier);
    QApplication::sendEvent(g->viewport(), &e);
}

TEST_F(TableFormTest, RightClickMakesTheRowUnderTheMouseCurrentBeforeThePopUpActs)
{
    TfrmTableForm* w = OpenRows(5);
    StringGrid* g = w->StringGrid1;
    const QPoint onRow4 = g->CellRect(1, 4).center();
    Mouse(g, QEvent::MouseButtonPress, Qt::RightButton, onRow4);
    QContextMenuEvent menu(QContextMenuEvent::Mouse, onRow4, g->viewport()->mapToGlobal(onRow4));
    QApplication::sendEvent(g->viewport(), &menu);
    Mouse(g, QEvent::MouseButtonRelease, Qt::RightButton, onRow4);
    EXPECT_TRUE(w->PopupMenu4->isVisible());
    EXPECT_EQ(g->Row(), 4);
    w->PopupMenu4->hide();
    QString edited;
    WhenDialog([&](TfrmEditForm& d) { edited = d.Edit1->text(); Cancel(d); });
    w->N3->trigger();
    EXPECT_EQ(edited, w->StringGrid1->Cell(1, 4));
    // A right click below the last row leaves the current row.
    Mouse(g, QEvent::MouseButtonPress, Qt::RightButton, QPoint(onRow4.x(), g->CellRect(1, 5).bottom() + 40));
    EXPECT_EQ(g->Row(), 4);
}

TEST_F(TableFormTest, DoubleClickEditsOnlyADataRow)
{
    TfrmTableForm* w = OpenRows(3);
    StringGrid* g = w->StringGrid1;
    int dialogs = 0;
    auto doubleClick = [&](QPoint at) {
        // Runs inside the dialog's loop when one opens, else right after the click.
        QTimer::singleShot(0, [&] {
            if (frmEditForm && frmEditForm->isVisible()) { ++dialogs; Cancel(*frmEditForm); }
        });
        Mouse(g, QEvent::MouseButtonDblClick, Qt::LeftButton, at);
        QCoreApplication::processEvents();
    };
    const int x = g->CellRect(1, 1).center().x();
    doubleClick(QPoint(x, g->CellRect(1, 3).bottom() + 30));  // below the last row
    doubleClick(QPoint(g->CellRect(7, 0).right() + 30, g->CellRect(1, 2).center().y()));  // right of the last column
    doubleClick(QPoint(x, g->CellRect(1, 0).center().y()));  // the heading
    EXPECT_EQ(dialogs, 0);
    doubleClick(g->CellRect(1, 2).center());
    EXPECT_EQ(dialogs, 1);
}

TEST_F(TableFormTest, DeleteAndTabInTheSearchBoxDoNotStartTheSearchAgain)
{
    TfrmTableForm* w = OpenRows(15);
    w->Edit1->setText(u"1"_s);
    w->SpeedButton2Click();
    ASSERT_EQ(w->StringGrid1->Row(), 1);
    // The keys as the X server hands them over, with their control characters as text.
    for (auto [key, text] : {std::pair{Qt::Key_Delete, u"\x7f"_s}, std::pair{Qt::Key_Tab, u"\t"_s}, std::pair{Qt::Key_Backtab, u"\t"_s}}) {
        QKeyEvent press(QEvent::KeyPress, key, key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier, text);
        QApplication::sendEvent(w->Edit1, &press);
        EXPECT_FALSE(w->SearchRestart) << int(key);
    }
    w->SpeedButton2Click();
    EXPECT_EQ(w->StringGrid1->Row(), 10);
    // A typed character still does.
    QKeyEvent typed(QEvent::KeyPress, Qt::Key_2, Qt::NoModifier, u"2"_s);
    QApplication::sendEvent(w->Edit1, &typed);
    EXPECT_TRUE(w->SearchRestart);
}


TEST_F(TableFormTest, ColumnWidthsThatCannotBeWrittenAreLoggedAndShown)
{
    TfrmTableForm* w = OpenOne();
    const QString ini = appDir_ + u"tvk.ini"_s;
    ASSERT_TRUE(QFile::remove(ini) && QDir().mkdir(ini));
    const int logged = CountLog(u"ОШИБКА! "_s);
    w->SaveUserSettings();
    ASSERT_EQ(dialogs_->Messages.size(), 1);
    EXPECT_EQ(dialogs_->Messages[0].Kind, Dialogs::Box::Error);
    const QString text = dialogs_->Messages[0].Text;
    EXPECT_TRUE(text.startsWith(u"Ошибка записи файла конфигурации.\n"_s) && text.contains(u"tvk.ini"_s))
        << text.toStdString();
    EXPECT_EQ(CountLog(u"ОШИБКА! "_s), logged + 1);
    QDir().rmdir(ini);
}


TEST_F(TableFormTest, TheSettingsDialogsOkWithoutAChangeKeepsThePrintoutsFont)
{
    OpenRows(3);
    const QString before = dir_.path() + u"/before.pdf"_s, after = dir_.path() + u"/after.pdf"_s;
    qputenv("KESTROVA_PDF", before.toLocal8Bit());
    main_->PrintExecute();
    const QStringList fonts = PdfFonts(before);
    ASSERT_FALSE(fonts.isEmpty());
    QString shown;
    QTimer::singleShot(0, [&shown] {
        ASSERT_NE(frmConnect, nullptr);
        shown = frmConnect->ComboBox2->currentText();
        frmConnect->Button1->click();
    });
    main_->N26Click();
    // The dialog shows the font the printouts use, and OK stores that one.
    EXPECT_EQ(shown, QFontInfo(main_->font()).family());
    EXPECT_EQ(TIniFile(appDir_ + u"tvk.ini"_s).ReadString(u"print"_s, u"fontname"_s, QString()), shown);
    qputenv("KESTROVA_PDF", after.toLocal8Bit());
    main_->PrintExecute();
    EXPECT_EQ(PdfFonts(after), fonts);
}

TEST_F(TableFormTest, TheOpenWindowFollowsTheSettingsDialogsOkAndNotItsCancel)
{
    TfrmTableForm* w = OpenRows(3);
    StringGrid* g = w->StringGrid1;
    const auto looks = [g] {
        return QList<QVariant>{g->RowHeight(1), g->HorizontalLines(), g->VerticalLines(), g->Color()};
    };
    const QList<QVariant> before = looks();
    ASSERT_EQ(before, (QList<QVariant>{20, false, true, ColorToQColor(16316664)}));
    for (bool ok : {false, true}) {
        QTimer::singleShot(0, [ok] {
            ASSERT_NE(frmConnect, nullptr);
            frmConnect->SpinEdit2->SetValue(33);
            frmConnect->CheckBox4->toggle();
            frmConnect->CheckBox3->toggle();
            frmConnect->ColorBoxes[4]->SetSelected(0x808000);
            (ok ? frmConnect->Button1 : frmConnect->Button2)->click();
        });
        main_->N26Click();
        const QList<QVariant> changed{33, true, false, ColorToQColor(0x808000)};
        EXPECT_EQ(looks(), ok ? changed : before) << ok;
    }
}

TEST_F(TableFormTest, F5AfterAFailedSaveSavesFirstAndWhileThatFailsKeepsTheChange)
{
    TfrmTableForm* w = OpenOne();
    const QString moved = BlockDatabase();
    ASSERT_FALSE(moved.isEmpty());
    Change(w, [](TfrmEditForm& d) { d.Edit1->setText(u"Горный Алтай"_s); Ok(d); });
    ASSERT_EQ(dialogs_->Count(Dialogs::Box::Error), 1);

    // F5 tries the save again, says why it failed, and reads nothing over the change.
    Key(w->StringGrid1, Qt::Key_F5);
    EXPECT_EQ(dialogs_->Count(Dialogs::Box::Error), 2);
    EXPECT_TRUE(w->RegionList->Modified);
    EXPECT_EQ(w->StringGrid1->Cell(1, 1), u"Горный Алтай"_s);

    // Once the folder takes it, F5 saves the change, then reads the file.
    ASSERT_TRUE(UnblockDatabase(moved));
    Key(w->StringGrid1, Qt::Key_F5);
    EXPECT_EQ(ReadRegions(), QStringList{u"1;Горный Алтай;;;;;;"_s});
    EXPECT_FALSE(w->RegionList->Modified);
    EXPECT_EQ(w->StringGrid1->Cell(1, 1), u"Горный Алтай"_s);
    EXPECT_EQ(dialogs_->Count(Dialogs::Box::Error), 2);
}

TEST_F(TableFormTest, AChangeIsWrittenToTheFileTheWindowReadWhateverTheSettingsNameSince)
{
    // The settings dialog reads tvk.ini afresh even when cancelled: the folder in force may
    // change under an open window, which still writes only the file it read.
    TfrmTableForm* w = OpenOne();
    const QString other = OtherDatabase({{u"ksRegions.txt"_s, {u"5;Коми;;;;;;"_s}}});
    const QByteArray otherBefore = TestSupport::ReadBytes(other + u"/ksRegions.txt"_s);
    AppConfig->DBPath = other;
    Add(w, Ok);
    EXPECT_EQ(ReadRegions(), QStringList({u"1;Алтай;;;;;;"_s, u"2;Новая запись;;;;;;"_s}));
    EXPECT_EQ(TestSupport::ReadBytes(other + u"/ksRegions.txt"_s), otherBefore);
}

}  // namespace
