// The readers and writers of DataFiles::MeasurementsFile: the whole file, and one research's
// lines saved among the others, which stay as they were.
#include "DataFilesFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace DataFiles;
    Fuzz::RoundTrip<TOResearches>(MeasurementsFile, data, size, 1, LoadAllMeasurements, SaveAllMeasurements, MeasurementLine);

    // One research (the first byte names it) loaded, saved back into the file, loaded again.
    const int research = size ? data[0] % 4 : 1;
    const QString path = Fuzz::Put(MeasurementsFile, data, size);
    TOResearches list;
    list.Add();
    const LoadResult r = LoadMeasurements(path, research, list);
    FUZZ_CHECK(r.Records == list.Count() - 1);
    if (!r.Complete) return 0;
    try {
        FUZZ_CHECK(HasMeasurements(path, research) == (r.Records > 0));
    } catch (const EConvertError&) {
        // a bad research number before the first match, as the reader promises
    }
    SaveMeasurements(path, research, list);
    TOResearches again;
    again.Add();
    const LoadResult r2 = LoadMeasurements(path, research, again);
    FUZZ_CHECK(r2.Complete && r2.Records == r.Records);
    FUZZ_CHECK(Fuzz::SameLines(Fuzz::LinesOf(list, 1, MeasurementLine), Fuzz::LinesOf(again, 1, MeasurementLine)));
    return 0;
}
