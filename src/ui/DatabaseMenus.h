#pragma once

#include "ui/AppState.h"

class QWidget;
class frmHaupt;

// The main window's entries that empty the logs ("Datenbanken") and open
// the backup window ("Backup"); raiseMain brings the main window back to
// the front when a backup window is done.
void ConnectDatabaseMenus(frmHaupt& main, AppState& app, Action raiseMain);

// "alle zurücksetzen", "Fänge zurücksetzen", "Kosten zurücksetzen".
void mnuResetDB_Click(AppState& app);
void mnuResetFänge_Click(AppState& app);
void mnuResetKosten_Click(AppState& app);

// Opens a new backup window over main for export or import; one still open
// closes.
void OpenBackupWindow(AppState& app, QWidget* main, bool forExport, Action raiseMain = {});
