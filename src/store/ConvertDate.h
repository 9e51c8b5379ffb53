#pragma once

#include "platform/Env.h"

#include <QString>

// "en-de": 2004/05/17 -> 17.05.2004; "de-en": the other way. Positional
// only: the input is not checked. Any other direction: warning message,
// log line and an empty result.
QString ConvertDate(const Env& env, const QString& date, const QString& direction);
