#include "store/Logbook.h"

#include "platform/ErrorLog.h"
#include "platform/FileOps.h"
#include "platform/Paths.h"
#include "platform/RuntimeError.h"
#include "store/ConvertToArray.h"
#include "store/Sort.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

#include <algorithm>
#include <array>

using namespace Qt::StringLiterals;

namespace {

const QString kCatchFile = u"db\\fänge\\db"_s;
const QString kCostFile = u"db\\kosten\\db"_s;
// The cost sums belong to the cost window's list; an unreadable amount is
// logged where that list is loaded.
const QString kCostListPlace = u"Sub frmAddKosten.Form_Load"_s;

// A catch file shorter than this lists no catch.
constexpr qint64 kListedFileSize = 10;

bool newerFirst(const QString& a, const QString& b)
{
    return CompareText1252(a, b) > 0;
}

} // namespace

Logbook::Logbook(const Env& env, QObject* parent)
    : QObject(parent)
    , m_env(env)
{
    m_catches.path = hostPath(env.programDir, kCatchFile);
    m_costs.path = hostPath(env.programDir, kCostFile);
    m_catchLines = { CatchHeaderLine(), CatchRuleLine() };
}

// ---------------------------------------------------------------- Reading

Logbook::Stamp Logbook::stampOf(const QString& path)
{
    Stamp s;
#ifdef Q_OS_UNIX
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) == 0 && S_ISREG(st.st_mode)) {
        s.size = st.st_size;
        s.changed = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
        s.inode = st.st_ino;
    }
#else
    const QFileInfo fi(path);
    if (fi.isFile()) {
        s.size = fi.size();
        s.changed = fi.lastModified().toMSecsSinceEpoch();
    }
#endif
    return s;
}

void Logbook::resolve(FileState& f) const
{
    // The path is resolved anew each time: a folder may have been made or
    // renamed since.
    f.path = hostPath(m_env.programDir, &f == &m_catches ? kCatchFile : kCostFile);
}

bool Logbook::reload(FileState& f, ErrorTrap& trap, bool compare)
{
    resolve(f);
    const Stamp stamp = stampOf(f.path);
    if (f.read && !compare && stamp == f.stamp)
        return false;
    f.stamp = stamp;
    QByteArray bytes;
    qint64 size = -1;
    if (QFileInfo(f.path).isFile()) {
        if (!trap.step([&] { bytes = readAllBytes(f.path); }))
            return false;
        size = bytes.size();
    }
    if (f.read && size == f.size && qHashBits(bytes.constData(), bytes.size()) == f.checksum)
        return false;
    remember(f, bytes);
    f.size = size;
    f.read = true;
    m_parseBytes = std::move(bytes);
    return true;
}

void Logbook::remember(FileState& f, const QByteArray& bytes)
{
    f.checksum = qHashBits(bytes.constData(), bytes.size());
    f.lastByte = bytes.isEmpty() ? 0 : bytes.back();
    f.size = bytes.size();
}

void Logbook::refresh(const QString& place)
{
    ErrorTrap trap(m_env, place);
    if (reload(m_catches, trap)) {
        parseCatches();
        emit catchesChanged();
    }
    if (reload(m_costs, trap)) {
        parseCosts();
        emit costsChanged();
    }
}

Logbook::CatchRow Logbook::catchRow(StoredLine line) const
{
    CatchRow row;
    std::array<QStringView, kCatchFields> f;
    if (!line.item.isEmpty() && SplitRecord(line.item, kCatchFields, f.data())) {
        row.listLine = CatchListLine(m_env, line.item);
        row.numbers = ReadCatchNumbers(f.data());
    }
    row.line = std::move(line);
    return row;
}

void Logbook::parseCatches()
{
    QList<StoredLine> lines = ParseLines(std::exchange(m_parseBytes, {}));
    m_catchRows.clear();
    m_catchRows.reserve(lines.size());
    bool damaged = false;
    for (StoredLine& l : lines) {
        m_catchRows.push_back(catchRow(std::move(l)));
        damaged = damaged || (!m_catchRows.back().line.item.isEmpty()
                                 && m_catchRows.back().listLine.isEmpty());
    }
    // A line that cannot be read hides only itself; it is reported once
    // per reading of the file.
    if (damaged)
        ErrorTrap(m_env, u"Funktion ConvertToArray"_s).log(Err::Overflow);

    m_catchOrder.clear();
    for (int i = 0; i < int(m_catchRows.size()); ++i) {
        if (!m_catchRows[i].listLine.isEmpty())
            m_catchOrder.push_back(i);
    }
    std::stable_sort(m_catchOrder.begin(), m_catchOrder.end(),
        [&](int a, int b) { return newerFirst(m_catchRows[a].line.item, m_catchRows[b].line.item); });
    rebuildCatchList();
}

