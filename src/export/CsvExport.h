#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The two logs as CSV files a German spreadsheet opens without asking:
// UTF-8 with a byte order mark, ";" between cells, CR LF after every row,
// a header row naming each column with its unit. Amounts, weights, lengths,
// temperatures and depths are plain numbers with a decimal comma, so that
// a spreadsheet can add them up; a value there that is no number in the
// program's forms stays a text. A text that would start a formula ("=",
// "+", "-", "@", TAB, CR) or that starts with an apostrophe gets an
// apostrophe before it; every other text is written as stored, blanks
// included; a cell with ";", a double quote, CR or LF is quoted, with
// double quotes doubled.
struct CsvFile {
    QByteArray bytes;
    int rows = 0; // records written below the header row
    int unreadable = 0; // lines given that could not be split into a record
};

// The catch lists' lines (column header, rule line, then one catch per
// line: photo mark, TAB, display date, fields 2..17). The photo mark "*"
// at the end of the species becomes the column "Foto" ("ja"/"nein").
CsvFile CatchesCsv(const QStringList& overviewLines);

// The cost lists' lines (display date, TAB, fields 2..8), no header lines.
CsvFile CostsCsv(const QStringList& costLines);
