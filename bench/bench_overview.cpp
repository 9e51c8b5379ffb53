// Timings with a full catch file: the catch overview's load and filter,
// the library sort against the literal exchange sort on the same lines, and
// writing the printed catch list of every catch.
#include "BenchData.h"
#include "BenchSupport.h"

#include "platform/Clock.h"
#include "platform/Env.h"
#include "reports/Printouts.h"
#include "store/RecordFile.h"
#include "store/Sort.h"
#include "ui/App.h"
#include "ui/frmFangUebersicht.h"

#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTranslator>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

constexpr int kRecords = 32767;

struct Program {
    QTemporaryDir dir;
    FixedClock clock { benchNow() };
    ScriptedDialogs dialogs; // nothing is expected: any question is a fault
    std::unique_ptr<App> app;
    frmFangÜbersicht* overview = nullptr;
    QStringList entryOrder; // the catch file's items as stored, for the sorts
};

Program* program = nullptr;
double referenceSeconds = 0;
double speedUp = 0;
bool sameOrder = false;
QStringList referenceResult;

// The printed catch list of the whole overview: its lines gathered, read
// as records, the page built, encoded and written. What the browser does
// with it is not the program's time. Its budget is a ratio to the floor,
// measured before each print so that a busy machine slows both alike.
constexpr double kPrintBudget = 8.0;
Sample printMs;
Sample printFloorMs;
qint64 printedBytes = 0;
int printFaults = 0;

// Answers the count question with "0" (every entry) and nothing else.
class PrintAll final : public Dialogs {
public:
    int questions = 0;
    MsgResult message(const QString&, MsgIcon, MsgButtons, const QString&) override
    {
        ++printFaults;
        return MsgResult::Cancel;
    }
    QString input(const QString&, const QString&, const QString&) override
    {
        ++questions;
        return QStringLiteral("0");
    }
    QString openFile(const QString&, const QString&, const QString&) override { return {}; }
    QString saveFile(const QString&, const QString&, const QString&) override { return {}; }
    QString chooseFolder(const QString&, const QString&) override { return {}; }
};

class CountingShell final : public Shell {
public:
    int opened = 0;
    bool open(const QString&) override
    {
        ++opened;
        return true;
    }
    bool startProgram(const QString&) override { return false; }
};

void BM_PrintCatchList(benchmark::State& state)
{
    frmFangÜbersicht* w = program->overview;
    if (w->filterMode())
        w->cmdOK_Click();
    PrintAll answers;
    CountingShell shell;
    const Env env { program->dir.path(), &program->clock, &answers, &shell };
    for (auto _ : state) {
        printFloorMs.add(readAndSplitLogsMs(program->dir.path()));
        QElapsedTimer t;
        t.start();
        const QStringList all = w->fängeLines();
        PrintCatchList(env, all, all);
        const double ms = elapsedMs(t);
        printMs.add(ms);
        state.SetIterationTime(ms / 1000.0);
    }
    const QFileInfo page(program->dir.filePath(kCatchPageFile));
    printedBytes = page.size();
    if (shell.opened != answers.questions || !page.exists())
        ++printFaults;
    state.counters["catches"] = double(w->fängeLines().size() - 2);
}

void BM_LoadAndCreateBar(benchmark::State& state)
{
    frmFangÜbersicht* w = program->overview;
    if (w->filterMode())
        w->cmdOK_Click();
    w->show();
    for (auto _ : state) {
        w->Form_Load();
        settle();
    }
    state.counters["catches"] = double(w->fängeLines().size() - 2);
}

void BM_Filter(benchmark::State& state, const char* expression)
{
    frmFangÜbersicht* w = program->overview;
    if (!w->filterMode())
        w->OpenInFilterMode();
    w->txtFilter->setText(QString::fromUtf8(expression));
    for (auto _ : state) {
        w->cmdFilter_Click();
        settle();
    }
    state.counters["listed"] = double(w->filterLines().size() - 2);
}

