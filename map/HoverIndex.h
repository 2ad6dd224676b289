// Which region the mouse is over on the map, and its name, answered from memory: the white
// areas of the map file's own picture are labelled as the mouse first meets them, and the
// link points and the region names are read again only when their files change.
#pragma once

#include "FileCache.h"
#include "Pictures.h"

#include <QHash>
#include <QString>

#include <climits>
#include <cstdint>
#include <vector>

class THoverIndex {
public:
    struct Sources {
        QString MapFile;
        QString LinksFile;
        QString RegionsFile;
        TColor Bgc4 = 0;  // the probe colour: a point already of this colour in the file matches anywhere
    };

    // The picture the window loaded from the map file with that stamp, so the first hover
    // does not decode the file again (the links file is read now).
    void Prime(const Sources& sources, const QImage& picture, const TFileStamp& stamp);

    // The first level-0 link point, in the links file's order, that a probe fill with Bgc4
    // from (x, y) over the file's uncoloured picture would leave in exactly Bgc4; its place
    // ID, or 0 for none.
    int RegionAt(const Sources& sources, int x, int y);
    // Field 2 of the first record of ksRegions.txt whose field 1 is id; empty when there is
    // none or no file.
    QString RegionName(const Sources& sources, int id);

private:
    struct Point {
        int PlaceID;
        int X;
        int Y;
        bool White;  // on a white pixel of the picture
    };
    void EnsureMap(const Sources& sources);
    void EnsureNames(const Sources& sources);
    // White bits, the link points and their pixels' colours, from the file's picture.
    void Build(const Sources& sources, const QImage& picture, const TFileStamp& mapStamp);
    // Labels the white area holding (x, y) if it has none yet; returns its label.
    uint32_t Label(int x, int y);

    TFileStamp mapStamp_;
    TFileStamp linksStamp_;
    TFileStamp regionsStamp_;
    bool built_ = false;
    bool namesRead_ = false;
    TColor bgc4_ = 0;
    // The file's picture with its white pixels white, the others black, and each area the
    // mouse has met filled with its label as a colour (1, 2, ...).
    QImage labels_;
    std::vector<Point> points_;   // the level-0 points in the file's order
    int firstNative_ = INT_MAX;   // the first point whose own pixel is Bgc4 already
    std::vector<int> areaFirst_{INT_MAX};  // per label: the first point inside it
    QHash<int, QString> names_;
};
