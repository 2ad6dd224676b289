// The readers and writers of the regions and federal districts files.
#include "RegionFiles.h"

#include "DataFileLines.h"

namespace DataFiles {

using namespace Frame;

LoadResult LoadRegions(const QString& path, TORegions& list)
{
    return LoadTable(path, list, [](ORegions::TUnits& r, LineFields& fields) {
        r.Name = fields.Text();
        r.Capital = fields.Text();
        for (FixedText<50>* t : {&r.CodeMVD, &r.CodeMSH, &r.CodeAlpha, &r.CodeLatin, &r.CodeAlphaNum}) *t = fields.Text();
    });
}

LoadResult LoadFederalParts(const QString& path, TORegions& list)
{
    return LoadTable(path, list, [](ORegions::TUnits& r, LineFields& fields) {
        r.Name = fields.Text();
        r.Capital = fields.Text();
        r.CodeMSH = fields.Text();
    });
}

QString RegionLine(const ORegions::TUnits& r)
{
    return Joined({Regional::IntToStr(r.ID), r.Name, r.Capital, r.CodeMVD, r.CodeMSH, r.CodeAlpha, r.CodeLatin,
                   r.CodeAlphaNum});
}

QString FederalPartLine(const ORegions::TUnits& r)
{
    return Joined({Regional::IntToStr(r.ID), r.Name, r.Capital, r.CodeMSH});
}

void SaveRegions(const QString& path, const TORegions& list)
{
    SaveTable(path, list, 1, RegionLine);
}

void SaveFederalParts(const QString& path, const TORegions& list)
{
    SaveTable(path, list, 1, FederalPartLine);
}

}  // namespace DataFiles
