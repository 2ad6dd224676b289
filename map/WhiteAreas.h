// The white areas of a map picture as the surface fill finds them (4-connected runs of pure
// white), worked out once in one pass over the rows: every white run of a row knows its area.
#pragma once

#include "Pictures.h"

#include <QImage>
#include <QPoint>
#include <QRect>

#include <memory>
#include <vector>

class TWhiteAreas {
public:
    struct Run {
        int X;
        int Length;
        int Area;
    };

    explicit TWhiteAreas(const QImage& picture = QImage());

    int Width() const { return width_; }
    int Height() const { return height_; }
    int AreaCount() const { return areas_; }
    // The area of the pixel; -1 when it is not white or lies outside the picture.
    int AreaAt(int x, int y) const;
    // The white runs of row y, left to right.
    const Run* RowBegin(int y) const { return runs_.data() + rowStart_[size_t(y)]; }
    const Run* RowEnd(int y) const { return runs_.data() + rowStart_[size_t(y) + 1]; }
    // Calls f(y, run) for every run of the area, row by row.
    template <class F>
    void ForEachRun(int area, F&& f) const
    {
        for (int y = 0; y < height_; ++y)
            for (const Run* r = RowBegin(y); r != RowEnd(y); ++r)
                if (r->Area == area) f(y, *r);
    }
    // The pixels just outside the area (4-neighbours of its pixels that are not in it), row by
    // row and left to right, each once.
    std::vector<QPoint> Edge(int area) const;

private:
    int width_ = 0;
    int height_ = 0;
    int areas_ = 0;
    std::vector<Run> runs_;
    std::vector<size_t> rowStart_{0};
};

// The surface fill kept inside the white areas of the map as loaded: a fill from a seed reaches
// no pixel outside the seed's area, so a border of the fill's colours stays as it is and a gap a
// legend made in a border lets nothing through. Both map windows fill their link points with it.
class TConfinedFill {
public:
    explicit TConfinedFill(std::shared_ptr<const TWhiteAreas> white = std::make_shared<const TWhiteAreas>());

    const TWhiteAreas& White() const { return *white_; }
    // True when the pixel is white in the map as loaded (a border pixel or one outside is not).
    bool Usable(int X, int Y) const { return white_->AreaAt(X, Y) >= 0; }
    // The pixels of the seed's present colour that the surface fill from it reaches without
    // leaving the seed's area take Color. Nothing happens for a seed that is not usable or a
    // picture not of the loaded one's size.
    void Fill(QImage& picture, int X, int Y, TColor Color);
    // The pixels within r were painted otherwise than by these fills (a legend).
    void Painted(const QRect& r);

private:
    // The pixels just outside an area and their colours, worked out the first time a fill
    // starts in it; only Painted changes those pixels afterwards.
    struct Edge {
        bool Known = false;
        std::vector<QPoint> Pixels;
        std::vector<TColor> Colours;  // while there are few; else any colour may be among them
        bool AnyColour = false;
    };
    Edge& EdgeOf(int area, const QImage& picture);

    std::shared_ptr<const TWhiteAreas> white_;
    std::vector<Edge> edges_;
};
