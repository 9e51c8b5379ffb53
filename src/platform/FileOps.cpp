#include "platform/FileOps.h"

#include "platform/RuntimeError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace FileOps {

bool exists(const QString& path)
{
    return QFileInfo::exists(path);
}

bool fileExists(const QString& path)
{
    const QFileInfo fi(path);
    return fi.exists() && fi.isFile();
}

bool dirExists(const QString& path)
{
    const QFileInfo fi(path);
    return fi.exists() && fi.isDir();
}

qint64 length(const QString& path)
{
    const QFileInfo fi(path);
    if (!fi.exists() || !fi.isFile())
        throw RuntimeError { Err::FileNotFound };
    return fi.size();
}

void createDir(const QString& path)
{
    const QFileInfo fi(path);
    if (fi.exists())
        throw RuntimeError { Err::PathFileAccess };
    if (!QFileInfo(fi.absolutePath()).isDir())
        throw RuntimeError { Err::PathNotFound };
    if (!QDir().mkdir(path))
        throw RuntimeError { Err::PathFileAccess };
}

void createEmptyFile(const QString& path)
{
    QFile f(path);
    if (!QFileInfo(QFileInfo(path).absolutePath()).isDir())
        throw RuntimeError { Err::PathNotFound };
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw RuntimeError { Err::PermissionDenied };
}

void copyFile(const QString& from, const QString& to)
{
    if (!fileExists(from))
        throw RuntimeError { Err::FileNotFound };
    if (!QFileInfo(QFileInfo(to).absolutePath()).isDir())
        throw RuntimeError { Err::PathNotFound };
    if (QFileInfo(from).canonicalFilePath() == QFileInfo(to).canonicalFilePath())
        return;
    const QString tmp = to + QStringLiteral(".kh-copy");
    QFile::remove(tmp);
    // Copy beside the target first, so a failed copy never destroys the old file.
    if (!QFile::copy(from, tmp))
        throw RuntimeError { Err::PermissionDenied };
    QFile::setPermissions(tmp, QFile::permissions(tmp) | QFile::WriteOwner);
    if (QFileInfo::exists(to) && !QFile::remove(to)) {
        QFile::remove(tmp);
        throw RuntimeError { Err::PermissionDenied };
    }
    if (!QFile::rename(tmp, to)) {
        QFile::remove(tmp);
        throw RuntimeError { Err::PathFileAccess };
    }
}

void deleteFile(const QString& path)
{
    if (!fileExists(path))
        throw RuntimeError { Err::FileNotFound };
    if (!QFile::remove(path))
        throw RuntimeError { Err::PermissionDenied };
}

int deleteByPattern(const QString& dir, const QString& pattern)
{
    if (!dirExists(dir))
        throw RuntimeError { Err::PathNotFound };
    // By the Windows wildcard rules a trailing ".*" also matches names
    // without any dot, so "*.*" means every file.
    QString regex = QRegularExpression::wildcardToRegularExpression(
        pattern, QRegularExpression::UnanchoredWildcardConversion);
    if (pattern.endsWith(QStringLiteral(".*")))
        regex = u"(?:"_s + regex + u")|(?:"_s
            + QRegularExpression::wildcardToRegularExpression(
                pattern.chopped(2), QRegularExpression::UnanchoredWildcardConversion)
            + u')';
    const QRegularExpression anchored(
        QRegularExpression::anchoredPattern(regex), QRegularExpression::CaseInsensitiveOption);
    int n = 0;
    bool failed = false;
    for (const QFileInfo& fi : QDir(dir).entryInfoList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (!anchored.match(fi.fileName()).hasMatch())
            continue;
        if (QFile::remove(fi.filePath()))
            ++n;
        else
            failed = true;
    }
    if (failed)
        throw RuntimeError { Err::PermissionDenied };
    if (n == 0)
        throw RuntimeError { Err::FileNotFound };
    return n;
}

QStringList listFiles(const QString& dir)
{
    if (!dirExists(dir))
        throw RuntimeError { Err::PathNotFound };
    return QDir(dir).entryList(QDir::Files, QDir::Name);
}

} // namespace FileOps

int writeAtomically(const QString& path, const QByteArray& bytes)
{
    const QFileInfo fi(path);
    if (!QFileInfo(fi.absolutePath()).isDir())
        return Err::PathNotFound;
    if (fi.isDir())
        return Err::PathFileAccess;
    // QSaveFile writes a temporary file beside the target and renames it
    // over the old one on commit.
    // Unbuffered: a buffered write that runs out of space is only noticed
    // when the buffer is flushed at commit, and a short flush there is not
    // reported; written directly, a short write is seen here, before the
    // new file can replace the old one.
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fi.exists() && !fi.isWritable() ? Err::PermissionDenied : Err::PathFileAccess;
    if (f.write(bytes) != bytes.size() || f.size() != bytes.size()) {
        f.cancelWriting();
        f.commit();
        return Err::PathFileAccess;
    }
    if (!f.commit())
        return Err::PathFileAccess;
    return 0;
}

void FileOps::replaceFile(const QString& path, const QByteArray& bytes)
{
    if (const int error = writeAtomically(path, bytes))
        throw RuntimeError { error };
}

bool FileOps::removeIfPresent(const QString& path)
{
    return !QFile::exists(path) || QFile::remove(path);
}
