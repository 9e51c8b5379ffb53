// What the user waits for with full log files, each figure held against a
// floor measured in the same run: reading both log files and splitting them
// into records and fields. Budgets are ratios to that floor, so that a busy
// machine slows figure and floor alike; memory has a budget in megabytes.
//
//   start      a new process of the program to its filled main window
//   refresh    App::Änderung
//   saves      a catch through the entry window, a purchase through the
//              cost window, each with the refresh that follows
//   deletes    a catch from the catch overview, a purchase from the cost
//              window, the question answered "Ja", with the refresh
//   evaluation the evaluation window opened from the menu, and a switch of
//              its view or of its year or angler
//
// Exits non-zero when a figure misses its budget or a run did not do what
// it should (an unexpected dialog, an entry not saved or not deleted).
#include "BenchData.h"
#include "BenchSupport.h"

#include "platform/Clock.h"
#include "platform/Env.h"
#include "store/Numbers.h"
#include "ui/App.h"
#include "ui/TabListView.h"
#include "ui/TextFilters.h"
#include "ui/frmAddFish.h"
#include "ui/frmAddKosten.h"
#include "ui/frmAuswertung.h"
#include "ui/frmFangUebersicht.h"
#include "ui/frmHaupt.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTranslator>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

constexpr int kCapacity = 32767; // the most records a log file holds
constexpr int kScaling = 100000; // far beyond: does the start still grow linearly?

// Budgets as ratios to the floor: with a floor of about 17 ms at capacity,
// the user waits at most 25 ms for a refresh, 30 ms for a save, 50 ms for a
// delete with its refresh and 150 ms for the start, 100 ms for the
// evaluation window to open and 30 ms for it to switch a view or a choice.
constexpr double kRefreshBudget = 1.5;
constexpr double kOpenEvaluationBudget = 6.0;
constexpr double kSwitchEvaluationBudget = 1.8;
constexpr double kSaveBudget = 1.8;
constexpr double kDeleteBudget = 3.0;
constexpr double kStartBudget = 9.0;
constexpr double kPeakMemoryBudgetMB = 80;

struct Figures {
    Sample floorCapacity, floorScaling;
    Sample start, refresh, deleteCatch, saveCatch, deletePurchase, savePurchase, startScaling;
    Sample openEvaluation, switchEvaluation;
    double peakMB = -1, peakMBScaling = -1;
} figures;

// The folder at capacity: the new processes start on it first, then the
// program in this process works on it.
QTemporaryDir& capacityFolder()
{
    static QTemporaryDir dir;
    static bool filled = false;
    if (!filled) {
        const FolderContents c = fillProgramFolder(dir.path(), kCapacity);
        std::printf("Program folder: %d catches (%d photos), %d purchases\n", c.catches, c.photos,
            c.purchases);
        filled = true;
    }
    return dir;
}

QString catchCaption(int catches)
{
    return u"Gefangene Fische: %1"_s.arg(catches);
}

// ---------------------------------------------------------------- Start

struct ProcessRun {
    double shownMs = -1;
    double peakMB = -1;
};

