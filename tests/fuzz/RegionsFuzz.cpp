// The reader and writer of DataFiles::RegionsFile.
#include "DataFilesFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return Fuzz::RoundTrip<TORegions>(DataFiles::RegionsFile, data, size, 1, DataFiles::LoadRegions, DataFiles::SaveRegions,
                                    DataFiles::RegionLine);
}
