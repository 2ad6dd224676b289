// The family's commands on the regions window: delete, search, copy, export, print and the
// main window's routing.
#include "TablesFixture.h"

#include "AnsiCodec.h"
#include "Regional.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProcess>

namespace {

class TableFormTest : public TablesFixture {
protected:
    void TearDown() override
    {
        qunsetenv("KESTROVA_PDF");
        Regional::Set(Regional::Neutral());
        TablesFixture::TearDown();
    }
    TfrmTableForm* OpenRows(int count)
    {
        QStringList lines;
        for (int i = 1; i <= count; ++i) lines << QStringLiteral("%1;Регион %2;Город;;;;;").arg(i).arg(QChar(0x0410 + i % 32));
        WriteRegions(lines);
        return Open();
    }
    static int PdfPages(const QString& pdf)
    {
        QProcess p;
        p.start(QStringLiteral("pdfinfo"), {pdf});
        p.waitForFinished(30000);
        for (const QString& line : QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n')))
            if (line.startsWith(QStringLiteral("Pages:"))) return line.mid(6).trimmed().toInt();
        return -1;
    }
    static QString PdfPageText(const QString& pdf, int page)
    {
        QProcess p;
        p.start(QStringLiteral("pdftotext"),
                {QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"), QString::number(page), pdf,
                 QStringLiteral("-")});
        p.waitForFinished(30000);
        return QString::fromUtf8(p.readAllStandardOutput());
    }
};

TEST_F(TableFormTest, DeleteAsksAndRemovesOnlyOnYes)
{
    WriteRegions({QStringLiteral("1;Алтай;;;;;;"), QStringLiteral("2;Коми;;;;;;"), QStringLiteral("3;Тыва;;;;;;")});
    TfrmTableForm* w = Open();
    w->StringGrid1->SetRow(2);
    dialogs_->ConfirmAnswers = {false, true};
    w->Button3Click();
    ASSERT_EQ(dialogs_->Messages.size(), 1);
    EXPECT_EQ(dialogs_->Messages[0].Text, QStringLiteral("Запись будет удалена.\nПодтвердите ваши намерения?"));
    EXPECT_EQ(ReadRegions().size(), 3);
    w->Button3Click();
    EXPECT_EQ(ReadRegions(), QStringList({QStringLiteral("1;Алтай;;;;;;"), QStringLiteral("3;Тыва;;;;;;")}));
    EXPECT_EQ(w->StringGrid1->Cell(0, 2), QStringLiteral("2"));
    EXPECT_EQ(w->StringGrid1->Cell(1, 2), QStringLiteral("Тыва"));
}

TEST_F(TableFormTest, SearchFindsRowNumbersStopsAtTheEndAndStartsAgain)
{
    TfrmTableForm* w = OpenRows(15);
    w->Edit1->setText(QStringLiteral("12"));
    w->SpeedButton2Click();
    EXPECT_EQ(w->StringGrid1->Row(), 12);
    EXPECT_TRUE(dialogs_->Messages.isEmpty());
    w->SpeedButton2Click();
    ASSERT_EQ(dialogs_->Messages.size(), 1);
    EXPECT_EQ(dialogs_->Messages[0].Kind, Dialogs::Box::Information);
    EXPECT_EQ(dialogs_->Messages[0].Text, QStringLiteral("Достигнут конец списка."));
    w->StringGrid1->SetRow(3);
    w->SpeedButton2Click();
    EXPECT_EQ(w->StringGrid1->Row(), 12);

    // Enter in the search box searches and selects the text; typing starts again at row 1.
    w->Edit1->setText(QStringLiteral("1"));
    QKeyEvent typed(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
    QApplication::sendEvent(w->Edit1, &typed);
    w->Edit1->setText(QStringLiteral("1"));
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(w->Edit1, &enter);
    EXPECT_EQ(w->StringGrid1->Row(), 1);
    EXPECT_EQ(w->Edit1->selectedText(), QStringLiteral("1"));
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(w->Edit1, &down);
    EXPECT_EQ(w->StringGrid1->Row(), 2);
}

TEST_F(TableFormTest, SearchIgnoresCaseAndThousandSeparators)
{
    WriteRegions({QStringLiteral("1;АЛТАЙ;;;;;;"), QStringLiteral("2;КОМИ;;1 234;;;;")});
    TfrmTableForm* w = Open();
    w->Edit1->setText(QStringLiteral("коми"));
    w->SpeedButton2Click();
    EXPECT_EQ(w->StringGrid1->Row(), 2);
    Regional::Settings s = Regional::Neutral();
    s.ThousandSeparator = QLatin1Char(' ');
    Regional::Set(s);
    w->SearchRestart = true;
    w->Edit1->setText(QStringLiteral("1234"));
    w->SpeedButton2Click();
    EXPECT_EQ(w->StringGrid1->Row(), 2);
    EXPECT_TRUE(dialogs_->Messages.isEmpty());
}

TEST_F(TableFormTest, ClipboardAndExportTextOfTheGrid)
{
    WriteRegions({QStringLiteral("4;Алтай;Горно-Алтайск;1;2;АЛ;AL;01"), QStringLiteral("9;Коми;Сыктывкар;;;;;")});
    ASSERT_NE(Open(), nullptr);
    const QString rest = QStringLiteral("\tНаименование\tСтолица\tКод МВД\tКод МСХ\tКод букв.\tКод лат.\tКод цифр.-букв.");
    main_->CopyToClipBoardExecute();  // through the main window's routing
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              QStringLiteral("\"№\"") + rest + QStringLiteral("\r\n\"1\"\tАлтай\tГорно-Алтайск\t1\t2\tАЛ\tAL\t01\r\n") +
                  QStringLiteral("\"2\"\tКоми\tСыктывкар\t\t\t\t\t\r\n"));
    ASSERT_EQ(dialogs_->Messages.size(), 1);
    EXPECT_EQ(dialogs_->Messages[0].Text, QStringLiteral("Данные скопированы в буфер обмена."));
    EXPECT_EQ(CountLog(QStringLiteral("Данные скопированы в буфер обмена: Регионы")), 1);

    const QString out = dir_.path() + QStringLiteral("/out.txt");
    dialogs_->FileAnswers = {QString()};
    main_->ExportToFileExecute();
    EXPECT_FALSE(QFile::exists(out));
    EXPECT_EQ(CountLog(QStringLiteral("Данные сохранены во внешний файл")), 0);
    ASSERT_EQ(dialogs_->FileRequests.size(), 1);
    EXPECT_EQ(dialogs_->FileRequests[0].Filter, QStringLiteral("Текстовый файл (*.txt)|*.txt"));
    EXPECT_EQ(dialogs_->FileRequests[0].DefaultExt, QStringLiteral("txt"));

    dialogs_->FileAnswers = {out};
    main_->ExportToFileExecute();
    EXPECT_EQ(TestSupport::ReadBytes(out),
              AnsiCodec::Encode(QStringLiteral("№") + rest + QStringLiteral("\r\n1\tАлтай\tГорно-Алтайск\t1\t2\tАЛ\tAL\t01\r\n") +
                                QStringLiteral("2\tКоми\tСыктывкар\t\t\t\t\t\r\n")));
    EXPECT_EQ(CountLog(QStringLiteral("Данные сохранены во внешний файл: Регионы. Имя файла: ") + out), 1);
}

TEST_F(TableFormTest, PrintOfASmallTableGivesOnePageAndTwoLogLines)
{
    WriteIni({QStringLiteral("[print]"), QStringLiteral("printsubtitle=0")});
    ASSERT_NE(OpenRows(3), nullptr);
    const QString pdf = dir_.path() + QStringLiteral("/print.pdf");
    qputenv("KESTROVA_PDF", pdf.toLocal8Bit());
    main_->PrintExecute();
    EXPECT_EQ(PdfPages(pdf), 1);
    EXPECT_TRUE(PdfPageText(pdf, 1).contains(QStringLiteral("РЕГИОНЫ")));
    EXPECT_EQ(CountLog(QStringLiteral("Сформирован отчет РЕГИОНЫ")), 1);
    EXPECT_EQ(CountLog(QStringLiteral("Напечатан отчет: РЕГИОНЫ. Всего страниц: 1. Копий 1")), 1);
}

TEST_F(TableFormTest, PrintDialogRangeAndCopiesPrintTheRightPagesInOrder)
{
    WriteIni({QStringLiteral("[print]"), QStringLiteral("printsubtitle=0")});
    TfrmTableForm* w = OpenRows(400);
    const QString all = dir_.path() + QStringLiteral("/all.pdf");
    qputenv("KESTROVA_PDF", all.toLocal8Bit());
    w->Print(1);
    const int pages = PdfPages(all);
    ASSERT_GE(pages, 3);

    const QString range = dir_.path() + QStringLiteral("/range.pdf");
    qputenv("KESTROVA_PDF", range.toLocal8Bit());
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
    EXPECT_EQ(dialogs_->PrintRequests[0].MaxPage, pages);
    ASSERT_EQ(PdfPages(range), 4);
    const QString page2 = PdfPageText(all, 2);
    const QString page3 = PdfPageText(all, 3);
    EXPECT_NE(page2, page3);
    EXPECT_EQ(PdfPageText(range, 1), page2);
    EXPECT_EQ(PdfPageText(range, 2), page3);
    EXPECT_EQ(PdfPageText(range, 3), page2);
    EXPECT_EQ(PdfPageText(range, 4), page3);
    EXPECT_EQ(CountLog(QStringLiteral("Напечатан отчет: РЕГИОНЫ. Всего страниц: %1. Копий 2").arg(pages)), 1);

    // A cancelled print dialog prints and logs nothing more than the built job.
    main_->MenuPrintExClick();
    EXPECT_EQ(CountLog(QStringLiteral("Сформирован отчет РЕГИОНЫ")), 3);
    EXPECT_EQ(CountLog(QStringLiteral("Напечатан отчет")), 2);
}

TEST_F(TableFormTest, ActivationRoutesTheSharedCommandsToTheWindow)
{
    WriteRegions({QStringLiteral("1;Алтай;;;;;;")});
    TfrmTableForm* w = Open();
    EXPECT_EQ(main_->ActiveDocument(), w);
    EXPECT_EQ(main_->WhatToDo->CopyToClipBoard, int(wkRegions));
    EXPECT_EQ(main_->WhatToDo->ExportToFile, int(wkRegions));
    EXPECT_TRUE(main_->MenuPrintEx->isEnabled());
    w->FormDeactivate();
    EXPECT_FALSE(main_->CopyToClipBoard->isEnabled());
    w->FormActivate();
    EXPECT_TRUE(main_->CopyToClipBoard->isEnabled());
    // Opening again only brings the window forward.
    main_->RegionsExecute();
    EXPECT_EQ(frmTableForm, w);
}

}  // namespace
