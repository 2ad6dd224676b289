// Speed of the map window: a 4096 x 4096 picture with 85 areas and a measurements file of a
// million lines. Targets on one core: opening under 150 ms, choosing a research right after the
// measurements changed under 40 ms, one hover under 1 ms.
#include "AppConfig.h"
#include "DataFiles.h"
#include "Pictures.h"
#include "Regional.h"
#include "ViewOnMap.h"

#include <QApplication>
#include <QByteArray>
#include <QComboBox>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <cmath>
#include <memory>

namespace {

constexpr int MapSize = 4096;
constexpr int Columns = 17;
constexpr int Rows = 5;  // 85 areas
constexpr int Researches = 20;
constexpr int MeasurementLines = 1000000;

struct Fixture {
    QTemporaryDir dir;
    std::unique_ptr<TfrmGraphForm> form;

    Fixture()
    {
        TAppConfig& cfg = EnsureAppConfig();
        cfg.Delimiter = QStringLiteral(";");
        cfg.CommentChar = QStringLiteral("#");
        cfg.DBPath = dir.path();
        cfg.MapFile = dir.filePath(QStringLiteral("map.bmp"));
        cfg.Bgc3 = 15335378;
        cfg.Bgc4 = 12303359;
        Regional::Set(Regional::Neutral());

        // Areas separated by 1-pixel black lines; the column borders wave, so that the runs of
        // an area differ from row to row as on a real map.
        QImage map(MapSize, MapSize, QImage::Format_RGB32);
        map.fill(Qt::white);
        const int cw = MapSize / Columns;
        const int rh = MapSize / Rows;
        for (int y = 0; y < MapSize; ++y) {
            QRgb* line = reinterpret_cast<QRgb*>(map.scanLine(y));
            for (int c = 1; c < Columns; ++c) {
                const int x = c * cw + int(40 * std::sin(y / 97.0 + c));
                line[x] = 0xFF000000;
            }
            if (y % rh == 0 && y > 0)
                for (int x = 0; x < MapSize; ++x) line[x] = 0xFF000000;
        }
        Pictures::SaveBitmap(map, cfg.MapFile);

        QByteArray links;
        for (int r = 0; r < Rows; ++r)
            for (int c = 0; c < Columns; ++c) {
                const int id = r * Columns + c + 1;
                links += "0;" + QByteArray::number(id) + ';' + QByteArray::number(c * cw + cw / 2) + ';' +
                         QByteArray::number(r * rh + rh / 2) + "\r\n";
            }
        WriteFile(QStringLiteral("ksLinksToMap.txt"), links);

        QByteArray regions;
        for (int id = 1; id <= Rows * Columns; ++id) regions += QByteArray::number(id) + ";Region " + QByteArray::number(id) + ";Capital\r\n";
        WriteFile(QStringLiteral("ksRegions.txt"), regions);

        QByteArray register_;
        for (int i = 1; i <= Researches; ++i)
            register_ += QByteArray::number(i) + ";Research " + QByteArray::number(i) + ";0;1\r\n";
        WriteFile(QStringLiteral("ksResearchRegister.txt"), register_);

        QByteArray mes;
        mes.reserve(40 * MeasurementLines);
        for (int i = 0; i < MeasurementLines; ++i) {
            const int research = i % Researches + 1;
            const int place = (i / Researches) % (Rows * Columns) + 1;
            // Neighbouring researches run opposite ways, so a switch recolours nearly every area.
            const int base = (place * 37 + i / 7919) % 1000;
            const int value = research % 2 ? base : 999 - base;
            mes += QByteArray::number(i / Researches + 1) + ';' + QByteArray::number(research) + ';' +
                   QByteArray::number(place) + ";01.02.2005;10:00:00;" + QByteArray::number(value) + ".5\r\n";
        }
        WriteFile(QStringLiteral("ksMesurements.txt"), mes);

        form = std::make_unique<TfrmGraphForm>();
        form->Load();
    }

    void WriteFile(const QString& name, const QByteArray& bytes)
    {
        QFile f(dir.filePath(name));
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) qFatal("cannot write %s", qPrintable(name));
    }

