#pragma once

#include "platform/Env.h"

#include <QString>

class ErrorTrap;

// Before data is thrown away (a reset, an import, a migration at start-up)
// what is about to go is copied into "db\Sicherungen\JJJJ-MM-TT_hh-mm-ss"
// in the layout of a backup folder, with its marker file, so that the
// backup import can bring it back. The newest kSafetyCopiesKept copies
// are kept.

inline constexpr int kSafetyCopiesKept = 5;
inline const QString kSafetyCopiesFolder = QStringLiteral("db\\Sicherungen");

// What a safety copy holds.
enum SafetyContent {
    SafeCosts = 1, // "db\kosten\db" as kosten\db
    SafeCatchLog = 2, // "db\fänge\db" as fänge\db, and "db\db.ver" as db.ver
    SafePhotos = 4, // every file below "db\bilder" as bilder\...
};

struct SafetyCopyResult {
    QString folder; // host path of the copy made
    QString problem; // a German warning when no complete copy could be made
    bool ok() const { return problem.isEmpty(); }
};

// Copies what `content` names (files that do not exist are left out),
// checks each copy against its original and writes the marker last. When
// any of it fails the partial copy is removed, the failure is logged
// through trap and `problem` says why. Older copies beyond the newest
// kSafetyCopiesKept are then removed, never the new one nor `keep`.
SafetyCopyResult MakeSafetyCopy(
    const Env& env, int content, ErrorTrap& trap, const QString& keep = QString());

// Before UpdateDB converts a catch file of format `version`: true when it
// may run, that is when nothing is converted, a safety copy of the catch
// file and "db\db.ver" was made, or no copy could be made and the user,
// told why, chose to convert without one. False (the user said no, or
// nobody can be asked) means the old file must stay as it is, and nothing
// may show its weights in grams as kilograms: the start is to end.
bool ReadyToMigrate(const Env& env, qint16 version, ErrorTrap& trap);
