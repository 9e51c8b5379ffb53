#include "calc/Angelzeit.h"

#include "platform/ErrorLog.h"
#include "platform/RuntimeError.h"
#include "store/ConvertToArray.h"
#include "store/Numbers.h"

#include <QHash>
#include <QSet>

#include <deque>

namespace {

// A TAB must turn up within this many characters of a field's start, as the
// record reader demands.
constexpr qsizetype kTabWindow = 255;

struct TripKey {
    QStringView date;
    int start;
    friend bool operator==(const TripKey& a, const TripKey& b)
    {
        return a.start == b.start && a.date == b.date;
    }
};

size_t qHash(const TripKey& k, size_t seed = 0)
{
    return qHashMulti(seed, k.date, k.start);
}

struct TripFields {
    QStringView date;
    QStringView start;
    QStringView end;
};

// Fields 1, 3 and 5 of a well-formed record, without copying. Returns false
// when the record reader would refuse the record, so that the caller can let
// the reader itself handle (and log) it.
bool splitWellFormed(QStringView rec, TripFields& out)
{
    out.date = rec.left(10);
    qsizetype pos = 11; // character 11 is the TAB after the date
    for (int field = 2; field <= 16; ++field) {
        if (pos >= rec.size())
            return false;
        const qsizetype window = std::min(rec.size(), pos + kTabWindow);
        qsizetype tab = pos;
        while (tab < window && rec[tab] != u'\t')
            ++tab;
        if (tab == window)
            return false;
        if (field == 3)
            out.start = rec.sliced(pos, tab - pos);
        else if (field == 5)
            out.end = rec.sliced(pos, tab - pos);
        pos = tab + 1;
    }
    return true;
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

qint16 twoCharNumber(QStringView s)
{
    // Two plain digits is the normal case; everything else goes through the
    // general number reader, which decides what is readable.
    if (s.size() == 2 && isDigit(s[0]) && isDigit(s[1]))
        return qint16((s[0].unicode() - u'0') * 10 + (s[1].unicode() - u'0'));
    return ParseInt16(s.toString());
}

// Minute value of "HH:MM": throws when either end is not a number.
qint16 minuteValue(QStringView time)
{
    const int v = int(twoCharNumber(time.left(2))) * 60 + twoCharNumber(time.right(2));
    if (v < -32768 || v > 32767)
        throw RuntimeError { Err::Overflow };
    return qint16(v);
}

} // namespace

qint32 Angelzeit(const Env& env, const QStringList& overviewRows)
{
    ErrorTrap trap(env, QStringLiteral("Funktion Angelzeit"));
    qint32 total = 0;
    if (overviewRows.size() <= 2)
        return total;

    const qsizetype n = overviewRows.size() - 2;
    QSet<TripKey> trips;
    trips.reserve(n);
    // Rows the fast split refuses are parsed by the record reader; their
    // cells must outlive the views kept in the trip set.
    std::deque<QStringList> readerRows;

    for (qsizetype k = 2; k < overviewRows.size(); ++k) {
        const QString& row = overviewRows[k];
        // The photo mark and its TAB come before the record.
        const QStringView rec = QStringView(row).sliced(std::min<qsizetype>(2, row.size()));

        TripFields f;
        if (!splitWellFormed(rec, f)) {
            const RecordTable t = ConvertToArray(env, { rec.toString() }, QStringLiteral("fisch"));
            QStringList cells = t.value(0);
            while (cells.size() < kCatchFields)
                cells.append(QString());
            readerRows.push_back(std::move(cells));
            const QStringList& kept = readerRows.back();
            f.date = kept.at(0);
            f.start = kept.at(2);
            f.end = kept.at(4);
        }

        qint16 begin = 0;
        qint16 end = 0;
        trap.step([&] { begin = minuteValue(f.start); });
        trap.step([&] { end = minuteValue(f.end); });

        // Later rows of a trip count nothing: the trip lasts from the start
        // to the end time of its first row.
        const qsizetype tripsBefore = trips.size();
        trips.insert(TripKey { f.date, begin });
        if (trips.size() == tripsBefore)
            continue;
        trap.step([&] {
            const int duration = int(end) - int(begin); // 16-bit in the stored ranges
            if (duration < -32768 || duration > 32767)
                throw RuntimeError { Err::Overflow };
            total += duration;
        });
    }
    return total;
}
