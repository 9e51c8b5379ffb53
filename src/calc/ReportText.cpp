#include "calc/ReportText.h"

using namespace Qt::StringLiterals;

QString GermanSortKey(QStringView text)
{
    QString k = text.toString().toLower();
    k.replace(u'ä', u'a');
    k.replace(u'ö', u'o');
    k.replace(u'ü', u'u');
    k.replace(u"ß"_s, u"ss"_s);
    return k;
}

QString UnreadableLinesNote(
    int lines, int missing, const QString& missingFrom, const QString& partOf)
{
    if (lines <= 0)
        return {};
    QString note = lines == 1
        ? u"1 Zeile der Fangdatei konnte nicht gelesen werden"_s
        : u"%1 Zeilen der Fangdatei konnten nicht gelesen werden"_s.arg(lines);
    if (missing == lines)
        note += (lines == 1 ? u" und fehlt in "_s : u" und fehlen in "_s) + missingFrom;
    else if (missing == 1)
        note += u"; 1 davon ist %1 und fehlt in %2"_s.arg(partOf, missingFrom);
    else if (missing > 1)
        note += u"; %1 davon sind %2 und fehlen in %3"_s.arg(
            QString::number(missing), partOf, missingFrom);
    return note + u'.';
}