void Logbook::rebuildCatchList()
{
    m_catchesListed = m_catches.size >= kListedFileSize;
    m_catchLines = { CatchHeaderLine(), CatchRuleLine() };
    m_catchNumbers.clear();
    if (m_catchesListed) {
        m_catchLines.reserve(m_catchOrder.size() + 2);
        for (int i : m_catchOrder)
            m_catchLines.append(m_catchRows[i].listLine);
        m_catchNumbers.reserve(m_catchOrder.size());
        for (const CatchRow& r : m_catchRows) {
            if (!r.listLine.isEmpty())
                m_catchNumbers.append(r.numbers);
        }
    }
    ++m_catches.generation;
}

QString Logbook::catchItem(int row) const
{
    if (!m_catchesListed || row < 2 || row - 2 >= int(m_catchOrder.size()))
        return {};
    return m_catchRows[m_catchOrder[row - 2]].line.item;
}

Logbook::CostRow Logbook::costRow(StoredLine line) const
{
    CostRow row;
    row.listLine = CostListLine(m_env, line.item);
    row.line = std::move(line);
    return row;
}

void Logbook::parseCosts()
{
    QList<StoredLine> lines = ParseLines(std::exchange(m_parseBytes, {}));
    SortLines(lines);
    m_costRows.clear();
    m_costRows.reserve(lines.size());
    for (StoredLine& l : lines)
        m_costRows.push_back(costRow(std::move(l)));
    rebuildCostList();
}

void Logbook::rebuildCostList()
{
    CostListing listing;
    listing.lines.reserve(m_costRows.size());
    listing.stored.reserve(m_costRows.size());
    for (const CostRow& r : m_costRows) {
        if (r.listLine.isNull()) {
            listing.unlisted.append(r.line.item);
        } else {
            listing.lines.append(r.listLine);
            listing.stored.append(r.line.item);
        }
    }
    ErrorTrap trap(m_env, kCostListPlace);
    listing.sums = SumCostLines(listing.lines, trap);
    m_costListing = std::move(listing);
    ++m_costs.generation;
}

// ---------------------------------------------------------------- Writing

bool Logbook::append(FileState& f, const QString& item, ErrorTrap& trap)
{
    // The file as it is now, to check it against what was read and to know
    // what the append adds to it.
    resolve(f);
    QByteArray current;
    if (QFileInfo(f.path).isFile() && !trap.step([&] { current = readAllBytes(f.path); }))
        return false;
    // What was added elsewhere since the last reading is read first, so the
    // lists show it together with the new record.
    if (!f.read || current.size() != f.size
        || qHashBits(current.constData(), current.size()) != f.checksum) {
        remember(f, current);
        f.size = QFileInfo(f.path).isFile() ? current.size() : -1;
        f.read = true;
        f.stamp = stampOf(f.path);
        m_parseBytes = current;
        if (&f == &m_catches) {
            parseCatches();
            emit catchesChanged();
        } else {
            parseCosts();
            emit costsChanged();
        }
    }
    if (!trap.step([&] { AppendItem(f.path, item); }))
        return false;
    current += AppendBytes(current, item);
    remember(f, current);
    f.stamp = stampOf(f.path);
    return true;
}

bool Logbook::rewrite(FileState& f, const QByteArray& bytes, ErrorTrap& trap)
{
    if (!trap.step([&] { FileOps::replaceFile(f.path, bytes); }))
        return false;
    remember(f, bytes);
    f.stamp = stampOf(f.path);
    return true;
}

bool Logbook::appendCatch(const QString& item, ErrorTrap& trap)
{
    if (!append(m_catches, item, trap))
        return false;
    m_catchRows.push_back(catchRow(StoredLine { item, {} }));
    const int index = int(m_catchRows.size()) - 1;
    if (!m_catchRows.back().listLine.isEmpty()) {
        const auto at = std::upper_bound(m_catchOrder.begin(), m_catchOrder.end(), index,
            [&](int a, int b) { return newerFirst(m_catchRows[a].line.item, m_catchRows[b].line.item); });
        m_catchOrder.insert(at, index);
    }
    rebuildCatchList();
    emit catchesChanged();
    return true;
}

int Logbook::findCatch(const QString& item) const
{
    for (int k = 0; k < int(m_catchOrder.size()); ++k) {
        if (m_catchRows[m_catchOrder[k]].line.item == item)
            return k + 2;
    }
    return -1;
}

