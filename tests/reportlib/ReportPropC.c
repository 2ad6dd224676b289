/* The report record's header as a C caller of the library includes it. */
#include "ReportProp.h"

int ReportPropLayoutFromC(int field)
{
    static const int offsets[] = {(int)offsetof(TReportProp, PaperSize),    (int)offsetof(TReportProp, Orientation),
                                  (int)offsetof(TReportProp, TopMargin),    (int)offsetof(TReportProp, LeftMargin),
                                  (int)offsetof(TReportProp, BottomMargin), (int)offsetof(TReportProp, RightMargin),
                                  (int)offsetof(TReportProp, PrinterIndex)};
    TPrintReportFn call = 0;
    (void)call;
    return field < 0 ? (int)sizeof(TReportProp) : offsets[field];
}
