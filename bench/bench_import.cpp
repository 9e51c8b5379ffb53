// The CSV imports of both logs at capacity: a file of 32767 lines read into
// the preview (read, split, every line checked against a full log), and the
// checked lines imported into an empty log (safety copy and the one write).
// Budgets are ratios to the floor (reading and splitting both log files,
// measured before each timed run), so that a busy machine slows figure and
// floor alike.
// Exits non-zero when a figure misses its budget or a line was lost.
#include "BenchData.h"
#include "BenchSupport.h"

#include "app/CsvImportRun.h"
#include "export/CsvExport.h"
#include "export/CsvImport.h"
#include "platform/Clock.h"
#include "platform/ErrorLog.h"
#include "platform/FileOps.h"
#include "store/Logbook.h"
#include "ui/LogListModel.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

constexpr int kCapacity = 32767;
// With a floor of about 18.5 ms at capacity on a quiet machine: at most
// 300 ms for the preview and 500 ms for the import.
constexpr double kPreviewBudget = 16.0;
constexpr double kImportBudget = 27.0;

struct Bench {
    QTemporaryDir full; // logs at capacity, what the preview checks against
    QTemporaryDir empty; // empty logs, what the import fills
    QTemporaryDir out;
    FixedClock clock { benchNow() };
    ScriptedDialogs dialogs; // nothing is asked: any question is a fault
    Env fullEnv, emptyEnv;
    std::unique_ptr<Logbook> fullLog, emptyLog;
    QString csv[2]; // catches, costs
    CsvCheck checked[2];
    Sample floor, preview[2], import[2];
    int faults = 0;
};

Bench* bench = nullptr;

void fault(const char* what)
{
    ++bench->faults;
    std::fprintf(stderr, "FAULT: %s\n", what);
}

QStringList itemsOf(const Logbook& log, CsvLog which)
{
    QStringList items;
    const bool catches = which == CsvLog::Catches;
    for (int row = 0; row < (catches ? log.catchCount() : log.costCount()); ++row)
        items.append(catches ? log.catchItem(row) : log.costItem(row));
    return items;
}

template <class Action> void timeRuns(benchmark::State& state, Sample& sample, Action&& action)
{
    for (auto _ : state) {
        bench->floor.add(readAndSplitLogsMs(bench->fullEnv.programDir));
        QElapsedTimer t;
        t.start();
        action();
        const double ms = elapsedMs(t);
        sample.add(ms);
        state.SetIterationTime(ms / 1000.0);
    }
}

void preview(benchmark::State& state, CsvLog which)
{
    const int k = which == CsvLog::Catches ? 0 : 1;
    timeRuns(state, bench->preview[k], [&] {
        QByteArray bytes;
        if (!ReadCsvFile(bench->csv[k], bytes))
            fault("the CSV file could not be read");
        const CsvSheet sheet = ReadCsvSheet(bytes);
        bench->checked[k] = CheckCsvSheet(bench->fullEnv, which, sheet,
            MatchCsvColumns(which, sheet.header), itemsOf(*bench->fullLog, which));
    });
    if (bench->checked[k].items.size() != kCapacity || bench->checked[k].duplicates != kCapacity)
        fault("the preview did not read every line as one the log holds");
}

void import(benchmark::State& state, CsvLog which)
{
    const int k = which == CsvLog::Catches ? 0 : 1;
    const QString file = which == CsvLog::Catches ? catchFile(bench->emptyEnv.programDir)
                                                  : costFile(bench->emptyEnv.programDir);
    const QStringList items = bench->checked[k].importItems(true);
    for (auto _ : state) {
        FileOps::replaceFile(file, {});
        bench->emptyLog->refresh(u"Bench"_s);
        bench->floor.add(readAndSplitLogsMs(bench->fullEnv.programDir));
        QElapsedTimer t;
        t.start();
        ErrorTrap trap(bench->emptyEnv, u"Bench"_s);
        const CsvImportResult r
            = ImportCsvItems(bench->emptyEnv, *bench->emptyLog, which, items, trap);
        const double ms = elapsedMs(t);
        bench->import[k].add(ms);
        state.SetIterationTime(ms / 1000.0);
        if (r.imported != kCapacity || lineCount(file) != kCapacity)
            fault("the import did not write every line");
    }
}

void BM_PreviewCatches(benchmark::State& s)
{
    preview(s, CsvLog::Catches);
}
void BM_PreviewCosts(benchmark::State& s)
{
    preview(s, CsvLog::Costs);
}
void BM_ImportCatches(benchmark::State& s)
{
    import(s, CsvLog::Catches);
}
void BM_ImportCosts(benchmark::State& s)
{
    import(s, CsvLog::Costs);
}

bool reportRow(const QString& figure, const Sample& sample, double budget)
{
    const double ms = sample.median();
    const double floorMs = bench->floor.median();
    return printFigureRow(
        figure, ms, floorMs, u"≤ %1×"_s.arg(budget, 0, 'f', 1), ms >= 0 && ms / floorMs <= budget);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication qapp(argc, argv);
    benchmark::Initialize(&argc, argv);

    Bench b;
    bench = &b;
    const FolderContents c = fillProgramFolder(b.full.path(), kCapacity);
    std::printf("Program folder: %d catches, %d purchases\n", c.catches, c.purchases);
    fillProgramFolder(b.empty.path(), 0);
    b.fullEnv = Env { b.full.path(), &b.clock, &b.dialogs, nullptr };
    b.emptyEnv = Env { b.empty.path(), &b.clock, &b.dialogs, nullptr };
    b.fullLog = std::make_unique<Logbook>(b.fullEnv);
    b.fullLog->refresh(u"Bench"_s);
    b.emptyLog = std::make_unique<Logbook>(b.emptyEnv);
    b.emptyLog->refresh(u"Bench"_s);

    // The files to import: the full logs as the program exports them.
    b.csv[0] = b.out.filePath(u"Faenge.csv"_s);
    b.csv[1] = b.out.filePath(u"Kosten.csv"_s);
    if (writeAtomically(b.csv[0], CatchesCsv(CatchOverviewLines(*b.fullLog)).bytes) != 0
        || writeAtomically(b.csv[1], CostsCsv(b.fullLog->costLines()).bytes) != 0)
        fault("the CSV files could not be written");

    auto add = [](const char* name, void (*fn)(benchmark::State&)) {
        benchmark::RegisterBenchmark(name, fn)
            ->Unit(benchmark::kMillisecond)
            ->UseManualTime()
            ->Iterations(10);
    };
    add("Import/PreviewCatches/32767", BM_PreviewCatches);
    add("Import/PreviewCosts/32767", BM_PreviewCosts);
    add("Import/ImportCatches/32767", BM_ImportCatches);
    add("Import/ImportCosts/32767", BM_ImportCosts);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    printFigureHead(u"Figure (median of 10 runs)"_s);
    bool ok = true;
    ok &= reportRow(u"Catches CSV into the preview, 32767"_s, b.preview[0], kPreviewBudget);
    ok &= reportRow(u"Costs CSV into the preview, 32767"_s, b.preview[1], kPreviewBudget);
    ok &= reportRow(u"Catches imported, 32767"_s, b.import[0], kImportBudget);
    ok &= reportRow(u"Costs imported, 32767"_s, b.import[1], kImportBudget);
    std::printf("Floor: reading, decoding and splitting both log files (a run before each timed "
                "run).\n");
    if (b.dialogs.faults() > 0)
        fault("a dialog was shown");
    return ok && b.faults == 0 ? 0 : 1;
}
