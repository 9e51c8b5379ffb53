#include "export/CsvImport.h"

#include "calc/MondPhase.h"
#include "platform/FileOps.h"
#include "platform/Paths.h"
#include "platform/RuntimeError.h"
#include "store/CatchList.h"
#include "store/ConvertToArray.h"
#include "store/CostLine.h"
#include "store/CostList.h"
#include "store/Numbers.h"

#include <QDateTime>
#include <QHash>
#include <QLocale>
#include <QSet>
#include <QTimeZone>

#include <array>
#include <charconv>
#include <limits>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

// Catch fields by index (the stored field number less one), and the two
// that are no stored field of their own.
enum CatchField {
    CDate = 0,
    CAngler,
    CBegin,
    CTime,
    CEnd,
    CSpecies,
    CWeight,
    CLength,
    CWater,
    CSpot,
    CRig,
    CBait,
    CWeather,
    CAir,
    CWaterTemp,
    CDepth,
    CMoon,
    CGrams,
    CPhoto,
    CatchTargets
};
enum CostField { KDate = 0, KShop, KQuantity, KArticle, KUnit, KPrice, KShipping, KTotal };

struct Field {
    QString name;
    QStringList captions; // besides the name, in any letter case
};

const std::array<Field, CatchTargets> kCatchTargets { {
    { u"Datum"_s, { u"Fangdatum"_s, u"Date"_s, u"Catch Date"_s } },
    { u"Fänger"_s, { u"Angler"_s, u"Name"_s } },
    { u"Angelbeginn"_s, { u"Beginn"_s, u"Start"_s, u"Start Time"_s } },
    { u"Fangzeit"_s, { u"Zeit"_s, u"Uhrzeit"_s, u"Time"_s, u"Catch Time"_s } },
    { u"Angelende"_s, { u"Ende"_s, u"End"_s, u"End Time"_s } },
    { u"Fischart"_s, { u"Art"_s, u"Fisch"_s, u"Species"_s, u"Fish"_s } },
    { u"Gewicht (kg)"_s, { u"Gewicht"_s, u"Weight (kg)"_s, u"Weight"_s } },
    { u"Länge (cm)"_s, { u"Länge"_s, u"Größe"_s, u"Length (cm)"_s, u"Length"_s } },
    { u"Gewässer"_s, { u"Water"_s, u"Waters"_s, u"Lake"_s } },
    { u"Angelplatz"_s, { u"Stelle"_s, u"Platz"_s, u"Spot"_s } },
    { u"Montage/Rig."_s, { u"Montage"_s, u"Rig"_s } },
    { u"Köder"_s, { u"Bait"_s, u"Lure"_s } },
    { u"Wetter"_s, { u"Weather"_s } },
    { u"Lufttemperatur (°C)"_s,
        { u"Lufttemperatur"_s, u"Luft °C"_s, u"Air Temperature (°C)"_s, u"Air Temperature"_s } },
    { u"Wassertemperatur (°C)"_s,
        { u"Wassertemperatur"_s, u"Wassertemp."_s, u"Wasser °C"_s, u"Water Temperature (°C)"_s,
            u"Water Temperature"_s } },
    { u"Tiefe (m)"_s,
        { u"Angeltiefe (m)"_s, u"Angeltiefe"_s, u"Tiefe"_s, u"Depth (m)"_s, u"Depth"_s } },
    { u"Mondphase"_s, { u"Moon Phase"_s, u"Moon"_s } },
    { u"Gewicht (g)"_s, { u"Weight (g)"_s } },
    { u"Foto"_s, { u"Bild"_s, u"Photo"_s, u"Picture"_s } },
} };

