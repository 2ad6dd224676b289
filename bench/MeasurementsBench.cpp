// Speed and memory of reading and writing a large measurements file, and of the measurements
// window opened and saved on one research of it.
#include "AppConfig.h"
#include "DataFiles.h"
#include "Measures.h"
#include "OResearches.h"
#include "Regional.h"
#include "ResearchChoice.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <malloc.h>
#include <random>
#include <string>

namespace {

constexpr int RegionCount = 85;
constexpr int DistrictCount = 8;
constexpr int ResearchCount = 100;
constexpr int MeasurementLines = 1000000;
// The research the window opens: regional and numeric, with more lines than the others.
constexpr int WindowResearch = 51;
constexpr int WindowLines = 20000;

// Lines of research r; they add up to MeasurementLines.
int LinesOf(int r)
{
    if (r == WindowResearch) return WindowLines;
    const int rest = MeasurementLines - WindowLines, others = ResearchCount - 1;
    const int k = r < WindowResearch ? r - 1 : r - 2;  // 0 .. others - 1
    return rest / others + (k < rest % others ? 1 : 0);
}

// A database in Russian formats: decimal comma, dd.MM.yyyy, HH:mm:ss.
class Database {
public:
    Database()
    {
        Regional::Set(Regional::Russian());
        TAppConfig& c = EnsureAppConfig();
        c.DBPath = dir_.path();
        c.AppDir = dir_.path() + QLatin1Char('/');
        c.Delimiter = QStringLiteral(";");
        c.CommentChar = QStringLiteral("#");

        std::mt19937 random(20060325);
        std::string text;
        char line[160];
        for (int i = 1; i <= RegionCount; ++i) {
            std::snprintf(line, sizeof line, "%d;\xd0\xe5\xe3\xe8\xee\xed %d;\xc3\xee\xf0\xee\xe4 %d;%02d;%03d;AB;AB;%02dAB\r\n", i, i,
                          i, i, i * 3, i);
            text += line;
        }
        Write(DataFiles::RegionsFile, text);
        text.clear();
        for (int i = 1; i <= DistrictCount; ++i) {
            std::snprintf(line, sizeof line, "%d;\xce\xea\xf0\xf3\xe3 %d;\xd6\xe5\xed\xf2\xf0 %d;%d\r\n", i, i, i, i);
            text += line;
        }
        Write(DataFiles::FederalPartsFile, text);
        text.clear();
        for (int i = 1; i <= ResearchCount; ++i) {
            std::snprintf(line, sizeof line, "%d;\xc8\xf1\xf1\xeb\xe5\xe4\xee\xe2\xe0\xed\xe8\xe5 %d;%d;%d\r\n", i, i, Federal(i),
                          !Logical(i));
            text += line;
        }
        Write(DataFiles::ResearchRegisterFile, text);

        // The lines of each research together, as saves leave them.
        text.clear();
        text.reserve(size_t(MeasurementLines) * 44);
        for (int r = 1; r <= ResearchCount; ++r) {
            const bool federal = Federal(r);
            const bool logical = Logical(r);
            for (int k = 1; k <= LinesOf(r); ++k) {
                const int place = 1 + (k - 1) % (federal ? DistrictCount : RegionCount);
                const int day = 1 + int(random() % 28), month = 1 + int(random() % 12), year = 1995 + int(random() % 15);
                const int seconds = int(random() % 86400);
                const unsigned value = unsigned(random() % 10000000);
                if (logical)
                    std::snprintf(line, sizeof line, "%d;%d;%d;%02d.%02d.%04d;%02d:%02d:%02d;%u\r\n", k, r, place, day, month,
                                  year, seconds / 3600, seconds / 60 % 60, seconds % 60, value % 2);
                else {
                    // Two decimals at most, trailing zeros dropped: the form the writer gives.
                    char number[24];
                    if (value % 100 == 0) std::snprintf(number, sizeof number, "%u", value / 100);
                    else if (value % 10 == 0) std::snprintf(number, sizeof number, "%u,%u", value / 100, value % 100 / 10);
                    else std::snprintf(number, sizeof number, "%u,%02u", value / 100, value % 100);
                    std::snprintf(line, sizeof line, "%d;%d;%d;%02d.%02d.%04d;%02d:%02d:%02d;%s\r\n", k, r, place, day, month,
                                  year, seconds / 3600, seconds / 60 % 60, seconds % 60, number);
                }
                text += line;
            }
        }
        Write(DataFiles::MeasurementsFile, text);
        measurementsSize_ = qint64(text.size());
    }

