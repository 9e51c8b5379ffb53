#include "store/Logbook.h"

#include "platform/Cp1252.h"
#include "platform/ErrorLog.h"
#include "platform/FileOps.h"
#include "platform/Paths.h"
#include "platform/RuntimeError.h"
#include "store/ConvertToArray.h"
#include "store/Sort.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

#include <algorithm>
#include <array>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

// The cost sums belong to the cost window's list; an unreadable amount is
// logged where that list is loaded.
const QString kCostListPlace = u"Sub frmAddKosten.Form_Load"_s;

// A catch file shorter than this lists no catch.
constexpr qint64 kListedFileSize = 10;

constexpr int kCatchMark = 2; // "X" or a blank, and a TAB, before a catch's record
constexpr int kNoMark = 0;

// True when the item is what its list line gives back: a stored date
// "yyyy/mm/dd" and the TAB after it.
bool derivable(const QString& item)
{
    return item.size() >= 11 && item[4] == u'/' && item[7] == u'/' && item[10] == u'\t';
}

// The stored date of the display date at the start of `record`.
void storedDate(QStringView record, char16_t* out)
{
    const int from[10] = { 6, 7, 8, 9, -1, 3, 4, -1, 0, 1 };
    for (int i = 0; i < 10; ++i)
        out[i] = from[i] < 0 ? u'/' : record[from[i]].unicode();
}

// An item as a sort key without building it: its first 10 characters and
// the rest.
struct SortKey {
    char16_t head[10];
    qsizetype headLength;
    QStringView tail;
};

} // namespace

void Logbook::Row::appendBytes(QByteArray& out, int markLength) const
{
    if (!raw.isEmpty()) {
        out += raw;
        out += "\r\n";
        return;
    }
    out += '"';
    if (item.isNull()) {
        const QStringView record = QStringView(listLine).mid(markLength);
        char16_t date[10];
        storedDate(record, date);
        appendEncoded1252(out, QStringView(date, 10));
        appendEncoded1252(out, record.mid(10));
    } else {
        appendEncoded1252(out, item);
    }
    out += "\"\r\n";
}

QString Logbook::Row::itemText(int markLength) const
{
    if (!item.isNull())
        return item;
    const QStringView record = QStringView(listLine).mid(markLength);
    QString text(record.size(), Qt::Uninitialized);
    storedDate(record, reinterpret_cast<char16_t*>(text.data()));
    std::copy(record.begin() + 10, record.end(), text.begin() + 10);
    return text;
}

namespace {

SortKey itemSortKey(const QString& listLine, const QString& item, int markLength)
{
    SortKey k;
    if (item.isNull()) {
        const QStringView record = QStringView(listLine).mid(markLength);
        storedDate(record, k.head);
        k.headLength = 10;
        k.tail = record.mid(10);
    } else {
        k.headLength = std::min<qsizetype>(10, item.size());
        for (qsizetype i = 0; i < k.headLength; ++i)
            k.head[i] = item[i].unicode();
        k.tail = QStringView(item).mid(k.headLength);
    }
    return k;
}

// Newest first: descending by the items, as the files are sorted.
bool newerFirst(const SortKey& a, const SortKey& b)
{
    const int c
        = CompareText1252(QStringView(a.head, a.headLength), QStringView(b.head, b.headLength));
    return c != 0 ? c > 0 : CompareText1252(a.tail, b.tail) > 0;
}

template <class R> bool rowNewerFirst(const R& a, const R& b, int markLength)
{
    return newerFirst(
        itemSortKey(a.listLine, a.item, markLength), itemSortKey(b.listLine, b.item, markLength));
}

} // namespace

Logbook::Logbook(const Env& env, QObject* parent)
    : QObject(parent)
    , m_env(env)
{
    m_catches.path = hostPath(env.programDir, kCatchLogPath);
    m_costs.path = hostPath(env.programDir, kCostLogPath);
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
    f.path = hostPath(m_env.programDir, &f == &m_catches ? kCatchLogPath : kCostLogPath);
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
        catchesDone();
    }
    if (reload(m_costs, trap)) {
        parseCosts();
        costsDone();
    }
}

