#pragma once

#include <QString>

// Maps the program's relative backslash paths ("db\fänge\db") to host paths
// below the program directory. Each component matches an existing entry
// without regard to letter case (umlauts included); a component that does
// not exist keeps the spelling given.
QString hostPath(const QString& programDir, const QString& relative);
