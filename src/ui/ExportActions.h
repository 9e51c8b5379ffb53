#pragma once

class App;

// The main window's exports: both logs as CSV files for a spreadsheet, and
// the yearly catch report as a page opened in the browser.

// "Datei" > "Exportieren" > "Fänge als CSV...": the catch overview's list,
// or its filtered list when the user chooses so in filter mode.
void ExportCatchesCsv(App& app);
// "Datei" > "Exportieren" > "Kosten als CSV...": the cost window's list,
// or its filtered list when the user chooses so in filter mode.
void ExportCostsCsv(App& app);
// "Drucken" > "Jahresbericht...": asks for the year, writes the page into
// the program directory and opens it.
void PrintYearReport(App& app);
