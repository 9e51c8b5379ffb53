#pragma once

#include <QByteArray>
#include <QChar>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

// Reads a CSV file as spreadsheets and other programs write it: cells
// between a separator (";", "," or TAB), a cell in double quotes may hold
// the separator, line ends and doubled double quotes. Line ends are CR LF,
// LF or CR.

enum class CsvEncoding { Detect, Utf8, Windows1252 };

// The separator as the file shows it: the one of ";", TAB and "," that
// turns up most often outside quotes on the first line (";" first, then
// TAB, on a tie).
QChar DetectCsvSeparator(const QString& text);

// One row of cells, with the number of the line it starts on (the file's
// first line is 1, counted as an editor counts them).
struct CsvRecord {
    int line = 0;
    QString text; // the cells one after another, as read
    QList<qsizetype> ends; // where each cell ends in text

    qsizetype size() const { return ends.size(); }
    QStringView cell(qsizetype i) const
    {
        const qsizetype from = i == 0 ? 0 : ends[i - 1];
        return QStringView(text).sliced(from, ends[i] - from);
    }
};

struct CsvSheet {
    CsvEncoding encoding = CsvEncoding::Utf8;
    bool byteOrderMark = false;
    QChar separator;
    QStringList header; // the captions of the first row
    QList<CsvRecord> records; // every further row with a cell not empty
    QStringList problems; // rows that could not be read, "Zeile 5: ..."
    int problemLines = 0;
};

// Reads the file's bytes. With CsvEncoding::Detect, a byte order mark or
// bytes that are valid UTF-8 mean UTF-8, anything else Windows-1252; with
// a null separator it is detected.
CsvSheet ReadCsvSheet(
    const QByteArray& bytes, QChar separator = QChar(), CsvEncoding encoding = CsvEncoding::Detect);

// The bytes of a file to import; false when it cannot be read.
bool ReadCsvFile(const QString& path, QByteArray& bytes);
