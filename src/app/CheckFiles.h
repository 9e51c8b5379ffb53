#pragma once

#include "platform/Env.h"

struct SettingsRecord;

// Whether the start goes on after CheckFiles.
enum class StartCheck {
    GoOn,
    // An old catch file could not be copied aside and was not converted:
    // the program ends without loading it, the files as they were.
    End,
};

// Makes sure the installation layout below the program directory exists,
// logs the start, removes leftovers of the last run, migrates an old catch
// file and reads the settings. Every failing step is logged and skipped.
// Returns End, the settings unread, when an old catch file stays as it was.
StartCheck CheckFiles(const Env& env, SettingsRecord& settings);
