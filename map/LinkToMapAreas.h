// The areas of the linking window's map as loaded: runs of white pixels bounded by any other
// colour. Link points are seeds inside them; painting one paints its whole area and nothing else.
#pragma once

#include "Pictures.h"

#include <QImage>
#include <QRect>
#include <vector>

namespace LinkToMap {

class TMapAreas {
public:
    // Takes the map as loaded (Format_RGB32); forgets every area found before.
    void Reset(const QImage& loaded);
    // True when the pixel is white in the map as loaded (a border pixel or one outside is not).
    bool Usable(int X, int Y) const;
    // The surface fill from a usable seed, kept inside the seed's area as loaded: the area's
    // pixels of the seed's present colour take Color. Fills here only ever paint whole areas,
    // so an area shows one colour all over and these are exactly the pixels a surface fill
    // confined to the area reaches. Nothing happens for a seed that is not usable.
    void Fill(QImage& picture, int X, int Y, TColor Color);

private:
    // The area's number, found by a fill of the marks the first time one of its seeds is used.
    int AreaOf(int X, int Y);

    QImage marks_;  // white: usable and not yet in a known area; black: not usable; else area + 1
    std::vector<QRect> bounds_;
};

}  // namespace LinkToMap
