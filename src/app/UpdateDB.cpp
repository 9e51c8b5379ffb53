#include "app/UpdateDB.h"

#include "calc/MondPhase.h"
#include "platform/ErrorLog.h"
#include "platform/FileOps.h"
#include "platform/Paths.h"
#include "platform/RuntimeError.h"
#include "store/ConvertDate.h"
#include "store/ConvertToArray.h"
#include "store/Numbers.h"
#include "store/RecordFile.h"

#include <QByteArray>
#include <QStringList>

#include <cmath>

namespace {

constexpr int kWeightField = 7;
// A format 100 line holds 13 fields and a trailing TAB; a line that already
// has the 16 TABs of the 17 fields was extended before.
constexpr qsizetype kTabsOfFullRecord = kCatchFields - 1;

struct Paths {
    QString db;
    QString db2;
    QString ver;
};

Paths pathsOf(const Env& env)
{
    return { hostPath(env.programDir, QStringLiteral("db\\fänge\\db")),
        hostPath(env.programDir, QStringLiteral("db\\fänge\\db2")),
        hostPath(env.programDir, QStringLiteral("db\\db.ver")) };
}

// Format 100 -> 101: temperatures and depth "0", and the moon phase of the
// catch date. A date that cannot be read leaves the phase empty rather
// than losing the catch.
QString to101(const Env& env, ErrorTrap& trap, const QString& item)
{
    if (item.count(u'\t') >= kTabsOfFullRecord)
        return item;
    QString phase;
    trap.step([&] {
        const QString date = ConvertDate(env, item.left(10), QStringLiteral("en-de"));
        phase = MondPhase(env, DayNumber(ParseDisplayDate(date)));
    });
    return item + QStringLiteral("0\t0\t0\t") + phase;
}

// True for a weight in grams as the older formats store it: digits only.
bool isWholeGrams(const QString& weight)
{
    if (weight.isEmpty())
        return false;
    for (QChar c : weight) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

// Format 101 -> 102: the weight in grams becomes kilograms with two
// decimals. A line that does not parse as a whole catch or whose weight is
// not a number is kept as it is rather than dropped. Only a weight of
// digits alone is taken as grams: one with a decimal comma is already in
// kilograms (a file converted before, whatever db.ver says) and is kept,
// so no weight is ever divided twice.
QString to102(const Env& env, ErrorTrap& trap, const QString& item)
{
    QString out = item;
    trap.step([&] {
        const RecordTable table
            = ConvertToArray(env, QStringList { item }, QStringLiteral("fisch"));
        if (table.size() != 1 || table[0].join(u'\t') != item)
            throw RuntimeError { Err::Overflow };
        QStringList row = table[0];
        if (!isWholeGrams(row[kWeightField - 1])) {
            ParseNumber(row[kWeightField - 1]); // an unreadable weight is still logged
            return;
        }
        const float grams = static_cast<float>(ParseNumber(row[kWeightField - 1]));
        if (!std::isfinite(grams))
            throw RuntimeError { Err::Overflow };
        // Single precision holds whole grams exactly; the division is done in
        // double so that a weight like 1005 g rounds its half the same way
        // the two-decimal form always does.
        row[kWeightField - 1] = TwoDecimals(static_cast<double>(grams) / 1000.0);
        out = row.join(u'\t');
    });
    return out;
}

// One conversion step. The catch file is replaced only as a whole, and the
// version file is written only once the catch file holds the converted
// records, so an interruption never pairs the new number with old content.
// When the version file cannot be written, the old records are put back so
// that the next start does not convert them a second time.
bool runStep(const Env& env, ErrorTrap& trap, qint16 target,
    QString (*convert)(const Env&, ErrorTrap&, const QString&))
{
    const Paths p = pathsOf(env);
    QByteArray old;
    if (!trap.step([&] { old = readAllBytes(p.db); }))
        return false;

    QByteArray bytes;
    for (const QString& item : ParseItems(old))
        bytes += RecordLine(convert(env, trap, item));

    if (!trap.step([&] { FileOps::replaceFile(p.db2, bytes); }))
        return false;
    if (!trap.step([&] { FileOps::replaceFile(p.db, readAllBytes(p.db2)); }))
        return false;
    trap.step([&] { FileOps::deleteFile(p.db2); });
    if (trap.step([&] {
            FileOps::replaceFile(p.ver, QByteArray::number(target) + QByteArrayLiteral("\r\n"));
        }))
        return true;
    trap.step([&] { FileOps::replaceFile(p.db, old); });
    return false;
}

} // namespace

void UpdateDB(const Env& env, qint16& version)
{
    ErrorTrap trap(env, QStringLiteral("Sub UpdateDB"));
    if (version == 100) {
        if (!runStep(env, trap, 101, to101))
            return;
        version = 101;
    }
    if (version == 101) {
        if (!runStep(env, trap, 102, to102))
            return;
        version = 102;
    }
}
