#include "app/LogSet.h"

#include "store/Logbook.h"

using namespace Qt::StringLiterals;

QString EditPendingMessage(const Logbook& log, LogSet set)
{
    const QString finish = u"Bitte speichern Sie die Änderung oder brechen Sie die Bearbeitung "
                           u"ab und versuchen Sie es dann noch einmal."_s;
    if (includes(set, LogSet::Catches) && !log.catchOutForEdit().isEmpty())
        return u"Es wird gerade ein Fang bearbeitet!\r\n"_s + finish;
    if (includes(set, LogSet::Costs) && !log.costOutForEdit().isEmpty())
        return u"Es wird gerade ein Einkauf bearbeitet!\r\n"_s + finish;
    return {};
}
