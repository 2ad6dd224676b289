// The white areas of a map picture as the surface fill finds them (4-connected runs of pure
// white), worked out once in one pass over the rows: every white run of a row knows its area.
#pragma once

#include <QImage>
#include <QPoint>

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
