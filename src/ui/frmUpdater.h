#pragma once

#include "app/UpdateCheck.h"
#include "app/UpdateServer.h"
#include "ui/AppState.h"

#include <QHash>
#include <QList>
#include <QPointer>
#include <QTimer>
#include <QWidget>

class classFileDownload;
class ProgressPicture;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The updater: fetches the publisher's signed version file, offers a newer
// version, fetches the signed installer in its two files with a progress
// bar, starts it and ends the program. Created on first use, afterwards
// only hidden and shown; the main window's menu and dashboard are locked
// while it is shown. The installer files are used only when they are the
// ones the signed version file lists, by size and SHA-256.
class frmUpdater : public QWidget {
public:
    // lockMain locks or frees the main window's menu and dashboard,
    // raiseMain brings it to the front, endProgram ends the program.
    explicit frmUpdater(AppState& app, UpdateServer server = publisherUpdateServer(),
        std::function<void(bool)> lockMain = {}, Action raiseMain = {}, Action endProgram = {});
    ~frmUpdater() override;

    void Form_Load();
    void cmdStart_Click();
    void cmdAbort_Click();
    void FileDownload_Start();
    void FileDownload_Progress(qint64 received, qint64 total);

    // The longest wait for the version file (30 s).
    void setWaitLimit(int milliseconds) { m_wait.setInterval(milliseconds); }

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
    enum class Stage { Idle, Checking, Downloading };
    struct Transfer {
        QPointer<classFileDownload> download;
        bool showsProgress = false;
        bool done = false;
        qint64 received = 0;
        qint64 total = 0;
    };

    void createWidgets();
    void appendLog(const QString& text);
    QString localPath(const QString& name) const;
    // Starts a file of at most maxBytes and its signature; false when
    // either cannot start.
    bool startWithSignature(const QString& url, const QString& local, qint64 maxBytes);
    bool startTransfer(
        const QString& url, const QString& local, qint64 maxBytes, bool showsProgress);
    void transferFinished(classFileDownload* d);
    void transferFailed(const QString& reason);
    void stageComplete();
    void versionFileArrived();
    void installerArrived();
    void startInstallerDownloads();
    // Asks before a running transfer is stopped; true when it was stopped.
    bool confirmCancel();
    void stopTransfers();
    void removeFiles(const QStringList& names);
    void fail(const QString& reason);
    void becomeIdle();
    void resetAddresses();
    void leave();

    AppState& m_app;
    UpdateServer m_server;
    std::function<void(bool)> m_lockMain;
    Action m_raiseMain;
    Action m_endProgram;
    Stage m_stage = Stage::Idle;
    QList<Transfer> m_transfers;
    QTimer m_wait;
    // The installer files' lines of the checked version file, by name.
    QHash<QString, ReleaseFile> m_release;
    // While the cancel question is open a transfer that completes waits for
    // the answer: the user may still say Yes.
    bool m_asking = false;
    bool m_completionWaiting = false;
};
