// The family's commands on the regions window: search, copy, export, print and the main
// window's routing.
#include "TablesFixture.h"

#include "AnsiCodec.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QProcess>

namespace {

class TableFormTest : public TablesFixture {
protected:
    void TearDown() override
    {
        qunsetenv("KESTROVA_PDF");
        TablesFixture::TearDown();
    }
    TfrmTableForm* OpenRows(int count, const QStringList& ini = {})
    {
        QStringList lines;
        for (int i = 1; i <= count; ++i) lines << QStringLiteral("%1;Регион %2;Город;;;;;").arg(i).arg(QChar(0x0410 + i % 32));
        WriteRegions(lines);
        return Open(ini);
    }
    // The text of each page of a PDF.
    static QStringList PdfPages(const QString& pdf)
    {
        QProcess p;
        p.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        p.waitForFinished(30000);
        QStringList pages = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\f'));
        pages.removeLast();  // the empty rest after the last page's form feed
        return pages;
    }
};

TEST_F(TableFormTest, SearchFindsRowNumbersCaseAndSeparatorsStopsAtTheEndAndStartsAgain)
{
    TfrmTableForm* w = OpenRows(15);
    w->Edit1->setText(QStringLiteral("12"));
    w->SpeedButton2Click();
    EXPECT_EQ(w->StringGrid1->Row(), 12);
    EXPECT_TRUE(dialogs_->Messages.isEmpty());
    w->SpeedButton2Click();
    EXPECT_EQ(dialogs_->Texts(), QStringList{QStringLiteral("Достигнут конец списка.")});
    EXPECT_EQ(dialogs_->Count(Dialogs::Box::Information), 1);
    w->StringGrid1->SetRow(3);
    w->SpeedButton2Click();
    EXPECT_EQ(w->StringGrid1->Row(), 12);

    // Enter in the search box searches and selects the text; typing starts again at row 1.
    w->Edit1->setText(QStringLiteral("1"));
    Key(w->Edit1, Qt::Key_Backspace);
    w->Edit1->setText(QStringLiteral("1"));
    Key(w->Edit1, Qt::Key_Return);
    EXPECT_EQ(w->StringGrid1->Row(), 1);
    EXPECT_EQ(w->Edit1->selectedText(), QStringLiteral("1"));
    Key(w->Edit1, Qt::Key_Down);
    EXPECT_EQ(w->StringGrid1->Row(), 2);

    // Upper-case Cyrillic is found in lower case; thousand separators in cells are skipped.
    WriteRegions({QStringLiteral("1;АЛТАЙ;;;;;;"), QStringLiteral("2;КОМИ;;1 234;;;;")});
    Key(w->StringGrid1, Qt::Key_F5);
    Regional::Settings s = Regional::Neutral();
    s.ThousandSeparator = QLatin1Char(' ');
    Regional::Set(s);
    for (const QString& text : {QStringLiteral("коми"), QStringLiteral("1234")}) {
        w->SearchRestart = true;
        w->Edit1->setText(text);
        w->SpeedButton2Click();
        EXPECT_EQ(w->StringGrid1->Row(), 2) << text.toStdString();
    }
    EXPECT_EQ(dialogs_->Messages.size(), 1);
}

TEST_F(TableFormTest, ClipboardExportAndActivationOfTheSharedCommands)
{
    WriteRegions({QStringLiteral("4;Алтай;Горно-Алтайск;1;2;АЛ;AL;01"), QStringLiteral("9;Коми;Сыктывкар;;;;;")});
    TfrmTableForm* w = Open();
    const QString rest = QStringLiteral("\tНаименование\tСтолица\tКод МВД\tКод МСХ\tКод букв.\tКод лат.\tКод цифр.-букв.");
    const QString rows = QStringLiteral("\tАлтай\tГорно-Алтайск\t1\t2\tАЛ\tAL\t01\r\n%1\tКоми\tСыктывкар\t\t\t\t\t\r\n");
    main_->CopyToClipBoardExecute();  // through the main window's routing
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              QStringLiteral("\"№\"") + rest + QStringLiteral("\r\n\"1\"") + rows.arg(QStringLiteral("\"2\"")));
    EXPECT_EQ(dialogs_->Texts(), QStringList{QStringLiteral("Данные скопированы в буфер обмена.")});
    EXPECT_EQ(CountLog(QStringLiteral("Данные скопированы в буфер обмена: Регионы")), 1);