void Logbook::reread(const QString& place)
{
    m_catches.read = false;
    m_costs.read = false;
    refresh(place);
}

Logbook::Batch::Batch(Logbook& log)
    : m_log(log)
{
    ++m_log.m_batches;
}

Logbook::Batch::~Batch()
{
    if (--m_log.m_batches > 0)
        return;
    if (std::exchange(m_log.m_catchesDue, false))
        emit m_log.catchesChanged();
    if (std::exchange(m_log.m_costsDue, false))
        emit m_log.costsChanged();
}

void Logbook::catchesDone()
{
    if (m_batches > 0)
        m_catchesDue = true;
    else
        emit catchesChanged();
}

void Logbook::costsDone()
{
    if (m_batches > 0)
        m_costsDue = true;
    else
        emit costsChanged();
}

Logbook::CatchRow Logbook::catchRow(StoredLine line) const
{
    CatchRow row;
    std::array<QStringView, kCatchFields> f;
    if (!line.item.isEmpty() && SplitRecord(line.item, kCatchFields, f.data())) {
        row.listLine = CatchListLine(m_env, line.item);
        row.numbers = ReadCatchNumbers(f.data());
    }
    if (row.listLine.isEmpty() || !derivable(line.item))
        row.item = std::move(line.item);
    row.raw = std::move(line.raw);
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
        const CatchRow& r = m_catchRows.back();
        damaged = damaged || (r.listLine.isEmpty() && !r.item.isEmpty());
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
        [&](int a, int b) { return rowNewerFirst(m_catchRows[a], m_catchRows[b], kCatchMark); });
    rebuildCatchList();
}

void Logbook::rebuildCatchList()
{
    m_catchesListed = m_catches.size >= kListedFileSize;
    m_catchNumbers.clear();
    if (m_catchesListed) {
        m_catchNumbers.reserve(m_catchOrder.size());
        for (const CatchRow& r : m_catchRows) {
            if (!r.listLine.isEmpty())
                m_catchNumbers.append(r.numbers);
        }
    }
    ++m_catches.generation;
}

int Logbook::catchCount() const
{
    return m_catchesListed ? int(m_catchOrder.size()) : 0;
}

QString Logbook::catchLine(int row) const
{
    if (row < 0 || row >= catchCount())
        return {};
    return m_catchRows[m_catchOrder[row]].listLine;
}

QStringList Logbook::catchListWithHeader() const
{
    // The photo rules read the list as the overview shows it.
    return QStringList { CatchHeaderLine(), CatchRuleLine() } + catchLines();
}

QStringList Logbook::catchLines() const
{
    QStringList lines;
    lines.reserve(catchCount());
    for (int row = 0; row < catchCount(); ++row)
        lines.append(m_catchRows[m_catchOrder[row]].listLine);
    return lines;
}

QString Logbook::catchItem(int row) const
{
    if (row < 0 || row >= catchCount())
        return {};
    return m_catchRows[m_catchOrder[row]].itemText(kCatchMark);
}

int Logbook::unlistedCatches() const
{
    // A file too short to list anything lists none of its lines.
    return int(m_catchRows.size() - (m_catchesListed ? m_catchOrder.size() : 0));
}

Logbook::Row Logbook::costRow(StoredLine line) const
{
    Row row;
    row.listLine = CostListLine(m_env, line.item);
    if (row.listLine.isNull() || !derivable(line.item))
        row.item = std::move(line.item);
    row.raw = std::move(line.raw);
    return row;
}

void Logbook::parseCosts()
{
    QList<StoredLine> lines = ParseLines(std::exchange(m_parseBytes, {}));
    m_costRows.clear();
    m_costRows.reserve(lines.size());
    for (StoredLine& l : lines)
        m_costRows.push_back(costRow(std::move(l)));
    std::stable_sort(m_costRows.begin(), m_costRows.end(),
        [](const Row& a, const Row& b) { return rowNewerFirst(a, b, kNoMark); });
    rebuildCostList();
}

