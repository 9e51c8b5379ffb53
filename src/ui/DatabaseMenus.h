#pragma once

class App;

// The main window's entries that empty the logs ("Datenbanken") and open
// the backup window ("Backup").
void ConnectDatabaseMenus(App& app);

// "alle zurücksetzen", "Fänge zurücksetzen", "Kosten zurücksetzen".
void mnuResetDB_Click(App& app);
void mnuResetFänge_Click(App& app);
void mnuResetKosten_Click(App& app);

// Opens a new backup window for export or import; one still open closes.
void OpenBackupWindow(App& app, bool forExport);

// CheckFiles once the logs changed under the running program. The check
// also reads the settings file; the running program keeps its own record,
// which holds the window sizes of this run.
void CheckFilesAgain(App& app);
