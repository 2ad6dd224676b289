// The reader and writer of the link points file.
#include "LinkFiles.h"

#include "DataFileLines.h"
#include "Exceptions.h"

namespace DataFiles {

using namespace Frame;

namespace {

LoadResult ReadLinks(const QString& path, TOCoordinates& list, bool report)
{
    return LoadFile(path, [&](const Layout& layout, const Converter& conv, const char* line, qsizetype size, LoadResult& result) {
        list.Add();
        ++result.Records;
        OCoordinates::TUnits& p = list.Items(list.Count() - 1);
        LineFields fields(layout, conv, line, size);
        try {
            for (int32_t* field : {&p.Level, &p.PlaceID, &p.X, &p.Y}) *field = fields.Int();
        } catch (const EConvertError& e) {
            if (report) ReportKeyFieldError(e.Message);
        }
    });
}

}  // namespace

LoadResult LoadLinks(const QString& path, TOCoordinates& list)
{
    return ReadLinks(path, list, true);
}

LoadResult LoadLinksSilently(const QString& path, TOCoordinates& list)
{
    return ReadLinks(path, list, false);
}

QString LinkLine(const OCoordinates::TUnits& p)
{
    return Joined({Regional::IntToStr(p.Level), Regional::IntToStr(p.PlaceID), Regional::IntToStr(p.X),
                   Regional::IntToStr(p.Y)});
}

void SaveLinks(const QString& path, const TOCoordinates& list)
{
    SaveTable(path, list, 0, LinkLine);
}

}  // namespace DataFiles
