#pragma once

#include "platform/Env.h"

// Converts a catch file of format 100 or 101 step by step to format 102,
// through "db\fänge\db2", and rewrites "db\db.ver" after each step. On
// return version holds the format reached. Other versions change nothing.
void UpdateDB(const Env& env, qint16& version);
