#pragma once

#include "platform/Env.h"

// Converts a catch file of format 100 or 101 step by step to format 102,
// through "db\fänge\db2", and rewrites "db\db.ver" after each step. On
// return version holds the format reached. Other versions change nothing.
// Only a weight of digits alone (grams) is converted to kilograms; any
// other weight is kept, so running the steps again changes no weight.
void UpdateDB(const Env& env, qint16& version);
