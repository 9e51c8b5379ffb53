#pragma once

#include "app/LogSet.h"
#include "ui/AppState.h"

#include <QDialog>

class ErrorTrap;
class QCheckBox;
class QLabel;
class QPushButton;

// The backup window: exports the ticked logs to a backup folder or imports
// them from one. The caption set on opening decides the direction:
// "Backup erstellen" exports, any other caption imports. Created on
// opening, destroyed on closing.
class frmBackup : public QDialog {
public:
    // raiseMain brings the main window to the front when the window is done.
    frmBackup(AppState& app, QWidget* parent, Action raiseMain = {});

    // mnuCreateBackup and mnuReadBackup: caption, texts, show and activate.
    void OpenForExport();
    void OpenForImport();

    void cmdSave_Click();
    void cmdAbort_Click();

    QLabel* Label1;
    QCheckBox* chkFang;
    QCheckBox* chkKosten;
    QPushButton* cmdSave;
    QPushButton* cmdAbort;

private:
    void open(const QString& caption, const QString& label);
    LogSet ticked() const;
    void exportLogs(LogSet logs, ErrorTrap& trap);
    void importLogs(LogSet logs, ErrorTrap& trap);
    // CheckFiles, the refresh, close and back to the main window.
    void finish();

    AppState& m_app;
    Action m_raiseMain;
};