const std::array<Field, kCostFields> kCostTargets { {
    { u"Kaufdatum"_s, { u"Datum"_s, u"Date"_s, u"Purchase Date"_s } },
    { u"Geschäft"_s, { u"Laden"_s, u"Shop"_s, u"Store"_s } },
    { u"Menge"_s, { u"Anzahl"_s, u"Quantity"_s } },
    { u"Artikelbezeichnung"_s, { u"Artikel"_s, u"Bezeichnung"_s, u"Article"_s, u"Item"_s } },
    { u"Einzelpreis (€)"_s, { u"Einzelpreis"_s, u"Unit Price (€)"_s, u"Unit Price"_s } },
    { u"Preis (€)"_s, { u"Preis"_s, u"Price (€)"_s, u"Price"_s } },
    { u"Versandkosten (€)"_s,
        { u"Versandkosten"_s, u"Versand"_s, u"Shipping (€)"_s, u"Shipping"_s } },
    { u"Gesamt (€)"_s, { u"Gesamt"_s, u"Total (€)"_s, u"Total"_s } },
} };

// A caption as it is compared: lower case, umlauts spelt out, single blanks.
QString captionKey(const QString& caption)
{
    QString key = caption.simplified().toLower();
    key.replace(u"ä"_s, u"ae"_s).replace(u"ö"_s, u"oe"_s).replace(u"ü"_s, u"ue"_s);
    key.replace(u"ß"_s, u"ss"_s).replace(u"(eur)"_s, u"(€)"_s);
    return key;
}

template <size_t N> QStringList namesOf(const std::array<Field, N>& fields)
{
    QStringList names;
    for (const Field& f : fields)
        names.append(f.name);
    return names;
}

template <size_t N> QHash<QString, int> captionIndex(const std::array<Field, N>& fields)
{
    QHash<QString, int> index;
    for (int i = 0; i < int(N); ++i) {
        index.insert(captionKey(fields[i].name), i);
        for (const QString& c : fields[i].captions)
            index.insert(captionKey(c), i);
    }
    return index;
}

// ---------------------------------------------------------------- values

// A time of day as written, with the zone when one was given.
struct Clock {
    QTime time;
    std::optional<QTimeZone> zone;
};

// Reads a text from left to right; the readers below are called for every
// cell of a full log, where regular expressions would take too long.
struct Cursor {
    QStringView s;
    qsizetype pos = 0;
    bool atEnd() const { return pos >= s.size(); }
    bool take(QChar c)
    {
        if (atEnd() || s[pos] != c)
            return false;
        ++pos;
        return true;
    }
    // A number of minDigits to maxDigits ASCII digits, or -1.
    int number(int minDigits, int maxDigits)
    {
        int value = 0, n = 0;
        while (n < maxDigits && !atEnd() && s[pos] >= u'0' && s[pos] <= u'9') {
            value = value * 10 + (s[pos].unicode() - u'0');
            ++pos;
            ++n;
        }
        return n >= minDigits ? value : -1;
    }
};

// "Z" (UTC), or an offset "+hh:mm" / "-hhmm"; nothing is local time.
std::optional<QTimeZone> readZone(Cursor& c)
{
    if (c.atEnd())
        return QTimeZone();
    if (c.take(u'Z') || c.take(u'z'))
        return c.atEnd() ? std::optional(QTimeZone::utc()) : std::nullopt;
    const bool minus = c.take(u'-');
    if (!minus && !c.take(u'+'))
        return std::nullopt;
    const int h = c.number(2, 2);
    c.take(u':');
    const int m = c.number(2, 2);
    if (h < 0 || m < 0 || !c.atEnd())
        return std::nullopt;
    const int seconds = (h * 60 + m) * 60;
    return QTimeZone(minus ? -seconds : seconds);
}

// hh:mm, h:mm or hh:mm:ss(.fff), followed by "Z" or an offset.
std::optional<Clock> readClock(QStringView text)
{
    Cursor c { text.trimmed() };
    const int h = c.number(1, 2);
    if (h < 0 || !c.take(u':'))
        return std::nullopt;
    const int m = c.number(2, 2);
    int sec = 0;
    if (c.take(u':')) {
        sec = c.number(2, 2);
        if (c.take(u'.') || c.take(u','))
            c.number(1, 9);
    }
    c.take(u' ');
    const auto zone = readZone(c);
    const QTime t(h, m, sec);
    if (m < 0 || sec < 0 || !zone || !t.isValid())
        return std::nullopt;
    Clock clock { t, {} };
    if (zone->isValid())
        clock.zone = zone;
    return clock;
}

