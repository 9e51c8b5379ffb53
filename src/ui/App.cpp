#include "ui/App.h"

#include "app/CheckFiles.h"
#include "calc/Angelzeit.h"
#include "calc/Dashboard.h"
#include "platform/Dialogs.h"
#include "platform/ErrorLog.h"
#include "platform/Paths.h"
#include "store/CostList.h"
#include "store/Logbook.h"
#include "ui/DatabaseMenus.h"
#include "ui/ExportActions.h"
#include "ui/LogListModel.h"
#include "ui/TabListView.h"
#include "ui/frmAbout.h"
#include "ui/frmAddFish.h"
#include "ui/frmAddKosten.h"
#include "ui/frmAuswertung.h"
#include "ui/frmCsvImport.h"
#include "ui/frmFangUebersicht.h"
#include "ui/frmHaupt.h"
#include "ui/frmUpdater.h"

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScopedValueRollback>

App::App(Env e, std::function<void()> quit)
    : state(std::move(e))
    , m_quit(std::move(quit))
{
    // Every change to either log, made by a window, a menu or noticed on
    // disk, ends in the one refresh. A change reported while the refresh
    // runs (its own reading of the files), or a second report of a change
    // already shown, needs none of its own.
    Logbook* log = state.log.get();
    const auto changed = [this, log] {
        if (!m_refreshing
            && (log->catchGeneration() != m_shownCatches || log->costGeneration() != m_shownCosts))
            Änderung();
    };
    QObject::connect(log, &Logbook::catchesChanged, log, changed);
    QObject::connect(log, &Logbook::costsChanged, log, changed);
}

App::~App()
{
    // No refresh reaches the windows while they go.
    state.log->disconnect();
    delete updater.data();
    delete about.data();
    delete csvImport.data();
    delete auswertung.data();
    delete addFish.data();
    delete kosten;
    delete uebersicht;
    delete haupt;
}

frmHaupt* App::createMain()
{
    auto* w = new frmHaupt(
        state, [this] { EndProgram(); }, [this] { openAddFish(); });
    QObject::connect(w->mnuExportFänge, &QAction::triggered, w, [this] {
        // The export offers the filtered list of a window in filter mode.
        ExportCatchesCsv(
            state, uebersicht && uebersicht->filterMode() ? uebersicht->filterModel() : nullptr);
    });
    QObject::connect(w->mnuExportKosten, &QAction::triggered, w, [this] {
        ExportCostsCsv(state, kosten && kosten->filterMode() ? kosten->filterModel() : nullptr);
    });
    const auto openImport = [this, w](CsvLog log) {
        // One preview at a time.
        delete csvImport.data();
        csvImport = frmCsvImport::Open(state, log, w);
    };
    QObject::connect(
        w->mnuImportFänge, &QAction::triggered, w, [openImport] { openImport(CsvLog::Catches); });
    QObject::connect(
        w->mnuImportKosten, &QAction::triggered, w, [openImport] { openImport(CsvLog::Costs); });
    QObject::connect(w->mnuPrintJahr, &QAction::triggered, w, [this] { PrintYearReport(state); });
    return w;
}

frmAddKosten* App::createCosts()
{
    return new frmAddKosten(state);
}

frmFangÜbersicht* App::createOverview()
{
    return new frmFangÜbersicht(
        state, [this] { openAddFish(); }, [this] { return addFish && addFish->isVisible(); },
        [this] { raiseMain(); });
}

void App::raiseMain()
{
    if (haupt) {
        haupt->raise();
        haupt->activateWindow();
    }
}

void App::Main()
{
    Env& env = state.env;
    ErrorTrap trap(env, QStringLiteral("Sub Main"));
    StartCheck check = StartCheck::GoOn;
    trap.step([&] { check = CheckFiles(env, state.settings); });
    if (check == StartCheck::End) {
        // An old catch log neither copied aside nor converted: no window may
        // show it, and the settings stay as they were.
        endNow();
        return;
    }
    loadWindows(trap);
    trap.step([&] { Änderung(); });
}

