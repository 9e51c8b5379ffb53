#pragma once

#include "platform/Env.h"

#include <QString>
#include <QStringList>

#include <optional>

// Orders two texts character by character by their Windows-1252 codes
// (the bytes the log files hold), the first difference deciding; a text
// that is a prefix of the other is the smaller. No locale rules, no case
// folding. Characters the code page cannot hold sort after all others.
// Returns <0, 0 or >0.
int CompareText1252(QStringView a, QStringView b);

// Sorts the first `count` lines of the list in place (all lines when count
// is omitted; a count beyond the list is taken as the list's length, a
// negative one sorts nothing), descending or ascending by CompareText1252.
// The lines after the first `count` stay where they are.
// Gives exactly the sequence of the exchange sort below, in O(n log n):
// equal lines are identical texts, so the order among them cannot show.
void BubbleSort(
    QStringList& list, std::optional<qsizetype> count = std::nullopt, bool descending = true);

// The quadratic exchange sort, step by step: each pass exchanges
// neighbours whose order differs from the wanted one (equal neighbours
// are exchanged when descending) and ends one place before the previous
// pass's last exchange. Kept to check BubbleSort against and to measure by.
void BubbleSortReference(
    QStringList& list, std::optional<qsizetype> count = std::nullopt, bool descending = true);

struct StoredLine;

// Orders log lines by their items descending (newest date first), as
// BubbleSort orders the items; lines with equal items keep their order.
void SortLines(QList<StoredLine>& lines);

// Rewrites a log file ("db\fänge\db" or "db\kosten\db", as a host path)
// with its lines in descending order, newest date first; every line keeps
// its bytes. A file under 10 bytes is left alone. Failures are logged under
// "Sub SortDB"; a file that could not be read is left untouched. True when
// the file is sorted (written, or too short to need it).
bool SortDB(const Env& env, const QString& hostPath);
