// The legend's intervals and its settings.
#pragma once

#include "RecordList.h"

namespace OLegend {

class TUnits {
public:
    FixedText<255> Label;
    double Low = 0;   // inclusive
    double High = 0;  // inclusive
    quint32 Color = 0;
};

}  // namespace OLegend

class TOLegend : public TORecordList<OLegend::TUnits> {
public:
    explicit TOLegend(QObject* owner = nullptr) : TORecordList(owner) {}
    bool AddLegend = false;
    bool AutoIntervals = false;
    quint32 Color = 0;
    int32_t IntervalCount = 0;
    void SetAddLegend(bool value) { AddLegend = value; }
    void SetAutoIntervals(bool value) { AutoIntervals = value; }
    void SetColor(quint32 value) { Color = value; }
    void SetIntervalCount(int32_t value) { IntervalCount = value; }
};
