// The reader and writer of DataFiles::FederalPartsFile.
#include "DataFilesFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return Fuzz::RoundTrip<TORegions>(DataFiles::FederalPartsFile, data, size, 1, DataFiles::LoadFederalParts, DataFiles::SaveFederalParts,
                                    DataFiles::FederalPartLine);
}
