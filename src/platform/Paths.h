#pragma once

#include <QString>

// Maps the program's relative backslash paths ("db\fänge\db") to host paths
// below the program directory. Each component matches an existing entry
// without regard to letter case (umlauts included); a component that does
// not exist keeps the spelling given.
QString hostPath(const QString& programDir, const QString& relative);

// The program's files, relative to the program directory.
inline const QString kCostFolder = QStringLiteral("db\\kosten");
inline const QString kCostLogPath = QStringLiteral("db\\kosten\\db"); // the cost log
inline const QString kCatchFolder = QStringLiteral("db\\fänge");
inline const QString kCatchLogPath = QStringLiteral("db\\fänge\\db"); // the catch log
inline const QString kVersionFilePath = QStringLiteral("db\\db.ver"); // the catch log's format
inline const QString kPhotoFolder = QStringLiteral("db\\bilder"); // the catch photos
