#include "ui/App.h"

#include "app/CheckFiles.h"
#include "calc/Dashboard.h"
#include "platform/Dialogs.h"
#include "platform/ErrorLog.h"
#include "platform/Paths.h"
#include "store/ConvertDate.h"
#include "store/RecordFile.h"
#include "store/Sort.h"
#include "ui/frmAddFish.h"
#include "ui/frmAddKosten.h"
#include "ui/frmFangÜbersicht.h"
#include "ui/frmHaupt.h"
#include "ui/TabListView.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>

App::App(Env e, std::function<void()> quit) : env(std::move(e)), m_quit(std::move(quit)) {}

App::~App()
{
    delete addFish.data();
    delete kosten;
    delete uebersicht;
    delete haupt;
}

void App::Main()
{
    ErrorTrap trap(env, QStringLiteral("Sub Main"));
    trap.step([&] { CheckFiles(env, settings); });
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
    editFlag = false;
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
    });
    trap.step([&] {
        // The main window's ways into the cost window; the statistics button
        // also reloads its list.
        if (!haupt || !kosten)
            return;
        QObject::connect(haupt->mnuAddKosten, &QAction::triggered, haupt,
                         [this] { kosten->ShowWindow(); });
        QObject::connect(haupt->mnuKostenÜbersicht, &QAction::triggered, haupt,
                         [this] { kosten->ShowWindow(); });
        QObject::connect(haupt->mnuFilterKosten, &QAction::triggered, haupt,
                         [this] { kosten->OpenFilterMode(); });
        QObject::connect(haupt->cmdKostenÜbersicht, &QPushButton::clicked, haupt, [this] {
            kosten->ShowWindow();
            kosten->Form_Load();
        });
    });
    trap.step([&] {
        if (haupt)
            QObject::connect(haupt->mnuSortDB, &QAction::triggered, haupt,
                             [this] { mnuSortDB_Click(); });
    });
    trap.step([&] { Änderung(); });
}

void App::mnuSortDB_Click()
{
    // Newest first in both files; nothing on screen changes until the next load.
    SortDB(env, hostPath(env.programDir, QStringLiteral("db\\kosten\\db")));
    SortDB(env, hostPath(env.programDir, QStringLiteral("db\\fänge\\db")));
    env.dialogs->message(QStringLiteral("Datenbanken erfolgreich sortiert!"), MsgIcon::Information);
}

void App::EndProgram()
{
    if (m_ended)
        return;
    m_ended = true;
    if (editFlag && !editRecord.isEmpty()) {
        // A catch taken out of the file for editing and neither saved nor
        // abandoned goes back into the file rather than being lost.
        ErrorTrap trap(env, QStringLiteral("Sub EndProgram"));
        trap.step([&] {
            const QString item = uebersicht
                ? uebersicht->storedItemOfEditRecord(editRecord)
                : ConvertDate(env, editRecord.left(10), QStringLiteral("de-en")) + u'\t'
                    + editRecord.mid(11);
            AppendItem(hostPath(env.programDir, QStringLiteral("db\\fänge\\db")), item);
            editFlag = false;
            editRecord.clear();
        });
    }
    // A purchase taken out of the cost log for editing and not saved again
    // goes back unchanged, so that it is never lost.
    if (costEditFlag && kosten)
        kosten->WritePendingEditBack(QStringLiteral("Sub EndProgram"));
    SaveSettings(env, settings);
    WriteLog(env, QStringLiteral("PROGRAMM"), QStringLiteral("Ende"));
    if (m_quit)
        m_quit();
}

void App::Änderung()
{
    ErrorTrap trap(env, QStringLiteral("Sub Änderung"));
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

    // The statistics use the catch file as the overview has just read it, so
    // that a refresh reads that file once.
    QStringList catchItems;
    qint64 catchFileSize = -1;
    if (uebersicht && uebersicht->takeReadFile(catchItems, catchFileSize))
        SucheFische(env, catchFileSize, catchItems, stats);
    else
        SucheFische(env, hostPath(env.programDir, QStringLiteral("db\\fänge\\db")), stats);
    int photos = 0;
    bool photosCounted = trap.step(
        [&] { photos = CountPhotos(hostPath(env.programDir, QStringLiteral("db\\bilder"))); });
    const QStringList rows = uebersicht ? uebersicht->fängeLines() : QStringList();
    const QString costTotal = kosten ? kosten->txtGesamt->text() : QString();
    DashboardTexts t = MakeDashboardTexts(env, rows, costTotal, stats, photos);
    if (!photosCounted)
        t.cmdPics = QString();  // keep the last count when the folder could not be read
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
