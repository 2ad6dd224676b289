// The library's export PrintReport, the hand-off file reader and the printer set-up.
#include "ExportFunctions.h"

#include "AnsiCodec.h"
#include "DefFun.h"
#include "Dialogs.h"
#include "Exceptions.h"
#include "Printer.h"
#include "Reports.h"
#include "ShowReportGeneration.h"

#include <QApplication>
#include <QFile>
#include <QWidget>

TReportProp* ReportProp = nullptr;

namespace {

intptr_t boundHandle = 0;
bool hourglass = false;
// True while a call runs: the preview and the print dialog run the caller's message loop,
// from which the caller could call again.
bool running = false;

const QString ErrorSentence = QStringLiteral("При печати отчета возникла ошибка!");

// The error path of PrintReport: the message, then the progress window and the cursor.
void ReportError(const QString& message)
{
    try {
        Dialogs::Error(ErrorSentence + QLatin1Char('\n') + message);
    } catch (...) {
        qWarning("%s", qUtf8Printable(ErrorSentence + QLatin1Char('\n') + message));
    }
    CloseProgressWindow();
    RestoreCursor();
}

bool RunReport(intptr_t AppHandle, int32_t ReportKind, int32_t OutputMode, int32_t Scale, const TReportProp* Prop)
{
    BindApplication(AppHandle);
    SetHourglass();
    bool result = true;
    try {
        frmShowProcess = new TfrmShowProcess(ApplicationWindow());
        frmShowProcess->show();

        if (!Prop) throw Exception(QStringLiteral("The printer properties are missing"));
        ReportProp = new TReportProp{};
        ReportProp->PaperSize = Prop->PaperSize;
        ReportProp->Orientation = Prop->Orientation;
        ReportProp->TopMargin = Prop->TopMargin;
        ReportProp->LeftMargin = Prop->LeftMargin;
        ReportProp->BottomMargin = Prop->BottomMargin;
        ReportProp->RightMargin = Prop->RightMargin;
        ReportProp->PrinterIndex = Prop->PrinterIndex;
        // The page mapping divides by the scale.
        if (Scale < 1) throw Exception(QStringLiteral("Invalid print scale: %1").arg(Scale));

        SetPrinterDevMode(ReportProp->Orientation, ReportProp->PaperSize, ReportProp->PrinterIndex);
        const int left = ReportProp->LeftMargin, top = ReportProp->TopMargin;
        const int bottom = ReportProp->BottomMargin, right = ReportProp->RightMargin;
        if (OutputMode == 0)
            ShowPreview(AppHandle, Scale, ReportKind, left, top, bottom, right);
        else if (OutputMode == 1)
            PrintDirect(Scale, ReportKind, left, top, bottom, right);
        else
            PrintWithDialog(Scale, ReportKind, left, top, bottom, right);
    } catch (const std::exception& e) {
        ReportError(ExceptionMessage(e));
        result = false;
    } catch (...) {
        ReportError(QStringLiteral("Unknown exception"));
        result = false;
    }
    // Whatever the path, nothing of this call outlives it.
    ReleaseReportObjects();
    CloseProgressWindow();
    RestoreCursor();
    delete ReportProp;
    ReportProp = nullptr;
    return result;
}

}  // namespace

void ReadTempLine(int ReportKind, int LineIndex, QString& Line)
{
    Q_UNUSED(ReportKind);
    const QString path = TempFilePath(QStringLiteral("00Korvel.tmp"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EInOutError(QStringLiteral("Cannot open file \"%1\". %2").arg(path, file.errorString()));
    Line.clear();
    for (int i = 0; i <= LineIndex; ++i) {
        if (file.atEnd()) {
            Line.clear();
            break;
        }
        QByteArray bytes = file.readLine();
        if (bytes.endsWith('\n')) bytes.chop(1);
        if (bytes.endsWith('\r')) bytes.chop(1);
        Line = AnsiCodec::Decode(bytes);
    }
}

void SetPrinterDevMode(int16_t Orientation, int16_t PaperSize, int PrinterIndex)
{
    TPrinter& printer = Printer();
    printer.SetPrinterIndex(PrinterIndex);
    // As a driver validating a device mode, a paper the printer does not know leaves its own:
    // a printer set to an unlisted paper must still print. (A printer that is busy printing
    // has already refused the selection above.)
    try {
        printer.SetPaperSize(PaperSize);
    } catch (const EPrinter&) {
    }
    printer.SetOrientation(Orientation);
}

void BindApplication(intptr_t AppHandle)
{
    boundHandle = AppHandle;
}

QWidget* ApplicationWindow()
{
    return boundHandle ? QWidget::find(WId(boundHandle)) : nullptr;
}

void SetHourglass()
{
    if (hourglass) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    hourglass = true;
}

void RestoreCursor()
{
    if (!hourglass) return;
    QApplication::restoreOverrideCursor();
    hourglass = false;
}

extern "C" __attribute__((visibility("default"))) unsigned char PrintReport(intptr_t AppHandle, int32_t ReportKind,
                                                                 int32_t OutputMode, int32_t Scale,
                                                                 const TReportProp* Prop)
{
    bool ownsRun = false;  // a refused nested call must not end the run it was refused by
    try {
        if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
            qWarning("%s", qUtf8Printable(ErrorSentence + QStringLiteral("\nThere is no application to report in")));
            return false;
        }
        if (running) {
            Dialogs::Error(ErrorSentence + QStringLiteral("\nA report is already being output"));
            return false;
        }
        // The library's windows show an escaping error as a box, as the caller's would.
        SetUnhandledExceptionHandler([](const QString& message) { Dialogs::Error(message); });
        running = ownsRun = true;
        const bool result = RunReport(AppHandle, ReportKind, OutputMode, Scale, Prop);
        running = false;
        return result;
    } catch (...) {
        if (ownsRun) running = false;
        return false;
    }
}
