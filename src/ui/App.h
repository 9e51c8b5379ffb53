#pragma once

#include "app/UpdateServer.h"
#include "ui/AppState.h"

#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class ErrorTrap;
class frmHaupt;
class frmAddFish;
class frmFangÜbersicht;
class frmAddKosten;
class frmUpdater;
class frmAbout;
class frmCsvImport;
class frmAuswertung;

// What "Update starten" says in a build without the updater.
inline const QString kUpdatesFromPackages
    = QStringLiteral("Dieses Programm wurde als Paket installiert. Updates erhalten Sie über "
                     "die Paketverwaltung Ihres Systems.");

// Owns the state the windows share and the long-lived windows, creates
// every window with what it may ask for, and refreshes them all after a
// change to either log.
class App {
public:
    // quit ends the process; tests pass a recorder instead.
    App(Env env, std::function<void()> quit);
    ~App();
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    AppState state;

    frmHaupt* haupt = nullptr;
    QPointer<frmAddFish> addFish;
    frmFangÜbersicht* uebersicht = nullptr; // loaded hidden at start-up, lives for the run
    frmAddKosten* kosten = nullptr; // loaded hidden at start-up, lives for the run
    QPointer<frmUpdater> updater; // created on first use, then hidden and shown
    QPointer<frmAbout> about; // destroyed when closed
    QPointer<frmCsvImport> csvImport; // the preview of an import, destroyed when closed
    QPointer<frmAuswertung> auswertung; // created on first use, then hidden and shown

    // Start-up: check the installation, load the windows, show the main window.
    // Ends the program at once instead when the check says so.
    void Main();
    // Saves the settings, logs the end and ends the process.
    void EndProgram();
    // Refreshes every list and figure after stored data changed; runs on
    // every change the log book reports.
    void Änderung();
    // Opens the catch entry window (or raises the open one) and focuses it.
    void openAddFish();
    // "Sortieren": both log files newest first.
    void mnuSortDB_Click();
    // "Update starten": shows the updater and locks the main window's menu
    // and dashboard until the updater is hidden; without the updater, says
    // where updates come from.
    void mnuUpdate_Click();
    // Creates the updater window (talking to server) when there is none yet.
    frmUpdater* createUpdater(UpdateServer server = publisherUpdateServer());
    // The windows as the program creates them, with what they may ask for.
    frmHaupt* createMain();
    frmAddKosten* createCosts();
    frmFangÜbersicht* createOverview();
    // "Auswertungen...": opens the evaluation window (or raises the open
    // one) and focuses it.
    void mnuAuswertung_Click();
    // "Über...": opens the About window (or raises the open one) and focuses it.
    void mnuAbout_Click();

    bool ended() const { return m_ended; }

private:
    // Logs the end and ends the process.
    void endNow();
    // Start-up after the check: creates, loads and wires the windows.
    void loadWindows(ErrorTrap& trap);
    // Brings the main window to the front.
    void raiseMain();

    std::function<void()> m_quit;
    // The last fishing time and the catch list it was computed from.
    std::optional<qint32> m_fishingMinutes;
    quint64 m_fishingGeneration = 0;
    bool m_ended = false;
    bool m_refreshing = false;
    // The log generations the last refresh showed.
    quint64 m_shownCatches = 0;
    quint64 m_shownCosts = 0;
};
