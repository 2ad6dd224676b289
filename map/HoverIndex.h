// Which region the mouse is over on the map, and its name, answered from memory: the white
// areas of the map file's own picture, the link points and the region names are read again
// only when their files change.
#pragma once

#include "DataFiles.h"
#include "FileCache.h"
#include "Pictures.h"
#include "WhiteAreas.h"

#include <QString>

#include <climits>
#include <memory>
#include <vector>

class THoverIndex {
public:
    struct Sources {
        QString MapFile;
        QString LinksFile;
        QString RegionsFile;
        TColor Bgc4 = 0;  // the probe colour: a point already of this colour in the file matches anywhere
    };

    // The picture the window loaded from the map file with that stamp and its white areas, so
    // the first hover does not decode the file again (the links file is read now).
    void Prime(const Sources& sources, const QImage& picture, const TFileStamp& stamp,
               std::shared_ptr<const TWhiteAreas> white);

    // The first level-0 link point, in the links file's order, that a probe fill with Bgc4
    // from (x, y) over the file's uncoloured picture would leave in exactly Bgc4; its place
    // ID, or 0 for none. The links file is read silently (the window reported its bad lines
    // when it read it), again when it or the delimiter in the settings changes.
    int RegionAt(const Sources& sources, int x, int y);
    // Field 2 of the first record of ksRegions.txt whose field 1 is id; empty when there is
    // none or no file. A field 1 that is no integer before that record raises EConvertError,
    // as reading the file from the top would.
    QString RegionName(const Sources& sources, int id);

private:
    void EnsureMap(const Sources& sources);
    void EnsureNames(const Sources& sources);
    void Build(const Sources& sources, const QImage& picture, const TFileStamp& mapStamp,
               std::shared_ptr<const TWhiteAreas> white);

    TFileStamp mapStamp_;
    TFileStamp linksStamp_;
    TFileStamp regionsStamp_;
    bool built_ = false;
    bool namesRead_ = false;
    TColor bgc4_ = 0;
    // The settings a file's lines are read by; each file was read with one of them.
    struct Reading {
        QString Delimiter;
        QString Comment;
        bool operator==(const Reading&) const = default;
        static Reading Now();
    };
    Reading linksReading_;
    Reading namesReading_;
    std::shared_ptr<const TWhiteAreas> white_;
    std::vector<int> placeIDs_;   // the level-0 points' places, in the file's order
    int firstNative_ = INT_MAX;   // the first point whose own pixel is Bgc4 already
    std::vector<int> areaFirst_;  // per white area: the first point inside it
    DataFiles::PlaceIndex places_;
};
