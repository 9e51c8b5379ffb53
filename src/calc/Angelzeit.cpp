#include "calc/Angelzeit.h"

#include "platform/ErrorLog.h"
#include "platform/RuntimeError.h"
#include "store/ConvertToArray.h"
#include "store/Numbers.h"

#include <QHash>
#include <QSet>

#include <array>

namespace {

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
    std::array<QStringView, kCatchFields> f;

    for (qsizetype k = 2; k < overviewRows.size(); ++k) {
        const QString& row = overviewRows[k];
        // The photo mark and its TAB come before the record. A record the
        // reader cannot split is reported as the reader reports it; its
        // fields as far as they were split still count.
        const QStringView rec = QStringView(row).sliced(std::min<qsizetype>(2, row.size()));
        if (!SplitRecord(rec, kCatchFields, f.data()))
            ErrorTrap(env, QStringLiteral("Funktion ConvertToArray")).log(Err::Overflow);

        qint16 begin = 0;
        qint16 end = 0;
        trap.step([&] { begin = minuteValue(f[2]); });
        trap.step([&] { end = minuteValue(f[4]); });

        // Later rows of a trip count nothing: the trip lasts from the start
        // to the end time of its first row.
        const qsizetype tripsBefore = trips.size();
        trips.insert(TripKey { f[0], begin });
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