// Starts the start probe (the program's own start, see bench_start.cpp)
// copied into the folder, and times it from outside up to the line that
// says the main window is shown and filled.
ProcessRun startProgramProcess(const QString& programDir, int catches)
{
    QProcess child;
    child.setProgram(QDir(programDir).filePath(u"kescherheft_bench_start"_s));
    child.setArguments({ catchCaption(catches) });
    child.setWorkingDirectory(programDir);
    ProcessRun run;
    QElapsedTimer t;
    t.start();
    child.start();
    QByteArray out;
    while (!out.contains('\n') && child.waitForReadyRead(30000))
        out += child.readAllStandardOutput();
    const double shownMs = elapsedMs(t);
    if (!out.contains('\n') || !child.waitForFinished(30000)) {
        child.kill();
        child.waitForFinished();
    }
    out += child.readAllStandardOutput();

    const QList<QByteArray> parts = out.left(out.indexOf('\n')).split('\t');
    if (parts.size() != 4 || parts[0] != "shown") {
        fault(u"the started program did not report its main window: "_s + QString::fromUtf8(out)
            + QString::fromUtf8(child.readAllStandardError()));
        return run;
    }
    const QString costCaption = QString::fromUtf8(parts[2]);
    if (!costCaption.startsWith(u"Angelkosten: ") || !costCaption.endsWith(u" €")
        || costCaption.startsWith(u"Angelkosten: 0"))
        fault(u"the started program shows no cost total: "_s + costCaption);
    if (child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
        fault(u"the started program ended with %1"_s.arg(child.exitCode()));
    run.shownMs = shownMs;
    run.peakMB = parts[3].toDouble() / 1024.0;
    return run;
}

void copyStartProbe(const QString& programDir)
{
    const QString target = QDir(programDir).filePath(u"kescherheft_bench_start"_s);
    if (!QFile::exists(target)
        && !QFile::copy(
            QDir(QCoreApplication::applicationDirPath()).filePath(u"kescherheft_bench_start"_s),
            target))
        qFatal("cannot copy the start probe into the program folder");
}

// One untimed start first: it brings the program's libraries and the
// folder's files into the page cache, as on a machine in daily use. A
// floor run goes before each start, so that both see the same load.
void timeStarts(benchmark::State& state, const QString& programDir, int catches, Sample& sample,
    Sample& floor, double& peakMB)
{
    copyStartProbe(programDir);
    if (startProgramProcess(programDir, catches).shownMs < 0) {
        state.SkipWithError("the program did not start");
        return;
    }
    for (auto _ : state) {
        floor.add(readAndSplitLogsMs(programDir));
        const ProcessRun run = startProgramProcess(programDir, catches);
        if (run.shownMs < 0) {
            state.SkipWithError("the program did not start");
            break;
        }
        sample.add(run.shownMs);
        peakMB = qMax(peakMB, run.peakMB);
        state.SetIterationTime(run.shownMs / 1000.0);
    }
}

void BM_StartCapacity(benchmark::State& state)
{
    timeStarts(state, capacityFolder().path(), kCapacity, figures.start, figures.floorCapacity,
        figures.peakMB);
}

void closeRunningProgram();

void BM_StartScaling(benchmark::State& state)
{
    // The program in this process is done with; its memory would only
    // slow the floor runs here.
    closeRunningProgram();
    QTemporaryDir dir;
    fillProgramFolder(dir.path(), kScaling);
    for (int i = 0; i < 8; ++i)
        figures.floorScaling.add(readAndSplitLogsMs(dir.path()));
    timeStarts(state, dir.path(), kScaling, figures.startScaling, figures.floorScaling,
        figures.peakMBScaling);
}

// ---------------------------------------------------------------- The running program

struct RunningProgram {
    FixedClock clock { benchNow() };
    ScriptedDialogs dialogs;
    std::unique_ptr<App> app;
    QString dir;

    int shownCatches() const { return app->haupt->cmdFangÜbersicht->text().mid(18).toInt(); }
    QString costCaption() const { return app->haupt->cmdKostenÜbersicht->text(); }
};

std::unique_ptr<RunningProgram> running;

// The program started in this process on the folder at capacity.
RunningProgram& program()
{
    if (!running) {
        running = std::make_unique<RunningProgram>();
        RunningProgram& p = *running;
        p.dir = capacityFolder().path();
        p.app = std::make_unique<App>(Env { p.dir, &p.clock, &p.dialogs, nullptr }, [] {});
        p.app->Main();
        settle();
        if (!p.app->haupt || p.app->haupt->cmdFangÜbersicht->text() != catchCaption(kCapacity))
            qFatal("the program in this process did not start on the full folder");
    }
    return *running;
}

void closeRunningProgram()
{
    if (running && (running->dialogs.faults() > 0 || !running->dialogs.done()))
        fault(u"dialogs not as scripted"_s);
    running.reset();
}

// Times one user action with the events it leaves behind, after a floor
// run on the same folder, so that both see the same load.
template <class Action> void timeAction(benchmark::State& state, Sample& sample, Action&& action)
{
    figures.floorCapacity.add(readAndSplitLogsMs(running->dir));
    QElapsedTimer t;
    t.start();
    action();
    settle();
    const double ms = elapsedMs(t);
    sample.add(ms);
    state.SetIterationTime(ms / 1000.0);
}

// Row `i` of a spread over the list: each delete hits another part of it.
int spreadRow(int i, int first, int count)
{
    return first + int((qint64(i) * 7919) % (count - first));
}

void select(TabListView* list, int row)
{
    list->selectionModel()->setCurrentIndex(
        list->model()->index(row, 0), QItemSelectionModel::ClearAndSelect);
}

void BM_Refresh(benchmark::State& state)
{
    RunningProgram& p = program();
    for (auto _ : state)
        timeAction(state, figures.refresh, [&] { p.app->Änderung(); });
    if (p.shownCatches() != lineCount(catchFile(p.dir)))
        fault(u"the refresh shows %1 catches"_s.arg(p.shownCatches()));
}

// Deletes come before saves, so that the logs never hold more than their
// capacity.
void BM_DeleteCatch(benchmark::State& state)
{
    RunningProgram& p = program();
    p.app->haupt->cmdFangÜbersicht->click(); // the user opens the catch overview
    settle();
    frmFangÜbersicht* w = p.app->uebersicht;
    int i = 0;
    for (auto _ : state) {
        const int stored = lineCount(catchFile(p.dir));
        select(w->lstFänge, spreadRow(i++, 2, w->lstFänge->count()));
        p.dialogs.expect(u"Wollen Sie den Eintrag wirklich löschen?"_s, MsgResult::Yes);
        timeAction(state, figures.deleteCatch, [&] { w->cmdDelete_Click(); });
        if (lineCount(catchFile(p.dir)) != stored - 1 || p.shownCatches() != stored - 1
            || w->lstFänge->count() != stored + 1) {
            fault(u"a catch was not deleted with its refresh"_s);
            break;
        }
    }
    w->cmdOK_Click();
    settle();
}

void BM_SaveCatch(benchmark::State& state)
{
    RunningProgram& p = program();
    p.app->openAddFish(); // F2
    settle();
    frmAddFish* w = p.app->addFish;
    int i = 0;
    for (auto _ : state) {
        const int stored = lineCount(catchFile(p.dir));
        w->txtDate->setText(DisplayDate(benchNow().date().addDays(-(i % 9))));
        w->txtFänger->setText(u"Jürgen Hoffmann"_s);
        w->txtBeginn->setText(u"05:30"_s);
        w->txtFang->setText(u"06:%1"_s.arg(10 + i % 50, 2, 10, QChar(u'0')));
        w->txtEnde->setText(u"11:15"_s);
        w->txtFischArt->setText(u"Zander"_s);
        w->txtGewicht->setText(u"3,45"_s);
        w->txtLänge->setText(u"61"_s);
        w->txtGewässer->setText(u"Main bei Offenbach"_s);
        w->txtStelle->setText(u"Buhne 12"_s);
        w->txtMethode->setText(u"Gummifisch 12 cm am Jigkopf"_s);
        w->txtKöder->setText(u" "_s);
        w->txtWetter->setText(u"bedeckt, schwül"_s);
        w->txtTempLuft->setText(u"18"_s);
        w->txtTempWasser->setText(u"16"_s);
        w->txtAngeltiefe->setText(u"4,5"_s);
        ++i;
        settle();
        p.dialogs.expect(u"Eintrag gespeichert!"_s);
        timeAction(state, figures.saveCatch, [&] { w->cmdSave_Click(); });
        if (lineCount(catchFile(p.dir)) != stored + 1 || p.shownCatches() != stored + 1) {
            fault(u"a catch was not saved with its refresh"_s);
            break;
        }
    }
    w->cmdAbort_Click();
    settle();
}

void BM_DeletePurchase(benchmark::State& state)
{
    RunningProgram& p = program();
    frmAddKosten* k = p.app->kosten;
    k->ShowWindow();
    settle();
    int i = 0;
    for (auto _ : state) {
        const int stored = lineCount(costFile(p.dir));
        const QString caption = p.costCaption();
        select(k->lstKosten, spreadRow(i++, 0, k->lstKosten->count()));
        p.dialogs.expect(u"Wollen Sie den Eintrag wirklich löschen?"_s, MsgResult::Yes);
        timeAction(state, figures.deletePurchase, [&] { k->cmdDelete_Click(); });
        if (lineCount(costFile(p.dir)) != stored - 1 || k->lstKosten->count() != stored - 1
            || p.costCaption() == caption) {
            fault(u"a purchase was not deleted with its refresh"_s);
            break;
        }
    }
    k->cmdAbort_Click();
    settle();
}

void BM_SavePurchase(benchmark::State& state)
{
    RunningProgram& p = program();
    frmAddKosten* k = p.app->kosten;
    k->ShowWindow();
    settle();
    int i = 0;
    for (auto _ : state) {
        const int stored = lineCount(costFile(p.dir));
        const QString caption = p.costCaption();
        k->txtDate->setText(DisplayDate(benchNow().date().addDays(-(i % 5))));
        k->txtGeschäft->setText(u"Angelsport Köhler"_s);
        k->txtMenge->setText(QString::number(1 + i % 3));
        k->txtBezeichnung->setText(u"Boilies Scopex 20 mm, 1 kg"_s);
        k->txtEinzelpreis->setText(u"8,99"_s);
        k->txtVersandkosten->setText(i % 4 ? QString() : u"4,95"_s);
        ++i;
        settle();
        p.dialogs.expect(u"Datensatz gespeichert!"_s);
        timeAction(state, figures.savePurchase, [&] { k->cmdSave_Click(); });
        if (lineCount(costFile(p.dir)) != stored + 1 || k->lstKosten->count() != stored + 1
            || p.costCaption() == caption) {
            fault(u"a purchase was not saved with its refresh"_s);
            break;
        }
    }
    k->cmdAbort_Click();
    settle();
}

// The window is made anew for each run, as on the first F6 of a run.
void BM_OpenEvaluation(benchmark::State& state)
{
    RunningProgram& p = program();
    for (auto _ : state) {
        delete p.app->auswertung.data();
        settle();
        timeAction(state, figures.openEvaluation, [&] { p.app->mnuAuswertung_Click(); });
        if (!p.app->auswertung
            || p.app->auswertung->evaluation().catches() != lineCount(catchFile(p.dir))) {
            fault(u"the evaluation window does not count every catch"_s);
            break;
        }
    }
}

// Every view in turn, with the year and the angler changed in between.
void BM_SwitchEvaluation(benchmark::State& state)
{
    RunningProgram& p = program();
    p.app->mnuAuswertung_Click();
    settle();
    frmAuswertung* w = p.app->auswertung;
    int i = 0;
    for (auto _ : state) {
        const int step = i++;
        timeAction(state, figures.switchEvaluation, [&] {
            if (step % 3 == 0)
                w->lstAnsicht->setCurrentRow((step / 3) % 8);
            else if (step % 3 == 1)
                w->cboJahr->setCurrentIndex((step / 3) % w->cboJahr->count());
            else
                w->cboFänger->setCurrentIndex((step / 3) % w->cboFänger->count());
        });
    }
    if (w->evaluation().catches() == 0 && w->cboJahr->currentIndex() == 0)
        fault(u"the evaluation window shows no catch"_s);
    w->close();
    settle();
}

// ---------------------------------------------------------------- Report

// The table's widths: the longest figure name, a ratio as budget.
const FigureColumns kColumns { 48, 8 };

// One line of the table; false when the figure was measured and missed
// its budget.
bool reportRow(const QString& figure, const Sample& sample, const Sample& floor, double budget)
{
    const double ms = sample.median();
    const double floorMs = floor.median();
    if (ms < 0 || floorMs <= 0) {
        std::printf("%s   not measured\n", qPrintable(figure.leftJustified(kColumns.figure)));
        return true;
    }
    return printFigureRow(
        figure, ms, floorMs, u"≤ %1×"_s.arg(budget, 0, 'f', 1), ms / floorMs <= budget, kColumns);
}

bool reportMemory(const QString& figure, double mb, double budgetMB)
{
    QString line = figure.leftJustified(kColumns.figure);
    if (mb < 0) {
        std::printf("%s   not measured\n", qPrintable(line));
        return true;
    }
    const bool ok = budgetMB <= 0 || mb <= budgetMB;
    line += u"%1 MB %2 %3  %4"_s.arg(mb, 7, 'f', 1)
                .arg(QString(), 17)
                .arg(budgetMB > 0 ? u"≤ %1 MB"_s.arg(budgetMB, 0, 'f', 0) : u"—"_s, 8)
                .arg(budgetMB > 0 ? (ok ? u"pass"_s : u"FAIL"_s) : u"(shown only)"_s);
    std::printf("%s\n", line.toUtf8().constData());
    return ok;
}

bool report()
{
    const Figures& f = figures;
    printFigureHead(u"Figure (median of the runs)"_s, kColumns);
    const QString at = u", 32767"_s;
    bool ok = true;
    ok &= reportRow(
        u"Start, new process to filled main window"_s + at, f.start, f.floorCapacity, kStartBudget);
    ok &= reportRow(u"Refresh (Änderung)"_s + at, f.refresh, f.floorCapacity, kRefreshBudget);
    ok &= reportRow(
        u"Save a catch, with refresh"_s + at, f.saveCatch, f.floorCapacity, kSaveBudget);
    ok &= reportRow(
        u"Save a purchase, with refresh"_s + at, f.savePurchase, f.floorCapacity, kSaveBudget);
    ok &= reportRow(
        u"Delete a catch, with refresh"_s + at, f.deleteCatch, f.floorCapacity, kDeleteBudget);
    ok &= reportRow(u"Delete a purchase, with refresh"_s + at, f.deletePurchase, f.floorCapacity,
        kDeleteBudget);
    ok &= reportRow(u"Open the evaluation window"_s + at, f.openEvaluation, f.floorCapacity,
        kOpenEvaluationBudget);
    ok &= reportRow(u"Switch an evaluation view or choice"_s + at, f.switchEvaluation,
        f.floorCapacity, kSwitchEvaluationBudget);
    ok &= reportMemory(u"Peak memory of the start"_s + at, f.peakMB, kPeakMemoryBudgetMB);
    ok &= reportRow(u"Start, new process, 100000"_s, f.startScaling, f.floorScaling, kStartBudget);
    ok &= reportMemory(u"Peak memory of the start, 100000"_s, f.peakMBScaling, 0);
    // Shown only: both starts are timed apart, so a change of load between
    // them would show as growth.
    if (f.start.median() > 0 && f.startScaling.median() > 0)
        std::printf("From 32767 to 100000 records in each log (×%.2f): start ×%.2f, floor ×%.2f\n",
            double(kScaling) / kCapacity, f.startScaling.median() / f.start.median(),
            f.floorScaling.median() / f.floorCapacity.median());
    std::printf("Floor: reading, decoding and splitting both log files into records and fields "
                "(%zu runs at 32767, %zu at 100000, between the timed runs).\n",
        f.floorCapacity.ms.size(), f.floorScaling.ms.size());
    if (faultCount() > 0)
        std::printf("%d fault(s): see the lines marked FAULT above\n", faultCount());
    return ok && faultCount() == 0;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    quietOffscreenNotes();
    QApplication qapp(argc, argv);
    QTranslator qtGerman;
    setUpGermanApplication(qtGerman);
    benchmark::Initialize(&argc, argv);

    const QString dir = capacityFolder().path();
    for (int i = 0; i < 5; ++i)
        figures.floorCapacity.add(readAndSplitLogsMs(dir));

    auto add = [](const char* name, void (*fn)(benchmark::State&), int runs) {
        return benchmark::RegisterBenchmark(name, fn)
            ->Unit(benchmark::kMillisecond)
            ->UseManualTime()
            ->Iterations(runs);
    };
    add("Start/NewProcess/32767", BM_StartCapacity, 5);
    add("App/Refresh", BM_Refresh, 15);
    add("App/DeleteCatch", BM_DeleteCatch, 10);
    add("App/SaveCatch", BM_SaveCatch, 10);
    add("App/DeletePurchase", BM_DeletePurchase, 10);
    add("App/SavePurchase", BM_SavePurchase, 10);
    add("App/OpenEvaluation", BM_OpenEvaluation, 8);
    add("App/SwitchEvaluation", BM_SwitchEvaluation, 48);
    add("Start/NewProcess/100000", BM_StartScaling, 3);
    benchmark::RunSpecifiedBenchmarks();

    closeRunningProgram();
    benchmark::Shutdown();
    return report() ? 0 : 1;
}