void App::loadWindows(ErrorTrap& trap)
{
    // The windows load themselves as they are created; the one refresh
    // after them follows, not one for each first reading of a log.
    QScopedValueRollback starting(m_refreshing, true);
    trap.step([&] {
        // Created once and shown briefly: its load fills the list and the sums.
        kosten = createCosts();
        kosten->show();
        kosten->hide();
    });
    trap.step([&] {
        // Shown once so that it is a real window, then kept hidden; its load
        // fills the list the statistics read.
        uebersicht = createOverview();
        uebersicht->show();
        uebersicht->hide();
    });
    state.log->clearCatchEdit();
    trap.step([&] {
        haupt = createMain();
        haupt->show();
    });
    trap.step([&] {
        // The main window's ways into the catch overview.
        if (!haupt || !uebersicht)
            return;
        auto showOverview = [this] {
            uebersicht->show();
            uebersicht->raise();
            uebersicht->activateWindow();
            uebersicht->Form_Load();
        };
        QObject::connect(haupt->cmdFangÜbersicht, &QPushButton::clicked, haupt, showOverview);
        QObject::connect(haupt->mnuFangÜbersicht, &QAction::triggered, haupt, showOverview);
        QObject::connect(haupt->mnuFilterFänge, &QAction::triggered, haupt,
            [this] { uebersicht->OpenInFilterMode(); });
        QObject::connect(haupt->cmdPics, &QPushButton::clicked, haupt,
            [this] { uebersicht->ShowCatchesWithPhoto(); });
        // Prints the overview's lists as last loaded or filtered, shown or not.
        QObject::connect(haupt->mnuPrintFänge, &QAction::triggered, haupt,
            [this] { uebersicht->cmdPrint_Click(); });
    });
    trap.step([&] {
        // The main window's ways into the cost window; the statistics button
        // also reloads its list.
        if (!haupt || !kosten)
            return;
        QObject::connect(
            haupt->mnuAddKosten, &QAction::triggered, haupt, [this] { kosten->ShowWindow(); });
        QObject::connect(haupt->mnuKostenÜbersicht, &QAction::triggered, haupt,
            [this] { kosten->ShowWindow(); });
        QObject::connect(haupt->mnuFilterKosten, &QAction::triggered, haupt,
            [this] { kosten->OpenFilterMode(); });
        QObject::connect(haupt->mnuPrintKosten, &QAction::triggered, haupt,
            [this] { kosten->cmdPrint_Click(); });
        QObject::connect(haupt->cmdKostenÜbersicht, &QPushButton::clicked, haupt, [this] {
            kosten->ShowWindow();
            kosten->Form_Load();
        });
    });
    trap.step([&] {
        if (haupt)
            QObject::connect(
                haupt->mnuSortDB, &QAction::triggered, haupt, [this] { mnuSortDB_Click(); });
    });
    trap.step([&] {
        if (!haupt)
            return;
        ConnectDatabaseMenus(*haupt, state, [this] { raiseMain(); });
        QObject::connect(
            haupt->mnuUpdate, &QAction::triggered, haupt, [this] { mnuUpdate_Click(); });
        QObject::connect(haupt->mnuAbout, &QAction::triggered, haupt, [this] { mnuAbout_Click(); });
        QObject::connect(
            haupt->mnuAuswertung, &QAction::triggered, haupt, [this] { mnuAuswertung_Click(); });
    });
}

void App::mnuSortDB_Click()
{
    // Newest first in both files. The lists are newest first already; the
    // refresh that follows a rewritten file shows them read anew.
    if (state.log->sortLogs())
        state.env.dialogs->message(
            QStringLiteral("Datenbanken erfolgreich sortiert!"), MsgIcon::Information);
    else
        state.env.dialogs->message(
            QStringLiteral("Die Datenbanken konnten nicht sortiert werden!\r\n"
                           "Bitte prüfen Sie, ob der Programmordner beschreibbar ist."),
            MsgIcon::Warning);
}

