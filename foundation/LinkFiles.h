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
// The links file as the linking window read it, so its save keeps what was not read as a point.
// Lines holds the file's lines in order: the bytes of a line that was not read as a point (an
// empty or comment line, one starting with the delimiter, one whose numbers did not convert),
// with its line end, or an empty entry where a point was read. Origin runs parallel to the
// record list: the record's entry in Lines, NewPoint for a record added since, KeptLine for one
// whose line is kept as bytes.
struct LinksLayout {
    static constexpr int NewPoint = -1;
    static constexpr int KeptLine = -2;
    QList<QByteArray> Lines;
    QList<int> Origin;
};
// LoadLinks appending to list, and to layout the file's lines and the records' origins.
LoadResult LoadLinks(const QString& path, TOCoordinates& list, LinksLayout& layout);
// Rewrites the file in the order of layout: kept lines byte for byte (a last line without its
// end gets CR LF), each point at the place of its line (a deleted point's place goes), then the
// new points in list order. On success layout describes the file written.
void SaveLinks(const QString& path, const TOCoordinates& list, LinksLayout& layout);

}  // namespace DataFiles
