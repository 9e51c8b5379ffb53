#pragma once

#include "app/BackupMarker.h"
#include "app/LogSet.h"
#include "platform/Env.h"

#include <QString>

#include <functional>
#include <optional>

class ErrorTrap;

// Export of the logs to a backup folder and import from one.
//
// A backup folder B holds kosten\db (the cost log), fänge\db (the catch
// log), bilder\... (the photos), db.ver (the catch log's format) and the
// marker file `import`. Names in B and below "db" are matched without
// regard to letter case.

// The staging folder of an import, below "db".
inline const QString kImportStagingFolder = QStringLiteral("db\\Einlesen");

// True when a chosen export name ends in "import" (any letter case): that
// is the name of a backup's marker file, chosen by mistake.
bool EndsWithImport(const QString& path);

struct ExportResult {
    QString problem; // a German warning when the export is not whole
    bool ok() const { return problem.isEmpty(); }
};

// Copies the logs of `logs` (with photos and db.ver for the catches) into
// `folder`, made when missing; other files there are left alone. The old
// marker goes first and the new one, listing every exported file with its
// length and SHA-256, is written only after each copy was read back and
// found equal to its original. Refused for a folder inside the program's
// "db" folder. beforeCheck, when given, runs between copying and checking.
ExportResult ExportBackup(const Env& env, const QString& folder, LogSet logs, ErrorTrap& trap,
    const std::function<void()>& beforeCheck = {});

// The marker file chosen for an import; nothing (logged through trap) when
// it cannot be read or is no marker.
std::optional<Marker> ReadMarkerFile(const QString& path, ErrorTrap& trap);

struct ImportResult {
    enum Status {
        Imported, // everything asked for that the backup has is in place
        Refused, // nothing was changed; problem says why
        Incomplete, // stopped after some files were replaced; problem says why
    };
    Status status = Imported;
    bool costsMissing = false; // costs asked for, but the backup has no kosten\db
    bool catchesMissing = false; // catches asked for, but the backup has no fänge\db
    bool changed = false; // a current file was replaced
    QString problem;
    QString safetyCopy; // host path of the safety copy made, if any
};

// Imports from the backup folder `folder` what `logs` asks for and the
// backup holds. Every file the marker lists is checked, and every file to
// be imported is copied into kImportStagingFolder and checked, before
// anything current is touched; then a safety copy of what will be
// replaced is made. Only then are the cost log, the catch log, db.ver and
// the photos replaced, each by a rename; the imported catch log is brought
// to the current format with UpdateDB.
ImportResult ImportBackup(
    const Env& env, const QString& folder, const Marker& marker, LogSet logs, ErrorTrap& trap);
