// Timings of the whole program with full log files (32,767 catches and
// 32,767 purchases): the start, the refresh after a change, saving a catch
// and saving a purchase, and the peak memory of a run in a process of its
// own. Each figure is held against the time the user may wait for it.
#include "BenchData.h"

#include "app/Settings.h"
#include "calc/Dashboard.h"
#include "calc/Statistics.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Env.h"
#include "platform/Paths.h"
#include "store/Logbook.h"
#include "ui/App.h"
#include "ui/TabListView.h"
#include "ui/TextFilters.h"
#include "ui/frmAddFish.h"
#include "ui/frmAddKosten.h"
#include "ui/frmFangÜbersicht.h"
#include "ui/frmHaupt.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QLocale>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTranslator>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

constexpr int kRecords = 32767;

// Answers only the messages a benchmark announced, in order; anything else
// is counted as a fault and reported, so a refused save cannot pass for a
// fast one.
class ScriptedDialogs final : public Dialogs {
public:
    void expect(const QString& text) { m_expected.append(text); }
    int faults() const { return m_faults; }
    bool done() const { return m_expected.isEmpty(); }

    MsgResult message(const QString& text, MsgIcon, MsgButtons, const QString&) override
    {
        if (m_expected.isEmpty() || m_expected.first() != text) {
            unexpected(text);
            return MsgResult::Cancel;
        }
        m_expected.removeFirst();
        return MsgResult::Ok;
    }
    QString input(const QString& prompt, const QString&, const QString&) override
    {
        unexpected(prompt);
        return {};
    }
    QString openFile(const QString& title, const QString&, const QString&) override
    {
        unexpected(title);
        return {};
    }
    QString saveFile(const QString& title, const QString&, const QString&) override
    {
        unexpected(title);
        return {};
    }

private:
    void unexpected(const QString& text)
    {
        ++m_faults;
        std::fprintf(stderr, "unexpected dialog: %s\n", qPrintable(text));
    }

    QStringList m_expected;
    int m_faults = 0;
};

// A settings file as a program that has run before leaves it: real window
// sizes and the first-start flag cleared, so the start asks nothing.
void writeSettings(const QString& programDir)
{
    SettingsRecord s;
    s.OverviewHeight = 8400;
    s.OverviewWidth = 16500;
    s.MainHeight = 9600;
    s.MainWidth = 13500;
    s.MainWindowState = 0;
    QFile f(QDir(programDir).filePath(u"settings.ini"_s));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write settings.ini");
    f.write(SettingsFileBytes(s, 0));
}

void settle()
{
    // Layout and painting scheduled for later are part of what the user
    // waits for.
    QCoreApplication::processEvents();
}

struct Sample {
    std::vector<double> ms;
    double median() const
    {
        if (ms.empty())
            return -1;
        std::vector<double> v = ms;
        std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
        return v[v.size() / 2];
    }
    double max() const { return ms.empty() ? 0 : *std::max_element(ms.begin(), ms.end()); }
};

struct Figures {
    Sample refresh, saveCatch, savePurchase, start;
    double coldStartMs = -1;     // the first start in the process: fonts, styles, …
    double processStartMs = -1;  // a new process up to the filled main window
    double peakMB = -1;          // VmHWM of that process after a run
    int faults = 0;              // unexpected dialogs, unsaved entries
    std::vector<std::pair<const char*, double>> steps;  // median of each refresh step
};

Figures figures;

// The program as it is after its start on the full folder; shared by the
// refresh and the two saves.
struct RunningProgram {
    QTemporaryDir dir;
    FixedClock clock;
    ScriptedDialogs dialogs;
    std::unique_ptr<App> app;
};

RunningProgram* running = nullptr;

double elapsedMs(const QElapsedTimer& t)
{
    return double(t.nsecsElapsed()) / 1e6;
}

void BM_Refresh(benchmark::State& state)
{
    App& app = *running->app;
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        app.Änderung();
        settle();
        figures.refresh.ms.push_back(elapsedMs(t));
    }
    state.counters["catches"] = double(app.uebersicht->fängeLines().size() - 2);
}

