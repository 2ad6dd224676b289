// The map's hover index: white areas, link points and names kept per file stamp.
#include "HoverIndex.h"

#include "AppConfig.h"
#include "OCoordinates.h"

#include <algorithm>

THoverIndex::Reading THoverIndex::Reading::Now()
{
    const TAppConfig& config = EnsureAppConfig();
    return {config.Delimiter, config.CommentChar};
}

void THoverIndex::Prime(const Sources& sources, const QImage& picture, const TFileStamp& stamp,
                        std::shared_ptr<const TWhiteAreas> white)
{
    Build(sources, picture, stamp, std::move(white));
}

void THoverIndex::Build(const Sources& sources, const QImage& picture, const TFileStamp& mapStamp,
                        std::shared_ptr<const TWhiteAreas> white)
{
    built_ = false;
    mapStamp_ = mapStamp;
    linksStamp_ = TFileStamp::Of(sources.LinksFile);
    bgc4_ = sources.Bgc4;
    linksReading_ = Reading::Now();
    white_ = white ? std::move(white) : std::make_shared<const TWhiteAreas>(picture);
    areaFirst_.assign(size_t(white_->AreaCount()), INT_MAX);

    TOCoordinates links;
    if (DataFiles::DelimiterUsable()) DataFiles::LoadLinksSilently(sources.LinksFile, links);
    placeIDs_.clear();
    firstNative_ = INT_MAX;
    for (int i = 0; i < links.Count(); ++i) {
        const OCoordinates::TUnits& p = links.Items(i);
        if (p.Level != 0) continue;
        const int j = int(placeIDs_.size());
        placeIDs_.push_back(p.PlaceID);
        // The probe leaves this pixel in Bgc4 whatever is filled: it is Bgc4 in the file.
        if (Pictures::PixelColor(picture, p.X, p.Y) == bgc4_ && firstNative_ == INT_MAX) firstNative_ = j;
        const int area = white_->AreaAt(p.X, p.Y);
        if (area >= 0 && areaFirst_[size_t(area)] == INT_MAX) areaFirst_[size_t(area)] = j;
    }
    built_ = true;
}

void THoverIndex::EnsureMap(const Sources& sources)
{
    const TFileStamp map = TFileStamp::Of(sources.MapFile);
    if (built_ && map == mapStamp_ && TFileStamp::Of(sources.LinksFile) == linksStamp_ && sources.Bgc4 == bgc4_ &&
        Reading::Now() == linksReading_)
        return;
    built_ = false;
    Build(sources, Pictures::LoadFromFile(sources.MapFile), map, nullptr);
}

int THoverIndex::RegionAt(const Sources& sources, int x, int y)
{
    EnsureMap(sources);
    int best = firstNative_;
    // A white pixel under the mouse is filled with its area; a probe of white on white fills
    // nothing, and a colour beyond 24 bits is never what a filled pixel reads back.
    const int area = white_->AreaAt(x, y);
    if (bgc4_ < 0xFFFFFF && area >= 0) best = std::min(best, areaFirst_[size_t(area)]);
    return best == INT_MAX ? 0 : placeIDs_[size_t(best)];
}

void THoverIndex::EnsureNames(const Sources& sources)
{
    const TFileStamp stamp = TFileStamp::Of(sources.RegionsFile);
    if (namesRead_ && stamp == regionsStamp_ && Reading::Now() == namesReading_) return;
    namesRead_ = false;
    places_ = DataFiles::PlaceIndex();
    if (stamp.Exists && DataFiles::DelimiterUsable()) places_ = DataFiles::ReadPlaces(sources.RegionsFile);
    regionsStamp_ = stamp;
    namesReading_ = Reading::Now();
    namesRead_ = true;
}

QString THoverIndex::RegionName(const Sources& sources, int id)
{
    EnsureNames(sources);
    return places_.Name(id);
}