void App::EndProgram()
{
    if (m_ended)
        return;
    m_ended = true;
    // A catch or a purchase taken out of its log for editing and neither
    // saved nor abandoned goes back unchanged rather than being lost.
    {
        ErrorTrap trap(state.env, QStringLiteral("Sub EndProgram"));
        state.log->putBackCatch(trap);
        state.log->putBackCost(trap);
    }
    SaveSettings(state.env, state.settings);
    endNow();
}

void App::endNow()
{
    m_ended = true;
    WriteLog(state.env, QStringLiteral("PROGRAMM"), QStringLiteral("Ende"));
    if (m_quit)
        m_quit();
}

void App::Änderung()
{
    QScopedValueRollback refreshing(m_refreshing, true);
    const Env& env = state.env;
    Logbook* log = state.log.get();
    ErrorTrap trap(env, QStringLiteral("Sub Änderung"));
    log->refresh(QStringLiteral("Sub Änderung"));
    m_shownCatches = log->catchGeneration();
    m_shownCosts = log->costGeneration();
    // Reload the lists first: the figures are computed from their contents.
    trap.step([&] {
        if (kosten)
            kosten->Form_Load();
    });
    trap.step([&] {
        if (uebersicht)
            uebersicht->Form_Load();
    });
    trap.step([&] {
        if (haupt)
            haupt->Form_Load();
    });
    if (!haupt)
        return;

    SucheFische(env, log->catchFileSize(), log->catchNumbers(), state.stats);
    int photos = 0;
    bool photosCounted
        = trap.step([&] { photos = CountPhotos(hostPath(env.programDir, kPhotoFolder)); });
    const QStringList rows = CatchOverviewLines(*log);
    const QString costTotal = CostSumText(log->costSums().total);
    // The fishing time changes only with the catch list.
    if (!m_fishingMinutes || m_fishingGeneration != log->catchGeneration()) {
        m_fishingMinutes = rows.size() > 2 ? Angelzeit(env, rows) : 0;
        m_fishingGeneration = log->catchGeneration();
    }
    DashboardTexts t
        = MakeDashboardTexts(env, rows, costTotal, state.stats, photos, m_fishingMinutes);
    if (!photosCounted)
        t.cmdPics = QString(); // keep the last count when the folder could not be read
    haupt->ShowDashboard(t);

    trap.step([&] { haupt->CreateBar(); });
    trap.step([&] {
        if (uebersicht)
            uebersicht->CreateBar();
    });
    // A hidden evaluation window takes the changes when it is shown again.
    trap.step([&] {
        if (auswertung && auswertung->isVisible())
            auswertung->Form_Load();
    });
}

void App::openAddFish()
{
    if (!addFish) {
        addFish = new frmAddFish(state);
        addFish->setAttribute(Qt::WA_DeleteOnClose);
    }
    addFish->show();
    addFish->raise();
    addFish->activateWindow();
    addFish->setFocus();
}

frmUpdater* App::createUpdater(UpdateServer server)
{
    if (!updater) {
        updater = new frmUpdater(
            state, std::move(server),
            [this](bool locked) {
                if (haupt)
                    haupt->lockControls(locked);
            },
            [this] { raiseMain(); }, [this] { EndProgram(); });
    }
    return updater;
}

void App::mnuUpdate_Click()
{
    ErrorTrap trap(state.env, QStringLiteral("Sub frmHaupt.mnuUpdate_Click"));
    if (!state.updater) {
        if (state.env.dialogs)
            state.env.dialogs->message(kUpdatesFromPackages, MsgIcon::Information);
        return;
    }
    trap.step([&] {
        createUpdater();
        updater->show();
        updater->raise();
        updater->activateWindow();
        if (haupt)
            haupt->lockControls(true);
    });
}

void App::mnuAbout_Click()
{
    if (!about) {
        about = new frmAbout(state, haupt);
        about->setAttribute(Qt::WA_DeleteOnClose);
    }
    about->show();
    about->raise();
    about->activateWindow();
    about->setFocus();
}

void App::mnuAuswertung_Click()
{
    if (!auswertung)
        auswertung = new frmAuswertung(state);
    auswertung->show();
    auswertung->raise();
    auswertung->activateWindow();
    auswertung->lstAnsicht->setFocus();
}
