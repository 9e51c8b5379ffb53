#include "store/CostList.h"

#include "platform/Cp1252.h"
#include "platform/ErrorLog.h"
#include "platform/RuntimeError.h"
#include "store/Numbers.h"
#include "store/Sort.h"

#include <array>
#include <charconv>
#include <cmath>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

// The amount form every saved line holds ("12,50 €"), read without the
// general number reader: up to 15 digits as a whole number, divided by the
// power of ten of its decimals. Both are exact doubles, so the quotient is
// the correctly rounded value, the same the general reader gives. Any other
// form is left to that reader.
std::optional<double> quickAmount(QStringView s)
{
    static constexpr double kPow10[]
        = { 1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15 };
    const qsizetype n = s.size() - 2;
    if (n < 1 || s[n] != u' ' || s[n + 1] != QChar(0x20AC))
        return std::nullopt;
    quint64 whole = 0;
    int digits = 0;
    int decimals = -1;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = s[i].unicode();
        if (c >= u'0' && c <= u'9') {
            if (++digits > 15)
                return std::nullopt;
            whole = whole * 10 + (c - u'0');
            if (decimals >= 0)
                ++decimals;
        } else if (c == u',' && decimals < 0) {
            decimals = 0;
        } else {
            return std::nullopt;
        }
    }
    if (digits == 0)
        return std::nullopt;
    return static_cast<double>(whole) / kPow10[decimals < 0 ? 0 : decimals];
}

void addField(QStringView field, float& sum, ErrorTrap& trap)
{
    if (const std::optional<double> v = quickAmount(field)) {
        sum += static_cast<float>(*v);
        return;
    }
    trap.step([&] { sum += static_cast<float>(ParseNumber(field.toString())); });
}

} // namespace

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

QString CostSumText(float sum)
{
    // The float's own shortest digits (16.5, 2.675), not the longer ones the
    // same value shows as a double, decide the rounding.
    char buf[32];
    const auto printed = std::to_chars(buf, buf + sizeof buf, sum);
    double d = sum;
    std::from_chars(buf, printed.ptr, d);
    return AmountForm(d);
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
