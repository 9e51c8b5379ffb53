# Writes the build time, in seconds since 1970 UTC, into the header OUT.
# string(TIMESTAMP) takes SOURCE_DATE_EPOCH when it is set, so that a
# reproducible build records the same time; otherwise it is now. The header
# is rewritten only when its text changes.
string(TIMESTAMP seconds "%s" UTC)
file(CONFIGURE OUTPUT "${OUT}" CONTENT "#pragma once

#include <QtGlobal>

// Written by scripts/BuildTime.cmake at every build.
inline constexpr qint64 BuildTime = ${seconds};
" @ONLY)
