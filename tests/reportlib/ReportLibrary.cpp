// What the report library's tests share: the library loaded with dlopen, a hand-off folder
// with a picture and 00Korvel.tmp, and readers of the printed PDF.
#include "ReportLibrary.h"

#include "Printer.h"
#include "TestSupport.h"

#include <QDir>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <dlfcn.h>

namespace ReportLibrary {

QByteArray RunTool(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0) return {};
    return process.readAllStandardOutput();
}

int PdfPages(const QString& pdf, QSizeF* size)
{
    const QString info = QString::fromUtf8(RunTool(QStringLiteral("pdfinfo"), {pdf}));
    const auto m = QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+) pts")).match(info);
    if (size && m.hasMatch()) *size = QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble());
    const auto pages = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
    return pages.hasMatch() ? pages.captured(1).toInt() : -1;
}

QString PdfText(const QString& pdf)
{
    return QString::fromUtf8(RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf,
                                                                     QStringLiteral("-")}));
}

QImage PdfPageImage(const QString& pdf, int page, int dpi)
{
    const QString prefix = pdf + QStringLiteral("-page%1").arg(page), n = QString::number(page);
    RunTool(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"), QString::number(dpi),
                                         QStringLiteral("-f"), n, QStringLiteral("-l"), n,
                                         QStringLiteral("-singlefile"), pdf, prefix});
    return QImage(prefix + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
}

QRect ColourBounds(const QImage& image, QColor colour)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (qAbs(qRed(p) - colour.red()) <= 60 && qAbs(qGreen(p) - colour.green()) <= 60 &&
                qAbs(qBlue(p) - colour.blue()) <= 60)
                bounds |= QRect(x, y, 1, 1);
        }
    return bounds;
}

ReportTest::ReportTest()
{
    static void* library = dlopen(KESTROVA_BINARY_DIR "/libRalvik.so", RTLD_NOW | RTLD_LOCAL);
    if (!library) ADD_FAILURE() << dlerror();
    PrintReport = library ? reinterpret_cast<TPrintReportFn>(dlsym(library, "PrintReport")) : nullptr;
    qputenv("TEMP", QFile::encodeName(Dir.path()));
    qputenv("KESTROVA_PDF", QFile::encodeName(File(QStringLiteral("report.pdf"))));

    QImage picture(PictureSize, QImage::Format_RGB32);
    picture.fill(Red);
    QPainter(&picture).fillRect(GreenBlock, Green);
    picture.save(File(QStringLiteral("00RepGraph.bmp")), "BMP");
    WriteHandOff({File(QStringLiteral("00RepGraph.bmp")), Caption});

    Prop.PaperSize = DMPAPER_A4;
    Prop.Orientation = DMORIENT_PORTRAIT;
    Prop.PrinterIndex = Printer().Printers().indexOf(QStringLiteral("PDF"));
}

ReportTest::~ReportTest()
{
    qunsetenv("KESTROVA_PDF");
    qunsetenv("TEMP");
}

void ReportTest::WriteHandOff(const QStringList& lines)
{
    TestSupport::WriteAnsiLines(File(QStringLiteral("00Korvel.tmp")), lines);
}

QStringList ReportTest::PdfFiles() const
{
    QStringList files;
    for (const QString& name : QDir(Dir.path()).entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Name))
        files << File(name);
    return files;
}

}  // namespace ReportLibrary
