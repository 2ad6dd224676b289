// What the printing tests share: print settings in a temporary program directory, the PDF
// printer writing to a temporary file, reading printed PDFs back with poppler, and painting
// on white images.
#pragma once

#include "DatabaseFixture.h"
#include "GridPrintJob.h"
#include "MetaPages.h"
#include "Printer.h"
#include "StringGrid.h"

#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <functional>

// A white image of the given size and resolution with what draw paints on it.
inline QImage Painted(QSize size, const std::function<void(QPainter&)>& draw, int dpi = 96)
{
    QImage image(size, QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(image.dotsPerMeterX());
    image.fill(Qt::white);
    QPainter painter(&image);
    draw(painter);
    painter.end();
    return image;
}

class PrintingTest : public DatabaseFixture {
protected:
    void SetUp() override
    {
        DatabaseFixture::SetUp();
        TAppConfig& c = *AppConfig;
        c.FontName = QStringLiteral("DejaVu Sans");
        c.Scale = 100; c.BoldLine = 2; c.RegLine = 1;
        c.PrintPageNum = c.PrintSubtitle = c.WordWrap = true;
        c.LeftMargin = c.TopMargin = c.BottomMargin = 100;
        TPrinter& p = Printer();
        p.SetPrinterIndex(int(p.Printers().size()) - 1);  // "PDF"
        p.SetPaperSize(DMPAPER_A4);
        p.SetOrientation(DMORIENT_PORTRAIT);
        SetPdfFile("out.pdf");
    }
    void TearDown() override
    {
        GridPrintJob::Free();
        qunsetenv("KESTROVA_PDF");
        DatabaseFixture::TearDown();
    }

    QString Path(const QString& name) const { return dir_.filePath(name); }
    void SetPdfFile(const QString& name) const { qputenv("KESTROVA_PDF", Path(name).toLocal8Bit()); }

    // Title, subtitle, lines 3 and 4, the printer document's title.
    static inline const GridPrintJob::Options kJob{
        QStringLiteral("РЕГИОНЫ"), QStringLiteral("Дата распечатки 01.02.2024 10:11:12"), QStringLiteral("Третья строка"),
        QStringLiteral("Четвертая строка"), QStringLiteral("Кестрова")};
    // Lays out the job of a grid (kept in grid) with a heading row "№", "Имя" and body rows
    // "1", "r0001x" ...; returns the page count.
    int BuildJob(int bodyRows, const GridPrintJob::Options& options = kJob)
    {
        grid = std::make_unique<StringGrid>();
        grid->SetColCount(2);
        grid->SetRowCount(bodyRows + 1);
        grid->SetFixedRows(1);
        grid->SetColWidth(0, 40); grid->SetColWidth(1, 200);
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
    // The text of a file in the temporary directory, and of each of its pages (each ends in a form feed).
    QString PdfText(const QString& file) const { return Run(QStringLiteral("pdftotext"), {"-layout", Path(file), "-"}); }
    QStringList PdfPageTexts(const QString& file) const { return PdfText(file).split(QLatin1Char('\f')).mid(0, PdfPages(file)); }
    int PdfPages(const QString& file) const
    {
        return QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(Run(QStringLiteral("pdfinfo"), {Path(file)})).captured(1).toInt();
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