    static bool Federal(int r) { return r % 5 == 0; }
    static bool Logical(int r) { return r % 7 == 0; }
    QString Path(const QString& name) const { return DataFiles::PathOf(name); }
    qint64 MeasurementsSize() const { return measurementsSize_; }

private:
    void Write(const QString& name, const std::string& bytes)
    {
        QFile file(DataFiles::PathOf(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size()))
            std::abort();
    }

    QTemporaryDir dir_;
    qint64 measurementsSize_ = 0;
};

Database& Db()
{
    static Database db;
    return db;
}

// Peak resident memory in bytes; ResetPeak starts a new peak at the current size.
double StatusBytes(const char* key)
{
    QFile file(QStringLiteral("/proc/self/status"));
    if (!file.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : file.readAll().split('\n'))
        if (line.startsWith(key)) return line.mid(int(qstrlen(key))).trimmed().split(' ').value(0).toDouble() * 1024;
    return 0;
}
void ResetPeak()
{
    QFile file(QStringLiteral("/proc/self/clear_refs"));
    if (file.open(QIODevice::WriteOnly)) file.write("5");
}

void SetRate(benchmark::State& state, qint64 bytes)
{
    state.SetBytesProcessed(int64_t(state.iterations()) * bytes);
    state.counters["MB/s"] = benchmark::Counter(double(bytes) / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}

// Resident memory of one load over the file's size, measured once on a fresh heap: the peak
// while loading (the mapped file included) less what the process held before.
double PeakOverFile(const QString& path, qint64 fileSize)
{
    static double ratio = -1;
    if (ratio >= 0) return ratio;
    malloc_trim(0);
    const double base = StatusBytes("VmRSS:");
    ResetPeak();
    {
        TOResearches list;
        list.Add();
        DataFiles::LoadAllMeasurements(path, list);
        ratio = (StatusBytes("VmHWM:") - base) / double(fileSize);
    }
    malloc_trim(0);
    return ratio;
}

void BM_LoadAllMeasurements(benchmark::State& state)
{
    Database& db = Db();
    const QString path = db.Path(DataFiles::MeasurementsFile);
    const double ratio = PeakOverFile(path, db.MeasurementsSize());
    for (auto _ : state) {
        TOResearches list;
        list.Add();
        const DataFiles::LoadResult r = DataFiles::LoadAllMeasurements(path, list);
        if (!r.Complete || list.Count() != MeasurementLines + 1) state.SkipWithError("incomplete load");
        state.PauseTiming();  // freeing the list is not reading
        list.Clear();
        state.ResumeTiming();
    }
    SetRate(state, db.MeasurementsSize());
    state.counters["file_MB"] = double(db.MeasurementsSize()) / 1e6;
    state.counters["peak_over_file"] = ratio;
}

void BM_SaveAllMeasurements(benchmark::State& state)
{
    Database& db = Db();
    TOResearches list;
    list.Add();
    DataFiles::LoadAllMeasurements(db.Path(DataFiles::MeasurementsFile), list);
    const QString out = db.Path(QStringLiteral("written.txt"));
    for (auto _ : state) DataFiles::SaveAllMeasurements(out, list);
    const qint64 size = QFileInfo(out).size();
    SetRate(state, size);
    // The sample is in the forms the writer uses, so the rewrite gives the same bytes.
    QFile a(out), b(db.Path(DataFiles::MeasurementsFile));
    if (!a.open(QIODevice::ReadOnly) || !b.open(QIODevice::ReadOnly) || a.readAll() != b.readAll())
        state.SkipWithError("rewrite differs from the file read");
}

// The measurements window's load: one research out of the whole file.
void BM_LoadMeasurementsOfOneResearch(benchmark::State& state)
{
    Database& db = Db();
    const QString path = db.Path(DataFiles::MeasurementsFile);
    for (auto _ : state) {
        TOResearches list;
        list.Add();
        DataFiles::LoadMeasurements(path, WindowResearch, list);
        if (list.Count() != WindowLines + 1) state.SkipWithError("wrong count");
    }
    SetRate(state, db.MeasurementsSize());
}

// The measurements window's save: every other line kept, the research's lines appended.
void BM_SaveMeasurementsOfOneResearch(benchmark::State& state)
{
    Database& db = Db();
    const QString path = db.Path(QStringLiteral("copy.txt"));
    QFile::remove(path);
    QFile::copy(db.Path(DataFiles::MeasurementsFile), path);
    TOResearches list;
    list.Add();
    DataFiles::LoadMeasurements(path, WindowResearch, list);
    for (auto _ : state) DataFiles::SaveMeasurements(path, WindowResearch, list);
    SetRate(state, QFileInfo(path).size());
}

// The research dialog's level and kind, as a regional numeric research shows them.
class Choice : public TResearchChoice {
public:
    int ChosenLevel() const override { return 0; }
    int ChosenKind() const override { return 1; }
    void MeasurementsSaved(int, int) override {}
};

// Opening the window: load the research's lines, name the places, fill the grid (word wrap off
// or on, which measures every row).
void BM_OpenMeasurementsWindow(benchmark::State& state)
{
    Database& db = Db();
    AppConfig->WordWrap = state.range(0) != 0;
    AppConfig->RowHeight = 20;
    Choice choice;
    for (auto _ : state) {
        auto window = std::make_unique<TfrmEditStUnit41>(&choice);
        window->PreFillRec(WindowResearch);
        if (window->StringGrid1->RowCount() != WindowLines + 1 || window->StringGrid1->Cell(1, 1).isEmpty())
            state.SkipWithError("wrong grid");
        state.PauseTiming();  // closing the window is not opening it
        window.reset();
        state.ResumeTiming();
    }
    AppConfig->WordWrap = false;
    state.counters["rows"] = WindowLines;
    (void)db;
}

// OK after one change: the whole file rewritten once, the research's lines at its end.
void BM_MeasurementsWindowOk(benchmark::State& state)
{
    Database& db = Db();
    const QString path = db.Path(DataFiles::MeasurementsFile);
    Choice choice;
    TfrmEditStUnit41 window(&choice);
    window.PreFillRec(WindowResearch);
    for (auto _ : state) {
        window.MesList->Items(1).Value += 1;
        window.MesList->Modified = true;
        if (!window.SaveRecs()) state.SkipWithError("save failed");
    }
    SetRate(state, QFileInfo(path).size());
}

// The research dialog's check for measurements of a research whose first line is near the start.
void BM_CheckMes(benchmark::State& state)
{
    Database& db = Db();
    const QString path = db.Path(QStringLiteral("check.txt"));
    QFile::remove(path);
    QFile::copy(db.Path(DataFiles::MeasurementsFile), path);
    for (auto _ : state)
        if (!DataFiles::HasMeasurements(path, 1)) state.SkipWithError("not found");
}

}  // namespace

BENCHMARK(BM_LoadAllMeasurements)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_SaveAllMeasurements)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_LoadMeasurementsOfOneResearch)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_SaveMeasurementsOfOneResearch)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_OpenMeasurementsWindow)->Arg(0)->Arg(1)->ArgName("wordwrap")->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_MeasurementsWindowOk)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_CheckMes)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    Db();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