    void Choose(int index)
    {
        form->ComboBox1->setCurrentIndex(index);
        form->ComboBox1Change();
    }

    // A new modification time: the window must read the file again.
    void Touch()
    {
        static long tick = 0;
        const QByteArray path = QFile::encodeName(dir.filePath(QStringLiteral("ksMesurements.txt")));
        timespec times[2] = {{0, UTIME_OMIT}, {1000000000 + ++tick, 0}};
        utimensat(AT_FDCWD, path.constData(), times, 0);
    }
};

Fixture& Shared()
{
    static Fixture fixture;
    return fixture;
}

// Switching between researches with the file already read once.
void BM_ChooseResearch(benchmark::State& state)
{
    Fixture& f = Shared();
    f.Choose(0);
    f.Choose(1);
    int i = 0;
    for (auto _ : state) f.Choose(i++ % 2);
}
BENCHMARK(BM_ChooseResearch)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The same with the file changed before every choice, so each one reads it in full.
void BM_ChooseResearchFileChanged(benchmark::State& state)
{
    Fixture& f = Shared();
    int i = 0;
    for (auto _ : state) {
        state.PauseTiming();
        f.Touch();
        state.ResumeTiming();
        f.Choose(i++ % 2);
    }
}
BENCHMARK(BM_ChooseResearchFileChanged)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Opening the window: the picture, the links, the register and the areas of the links.
void BM_OpenWindow(benchmark::State& state)
{
    Shared();
    for (auto _ : state) {
        TfrmGraphForm form;
        form.Load();
    }
}
BENCHMARK(BM_OpenWindow)->Unit(benchmark::kMillisecond)->Iterations(5);

// One hover over the map with a research chosen: hit test, name, value and the hint's text.
void BM_Hover(benchmark::State& state)
{
    Fixture& f = Shared();
    f.Choose(0);
    const int cw = MapSize / Columns;
    int i = 0;
    f.form->Image2MouseMove(cw / 2, 100);
    for (auto _ : state) {
        const int k = i++ % (Rows * Columns);
        f.form->Image2MouseMove((k % Columns) * cw + cw / 3, (k / Columns) * (MapSize / Rows) + 200);
    }
}
BENCHMARK(BM_Hover)->Unit(benchmark::kMicrosecond);

// The first hover after ksMesurements.txt changed: the file is read again for the value.
void BM_FirstHoverAfterMeasurementsChange(benchmark::State& state)
{
    Fixture& f = Shared();
    f.Choose(0);
    for (auto _ : state) {
        state.PauseTiming();
        f.Touch();
        state.ResumeTiming();
        f.form->Image2MouseMove(100, 100);
    }
}
BENCHMARK(BM_FirstHoverAfterMeasurementsChange)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// For comparison: one hover done by rereading everything, as the plain algorithm does.
void BM_HoverRereadingTheFiles(benchmark::State& state)
{
    Fixture& f = Shared();
    const TAppConfig& cfg = EnsureAppConfig();
    for (auto _ : state) {
        QImage probe = Pictures::LoadFromFile(cfg.MapFile);
        Pictures::FloodFillSurface(probe, 100, 100, 0xFFFFFF, cfg.Bgc4);
        int id = 0;
        for (int i = 0; i < f.form->Points->Count() && !id; ++i) {
            const auto& p = f.form->Points->Items(i);
            if (p.Level == 0 && Pictures::PixelColor(probe, p.X, p.Y) == cfg.Bgc4) id = p.PlaceID;
        }
        QString name;
        for (const auto& [place, text] : DataFiles::ReadPlaceNames(DataFiles::PathOf(DataFiles::RegionsFile)))
            if (place == id) { name = text; break; }
        TOResearches values;
        values.Add();
        DataFiles::LoadMeasurements(DataFiles::PathOf(DataFiles::MeasurementsFile), 1, values);
        benchmark::DoNotOptimize(name);
    }
}
BENCHMARK(BM_HoverRereadingTheFiles)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
