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
#include "ui/LogListModel.h"
#include "ui/TabListView.h"
#include "ui/frmAbout.h"
#include "ui/frmAddFish.h"
#include "ui/frmAddKosten.h"
#include "ui/frmFangÜbersicht.h"
#include "ui/frmHaupt.h"
#include "ui/frmUpdater.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>

App::App(Env e, std::function<void()> quit)
    : env(std::move(e))
    , log(std::make_unique<Logbook>(env))
    , m_quit(std::move(quit))
{
}

App::~App()
{
    delete updater.data();
    delete about.data();
    delete addFish.data();
    delete kosten;
    delete uebersicht;
    delete haupt;
}

void App::Main()
{
    ErrorTrap trap(env, QStringLiteral("Sub Main"));
    StartCheck check = StartCheck::GoOn;
    trap.step([&] { check = CheckFiles(env, settings); });
    if (check == StartCheck::End) {
        // An old catch log neither copied aside nor converted: no window may
        // show it, and the settings stay as they were.
        endNow();
        return;
    }
    trap.step([&] {
        // Created once and shown briefly: its load fills the list and the sums.
        kosten = new frmAddKosten(*this);
        kosten->show();
        kosten->hide();
    });
    trap.step([&] {
        // Shown once so that it is a real window, then kept hidden; its load
        // fills the list the statistics read.
        uebersicht = new frmFangÜbersicht(*this);
        uebersicht->show();
        uebersicht->hide();
    });
    log->clearCatchEdit();
    trap.step([&] {
        haupt = new frmHaupt(*this);
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
        ConnectDatabaseMenus(*this);
        QObject::connect(
            haupt->mnuUpdate, &QAction::triggered, haupt, [this] { mnuUpdate_Click(); });
        QObject::connect(haupt->mnuAbout, &QAction::triggered, haupt, [this] { mnuAbout_Click(); });
    });
    trap.step([&] { Änderung(); });
}

void App::mnuSortDB_Click()
{
    // Newest first in both files; nothing on screen changes until the next load.
    if (log->sortLogs())
        env.dialogs->message(
            QStringLiteral("Datenbanken erfolgreich sortiert!"), MsgIcon::Information);
    else
        env.dialogs->message(
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
        ErrorTrap trap(env, QStringLiteral("Sub EndProgram"));
        log->putBackCatch(trap);
        log->putBackCost(trap);
    }
    SaveSettings(env, settings);
    endNow();
}

void App::endNow()
{
    m_ended = true;
    WriteLog(env, QStringLiteral("PROGRAMM"), QStringLiteral("Ende"));
    if (m_quit)
        m_quit();
}

void App::Änderung()
{
    ErrorTrap trap(env, QStringLiteral("Sub Änderung"));
    log->refresh(QStringLiteral("Sub Änderung"));
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

    SucheFische(env, log->catchFileSize(), log->catchNumbers(), stats);
    int photos = 0;
    bool photosCounted = trap.step(
        [&] { photos = CountPhotos(hostPath(env.programDir, QStringLiteral("db\\bilder"))); });
    const QStringList rows = CatchOverviewLines(*log);
    const QString costTotal = CostSumText(log->costSums().total);
    // The fishing time changes only with the catch list.
    if (!m_fishingMinutes || m_fishingGeneration != log->catchGeneration()) {
        m_fishingMinutes = rows.size() > 2 ? Angelzeit(env, rows) : 0;
        m_fishingGeneration = log->catchGeneration();
    }
    DashboardTexts t = MakeDashboardTexts(env, rows, costTotal, stats, photos, m_fishingMinutes);
    if (!photosCounted)
        t.cmdPics = QString(); // keep the last count when the folder could not be read
    haupt->ShowDashboard(t);

    trap.step([&] { haupt->CreateBar(); });
    trap.step([&] {
        if (uebersicht)
            uebersicht->CreateBar();
    });
}

void App::openAddFish()
{
    if (!addFish) {
        addFish = new frmAddFish(*this);
        addFish->setAttribute(Qt::WA_DeleteOnClose);
    }
    addFish->show();
    addFish->raise();
    addFish->activateWindow();
    addFish->setFocus();
}

void App::mnuUpdate_Click()
{
    ErrorTrap trap(env, QStringLiteral("Sub frmHaupt.mnuUpdate_Click"));
    trap.step([&] {
        if (!updater)
            updater = new frmUpdater(*this);
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
        about = new frmAbout(*this, haupt);
        about->setAttribute(Qt::WA_DeleteOnClose);
    }
    about->show();
    about->raise();
    about->activateWindow();
    about->setFocus();
}
