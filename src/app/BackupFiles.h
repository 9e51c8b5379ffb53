#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// File work shared by the backup export and import, the safety copies and
// the reset. Nothing here follows a symbolic link when it writes, deletes
// or reads the files of a folder: a link is seen as a link, removed as a
// link, and refused where a file or a folder is expected. Paths are host
// paths.

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
    bool linked = false; // a second name of the source: nothing to read back
};

// What went wrong with a file: the classic error number, whether the file
// could not be read or not be written, and the file as shown to the user.
struct FileFault {
    enum Side { None, Reading, Writing, Differs, Missing, Cancelled, Link, Twins };
    FileFault() = default;
    FileFault(int n, Side s, QString f, QString o = {})
        : number(n)
        , side(s)
        , file(std::move(f))
        , other(std::move(o))
    {
    }
    int number = 0;
    Side side = None;
    QString file;
    QString other; // the second of two names that differ only in letter case
    explicit operator bool() const { return side != None; }
};

// Counts the bytes read during one export or import and asks, after each
// chunk, whether to go on: `report` gets the bytes read so far and returns
// false when the user cancelled.
// `total` is set by the work once it knows how much it will read.
class ByteCounter {
public:
    explicit ByteCounter(std::function<bool(qint64 done, qint64 total)> report = {})
        : m_report(std::move(report))
    {
    }
    void setTotal(qint64 total) { m_total = total; }
    // False once the user cancelled.
    bool add(qint64 bytes)
    {
        m_done += bytes;
        if (!m_cancelled && m_report && !m_report(m_done, m_total))
            m_cancelled = true;
        return !m_cancelled;
    }
    bool cancelled() const { return m_cancelled; }

private:
    std::function<bool(qint64, qint64)> m_report;
    qint64 m_done = 0;
    qint64 m_total = 0;
    bool m_cancelled = false;
};

namespace BackupFiles {

// Every change this file work makes to the file system (a folder made, a
// file created or linked, a rename, a removal) is one counted step. A test
// can stop the work before the step after `changes` steps, as a crash
// would: that step and every later one throw Stopped, and nothing else is
// changed. Negative: never stop.
struct Stopped { };
void stopAfter(int changes);
// Counts one change; throws Stopped when the work is to stop here.
void change();

// What stands at a path, links not followed.
enum class Kind { Missing, File, Folder, Link, Other };
Kind kindOf(const QString& path);
// True for a folder on another file system than its parent: a mount point.
bool isMountPoint(const QString& path);
// True when both paths lie on the same file system (they must exist).
bool sameDevice(const QString& a, const QString& b);

// What went wrong, in one German sentence naming the file.
QString describe(const FileFault& fault);

// The digest of the regular file at `path` (a link is refused as Reading).
FileDigest digestOf(const QString& path, FileFault& fault, ByteCounter* counter = nullptr);

// Copies the regular file `from` (never through a link) to the new file
// `to`, which must not exist, and returns the digest of the bytes read,
// hashed as they are copied. A copy that fails is removed.
FileDigest copy(
    const QString& from, const QString& to, FileFault& fault, ByteCounter* counter = nullptr);

// A second name `to` for the file `from` where the file system allows it
// (a hard link), else a copy; the digest is of the bytes under `to`. For
// files that are only ever replaced or deleted, never changed in place
// (the photos): the link keeps the bytes as a copy would.
FileDigest linkOrCopy(
    const QString& from, const QString& to, FileFault& fault, ByteCounter* counter = nullptr);

// How copyTree treats what it meets.
struct TreeCopy {
    ByteCounter* counter = nullptr;
    bool link = false; // files linked where possible (linkOrCopy)
    bool refuseLinks = false; // a link is a fault (side Link); else it is left out
    QString skip; // a top-level name left out
};

// Copies every regular file below the folder `from` into the new folder
// `to`, subfolders included, under the same names, and appends each to
// `out` with its path `prefix` + relName parts. Stops at the first fault.
void copyTree(const QString& from, const QString& to, const QString& prefix, QList<CopiedFile>& out,
    FileFault& fault, const TreeCopy& how);

// Reads every copy back: the first whose bytes are not those read from its
// source is reported as Differs (or Missing), named by its rel path.
FileFault checkCopies(const QList<CopiedFile>& files, ByteCounter* counter = nullptr);

// Writes a new file in one step (a temporary name renamed); the classic
// error number, 0 on success.
int writeFile(const QString& path, const QByteArray& bytes);

// Renames `from` to `to`, which must not exist; 75 on failure.
int moveTo(const QString& from, const QString& to);

// Removes a file, a link (as a link, never what it points to) or a folder
// with everything below it, descending into no link. True when nothing is
// left at the path.
bool removeTree(const QString& path);

// Makes the folder and its missing parents; false when it cannot be made
// or a link or a file stands where a folder is needed.
bool makeFolder(const QString& path);

// A name in the form names are compared in: composed and case-folded.
QString folded(const QString& name);

// The entry of `dir` that stands for `name`: the entry of that exact
// spelling, else the one entry whose name differs only in letter case.
// `twin` names a second entry when two entries other than the exact
// spelling match, so that the match cannot tell them apart. Without a
// match, dir/name.
struct Child {
    QString path;
    QString twin;
};
Child child(const QString& dir, const QString& name);

// The names in `dir` (links included), sorted.
QStringList entries(const QString& dir);

// A file or folder name as one part of a relative path in a marker file:
// a percent sign, a backslash, a slash, control characters and characters
// Windows-1252 cannot hold are written as %XX of their UTF-8 bytes, so
// that every name survives the marker's code page and its line form.
QString relName(const QString& name);
// The names of a relative path, the escapes undone.
QStringList relParts(const QString& rel);
// True when every part is a plain name: not empty, not "." or "..", and
// without a slash, a backslash or a NUL character.
bool plainParts(const QStringList& parts);

// True when `path` is `folder` or lies below it, after resolving links of
// the parts that exist; letter case is ignored.
bool isAtOrBelow(const QString& path, const QString& folder);
// True when both name the same folder after resolving links.
bool sameFolder(const QString& a, const QString& b);

} // namespace BackupFiles
