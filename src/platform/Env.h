#pragma once

#include <QString>

class Clock;
class Dialogs;
class Shell;

// The services every procedure may use: the program directory all data
// lives below, the clock, the dialogs and the shell. Passed explicitly so
// that tests run in a temporary program directory with scripted dialogs.
struct Env {
    QString programDir;
    Clock* clock = nullptr;
    Dialogs* dialogs = nullptr;
    Shell* shell = nullptr;
    // Where the help page and the banner installed with the program are
    // read; empty when they stand in the program directory.
    QString resourceDir {};

    QString resourceFolder() const { return resourceDir.isEmpty() ? programDir : resourceDir; }
};

inline const QString kAppTitle = QStringLiteral("Uferwacht Digitales Kescherheft");
