#pragma once

#include "platform/Env.h"
#include "store/ConvertToArray.h"

#include <QString>
#include <QStringList>

class ErrorTrap;

// Running totals of the cost list: price (field 6), shipping (field 7) and
// total (field 8), added up in single precision.
struct CostSums {
    float price = 0;
    float shipping = 0;
    float total = 0;
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

// A single-precision sum in amount form ("16,50 €"), rounded from the sum's
// own shortest decimal form.
QString CostSumText(float sum);

// False when a shop or article text cannot go into the cost log: a double
// quote, TAB or other control character would break the line format, and a
// character the code page cannot hold would be stored as "?".
bool IsStorableCostChar(QChar c);
bool IsStorableCostText(const QString& text);
