// The reader and writer of DataFiles::LinksToMapFile.
#include "DataFilesFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return Fuzz::RoundTrip<TOCoordinates>(DataFiles::LinksToMapFile, data, size, 0, DataFiles::LoadLinks, DataFiles::SaveLinks,
                                    DataFiles::LinkLine);
}
