// The link points file of the map.
#pragma once

#include "DataFileLines.h"
#include "OCoordinates.h"

namespace DataFiles {

// ksLinksToMap.txt: the four conversions guarded together; a failed line keeps the fields
// read so far and zeros in the rest.
LoadResult LoadLinks(const QString& path, TOCoordinates& list);
// The same read without the error path, for a reader that reads the file again: its bad
// lines were reported at the first read.
LoadResult LoadLinksSilently(const QString& path, TOCoordinates& list);
QString LinkLine(const OCoordinates::TUnits& p);
void SaveLinks(const QString& path, const TOCoordinates& list);

}  // namespace DataFiles
