#pragma once

#include <QString>

class Logbook;

// Which of the two logs an action works on.
enum class LogSet { None = 0, Catches = 1, Costs = 2, Both = 3 };

constexpr LogSet operator|(LogSet a, LogSet b)
{
    return LogSet(int(a) | int(b));
}

constexpr bool includes(LogSet set, LogSet part)
{
    return (int(set) & int(part)) != 0;
}

// The refusal to show while a catch or a purchase of the logs in `set` is
// out for editing: emptying or replacing its log now would let the later
// save put it into a log it never belonged to. Empty when nothing is out.
QString EditPendingMessage(const Logbook& log, LogSet set);
