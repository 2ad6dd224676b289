// The two reference tables: the regions file and the federal districts file.
#pragma once

#include "DataFileLines.h"
#include "ORegions.h"

namespace DataFiles {

// ksRegions.txt (eight fields) and ksFederalParts.txt (four fields): appends to list,
// field 1 guarded, MaxID raised.
LoadResult LoadRegions(const QString& path, TORegions& list);
LoadResult LoadFederalParts(const QString& path, TORegions& list);
QString RegionLine(const ORegions::TUnits& r);
QString FederalPartLine(const ORegions::TUnits& r);
// Rewrite records 1 .. Count-1 (item 0 is the placeholder).
void SaveRegions(const QString& path, const TORegions& list);
void SaveFederalParts(const QString& path, const TORegions& list);

}  // namespace DataFiles
