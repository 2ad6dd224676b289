// What the printing tests share: settings in a temporary program directory, the PDF printer
// writing to a temporary file, scripted dialogs, and reading printed PDFs back with poppler.
#pragma once

#include "AppConfig.h"
#include "Dialogs.h"
#include "GridPrintJob.h"
#include "Printer.h"
#include "StringGrid.h"
#include "TestSupport.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

class PrintingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        TAppConfig& c = EnsureAppConfig();
        c = TAppConfig();
        c.AppDir = dir.path() + QStringLiteral("/");
        c.FontName = QStringLiteral("DejaVu Sans");
        c.Scale = 100;
        c.BoldLine = 2;
        c.RegLine = 1;
        c.PrintPageNum = true;
        c.PrintSubtitle = true;
        c.WordWrap = true;
        c.LeftMargin = 100;
        c.TopMargin = 100;
        c.BottomMargin = 100;
        dialogs = std::make_unique<Dialogs::ScriptedHandler>();
        TPrinter& p = Printer();
        p.SetPrinterIndex(int(p.Printers().size()) - 1);  // "PDF"
        p.SetPaperSize(DMPAPER_A4);
        p.SetOrientation(DMORIENT_PORTRAIT);
        qputenv("KESTROVA_PDF", Path(QStringLiteral("out.pdf")).toLocal8Bit());
    }

    void TearDown() override
    {
        GridPrintJob::Free();
        qunsetenv("KESTROVA_PDF");
        dialogs.reset();
    }

    QString Path(const QString& name) const { return dir.filePath(name); }

    // A grid with a heading row "№", "Имя" and body rows "1", "r0001x" ...
    std::unique_ptr<StringGrid> MakeGrid(int bodyRows)
    {
        auto grid = std::make_unique<StringGrid>();
        grid->resize(400, 300);
        grid->SetColCount(2);
        grid->SetRowCount(bodyRows + 1);
        grid->SetFixedRows(1);
        grid->SetColWidth(0, 40);
        grid->SetColWidth(1, 200);
        grid->SetCell(0, 0, QStringLiteral("№"));
        grid->SetCell(1, 0, QStringLiteral("Имя"));
        for (int r = 1; r <= bodyRows; ++r) {
            grid->SetCell(0, r, QString::number(r));
            grid->SetCell(1, r, QStringLiteral("r%1x").arg(r, 4, 10, QLatin1Char('0')));
        }
        return grid;
    }

    static QString Run(const QString& program, const QStringList& args)
    {
        QProcess p;
        p.start(program, args);
        p.waitForFinished(60000);
        return QString::fromUtf8(p.readAllStandardOutput());
    }

    // Text of one page (1-based), or of the whole file with page 0.
    static QString PdfText(const QString& file, int page = 0)
    {
        QStringList args{QStringLiteral("-layout")};
        if (page > 0) args << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l") << QString::number(page);
        args << file << QStringLiteral("-");
        return Run(QStringLiteral("pdftotext"), args);
    }

    static int PdfPages(const QString& file)
    {
        const auto m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)"))
                           .match(Run(QStringLiteral("pdfinfo"), {file}));
        return m.hasMatch() ? m.captured(1).toInt() : -1;
    }

    QStringList LogMessages() const
    {
        // The message is the second field of a log line.
        QStringList out;
        for (const QString& line : TestSupport::ReadAnsiLines(dir.filePath(QStringLiteral("tvk.log"))))
            out << line.section(QStringLiteral(", "), 1, 1);
        return out;
    }

    QTemporaryDir dir;
    std::unique_ptr<Dialogs::ScriptedHandler> dialogs;
};
