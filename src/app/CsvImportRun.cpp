#include "app/CsvImportRun.h"

#include "app/SafetyCopy.h"
#include "platform/ErrorLog.h"
#include "store/Logbook.h"

using namespace Qt::StringLiterals;

CsvImportResult ImportCsvItems(
    const Env& env, Logbook& log, CsvLog which, const QStringList& items, ErrorTrap& trap)
{
    const bool catches = which == CsvLog::Catches;
    // Lines added elsewhere since the preview count too.
    log.refresh(trap.place());
    const int inFile = catches ? log.catchFileLines() : log.costFileLines();
    if (QString full = CsvCapacityProblem(which, inFile, int(items.size())); !full.isEmpty())
        return { 0, full };
    if (items.isEmpty())
        return {};

    const SafetyCopyResult safety = MakeSafetyCopy(env, catches ? SafeCatchLog : SafeCosts, trap);
    if (!safety.ok())
        return { 0, safety.problem };
    const bool written = catches ? log.appendCatches(items, trap) : log.appendCosts(items, trap);
    if (!written)
        return { 0,
            u"Die Zeilen konnten nicht in die %1 geschrieben werden; sie ist unverändert."_s.arg(
                catches ? u"Fangdatei"_s : u"Kostendatei"_s) };
    return { int(items.size()), {} };
}
