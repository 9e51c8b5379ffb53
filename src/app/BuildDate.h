#pragma once

#include "platform/Env.h"

#include <QString>

#include <optional>

// Build date of a Windows program file: the link time stamp of its PE
// header, found by the first "5045" in the hexadecimal text of the file's
// first 512 bytes, as a local date "DD.MM.YYYY". A file without that mark
// logs error 76 under "Funktion GetCompileTime" and gives "".
QString GetCompileTime(const Env& env, const QString& path);

// "DD.MM.YYYY" of seconds since 1 January 1970 UTC, in local time.
QString localDateText(qint64 secondsSince1970);

// The running program's file and the time it was built (seconds since
// 1970 UTC), where the build recorded one.
struct BuildInfo {
    QString executable;
    std::optional<qint64> builtAt;
};

// The release date the About window shows: the header time stamp of a
// Windows program file (one that starts with "MZ"); for any other program
// file the build time recorded at build time; "" when there is neither.
QString ReleaseDate(const Env& env, const BuildInfo& build);
