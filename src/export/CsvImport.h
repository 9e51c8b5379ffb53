#pragma once

#include "export/CsvReader.h"
#include "platform/Env.h"

#include <QList>
#include <QString>
#include <QStringList>

// Turns the rows of a CSV file into lines of the catch or cost log, each
// checked as strictly as a stored line is read: a calendar date, times and
// numbers in their stored forms, texts without a double quote, TAB or line
// break, fields within their length. Texts keep their exact text (one
// leading apostrophe, the spreadsheet's formula guard, comes off); numbers
// keep the digits written, with a decimal point turned into a comma.

enum class CsvLog { Catches, Costs };

// A log holds at most this many lines (record counts are 16-bit).
inline constexpr int kLogCapacity = 32767;

// The column a CSV column goes to: an index into CsvFieldNames, or this.
inline constexpr int kNotImported = -1;

// The fields a column can go to, as the preview names them. For catches
// the 17 stored fields in file order, then the weight in grams and the
// photo column ("ja"/"nein"); for costs the 8 stored fields.
QStringList CsvFieldNames(CsvLog log);

// The field of each column, matched by its caption without regard to
// letter case, in German or English ("Datum"/"Date", "Köder"/"Bait"/"Lure",
// "Gewicht (g)"/"Weight (g)", ...). A field goes to its first column only.
QList<int> MatchCsvColumns(CsvLog log, const QStringList& header);

struct CsvCheck {
    QStringList items; // stored items of the lines that passed, in file order
    QList<bool> duplicate; // per item: the log already holds such a line
    QStringList errors; // "Zeile 17: Datum „31.02.2024“ ungültig", by line
    int errorLines = 0;
    int duplicates = 0;
    int photoMarksDropped = 0; // "Foto" = "ja" without a photo file
    QStringList unusedColumns; // captions of the columns left out
    QString problem; // why no line can be taken at all; empty when none

    // The lines to import: without the duplicates unless they are wanted.
    QStringList importItems(bool withDuplicates) const;
};

// Checks every row of the sheet with the given column fields against the
// items the log holds now. Fields the file lacks get what the entry window
// stores for a box left untouched (start and end of fishing: the catch
// time; the moon phase of the date). A date or time with "Z" or an offset
// is turned into local time.
CsvCheck CheckCsvSheet(const Env& env, CsvLog log, const CsvSheet& sheet, const QList<int>& columns,
    const QStringList& logItems);

// The refusal when `adding` lines would take a log of `inFile` lines past
// its capacity; empty when they fit.
QString CsvCapacityProblem(CsvLog log, int inFile, int adding);

// The preview's counts, and why nothing can be imported when so.
QString CsvCountsText(const CsvCheck& check, bool withDuplicates, const QString& capacityProblem);

// The closing note of an import of `imported` lines.
QString CsvImportedText(const CsvCheck& check, bool withDuplicates, int imported);