// A date as dd.mm.yyyy, yyyy-mm-dd, yyyy/mm/dd, or a time stamp: the date,
// "T" or a blank, and a time.
struct Stamp {
    QDate date;
    std::optional<Clock> clock;
};

std::optional<Stamp> readStamp(QStringView text)
{
    Cursor c { text.trimmed() };
    Stamp s;
    const int first = c.number(1, 4);
    if (c.pos == 4) {
        const QChar sep = c.atEnd() ? QChar() : c.s[c.pos];
        if ((sep != u'-' && sep != u'/') || !c.take(sep))
            return std::nullopt;
        const int month = c.number(2, 2);
        const int day = c.take(sep) ? c.number(2, 2) : -1;
        s.date = QDate(first, month, day);
    } else {
        const int month = c.take(u'.') ? c.number(1, 2) : -1;
        const int year = c.take(u'.') ? c.number(4, 4) : -1;
        s.date = QDate(year, month, first);
    }
    if (!s.date.isValid() || s.date.year() < 1000)
        return std::nullopt;
    if (c.atEnd())
        return s;
    if (!c.take(u'T') && !c.take(u' '))
        return std::nullopt;
    s.clock = readClock(c.s.sliced(c.pos));
    if (!s.clock)
        return std::nullopt;
    return s;
}

// The date and time in local time.
void toLocal(QDate& date, Clock& clock)
{
    if (!clock.zone)
        return;
    const QDateTime local = QDateTime(date, clock.time, *clock.zone).toLocalTime();
    date = local.date();
    clock = { local.time(), {} };
}

// Digits with leading zeros, written by hand: QDate's formatting takes
// too long for a full log.
void appendDigits(QString& out, int value, int digits)
{
    for (int p = digits - 1; p >= 0; --p) {
        int d = value;
        for (int k = 0; k < p; ++k)
            d /= 10;
        out += QChar(u'0' + d % 10);
    }
}

QString storedTime(const QTime& t)
{
    QString s;
    s.reserve(5);
    appendDigits(s, t.hour(), 2);
    s += u':';
    appendDigits(s, t.minute(), 2);
    return s;
}

QString storedDate(const QDate& d)
{
    QString s;
    s.reserve(10);
    appendDigits(s, d.year(), 4);
    s += u'/';
    appendDigits(s, d.month(), 2);
    s += u'/';
    appendDigits(s, d.day(), 2);
    return s;
}

// The fields joined by TABs.
template <size_t N> QString joinFields(const std::array<QStringView, N>& fields)
{
    qsizetype size = N;
    for (QStringView f : fields)
        size += f.size();
    QString item;
    item.reserve(size);
    for (size_t i = 0; i < N; ++i) {
        if (i > 0)
            item += u'\t';
        item += fields[i];
    }
    return item;
}

// A number as written: an optional sign, digits with at most one decimal
// comma or point, for amounts a trailing "€".
struct Number {
    enum Kind { Ok, Grouped, Bad } kind = Bad;
    bool negative = false;
    QString digits; // with a decimal comma
    double value = 0;
};

Number readNumber(QStringView cell, bool signAllowed)
{
    Number n;
    QStringView s = cell.trimmed();
    if (s.endsWith(u'€'))
        s = s.chopped(1).trimmed();
    if (signAllowed && !s.isEmpty() && (s.front() == u'-' || s.front() == u'+')) {
        n.negative = s.front() == u'-';
        s = s.sliced(1).trimmed();
    }
    int digits = 0, points = 0, commas = 0;
    for (QChar c : s) {
        if (c >= u'0' && c <= u'9')
            ++digits;
        else if (c == u'.')
            ++points;
        else if (c == u',')
            ++commas;
        else
            return n;
    }
    if (digits == 0)
        return n;
    if (points + commas > 1) {
        n.kind = Number::Grouped;
        return n;
    }
    n.digits = s.toString();
    n.digits.replace(u'.', u',');
    // Digits and at most one separator: read directly, as the number
    // reader would read them.
    std::array<char, 64> plain {};
    if (s.size() < qsizetype(plain.size())) {
        for (qsizetype i = 0; i < s.size(); ++i)
            plain[size_t(i)] = s[i] == u',' ? '.' : char(s[i].unicode());
        if (std::from_chars(plain.data(), plain.data() + s.size(), n.value).ec != std::errc())
            return n;
    } else {
        try {
            n.value = ParseNumber(n.digits);
        } catch (const RuntimeError&) {
            return n;
        }
    }
    if (n.negative)
        n.value = -n.value;
    n.kind = Number::Ok;
    return n;
}

