// Laying out and printing an 8-column grid to PDF at two sizes, to show that the time grows
// linearly with the rows.
#include "AppConfig.h"
#include "Dialogs.h"
#include "GridPrintJob.h"
#include "Printer.h"
#include "Regional.h"
#include "StringGrid.h"

#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

void PrintGrid(benchmark::State& state)
{
    const int rows = int(state.range(0));
    QTemporaryDir dir;
    TAppConfig& c = EnsureAppConfig();
    c = TAppConfig();
    c.AppDir = dir.path() + QStringLiteral("/");
    c.FontName = QStringLiteral("DejaVu Sans");
    c.Scale = 100;
    c.BoldLine = 2;
    c.RegLine = 1;
    c.PrintPageNum = true;
    c.PrintSubtitle = true;
    c.WordWrap = true;
    c.LeftMargin = c.TopMargin = c.BottomMargin = 100;
    qputenv("KESTROVA_PDF", dir.filePath(QStringLiteral("bench.pdf")).toLocal8Bit());
    TPrinter& printer = Printer();
    printer.SetPrinterIndex(int(printer.Printers().size()) - 1);

    StringGrid grid;
    grid.resize(800, 600);
    grid.SetColCount(8);
    grid.SetRowCount(rows + 1);
    grid.SetFixedRows(1);
    for (int col = 0; col < 8; ++col) grid.SetCell(col, 0, QStringLiteral("Столбец %1").arg(col));
    for (int r = 1; r <= rows; ++r)
        for (int col = 0; col < 8; ++col) grid.SetCell(col, r, QStringLiteral("Ячейка %1.%2").arg(r).arg(col));

    GridPrintJob::Options options;
    options.Title = QStringLiteral("РЕГИОНЫ");
    options.Subtitle = QStringLiteral("Дата распечатки 01.01.2024 12:00:00");
    int pages = 0;
    for (auto _ : state) {
        pages = GridPrintJob::Build(grid, options);
        GridPrintJob::PrintPages(1);
        GridPrintJob::Free();
    }
    state.counters["pages"] = pages;
    qunsetenv("KESTROVA_PDF");
}

}  // namespace

BENCHMARK(PrintGrid)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Regional::Set(Regional::Neutral());
    Dialogs::ScriptedHandler dialogs;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
