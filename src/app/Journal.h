#pragma once

#include "platform/Env.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

// A step that changes several files (an import, a reset, an export into an
// existing backup) first prepares everything new beside the files it
// replaces, then writes the journal "db\Vorgang" listing the renames that
// put the new files in place, in order, and only then renames. Each rename
// goes to a name that is free at that moment (a file to be replaced is
// first moved into the step's own folder), so a rename is done exactly
// when its source is gone and its target is there. A start after a crash
// finds the journal and completes the renames, or, when that cannot be
// done, puts the previous files back. Previous files are deleted only
// once the journal says the step is complete.

inline const QString kJournalFile = QStringLiteral("db\\Vorgang");

struct Move {
    QString from;
    QString to;
};

struct Journal {
    QString kind; // "Einlesen", "Export", "Zurücksetzen"
    QString place; // where the step works, as shown to the user
    QString safetyCopy; // host path of the safety copy made before, if any
    QList<Move> moves;
    QStringList cleanup; // removed (links as links) once the moves are done

    enum State { Open, Done, Undone };
};

// Writes the journal, carries out its moves, marks it done, removes what
// `cleanup` names and finally the journal. When a move fails, the moves
// made are undone (Undone); when not everything could be put back, the
// journal stays for the next start (Stuck). Throws BackupFiles::Stopped
// when a test stops the work.
enum class Outcome { Done, Undone, Stuck };
Outcome CarryOut(const Env& env, const Journal& journal);

struct Recovery {
    enum Status {
        Nothing, // no unfinished step
        Completed, // the step's renames were completed
        Undone, // the previous files were put back
        Failed, // neither: the journal stays, message says where the files are
    };
    Status status = Nothing;
    QString message; // German, for the user
};

// At start: finishes a step a crash interrupted, as the journal says, and
// removes the leftovers of one that never got to its journal.
Recovery RecoverUnfinished(const Env& env);

// The folders in which the backup import and the reset prepare their work;
// left over without a journal they are removed at start.
inline const QString kImportStagingFolder = QStringLiteral("db\\Einlesen");
// The work folder inside a photo folder that lies on another file system
// (a mount point or a link to another disk), so that photos are renamed,
// never copied, into place.
inline const QString kPhotoWorkFolder = QStringLiteral(".Einlesen");

struct FileFault;

// Plans the moves that put every entry of the folder `staged` into the
// folder `target`: an entry missing there is moved in whole; a folder
// there is merged with the staged folder of that name; anything else
// there is first moved below `previous` (its folders are made now), then
// the staged entry takes its place under the staged name. Names match as
// BackupFiles::child matches them, except that a name the staged folder
// holds itself is never taken for another spelling. A link in `target`
// where an entry goes, or two folders there that differ only in letter
// case, is a fault. `finals`, when given, maps each staged file to where
// it ends up. Entries of `target` that earlier moves take away are
// named in `gone`.
void PlanInto(const QString& staged, const QString& target, const QString& previous,
    QList<Move>& moves, QHash<QString, QString>* finals, FileFault& fault,
    const QSet<QString>& gone = {});
