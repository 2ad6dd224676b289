// The record list of regions and federal districts.
#pragma once

#include "RecordList.h"

namespace ORegions {

class TUnits {
public:
    int32_t ID = 0;
    FixedText<255> Name;
    FixedText<255> Capital;
    FixedText<50> CodeMVD;
    FixedText<50> CodeMSH;
    FixedText<50> CodeAlpha;
    FixedText<50> CodeLatin;
    FixedText<50> CodeAlphaNum;
};

}  // namespace ORegions

class TORegions : public TORecordList<ORegions::TUnits> {
public:
    explicit TORegions(QObject* owner = nullptr) : TORecordList(owner) {}
    int32_t MaxID = 0;
    bool Modified = false;
    void SetMaxID(int32_t value) { MaxID = value; }
    void SetModified(bool value) { Modified = value; }
};
