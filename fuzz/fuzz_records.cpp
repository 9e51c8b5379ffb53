// The line reader, the record reader and the cost list built on them.
#include "FuzzSupport.h"

#include "platform/ErrorLog.h"
#include "store/ConvertToArray.h"
#include "store/CostList.h"
#include "store/RecordFile.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const Env& env = fuzzEnv();
    const QStringList items = ParseItems(bytesOf(data, size));

    // No item holds a line end, and an item without a double quote comes
    // back unchanged from the line written for it.
    QStringList clean;
    QByteArray rewritten;
    for (const QString& item : items) {
        FUZZ_CHECK(!item.contains(u'\r') && !item.contains(u'\n'));
        if (!item.contains(u'"')) {
            clean.append(item);
            rewritten += RecordLine(item);
        }
    }
    FUZZ_CHECK(ParseItems(rewritten) == clean);

    // One row per line, each as wide as its record, however damaged.
    for (const auto& [word, columns] : { std::pair { QStringLiteral("fisch"), kCatchFields },
             std::pair { QStringLiteral("KOSTEN"), kCostFields } }) {
        const RecordTable table = ConvertToArray(env, items, word);
        FUZZ_CHECK(table.size() == items.size());
        for (const QStringList& row : table)
            FUZZ_CHECK(row.size() == columns);
    }

    // The cost list keeps every line: listed or set aside, none lost.
    ErrorTrap trap(env, QStringLiteral("Sub Fuzz"));
    const CostListing listing = ListCostItems(env, items, trap);
    FUZZ_CHECK(listing.lines.size() == listing.stored.size());
    QStringList all = listing.stored + listing.unlisted;
    QStringList expected = items;
    std::sort(all.begin(), all.end());
    std::sort(expected.begin(), expected.end());
    FUZZ_CHECK(all == expected);
    return 0;
}
