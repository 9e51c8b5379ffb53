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
    // Reads both logs again even where their bytes look as before, and
    // reports both as changed: after a reset or an import replaced the
    // files and the photos beside them.
    void reread(const QString& place);

    // Holds back catchesChanged and costsChanged while it lives; when the
    // last one ends, each that was due is sent once. A window holds one
    // over all the steps of one change, so that everything is shown anew
    // once, after the change is complete.
    class Batch {
    public:
        explicit Batch(Logbook& log);
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        Logbook& m_log;
    };

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
    // Appends catch records in one write: afterwards the file holds all of
    // them, or, when it failed (logged through trap), exactly what it held.
    bool appendCatches(const QStringList& items, ErrorTrap& trap);
    // Every line of the catch file, listed or not.
    int catchFileLines() const { return int(m_catchRows.size()); }
    // Rewrites the catch file without row `row` of the list; lines not listed
    // keep their place after the listed ones. False when nothing was
    // written: the failure is logged through trap, or the catch is no
    // longer in the file.
    bool removeCatch(int row, ErrorTrap& trap);

    // The photo an edited catch had when it was loaded: its file, and the
    // date and catch time it was filed under. Empty for a new catch.
    struct LoadedPhoto {
        QString path;
        QString date;
        QString catchTime;
    };
    // What a save brought: whether the catch was written, and the warning to
    // show (empty when none).
    struct CatchSave {
        bool written = false;
        QString warning;
    };
    // Appends the catch of a checked entry, then files its photo: a photo
    // the user chose is copied into the photo folder under the catch's date
    // and time, a loaded photo moves along when they changed. A loaded photo
    // the catch no longer has goes, but only once the new copy is made, so
    // a failed copy never loses one, and never while another catch names
    // the same file.
    CatchSave saveCatch(const CatchEntry& e, const LoadedPhoto& loaded, ErrorTrap& trap);
    // Gives up the catch out for editing, which left the file when editing
    // began, with its photo (unless another catch names the same file).
    void dropCatchOutForEdit(const LoadedPhoto& loaded, ErrorTrap& trap);
    // removeCatch, and then the catch's photo files go unless another catch
    // names the same file.
    bool removeCatchWithPhoto(int row, ErrorTrap& trap);

    // The list record (the list line without the photo mark) of the catch
    // out for editing, empty when none is out.
    const QString& catchOutForEdit() const { return m_catchOut; }
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
    // As appendCatches, for purchases.
    bool appendCosts(const QStringList& items, ErrorTrap& trap);
    int costFileLines() const { return int(m_costRows.size()); }
    // Rewrites the cost file without row `row` of the list; with
    // putBack not empty, that item is written back at the end.
    bool removeCost(int row, const QString& putBack, ErrorTrap& trap);

    // The stored item of the purchase out for editing, empty when none is
    // out.
    const QString& costOutForEdit() const { return m_costOut; }
    // Takes list line `row` (0-based) out of the file for editing; a
    // purchase still out goes back into the file in the same rewrite.
    bool takeCostForEdit(int row, ErrorTrap& trap);
    // Puts a purchase still out for editing back into the file unchanged.
    bool putBackCost(ErrorTrap& trap);
    // Forgets the purchase out for editing (saved anew, or given up).
    void clearCostEdit();

    // "Sortieren": both files newest first. False when a file could not be
    // sorted (logged under "Sub SortDB").
    bool sortLogs();

signals:
    void catchesChanged();
    void costsChanged();

private:
    // Sends the signal, or marks it due while a Batch lives.
    void catchesDone();
    void costsDone();

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
    bool appendLines(FileState& f, const QStringList& items, ErrorTrap& trap);
    void remember(FileState& f, const QByteArray& bytes);
    bool rewrite(FileState& f, const QByteArray& bytes, ErrorTrap& trap);
    int findCatch(const QString& item) const;
    // Deletes a loaded photo that none of these list lines names.
    // The catch list behind its column header and rule line.
    QStringList catchListWithHeader() const;
    void dropPhoto(const LoadedPhoto& loaded, const QStringList& lines, ErrorTrap& trap);

    Env m_env;
    int m_batches = 0;
    bool m_catchesDue = false;
    bool m_costsDue = false;
    QByteArray m_parseBytes; // a file just read, until it is parsed
    FileState m_catches;
    FileState m_costs;

    std::vector<CatchRow> m_catchRows; // file order
    std::vector<int> m_catchOrder; // listed rows, list order
    QList<CatchNumbers> m_catchNumbers;
    bool m_catchesListed = false;

    // The catch out for editing: list record and stored item.
    QString m_catchOut;
    QString m_catchOutItem;
    QString m_costOut; // stored item

    std::vector<Row> m_costRows; // every line, newest first
    std::vector<int> m_costListed; // the rows of the cost list
    CostSums m_costSums;
};
