#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Replaces the whole file at path with bytes through a temporary file beside
// it that is renamed over the old one: an interruption or a full disk leaves
// the old file whole. Returns 0, or the classic error number of the failure
// (76 folder missing, 75 access error, 70 permission denied).
int writeAtomically(const QString& path, const QByteArray& bytes);

// File system operations on host paths. Failures throw RuntimeError with
// the classic numbers (53 not found, 76 path not found, 75 access error,
// 70 permission denied).
namespace FileOps {
bool exists(const QString& path); // file or folder
bool fileExists(const QString& path); // regular file only
bool dirExists(const QString& path);
qint64 length(const QString& path); // 53 when missing
void createDir(const QString& path); // parent must exist (76)
void createEmptyFile(const QString& path); // create or truncate
void copyFile(const QString& from, const QString& to); // overwrites
void deleteFile(const QString& path); // 53 when missing
// Deletes the files of dir (not subfolders) whose names match the
// wildcard pattern, ignoring letter case. Returns how many were deleted.
int deleteByPattern(const QString& dir, const QString& pattern);
// Names of the regular files in dir, hidden and system files excluded.
QStringList listFiles(const QString& dir);
// Removes the file if it is there; false when it is there and stays.
bool removeIfPresent(const QString& path);
// writeAtomically, throwing RuntimeError with its error number.
void replaceFile(const QString& path, const QByteArray& bytes);
} // namespace FileOps
