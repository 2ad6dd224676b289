// The family's commands on the regions window: search, copy, export, print and the main
// window's routing.
#include "TablesFixture.h"

#include "AnsiCodec.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QProcess>

namespace {

using TableFormTest = TablesFixture;

QString Output(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
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
    EXPECT_EQ(PdfPages(rangePdf), QStringList({all[1], all[2], all[1], all[2]}));
    EXPECT_EQ(CountLog(u"Напечатан отчет: РЕГИОНЫ. Всего страниц: %1. Копий 2"_s.arg(all.size())), 1);

    // A cancelled print dialog prints and logs nothing more than the built job.
    main_->MenuPrintExClick();
    EXPECT_EQ(CountLog(u"Сформирован отчет РЕГИОНЫ"_s), 3);
    EXPECT_EQ(CountLog(u"Напечатан отчет"_s), 2);
}

}  // namespace
