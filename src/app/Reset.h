#pragma once

#include "app/LogSet.h"
#include "platform/Env.h"

#include <QString>

// Emptying the logs. The catch log goes with every file of the photo
// folder (the marker file included, subfolders kept); the cost log alone
// leaves catches and photos as they are.
struct ResetResult {
    enum Status {
        Emptied, // everything listed was deleted
        NotCopied, // no safety copy could be made: nothing was deleted
        Incomplete, // a file could not be deleted
    };
    Status status = Emptied;
    QString problem; // German, for NotCopied and Incomplete
    QString safetyCopy; // host path of the safety copy made
};

// Copies what is about to go into a safety copy, then deletes
// "db\fänge\db", "db\kosten\db" and "db\bilder\*.*" as `logs` asks, in
// that order. A deletion that fails is logged under `place` and the next
// one still runs. The empty files are made again by CheckFiles.
ResetResult ResetLogs(const Env& env, LogSet logs, const QString& place);
