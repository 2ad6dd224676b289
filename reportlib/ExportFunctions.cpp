// Placeholder until the report library is built.
#include "ReportProp.h"

extern "C" __attribute__((visibility("default"))) bool PrintReport(intptr_t, int32_t, int32_t, int32_t, const TReportProp*)
{
    return false;
}