void Logbook::rebuildCostList()
{
    m_costListed.clear();
    for (int i = 0; i < int(m_costRows.size()); ++i) {
        if (!m_costRows[i].listLine.isNull())
            m_costListed.push_back(i);
    }
    ErrorTrap trap(m_env, kCostListPlace);
    m_costSums = SumCostLines(costLines(), trap);
    ++m_costs.generation;
}

QString Logbook::costLine(int row) const
{
    if (row < 0 || row >= costCount())
        return {};
    return m_costRows[m_costListed[row]].listLine;
}

QStringList Logbook::costLines() const
{
    QStringList lines;
    lines.reserve(costCount());
    for (int i : m_costListed)
        lines.append(m_costRows[i].listLine);
    return lines;
}

QString Logbook::costItem(int row) const
{
    if (row < 0 || row >= int(m_costListed.size()))
        return {};
    return m_costRows[m_costListed[row]].itemText(kNoMark);
}

// ---------------------------------------------------------------- Writing

bool Logbook::appendLines(FileState& f, const QStringList& items, ErrorTrap& trap)
{
    // The file as it is now, to check it against what was read and to know
    // what the append adds to it.
    resolve(f);
    QByteArray current;
    if (QFileInfo(f.path).isFile() && !trap.step([&] { current = readAllBytes(f.path); }))
        return false;
    // What was added elsewhere since the last reading is read first, so the
    // lists show it together with the new records.
    if (!f.read || current.size() != f.size
        || qHashBits(current.constData(), current.size()) != f.checksum) {
        remember(f, current);
        f.size = QFileInfo(f.path).isFile() ? current.size() : -1;
        f.read = true;
        f.stamp = stampOf(f.path);
        m_parseBytes = current;
        if (&f == &m_catches) {
            parseCatches();
            catchesDone();
        } else {
            parseCosts();
            costsDone();
        }
    }
    if (items.size() == 1) {
        if (!trap.step([&] { AppendItem(f.path, items.front()); }))
            return false;
        current += AppendBytes(current, items.front());
    } else {
        // Many lines go in one replacement of the whole file, so that a
        // failure leaves it exactly as it was, never with part of them.
        QByteArray bytes = current;
        for (const QString& item : items)
            bytes += AppendBytes(bytes, item);
        if (!trap.step([&] { FileOps::replaceFile(f.path, bytes); }))
            return false;
        current = std::move(bytes);
    }
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
    if (!appendLines(m_catches, { item }, trap))
        return false;
    m_catchRows.push_back(catchRow(StoredLine { item, {} }));
    const int index = int(m_catchRows.size()) - 1;
    if (!m_catchRows.back().listLine.isEmpty()) {
        const auto at
            = std::upper_bound(m_catchOrder.begin(), m_catchOrder.end(), index, [&](int a, int b) {
                  return rowNewerFirst(m_catchRows[a], m_catchRows[b], kCatchMark);
              });
        m_catchOrder.insert(at, index);
    }
    rebuildCatchList();
    catchesDone();
    return true;
}

bool Logbook::appendCatches(const QStringList& items, ErrorTrap& trap)
{
    if (items.isEmpty())
        return true;
    if (!appendLines(m_catches, items, trap))
        return false;
    m_catchRows.reserve(m_catchRows.size() + items.size());
    for (const QString& item : items) {
        m_catchRows.push_back(catchRow(StoredLine { item, {} }));
        if (!m_catchRows.back().listLine.isEmpty())
            m_catchOrder.push_back(int(m_catchRows.size()) - 1);
    }
    // One sort for all of them; equal lines keep the file order.
    std::stable_sort(m_catchOrder.begin(), m_catchOrder.end(),
        [&](int a, int b) { return rowNewerFirst(m_catchRows[a], m_catchRows[b], kCatchMark); });
    rebuildCatchList();
    catchesDone();
    return true;
}

