#include "app/Reset.h"

#include "app/SafetyCopy.h"
#include "platform/ErrorLog.h"
#include "platform/FileOps.h"
#include "platform/Paths.h"

using namespace Qt::StringLiterals;

ResetResult ResetLogs(const Env& env, LogSet logs, const QString& place)
{
    ErrorTrap trap(env, place);
    ResetResult r;
    const bool catches = includes(logs, LogSet::Catches);
    const bool costs = includes(logs, LogSet::Costs);
    const SafetyCopyResult safety = MakeSafetyCopy(
        env, (costs ? SafeCosts : 0) | (catches ? SafeCatchLog | SafePhotos : 0), trap);
    if (!safety.ok())
        return { ResetResult::NotCopied, safety.problem, {} };
    r.safetyCopy = safety.folder;

    // Nothing to delete is no failure: the log is as empty as it gets.
    bool failed = false;
    const auto remove = [&](auto&& f) {
        try {
            f();
        } catch (const RuntimeError& e) {
            trap.log(e.number);
            failed = failed || (e.number != Err::FileNotFound && e.number != Err::PathNotFound);
        }
    };
    const auto p = [&](const QString& rel) { return hostPath(env.programDir, rel); };
    if (catches)
        remove([&] { FileOps::deleteFile(p(u"db\\fänge\\db"_s)); });
    if (costs)
        remove([&] { FileOps::deleteFile(p(u"db\\kosten\\db"_s)); });
    if (catches)
        remove([&] { FileOps::deleteByPattern(p(u"db\\bilder"_s), u"*.*"_s); });
    if (failed) {
        r.status = ResetResult::Incomplete;
        r.problem = u"Die Datenbank(en) konnten nicht vollständig geleert werden!\r\n"
                    u"Der vorherige Stand liegt in der Sicherheitskopie '%1' und kann von dort "
                    u"wieder eingelesen werden."_s.arg(safety.folder);
    }
    return r;
}
