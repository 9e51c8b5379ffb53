#pragma once

#include "platform/Env.h"

#include <QList>
#include <QStringList>

// Rows in line order; each row holds 17 (catch) or 8 (cost) cells, field
// number k at index k - 1. Rows after a line that could not be parsed stay
// empty (all cells empty text).
using RecordTable = QList<QStringList>;

inline constexpr int kCatchFields = 17;
inline constexpr int kCostFields = 8;

// A TAB must turn up within this many characters of a field's start, or the
// record cannot be read.
inline constexpr qsizetype kFieldScanLimit = 255;

// Splits one record line into `columns` views into the line, the one rule
// every reader of records follows: field 1 is the first 10 characters,
// character 11 is skipped, each further field ends at a TAB found within
// kFieldScanLimit characters of its start, the last field is the rest.
// Returns false when the line cannot be read that way (the views then
// hold what was split so far, the rest empty).
bool SplitRecord(QStringView line, int columns, QStringView* fields);

// typeWord "fisch" or "kosten" (any letter case). Unknown word: warning
// message and an empty table. A field of 255 or more characters in columns
// 2..16 (2..7) or too few TABs stops the parse with error 6 logged under
// "Funktion ConvertToArray".
RecordTable ConvertToArray(const Env& env, const QStringList& lines, const QString& typeWord);
