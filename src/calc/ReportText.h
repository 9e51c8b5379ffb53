#pragma once

#include <QString>
#include <QStringView>

// Texts shared by the reports made from the catch log.

// Alphabetical order as a German reader expects it: letter case and the
// dots of the umlauts do not count ("ß" sorts as "ss").
QString GermanSortKey(QStringView text);

// The note on lines of the catch file that could not be read, or an empty
// text when there are none. `missing` of the `lines` are known to be left
// out of the page or window named by `missingFrom` ("diesem Bericht");
// when only some are, `partOf` says what they belong to ("aus diesem
// Jahr"). "1 Zeile der Fangdatei konnte nicht gelesen werden und fehlt in
// diesem Bericht."
QString UnreadableLinesNote(
    int lines, int missing, const QString& missingFrom, const QString& partOf = {});
