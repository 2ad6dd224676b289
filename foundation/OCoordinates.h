// The record list of map link points.
#pragma once

#include "RecordList.h"

namespace OCoordinates {

class TUnits {
public:
    int32_t Level = 0;  // 0 region, 1 federal district
    int32_t PlaceID = 0;
    int32_t X = 0;
    int32_t Y = 0;
};

}  // namespace OCoordinates

class TOCoordinates : public TORecordList<OCoordinates::TUnits> {
public:
    explicit TOCoordinates(QObject* owner = nullptr) : TORecordList(owner) {}
    bool Modified = false;
    void SetModified(bool value) { Modified = value; }
};
