#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// The two log files ("db\fänge\db", "db\kosten\db") hold one record per line:
// a double quote, the fields joined by TABs, a double quote, CR LF.
// All functions take host paths and throw RuntimeError on failure.

// One line of a log file as read. The item is the text between the line's
// opening quote and the next quote; a line that is not in the quoted form
// is taken whole. A line in any other form than quote, item, quote keeps
// its own bytes, so that a rewrite gives it back exactly as it was.
struct StoredLine {
    QString item;
    QByteArray raw; // the line's bytes without line end; empty for the record form

    // The line's bytes with CR LF.
    QByteArray bytes() const;
};

// Splits a file's bytes into lines. CR LF, LF and CR alone all end a line;
// empty lines hold no record and are passed over.
QList<StoredLine> ParseLines(const QByteArray& bytes);

// The bytes of the lines, each ending in CR LF.
QByteArray LinesBytes(const QList<StoredLine>& lines);

// The items of the file's lines, as ParseLines gives them.
QStringList ParseItems(const QByteArray& bytes);

// Reads every item of the file in one pass. Missing file: 53.
QStringList ReadItems(const QString& path);

// The bytes of one record line: quote, item, quote, CR LF.
QByteArray RecordLine(const QString& item);

// The bytes AppendItem adds to a file that holds `current`: the record line,
// after a CR LF when the last line lacks its line end (a file edited by
// hand), so that the record does not join that line.
QByteArray AppendBytes(const QByteArray& current, const QString& item);

// Appends one record line (the file is created if missing). A failed write
// (a full disk, say) is cut back out, so the file is as it was before;
// throws 75 then.
void AppendItem(const QString& path, const QString& item);

// Replaces the whole file with the given items, atomically.
void RewriteItems(const QString& path, const QStringList& items);

// The whole file's bytes. Missing file: 53.
QByteArray readAllBytes(const QString& path);
