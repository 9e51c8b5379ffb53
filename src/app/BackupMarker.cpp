#include "app/BackupMarker.h"

#include "platform/Cp1252.h"

#include <QSet>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace {

constexpr int kHexDigits = 64;
const QString kSafetyLine = u"#Sicherheitskopie "_s;

// The text between the number signs of a marker line.
std::optional<QString> between(const QString& line)
{
    const QString t = line.trimmed();
    if (t.size() < 3 || !t.startsWith(u'#') || !t.endsWith(u'#'))
        return std::nullopt;
    return t.mid(1, t.size() - 2).trimmed();
}

QDate readDate(const QString& text)
{
    const QDate d = QDate::fromString(text, u"yyyy-M-d"_s);
    return d.isValid() ? d : QDate::fromString(text, u"yyyy-MM-dd"_s);
}

// A time alone, or a date with a time (the time is taken); an older
// program wrote midnight as the date that stands for day zero.
QTime readTime(const QString& text)
{
    const QString t = text.section(u' ', -1);
    const QTime time = QTime::fromString(t, u"H:m:s"_s);
    if (time.isValid())
        return time;
    if (!text.contains(u' ') && readDate(text) == QDate(1899, 12, 30))
        return QTime(0, 0);
    return QTime();
}

bool isHex(const QString& s)
{
    for (QChar c : s) {
        if (!((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F')))
            return false;
    }
    return true;
}

std::optional<MarkerEntry> readEntry(const QString& line)
{
    const qsizetype first = line.indexOf(u' ');
    const qsizetype second = first < 0 ? -1 : line.indexOf(u' ', first + 1);
    if (second < 0)
        return std::nullopt;
    const QString size = line.left(first);
    const QString hash = line.mid(first + 1, second - first - 1);
    const QString rel = line.mid(second + 1);
    bool digits = !size.isEmpty();
    for (QChar c : size)
        digits = digits && c >= u'0' && c <= u'9';
    bool ok = false;
    const qint64 length = size.toLongLong(&ok);
    if (!digits || !ok || hash.size() != kHexDigits || !isHex(hash) || rel.trimmed().isEmpty())
        return std::nullopt;
    return MarkerEntry { rel, { length, QByteArray::fromHex(hash.toLatin1()) } };
}

} // namespace

QByteArray MarkerBytes(const QDateTime& when, const QList<CopiedFile>& files, bool safetyCopy)
{
    QString text = u"#"_s + when.date().toString(u"yyyy-MM-dd"_s) + u"#\r\n#"_s
        + when.time().toString(u"HH:mm:ss"_s) + u"#\r\n"_s;
    if (safetyCopy)
        text += kSafetyLine + when.toString(u"yyyy-MM-dd HH:mm:ss.zzz"_s) + u"#\r\n"_s;
    for (const CopiedFile& f : files)
        text += QString::number(f.digest.size) + u' ' + QString::fromLatin1(f.digest.sha256.toHex())
            + u' ' + f.rel + u"\r\n"_s;
    return encode1252(text);
}

std::optional<Marker> ParseMarker(const QByteArray& bytes)
{
    QStringList lines = decode1252(bytes).split(u'\n');
    for (QString& l : lines) {
        if (l.endsWith(u'\r'))
            l.chop(1);
    }
    if (lines.size() < 2)
        return std::nullopt;
    const std::optional<QString> date = between(lines[0]);
    const std::optional<QString> time = between(lines[1]);
    if (!date || !time)
        return std::nullopt;
    Marker m { readDate(*date), readTime(*time), {}, {} };
    if (!m.date.isValid() || !m.time.isValid())
        return std::nullopt;
    qsizetype first = 2;
    if (lines.size() > 2 && lines[2].startsWith(kSafetyLine) && lines[2].endsWith(u'#')) {
        m.safetyCopyMade = QDateTime::fromString(
            lines[2].mid(kSafetyLine.size()).chopped(1), u"yyyy-MM-dd HH:mm:ss.zzz"_s);
        if (!m.safetyCopyMade.isValid())
            return std::nullopt;
        first = 3;
    }
    QSet<QString> named;
    for (qsizetype i = first; i < lines.size(); ++i) {
        if (lines[i].trimmed().isEmpty())
            continue;
        const std::optional<MarkerEntry> e = readEntry(lines[i]);
        if (!e)
            return std::nullopt;
        // The same file twice would be read and checked twice for nothing.
        const QString name = BackupFiles::relParts(e->rel).join(QChar(0));
        if (named.contains(name))
            return std::nullopt;
        named.insert(name);
        m.entries.append(*e);
    }
    return m;
}
