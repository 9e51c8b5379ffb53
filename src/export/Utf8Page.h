#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The bytes of a page of text lines: UTF-8, CR LF after every line.
QByteArray Utf8PageBytes(const QStringList& lines);

// Replaces the file at path with the page, through a temporary file, so an
// interrupted write leaves the old page whole. Returns 0 or the classic
// error number of the failure (76, 75, 70).
int WriteUtf8Page(const QString& path, const QStringList& lines);
