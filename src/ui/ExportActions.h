#pragma once

#include <QString>
#include <QStringList>

struct AppState;
class ErrorTrap;
class FilteredListModel;

// The main window's exports: both logs as CSV files for a spreadsheet, and
// the yearly catch report as a page opened in the browser.

// "Datei" > "Exportieren" > "Fänge als CSV...": the catch log's list, or
// the filtered list when `filtered` is given (the overview is in filter
// mode) and the user chooses so.
void ExportCatchesCsv(AppState& app, const FilteredListModel* filtered);
// "Datei" > "Exportieren" > "Kosten als CSV...": the cost log's list, or the
// filtered list when `filtered` is given (the cost window is in filter mode)
// and the user chooses so.
void ExportCostsCsv(AppState& app, const FilteredListModel* filtered);
// "Drucken" > "Jahresbericht...": asks for the year, writes the page into
// the program directory and opens it.
void PrintYearReport(AppState& app);
// Writes a page (UTF-8) into the program directory and opens it in the
// browser, which prints it. `what` names the page in the messages ("Der
// Jahresbericht"). False when it could not be written (logged through trap
// and said); a browser that cannot be started is logged and said.
bool WriteAndOpenPage(AppState& app, ErrorTrap& trap, const QString& fileName,
    const QStringList& lines, const QString& what);