int Logbook::findCatch(const QString& item) const
{
    for (int k = 0; k < int(m_catchOrder.size()); ++k) {
        if (m_catchRows[m_catchOrder[k]].itemText(kCatchMark) == item)
            return k;
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
        catchesDone();
        row = findCatch(item);
        if (row < 0)
            return false;
    }
    const int removed = m_catchOrder[row];
    std::vector<CatchRow> rows;
    rows.reserve(m_catchRows.size());
    QByteArray bytes;
    bytes.reserve(m_catches.size + 64);
    for (int i : m_catchOrder) {
        if (i != removed)
            m_catchRows[i].appendBytes(bytes, kCatchMark);
    }
    // Lines the list leaves out keep their place after the listed ones.
    std::vector<bool> listed(m_catchRows.size(), false);
    for (int i : m_catchOrder)
        listed[i] = true;
    for (int i = 0; i < int(m_catchRows.size()); ++i) {
        if (!listed[i])
            m_catchRows[i].appendBytes(bytes, kCatchMark);
    }
    if (!rewrite(m_catches, bytes, trap))
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
    catchesDone();
    return true;
}

Logbook::CatchSave Logbook::saveCatch(
    const CatchEntry& e, const LoadedPhoto& loaded, ErrorTrap& trap)
{
    // The other catches, before this one is added: whether one of them
    // still names the loaded photo.
    const QStringList others = catchListWithHeader();
    if (!appendCatch(CatchFields(m_env, e, trap).join(u'\t'), trap))
        return { false,
            u"Fehler: Der Fang konnte nicht gespeichert werden. Bitte prüfen Sie, "
            u"ob der Programmordner beschreibbar ist."_s };

    // A new photo is copied before an old one is deleted.
    const QString& photo = e.photo;
    const QString target = photo.isEmpty()
        ? QString()
        : PhotoPath(m_env, e.date, e.catchTime, photo.mid(photo.lastIndexOf(u'.') + 1));
    const auto store = [&](const QString& from) {
        return trap.step([&] {
            // The photo folder is normally made at start-up; make it if it
            // went missing.
            QDir().mkpath(QFileInfo(target).absolutePath());
            FileOps::copyFile(from, target);
        });
    };
    bool photoStored = true;
    bool dropLoaded = false;
    if (photo.isEmpty()) {
        // The photo was taken off the catch.
        dropLoaded = !loaded.path.isEmpty();
    } else if (photo == loaded.path) {
        // The same photo moves along when the catch's date or time changed.
        if (e.date != loaded.date || e.catchTime != loaded.catchTime)
            dropLoaded = photoStored = store(loaded.path);
    } else {
        photoStored = store(photo);
        dropLoaded = photoStored && !loaded.path.isEmpty();
    }
    // A loaded photo that the copy has just overwritten is the new photo.
    const bool overwritten = !target.isEmpty()
        && QFileInfo(loaded.path).absoluteFilePath() == QFileInfo(target).absoluteFilePath();
    if (dropLoaded && !overwritten)
        dropPhoto(loaded, others, trap);
    if (!photoStored)
        return { true,
            u"Fehler: Der Fang wurde gespeichert, aber das Bild konnte nicht in den Ordner \"%1\" "
            u"kopiert werden!"_s.arg(kPhotoFolder) };
    return { true, {} };
}

void Logbook::dropCatchOutForEdit(const LoadedPhoto& loaded, ErrorTrap& trap)
{
    clearCatchEdit();
    if (loaded.path.isEmpty())
        return;
    dropPhoto(loaded, catchListWithHeader(), trap);
    // The photos counted on the main window change with it.
    ++m_catches.generation;
    catchesDone();
}

void Logbook::dropPhoto(const LoadedPhoto& loaded, const QStringList& lines, ErrorTrap& trap)
{
    if (!PhotoNamed(lines, PhotoBaseName(loaded.date, loaded.catchTime)))
        trap.step([&] { FileOps::deleteFile(loaded.path); });
}

bool Logbook::removeCatchWithPhoto(int row, ErrorTrap& trap)
{
    const QStringList before = catchListWithHeader();
    const QString line = before.value(row + 2);
    if (!removeCatch(row, trap))
        return false;
    trap.step([&] { RemovePhotos(m_env, before, int(before.indexOf(line, 2))); });
    return true;
}

