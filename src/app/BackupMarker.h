#pragma once

#include "app/BackupFiles.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QTime>

#include <optional>

// The marker file `import` of a backup folder: the export's date and time,
// each between number signs on a line of its own ("#2006-03-05#",
// "#14:07:09#"), then one line per exported file with its length, its
// SHA-256 in hexadecimal and its path in the backup folder, separated by
// one blank:
//
//   4711 9f86d081884c7d65...0f00a08 fänge\db
//
// A marker of an older program version has the two first lines only. A
// safety copy's marker has a third line that says so and when it was made,
// to the millisecond: "#Sicherheitskopie 2006-03-05 14:07:09.250#".
//
// A marker is at most kMarkerSizeLimit bytes and names each file once.

inline constexpr qint64 kMarkerSizeLimit = qint64(1) << 20;

struct MarkerEntry {
    QString rel; // as relName parts joined by backslashes
    FileDigest digest;
};

struct Marker {
    QDate date;
    QTime time;
    QList<MarkerEntry> entries; // empty for an older marker
    QDateTime safetyCopyMade; // valid for a safety copy's marker only
};

// The marker's bytes for files exported at `when`, Windows-1252, CR LF.
// With `safetyCopy`, the line that marks a safety copy follows the time.
QByteArray MarkerBytes(
    const QDateTime& when, const QList<CopiedFile>& files, bool safetyCopy = false);

// Reads a marker. Nothing when its date or time cannot be read or a file
// line is not in the form above, or when two file lines name one file.
std::optional<Marker> ParseMarker(const QByteArray& bytes);