// The refresh step by step, so that a slow refresh shows where its time
// goes. Each step is timed on its own; the sum is close to one refresh.
void BM_RefreshSteps(benchmark::State& state)
{
    App& app = *running->app;
    const QString photoDir = hostPath(app.env.programDir, u"db\\bilder"_s);
    struct Step {
        const char* name;
        std::function<void()> run;
        Sample sample;
    };
    int photos = 0;
    std::vector<Step> steps = {
        { "cost window load", [&] { app.kosten->Form_Load(); }, {} },
        { "overview load", [&] { app.uebersicht->Form_Load(); }, {} },
        { "main window load", [&] { app.haupt->Form_Load(); }, {} },
        { "statistics over the log's numbers",
            [&] { SucheFische(app.env, app.log->catchFileSize(), app.log->catchNumbers(), app.stats); },
            {} },
        { "photo count", [&] { photos = CountPhotos(photoDir); }, {} },
        { "dashboard texts",
            [&] {
                MakeDashboardTexts(app.env, app.log->catchLines(),
                    app.kosten->txtGesamt->text(), app.stats, photos);
            },
            {} },
        { "main window CreateBar", [&] { app.haupt->CreateBar(); }, {} },
        { "overview CreateBar", [&] { app.uebersicht->CreateBar(); }, {} },
        { "events after the refresh", [&] { settle(); }, {} },
    };
    for (auto _ : state) {
        for (Step& step : steps) {
            QElapsedTimer t;
            t.start();
            step.run();
            step.sample.ms.push_back(elapsedMs(t));
        }
    }
    for (const Step& step : steps)
        figures.steps.emplace_back(step.name, step.sample.median());
}

void BM_SaveCatch(benchmark::State& state)
{
    App& app = *running->app;
    app.openAddFish();
    frmAddFish* w = app.addFish;
    settle();
    const qsizetype before = app.uebersicht->fängeLines().size();
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        w->txtDate->setText(u"16.05.2004"_s);
        w->txtFänger->setText(u"Jürgen"_s);
        w->txtBeginn->setText(u"05:00"_s);
        w->txtFang->setText(u"06:%1"_s.arg(n % 60, 2, 10, QChar(u'0')));
        w->txtEnde->setText(u"07:00"_s);
        w->txtFischArt->setText(u"Zander"_s);
        w->txtGewicht->setText(u"3,5"_s);
        w->txtLänge->setText(u"58"_s);
        w->txtTempLuft->setText(u"18"_s);
        w->txtTempWasser->setText(u"14"_s);
        w->txtAngeltiefe->setText(u"3"_s);
        running->dialogs.expect(u"Eintrag gespeichert!"_s);
        ++n;
        settle();
        state.ResumeTiming();
        QElapsedTimer t;
        t.start();
        w->cmdSave_Click();
        settle();
        figures.saveCatch.ms.push_back(elapsedMs(t));
    }
    const qsizetype saved = app.uebersicht->fängeLines().size() - before;
    if (saved != n || !running->dialogs.done()) {
        ++figures.faults;
        std::fprintf(stderr, "catch save: %lld of %d catches listed\n", qlonglong(saved), n);
    }
    state.counters["catches"] = double(app.uebersicht->fängeLines().size() - 2);
    w->close();
    settle();
}

void BM_SavePurchase(benchmark::State& state)
{
    App& app = *running->app;
    frmAddKosten* k = app.kosten;
    k->ShowWindow();
    settle();
    const int before = k->lstKosten->count();
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        k->txtDate->setText(u"01.05.2004"_s);
        k->txtGeschäft->setText(u"Köderwerk"_s);
        k->txtMenge->setText(QString::number(1 + n % 5));
        k->txtBezeichnung->setText(u"Boilies 1 kg"_s);
        k->txtEinzelpreis->setText(u"4,5"_s);
        k->txtVersandkosten->setText(u"0"_s);
        running->dialogs.expect(u"Datensatz gespeichert!"_s);
        ++n;
        settle();
        state.ResumeTiming();
        QElapsedTimer t;
        t.start();
        k->cmdSave_Click();
        settle();
        figures.savePurchase.ms.push_back(elapsedMs(t));
    }
    if (k->lstKosten->count() - before != n || !running->dialogs.done()) {
        ++figures.faults;
        std::fprintf(stderr, "purchase save: %d of %d purchases listed\n",
            k->lstKosten->count() - before, n);
    }
    state.counters["purchases"] = double(k->lstKosten->count());
    k->hide();
    settle();
}

