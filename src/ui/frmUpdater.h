#pragma once

#include "app/UpdateServer.h"
#include "ui/AppState.h"

#include <QWidget>

#include <functional>

class ProgressPicture;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class UpdateRun;

// The updater window: shows an update run (its log, status line and
// progress bar), asks its questions and ends the program once the
// installer has started. Created on first use, afterwards only hidden and
// shown; the main window's menu and dashboard are locked while it is shown.
class frmUpdater : public QWidget {
public:
    // lockMain locks or frees the main window's menu and dashboard,
    // raiseMain brings it to the front, endProgram ends the program.
    explicit frmUpdater(AppState& app, UpdateServer server = publisherUpdateServer(),
        std::function<void(bool)> lockMain = {}, Action raiseMain = {}, Action endProgram = {});

    void Form_Load();
    void cmdStart_Click();
    void cmdAbort_Click();
    void FileDownload_Start();
    void FileDownload_Progress(qint64 received, qint64 total);

    UpdateRun& run() { return *m_run; }

    QPlainTextEdit* txtLog;
    QLabel* lblStatus;
    ProgressPicture* picProgress;
    QPushButton* cmdStart;
    QPushButton* cmdAbort;
    QLineEdit* txtURL; // hidden: address of the current transfer
    QLineEdit* txtLocal; // hidden: local path of the current transfer

protected:
    void closeEvent(QCloseEvent* e) override;
    void hideEvent(QHideEvent* e) override;

private:
    void createWidgets();
    void connectRun();
    void appendLog(const QString& text);
    void showAddresses();
    // Asks before a running transfer is stopped; true when it was stopped.
    bool confirmCancel();
    void askOffer(const QString& question);
    void leave();

    AppState& m_app;
    UpdateRun* m_run;
    std::function<void(bool)> m_lockMain;
    Action m_raiseMain;
    Action m_endProgram;
};
