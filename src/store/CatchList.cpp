#include "store/CatchList.h"

#include "platform/ErrorLog.h"
#include "platform/FileOps.h"
#include "platform/Paths.h"
#include "platform/RuntimeError.h"
#include "store/ConvertDate.h"
#include "store/ConvertToArray.h"
#include "store/Numbers.h"

#include <QFileInfo>

#include <array>
#include <cfloat>
#include <cmath>

using namespace Qt::StringLiterals;

const QStringList kPhotoExtensions = { u"jpg"_s, u"jpeg"_s, u"gif"_s, u"bmp"_s };

namespace {

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

QString orText(const QString& text, const QString& instead)
{
    return text.isEmpty() ? instead : text;
}

// Date (field 1), catch time (field 4) and species (field 6) of a list record.
struct PhotoKey {
    QString date;
    QString time;
    bool marked = false;
};

PhotoKey photoKey(QStringView record)
{
    std::array<QStringView, kCatchFields> f;
    SplitRecord(record, kCatchFields, f.data());
    return { f[0].toString(), f[3].toString(), f[5].endsWith(u'*') };
}

} // namespace

QString CatchListLine(const Env& env, const QString& storedItem)
{
    const QChar mark = storedItem.contains(u'*') ? u'X' : u' ';
    return mark + u'\t' + ConvertDate(env, storedItem, u"en-de"_s) + u'\t' + storedItem.mid(11);
}

QString CatchStoredItem(const Env& env, const QString& listRecord)
{
    return ConvertDate(env, listRecord.left(10), u"de-en"_s) + u'\t' + listRecord.mid(11);
}

QString PhotoBaseName(const QString& displayDate, const QString& catchTime)
{
    return displayDate + u'_' + catchTime.mid(0, 2) + u'-' + catchTime.mid(3, 2) + u"-00"_s;
}

QString PhotoPath(
    const Env& env, const QString& displayDate, const QString& catchTime, const QString& extension)
{
    return hostPath(env.programDir,
        kPhotoFolder + u"\\"_s + PhotoBaseName(displayDate, catchTime) + u'.' + extension);
}

QString FindPhoto(const Env& env, const QString& displayDate, const QString& catchTime)
{
    QString found;
    for (const QString& ext : kPhotoExtensions) {
        const QString candidate = PhotoPath(env, displayDate, catchTime, ext);
        if (FileOps::fileExists(candidate))
            found = candidate;
    }
    return found;
}

QString FindPhotoOfRecord(const Env& env, const QString& listRecord)
{
    const PhotoKey k = photoKey(listRecord);
    return FindPhoto(env, k.date, k.time);
}

bool PhotoNamed(const QStringList& listLines, const QString& baseName, int except)
{
    for (int r = 2; r < listLines.size(); ++r) {
        const QStringView other = QStringView(listLines[r]).mid(2);
        if (r == except || other.left(10) != QStringView(baseName).left(10))
            continue;
        const PhotoKey k = photoKey(other);
        if (k.marked && PhotoBaseName(k.date, k.time) == baseName)
            return true;
    }
    return false;
}

void RemovePhotos(const Env& env, const QStringList& listLines, int row)
{
    const PhotoKey own = photoKey(QStringView(listLines.value(row)).mid(2));
    if (!own.marked)
        return;
    const QString base = PhotoBaseName(own.date, own.time);
    // Another catch of the same date and minute with a photo uses the same
    // file: it stays.
    if (PhotoNamed(listLines, base, row))
        return;

    const QString dir = hostPath(env.programDir, kPhotoFolder);
    const QString prefix = base + u'.';
    int removed = 0;
    for (const QString& name : FileOps::listFiles(dir)) {
        if (name.startsWith(prefix, Qt::CaseInsensitive)) {
            FileOps::deleteFile(dir + u'/' + name);
            ++removed;
        }
    }
    if (removed == 0)
        throw RuntimeError { Err::FileNotFound };
}

QDate TypedDate(const QString& text)
{
    if (text.size() != 10 || text[2] != u'.' || text[5] != u'.')
        return {};
    for (int i : { 0, 1, 3, 4, 6, 7, 8, 9 }) {
        if (!isAsciiDigit(text[i]))
            return {};
    }
    try {
        return ParseDisplayDate(text);
    } catch (const RuntimeError&) {
        return {};
    }
}

int TimeMinutes(const QString& t)
{
    if (t.size() != 5)
        return -1;
    for (int i : { 0, 1, 3, 4 }) {
        if (!isAsciiDigit(t[i]))
            return -1;
    }
    const int h = t.left(2).toInt();
    const int m = t.right(2).toInt();
    if (h > 23 || m > 59)
        return -1;
    return h * 60 + m;
}

