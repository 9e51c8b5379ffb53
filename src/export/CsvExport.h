#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

// The two logs as CSV files a German spreadsheet opens without asking:
// UTF-8 with a byte order mark, ";" between cells, CR LF after every row,
// a header row naming each column with its unit. Amounts, weights, lengths,
// temperatures and depths are plain numbers with a decimal comma, so that
// a spreadsheet can add them up.
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

// One cell of text: a leading "=", "+", "-", "@", TAB or CR gets an
// apostrophe before it, so that a spreadsheet never runs it as a formula;
// a text of blanks only is empty. Quoted when it holds ";", a double quote,
// CR or LF, with double quotes doubled.
QString CsvTextCell(QStringView text);

// One cell of a number column: a number in the program's forms ("+ 18",
// "-3", "12,40", "4,50 €") as a spreadsheet reads it ("18", "-3", "12,40",
// "4,50"); anything else is kept as a text cell.
QString CsvNumberCell(QStringView text);
