#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// File work shared by the backup export and import and the safety copies:
// copies that remember what they read, checks of the copies, and moves
// that replace a file in one step. Paths are host paths; names inside a
// folder are matched without regard to letter case.

// A file's length and SHA-256.
struct FileDigest {
    qint64 size = -1;
    QByteArray sha256; // 32 bytes
    bool operator==(const FileDigest&) const = default;
};

// One file copied: where from, where to, its path relative to the folder
// it was copied into (in that folder's spelling, components joined by a
// backslash) and the digest of the bytes read from the source.
struct CopiedFile {
    QString rel;
    QString source;
    QString target;
    FileDigest digest;
};

// What went wrong with a file: the classic error number, whether the file
// could not be read or not be written, and the file as shown to the user.
struct FileFault {
    enum Side { None, Reading, Writing, Differs, Missing };
    int number = 0;
    Side side = None;
    QString file;
    explicit operator bool() const { return side != None; }
};

namespace BackupFiles {

// What went wrong, in one German sentence naming the file.
QString describe(const FileFault& fault);

// The digest of the file's bytes; side Reading or Missing on failure.
FileDigest digestOf(const QString& path, FileFault& fault);

// Copies the file `from` to `to`, replacing `to`, and returns the digest of
// the bytes read from `from`. The copy is written in place: every copy goes
// into a folder that is not trusted until its copies have been checked (a
// backup whose marker is written last, a staging folder, a new safety
// copy). A copy that fails is removed.
FileDigest copy(const QString& from, const QString& to, FileFault& fault);

// A second name `to` for the file `from` where the file system allows it
// (a hard link), else a copy; the digest is of the bytes under `to`. For
// files that are only ever replaced or deleted, never changed in place
// (the photos): the link then keeps the bytes as a copy would, without
// writing them again.
FileDigest linkOrCopy(const QString& from, const QString& to, FileFault& fault);

// A name in the form names are compared in: composed and case-folded.
QString folded(const QString& name);
// The entries of dir by their folded names.
QHash<QString, QString> entriesByFoldedName(const QString& dir);

// The entry of dir named `name` without regard to letter case (umlauts
// included); dir/name when there is none.
QString child(const QString& dir, const QString& name);

// Copies the file `from` into the folder `toDir` under `name` (an entry of
// that name in other letter case is replaced) and appends it to `out`
// with its path `prefix` + name. The fault names the file by that path.
void copyFile(const QString& from, const QString& toDir, const QString& name, const QString& prefix,
    QList<CopiedFile>& out, FileFault& fault);

// Copies every file below the folder `from`, subfolders included, into the
// folder `to` (made when missing), matching existing names without regard
// to letter case. Links to folders are not followed. Stops at the first
// fault. With `link`, files are linked where possible (linkOrCopy).
void copyTree(const QString& from, const QString& to, const QString& prefix, QList<CopiedFile>& out,
    FileFault& fault, bool link = false);

// Reads every copy back: the first whose bytes are not those read from its
// source is reported as Differs (or Missing), named by its rel path.
FileFault checkCopies(const QList<CopiedFile>& files);

// Renames `from` over `to`, replacing it in one step; 75 on failure.
int renameOver(const QString& from, const QString& to);

// A file or folder name as one part of a relative path in a marker file:
// a percent sign, a backslash, a slash, control characters and characters
// Windows-1252 cannot hold are written as %XX of their UTF-8 bytes, so
// that every name survives the marker's code page and its line form.
QString relName(const QString& name);
// The names of a relative path, the escapes undone.
QStringList relParts(const QString& rel);

// Makes the folder and its parents; false when it cannot be made (a file
// standing where a folder is needed, say).
bool makeFolder(const QString& path);

// True when `path` is `folder` or lies below it, after resolving links of
// the parts that exist; letter case is ignored.
bool isAtOrBelow(const QString& path, const QString& folder);

} // namespace BackupFiles
