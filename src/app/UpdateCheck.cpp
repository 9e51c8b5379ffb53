#include "app/UpdateCheck.h"

#include "platform/Cp1252.h"

#include <QByteArrayList>
#include <QCryptographicHash>
#include <QFile>

#include <cmath>

using namespace Qt::StringLiterals;

qint64 installedVersionNumber(int major, int minor, int revision)
{
    return qint64(major) * 1000000 + qint64(minor) * 10000 + revision;
}

QString installedVersionShown(int major, int minor, int revision)
{
    return QString::number(major) + QString::number(minor) + u'0' + QString::number(revision);
}

namespace {

bool isSeparator(QChar c)
{
    return c == u',' || c == u'\r' || c == u'\n';
}

// Reads one item from pos on and leaves pos behind its separator.
QString nextItem(const QString& text, qsizetype& pos)
{
    while (pos < text.size() && (text[pos] == u' ' || text[pos] == u'\t'))
        ++pos;
    QString item;
    if (pos < text.size() && text[pos] == u'"') {
        const qsizetype close = text.indexOf(u'"', pos + 1);
        const qsizetype end = close < 0 ? text.size() : close;
        item = text.mid(pos + 1, end - pos - 1);
        pos = end + 1;
        while (pos < text.size() && !isSeparator(text[pos]))
            ++pos;
    } else {
        const qsizetype start = pos;
        while (pos < text.size() && !isSeparator(text[pos]))
            ++pos;
        item = text.mid(start, pos - start).trimmed();
    }
    // One separator: a comma, or a line break of CR LF, CR or LF.
    if (pos < text.size()) {
        if (text[pos] == u'\r' && pos + 1 < text.size() && text[pos + 1] == u'\n')
            ++pos;
        ++pos;
    }
    return item;
}

} // namespace

VersionFileItems readVersionFile(const QByteArray& bytes)
{
    const QString text = decode1252(bytes);
    qsizetype pos = 0;
    VersionFileItems items;
    items.item1 = nextItem(text, pos);
    items.item2 = nextItem(text, pos);
    return items;
}

std::optional<qint64> versionNumber(const QString& item)
{
    // Eighteen digits always fit into 64 bits.
    if (item.isEmpty() || item.size() > 18)
        return std::nullopt;
    qint64 n = 0;
    for (QChar c : item) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        n = n * 10 + (c.unicode() - u'0');
    }
    return n;
}

VersionCheck checkVersionFile(const QByteArray& bytes, int major, int minor, int revision)
{
    VersionCheck check;
    check.offered = readVersionFile(bytes).item1;
    const std::optional<qint64> offered = versionNumber(check.offered);
    if (!offered)
        check.verdict = VersionVerdict::Unreadable;
    else if (*offered > installedVersionNumber(major, minor, revision))
        check.verdict = VersionVerdict::Newer;
    else
        check.verdict = VersionVerdict::NotNewer;
    return check;
}

namespace {

bool isSha256Hex(const QByteArray& text)
{
    if (text.size() != 64)
        return false;
    for (char c : text)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    return true;
}

} // namespace

std::optional<ReleaseFile> releaseFile(const QByteArray& versionFile, const QString& name)
{
    const QByteArray wanted = encode1252(name);
    const QByteArrayList lines = versionFile.split('\n');
    std::optional<ReleaseFile> found;
    // The first line is the version.
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArrayList fields = lines[i].simplified().split(' ');
        if (fields.first() != wanted)
            continue;
        // Two lines for one file: neither can be told to be the right one.
        if (found)
            return std::nullopt;
        const std::optional<qint64> size = versionNumber(QString::fromLatin1(fields.value(1)));
        if (fields.size() != 3 || !size || !isSha256Hex(fields[2]))
            return std::nullopt;
        found = ReleaseFile { *size, fields[2] };
    }
    return found;
}

bool matchesRelease(const QString& path, const ReleaseFile& expected)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() != expected.size)
        return false;
    QCryptographicHash hash(QCryptographicHash::Sha256);
    return hash.addData(&file) && file.atEnd() && hash.result().toHex() == expected.sha256;
}

QString newerVersionQuestion(const QString& installedShown, const QString& offered)
{
    return u"Es ist eine neuere Version verfügbar!\r\nInstallierte Version: "_s + installedShown
        + u"\r\nVerfügbare Version: "_s + offered
        + u"\r\n \r\nSoll die neue Version heruntergeladen und installiert werden?"_s;
}

QString kiloBytesText(qint64 bytes)
{
    const qint64 kb = bytes / 1024;
    QString digits = QString::number(kb < 0 ? -kb : kb);
    if (digits.size() < 3)
        digits = QString(3 - digits.size(), u'0') + digits;
    for (qsizetype i = digits.size() - 3; i > 0; i -= 3)
        digits.insert(i, u'.');
    return kb < 0 ? u'-' + digits : digits;
}

QString progressText(qint64 received, qint64 total)
{
    return kiloBytesText(received) + u" von "_s + kiloBytesText(total) + u" KiloBytes"_s;
}

int progressPercent(qint64 value, qint64 minimum, qint64 maximum)
{
    if (value > maximum)
        value = maximum;
    if (value < minimum)
        value = minimum;
    if (maximum <= 0)
        return 100;
    return static_cast<int>(std::floor(double(value) / double(maximum) * 100.0 + 0.5));
}
