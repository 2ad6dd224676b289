// The reader and writer of the research register file.
#include "RegisterFiles.h"

#include "DataFileLines.h"

namespace DataFiles {

using namespace Frame;

LoadResult LoadResearches(const QString& path, TOResearches& list)
{
    return LoadTable(path, list, [](OResearches::TUnits& r, LineFields& fields) {
        r.Name = fields.Text();
        r.Ref1 = fields.Int();
        r.Ref2 = fields.Int();
    });
}

QString ResearchLine(const OResearches::TUnits& r)
{
    return Joined({Regional::IntToStr(r.ID), r.Name, Regional::IntToStr(r.Ref1), Regional::IntToStr(r.Ref2)});
}

void SaveResearches(const QString& path, const TOResearches& list)
{
    SaveTable(path, list, 1, ResearchLine);
}

}  // namespace DataFiles
