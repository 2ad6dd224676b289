// The current printer object: CUPS printers and the always-present "PDF" printer,
// Windows paper codes and orientation, device capabilities, and the document calls.
#pragma once

#include <QString>
#include <QStringList>
#include <memory>

class QPainter;
class QPagedPaintDevice;

// Windows paper codes the program meets.
enum : int { DMPAPER_LETTER = 1, DMPAPER_LEGAL = 5, DMPAPER_A3 = 8, DMPAPER_A4 = 9, DMPAPER_A5 = 11 };
enum : int { DMORIENT_PORTRAIT = 1, DMORIENT_LANDSCAPE = 2 };

class TPrinter {
public:
    TPrinter();
    ~TPrinter();
    TPrinter(const TPrinter&) = delete;
    TPrinter& operator=(const TPrinter&) = delete;

    // CUPS printers, then "PDF" (the default when there is no other).
    QStringList Printers() const;
    int PrinterIndex() const;
    void SetPrinterIndex(int index);  // -1: the default printer
    QString PrinterName() const;
    bool IsPdf() const;

    // Device mode: Windows paper code and orientation (1 portrait, 2 landscape).
    // Changing them while a document is open raises EPrinter.
    int PaperSize() const;
    void SetPaperSize(int code);
    int Orientation() const;
    void SetOrientation(int orientation);

    // Device capabilities, in device pixels of the current paper and orientation.
    int LogPixelsX() const;
    int LogPixelsY() const;
    int PhysicalWidth() const;
    int PhysicalHeight() const;
    int PhysicalOffsetX() const;
    int PhysicalOffsetY() const;
    int PageWidth() const;   // printable area
    int PageHeight() const;

    QString Title;   // the document's title
    int Copies = 1;  // the program loops copies itself; the device always prints one

    // The document calls. BeginDoc of the PDF printer asks for the file through Dialogs,
    // or takes KESTROVA_PDF (numbered name-2.pdf, ... for later documents to the same path);
    // a cancelled file dialog aborts (Aborted() true, no error): NewPage and EndDoc then do
    // nothing and Canvas() draws into nowhere. Errors raise EPrinter.
    void BeginDoc();
    void NewPage();
    void EndDoc();
    void Abort();
    bool Printing() const;
    bool Aborted() const;
    int PageNumber() const;
    // Valid between BeginDoc and EndDoc (EPrinter otherwise); draws in device pixels from the
    // printable area's corner.
    QPainter* Canvas();
    // The file the last PDF document went to (empty for a CUPS printer).
    QString LastOutputFile() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

// The one printer object of the process.
TPrinter& Printer();
