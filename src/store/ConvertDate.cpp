#include "store/ConvertDate.h"

#include "platform/Dialogs.h"
#include "platform/ErrorLog.h"

namespace {

// Characters from..from+count-1, counted from 1; the part beyond the end of
// a short input is simply empty.
QString piece(const QString& s, qsizetype from, qsizetype count)
{
    return s.mid(from - 1, count);
}

} // namespace

QString ConvertDate(const Env& env, const QString& date, const QString& direction)
{
    if (direction == u"en-de")
        return piece(date, 9, 2) + u'.' + piece(date, 6, 2) + u'.' + piece(date, 1, 4);
    if (direction == u"de-en")
        return piece(date, 7, 4) + u'/' + piece(date, 4, 2) + u'/' + piece(date, 1, 2);

    if (env.dialogs)
        env.dialogs->message(QStringLiteral("Unbekannter Parameter: ") + direction
                + QStringLiteral("\r\nVorgang wird abgebrochen!"),
            MsgIcon::Warning);
    // The log line names the refused call: "Error (<date> | <direction>".
    WriteLog(env, QStringLiteral("Funktion ConvertDate"),
        QStringLiteral("Error (") + date + QStringLiteral(" | ") + direction);
    return QString();
}