bool Logbook::takeCatchForEdit(int row, ErrorTrap& trap)
{
    const QString record = catchLine(row).mid(2);
    const QString item = catchItem(row);
    if (!removeCatch(row, trap))
        return false;
    m_catchOut = record;
    m_catchOutItem = item;
    return true;
}

bool Logbook::putBackCatch(ErrorTrap& trap)
{
    if (m_catchOut.isEmpty())
        return true;
    const QString item
        = m_catchOutItem.isEmpty() ? CatchStoredItem(m_env, m_catchOut) : m_catchOutItem;
    if (!appendCatch(item, trap))
        return false;
    clearCatchEdit();
    return true;
}

void Logbook::clearCatchEdit()
{
    m_catchOut.clear();
    m_catchOutItem.clear();
}

void Logbook::insertCost(StoredLine line)
{
    Row row = costRow(std::move(line));
    const auto at = std::upper_bound(m_costRows.begin(), m_costRows.end(), row,
        [](const Row& a, const Row& b) { return rowNewerFirst(a, b, kNoMark); });
    m_costRows.insert(at, std::move(row));
}

bool Logbook::appendCost(const QString& item, ErrorTrap& trap)
{
    if (!appendLines(m_costs, { item }, trap))
        return false;
    insertCost(StoredLine { item, {} });
    rebuildCostList();
    costsDone();
    return true;
}

bool Logbook::appendCosts(const QStringList& items, ErrorTrap& trap)
{
    if (items.isEmpty())
        return true;
    if (!appendLines(m_costs, items, trap))
        return false;
    m_costRows.reserve(m_costRows.size() + items.size());
    for (const QString& item : items)
        m_costRows.push_back(costRow(StoredLine { item, {} }));
    std::stable_sort(m_costRows.begin(), m_costRows.end(),
        [](const Row& a, const Row& b) { return rowNewerFirst(a, b, kNoMark); });
    rebuildCostList();
    costsDone();
    return true;
}

bool Logbook::removeCost(int row, const QString& putBack, ErrorTrap& trap)
{
    const QString item = costItem(row);
    if (item.isNull())
        return false;
    if (reload(m_costs, trap, true)) {
        parseCosts();
        costsDone();
        row = -1;
        for (int k = 0; k < int(m_costListed.size()) && row < 0; ++k) {
            if (costItem(k) == item)
                row = k;
        }
        if (row < 0)
            return false;
    }
    // Listed lines in list order without the removed one, then the lines the
    // list leaves out, then the purchase put back.
    const int removed = m_costListed[row];
    QByteArray bytes;
    bytes.reserve(m_costs.size + putBack.size() + 64);
    for (int i : m_costListed) {
        if (i != removed)
            m_costRows[i].appendBytes(bytes, kNoMark);
    }
    for (const Row& r : m_costRows) {
        if (r.listLine.isNull())
            r.appendBytes(bytes, kNoMark);
    }
    if (!putBack.isEmpty())
        bytes += RecordLine(putBack);
    if (!rewrite(m_costs, bytes, trap))
        return false;

    m_costRows.erase(m_costRows.begin() + removed);
    if (!putBack.isEmpty())
        insertCost(StoredLine { putBack, {} });
    rebuildCostList();
    costsDone();
    return true;
}

bool Logbook::takeCostForEdit(int row, ErrorTrap& trap)
{
    const QString item = costItem(row);
    if (item.isNull() || !removeCost(row, m_costOut, trap))
        return false;
    m_costOut = item;
    return true;
}

bool Logbook::putBackCost(ErrorTrap& trap)
{
    if (m_costOut.isEmpty())
        return true;
    if (!appendCost(m_costOut, trap))
        return false;
    clearCostEdit();
    return true;
}

void Logbook::clearCostEdit()
{
    m_costOut.clear();
}

bool Logbook::sortLogs()
{
    const bool costs = SortDB(m_env, hostPath(m_env.programDir, kCostLogPath));
    const bool catches = SortDB(m_env, hostPath(m_env.programDir, kCatchLogPath));
    refresh(u"Sub SortDB"_s);
    return costs && catches;
}