// The two-decimal form of a number read from `n` (whose value may have been
// scaled): written digits that already are in that form are kept as they
// are, which also spares a full log the rounding through text.
QString twoDecimals(const Number& n, double value)
{
    const QString& d = n.digits;
    const qsizetype comma = d.size() - 3;
    const bool asWritten = value == n.value && !n.negative && comma >= 1 && d[comma] == u','
        && (comma == 1 || d[0] != u'0') && d.indexOf(u',') == comma;
    if (asWritten)
        return d;
    return TwoDecimals(value);
}

QString signedText(const Number& n)
{
    return n.negative ? u"-"_s + n.digits : n.digits;
}

// True when the number's nearest whole number is a 16-bit one, as the
// program reads lengths, temperatures and quantities.
bool fitsInt16(const Number& n)
{
    try {
        ToInt16(n.value);
        return true;
    } catch (const RuntimeError&) {
        return false;
    }
}

// ---------------------------------------------------------------- one row

// Reads one row: the cell of each field, and the errors found.
class Row {
public:
    Row(const CsvRecord& r, const QList<int>& fieldColumn)
        : m_record(r)
        , m_column(fieldColumn)
    {
    }

    bool has(int field) const { return m_column[field] >= 0; }
    // The cell of a field; empty when the file has no column for it.
    QStringView cell(int field) const
    {
        const int c = m_column[field];
        return c >= 0 && c < m_record.size() ? m_record.cell(c) : QStringView();
    }
    bool given(int field) const { return !cell(field).trimmed().isEmpty(); }

    void fail(const QString& text) { m_errors.append(u"Zeile %1: "_s.arg(m_record.line) + text); }
    void invalid(const QString& name, QStringView value)
    {
        fail(u"%1 „%2“ ungültig"_s.arg(name, value.toString()));
    }
    const QStringList& errors() const { return m_errors; }

    // A text field as stored: without one leading apostrophe, checked
    // for what a log line cannot hold.
    QStringView text(int field, const QString& name, qsizetype maxLength)
    {
        QStringView t = cell(field);
        if (t.startsWith(u'\''))
            t = t.sliced(1);
        checkText(name, t, maxLength);
        return t;
    }

    void checkText(const QString& name, QStringView t, qsizetype maxLength)
    {
        for (qsizetype i = 0; i < t.size(); ++i) {
            const QChar c = t[i];
            if (c == u'"' || c.unicode() < 0x20 || c.unicode() == 0x7F) {
                fail(u"%1 enthält ein Anführungszeichen, einen Tabulator oder einen "
                     "Zeilenumbruch"_s.arg(name));
                return;
            }
            if (!IsStorableCostChar(c)) {
                // The whole character, also where it takes two code units.
                const qsizetype n = c.isHighSurrogate() && i + 1 < t.size() ? 2 : 1;
                fail(u"%1 enthält das Zeichen „%2“, das die Datei nicht speichern kann"_s.arg(
                    name, t.mid(i, n).toString()));
                return;
            }
        }
        if (t.size() > maxLength)
            fail(u"%1 ist länger als %2 Zeichen"_s.arg(name).arg(maxLength));
    }

