// The reader and writers of DataFiles::LinksToMapFile.
#include "DataFilesFuzz.h"

namespace {

DataFiles::LoadResult Load(const QString& path, TOCoordinates& list)
{
    return DataFiles::LoadLinks(path, list);
}
void Save(const QString& path, const TOCoordinates& list)
{
    DataFiles::SaveLinks(path, list);
}

// The linking window's save without a change: every line not read as a point comes back byte
// for byte in its place, and a second save writes the same bytes.
void KeepsTheOtherLines(const uint8_t* data, size_t size)
{
    const QString path = Fuzz::Put(DataFiles::LinksToMapFile, data, size);
    TOCoordinates list;
    DataFiles::LinksLayout layout;
    if (!DataFiles::LoadLinks(path, list, layout).Complete) return;
    FUZZ_CHECK(layout.Origin.size() == list.Count());
    const QList<QByteArray> kept = layout.Lines;
    DataFiles::SaveLinks(path, list, layout);
    FUZZ_CHECK(layout.Lines == kept);
    TOCoordinates again;
    DataFiles::LinksLayout read;
    FUZZ_CHECK(DataFiles::LoadLinks(path, again, read).Complete);
    FUZZ_CHECK(read.Lines == kept && read.Origin == layout.Origin);
    FUZZ_CHECK(Fuzz::SameLines(Fuzz::LinesOf(list, 0, DataFiles::LinkLine), Fuzz::LinesOf(again, 0, DataFiles::LinkLine)));
    const QByteArray once = Fuzz::Bytes(path);
    DataFiles::SaveLinks(path, again, read);
    FUZZ_CHECK(Fuzz::Bytes(path) == once);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fuzz::RoundTrip<TOCoordinates>(DataFiles::LinksToMapFile, data, size, 0, Load, Save, DataFiles::LinkLine);
    KeepsTheOtherLines(data, size);
    return 0;
}
