#pragma once

#include "platform/Env.h"
#include "store/CatchList.h"
#include "store/CostList.h"
#include "store/RecordFile.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <vector>

class ErrorTrap;

// The one owner of both loaded logs. Reads each log file once when its
// bytes changed on disk, keeps every line (with its own bytes, for exact
// rewrites) and what the lists and the statistics need of it, and performs
// every append, rewrite and edit. A rewrite first checks that the file is
// still what was read; when it is not, the file is read again and the
// change is applied to what it holds now, so a change made elsewhere is
// never written over. Also holds the catch and the purchase taken out of
// their logs for editing.
class Logbook : public QObject {
    Q_OBJECT
public:
    explicit Logbook(const Env& env, QObject* parent = nullptr);

    // Reads a log again when its file's bytes differ from what was read or
    // written last. Failures are logged under place.
    void refresh(const QString& place);

    // ------------------------------------------------------------ catches

    // The catch list: one tab-stop line per readable catch, newest first,
    // row 0 the newest. Empty while the file is shorter than 10 bytes.
    int catchCount() const;
    QString catchLine(int row) const;
    // Every line of the catch list, built for the call.
    QStringList catchLines() const;
    // The stored item behind row `row` of the catch list.
    QString catchItem(int row) const;
    // The numbers of every readable catch, in file order.
    const QList<CatchNumbers>& catchNumbers() const { return m_catchNumbers; }
    // The catch file's length in bytes when read, -1 when it is missing.
    qint64 catchFileSize() const { return m_catches.size; }
    // Changes whenever the catch list changes.
    quint64 catchGeneration() const { return m_catches.generation; }
    // Lines of the catch file that the catch list leaves out because they
    // cannot be read as a catch.
    int unlistedCatches() const;

    // Appends a catch record. False when it was not written (the file is
    // then as before); the failure is logged through trap.
    bool appendCatch(const QString& item, ErrorTrap& trap);
    // Rewrites the catch file without row `row` of the list; lines not listed
    // keep their place after the listed ones. False when nothing was
    // written: the failure is logged through trap, or the catch is no
    // longer in the file.
    bool removeCatch(int row, ErrorTrap& trap);

    // The catch handed to the entry window for editing: its list record
    // (the list line without the photo mark) and its stored item.
    bool editFlag = false;
    QString editRecord;
    QString editItem;
    // Takes row `row` of the catch list out of the file for editing.
    bool takeCatchForEdit(int row, ErrorTrap& trap);
    // Puts a catch still out for editing back into the file unchanged.
    bool putBackCatch(ErrorTrap& trap);
    // Forgets the catch out for editing (saved anew, or given up).
    void clearCatchEdit();

    // ------------------------------------------------------------ costs

    // The cost list, newest first (row 0 the newest), and its sums.
    int costCount() const { return int(m_costListed.size()); }
    QString costLine(int row) const;
    // Every line of the cost list, built for the call.
    QStringList costLines() const;
    const CostSums& costSums() const { return m_costSums; }
    // The stored item behind row `row` of the cost list.
    QString costItem(int row) const;
    quint64 costGeneration() const { return m_costs.generation; }
    // Lines of the cost file that the cost list leaves out.
    int unlistedCosts() const { return int(m_costRows.size() - m_costListed.size()); }

    bool appendCost(const QString& item, ErrorTrap& trap);
    // Rewrites the cost file without row `row` of the list; with
    // putBack not empty, that item is written back at the end.
    bool removeCost(int row, const QString& putBack, ErrorTrap& trap);

    // The purchase taken out for editing.
    bool costEditFlag = false;
    QString pendingCost;
    // Puts a purchase still out for editing back into the file unchanged.
    bool putBackCost(ErrorTrap& trap);

    // "Sortieren": both files newest first. False when a file could not be
    // sorted (logged under "Sub SortDB").
    bool sortLogs();

signals:
    void catchesChanged();
    void costsChanged();

private:
    // One line of a log. The stored item is kept only when it cannot be
    // had back from the list line (which holds the same text with the date
    // turned into display form): that halves what a log takes in memory.
    struct Row {
        QString listLine; // empty when the line is not listed
        QString item; // null when it is the list line's own
        QByteArray raw; // the line's own bytes when not in record form
        QString itemText(int markLength) const;
        // The line's bytes in the file, with CR LF.
        void appendBytes(QByteArray& out, int markLength) const;
    };
    struct CatchRow : Row {
        CatchNumbers numbers;
    };
    // Size, change time and file number: when all three are as before, the
    // file is taken as unchanged without reading it.
    struct Stamp {
        qint64 size = -1;
        qint64 changed = 0;
        quint64 inode = 0;
        bool operator==(const Stamp&) const = default;
    };
    struct FileState {
        QString path;
        // The file's content as read or written last: a checksum of its
        // bytes (enough to notice a change), and its last byte.
        size_t checksum = 0;
        char lastByte = 0;
        Stamp stamp; // of the file when read or written last
        qint64 size = -1;
        bool read = false;
        quint64 generation = 0;
    };

    // Reads the file when its stamp differs (with `compare`, when its bytes
    // differ); true when it was read anew.
    bool reload(FileState& f, ErrorTrap& trap, bool compare = false);
    static Stamp stampOf(const QString& path);
    void resolve(FileState& f) const;
    void parseCatches();
    void parseCosts();
    CatchRow catchRow(StoredLine line) const;
    Row costRow(StoredLine line) const;
    void rebuildCatchList();
    void rebuildCostList();
    void insertCost(StoredLine line);
    bool append(FileState& f, const QString& item, ErrorTrap& trap);
    void remember(FileState& f, const QByteArray& bytes);
    bool rewrite(FileState& f, const QByteArray& bytes, ErrorTrap& trap);
    int findCatch(const QString& item) const;

    Env m_env;
    QByteArray m_parseBytes; // a file just read, until it is parsed
    FileState m_catches;
    FileState m_costs;

    std::vector<CatchRow> m_catchRows; // file order
    std::vector<int> m_catchOrder; // listed rows, list order
    QList<CatchNumbers> m_catchNumbers;
    bool m_catchesListed = false;

    std::vector<Row> m_costRows; // every line, newest first
    std::vector<int> m_costListed; // the rows of the cost list
    CostSums m_costSums;
};
