// The library's export PrintReport, the hand-off file reader and the printer set-up.
#pragma once

#include "ReportProp.h"

#include <QString>
#include <cstdint>

class QWidget;

// The library's own copy of the caller's record, for the duration of one call.
extern TReportProp* ReportProp;

// Line LineIndex (from 0) of the hand-off file 00Korvel.tmp; a line past the end reads
// as empty. A missing or unreadable file raises EInOutError. ReportKind is not used.
void ReadTempLine(int ReportKind, int LineIndex, QString& Line);

// Makes printer PrinterIndex current and sets its paper and orientation.
void SetPrinterDevMode(int16_t Orientation, int16_t PaperSize, int PrinterIndex);

// The caller's application window, which the library's windows belong to; 0 releases it.
void BindApplication(intptr_t AppHandle);
QWidget* ApplicationWindow();

// The hourglass of one call; restoring is harmless when it is not set.
void SetHourglass();
void RestoreCursor();
