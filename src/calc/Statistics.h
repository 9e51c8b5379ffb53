#pragma once

#include "platform/Env.h"
#include "store/CatchList.h"

#include <QString>

// Extremes and sums of the catch file, shown in the main window's
// statistics frame. Lives for the whole run; a pass over a file too short to
// hold a record keeps the values of the previous pass.
struct CatchStatistics {
    float heaviest = 0; // kg
    float lightest = 0; // kg
    qint16 longest = 0; // cm
    qint16 shortest = 0; // cm
    float totalWeight = 0; // kg
    qint16 maxAirTemp = 0; // °C
    qint16 minAirTemp = 0;
    qint16 maxWaterTemp = 0;
    qint16 minWaterTemp = 0;
    float maxDepth = 0; // m
    float minDepth = 0; // m
    float averageDepth = 0; // m, over the records with a depth above 0
};

// One pass over the numbers of the readable catches, in file order, as the
// log owner holds them. catchFileSize is the file's length in bytes, or -1
// when it is missing (which is logged); a file shorter than 20 bytes leaves
// stats as they were. Fields that cannot be read as numbers are skipped and
// logged under "Sub SucheFische"; an unreadable depth still counts towards
// the average.
void SucheFische(const Env& env, qint64 catchFileSize, const QList<CatchNumbers>& records,
    CatchStatistics& stats);
