#pragma once

#include "platform/Env.h"

struct SettingsRecord;

// Makes sure the installation layout below the program directory exists,
// logs the start, removes leftovers of the last run, migrates an old catch
// file and reads the settings. Every failing step is logged and skipped.
void CheckFiles(const Env& env, SettingsRecord& settings);