    // A number field; empty when it is not one (the error is noted).
    Number number(int field, const QString& name, bool signAllowed)
    {
        const QStringView c = cell(field);
        Number n = readNumber(c, signAllowed);
        if (n.kind == Number::Grouped)
            fail(u"%1 „%2“ mit Tausendertrennzeichen"_s.arg(name, c.toString()));
        else if (n.kind == Number::Bad)
            invalid(name, c);
        return n;
    }

    std::optional<Stamp> stamp(int field, const QString& name)
    {
        if (!given(field)) {
            fail(u"%1 fehlt"_s.arg(name));
            return std::nullopt;
        }
        auto s = readStamp(cell(field));
        if (!s)
            invalid(name, cell(field));
        return s;
    }

private:
    const CsvRecord& m_record;
    const QList<int>& m_column;
    QStringList m_errors;
};

// The column of each field (-1: none), the first column a field is given.
QList<int> columnOfField(int fields, const QList<int>& columns)
{
    QList<int> column(fields, -1);
    for (int c = 0; c < columns.size(); ++c) {
        const int f = columns[c];
        if (f >= 0 && f < fields && column[f] < 0)
            column[f] = c;
    }
    return column;
}

// Date, catch time, species, weight and length: what makes two catches
// the same catch.
QString catchKey(QStringView item)
{
    std::array<QStringView, kCatchFields> f;
    if (!SplitRecord(item, kCatchFields, f.data()))
        return {};
    const QStringView species = f[5].endsWith(u'*') ? f[5].chopped(1) : f[5];
    return joinFields(std::array<QStringView, 5> { f[0], f[3], species, f[6], f[7] });
}

// Date, article and total, for purchases.
QString costKey(QStringView item)
{
    std::array<QStringView, kCostFields> f;
    if (!SplitRecord(item, kCostFields, f.data()))
        return {};
    return joinFields(std::array<QStringView, 3> { f[0], f[3], f[7] });
}

// The photo file names of the photo folder, in lower case.
QSet<QString> photoNames(const Env& env)
{
    QSet<QString> names;
    try {
        for (const QString& n : FileOps::listFiles(hostPath(env.programDir, kPhotoFolder)))
            names.insert(n.toLower());
    } catch (const RuntimeError&) {
    }
    return names;
}

struct CatchContext {
    const Env& env;
    QSet<QString> photos;
    bool hasPhoto(const QString& displayDate, const QString& catchTime) const
    {
        const QString base = PhotoBaseName(displayDate, catchTime).toLower() + u'.';
        for (const QString& ext : kPhotoExtensions) {
            if (photos.contains(base + ext))
                return true;
        }
        return false;
    }
};

std::optional<bool> yesNo(QStringView cell)
{
    const QString v = cell.trimmed().toString().toLower();
    if (v == u"ja" || v == u"yes" || v == u"x" || v == u"1" || v == u"true" || v == u"wahr")
        return true;
    if (v.isEmpty() || v == u"nein" || v == u"no" || v == u"0" || v == u"false" || v == u"falsch")
        return false;
    return std::nullopt;
}

