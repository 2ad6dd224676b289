// The current printer object over QPrinter: the CUPS printers and the "PDF" printer.
#include "Printer.h"

#include "Dialogs.h"
#include "Exceptions.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPicture>
#include <QPrinter>
#include <QPrinterInfo>

namespace {

const QString PdfName = QStringLiteral("PDF");
constexpr int PdfResolution = 600;

// Windows paper codes through Qt's own table of them: every size Qt knows round-trips.
QPageSize::PageSizeId PageSizeOf(int code)
{
    return code > 0 ? QPageSize::id(code) : QPageSize::Custom;
}

int CodeOf(QPageSize::PageSizeId id)
{
    return id == QPageSize::Custom ? 0 : QPageSize::windowsId(id);
}

// The whole sheet, and the part of it the printer can mark, in device pixels.
QRect FullRect(const QPrinter& p)
{
    return p.pageLayout().fullRectPixels(p.resolution());
}

QRect PaintRect(const QPrinter& p)
{
    return p.pageLayout().paintRectPixels(p.resolution());
}

// name.pdf, then name-2.pdf, name-3.pdf... for later documents going to the same path.
QString NumberedPath(const QString& path, int number)
{
    if (number <= 1) return path;
    const QFileInfo fi(path);
    const QString suffix = fi.suffix().isEmpty() ? QString() : QStringLiteral(".") + fi.suffix();
    return fi.dir().filePath(fi.completeBaseName() + QStringLiteral("-%1").arg(number) + suffix);
}

// Documents written so far to each KESTROVA_PDF path. Kept on the application object, so the
// program and the report library, each with its own copy of this code, number them together
// and never write one over another.
constexpr char PdfCountProperty[] = "kestrovaPdfDocuments";

int NextPdfNumber(const QString& path)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) {
        static QHash<QString, int> withoutApp;
        return ++withoutApp[path];
    }
    QVariantHash counts = app->property(PdfCountProperty).toHash();
    const int n = counts.value(path).toInt() + 1;
    counts.insert(path, n);
    app->setProperty(PdfCountProperty, counts);
    return n;
}

}  // namespace

struct TPrinter::Impl {
    QStringList Names;  // CUPS printers, then "PDF"
    int Index = -1;     // -1 until first used: the default printer
    std::unique_ptr<QPrinter> Device;
    QPainter Painter;
    QPicture Sink;  // takes the drawing of an aborted document
    QPainter SinkPainter;
    bool Printing = false;
    bool Aborted = false;
    int PageNumber = 0;
    QString LastFile;

    void EnsureNames()
    {
        if (!Names.isEmpty()) return;
        Names = QPrinterInfo::availablePrinterNames();
        Names.removeAll(PdfName);
        Names.append(PdfName);
    }

    int DefaultIndex()
    {
        EnsureNames();
        const QString def = QPrinterInfo::defaultPrinterName();
        const int i = def.isEmpty() ? -1 : Names.indexOf(def);
        return i >= 0 ? i : Names.size() - 1;
    }

    bool IsPdf()
    {
        EnsureNames();
        return Index < 0 || Names.at(Index) == PdfName;
    }

    QPrinter& Printer()
    {
        if (Index < 0) Index = DefaultIndex();
        if (!Device) {
            if (Names.at(Index) == PdfName) {
                Device = std::make_unique<QPrinter>(QPrinter::HighResolution);
                Device->setOutputFormat(QPrinter::PdfFormat);
                Device->setResolution(PdfResolution);
                // The PDF printer can print to the paper's edge: no offset, no margins.
                Device->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
            } else {
                Device = std::make_unique<QPrinter>(QPrinterInfo::printerInfo(Names.at(Index)),
                                                    QPrinter::HighResolution);
            }
            Device->setFullPage(false);
            Device->setCopyCount(1);
        }
        return *Device;
    }

    void CheckNotPrinting() const
    {
        if (Printing) throw EPrinter(QStringLiteral("Printing in progress"));
    }
};

TPrinter::TPrinter() : d(std::make_unique<Impl>()) {}

TPrinter::~TPrinter()
{
    if (d->Painter.isActive()) d->Painter.end();
    if (d->SinkPainter.isActive()) d->SinkPainter.end();
}

QStringList TPrinter::Printers() const
{
    d->EnsureNames();
    return d->Names;
}

int TPrinter::PrinterIndex() const
{
    if (d->Index < 0) d->Index = d->DefaultIndex();
    return d->Index;
}

void TPrinter::SetPrinterIndex(int index)
{
    d->CheckNotPrinting();
    d->EnsureNames();
    if (index == -1) index = d->DefaultIndex();
    if (index < 0 || index >= d->Names.size()) throw EPrinter(QStringLiteral("Printer selected is not valid"));
    if (index == d->Index && d->Device) return;
    // Paper and orientation carry over to the newly chosen printer.
    const int paper = d->Device ? PaperSize() : 0;
    const int orientation = d->Device ? Orientation() : 0;
    d->Index = index;
    d->Device.reset();
    if (paper > 0) SetPaperSize(paper);
    if (orientation > 0) SetOrientation(orientation);
}

