#include "store/CostList.h"

#include "platform/Cp1252.h"
#include "platform/ErrorLog.h"
#include "store/Numbers.h"
#include "store/Sort.h"

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
std::optional<double> quickAmount(const QString& s)
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

void addField(const QString& field, float& sum, ErrorTrap& trap)
{
    if (const std::optional<double> v = quickAmount(field)) {
        sum += static_cast<float>(*v);
        return;
    }
    trap.step([&] { sum += static_cast<float>(ParseNumber(field)); });
}

} // namespace

CostListing ListCostItems(const Env& env, QStringList items, ErrorTrap& trap)
{
    CostListing out;
    BubbleSort(items, std::nullopt, true);
    out.lines.reserve(items.size());
    out.stored.reserve(items.size());

    // The reader stops at a line it cannot split and leaves the rows after
    // it empty, so each line is read on its own: a damaged line is kept
    // aside and hides no other purchase. Handing the reader the rest of the
    // log again after each damaged line would copy and pad that rest once
    // per damaged line, quadratic in a log with many of them.
    for (const QString& stored : std::as_const(items)) {
        // The table of one line holds that line's row.
        for (const QStringList& row : ConvertToArray(env, QStringList { stored }, u"kosten"_s)) {
            if (row.size() != kCostFields || row[0].size() != 10 || stored.size() < 11) {
                out.unlisted.append(stored);
                continue;
            }
            // The display date, as ConvertDate "en-de" gives it for 10 characters.
            const QStringView date(row[0]);
            QString line;
            line.reserve(stored.size() + 4);
            line += date.mid(8, 2);
            line += u'.';
            line += date.mid(5, 2);
            line += u'.';
            line += date.left(4);
            for (int f = 1; f < kCostFields; ++f) {
                line += u'\t';
                line += row[f];
            }
            // A row read completely gives back the stored line behind its date.
            if (QStringView(line).mid(11) != QStringView(stored).mid(11)) {
                out.unlisted.append(stored);
                continue;
            }
            out.lines.append(line);
            out.stored.append(stored);
            addField(row[5], out.sums.price, trap);
            addField(row[6], out.sums.shipping, trap);
            addField(row[7], out.sums.total, trap);
        }
    }
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
