/* The printer properties handed from the program to the report library's PrintReport.
   Declared once for both deliverables; the layout is part of the library's interface. */
#pragma once

#include <stddef.h>
#include <stdint.h>

#pragma pack(push, 4)
typedef struct TReportProp {
    int16_t PaperSize;    /* Windows paper code, 9 = A4 */
    int16_t Orientation;  /* 1 portrait, 2 landscape */
    int32_t TopMargin;    /* tenths of a millimetre in the report library */
    int32_t LeftMargin;
    int32_t BottomMargin;
    int32_t RightMargin;
    int32_t PrinterIndex;
} TReportProp;
#pragma pack(pop)

#ifndef __cplusplus
#define static_assert _Static_assert
#endif
static_assert(sizeof(TReportProp) == 24, "TReportProp is 24 bytes");
static_assert(offsetof(TReportProp, PaperSize) == 0, "TReportProp layout");
static_assert(offsetof(TReportProp, Orientation) == 2, "TReportProp layout");
static_assert(offsetof(TReportProp, TopMargin) == 4, "TReportProp layout");
static_assert(offsetof(TReportProp, LeftMargin) == 8, "TReportProp layout");
static_assert(offsetof(TReportProp, BottomMargin) == 12, "TReportProp layout");
static_assert(offsetof(TReportProp, RightMargin) == 16, "TReportProp layout");
static_assert(offsetof(TReportProp, PrinterIndex) == 20, "TReportProp layout");
#ifndef __cplusplus
#undef static_assert
#endif

/* The library's one export. AppHandle: the caller's application window handle (may be 0);
   Kind: report kind (0); OutputMode: 0 preview, 1 print at once, other: print through the dialog;
   Scale: print scale in percent. Returns 0 (false) after the library showed its own error
   message, else 1; one byte, as a C caller reads it too. */
#ifdef __cplusplus
extern "C" {
#endif
typedef unsigned char (*TPrintReportFn)(intptr_t AppHandle, int32_t Kind, int32_t OutputMode, int32_t Scale,
                               const TReportProp* ReportProp);
unsigned char PrintReport(intptr_t AppHandle, int32_t Kind, int32_t OutputMode, int32_t Scale,
                 const TReportProp* ReportProp);
#ifdef __cplusplus
}
#endif
