#include "store/CostList.h"
#include "store/Numbers.h"

#include "platform/Cp1252.h"
#include "platform/ErrorLog.h"
#include "platform/RuntimeError.h"
#include "store/Sort.h"

#include <algorithm>
#include <array>

using namespace Qt::StringLiterals;

namespace {

void addField(QStringView field, qint64& sum, ErrorTrap& trap)
{
    trap.step([&] {
        qint64 result = 0;
        if (__builtin_add_overflow(sum, AmountCents(field), &result))
            throw RuntimeError { Err::Overflow };
        sum = result;
    });
}

} // namespace

qint64 AmountCents(QStringView text)
{
    // The same forms the number reader takes, read digit by digit so that
    // no binary fraction comes between the amount and its cents.
    const auto [negative, s] = SplitNumberText(text);
    const qsizetype comma = s.indexOf(u',');
    const QStringView whole = comma < 0 ? s : s.left(comma);
    const QStringView frac = comma < 0 ? QStringView() : s.sliced(comma + 1);
    const auto allDigits = [](QStringView part) {
        return std::all_of(
            part.begin(), part.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    };
    if (whole.size() + frac.size() == 0 || !allDigits(whole) || !allDigits(frac))
        throw RuntimeError { Err::TypeMismatch };

    // Up to 16 significant whole digits: the cents of one amount stay below
    // the largest 64-bit number (a sum that would not is refused by addField).
    qint64 cents = 0;
    int significant = 0;
    for (QChar c : whole) {
        if (significant == 0 && c == u'0')
            continue;
        if (++significant > 16)
            throw RuntimeError { Err::Overflow };
        cents = cents * 10 + (c.unicode() - u'0');
    }
    for (qsizetype i = 0; i < 2; ++i)
        cents = cents * 10 + (i < frac.size() ? frac[i].unicode() - u'0' : 0);
    if (frac.size() > 2 && frac[2] >= u'5')
        ++cents;
    return negative ? -cents : cents;
}

QString CostListLine(const Env& env, const QString& stored)
{
    std::array<QStringView, kCostFields> f;
    if (!SplitRecord(stored, kCostFields, f.data())) {
        ErrorTrap(env, u"Funktion ConvertToArray"_s).log(Err::Overflow);
        return {};
    }
    if (f[0].size() != 10 || stored.size() < 11)
        return {};
    // The display date, as ConvertDate "en-de" gives it for 10 characters.
    QString line;
    line.reserve(stored.size() + 4);
    line += f[0].mid(8, 2);
    line += u'.';
    line += f[0].mid(5, 2);
    line += u'.';
    line += f[0].left(4);
    for (int k = 1; k < kCostFields; ++k) {
        line += u'\t';
        line += f[k];
    }
    // A line read completely gives back the stored line behind its date.
    if (QStringView(line).mid(11) != QStringView(stored).mid(11))
        return {};
    return line;
}

CostSums SumCostLines(const QStringList& lines, ErrorTrap& trap)
{
    CostSums sums;
    std::array<QStringView, kCostFields> f;
    for (const QString& line : lines) {
        SplitRecord(line, kCostFields, f.data());
        addField(f[5], sums.price, trap);
        addField(f[6], sums.shipping, trap);
        addField(f[7], sums.total, trap);
    }
    return sums;
}

CostListing ListCostItems(const Env& env, QStringList items, ErrorTrap& trap)
{
    CostListing out;
    BubbleSort(items, std::nullopt, true);
    out.lines.reserve(items.size());
    out.stored.reserve(items.size());
    // A line that cannot be listed is kept aside and reading goes on behind
    // it, so a single damaged line hides no other purchase.
    for (const QString& stored : std::as_const(items)) {
        QString line = CostListLine(env, stored);
        if (line.isNull()) {
            out.unlisted.append(stored);
            continue;
        }
        out.lines.append(std::move(line));
        out.stored.append(stored);
    }
    out.sums = SumCostLines(out.lines, trap);
    return out;
}

void AddCostSums(const RecordTable& table, CostSums& sums, ErrorTrap& trap)
{
    for (const QStringList& row : table) {
        if (row.size() != kCostFields)
            continue;
        addField(row[5], sums.price, trap);
        addField(row[6], sums.shipping, trap);
        addField(row[7], sums.total, trap);
    }
}

QString CostSumDigits(qint64 cents)
{
    const quint64 magnitude = cents < 0 ? 0 - quint64(cents) : quint64(cents);
    const QString fraction = QString::number(magnitude % 100).rightJustified(2, u'0');
    return (cents < 0 ? u"-"_s : QString()) + QString::number(magnitude / 100) + u',' + fraction;
}

QString CostSumText(qint64 cents)
{
    return CostSumDigits(cents) + u" \u20AC"_s;
}

bool IsStorableCostChar(QChar c)
{
    return c != u'"' && c.unicode() >= 0x20 && c.unicode() != 0x7F && isRepresentable1252(c);
}

bool IsStorableCostText(const QString& text)
{
    for (QChar c : text) {
        if (!IsStorableCostChar(c))
            return false;
    }
    return true;
}
