#pragma once

#include "app/BuildDate.h"
#include "app/Settings.h"
#include "calc/Statistics.h"
#include "platform/Env.h"

#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class Logbook;
class frmHaupt;
class frmAddFish;
class frmFangÜbersicht;
class frmAddKosten;
class frmUpdater;
class frmAbout;

// Owns the long-lived windows and the state they share for the whole run:
// the settings record and the hand-over of a catch being edited.
class App {
public:
    // quit ends the process; tests pass a recorder instead.
    App(Env env, std::function<void()> quit);
    ~App();
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    Env env;
    SettingsRecord settings;
    // Both logs as loaded, and the catch and purchase out for editing.
    std::unique_ptr<Logbook> log;
    CatchStatistics stats; // the last statistics pass over the catch log

    frmHaupt* haupt = nullptr;
    QPointer<frmAddFish> addFish;
    frmFangÜbersicht* uebersicht = nullptr; // loaded hidden at start-up, lives for the run
    frmAddKosten* kosten = nullptr; // loaded hidden at start-up, lives for the run
    QPointer<frmUpdater> updater; // created on first use, then hidden and shown
    QPointer<frmAbout> about; // destroyed when closed
    BuildInfo build; // the program file and its build time, for the About window

    // Start-up: check the installation, load the windows, show the main window.
    // Ends the program at once instead when the check says so.
    void Main();
    // Saves the settings, logs the end and ends the process.
    void EndProgram();
    // Refreshes every list and figure after stored data changed.
    void Änderung();
    // Opens the catch entry window (or raises the open one) and focuses it.
    void openAddFish();
    // "Sortieren": both log files newest first.
    void mnuSortDB_Click();
    // "Update starten": shows the updater and locks the main window's menu
    // and dashboard until the updater is hidden.
    void mnuUpdate_Click();
    // "Über...": opens the About window (or raises the open one) and focuses it.
    void mnuAbout_Click();

    bool ended() const { return m_ended; }

private:
    // Logs the end and ends the process.
    void endNow();

    std::function<void()> m_quit;
    // The last fishing time and the catch list it was computed from.
    std::optional<qint32> m_fishingMinutes;
    quint64 m_fishingGeneration = 0;
    bool m_ended = false;
};