// The stored item of one catch row, or an empty text (the errors noted);
// `key` is its catchKey.
QString catchItem(Row& r, const CatchContext& ctx, bool& photoDropped, QString& key)
{
    static const QStringList names = namesOf(kCatchTargets);
    const auto stamp = r.stamp(CDate, names[CDate]);
    QDate date = stamp ? stamp->date : QDate();

    // The catch time: its own column, else the time of the date's stamp.
    std::optional<Clock> catchClock = stamp ? stamp->clock : std::nullopt;
    if (r.given(CTime)) {
        catchClock = readClock(r.cell(CTime));
        // A whole time stamp in the time column.
        if (!catchClock) {
            if (const auto s = readStamp(r.cell(CTime)); s && s->clock) {
                date = s->date;
                catchClock = s->clock;
            }
        }
        if (!catchClock)
            r.invalid(names[CTime], r.cell(CTime));
    }
    Clock catchTime = catchClock.value_or(Clock { QTime(0, 0), {} });
    // The catch's date follows its time into local time.
    const QDate writtenDate = date;
    if (date.isValid())
        toLocal(date, catchTime);
    const auto timeOf = [&](int field) {
        if (!r.given(field))
            return storedTime(catchTime.time);
        auto c = readClock(r.cell(field));
        if (!c) {
            r.invalid(names[field], r.cell(field));
            return QString();
        }
        QDate d = writtenDate;
        if (d.isValid())
            toLocal(d, *c);
        return storedTime(c->time);
    };
    const QString begin = timeOf(CBegin);
    const QString end = timeOf(CEnd);

    const qsizetype max = kFieldScanLimit - 1;
    const auto text = [&](int field, QStringView untouched) {
        return r.has(field) ? r.text(field, names[field], max) : untouched;
    };
    const QStringView angler = text(CAngler, u" ");
    // An untouched species box holds nothing; it is stored as a blank
    // unless the photo mark goes there.
    QString species = text(CSpecies, {}).toString();
    const QStringView waterName = text(CWater, {});
    const QStringView spot = text(CSpot, {});
    const QStringView rig = text(CRig, {});
    const QStringView bait = text(CBait, {});
    const QStringView weather = text(CWeather, {});

    QString weight = u"0,00"_s;
    if (r.given(CWeight) || r.given(CGrams)) {
        const int field = r.given(CWeight) ? CWeight : CGrams;
        const Number n = r.number(field, names[field], false);
        if (n.kind == Number::Ok) {
            try {
                // Rounded as the entry window rounds a typed weight; the
                // value must still fit the single precision it is read as.
                const double kg = field == CGrams ? n.value / 1000 : n.value;
                ToSingle(kg);
                weight = twoDecimals(n, kg);
            } catch (const RuntimeError&) {
                r.invalid(names[field], r.cell(field));
            }
        }
    }
    const auto plain = [&](int field, bool signAllowed) -> QString {
        if (!r.given(field))
            return u"0"_s;
        const Number n = r.number(field, names[field], signAllowed);
        if (n.kind != Number::Ok)
            return {};
        if (field != CDepth && !fitsInt16(n)) {
            r.invalid(names[field], r.cell(field));
            return {};
        }
        if (n.negative)
            return u"-"_s + n.digits;
        // Above zero a temperature carries "+ ", as the entry window stores it.
        if (signAllowed && ToInt16(n.value) > 0)
            return u"+ "_s + n.digits;
        return n.digits;
    };
    const QString length = plain(CLength, false);
    const QString air = plain(CAir, true);
    const QString water = plain(CWaterTemp, true);
    const QString depth = plain(CDepth, false);

    QStringView moon;
    QString phase;
    if (r.has(CMoon)) {
        moon = r.text(CMoon, names[CMoon], std::numeric_limits<qsizetype>::max());
    } else if (date.isValid()) {
        phase = MondPhase(ctx.env, DayNumber(date));
        moon = phase;
    }

    // A photo mark only where the photo is there.
    bool photo = species.endsWith(u'*');
    if (photo)
        species.chop(1);
    if (r.has(CPhoto)) {
        const auto yes = yesNo(r.cell(CPhoto));
        if (!yes)
            r.invalid(names[CPhoto], r.cell(CPhoto));
        photo = photo || yes.value_or(false);
    }
    if (!r.errors().isEmpty())
        return {};
    const QString catchText = storedTime(catchTime.time);
    if (photo && !ctx.hasPhoto(DisplayDate(date), catchText)) {
        photo = false;
        photoDropped = true;
    }
    if (photo) {
        species += u'*';
        r.checkText(names[CSpecies], species, max);
    } else if (!r.has(CSpecies)) {
        species = u" "_s;
    }
    if (!r.errors().isEmpty())
        return {};
    const QString day = storedDate(date);
    const QStringView unmarked = photo ? QStringView(species).chopped(1) : QStringView(species);
    key = joinFields(std::array<QStringView, 5> { day, catchText, unmarked, weight, length });
    return joinFields(std::array<QStringView, kCatchFields> { day, angler, begin, catchText, end,
        species, weight, length, waterName, spot, rig, bait, weather, air, water, depth, moon });
}

