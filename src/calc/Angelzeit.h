#pragma once

#include "platform/Env.h"

#include <QStringList>

// Total fishing time in minutes over the rows of the catch overview list:
// row 0 is the column header, row 1 the rule line, every further row a photo
// mark, a TAB and one catch record with its date in display form.
//
// A trip is identified by its date text and its start minute; each trip
// counts once, with the end time of its first row in list order. Times are
// "HH:MM"; the minute value is the first two characters times 60 plus the
// last two. A time that cannot be read counts as 00:00 and is logged under
// "Funktion Angelzeit". There is no adjustment across midnight, so a trip
// ending before it starts adds a negative number of minutes.
qint32 Angelzeit(const Env& env, const QStringList& overviewRows);