bool CatchTimesValid(const CatchEntry& e, const QDateTime& now)
{
    const int b = TimeMinutes(e.begin);
    const int c = TimeMinutes(e.catchTime);
    const int x = TimeMinutes(e.end);
    if (b < 0 || c < 0 || x < 0)
        return false;
    if (e.date == DisplayDate(now.date())) {
        const int n = now.time().hour() * 60 + now.time().minute();
        if (b >= n || c >= n || x >= n)
            return false;
    }
    return b <= c && c <= x;
}

QString CheckCatchEntry(const CatchEntry& e, const QDateTime& now)
{
    const QDate day = TypedDate(e.date);
    if (!day.isValid())
        return u"Bitte geben Sie ein Datum im Format TT.MM.JJJJ ein!"_s;
    if (day > now.date())
        return u"Fehler: Das eingegebene Datum liegt in der Zukunft!"_s;
    if (!CatchTimesValid(e, now))
        return u"Fehler: Bitte prüfen Sie Angelbeginn, Fangzeit und Angelende!"_s;
    if (e.angler.isEmpty())
        return u"Fehler: Es wurde kein Fänger eingegeben!"_s;
    if (e.weight.isEmpty() || e.weight == u"0,00")
        return u"Fehler: Es wurde kein Gewicht eingegeben!"_s;
    try {
        TwoDecimals(ParseNumber(e.weight));
    } catch (const RuntimeError&) {
        return u"Fehler: Das eingegebene Gewicht ist keine gültige Zahl!"_s;
    }
    if (!e.photo.isEmpty()) {
        const QFileInfo fi(e.photo);
        if (!fi.isFile() || !fi.isReadable())
            return u"Fehler: Das gewählte Bild wurde nicht gefunden!"_s;
        const QString extension = e.photo.mid(e.photo.lastIndexOf(u'.') + 1);
        if (!kPhotoExtensions.contains(extension.toLower()))
            return u"Fehler: Das gewählte Bild ist keine Bilddatei (jpg, jpeg, gif, bmp)!"_s;
    }
    return {};
}

QStringList CatchFields(const Env& env, const CatchEntry& e, ErrorTrap& trap)
{
    QString species = e.species;
    if (!e.photo.isEmpty())
        species += u'*';
    if (species.isEmpty())
        species = u" "_s;
    auto temperature = [&](const QString& typed) {
        const QString t = orText(typed, u"0"_s);
        if (t.startsWith(u'+'))
            return t;
        bool aboveZero = false;
        trap.step([&] { aboveZero = ParseInt16(t) > 0; });
        return aboveZero ? u"+ "_s + t : t;
    };
    QString storedDate;
    trap.step([&] { storedDate = ConvertDate(env, e.date, u"de-en"_s); });
    QString weight;
    trap.step([&] { weight = TwoDecimals(ParseNumber(e.weight)); });
    return {
        storedDate,
        e.angler,
        e.begin,
        e.catchTime,
        e.end,
        species,
        weight,
        orText(e.length, u"0"_s),
        e.water,
        e.spot,
        e.rig,
        e.bait,
        e.weather,
        temperature(e.airTemp),
        temperature(e.waterTemp),
        orText(e.depth, u"0"_s),
        e.moonPhase,
    };
}

namespace {

template <class T, class Read> void readField(T& value, quint8& error, Read read)
{
    try {
        value = read();
    } catch (const RuntimeError& e) {
        error = quint8(e.number);
    }
}

} // namespace

CatchNumbers ReadCatchNumbers(const QStringView* f)
{
    CatchNumbers n;
    readField(n.weight, n.weightError, [&] { return ToSingle(ParseNumber(f[6].toString())); });
    readField(n.length, n.lengthError, [&] { return ParseInt16(f[7].toString()); });
    readField(n.airTemp, n.airError, [&] { return ParseInt16(f[13].toString()); });
    readField(n.waterTemp, n.waterError, [&] { return ParseInt16(f[14].toString()); });
    readField(n.depth, n.depthError, [&] { return ToSingle(ParseNumber(f[15].toString())); });
    return n;
}

QString CatchHeaderLine()
{
    static const QString line = QStringList { u"Pic"_s, u"Datum"_s, u"Fänger"_s, u"Beginn"_s,
        u"Fangzeit"_s, u"Ende"_s, u"Fischart"_s, u"Gewicht"_s, u"Größe"_s, u"Gewässer"_s,
        u"Angelplatz"_s, u"Montage/Rig."_s, u"Köder"_s, u"Wetter"_s, u"Luft °C"_s, u"Wasser °C"_s,
        u"Tiefe"_s, u"Mondphase"_s }
                                    .join(u'\t');
    return line;
}

QString CatchRuleLine()
{
    return QString(230, u'=') + u"    "_s;
}
