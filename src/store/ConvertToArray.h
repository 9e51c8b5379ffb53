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

// typeWord "fisch" or "kosten" (any letter case). Unknown word: warning
// message and an empty table. A field of 255 or more characters in columns
// 2..16 (2..7) or too few TABs stops the parse with error 6 logged under
// "Funktion ConvertToArray".
RecordTable ConvertToArray(const Env& env, const QStringList& lines, const QString& typeWord);
