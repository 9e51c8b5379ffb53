#include "app/BackupFiles.h"

#include "platform/Cp1252.h"
#include "platform/RuntimeError.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <system_error>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 kChunk = 1 << 20;

std::filesystem::path fsPath(const QString& p)
{
#ifdef Q_OS_WIN
    return std::filesystem::path(p.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(p).toStdString());
#endif
}

bool isHexDigit(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

// An existing path with its links resolved; the parts that do not exist
// yet are appended as given.
QString resolved(const QString& path)
{
    QString p = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    QString rest;
    while (!QFileInfo::exists(p)) {
        const qsizetype slash = p.lastIndexOf(u'/');
        if (slash <= 0)
            return QDir::cleanPath(path);
        rest.prepend(p.mid(slash));
        p.truncate(slash);
    }
    return QFileInfo(p).canonicalFilePath() + rest;
}

} // namespace

namespace BackupFiles {

QString folded(const QString& name)
{
    return name.normalized(QString::NormalizationForm_C).toCaseFolded();
}

QHash<QString, QString> entriesByFoldedName(const QString& dir)
{
    QHash<QString, QString> out;
    const QStringList names = QDir(dir).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& n : names)
        out.insert(folded(n), n);
    return out;
}

QString describe(const FileFault& fault)
{
    // A relative path is shown with its names as they are on disk.
    const QString file = fault.file.contains(u'/') ? fault.file : relParts(fault.file).join(u'\\');
    switch (fault.side) {
    case FileFault::None:
        return {};
    case FileFault::Missing:
        return u"Die Datei '%1' fehlt."_s.arg(file);
    case FileFault::Reading:
        return u"Die Datei '%1' kann nicht gelesen werden."_s.arg(file);
    case FileFault::Writing:
        return u"Die Datei '%1' konnte nicht geschrieben werden. Ist der Datenträger voll "
               u"oder schreibgeschützt?"_s.arg(file);
    case FileFault::Differs:
        return u"Die Kopie der Datei '%1' stimmt nicht mit dem Original überein."_s.arg(file);
    }
    return {};
}

FileDigest digestOf(const QString& path, FileFault& fault)
{
    if (!QFileInfo(path).isFile()) {
        fault = { Err::FileNotFound, FileFault::Missing, path };
        return {};
    }
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly)) {
        fault = { Err::PathFileAccess, FileFault::Reading, path };
        return {};
    }
    QCryptographicHash hash(QCryptographicHash::Sha256);
    QByteArray buffer(kChunk, Qt::Uninitialized);
    qint64 size = 0;
    for (;;) {
        const qint64 n = in.read(buffer.data(), buffer.size());
        if (n < 0) {
            fault = { Err::PathFileAccess, FileFault::Reading, path };
            return {};
        }
        if (n == 0)
            break;
        hash.addData(QByteArrayView(buffer.constData(), n));
        size += n;
    }
    return { size, hash.result() };
}

FileDigest copy(const QString& from, const QString& to, FileFault& fault)
{
    if (!QFileInfo(from).isFile()) {
        fault = { Err::FileNotFound, FileFault::Missing, from };
        return {};
    }
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly)) {
        fault = { Err::PathFileAccess, FileFault::Reading, from };
        return {};
    }
    if (!QFileInfo(QFileInfo(to).absolutePath()).isDir() || QFileInfo(to).isDir()) {
        fault = { Err::PathNotFound, FileFault::Writing, to };
        return {};
    }
    // The same file under another name (a link into the folder copied
    // from): it holds the bytes already, and writing it would destroy them.
    std::error_code ec;
    if (QFileInfo::exists(to) && std::filesystem::equivalent(fsPath(from), fsPath(to), ec))
        return digestOf(from, fault);
    // A new file, not the old one rewritten: an old `to` may be another
    // name of a file that must not change.
    if (QFileInfo::exists(to) && !QFile::remove(to)) {
        fault = { Err::PermissionDenied, FileFault::Writing, to };
        return {};
    }
    QFile out(to);
    // Unbuffered: a write that runs out of space is seen at once.
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
        fault = { Err::PermissionDenied, FileFault::Writing, to };
        return {};
    }
    QCryptographicHash hash(QCryptographicHash::Sha256);
    QByteArray buffer(kChunk, Qt::Uninitialized);
    qint64 size = 0;
    const auto fail = [&](FileFault::Side side) {
        out.close();
        QFile::remove(to);
        fault = { Err::PathFileAccess, side, side == FileFault::Reading ? from : to };
        return FileDigest {};
    };
    for (;;) {
        const qint64 n = in.read(buffer.data(), buffer.size());
        if (n < 0)
            return fail(FileFault::Reading);
        if (n == 0)
            break;
        hash.addData(QByteArrayView(buffer.constData(), n));
        if (out.write(buffer.constData(), n) != n)
            return fail(FileFault::Writing);
        size += n;
    }
    out.close();
    if (out.error() != QFileDevice::NoError)
        return fail(FileFault::Writing);
    return { size, hash.result() };
}

