// The reader and writer of DataFiles::ResearchRegisterFile.
#include "DataFilesFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return Fuzz::RoundTrip<TOResearches>(DataFiles::ResearchRegisterFile, data, size, 1, DataFiles::LoadResearches, DataFiles::SaveResearches,
                                    DataFiles::ResearchLine);
}
