// White areas by runs: the runs of each row, joined to the runs above that they touch; and the
// fill kept inside them.
#include "WhiteAreas.h"

#include <algorithm>
#include <numeric>
#include <utility>

namespace {

int Find(std::vector<int>& parent, int i)
{
    while (parent[size_t(i)] != i) {
        parent[size_t(i)] = parent[size_t(parent[size_t(i)])];
        i = parent[size_t(i)];
    }
    return i;
}

}  // namespace

TWhiteAreas::TWhiteAreas(const QImage& picture) : width_(picture.width()), height_(picture.height())
{
    rowStart_.reserve(size_t(height_) + 1);
    std::vector<int> parent;
    for (int y = 0; y < height_; ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        const size_t rowBegin = runs_.size();
        for (int x = 0; x < width_;) {
            while (x < width_ && (row[x] & 0xFFFFFF) != 0xFFFFFF) ++x;
            if (x == width_) break;
            const int x0 = x;
            while (x < width_ && (row[x] & 0xFFFFFF) == 0xFFFFFF) ++x;
            const int id = int(runs_.size());
            runs_.push_back({x0, x - x0, id});
            parent.push_back(id);
        }
        // Runs of the row above sharing a column with one of this row belong to its area.
        if (y > 0) {
            size_t a = rowStart_[size_t(y) - 1];
            const size_t aEnd = rowBegin;
            size_t b = rowBegin;
            while (a < aEnd && b < runs_.size()) {
                const Run& up = runs_[a];
                const Run& down = runs_[b];
                if (up.X < down.X + down.Length && down.X < up.X + up.Length) {
                    const int ra = Find(parent, up.Area), rb = Find(parent, down.Area);
                    if (ra != rb) parent[size_t(std::max(ra, rb))] = std::min(ra, rb);
                }
                if (up.X + up.Length < down.X + down.Length) ++a;
                else ++b;
            }
        }
        rowStart_.push_back(runs_.size());
    }
    // Areas numbered in the order their first run appears.
    std::vector<int> number(runs_.size(), -1);
    for (Run& r : runs_) {
        const int root = Find(parent, r.Area);
        if (number[size_t(root)] < 0) number[size_t(root)] = areas_++;
        r.Area = number[size_t(root)];
    }
}

int TWhiteAreas::AreaAt(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return -1;
    const Run* end = RowEnd(y);
    const Run* r = std::upper_bound(RowBegin(y), end, x, [](int v, const Run& run) { return v < run.X; });
    if (r == RowBegin(y)) return -1;
    --r;
    return x < r->X + r->Length ? r->Area : -1;
}

std::vector<QPoint> TWhiteAreas::Edge(int area) const
{
    std::vector<QPoint> edge;
    ForEachRun(area, [&](int y, const Run& run) {
        if (run.X > 0) edge.push_back(QPoint(run.X - 1, y));
        if (run.X + run.Length < width_) edge.push_back(QPoint(run.X + run.Length, y));
        // In the rows above and below, the columns of the run not covered by the area there.
        for (int oy : {y - 1, y + 1}) {
            if (oy < 0 || oy >= height_) continue;
            int x = run.X;
            const int stop = run.X + run.Length;
            for (const Run* o = RowBegin(oy); o != RowEnd(oy) && x < stop; ++o) {
                if (o->X + o->Length <= x || o->Area != area) continue;
                for (; x < std::min(o->X, stop); ++x) edge.push_back(QPoint(x, oy));
                x = std::max(x, o->X + o->Length);
            }
            for (; x < stop; ++x) edge.push_back(QPoint(x, oy));
        }
    });
    auto less = [](const QPoint& l, const QPoint& r) { return l.y() != r.y() ? l.y() < r.y() : l.x() < r.x(); };
    std::sort(edge.begin(), edge.end(), less);
    edge.erase(std::unique(edge.begin(), edge.end()), edge.end());
    return edge;
}

TConfinedFill::TConfinedFill(std::shared_ptr<const TWhiteAreas> white)
    : white_(std::move(white)), edges_(size_t(white_->AreaCount()))
{
}

TConfinedFill::Edge& TConfinedFill::EdgeOf(int area, const QImage& picture)
{
    Edge& e = edges_[size_t(area)];
    if (e.Known) return e;
    e.Known = true;
    e.Pixels = white_->Edge(area);
    for (const QPoint& p : e.Pixels) {
        const TColor c = Pictures::PixelColor(picture, p.x(), p.y());
        if (std::find(e.Colours.begin(), e.Colours.end(), c) != e.Colours.end()) continue;
        if (e.Colours.size() == 16) {
            e.AnyColour = true;
            break;
        }
        e.Colours.push_back(c);
    }
    return e;
}

void TConfinedFill::Fill(QImage& picture, int X, int Y, TColor Color)
{
    const int area = white_->AreaAt(X, Y);
    if (area < 0 || picture.width() != white_->Width() || picture.height() != white_->Height()) return;
    const TColor surface = Pictures::PixelColor(picture, X, Y);
    const TColor fill = Color & 0xFFFFFF;
    if (surface == fill) return;
    const Edge& e = EdgeOf(area, picture);
    // No pixel around the area has the surface colour: the plain fill cannot get out.
    if (!e.AnyColour && std::find(e.Colours.begin(), e.Colours.end(), surface) == e.Colours.end()) {
        Pictures::FloodFillSurface(picture, X, Y, surface, fill);
        return;
    }
    // Else those pixels are held in another colour meanwhile.
    const QRgb target = ColorToQRgb(surface) & 0xFFFFFF;
    std::vector<QPoint> held;
    for (const QPoint& p : e.Pixels) {
        QRgb& px = reinterpret_cast<QRgb*>(picture.scanLine(p.y()))[p.x()];
        if ((px & 0xFFFFFF) != target) continue;
        held.push_back(p);
        px ^= 1;
    }
    Pictures::FloodFillSurface(picture, X, Y, surface, fill);
    for (const QPoint& p : held) reinterpret_cast<QRgb*>(picture.scanLine(p.y()))[p.x()] ^= 1;
}

void TConfinedFill::Painted(const QRect& r)
{
    for (Edge& e : edges_)
        if (e.Known && std::any_of(e.Pixels.begin(), e.Pixels.end(), [&](const QPoint& p) { return r.contains(p); }))
            e.AnyColour = true;
}
