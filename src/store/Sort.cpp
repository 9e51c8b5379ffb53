#include "store/Sort.h"

#include "platform/Cp1252.h"
#include "platform/ErrorLog.h"
#include "platform/FileOps.h"
#include "platform/RuntimeError.h"
#include "store/RecordFile.h"

#include <QByteArray>

#include <algorithm>
#include <array>

using namespace Qt::StringLiterals;

namespace {

// The characters that decoding gives for the bytes 0x80..0x9F. Only these
// sit at a different place in Unicode than in the code page.
const std::array<char16_t, 32>& highCharacters()
{
    static const std::array<char16_t, 32> table = [] {
        std::array<char16_t, 32> t {};
        for (int i = 0; i < 32; ++i)
            t[i] = decode1252(QByteArray(1, static_cast<char>(0x80 + i))).at(0).unicode();
        return t;
    }();
    return table;
}

// The code page byte of c; characters without one get distinct keys above
// every byte, so that different characters never compare equal.
char32_t sortKey(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    const auto& high = highCharacters();
    for (int i = 0; i < 32; ++i) {
        if (high[i] == c)
            return 0x80 + i;
    }
    return 0x100 + char32_t(c);
}

qsizetype sortedLength(const QStringList& list, std::optional<qsizetype> count)
{
    if (!count)
        return list.size();
    return std::clamp<qsizetype>(*count, 0, list.size());
}

} // namespace

int CompareText1252(QStringView a, QStringView b)
{
    const QChar* pa = a.constData();
    const QChar* pb = b.constData();
    const qsizetype n = std::min(a.size(), b.size());
    // The key is one-to-one, so the first differing position is the same as
    // for the code units; only the two characters found there need mapping.
    const auto diff = std::mismatch(pa, pa + n, pb);
    if (diff.first != pa + n) {
        const char32_t ka = sortKey(diff.first->unicode());
        const char32_t kb = sortKey(diff.second->unicode());
        return ka < kb ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

void BubbleSort(QStringList& list, std::optional<qsizetype> count, bool descending)
{
    const qsizetype n = sortedLength(list, count);
    if (n < 2)
        return;
    auto first = list.begin();
    auto last = first + n;
    if (descending)
        std::sort(first, last,
            [](const QString& a, const QString& b) { return CompareText1252(a, b) > 0; });
    else
        std::sort(first, last,
            [](const QString& a, const QString& b) { return CompareText1252(a, b) < 0; });
}

void BubbleSortReference(QStringList& list, std::optional<qsizetype> count, bool descending)
{
    // Indexes count from 1 as in the record lists; element i is list[i - 1].
    const qsizetype firstIndex = 1;
    qsizetype lastSwap = sortedLength(list, count);
    do {
        const qsizetype limit = lastSwap - 1;
        lastSwap = 0;
        for (qsizetype index = firstIndex; index <= limit; ++index) {
            const bool greater = CompareText1252(list[index - 1], list[index]) > 0;
            if (greater != descending) {
                list.swapItemsAt(index - 1, index);
                lastSwap = index;
            }
        }
    } while (lastSwap != 0);
}

bool SortDB(const Env& env, const QString& hostPath)
{
    ErrorTrap trap(env, u"Sub SortDB"_s);

    qint64 length = 0;
    if (!trap.step([&] { length = FileOps::length(hostPath); }))
        return false;
    if (length < 10)
        return true;

    QList<StoredLine> lines;
    // A file that cannot be read is left exactly as it is.
    if (!trap.step([&] { lines = ParseLines(readAllBytes(hostPath)); }))
        return false;
    SortLines(lines);
    return trap.step([&] { FileOps::replaceFile(hostPath, LinesBytes(lines)); });
}

void SortLines(QList<StoredLine>& lines)
{
    // Equal items may stand on lines of different bytes: a stable sort keeps
    // their order, so sorting twice gives the same file.
    std::stable_sort(lines.begin(), lines.end(), [](const StoredLine& a, const StoredLine& b) {
        return CompareText1252(a.item, b.item) > 0;
    });
}