// The stored item of one purchase row, or an empty text.
QString costItem(Row& r, const Env& env)
{
    static const QStringList names = namesOf(kCostTargets);
    const auto stamp = r.stamp(KDate, names[KDate]);
    QDate date;
    if (stamp) {
        date = stamp->date;
        Clock c = stamp->clock.value_or(Clock { QTime(0, 0), {} });
        toLocal(date, c);
    }
    const qsizetype max = kFieldScanLimit - 1;
    const QString shop = r.text(KShop, names[KShop], max).toString();
    const QString article = r.text(KArticle, names[KArticle], max).toString();
    // Each number as read; kind Bad where the file leaves it out.
    const auto read = [&](int field, bool required) -> Number {
        if (!r.given(field)) {
            if (required)
                r.fail(u"%1 fehlt"_s.arg(names[field]));
            return {};
        }
        return r.number(field, names[field], field != KQuantity);
    };
    const Number quantity = read(KQuantity, true);
    if (quantity.kind == Number::Ok && !fitsInt16(quantity))
        r.invalid(names[KQuantity], r.cell(KQuantity));
    const Number unit = read(KUnit, true);
    const Number price = read(KPrice, false);
    const Number shipping = read(KShipping, false);
    const Number total = read(KTotal, false);
    if (!r.errors().isEmpty())
        return {};
    const auto amount = [](const Number& n) { return twoDecimals(n, n.value) + u" €"_s; };
    const QString day = storedDate(date);
    const QString unitText = amount(unit);
    const QString shippingText = shipping.kind == Number::Ok ? amount(shipping) : u"0,00 €"_s;
    QString priceText = price.kind == Number::Ok ? amount(price) : QString();
    QString totalText = total.kind == Number::Ok ? amount(total) : QString();
    if (priceText.isNull() || totalText.isNull()) {
        try {
            // Price and total as the cost window works them out, where the
            // file does not give them.
            const QStringList fields = CostFields(env,
                CostEntry { DisplayDate(date), shop, quantity.digits, article, signedText(unit),
                    shipping.kind == Number::Ok ? signedText(shipping) : u"0"_s });
            if (priceText.isNull())
                priceText = fields[KPrice];
            if (totalText.isNull())
                totalText = fields[KTotal];
        } catch (const RuntimeError&) {
            r.fail(u"Betrag zu groß"_s);
            return {};
        }
    }
    return joinFields(std::array<QStringView, kCostFields> {
        day, shop, quantity.digits, article, unitText, priceText, shippingText, totalText });
}

} // namespace

QStringList CsvFieldNames(CsvLog log)
{
    return log == CsvLog::Catches ? namesOf(kCatchTargets) : namesOf(kCostTargets);
}

QList<int> MatchCsvColumns(CsvLog log, const QStringList& header)
{
    static const QHash<QString, int> catches = captionIndex(kCatchTargets);
    static const QHash<QString, int> costs = captionIndex(kCostTargets);
    const QHash<QString, int>& index = log == CsvLog::Catches ? catches : costs;
    QList<int> columns;
    QSet<int> taken;
    for (const QString& caption : header) {
        const int f = index.value(captionKey(caption), kNotImported);
        columns.append(f != kNotImported && !taken.contains(f) ? f : kNotImported);
        taken.insert(f);
    }
    return columns;
}

QStringList CsvCheck::importItems(bool withDuplicates) const
{
    if (withDuplicates)
        return items;
    QStringList out;
    out.reserve(items.size() - duplicates);
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (!duplicate[i])
            out.append(items[i]);
    }
    return out;
}

