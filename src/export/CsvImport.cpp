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
#include <QRegularExpression>
#include <QSet>
#include <QTimeZone>

#include <array>
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

std::optional<QTimeZone> zoneOf(QStringView text)
{
    if (text.isEmpty())
        return QTimeZone(); // local time
    if (text == u"Z" || text == u"z")
        return QTimeZone::utc();
    static const QRegularExpression offset(u"^([+-])(\\d\\d):?(\\d\\d)$"_s);
    const auto m = offset.match(text.toString());
    if (!m.hasMatch())
        return std::nullopt;
    const int seconds = (m.capturedView(2).toInt() * 60 + m.capturedView(3).toInt()) * 60;
    return QTimeZone(m.capturedView(1) == u"-" ? -seconds : seconds);
}

// hh:mm, h:mm or hh:mm:ss(.fff), followed by "Z" or an offset.
std::optional<Clock> readClock(QStringView text)
{
    static const QRegularExpression form(
        u"^(\\d{1,2}):(\\d\\d)(?::(\\d\\d)(?:[.,]\\d+)?)? ?(Z|z|[+-]\\d\\d:?\\d\\d)?$"_s);
    const auto m = form.match(text.trimmed().toString());
    if (!m.hasMatch())
        return std::nullopt;
    const QTime t(m.capturedView(1).toInt(), m.capturedView(2).toInt(),
        m.capturedView(3).isEmpty() ? 0 : m.capturedView(3).toInt());
    const auto zone = zoneOf(m.capturedView(4));
    if (!t.isValid() || !zone)
        return std::nullopt;
    Clock c { t, {} };
    if (zone->isValid())
        c.zone = zone;
    return c;
}

// A date as dd.mm.yyyy, yyyy-mm-dd, yyyy/mm/dd, or a time stamp: the date,
// "T" or a blank, and a time.
struct Stamp {
    QDate date;
    std::optional<Clock> clock;
};

std::optional<Stamp> readStamp(QStringView text)
{
    static const QRegularExpression form(
        u"^(?:(\\d{1,2})\\.(\\d{1,2})\\.(\\d{4})|(\\d{4})([-/])(\\d\\d)\\5(\\d\\d))(?:[T ](.+))?$"_s);
    const auto m = form.match(text.trimmed().toString());
    if (!m.hasMatch())
        return std::nullopt;
    Stamp s;
    s.date = m.capturedView(1).isEmpty()
        ? QDate(m.capturedView(4).toInt(), m.capturedView(6).toInt(), m.capturedView(7).toInt())
        : QDate(m.capturedView(3).toInt(), m.capturedView(2).toInt(), m.capturedView(1).toInt());
    if (!s.date.isValid())
        return std::nullopt;
    if (m.hasCaptured(8)) {
        s.clock = readClock(m.capturedView(8));
        if (!s.clock)
            return std::nullopt;
    }
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

QString storedTime(const QTime& t)
{
    return t.toString(u"HH:mm"_s);
}

QString storedDate(const QDate& d)
{
    return d.toString(u"yyyy/MM/dd"_s);
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
    try {
        n.value = ParseNumber(n.digits);
    } catch (const RuntimeError&) {
        return n;
    }
    if (n.negative)
        n.value = -n.value;
    n.kind = Number::Ok;
    return n;
}

bool fitsInt16(const QString& digits)
{
    try {
        ParseInt16(digits);
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
    QString cell(int field) const
    {
        const int c = m_column[field];
        return c >= 0 && c < m_record.cells.size() ? m_record.cells[c] : QString();
    }
    bool given(int field) const { return !cell(field).trimmed().isEmpty(); }

    void fail(const QString& text) { m_errors.append(u"Zeile %1: "_s.arg(m_record.line) + text); }
    void invalid(const QString& name, const QString& value)
    {
        fail(u"%1 „%2“ ungültig"_s.arg(name, value));
    }
    const QStringList& errors() const { return m_errors; }

    // A text field as stored: without one leading apostrophe, checked
    // for what a log line cannot hold.
    QString text(int field, const QString& name, qsizetype maxLength)
    {
        QString t = cell(field);
        if (t.startsWith(u'\''))
            t.remove(0, 1);
        checkText(name, t, maxLength);
        return t;
    }

    void checkText(const QString& name, const QString& t, qsizetype maxLength)
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
                    name, t.mid(i, n)));
                return;
            }
        }
        if (t.size() > maxLength)
            fail(u"%1 ist länger als %2 Zeichen"_s.arg(name).arg(maxLength));
    }

    // A number field; empty when it is not one (the error is noted).
    Number number(int field, const QString& name, bool signAllowed)
    {
        const QString c = cell(field);
        Number n = readNumber(c, signAllowed);
        if (n.kind == Number::Grouped)
            fail(u"%1 „%2“ mit Tausendertrennzeichen"_s.arg(name, c));
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
    return QStringList { f[0].toString(), f[3].toString(), species.toString(), f[6].toString(),
        f[7].toString() }
        .join(u'\t');
}

