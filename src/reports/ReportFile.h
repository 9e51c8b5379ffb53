#pragma once

#include <QString>
#include <QStringList>

// Writes a page's lines as Windows-1252 text with CR LF after every line,
// replacing the file at hostPath as a whole: a page that cannot be written
// completely leaves the old file untouched. Returns 0, or the classic
// error number of the failure.
int WriteReportFile(const QString& hostPath, const QStringList& lines);
