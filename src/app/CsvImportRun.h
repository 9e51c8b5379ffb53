#pragma once

#include "export/CsvImport.h"
#include "platform/Env.h"

#include <QString>
#include <QStringList>

class ErrorTrap;
class Logbook;

struct CsvImportResult {
    int imported = 0;
    QString problem; // a German warning when nothing was imported
    bool ok() const { return problem.isEmpty(); }
};

// Imports checked lines into a log, all or nothing: the log's capacity is
// checked against the file as it is now, a safety copy of the log is made
// (as before a reset), then every line is appended in one write that
// either completes or leaves the file as it was. Failures are logged
// through trap.
CsvImportResult ImportCsvItems(
    const Env& env, Logbook& log, CsvLog which, const QStringList& items, ErrorTrap& trap);
