#pragma once

#include "platform/Env.h"
#include "store/ConvertToArray.h"

#include <QString>
#include <QStringList>

class ErrorTrap;

// Running totals of the cost list in whole cents: price (field 6),
// shipping (field 7) and total (field 8). Whole cents add up exactly, where
// single precision is cents off after a few thousand purchases.
struct CostSums {
    qint64 price = 0;
    qint64 shipping = 0;
    qint64 total = 0;
    bool operator==(const CostSums&) const = default;
};

// What the cost window lists of the cost log.
struct CostListing {
    QStringList lines; // list lines, newest first: display date TAB fields 2..8
    QStringList stored; // the stored item behind each list line, same order
    QStringList unlisted; // stored items that are not listed, in sorted order
    CostSums sums; // over the listed lines
};

// Sorts the stored items newest first, splits them into cost records and
// lists every record read completely whose date field is 10 characters
// long. A line the record reader cannot split is not listed, and reading
// goes on after it. Every item not listed is kept in `unlisted`, so that a
// rewrite of the log from the list loses nothing. A field that cannot be
// read as an amount is left out of its sum and logged through trap.
CostListing ListCostItems(const Env& env, QStringList items, ErrorTrap& trap);

// The cost list line of a stored item (display date TAB fields 2..8), or a
// null text when the item is not listed: a line the record reader cannot
// split (logged as the reader logs it), a date field not 10 characters
// long, or a line that does not read back to the same stored text.
QString CostListLine(const Env& env, const QString& stored);

// The sums of fields 6, 7 and 8 over cost list lines, in list order; an
// unreadable field is logged through trap and skipped.
CostSums SumCostLines(const QStringList& lines, ErrorTrap& trap);

// Adds fields 6, 7 and 8 of every row to the sums; an unreadable field is
// logged through trap and skipped.
void AddCostSums(const RecordTable& table, CostSums& sums, ErrorTrap& trap);

// An amount read as whole cents: the number forms the number reader takes
// (decimal comma, blanks, sign, trailing " €"), more than two decimals
// rounded half away from zero. Throws RuntimeError 13 for text that is not
// a number and 6 for an amount beyond what the sums can hold.
qint64 AmountCents(QStringView text);

// A sum of cents in two-decimal form ("16,50", "-1,25") and in amount form
// ("16,50 €"), the text every sum of the program shows.
QString CostSumDigits(qint64 cents);
QString CostSumText(qint64 cents);

// False when a shop or article text cannot go into the cost log: a double
// quote, TAB or other control character would break the line format, and a
// character the code page cannot hold would be stored as "?".
bool IsStorableCostChar(QChar c);
bool IsStorableCostText(const QString& text);
