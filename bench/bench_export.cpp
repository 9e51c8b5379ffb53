// The CSV exports of both logs and the yearly report with full log files,
// each from the loaded log book to the file written: what the user waits
// for once the file is chosen. Each must take at most 300 ms; the floor
// (reading and splitting both files) is shown beside them for comparison.
// Exits non-zero when a figure misses its budget or an export wrote less
// than the log holds.
#include "BenchData.h"
#include "BenchSupport.h"

#include "export/CsvExport.h"
#include "export/Utf8Page.h"
#include "export/YearReport.h"
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
#include <map>

using namespace Qt::StringLiterals;

namespace {

constexpr int kCapacity = 32767;
constexpr double kBudgetMs = 300;

struct Bench {
    QTemporaryDir dir;
    QTemporaryDir out;
    FixedClock clock { benchNow() };
    ScriptedDialogs dialogs; // nothing is asked: any question is a fault
    Env env;
    std::unique_ptr<Logbook> log;
    int year = 0; // the year with the most catches
    QStringList oneYear; // every catch moved into that year
    Sample floor, catches, costs, report, reportOneYear;
    int faults = 0;
};

Bench* bench = nullptr;

void fault(const char* what)
{
    ++bench->faults;
    std::fprintf(stderr, "FAULT: %s\n", what);
}

template <class Action> void timeRuns(benchmark::State& state, Sample& sample, Action&& action)
{
    for (auto _ : state) {
        bench->floor.add(readAndSplitLogsMs(bench->env.programDir));
        QElapsedTimer t;
        t.start();
        action();
        const double ms = elapsedMs(t);
        sample.add(ms);
        state.SetIterationTime(ms / 1000.0);
    }
}

void BM_CatchesCsv(benchmark::State& state)
{
    const QString path = bench->out.filePath(u"Faenge.csv"_s);
    int rows = 0;
    timeRuns(state, bench->catches, [&] {
        const CsvFile csv = CatchesCsv(CatchOverviewLines(*bench->log));
        rows = csv.rows;
        if (writeAtomically(path, csv.bytes) != 0)
            fault("the catch export could not be written");
    });
    if (rows != bench->log->catchCount())
        fault("the catch export left out catches");
}

void BM_CostsCsv(benchmark::State& state)
{
    const QString path = bench->out.filePath(u"Kosten.csv"_s);
    int rows = 0;
    timeRuns(state, bench->costs, [&] {
        const CsvFile csv = CostsCsv(bench->log->costLines());
        rows = csv.rows;
        if (writeAtomically(path, csv.bytes) != 0)
            fault("the cost export could not be written");
    });
    if (rows != bench->log->costCount())
        fault("the cost export left out purchases");
}

void timeYearReport(benchmark::State& state, const QStringList& catchLines, Sample& sample)
{
    const QString path = bench->out.filePath(u"jahresbericht.html"_s);
    int catches = 0;
    timeRuns(state, sample, [&] {
        ErrorTrap trap(bench->env, u"Bench"_s);
        const YearReport r
            = MakeYearReport(bench->env, catchLines, bench->log->costLines(), bench->year, trap);
        catches = r.catches;
        if (WriteUtf8Page(path, YearReportPage(r, { u"17.05.2025"_s, u"1.0.0.2"_s, u"x"_s })) != 0)
            fault("the yearly report could not be written");
    });
    state.counters["catches of the year"] = catches;
    if (catches == 0)
        fault("the yearly report found no catches");
}

void BM_YearReport(benchmark::State& state)
{
    timeYearReport(state, CatchOverviewLines(*bench->log), bench->report);
}

// The most a year can hold: every catch of the full log in one year.
void BM_YearReportOneYear(benchmark::State& state)
{
    timeYearReport(state, bench->oneYear, bench->reportOneYear);
    if (bench->reportOneYear.ms.empty() || bench->oneYear.size() - 2 != kCapacity)
        fault("the one-year log is not full");
}

bool reportRow(const QString& figure, const Sample& sample)
{
    const double ms = sample.median();
    return printFigureRow(figure, ms, bench->floor.median(), u"≤ %1 ms"_s.arg(kBudgetMs, 0, 'f', 0),
        ms >= 0 && ms <= kBudgetMs);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication qapp(argc, argv);
    benchmark::Initialize(&argc, argv);

    Bench b;
    bench = &b;
    const FolderContents c = fillProgramFolder(b.dir.path(), kCapacity);
    std::printf("Program folder: %d catches, %d purchases\n", c.catches, c.purchases);
    b.env = Env { b.dir.path(), &b.clock, &b.dialogs, nullptr };
    b.log = std::make_unique<Logbook>(b.env);
    b.log->refresh(u"Bench"_s);
    std::map<int, int> perYear;
    for (int i = 0; i < b.log->catchCount(); ++i)
        ++perYear[b.log->catchLine(i).mid(8, 4).toInt()];
    for (const auto& [year, n] : perYear) {
        if (b.year == 0 || n > perYear[b.year])
            b.year = year;
    }

    b.oneYear = CatchOverviewLines(*b.log);
    for (qsizetype i = 2; i < b.oneYear.size(); ++i)
        b.oneYear[i].replace(8, 4, QString::number(b.year));

    auto add = [](const char* name, void (*fn)(benchmark::State&)) {
        benchmark::RegisterBenchmark(name, fn)
            ->Unit(benchmark::kMillisecond)
            ->UseManualTime()
            ->Iterations(10);
    };
    add("Export/CatchesCsv/32767", BM_CatchesCsv);
    add("Export/CostsCsv/32767", BM_CostsCsv);
    add("Export/YearReport/32767", BM_YearReport);
    add("Export/YearReportOneYear/32767", BM_YearReportOneYear);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    printFigureHead(u"Figure (median of 10 runs)"_s);
    bool ok = true;
    ok &= reportRow(u"Catches as CSV, written, 32767"_s, b.catches);
    ok &= reportRow(u"Costs as CSV, written, 32767"_s, b.costs);
    ok &= reportRow(u"Yearly report %1, written, 32767"_s.arg(b.year), b.report);
    ok &= reportRow(u"Yearly report, 32767 catches in the year"_s, b.reportOneYear);
    std::printf("Floor: reading, decoding and splitting both log files (a run before each timed "
                "run).\n");
    if (b.dialogs.faults() > 0)
        fault("a dialog was shown");
    return ok && b.faults == 0 ? 0 : 1;
}