void BM_ExchangeSortReference(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        QStringList lines = program->entryOrder;
        lines.detach();
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        BubbleSortReference(lines, std::nullopt, true);
        referenceSeconds
            = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.PauseTiming();
        referenceResult = lines;
        state.ResumeTiming();
    }
}

void BM_BubbleSort(benchmark::State& state)
{
    double total = 0;
    qint64 runs = 0;
    QStringList result;
    for (auto _ : state) {
        state.PauseTiming();
        QStringList lines = program->entryOrder;
        lines.detach();
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        BubbleSort(lines, std::nullopt, true);
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        ++runs;
        state.PauseTiming();
        result = lines;
        state.ResumeTiming();
    }
    sameOrder = result == referenceResult;
    if (runs > 0 && referenceSeconds > 0) {
        speedUp = referenceSeconds / (total / double(runs));
        state.counters["speedup"] = speedUp;
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    quietOffscreenNotes();
    QApplication qapp(argc, argv);
    QTranslator qtGerman;
    setUpGermanApplication(qtGerman);
    benchmark::Initialize(&argc, argv);

    Program p;
    program = &p;
    const FolderContents c = fillProgramFolder(p.dir.path(), kRecords);
    p.entryOrder = ReadItems(catchFile(p.dir.path()));
    std::printf("Program folder: %d catches, %d photos, %d purchases\n", int(p.entryOrder.size()),
        c.photos, c.purchases);

    p.app = std::make_unique<App>(Env { p.dir.path(), &p.clock, &p.dialogs, nullptr }, [] {});
    p.app->uebersicht = p.overview = p.app->createOverview();

    benchmark::RegisterBenchmark("Overview/LoadAndCreateBar", BM_LoadAndCreateBar)
        ->Unit(benchmark::kMillisecond)
        ->MinTime(2.0);
    for (const char* expression : { "hecht", "*", "kg>5", "" }) {
        const std::string name = std::string("Overview/Filter/\"") + expression + "\"";
        benchmark::RegisterBenchmark(name.c_str(), BM_Filter, expression)
            ->Unit(benchmark::kMillisecond)
            ->MinTime(1.0);
    }
    // The exchange sort of 32,767 lines takes a long time: it runs once.
    benchmark::RegisterBenchmark("Sort/ExchangeSortReference", BM_ExchangeSortReference)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1);
    benchmark::RegisterBenchmark("Sort/BubbleSort", BM_BubbleSort)
        ->Unit(benchmark::kMillisecond)
        ->MinTime(1.0);
    benchmark::RegisterBenchmark("Print/CatchList", BM_PrintCatchList)
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime()
        ->MinTime(2.0);
    benchmark::RunSpecifiedBenchmarks();

    if (speedUp > 0) {
        std::printf(
            "\nSorting %d catch lines descending: exchange sort %.1f s, BubbleSort %.2f ms, "
            "speed-up %.0fx, same order: %s\n",
            int(p.entryOrder.size()), referenceSeconds, referenceSeconds / speedUp * 1000.0,
            speedUp, sameOrder ? "yes" : "NO");
    }
    bool printOk = true;
    if (printMs.median() >= 0) {
        const double floorMs = printFloorMs.median();
        const double ratio = printMs.median() / floorMs;
        printOk = printFaults == 0 && floorMs > 0 && ratio <= kPrintBudget;
        std::printf("Printed catch list of %d catches (%.1f MB page): %.1f ms, %.2fx the floor of "
                    "reading and splitting the logs (%.1f ms); budget %.1fx: %s\n",
            int(p.overview->fängeLines().size() - 2), double(printedBytes) / 1e6, printMs.median(),
            ratio, floorMs, kPrintBudget, printFaults ? "FAULT" : (printOk ? "pass" : "FAIL"));
    }
    p.app.reset();
    benchmark::Shutdown();
    // A question during a load or filter would mean it did not run through.
    const bool ok = p.dialogs.faults() == 0 && (speedUp <= 0 || sameOrder) && printOk;
    return ok ? 0 : 1;
}