// Date, article and total, for purchases.
QString costKey(QStringView item)
{
    std::array<QStringView, kCostFields> f;
    if (!SplitRecord(item, kCostFields, f.data()))
        return {};
    return QStringList { f[0].toString(), f[3].toString(), f[7].toString() }.join(u'\t');
}

const QString kMaxField = QString::number(kFieldScanLimit - 1);

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

std::optional<bool> yesNo(const QString& cell)
{
    const QString v = cell.trimmed().toLower();
    if (v == u"ja" || v == u"yes" || v == u"x" || v == u"1" || v == u"true" || v == u"wahr")
        return true;
    if (v.isEmpty() || v == u"nein" || v == u"no" || v == u"0" || v == u"false" || v == u"falsch")
        return false;
    return std::nullopt;
}

// The stored item of one catch row, or an empty text (the errors noted).
QString catchItem(Row& r, const CatchContext& ctx, bool& photoDropped)
{
    const QStringList names = namesOf(kCatchTargets);
    const auto stamp = r.stamp(CDate, u"Datum"_s);
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
    const auto text = [&](int field, const QString& untouched) {
        return r.has(field) ? r.text(field, names[field], max) : untouched;
    };
    const QString angler = text(CAngler, u" "_s);
    QString species = text(CSpecies, u" "_s);
    const QString waterName = text(CWater, QString());
    const QString spot = text(CSpot, QString());
    const QString rig = text(CRig, QString());
    const QString bait = text(CBait, QString());
    const QString weather = text(CWeather, QString());

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
                weight = TwoDecimals(kg);
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
        if (field != CDepth && !fitsInt16(n.digits)) {
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

    QString moon;
    if (r.has(CMoon))
        moon = r.text(CMoon, names[CMoon], std::numeric_limits<qsizetype>::max());
    else if (date.isValid())
        moon = MondPhase(ctx.env, DayNumber(date));

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
    const QString display = DisplayDate(date);
    const QString catchText = storedTime(catchTime.time);
    if (photo && !ctx.hasPhoto(display, catchText)) {
        photo = false;
        photoDropped = true;
    }
    if (photo) {
        species += u'*';
        r.checkText(names[CSpecies], species, max);
    }
    if (!r.errors().isEmpty())
        return {};
    return QStringList { storedDate(date), angler, begin, catchText, end, species, weight, length,
        waterName, spot, rig, bait, weather, air, water, depth, moon }
        .join(u'\t');
}

// The stored item of one purchase row, or an empty text.
QString costItem(Row& r, const Env& env)
{
    const QStringList names = namesOf(kCostTargets);
    const auto stamp = r.stamp(KDate, names[KDate]);
    QDate date;
    if (stamp) {
        date = stamp->date;
        Clock c = stamp->clock.value_or(Clock { QTime(0, 0), {} });
        toLocal(date, c);
    }
    const qsizetype max = kFieldScanLimit - 1;
    const QString shop = r.text(KShop, names[KShop], max);
    const QString article = r.text(KArticle, names[KArticle], max);
    const auto digits = [&](int field, bool required) -> QString {
        if (!r.given(field)) {
            if (required)
                r.fail(u"%1 fehlt"_s.arg(names[field]));
            return {};
        }
        const Number n = r.number(field, names[field], field != KQuantity);
        if (n.kind != Number::Ok)
            return {};
        return n.negative ? u"-"_s + n.digits : n.digits;
    };
    const QString quantity = digits(KQuantity, true);
    if (!quantity.isEmpty() && !fitsInt16(quantity))
        r.invalid(names[KQuantity], r.cell(KQuantity));
    const QString unit = digits(KUnit, true);
    const QString price = digits(KPrice, false);
    const QString shipping = digits(KShipping, false);
    const QString total = digits(KTotal, false);
    if (!r.errors().isEmpty())
        return {};
    QStringList fields;
    try {
        // Price and total as the cost window works them out, where the file
        // does not give them.
        fields = CostFields(env,
            CostEntry { DisplayDate(date), shop, quantity, article, unit,
                shipping.isEmpty() ? u"0"_s : shipping });
        if (!price.isEmpty())
            fields[KPrice] = AmountForm(ParseNumber(price));
        if (!total.isEmpty())
            fields[KTotal] = AmountForm(ParseNumber(total));
    } catch (const RuntimeError&) {
        r.fail(u"Betrag zu groß"_s);
        return {};
    }
    return fields.join(u'\t');
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
        if (record.cells.size() > sheet.header.size()) {
            r.fail(u"%1 Spalten statt %2"_s.arg(record.cells.size()).arg(sheet.header.size()));
        }
        bool photoDropped = false;
        const QString item = r.errors().isEmpty()
            ? (catches ? catchItem(r, ctx, photoDropped) : costItem(r, env))
            : QString();
        if (!r.errors().isEmpty()) {
            check.errors += r.errors();
            ++check.errorLines;
            continue;
        }
        check.photoMarksDropped += photoDropped ? 1 : 0;
        // Repeats within the file are kept: two anglers may share a catch's figures.
        const bool repeat = inLog.contains(key(item));
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
