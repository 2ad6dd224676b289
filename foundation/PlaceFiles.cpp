// The place lookups of the measurements window and the map.
#include "PlaceFiles.h"

#include "DataFileLines.h"
#include "Exceptions.h"

namespace DataFiles {

using namespace Frame;

QStringList ReadCapitals(const QString& path)
{
    QStringList capitals;
    ForEachRecord(path, [&](const Layout& layout, const Converter& conv, const char* line, qsizetype size) {
        LineFields fields(layout, conv, line, size);
        fields.Skip(2);
        capitals.append(fields.Text());
    });
    return capitals;
}

PlaceIndex ReadPlaces(const QString& path)
{
    PlaceIndex index;
    index.exists_ = ForEachRecord(path, [&](const Layout& layout, const Converter& conv, const char* line, qsizetype size) {
        FieldCursor<char> fields = layout.Fields(line, size);
        qsizetype s, n;
        fields.Next(s, n);
        PlaceIndex::Line place;
        place.IdText = Decode(line + s, n);
        place.IdOk = conv.TryInt(line + s, n, place.ID);
        fields.Next(s, n);
        place.Name = Decode(line + s, n);
        const int at = int(index.lines_.size());
        if (!place.IdOk && index.firstBad_ < 0) {
            index.firstBad_ = at;
            try {
                Regional::StrToInt(place.IdText);
            } catch (const EConvertError& e) {
                index.badMessage_ = e.Message;
            }
        }
        if (place.IdOk && !index.first_.contains(place.ID)) index.first_.insert(place.ID, at);
        index.lines_.append(std::move(place));
    });
    return index;
}

QString PlaceIndex::Name(int id) const
{
    const auto it = first_.constFind(id);
    const int at = it == first_.cend() ? int(lines_.size()) : it.value();
    if (firstBad_ >= 0 && firstBad_ < at) throw EConvertError(badMessage_);
    return at < lines_.size() ? lines_[at].Name : QString();
}

QList<int> PlaceIndex::IDs() const
{
    if (firstBad_ >= 0) throw EConvertError(badMessage_);
    QList<int> ids;
    ids.reserve(lines_.size());
    for (const Line& l : lines_) ids.append(l.ID);
    return ids;
}

QList<QPair<int, QString>> ReadPlaceNames(const QString& path)
{
    QList<QPair<int, QString>> names;
    const PlaceIndex places = ReadPlaces(path);
    for (const PlaceIndex::Line& l : places.Lines()) {
        if (l.IdOk) {
            names.append({l.ID, l.Name});
            continue;
        }
        // A bad identifier takes the loaders' error path: reported, and the place kept with ID 0.
        try {
            Regional::StrToInt(l.IdText);
        } catch (const EConvertError& e) {
            ReportKeyFieldError(e.Message);
        }
        names.append({0, l.Name});
    }
    return names;
}

}  // namespace DataFiles
