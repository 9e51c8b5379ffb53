#pragma once

#include "app/UpdateCheck.h"
#include "app/UpdateServer.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>

struct Env;
class classFileDownload;

// One update run: fetches the publisher's signed version file, offers a
// newer version, fetches the signed installer in its two files, checks
// them against the version file's lines by size and SHA-256 and starts
// the installer. Every file is fetched with its size bound; nothing of a
// failed or cancelled step stays in the program directory. What happens is
// told by signals; the one showing the run answers the offer and the
// question whether to cancel.
class UpdateRun : public QObject {
    Q_OBJECT

public:
    UpdateRun(const Env& env, UpdateServer server, QObject* parent = nullptr);
    ~UpdateRun() override;

    // A step runs: the version check or the installer download.
    bool isRunning() const { return m_stage != Stage::Idle; }
    // The address and local file of the last transfer started; the version
    // file's when idle.
    const QString& address() const { return m_address; }
    const QString& localFile() const { return m_local; }
    // The longest wait for the version file (30 s).
    void setWaitLimit(int milliseconds) { m_wait.setInterval(milliseconds); }

    // Starts the version check; nothing when a step runs.
    void start();
    // The answer to offered(): fetch the installer, or stay idle.
    void acceptOffer();
    void declineOffer();
    // While the user is asked whether to cancel, a step that completes waits
    // for the answer: cancel() stops the run, resume() goes on. Both return
    // true when the run is idle afterwards; a run that failed meanwhile has
    // nothing left to stop.
    void holdCompletion() { m_held = true; }
    bool cancel();
    bool resume();

Q_SIGNALS:
    // A transfer begins: address() and localFile() name it; installer is
    // true for the installer's files.
    void busy(bool installer);
    // The run is idle again.
    void idle();
    // Text for the run's log and for its status line.
    void logText(const QString& text);
    void statusText(const QString& text);
    // Bytes of the current step begin to arrive, and how many have.
    void transferStarted();
    void progress(qint64 received, qint64 total);
    // A newer version: the question to ask; answered by acceptOffer() or
    // declineOffer().
    void offered(const QString& question);
    void upToDate(const QString& message);
    // The step failed; the reason is in the error log.
    void failed(const QString& message);
    // The installer was started: the program should end.
    void ready();
    // The checked installer could not be started.
    void setupNotStarted(const QString& message);

private:
    enum class Stage { Idle, Checking, Downloading };
    struct Transfer {
        QPointer<classFileDownload> download;
        bool showsProgress = false;
        bool done = false;
        qint64 received = 0;
        qint64 total = 0;
    };

    QString localPath(const QString& name) const;
    void resetAddresses();
    bool startWithSignature(const QString& url, const QString& local, qint64 maxBytes);
    bool startTransfer(
        const QString& url, const QString& local, qint64 maxBytes, bool showsProgress);
    void transferProgress(classFileDownload* d, qint64 received, qint64 total);
    void transferFinished(classFileDownload* d);
    void stageComplete();
    void versionFileArrived();
    void installerArrived();
    void stopTransfers();
    void removeStageFiles(Stage stage);
    void removeFiles(const QStringList& names);
    void fail(const QString& reason);
    void becomeIdle();

    const Env& m_env;
    UpdateServer m_server;
    Stage m_stage = Stage::Idle;
    QList<Transfer> m_transfers;
    QTimer m_wait;
    QString m_address;
    QString m_local;
    // The installer files' lines of the checked version file, by name.
    QHash<QString, ReleaseFile> m_release;
    bool m_held = false;
    bool m_completionWaiting = false;
};