// From App::Main to the filled main window, each time with new windows on
// the same folder.
void BM_Start(benchmark::State& state)
{
    for (auto _ : state) {
        auto app = std::make_unique<App>(
            Env { running->dir.path(), &running->clock, &running->dialogs, nullptr }, [] {});
        QElapsedTimer t;
        t.start();
        app->Main();
        settle();
        figures.start.ms.push_back(elapsedMs(t));
        state.PauseTiming();
        if (!app->haupt || !app->haupt->isVisible()
            || app->haupt->cmdFangÜbersicht->text().isEmpty()) {
            ++figures.faults;
            std::fprintf(stderr, "start: main window not shown and filled\n");
        }
        app.reset();
        settle();
        state.ResumeTiming();
    }
}

long vmHwmKiB()
{
    QFile f(u"/proc/self/status"_s);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

// Runs a new process on its own full folder and reads back how long it
// took to its filled main window and how much memory it held at most.
void measureProcess(const QString& self)
{
    QTemporaryDir dir;
    fillProgramFolder(dir.path(), kRecords);
    writeSettings(dir.path());

    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer t;
    t.start();
    child.start(self, { u"--program-run"_s, dir.path() });
    QByteArray out;
    double shownAfter = -1;
    while (child.state() != QProcess::NotRunning || child.bytesAvailable() > 0) {
        if (!child.waitForReadyRead(120000) && child.state() == QProcess::NotRunning
            && child.bytesAvailable() == 0)
            break;
        out += child.readAll();
        if (shownAfter < 0 && out.contains("shown\n"))
            shownAfter = elapsedMs(t);
    }
    child.waitForFinished(120000);
    figures.processStartMs = shownAfter;
    for (const QByteArray& line : out.split('\n')) {
        if (line.startsWith("VmHWM "))
            figures.peakMB = line.mid(6).toDouble() / 1024.0;
        if (line.startsWith("fault"))
            ++figures.faults;
    }
    if (child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0) {
        ++figures.faults;
        std::fprintf(stderr, "program run ended with %d\n", child.exitCode());
    }
}

// A figure of -1 was not measured (its benchmark was left out).
void printLine(const char* what, double measured, double budget, const char* note = "")
{
    if (measured < 0) {
        std::printf("  %-44s      not measured\n", what);
        return;
    }
    std::printf("  %-44s %9.1f ms  budget %6.0f ms  %s%s\n", what, measured, budget,
        measured <= budget ? "ok" : "MISSED", note);
}

// The application set up as the program sets it up.
void setUpApplication(QTranslator& qtGerman)
{
    QApplication::setApplicationName(kAppTitle);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    if (qtGerman.load(QLocale(QLocale::German, QLocale::Germany), u"qtbase"_s, u"_"_s,
            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtGerman);
}

// What the program does at its start, on the folder given, then a few
// refreshes and one save of each kind; prints "shown" once the main window
// is filled and the peak memory at the end.
int runProgramForMeasurement(const QString& programDir)
{
    FixedClock clock;
    ScriptedDialogs dialogs;
    App app(Env { programDir, &clock, &dialogs, nullptr }, [] {});
    app.Main();
    settle();
    std::printf("shown\n");
    std::fflush(stdout);

    for (int i = 0; i < 3; ++i) {
        app.Änderung();
        settle();
    }
    app.openAddFish();
    frmAddFish* w = app.addFish;
    w->txtFänger->setText(u"Anna"_s);
    w->txtBeginn->setText(u"05:00"_s);
    w->txtFang->setText(u"06:00"_s);
    w->txtEnde->setText(u"07:00"_s);
    w->txtGewicht->setText(u"1,25"_s);
    dialogs.expect(u"Eintrag gespeichert!"_s);
    w->cmdSave_Click();
    settle();
    frmAddKosten* k = app.kosten;
    k->ShowWindow();
    k->txtGeschäft->setText(u"Köderwerk"_s);
    k->txtMenge->setText(u"2"_s);
    k->txtBezeichnung->setText(u"Posen-Set"_s);
    k->txtEinzelpreis->setText(u"3,99"_s);
    dialogs.expect(u"Datensatz gespeichert!"_s);
    k->cmdSave_Click();
    settle();
    if (dialogs.faults() > 0 || !dialogs.done())
        std::printf("fault: dialogs not as scripted\n");
    std::printf("VmHWM %ld\n", vmHwmKiB());
    std::fflush(stdout);
    return 0;
}

// Starts the shared program on a full folder (the first start in this
// process) and registers the benchmarks that use it.
void registerAppBenchmarks()
{
    static RunningProgram program;
    running = &program;
    fillProgramFolder(program.dir.path(), kRecords);
    writeSettings(program.dir.path());
    program.app = std::make_unique<App>(
        Env { program.dir.path(), &program.clock, &program.dialogs, nullptr }, [] {});
    QElapsedTimer t;
    t.start();
    program.app->Main();
    settle();
    figures.coldStartMs = elapsedMs(t);

    benchmark::RegisterBenchmark("App/Refresh", BM_Refresh)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(15);
    benchmark::RegisterBenchmark("App/RefreshSteps", BM_RefreshSteps)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(5);
    benchmark::RegisterBenchmark("App/SaveCatch", BM_SaveCatch)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(10);
    benchmark::RegisterBenchmark("App/SavePurchase", BM_SavePurchase)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(10);
    benchmark::RegisterBenchmark("App/Start", BM_Start)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(5);
}

// Prints every figure against its budget; false when one is missed or a
// run did not do what it should.
bool reportAppFigures(const QString& self)
{
    running->app.reset();
    measureProcess(self);
    figures.faults += running->dialogs.faults();

    std::printf("\nWith %d catches and %d purchases stored (median of the runs, worst in "
                "brackets):\n",
        kRecords, kRecords);
    auto withWorst = [](const Sample& s) {
        static char buf[4][48];
        static int i = 0;
        char* b = buf[i++ % 4];
        std::snprintf(b, sizeof buf[0], "  (worst %.1f ms, %zu runs)", s.max(), s.ms.size());
        return b;
    };
    printLine("Refresh (Änderung)", figures.refresh.median(), 200, withWorst(figures.refresh));
    for (const auto& [name, ms] : figures.steps)
        std::printf("      %-40s %9.1f ms\n", name, ms);
    printLine("Save a catch (frmAddFish.cmdSave_Click)", figures.saveCatch.median(), 300,
        withWorst(figures.saveCatch));
    printLine("Save a purchase (frmAddKosten.cmdSave_Click)", figures.savePurchase.median(), 300,
        withWorst(figures.savePurchase));
    printLine("Start: App::Main to filled main window", figures.start.median(), 1500,
        withWorst(figures.start));
    printLine("  the first start in the process", figures.coldStartMs, 1500);
    printLine("New process to filled main window", figures.processStartMs, 1500);
    const bool memoryOk = figures.peakMB > 0 && figures.peakMB <= 200;
    std::printf("  %-44s %9.1f MB  budget %6.0f MB  %s\n", "Peak memory of a run (VmHWM)",
        figures.peakMB, 200.0, memoryOk ? "ok" : "MISSED");
    if (figures.faults > 0)
        std::printf("  %d fault(s): unexpected dialogs or entries not saved\n", figures.faults);
    // A benchmark left out by a filter measured nothing and fails nothing;
    // the separate process always runs and must report.
    const auto within = [](double v, double budget) { return v <= budget; };
    return figures.faults == 0 && memoryOk && within(figures.refresh.median(), 200)
        && within(figures.saveCatch.median(), 300) && within(figures.savePurchase.median(), 300)
        && within(figures.start.median(), 1500) && within(figures.coldStartMs, 1500)
        && figures.processStartMs >= 0 && within(figures.processStartMs, 1500);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const bool programRun = argc == 3 && qstrcmp(argv[1], "--program-run") == 0;
    QApplication qapp(argc, argv);
    QTranslator qtGerman;
    setUpApplication(qtGerman);
    if (programRun)
        return runProgramForMeasurement(QString::fromLocal8Bit(argv[2]));

    benchmark::Initialize(&argc, argv);
    registerAppBenchmarks();
    benchmark::RunSpecifiedBenchmarks();
    const bool ok = reportAppFigures(QCoreApplication::applicationFilePath());
    benchmark::Shutdown();
    return ok ? 0 : 1;
}
