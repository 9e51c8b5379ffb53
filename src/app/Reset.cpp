#include "app/Reset.h"

#include "app/BackupFiles.h"
#include "app/Journal.h"
#include "app/SafetyCopy.h"
#include "platform/ErrorLog.h"
#include "platform/FileOps.h"
#include "platform/Paths.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;
using namespace BackupFiles;

ResetResult ResetLogs(const Env& env, LogSet logs, const QString& place)
{
    ErrorTrap trap(env, place);
    const bool catches = includes(logs, LogSet::Catches);
    const bool costs = includes(logs, LogSet::Costs);
    const SafetyCopyResult safety = MakeSafetyCopy(
        env, (costs ? SafeCosts : 0) | (catches ? SafeCatchLog | SafePhotos : 0), trap);
    if (!safety.ok())
        return { ResetResult::NotCopied, safety.problem, {} };

    // What goes is first moved aside through the journal, so that a crash
    // leaves the logs all emptied or all as they were; only then is it
    // deleted. Photos on another file system are moved aside there.
    const auto p = [&](const QString& rel) { return hostPath(env.programDir, rel); };
    const QString work = p(kImportStagingFolder);
    const QString photos = p(kPhotoFolder);
    Journal journal { u"Zurücksetzen"_s, env.programDir, safety.folder, {}, { work } };
    bool made = removeTree(work) && makeFolder(work);
    const auto aside = [&](const QString& rel, const QString& name) {
        if (kindOf(p(rel)) != Kind::Missing)
            journal.moves.append({ p(rel), work + u'/' + name });
    };
    if (catches)
        aside(kCatchLogPath, u"fänge-db"_s);
    if (costs)
        aside(kCostLogPath, u"kosten-db"_s);
    if (catches && QFileInfo(photos).isDir()) {
        QString photoWork = work + u"/bilder"_s;
        if (!sameDevice(photos, work)) {
            photoWork = photos + u'/' + kPhotoWorkFolder;
            journal.cleanup.append(photoWork);
            made = made && removeTree(photoWork);
        }
        made = made && makeFolder(photoWork);
        // Every file of the photo folder, the marker file included;
        // subfolders stay.
        for (const QString& name : entries(photos)) {
            const Kind k = kindOf(photos + u'/' + name);
            if (k != Kind::Folder && k != Kind::Missing)
                journal.moves.append({ photos + u'/' + name, photoWork + u'/' + name });
        }
    }
    if (!made) {
        for (const QString& c : journal.cleanup)
            removeTree(c);
        removeTree(work);
    }
    const Outcome done = made ? CarryOut(env, journal) : Outcome::Undone;
    if (done == Outcome::Done)
        return { ResetResult::Emptied, {}, safety.folder };
    trap.log(Err::PathFileAccess);
    return { ResetResult::Incomplete,
        u"Die Datenbank(en) konnten nicht geleert werden!\r\n"_s
            + (done == Outcome::Undone
                    ? u"Es wurde nichts gelöscht."_s
                    : u"Beim nächsten Start wird das Leeren abgeschlossen oder rückgängig "
                      u"gemacht."_s)
            + u"\r\nDer vorherige Stand liegt in der Sicherheitskopie '%1'."_s.arg(safety.folder),
        safety.folder };
}
