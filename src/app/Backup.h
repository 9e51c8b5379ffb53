#pragma once

#include "app/BackupMarker.h"
#include "app/Journal.h"
#include "app/LogSet.h"
#include "platform/Env.h"

#include <QString>

#include <functional>
#include <optional>

class ErrorTrap;
class ByteCounter;

// Export of the logs to a backup folder and import from one.
//
// A backup folder B holds kosten\db (the cost log), fänge\db (the catch
// log), bilder\... (the photos), db.ver (the catch log's format) and the
// marker file `import`, which lists every exported file with its length
// and SHA-256. Folder names in B are matched without regard to letter
// case; two folders there that differ only in letter case, or a link
// anywhere the export would write or the import would read, refuse the
// backup.

// The folder in a backup folder in which an export prepares the new files
// before they replace the old ones.
inline const QString kExportWorkFolder = QStringLiteral(".Export");

// True when a chosen export name ends in "import" (any letter case): that
// is the name of a backup's marker file, chosen by mistake.
bool EndsWithImport(const QString& path);

struct ExportResult {
    QString problem; // a German warning when nothing was exported
    bool cancelled = false; // the user cancelled; nothing was changed
    bool ok() const { return problem.isEmpty() && !cancelled; }
};

// Copies the logs of `logs` (with photos and db.ver for the catches) into
// `folder`, made when missing; other files there are left alone. Every new
// file is first written into kExportWorkFolder and read back, then all of
// them replace the old ones by renames, the new marker last, through the
// journal: the previous backup there stays whole until the new one is
// complete. Refused for a folder inside the program's "db" folder or the
// program folder itself. beforeCheck, when given, runs between copying
// and reading back.
ExportResult ExportBackup(const Env& env, const QString& folder, LogSet logs, ErrorTrap& trap,
    const std::function<void()>& beforeCheck = {}, ByteCounter* counter = nullptr);

// The marker file chosen for an import; nothing (logged through trap) when
// it cannot be read, is a link, is larger than a marker can be, or is no
// marker.
std::optional<Marker> ReadMarkerFile(const QString& path, ErrorTrap& trap);

struct ImportResult {
    enum Status {
        Imported, // everything asked for that the backup has is in place
        Refused, // nothing was changed; problem says why
        Cancelled, // the user cancelled; nothing was changed
        Incomplete, // stopped after some files were replaced; problem says why
    };
    Status status = Imported;
    bool costsMissing = false; // costs asked for, but the backup has no kosten\db
    bool catchesMissing = false; // catches asked for, but the backup has no fänge\db
    bool changed = false; // a current file was replaced
    int leftOut = 0; // files in the backup's folders that its marker does not list
    QString problem;
    QString safetyCopy; // host path of the safety copy made, if any
};

// Imports from the backup folder `folder` what `logs` asks for and the
// backup holds. With a marker that lists files, exactly the listed files
// are read, each checked against its line. Everything to be imported is
// copied into kImportStagingFolder (photos on another file system into a
// work folder inside the photo folder), read back, and the catch log
// brought to the current format there, before anything current is
// touched; then a safety copy of what will be replaced is made, and the
// new files take the places of the current ones by renames through the
// journal, so that a crash leaves all old or all new.
ImportResult ImportBackup(const Env& env, const QString& folder, const Marker& marker, LogSet logs,
    ErrorTrap& trap, ByteCounter* counter = nullptr);
