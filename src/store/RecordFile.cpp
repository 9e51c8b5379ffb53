#include "store/RecordFile.h"

#include "platform/Cp1252.h"
#include "platform/FileOps.h"
#include "platform/RuntimeError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

bool parentExists(const QString& path)
{
    return QFileInfo(QFileInfo(path).absolutePath()).isDir();
}

// Why a file could not be opened, in the classic numbers.
int openFailure(const QString& path, bool reading)
{
    const QFileInfo fi(path);
    if (!parentExists(path))
        return Err::PathNotFound;
    if (reading && !fi.exists())
        return Err::FileNotFound;
    if (fi.isDir())
        return Err::PathFileAccess;
    if (fi.exists() && !(reading ? fi.isReadable() : fi.isWritable()))
        return Err::PermissionDenied;
    return Err::PathFileAccess;
}

} // namespace

QByteArray StoredLine::bytes() const
{
    return raw.isEmpty() ? RecordLine(item) : raw + QByteArrayLiteral("\r\n");
}

QList<StoredLine> ParseLines(const QByteArray& bytes)
{
    QList<StoredLine> lines;
    // Records are about a hundred bytes each; reserving avoids regrowth.
    lines.reserve(bytes.size() / 64 + 1);

    // Line ends and quotes are the same bytes in the code page, so lines
    // are found in the bytes and only each item is decoded.
    const char* data = bytes.constData();
    const qsizetype size = bytes.size();
    qsizetype start = 0;
    while (start < size) {
        qsizetype end = start;
        while (end < size && data[end] != '\n' && data[end] != '\r')
            ++end;
        qsizetype next = end + 1;
        if (end < size && data[end] == '\r' && next < size && data[next] == '\n')
            ++next;

        // An empty line cannot hold a record: it is passed over, so that the
        // records after it still reach the reader.
        if (end > start) {
            const QByteArrayView line(data + start, end - start);
            StoredLine stored;
            if (line.front() == '"') {
                // The item ends at the next quote; whatever follows it on the
                // line is not part of the record.
                const QByteArrayView inner = line.sliced(1);
                const qsizetype close = inner.indexOf('"');
                stored.item = decode1252(close < 0 ? inner : inner.first(close));
                if (close != inner.size() - 1)
                    stored.raw = line.toByteArray();
            } else {
                stored.item = decode1252(line);
                stored.raw = line.toByteArray();
            }
            lines.append(std::move(stored));
        }
        start = next;
    }
    return lines;
}

QByteArray LinesBytes(const QList<StoredLine>& lines)
{
    qsizetype total = 0;
    for (const StoredLine& l : lines)
        total += (l.raw.isEmpty() ? l.item.size() + 2 : l.raw.size()) + 2;
    QByteArray bytes;
    bytes.reserve(total);
    for (const StoredLine& l : lines) {
        if (l.raw.isEmpty()) {
            bytes += '"';
            appendEncoded1252(bytes, l.item);
            bytes += "\"\r\n";
        } else {
            bytes += l.raw;
            bytes += "\r\n";
        }
    }
    return bytes;
}

QStringList ParseItems(const QByteArray& bytes)
{
    QStringList items;
    const QList<StoredLine> lines = ParseLines(bytes);
    items.reserve(lines.size());
    for (const StoredLine& l : lines)
        items.append(l.item);
    return items;
}

QByteArray readAllBytes(const QString& path)
{
    QFile f(path);
    if (!QFileInfo(path).isFile() || !f.open(QIODevice::ReadOnly))
        throw RuntimeError { openFailure(path, true) };
    QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError)
        throw RuntimeError { Err::PathFileAccess };
    return bytes;
}

QStringList ReadItems(const QString& path)
{
    return ParseItems(readAllBytes(path));
}

QByteArray RecordLine(const QString& item)
{
    return encode1252(u'"' + item + QStringLiteral("\"\r\n"));
}

QByteArray AppendBytes(const QByteArray& current, const QString& item)
{
    QByteArray line = RecordLine(item);
    if (!current.isEmpty() && !current.endsWith('\n') && !current.endsWith('\r'))
        line.prepend("\r\n");
    return line;
}

namespace {

// The last byte of the file, or -1 for an empty or unreadable file.
int lastByte(const QString& path)
{
    QFile f(path);
    if (!QFileInfo(path).isFile() || f.size() == 0 || !f.open(QIODevice::ReadOnly)
        || !f.seek(f.size() - 1))
        return -1;
    const QByteArray b = f.read(1);
    return b.isEmpty() ? -1 : static_cast<unsigned char>(b[0]);
}

} // namespace

void AppendItem(const QString& path, const QString& item)
{
    const int last = lastByte(path);
    const QByteArray line = AppendBytes(last < 0 ? QByteArray() : QByteArray(1, char(last)), item);
    QFile f(path);
    // Unbuffered, so that a failed write leaves nothing in a buffer that the
    // cut-back below would have to flush first (and fail on a full disk).
    if (!parentExists(path) || QFileInfo(path).isDir()
        || !f.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        throw RuntimeError { openFailure(path, false) };
    const qint64 before = f.size();
    if (f.write(line) != line.size()) {
        // Take a partly written line back out: left in place it would glue
        // itself to the next record appended.
        f.resize(before);
        f.close();
        throw RuntimeError { Err::PathFileAccess };
    }
    f.close();
    if (f.error() != QFileDevice::NoError)
        throw RuntimeError { Err::PathFileAccess };
}

void RewriteItems(const QString& path, const QStringList& items)
{
    QByteArray bytes;
    qsizetype total = 0;
    for (const QString& item : items)
        total += item.size() + 4;
    bytes.reserve(total);
    for (const QString& item : items)
        bytes += RecordLine(item);
    FileOps::replaceFile(path, bytes);
}
