// The map's hover index: lazily labelled white areas, link points and names kept per file stamp.
#include "HoverIndex.h"

#include "DataFiles.h"
#include "OCoordinates.h"

#include <algorithm>

void THoverIndex::Prime(const Sources& sources, const QImage& picture, const TFileStamp& stamp)
{
    Build(sources, picture, stamp);
}

void THoverIndex::Build(const Sources& sources, const QImage& picture, const TFileStamp& mapStamp)
{
    built_ = false;
    mapStamp_ = mapStamp;
    linksStamp_ = TFileStamp::Of(sources.LinksFile);
    bgc4_ = sources.Bgc4;
    labels_ = QImage(picture.size(), QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        QRgb* out = reinterpret_cast<QRgb*>(labels_.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) out[x] = (in[x] & 0xFFFFFF) == 0xFFFFFF ? 0xFFFFFFFF : 0xFF000000;
    }
    areaFirst_.assign(1, INT_MAX);

    TOCoordinates links;
    if (DataFiles::DelimiterUsable()) DataFiles::LoadLinks(sources.LinksFile, links);
    points_.clear();
    firstNative_ = INT_MAX;
    for (int i = 0; i < links.Count(); ++i) {
        const OCoordinates::TUnits& p = links.Items(i);
        if (p.Level != 0) continue;
        const TColor native = Pictures::PixelColor(picture, p.X, p.Y);
        // The probe leaves this pixel in Bgc4 whatever is filled: it is Bgc4 in the file.
        if (native == bgc4_ && firstNative_ == INT_MAX) firstNative_ = int(points_.size());
        points_.push_back({p.PlaceID, p.X, p.Y, native == 0xFFFFFF});
    }
    built_ = true;
}

void THoverIndex::EnsureMap(const Sources& sources)
{
    const TFileStamp map = TFileStamp::Of(sources.MapFile);
    if (built_ && map == mapStamp_ && TFileStamp::Of(sources.LinksFile) == linksStamp_ && sources.Bgc4 == bgc4_) return;
    built_ = false;
    Build(sources, Pictures::LoadFromFile(sources.MapFile), map);
}

uint32_t THoverIndex::Label(int x, int y)
{
    const TColor at = Pictures::PixelColor(labels_, x, y);
    if (at != 0xFFFFFF) return at;
    // The probe's own fill: the same 4-connected spread over the white pixels.
    const uint32_t label = uint32_t(areaFirst_.size());
    Pictures::FloodFillSurface(labels_, x, y, 0xFFFFFF, label);
    int first = INT_MAX;
    for (size_t j = 0; j < points_.size() && first == INT_MAX; ++j) {
        const Point& p = points_[j];
        if (p.White && Pictures::PixelColor(labels_, p.X, p.Y) == label) first = int(j);
    }
    areaFirst_.push_back(first);
    return label;
}

int THoverIndex::RegionAt(const Sources& sources, int x, int y)
{
    EnsureMap(sources);
    int best = firstNative_;
    // A white pixel under the mouse is filled with its area; a probe of white on white fills nothing.
    // (A colour beyond 24 bits is never what a filled pixel reads back.)
    const bool fills = bgc4_ < 0xFFFFFF;
    const TColor at = Pictures::PixelColor(labels_, x, y);  // 0: not white; all ones: outside
    if (fills && at != 0 && at != 0xFFFFFFFF)
        best = std::min(best, areaFirst_[Label(x, y)]);
    return best == INT_MAX ? 0 : points_[size_t(best)].PlaceID;
}

void THoverIndex::EnsureNames(const Sources& sources)
{
    const TFileStamp stamp = TFileStamp::Of(sources.RegionsFile);
    if (namesRead_ && stamp == regionsStamp_) return;
    namesRead_ = false;
    names_.clear();
    if (stamp.Exists && DataFiles::DelimiterUsable())
        for (const auto& [id, name] : DataFiles::ReadPlaceNames(sources.RegionsFile))
            if (!names_.contains(id)) names_.insert(id, name);  // the first line of an ID holds
    regionsStamp_ = stamp;
    namesRead_ = true;
}

QString THoverIndex::RegionName(const Sources& sources, int id)
{
    EnsureNames(sources);
    return names_.value(id);
}
