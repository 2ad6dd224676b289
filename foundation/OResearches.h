// The record list of researches and of measurements.
#pragma once

#include "RecordList.h"
#include "Regional.h"

namespace OResearches {

class TUnits {
public:
    int32_t ID = 0;
    int32_t Ref1 = 0;  // research: level; measurement: research ID
    int32_t Ref2 = 0;  // research: kind; measurement: place ID
    TDateTime Date = 0;
    TDateTime Time = 0;
    double Value = 0;
    FixedText<255> Name;  // research: name; measurement: the place's name (not stored)
};

}  // namespace OResearches

class TOResearches : public TORecordList<OResearches::TUnits> {
public:
    explicit TOResearches(QObject* owner = nullptr) : TORecordList(owner) {}
    int32_t MaxID = 0;
    bool Modified = false;
    void SetMaxID(int32_t value) { MaxID = value; }
    void SetModified(bool value) { Modified = value; }
};
