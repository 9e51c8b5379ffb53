#pragma once

#include <QtGlobal>

#include <optional>

// Sets up the German application, runs Main and the event loop. builtAt:
// the build time in seconds since 1970 UTC, where the build recorded it.
int runProgram(int argc, char** argv, std::optional<qint64> builtAt = std::nullopt);