CsvCheck CheckCsvSheet(const Env& env, CsvLog log, const CsvSheet& sheet, const QList<int>& columns,
    const QStringList& logItems)
{
    CsvCheck check;
    check.errors = sheet.problems;
    check.errorLines = sheet.problemLines;
    const bool catches = log == CsvLog::Catches;
    const QStringList names = CsvFieldNames(log);
    const QList<int> column = columnOfField(int(names.size()), columns);
    for (int c = 0; c < sheet.header.size(); ++c) {
        const int f = columns.value(c, kNotImported);
        if (f == kNotImported || column[f] != c)
            check.unusedColumns.append(sheet.header[c]);
    }
    // Without these no line can be stored.
    QList<int> required { 0 };
    if (!catches)
        required = { KDate, KQuantity, KArticle, KUnit };
    for (int f : required) {
        if (column[f] < 0) {
            check.problem = u"Keine Spalte ist dem Feld „%1“ zugeordnet."_s.arg(names[f]);
            return check;
        }
    }

    const auto key = catches ? catchKey : costKey;
    QSet<QString> inLog;
    inLog.reserve(logItems.size());
    for (const QString& item : logItems)
        inLog.insert(key(item));

    const CatchContext ctx { env, catches ? photoNames(env) : QSet<QString>() };
    check.items.reserve(sheet.records.size());
    check.duplicate.reserve(sheet.records.size());
    for (const CsvRecord& record : sheet.records) {
        Row r(record, column);
        if (record.size() > sheet.header.size()) {
            r.fail(u"%1 Spalten statt %2"_s.arg(record.size()).arg(sheet.header.size()));
        }
        bool photoDropped = false;
        QString itemKey;
        const QString item = r.errors().isEmpty()
            ? (catches ? catchItem(r, ctx, photoDropped, itemKey) : costItem(r, env))
            : QString();
        if (!r.errors().isEmpty()) {
            check.errors += r.errors();
            ++check.errorLines;
            continue;
        }
        check.photoMarksDropped += photoDropped ? 1 : 0;
        // Repeats within the file are kept: two anglers may share a catch's figures.
        const bool repeat = inLog.contains(catches ? itemKey : key(item));
        check.duplicates += repeat ? 1 : 0;
        check.items.append(item);
        check.duplicate.append(repeat);
    }
    return check;
}

QString CsvCapacityProblem(CsvLog log, int inFile, int adding)
{
    if (adding <= 0 || qint64(inFile) + adding <= kLogCapacity)
        return {};
    return u"%1 hält höchstens %2 Zeilen: sie hat %3, dazu kämen %4. Es wird nichts "
           "importiert."_s.arg(log == CsvLog::Catches ? u"Die Fangdatei"_s : u"Die Kostendatei"_s)
               .arg(QLocale(QLocale::German).toString(kLogCapacity))
               .arg(inFile)
               .arg(adding);
}

QString CsvCountsText(const CsvCheck& check, bool withDuplicates, const QString& capacityProblem)
{
    if (!check.problem.isEmpty())
        return check.problem;
    const int take = int(check.items.size()) - (withDuplicates ? 0 : check.duplicates);
    QString text = u"Lesbar: %1    Mit Fehlern: %2    Bereits vorhanden: %3"_s.arg(take)
                       .arg(check.errorLines)
                       .arg(check.duplicates);
    if (check.photoMarksDropped > 0)
        text += u"\nOhne Foto (Fotomarke entfällt): %1"_s.arg(check.photoMarksDropped);
    if (!capacityProblem.isEmpty())
        return text + u'\n' + capacityProblem;
    if (take > 0)
        return text;
    if (check.duplicates > 0)
        return text + u"\nNichts zu importieren: alle lesbaren Zeilen sind bereits vorhanden."_s;
    return text + u"\nNichts zu importieren: keine Zeile ist lesbar."_s;
}

QString CsvImportedText(const CsvCheck& check, bool withDuplicates, int imported)
{
    QString text = imported == 1 ? u"1 Zeile wurde importiert."_s
                                 : u"%1 Zeilen wurden importiert."_s.arg(imported);
    text += u"\r\nAls Doppelte übersprungen: %1"_s.arg(withDuplicates ? 0 : check.duplicates);
    text += u"\r\nWegen Fehlern ausgelassen: %1"_s.arg(check.errorLines);
    if (check.photoMarksDropped > 0)
        text += u"\r\nOhne Foto übernommen: %1"_s.arg(check.photoMarksDropped);
    return text;
}