bool Logbook::removeCatch(int row, ErrorTrap& trap)
{
    const QString item = catchItem(row);
    if (item.isNull())
        return false;
    // The file changed since it was read: apply the removal to what it
    // holds now.
    if (reload(m_catches, trap, true)) {
        parseCatches();
        emit catchesChanged();
        row = findCatch(item);
        if (row < 0)
            return false;
    }
    const int removed = m_catchOrder[row - 2];
    std::vector<CatchRow> rows;
    rows.reserve(m_catchRows.size());
    QList<StoredLine> lines;
    lines.reserve(qsizetype(m_catchRows.size()));
    for (int i : m_catchOrder) {
        if (i != removed)
            lines.append(m_catchRows[i].line);
    }
    // Lines the list leaves out keep their place after the listed ones.
    std::vector<bool> listed(m_catchRows.size(), false);
    for (int i : m_catchOrder)
        listed[i] = true;
    for (int i = 0; i < int(m_catchRows.size()); ++i) {
        if (!listed[i])
            lines.append(m_catchRows[i].line);
    }
    if (!rewrite(m_catches, LinesBytes(lines), trap))
        return false;

    // The file now holds the listed lines in list order, then the others.
    for (int i : m_catchOrder) {
        if (i != removed)
            rows.push_back(std::move(m_catchRows[i]));
    }
    const int listedCount = int(rows.size());
    for (int i = 0; i < int(m_catchRows.size()); ++i) {
        if (!listed[i])
            rows.push_back(std::move(m_catchRows[i]));
    }
    m_catchRows = std::move(rows);
    m_catchOrder.resize(listedCount);
    for (int k = 0; k < listedCount; ++k)
        m_catchOrder[k] = k;
    rebuildCatchList();
    emit catchesChanged();
    return true;
}

bool Logbook::takeCatchForEdit(int row, ErrorTrap& trap)
{
    const QString record = m_catchLines.value(row).mid(2);
    const QString item = catchItem(row);
    if (!removeCatch(row, trap))
        return false;
    editFlag = true;
    editRecord = record;
    editItem = item;
    return true;
}

bool Logbook::putBackCatch(ErrorTrap& trap)
{
    if (!editFlag || editRecord.isEmpty())
        return true;
    const QString item = editItem.isEmpty() ? CatchStoredItem(m_env, editRecord) : editItem;
    if (!appendCatch(item, trap))
        return false;
    clearCatchEdit();
    return true;
}

void Logbook::clearCatchEdit()
{
    editFlag = false;
    editRecord.clear();
    editItem.clear();
}

bool Logbook::appendCost(const QString& item, ErrorTrap& trap)
{
    if (!append(m_costs, item, trap))
        return false;
    CostRow row = costRow(StoredLine { item, {} });
    const auto at = std::upper_bound(m_costRows.begin(), m_costRows.end(), row,
        [](const CostRow& a, const CostRow& b) { return newerFirst(a.line.item, b.line.item); });
    m_costRows.insert(at, std::move(row));
    rebuildCostList();
    emit costsChanged();
    return true;
}

bool Logbook::removeCost(int row, const QString& putBack, ErrorTrap& trap)
{
    if (row < 0 || row >= m_costListing.stored.size())
        return false;
    const QString item = m_costListing.stored[row];
    if (reload(m_costs, trap, true)) {
        parseCosts();
        emit costsChanged();
        row = int(m_costListing.stored.indexOf(item));
        if (row < 0)
            return false;
    }
    // Listed lines in list order without the removed one, then the lines the
    // list leaves out, then the purchase put back.
    int listedIndex = -1;
    int removed = -1;
    QList<StoredLine> lines;
    lines.reserve(qsizetype(m_costRows.size()) + 1);
    for (int i = 0; i < int(m_costRows.size()); ++i) {
        if (m_costRows[i].listLine.isNull())
            continue;
        if (++listedIndex == row)
            removed = i;
        else
            lines.append(m_costRows[i].line);
    }
    for (const CostRow& r : m_costRows) {
        if (r.listLine.isNull())
            lines.append(r.line);
    }
    if (!putBack.isEmpty())
        lines.append(StoredLine { putBack, {} });
    if (!rewrite(m_costs, LinesBytes(lines), trap))
        return false;

    m_costRows.erase(m_costRows.begin() + removed);
    if (!putBack.isEmpty()) {
        CostRow back = costRow(StoredLine { putBack, {} });
        const auto at = std::upper_bound(m_costRows.begin(), m_costRows.end(), back,
            [](const CostRow& a, const CostRow& b) { return newerFirst(a.line.item, b.line.item); });
        m_costRows.insert(at, std::move(back));
    }
    rebuildCostList();
    emit costsChanged();
    return true;
}

bool Logbook::putBackCost(ErrorTrap& trap)
{
    if (!costEditFlag || pendingCost.isEmpty())
        return true;
    if (!appendCost(pendingCost, trap))
        return false;
    costEditFlag = false;
    pendingCost.clear();
    return true;
}

bool Logbook::sortLogs()
{
    const bool costs = SortDB(m_env, hostPath(m_env.programDir, kCostFile));
    const bool catches = SortDB(m_env, hostPath(m_env.programDir, kCatchFile));
    refresh(u"Sub SortDB"_s);
    return costs && catches;
}
