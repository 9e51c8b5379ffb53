#pragma once

#include "app/BuildDate.h"
#include "app/Settings.h"
#include "calc/Statistics.h"
#include "platform/Env.h"
#include "store/Logbook.h"

#include <functional>
#include <memory>

// What the windows share for the whole run: the environment, the settings
// record, both logs with the catch and purchase out for editing, the last
// statistics pass and the build information. Owned by App; windows read and
// change it, but never reach another window through it.
struct AppState {
    explicit AppState(Env e)
        : env(std::move(e))
        , log(std::make_unique<Logbook>(env))
    {
    }
    AppState(const AppState&) = delete;
    AppState& operator=(const AppState&) = delete;

    Env env;
    SettingsRecord settings;
    std::unique_ptr<Logbook> log;
    CatchStatistics stats; // the last statistics pass over the catch log
    BuildInfo build; // the program file and its build time, for the About window
    // False in a package: "Update starten" then points to the system's
    // package management and fetches nothing.
    bool updater = true;

    // After a reset or an import replaced the log files: the start-up check
    // again (on a copy of the settings record, which holds this run's window
    // sizes), then both logs read anew, which shows everything anew.
    void reloadAfterReplace();
};

// Something a window asks the program to do, such as ending it or bringing
// another window to the front. App fills it in; an empty one does nothing.
using Action = std::function<void()>;

inline void runAction(const Action& action)
{
    if (action)
        action();
}
