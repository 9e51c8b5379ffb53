#include "store/RecordFile.h"

#include "platform/Cp1252.h"
#include "platform/RuntimeError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

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

QStringList ParseItems(const QByteArray& bytes)
{
    const QString text = decode1252(bytes);
    QStringList items;
    // Records are about a hundred bytes each; reserving avoids regrowth.
    items.reserve(bytes.size() / 64 + 1);

    const qsizetype size = text.size();
    qsizetype start = 0;
    while (start < size) {
        // A line ends at CR LF, at LF alone or at CR alone (files from old
        // Macs): taking only LF as the end would read a CR-only file as
        // one record.
        qsizetype end = start;
        while (end < size && text[end] != u'\n' && text[end] != u'\r')
            ++end;
        qsizetype next = end + 1;
        if (end + 1 < size && text[end] == u'\r' && text[end + 1] == u'\n')
            ++next;

        // An empty line cannot hold a record: it is passed over, so that the
        // records after it still reach the reader.
        if (end > start) {
            if (text[start] == u'"') {
                // The item ends at the next quote; whatever follows it on the
                // line is not part of the record.
                const QStringView inner = QStringView(text).mid(start + 1, end - start - 1);
                const qsizetype close = inner.indexOf(u'"');
                items.append((close < 0 ? inner : inner.left(close)).toString());
            } else {
                items.append(text.mid(start, end - start));
            }
        }
        start = next;
    }
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

// True when the file has content whose last line lacks its line end (a file
// edited by hand, say): a record appended there would join that line.
bool lacksFinalLineEnd(const QString& path)
{
    QFile f(path);
    if (!QFileInfo(path).isFile() || f.size() == 0 || !f.open(QIODevice::ReadOnly))
        return false;
    if (!f.seek(f.size() - 1))
        return false;
    const QByteArray last = f.read(1);
    return last != "\n" && last != "\r";
}

void AppendItem(const QString& path, const QString& item)
{
    QByteArray line = RecordLine(item);
    if (lacksFinalLineEnd(path))
        line.prepend("\r\n");
    QFile f(path);
    if (!parentExists(path) || QFileInfo(path).isDir()
        || !f.open(QIODevice::WriteOnly | QIODevice::Append))
        throw RuntimeError { openFailure(path, false) };
    const qint64 before = f.size();
    const bool written = f.write(line) == line.size() && f.flush();
    if (!written) {
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
    writeAtomically(path, bytes);
}

void writeAtomically(const QString& path, const QByteArray& bytes)
{
    if (!parentExists(path))
        throw RuntimeError { Err::PathNotFound };
    if (QFileInfo(path).isDir())
        throw RuntimeError { Err::PathFileAccess };
    // QSaveFile writes a temporary file beside the target and renames it
    // over the old one on commit: an interruption leaves the old file whole.
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        throw RuntimeError { openFailure(path, false) };
    if (f.write(bytes) != bytes.size()) {
        f.cancelWriting();
        f.commit();
        throw RuntimeError { Err::PathFileAccess };
    }
    if (!f.commit())
        throw RuntimeError { Err::PathFileAccess };
}
