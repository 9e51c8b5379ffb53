#pragma once

#include "platform/Dialogs.h"

#include <QElapsedTimer>
#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

class QTranslator;

// Answers only the messages a benchmark announced, in order, with the
// answer announced; anything else counts as a fault and is reported, so
// that a refused save cannot pass for a fast one.
class ScriptedDialogs final : public Dialogs {
public:
    void expect(const QString& text, MsgResult answer = MsgResult::Ok);
    int faults() const { return m_faults; }
    bool done() const { return m_expected.isEmpty(); }

    MsgResult message(const QString& text, MsgIcon, MsgButtons, const QString&) override;
    QString input(const QString& prompt, const QString&, const QString&) override;
    QString openFile(const QString& title, const QString&, const QString&) override;
    QString saveFile(const QString& title, const QString&, const QString&) override;
    QString chooseFolder(const QString& title, const QString&) override;

private:
    void unexpected(const QString& text);

    QList<std::pair<QString, MsgResult>> m_expected;
    int m_faults = 0;
};

// The German application as the program sets it up.
void setUpGermanApplication(QTranslator& qtGerman);

// Drops the offscreen platform's notes on window calls it ignores, which
// would break up the benchmark's output; every other message is shown.
void quietOffscreenNotes();

// Runs what Qt scheduled for later (layout, painting): part of what the
// user waits for.
void settle();

// A check of a benchmark that failed: printed, and counted so that the run
// fails at its end.
void fault(const QString& what);
int faultCount();

double elapsedMs(const QElapsedTimer& t);

struct Sample {
    std::vector<double> ms;
    void add(double v) { ms.push_back(v); }
    // -1 when nothing was measured.
    double median() const;
};

// The floor for the figures: reading both log files of the folder,
// decoding them and splitting them into records (the store's own reader)
// and each record into its TAB-separated fields, as little as any start or
// refresh must do. One run, in milliseconds.
double readAndSplitLogsMs(const QString& programDir);

// Host paths of the two log files.
QString catchFile(const QString& programDir);
QString costFile(const QString& programDir);
// Number of lines of a file (0 when missing).
int lineCount(const QString& path);

// The figures' table of a benchmark run: a head, then one row per figure
// with its median, the floor, their ratio and the budget (its text), and
// whether the figure is within it. Returns `ok`. The widths are those of
// the figure's name and of the budget column.
struct FigureColumns {
    int figure = 44;
    int budget = 10;
};
void printFigureHead(const QString& title, FigureColumns columns = {});
bool printFigureRow(const QString& figure, double ms, double floorMs, const QString& budget,
    bool ok, FigureColumns columns = {});
