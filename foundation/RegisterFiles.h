// The research register file.
#pragma once

#include "DataFileLines.h"
#include "OResearches.h"

namespace DataFiles {

// ksResearchRegister.txt: field 1 guarded, fields 3 and 4 stop the load.
LoadResult LoadResearches(const QString& path, TOResearches& list);
QString ResearchLine(const OResearches::TUnits& r);
void SaveResearches(const QString& path, const TOResearches& list);

}  // namespace DataFiles
