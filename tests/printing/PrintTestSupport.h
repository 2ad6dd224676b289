// What the printing tests share: print settings in a temporary program directory, the PDF
// printer writing to a temporary file, and reading printed PDFs back with poppler.
#pragma once

#include "DatabaseFixture.h"
#include "GridPrintJob.h"
#include "MetaPages.h"
#include "Printer.h"
#include "StringGrid.h"

#include <QProcess>
#include <QRegularExpression>

class PrintingTest : public DatabaseFixture {
protected:
    void SetUp() override
    {
        DatabaseFixture::SetUp();
        TAppConfig& c = *AppConfig;
        c.FontName = QStringLiteral("DejaVu Sans");
        c.Scale = 100;
        c.BoldLine = 2;
        c.RegLine = 1;
        c.PrintPageNum = c.PrintSubtitle = c.WordWrap = true;
        c.LeftMargin = c.TopMargin = c.BottomMargin = 100;
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
        DatabaseFixture::TearDown();
    }

    QString Path(const QString& name) const { return dir_.filePath(name); }

    static GridPrintJob::Options JobOptions()
    {
        GridPrintJob::Options o;
        o.Title = QStringLiteral("РЕГИОНЫ");
        o.Subtitle = QStringLiteral("Дата распечатки 01.02.2024 10:11:12");
        o.DocumentTitle = QStringLiteral("Кестрова");
        return o;
    }
    // Lays out the job of a grid (kept in grid) with a heading row "№", "Имя" and body rows
    // "1", "r0001x" ...; returns the page count.
    int BuildJob(int bodyRows, const GridPrintJob::Options& options = JobOptions())
    {
        grid = std::make_unique<StringGrid>();
        grid->resize(400, 300);
        grid->SetColCount(2);
        grid->SetRowCount(bodyRows + 1);
        grid->SetFixedRows(1);
        grid->SetColWidth(0, 40);
        grid->SetColWidth(1, 200);
        for (int r = 0; r <= bodyRows; ++r) {
            grid->SetCell(0, r, r ? QString::number(r) : QStringLiteral("№"));
            grid->SetCell(1, r, r ? QStringLiteral("r%1x").arg(r, 4, 10, QLatin1Char('0')) : QStringLiteral("Имя"));
        }
        return GridPrintJob::Build(*grid, options);
    }

    static QString Run(const QString& program, const QStringList& args)
    {
        QProcess p;
        p.start(program, args);
        p.waitForFinished(60000);
        return QString::fromUtf8(p.readAllStandardOutput());
    }
    // Text of one page (1-based), or of the whole file with page 0, of a file in the temporary directory.
    QString PdfText(const QString& file, int page = 0) const
    {
        const QString n = QString::number(page);
        const QStringList pages = page ? QStringList{"-f", n, "-l", n} : QStringList{};
        return Run(QStringLiteral("pdftotext"), QStringList{"-layout"} + pages + QStringList{Path(file), "-"});
    }
    int PdfPages(const QString& file) const
    {
        const auto m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(Run(QStringLiteral("pdfinfo"), {Path(file)}));
        return m.hasMatch() ? m.captured(1).toInt() : -1;
    }
    // The messages of the log: the second field of each line.
    QStringList LogMessages() const
    {
        QStringList out;
        for (const QString& line : LogLines()) out << line.section(QStringLiteral(", "), 1, 1);
        return out;
    }

    std::unique_ptr<StringGrid> grid;
};
