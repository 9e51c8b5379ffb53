// Timings with a full catch file: the overview's load, filter and delete,
// and the library sort against the literal exchange sort on the same lines.
#include "BenchData.h"

#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Env.h"
#include "platform/Paths.h"
#include "store/RecordFile.h"
#include "store/Sort.h"
#include "ui/App.h"
#include "ui/TabListView.h"
#include "ui/frmFangÜbersicht.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

constexpr int kRecords = 32767;

// Confirms every question, so a delete runs through.
class YesDialogs final : public Dialogs {
public:
    MsgResult message(const QString&, MsgIcon, MsgButtons buttons, const QString&) override
    {
        return buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoCancel ? MsgResult::Yes
                                                                                  : MsgResult::Ok;
    }
    QString input(const QString&, const QString&, const QString&) override { return {}; }
    QString openFile(const QString&, const QString&, const QString&) override { return {}; }
    QString saveFile(const QString&, const QString&, const QString&) override { return {}; }
};

struct Program {
    QTemporaryDir dir;
    FixedClock clock;
    YesDialogs dialogs;
    std::unique_ptr<App> app;
    frmFangÜbersicht* overview = nullptr;
    QStringList entryOrder; // the catch file's items as stored, for the sorts
    int photos = 0;
};

Program* program = nullptr;
double referenceSeconds = 0;
double speedUp = 0;
bool sameOrder = false;
QStringList referenceResult;

void settle()
{
    // Layout and painting the list views schedule for later are part of
    // what the user waits for.
    QCoreApplication::processEvents();
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

// Times Delete on lines spread over the list, with and without photos;
// selecting the line is not timed.
void deleteSpreadRows(benchmark::State& state, frmFangÜbersicht* w)
{
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const int row = 2 + (n++ * 7919) % (w->lstFänge->count() - 2);
        w->lstFänge->setCurrentIndex(w->lstFänge->model()->index(row, 0));
        settle();
        state.ResumeTiming();
        w->cmdDelete_Click();
        settle();
    }
    state.counters["catches_left"] = double(w->fängeLines().size() - 2);
}

void BM_Delete(benchmark::State& state)
{
    frmFangÜbersicht* w = program->overview;
    if (w->filterMode())
        w->cmdOK_Click();
    w->show();
    deleteSpreadRows(state, w);
}

// The same delete in the whole program: the refresh that follows also
// reloads the cost window and recomputes the main window's figures.
void BM_DeleteInProgram(benchmark::State& state)
{
    Program whole;
    fillProgramFolder(whole.dir.path(), kRecords);
    whole.app = std::make_unique<App>(
        Env { whole.dir.path(), &whole.clock, &whole.dialogs, nullptr }, [] {});
    whole.app->Main();
    frmFangÜbersicht* w = whole.app->uebersicht;
    w->show();
    settle();
    deleteSpreadRows(state, w);
    whole.app.reset();
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
    QApplication qapp(argc, argv);
    benchmark::Initialize(&argc, argv);

    Program p;
    program = &p;
    p.photos = fillProgramFolder(p.dir.path(), kRecords);
    p.entryOrder = ReadItems(hostPath(p.dir.path(), u"db\\fänge\\db"_s));
    std::printf("Program folder: %d catches, %d photos, %d purchases\n", int(p.entryOrder.size()),
        p.photos, kRecords);

    p.app = std::make_unique<App>(Env { p.dir.path(), &p.clock, &p.dialogs, nullptr }, [] {});
    p.app->uebersicht = p.overview = new frmFangÜbersicht(*p.app);

    benchmark::RegisterBenchmark("Overview/LoadAndCreateBar", BM_LoadAndCreateBar)
        ->Unit(benchmark::kMillisecond)
        ->MinTime(2.0);
    for (const char* expression : { "hecht", "*", "kg>5", "" }) {
        const std::string name = std::string("Overview/Filter/\"") + expression + "\"";
        benchmark::RegisterBenchmark(name.c_str(), BM_Filter, expression)
            ->Unit(benchmark::kMillisecond)
            ->MinTime(1.0);
    }
    benchmark::RegisterBenchmark("Overview/Delete", BM_Delete)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(20);
    benchmark::RegisterBenchmark("Program/DeleteWithRefresh", BM_DeleteInProgram)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(10);
    // The exchange sort of 32,767 lines takes a long time: it runs once.
    benchmark::RegisterBenchmark("Sort/ExchangeSortReference", BM_ExchangeSortReference)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1);
    benchmark::RegisterBenchmark("Sort/BubbleSort", BM_BubbleSort)
        ->Unit(benchmark::kMillisecond)
        ->MinTime(1.0);
    benchmark::RunSpecifiedBenchmarks();

    if (speedUp > 0) {
        std::printf(
            "\nSorting %d catch lines descending: exchange sort %.1f s, BubbleSort %.2f ms, "
            "speed-up %.0fx, same order: %s\n",
            int(p.entryOrder.size()), referenceSeconds, referenceSeconds / speedUp * 1000.0,
            speedUp, sameOrder ? "yes" : "NO");
    }
    p.app.reset();
    benchmark::Shutdown();
    return 0;
}