    // A cancelled save dialog writes and logs nothing.
    const QString out = dir_.path() + QStringLiteral("/out.txt");
    dialogs_->FileAnswers = {QString(), out};
    main_->ExportToFileExecute();
    EXPECT_FALSE(QFile::exists(out));
    EXPECT_EQ(CountLog(QStringLiteral("Данные сохранены во внешний файл")), 0);
    ASSERT_EQ(dialogs_->FileRequests.size(), 1);
    EXPECT_EQ(dialogs_->FileRequests[0].Filter, QStringLiteral("Текстовый файл (*.txt)|*.txt"));
    EXPECT_EQ(dialogs_->FileRequests[0].DefaultExt, QStringLiteral("txt"));

    main_->ExportToFileExecute();
    EXPECT_EQ(TestSupport::ReadBytes(out),
              AnsiCodec::Encode(QStringLiteral("№") + rest + QStringLiteral("\r\n1") + rows.arg(QStringLiteral("2"))));
    EXPECT_EQ(CountLog(QStringLiteral("Данные сохранены во внешний файл: Регионы. Имя файла: ") + out), 1);

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
    const QString pdf = dir_.path() + QStringLiteral("/small.pdf");
    qputenv("KESTROVA_PDF", pdf.toLocal8Bit());
    main_->PrintExecute();  // through the main window's routing
    const QStringList pages = PdfPages(pdf);
    ASSERT_EQ(pages.size(), 1);
    EXPECT_TRUE(pages[0].contains(QStringLiteral("Дата распечатки ")));
    EXPECT_TRUE(pages[0].contains(QStringLiteral("Город")));
    EXPECT_EQ(CountLog(QStringLiteral("Сформирован отчет РЕГИОНЫ")), 1);
    EXPECT_EQ(CountLog(QStringLiteral("Напечатан отчет: РЕГИОНЫ. Всего страниц: 1. Копий 1")), 1);
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {pdf});
    info.waitForFinished(30000);
    EXPECT_TRUE(QString::fromUtf8(info.readAllStandardOutput()).contains(QStringLiteral("Кестрова")));
}

TEST_F(TableFormTest, PrintAndPrintDialogRangeAndCopiesPrintTheRightPagesInOrder)
{
    TfrmTableForm* w = OpenRows(400, {QStringLiteral("[print]"), QStringLiteral("printsubtitle=0")});
    const QString allPdf = dir_.path() + QStringLiteral("/all.pdf");
    qputenv("KESTROVA_PDF", allPdf.toLocal8Bit());
    w->Print(1);
    const QStringList all = PdfPages(allPdf);
    ASSERT_GE(all.size(), 3);
    EXPECT_TRUE(all[0].contains(QStringLiteral("РЕГИОНЫ")));
    EXPECT_NE(all[1], all[2]);
    EXPECT_EQ(CountLog(QStringLiteral("Сформирован отчет РЕГИОНЫ")), 1);
    EXPECT_EQ(CountLog(QStringLiteral("Напечатан отчет: РЕГИОНЫ. Всего страниц: %1. Копий 1").arg(all.size())), 1);

    const QString rangePdf = dir_.path() + QStringLiteral("/range.pdf");
    qputenv("KESTROVA_PDF", rangePdf.toLocal8Bit());
    dialogs_->PrintAnswers = {[](Dialogs::PrintRequest& r) {
        r.AllPages = false;
        r.FromPage = 2;
        r.ToPage = 3;
        r.Copies = 2;
        return true;
    }};
    main_->MenuPrintExClick();
    ASSERT_EQ(dialogs_->PrintRequests.size(), 1);
    EXPECT_EQ(dialogs_->PrintRequests[0].MinPage, 1);
    EXPECT_EQ(dialogs_->PrintRequests[0].MaxPage, all.size());
    EXPECT_EQ(PdfPages(rangePdf), QStringList({all[1], all[2], all[1], all[2]}));
    EXPECT_EQ(CountLog(QStringLiteral("Напечатан отчет: РЕГИОНЫ. Всего страниц: %1. Копий 2").arg(all.size())), 1);

    // A cancelled print dialog prints and logs nothing more than the built job.
    main_->MenuPrintExClick();
    EXPECT_EQ(CountLog(QStringLiteral("Сформирован отчет РЕГИОНЫ")), 3);
    EXPECT_EQ(CountLog(QStringLiteral("Напечатан отчет")), 2);
}

}  // namespace