FileDigest linkOrCopy(const QString& from, const QString& to, FileFault& fault)
{
    std::error_code ec;
    if (QFileInfo(from).isFile() && !QFileInfo::exists(to)) {
        std::filesystem::create_hard_link(fsPath(from), fsPath(to), ec);
        if (!ec)
            return digestOf(to, fault);
    }
    return copy(from, to, fault);
}

QString child(const QString& dir, const QString& name)
{
    if (QFileInfo::exists(dir + u'/' + name))
        return dir + u'/' + name;
    return dir + u'/' + entriesByFoldedName(dir).value(folded(name), name);
}

void copyFile(const QString& from, const QString& toDir, const QString& name, const QString& prefix,
    QList<CopiedFile>& out, FileFault& fault)
{
    const QString target = child(toDir, name);
    const QString rel = prefix + relName(QFileInfo(target).fileName());
    const FileDigest d = copy(from, target, fault);
    if (fault) {
        fault.file = rel;
        return;
    }
    out.append({ rel, from, target, d });
}

void copyTree(const QString& from, const QString& to, const QString& prefix, QList<CopiedFile>& out,
    FileFault& fault, bool link)
{
    if (!QFileInfo(from).isDir()) {
        fault = { Err::PathNotFound, FileFault::Missing, from };
        return;
    }
    if (!makeFolder(to)) {
        fault = { Err::PathFileAccess, FileFault::Writing, prefix };
        return;
    }
    const QHash<QString, QString> existing = entriesByFoldedName(to);
    const QFileInfoList entries = QDir(from).entryInfoList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& fi : entries) {
        const QString name = existing.value(folded(fi.fileName()), fi.fileName());
        const QString target = to + u'/' + name;
        const QString rel = prefix + relName(name);
        if (fi.isDir()) {
            // A link to a folder could lead back into the folder being copied.
            if (!fi.isSymLink())
                copyTree(fi.filePath(), target, rel + u'\\', out, fault, link);
        } else if (fi.isFile()) {
            const FileDigest d = link ? linkOrCopy(fi.filePath(), target, fault)
                                      : copy(fi.filePath(), target, fault);
            if (fault)
                fault.file = rel;
            else
                out.append({ rel, fi.filePath(), target, d });
        }
        if (fault)
            return;
    }
}

FileFault checkCopies(const QList<CopiedFile>& files)
{
    for (const CopiedFile& f : files) {
        FileFault fault;
        const FileDigest d = digestOf(f.target, fault);
        if (!fault && d != f.digest)
            fault = { Err::PathFileAccess, FileFault::Differs, f.target };
        if (fault) {
            if (fault.side == FileFault::Reading)
                fault.side = FileFault::Differs;
            fault.file = f.rel;
            return fault;
        }
    }
    return {};
}

int renameOver(const QString& from, const QString& to)
{
    std::error_code ec;
    std::filesystem::rename(fsPath(from), fsPath(to), ec);
    return ec ? Err::PathFileAccess : 0;
}

QString relName(const QString& name)
{
    QString out;
    out.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name[i];
        const bool pair
            = c.isHighSurrogate() && i + 1 < name.size() && name[i + 1].isLowSurrogate();
        const bool plain = !pair && c != u'%' && c != u'\\' && c != u'/' && c.unicode() >= 0x20
            && c.unicode() != 0x7F && isRepresentable1252(c);
        if (plain) {
            out += c;
            continue;
        }
        const QByteArray utf8 = QString(name.constData() + i, pair ? 2 : 1).toUtf8();
        for (const char b : utf8)
            out += u'%' + QString::number(quint8(b), 16).rightJustified(2, u'0').toUpper();
        if (pair)
            ++i;
    }
    return out;
}

QStringList relParts(const QString& rel)
{
    QStringList parts;
    for (const QString& part : rel.split(u'\\', Qt::SkipEmptyParts)) {
        QString name;
        QByteArray bytes;
        for (qsizetype i = 0; i < part.size(); ++i) {
            if (part[i] == u'%' && i + 2 < part.size() && isHexDigit(part[i + 1])
                && isHexDigit(part[i + 2])) {
                bytes += char(part.mid(i + 1, 2).toUInt(nullptr, 16));
                i += 2;
                continue;
            }
            name += QString::fromUtf8(std::exchange(bytes, {}));
            name += part[i];
        }
        name += QString::fromUtf8(bytes);
        parts.append(name);
    }
    return parts;
}

bool makeFolder(const QString& path)
{
    if (QFileInfo(path).isDir())
        return true;
    return QDir().mkpath(path) && QFileInfo(path).isDir();
}

bool isAtOrBelow(const QString& path, const QString& folder)
{
    const QString p = resolved(path);
    const QString f = resolved(folder);
    return p.compare(f, Qt::CaseInsensitive) == 0 || p.startsWith(f + u'/', Qt::CaseInsensitive);
}

} // namespace BackupFiles
