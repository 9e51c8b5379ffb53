#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// The two log files ("db\fänge\db", "db\kosten\db") hold one record per line:
// a double quote, the fields joined by TABs, a double quote, CR LF.
// All functions take host paths and throw RuntimeError on failure.

// Reads every item of the file in one pass. An item is the text between a
// line's opening quote and the next quote; a line that is not in the quoted
// form is taken whole. Lines may end in CR LF, LF alone or CR alone.
// Missing file: 53.
QStringList ReadItems(const QString& path);

// Turns the file's bytes into items, as ReadItems does.
QStringList ParseItems(const QByteArray& bytes);

// The bytes of one record line: quote, item, quote, CR LF.
QByteArray RecordLine(const QString& item);

// Appends one record line (the file is created if missing).
void AppendItem(const QString& path, const QString& item);

// Replaces the whole file with the given items, atomically.
void RewriteItems(const QString& path, const QStringList& items);

// Replaces the whole file atomically: the old or the new file, never half.
void writeAtomically(const QString& path, const QByteArray& bytes);

// The whole file's bytes. Missing file: 53.
QByteArray readAllBytes(const QString& path);