QString TPrinter::PrinterName() const
{
    return d->Names.value(PrinterIndex());
}

bool TPrinter::IsPdf() const
{
    PrinterIndex();
    return d->IsPdf();
}

int TPrinter::PaperSize() const
{
    return CodeOf(d->Printer().pageLayout().pageSize().id());
}

void TPrinter::SetPaperSize(int code)
{
    d->CheckNotPrinting();
    const QPageSize::PageSizeId id = PageSizeOf(code);
    if (id == QPageSize::Custom) throw EPrinter(QStringLiteral("Paper size %1 is not supported").arg(code));
    QPrinter& p = d->Printer();
    QPageLayout layout = p.pageLayout();
    layout.setPageSize(QPageSize(id));
    p.setPageLayout(layout);
}

int TPrinter::Orientation() const
{
    return d->Printer().pageLayout().orientation() == QPageLayout::Landscape ? DMORIENT_LANDSCAPE
                                                                             : DMORIENT_PORTRAIT;
}

void TPrinter::SetOrientation(int orientation)
{
    d->CheckNotPrinting();
    d->Printer().setPageOrientation(orientation == DMORIENT_LANDSCAPE ? QPageLayout::Landscape
                                                                      : QPageLayout::Portrait);
}

int TPrinter::LogPixelsX() const { return d->Printer().resolution(); }
int TPrinter::LogPixelsY() const { return d->Printer().resolution(); }
int TPrinter::PhysicalWidth() const { return FullRect(d->Printer()).width(); }
int TPrinter::PhysicalHeight() const { return FullRect(d->Printer()).height(); }
int TPrinter::PhysicalOffsetX() const { return PaintRect(d->Printer()).left(); }
int TPrinter::PhysicalOffsetY() const { return PaintRect(d->Printer()).top(); }
int TPrinter::PageWidth() const { return PaintRect(d->Printer()).width(); }
int TPrinter::PageHeight() const { return PaintRect(d->Printer()).height(); }

void TPrinter::BeginDoc()
{
    d->CheckNotPrinting();
    QPrinter& p = d->Printer();
    if (d->SinkPainter.isActive()) d->SinkPainter.end();
    d->Aborted = false;
    d->PageNumber = 0;
    QString file;
    if (d->IsPdf()) {
        const QString target = qEnvironmentVariable("KESTROVA_PDF");
        if (!target.isEmpty()) {
            file = NumberedPath(target, NextPdfNumber(target));
        } else {
            Dialogs::FileRequest request;
            request.Filter = QStringLiteral("PDF (*.pdf)|*.pdf");
            request.DefaultExt = QStringLiteral("pdf");
            request.FileName = Title;
            file = Dialogs::SaveFileName(request);
            if (file.isEmpty()) {
                // A cancelled file dialog: the document is dropped without an error; what the
                // caller draws meanwhile goes nowhere.
                d->Aborted = true;
                d->Sink = QPicture();
                d->SinkPainter.begin(&d->Sink);
                return;
            }
        }
        p.setOutputFileName(file);
    }
    p.setDocName(Title);
    p.setCopyCount(1);
    if (!d->Painter.begin(&p)) {
        throw EPrinter(file.isEmpty() ? QStringLiteral("Printer %1 cannot start a document").arg(PrinterName())
                                      : QStringLiteral("Cannot write the PDF file %1").arg(file));
    }
    d->LastFile = file;
    d->Printing = true;
    d->PageNumber = 1;
}

void TPrinter::NewPage()
{
    if (d->Aborted) return;
    if (!d->Printing) throw EPrinter(QStringLiteral("Printer is not currently printing"));
    if (!d->Device->newPage()) throw EPrinter(QStringLiteral("Printer %1 cannot start a new page").arg(PrinterName()));
    ++d->PageNumber;
}

void TPrinter::EndDoc()
{
    if (d->Aborted) {
        if (d->SinkPainter.isActive()) d->SinkPainter.end();
        return;
    }
    if (!d->Printing) throw EPrinter(QStringLiteral("Printer is not currently printing"));
    d->Printing = false;
    if (!d->Painter.end()) throw EPrinter(QStringLiteral("Printer %1 could not finish the document").arg(PrinterName()));
}

void TPrinter::Abort()
{
    if (d->SinkPainter.isActive()) d->SinkPainter.end();
    if (d->Printing) {
        d->Device->abort();
        if (d->Painter.isActive()) d->Painter.end();
        d->Printing = false;
    }
    d->Aborted = true;
}

bool TPrinter::Printing() const
{
    return d->Printing;
}

bool TPrinter::Aborted() const
{
    return d->Aborted;
}

int TPrinter::PageNumber() const { return d->PageNumber; }

QPainter* TPrinter::Canvas()
{
    if (d->Printing) return &d->Painter;
    if (d->Aborted && d->SinkPainter.isActive()) return &d->SinkPainter;
    throw EPrinter(QStringLiteral("Printer is not currently printing"));
}

QString TPrinter::LastOutputFile() const
{
    return d->LastFile;
}

TPrinter& Printer()
{
    // Never destroyed: it may outlive the application object at exit.
    static TPrinter* printer = new TPrinter;
    return *printer;
}
