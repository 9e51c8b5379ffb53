#include "app/BackupFiles.h"

#include "platform/Cp1252.h"
#include "platform/FileOps.h"
#include "platform/RuntimeError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <openssl/evp.h>

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 kChunk = 1 << 20;

int g_stopAfter = -1;
int g_changes = 0;
bool g_stopped = false;

std::filesystem::path fsPath(const QString& p)
{
    return std::filesystem::path(QFile::encodeName(p).toStdString());
}

QByteArray native(const QString& p)
{
    return QFile::encodeName(p);
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

// SHA-256 through OpenSSL, which uses the processor's hashing instructions
// where there are any: several times faster than a portable implementation
// on photos.
class Sha256 {
public:
    Sha256()
        : m_ctx(EVP_MD_CTX_new(), EVP_MD_CTX_free)
    {
        EVP_DigestInit_ex(m_ctx.get(), EVP_sha256(), nullptr);
    }
    void add(const char* data, qint64 n) { EVP_DigestUpdate(m_ctx.get(), data, size_t(n)); }
    QByteArray result()
    {
        unsigned char out[EVP_MAX_MD_SIZE];
        unsigned int len = 0;
        EVP_DigestFinal_ex(m_ctx.get(), out, &len);
        return QByteArray(reinterpret_cast<const char*>(out), int(len));
    }

private:
    std::unique_ptr<EVP_MD_CTX, void (*)(EVP_MD_CTX*)> m_ctx;
};

// A file descriptor closed when it goes.
class Fd {
public:
    explicit Fd(int fd)
        : m_fd(fd)
    {
    }
    ~Fd()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return m_fd; }
    int release() { return std::exchange(m_fd, -1); }

private:
    int m_fd;
};

// Opens a regular file for reading without following a link at its last
// part; -1 when it is missing, a link or no regular file.
int openRegular(const QString& path, FileFault& fault)
{
    const int fd = ::open(native(path).constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        fault = errno == ENOENT ? FileFault { Err::FileNotFound, FileFault::Missing, path }
                                : FileFault { Err::PathFileAccess, FileFault::Reading, path };
        return -1;
    }
    struct stat st { };
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        fault = { Err::PathFileAccess, FileFault::Reading, path };
        return -1;
    }
    return fd;
}

qint64 readSome(int fd, char* buffer, qint64 size)
{
    for (;;) {
        const ssize_t n = ::read(fd, buffer, size_t(size));
        if (n >= 0 || errno != EINTR)
            return n;
    }
}

bool writeAll(int fd, const char* data, qint64 size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size_t(size));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= n;
    }
    return true;
}

bool sameFile(const QString& a, const QString& b)
{
    struct stat sa {
    }, sb {};
    return ::lstat(native(a).constData(), &sa) == 0 && ::lstat(native(b).constData(), &sb) == 0
        && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

} // namespace

namespace BackupFiles {

void stopAfter(int changes)
{
    g_stopAfter = changes;
    g_changes = 0;
    g_stopped = false;
}

void change()
{
    if (g_stopped || (g_stopAfter >= 0 && g_changes >= g_stopAfter)) {
        g_stopped = true;
        throw Stopped {};
    }
    ++g_changes;
}

Kind kindOf(const QString& path)
{
    struct stat st { };
    if (::lstat(native(path).constData(), &st) != 0)
        return Kind::Missing;
    if (S_ISLNK(st.st_mode))
        return Kind::Link;
    if (S_ISDIR(st.st_mode))
        return Kind::Folder;
    if (S_ISREG(st.st_mode))
        return Kind::File;
    return Kind::Other;
}

bool isMountPoint(const QString& path)
{
    const QString parent = QFileInfo(QDir::cleanPath(QFileInfo(path).absoluteFilePath())).path();
    return kindOf(path) == Kind::Folder && !sameDevice(path, parent);
}

bool sameDevice(const QString& a, const QString& b)
{
    struct stat sa {
    }, sb {};
    return ::stat(native(a).constData(), &sa) == 0 && ::stat(native(b).constData(), &sb) == 0
        && sa.st_dev == sb.st_dev;
}

QString folded(const QString& name)
{
    return name.normalized(QString::NormalizationForm_C).toCaseFolded();
}

QStringList entries(const QString& dir)
{
    return QDir(dir).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

Child child(const QString& dir, const QString& name)
{
    const QString exact = dir + u'/' + name;
    if (kindOf(exact) != Kind::Missing)
        return { exact, {} };
    const QString key = folded(name);
    QStringList same;
    for (const QString& n : entries(dir)) {
        if (folded(n) == key)
            same.append(n);
    }
    if (same.isEmpty())
        return { exact, {} };
    return { dir + u'/' + same[0], same.size() > 1 ? dir + u'/' + same[1] : QString() };
}

QString describe(const FileFault& fault)
{
    // A relative path is shown with its names as they are on disk.
    const QString file = fault.file.contains(u'/') ? fault.file : relParts(fault.file).join(u'\\');
    switch (fault.side) {
    case FileFault::None:
    case FileFault::Cancelled:
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
    case FileFault::Link:
        return u"'%1' ist eine Verknüpfung (ein symbolischer Link); Verknüpfungen werden weder "
               u"gelesen noch beschrieben."_s.arg(file);
    case FileFault::Twins:
        return u"Die Ordner '%1' und '%2' unterscheiden sich nur in der Groß- und "
               u"Kleinschreibung und können nicht auseinandergehalten werden."_s.arg(
                   file, fault.other);
    }
    return {};
}

FileDigest digestOf(const QString& path, FileFault& fault, ByteCounter* counter)
{
    Fd in(openRegular(path, fault));
    if (in.get() < 0)
        return {};
    Sha256 hash;
    const std::unique_ptr<char[]> buffer(new char[kChunk]);
    qint64 size = 0;
    for (;;) {
        const qint64 n = readSome(in.get(), buffer.get(), kChunk);
        if (n < 0) {
            fault = { Err::PathFileAccess, FileFault::Reading, path };
            return {};
        }
        if (n == 0)
            break;
        hash.add(buffer.get(), n);
        size += n;
        if (counter && !counter->add(n)) {
            fault = { 0, FileFault::Cancelled, path };
            return {};
        }
    }
    return { size, hash.result() };
}

FileDigest copy(const QString& from, const QString& to, FileFault& fault, ByteCounter* counter)
{
    Fd in(openRegular(from, fault));
    if (in.get() < 0)
        return {};
    change();
    // A new file, never an old one written in place: O_EXCL also refuses
    // a link standing at `to`.
    Fd out(
        ::open(native(to).constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
    if (out.get() < 0) {
        fault = { errno == ENOENT ? Err::PathNotFound : Err::PermissionDenied, FileFault::Writing,
            to };
        return {};
    }
    Sha256 hash;
    const std::unique_ptr<char[]> buffer(new char[kChunk]);
    qint64 size = 0;
    const auto fail = [&](FileFault::Side side) {
        ::close(out.release());
        ::unlink(native(to).constData());
        fault = { side == FileFault::Cancelled ? 0 : Err::PathFileAccess, side,
            side == FileFault::Reading ? from : to };
        return FileDigest {};
    };
    for (;;) {
        const qint64 n = readSome(in.get(), buffer.get(), kChunk);
        if (n < 0)
            return fail(FileFault::Reading);
        if (n == 0)
            break;
        hash.add(buffer.get(), n);
        if (!writeAll(out.get(), buffer.get(), n))
            return fail(FileFault::Writing);
        size += n;
        if (counter && !counter->add(n))
            return fail(FileFault::Cancelled);
    }
    if (::close(out.release()) != 0)
        return fail(FileFault::Writing);
    return { size, hash.result() };
}

FileDigest linkOrCopy(
    const QString& from, const QString& to, FileFault& fault, ByteCounter* counter)
{
    if (kindOf(from) == Kind::File) {
        change();
        if (::link(native(from).constData(), native(to).constData()) == 0)
            return digestOf(to, fault, counter);
    }
    return copy(from, to, fault, counter);
}

void copyTree(const QString& from, const QString& to, const QString& prefix, QList<CopiedFile>& out,
    FileFault& fault, const TreeCopy& how)
{
    // The folder itself may be a link (the program's photo folder on
    // another disk); below it, no link is followed.
    if (!QFileInfo(from).isDir()) {
        fault = { Err::PathNotFound, FileFault::Missing, prefix };
        return;
    }
    if (!makeFolder(to)) {
        fault = { Err::PathFileAccess, FileFault::Writing, prefix };
        return;
    }
    for (const QString& name : entries(from)) {
        if (!how.skip.isEmpty() && name == how.skip)
            continue;
        const QString source = from + u'/' + name;
        const QString rel = prefix + relName(name);
        switch (kindOf(source)) {
        case Kind::Folder:
            copyTree(source, to + u'/' + name, rel + u'\\', out, fault,
                { how.counter, how.link, how.refuseLinks, {} });
            break;
        case Kind::File: {
            const QString target = to + u'/' + name;
            const FileDigest d = how.link ? linkOrCopy(source, target, fault, how.counter)
                                          : copy(source, target, fault, how.counter);
            if (fault)
                fault.file = fault.side == FileFault::Cancelled ? fault.file : rel;
            else
                out.append({ rel, source, target, d, how.link && sameFile(source, target) });
            break;
        }
        case Kind::Link:
            if (how.refuseLinks)
                fault = { Err::PathFileAccess, FileFault::Link, rel };
            break;
        case Kind::Other:
        case Kind::Missing:
            break;
        }
        if (fault)
            return;
    }
}

FileFault checkCopies(const QList<CopiedFile>& files, ByteCounter* counter)
{
    for (const CopiedFile& f : files) {
        if (f.linked)
            continue;
        FileFault fault;
        const FileDigest d = digestOf(f.target, fault, counter);
        if (fault.side == FileFault::Cancelled)
            return fault;
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

int writeFile(const QString& path, const QByteArray& bytes)
{
    change();
    return writeAtomically(path, bytes);
}

int moveTo(const QString& from, const QString& to)
{
    if (kindOf(to) != Kind::Missing)
        return Err::PathFileAccess;
    change();
    std::error_code ec;
    std::filesystem::rename(fsPath(from), fsPath(to), ec);
    return ec ? Err::PathFileAccess : 0;
}

bool removeTree(const QString& path)
{
    const Kind kind = kindOf(path);
    if (kind == Kind::Missing)
        return true;
    if (kind == Kind::Folder) {
        // Checked before descending: a link inside is removed as a link.
        for (const QString& name : entries(path))
            removeTree(path + u'/' + name);
        change();
        return ::rmdir(native(path).constData()) == 0;
    }
    change();
    return ::unlink(native(path).constData()) == 0;
}

bool makeFolder(const QString& path)
{
    const Kind kind = kindOf(path);
    if (kind == Kind::Folder)
        return true;
    if (kind != Kind::Missing)
        return false;
    const QString parent = QFileInfo(path).path();
    if (parent != path && kindOf(parent) == Kind::Missing && !makeFolder(parent))
        return false;
    if (!QFileInfo(parent).isDir())
        return false;
    change();
    return ::mkdir(native(path).constData(), 0777) == 0;
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
    // Empty parts are kept, so that a path like "bilder\\x" can be refused.
    for (const QString& part : rel.split(u'\\')) {
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

bool plainParts(const QStringList& parts)
{
    if (parts.isEmpty())
        return false;
    for (const QString& part : parts) {
        if (part.isEmpty() || part == u"."_s || part == u".."_s || part.contains(u'/')
            || part.contains(u'\\') || part.contains(QChar(0)))
            return false;
    }
    return true;
}

bool isAtOrBelow(const QString& path, const QString& folder)
{
    const QString p = resolved(path);
    const QString f = resolved(folder);
    return p.compare(f, Qt::CaseInsensitive) == 0 || p.startsWith(f + u'/', Qt::CaseInsensitive);
}

bool sameFolder(const QString& a, const QString& b)
{
    return resolved(a).compare(resolved(b), Qt::CaseInsensitive) == 0;
}

} // namespace BackupFiles
