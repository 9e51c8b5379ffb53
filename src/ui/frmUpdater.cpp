#include "ui/frmUpdater.h"

#include "app/SignatureCheck.h"
#include "app/UpdateCheck.h"
#include "app/Version.h"
#include "net/classFileDownload.h"
#include "platform/Dialogs.h"
#include "platform/ErrorLog.h"
#include "platform/FileOps.h"
#include "platform/Paths.h"
#include "ui/AccessibleIds.h"
#include "ui/AppState.h"
#include "ui/ProgressPicture.h"
#include "ui/Twips.h"

#include <QCloseEvent>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>

using namespace Qt::StringLiterals;

namespace {

const QString PlaceStart = u"Sub frmUpdater.cmdStart_Click"_s;
const QString PlaceAbort = u"Sub frmUpdater.cmdAbort_Click"_s;

// cmdAbort's caption is the window's state: a transfer runs, or not.
const QString AbortCancel = u"&Abbrechen"_s;
const QString AbortClose = u"&Beenden"_s;

const QString FailureText = u"Fehler! Bitte überprüfen Sie Ihre Internetverbindung!\r\n"_s;

// Local names in the program directory.
const QString VersionName = u"update.txt"_s;
const QString SetupExeName = u"Setup.exe"_s;
const QString Setup2Name = u"Setup.2"_s;

// The installer's two files: their addresses and their local names.
QList<std::pair<QString, QString>> installerFiles(const UpdateServer& server)
{
    return { { server.setupExe, SetupExeName }, { server.setup2, Setup2Name } };
}

QStringList withSignatures(const QStringList& names)
{
    QStringList out;
    for (const QString& n : names)
        out << n << signatureOf(n);
    return out;
}

} // namespace

frmUpdater::frmUpdater(AppState& app, UpdateServer server, std::function<void(bool)> lockMain,
    Action raiseMain, Action endProgram)
    : m_app(app)
    , m_server(std::move(server))
    , m_lockMain(std::move(lockMain))
    , m_raiseMain(std::move(raiseMain))
    , m_endProgram(std::move(endProgram))
{
    setObjectName(u"frmUpdater"_s);
    m_wait.setSingleShot(true);
    m_wait.setInterval(30000);
    connect(&m_wait, &QTimer::timeout, this, [this] {
        fail(u"keine Antwort vom Server in %1 Sekunden"_s.arg(m_wait.interval() / 1000.0));
    });
    createWidgets();
    setAccessibleIdentifiers(this);
    Form_Load();
}

frmUpdater::~frmUpdater()
{
    stopTransfers();
}

void frmUpdater::createWidgets()
{
    setFixedSize(px(7230), px(4440));
    txtLog = new QPlainTextEdit(this);
    txtLog->setObjectName(u"txtLog"_s);
    txtLog->setReadOnly(true);
    txtLog->setAccessibleName(u"Verlauf"_s);
    txtLog->setGeometry(px(120), px(120), px(6990), px(2295));

    lblStatus = new QLabel(this);
    lblStatus->setObjectName(u"lblStatus"_s);
    lblStatus->setGeometry(px(120), px(2520), px(6990), px(285));

    picProgress = new ProgressPicture(this);
    picProgress->setObjectName(u"picProgress"_s);
    picProgress->setGeometry(px(120), px(2880), px(6990), px(375));

    cmdStart = new QPushButton(u"Überprüfen"_s, this);
    cmdStart->setObjectName(u"cmdStart"_s);
    cmdStart->setGeometry(px(120), px(3600), px(2295), px(495));
    cmdAbort = new QPushButton(u"Abbrechen"_s, this);
    cmdAbort->setObjectName(u"cmdAbort"_s);
    cmdAbort->setGeometry(px(4815), px(3600), px(2295), px(495));

    txtURL = new QLineEdit(this);
    txtURL->setObjectName(u"txtURL"_s);
    txtURL->hide();
    txtLocal = new QLineEdit(this);
    txtLocal->setObjectName(u"txtLocal"_s);
    txtLocal->hide();

    connect(cmdStart, &QPushButton::clicked, this, [this] { cmdStart_Click(); });
    connect(cmdAbort, &QPushButton::clicked, this, [this] { cmdAbort_Click(); });
}

void frmUpdater::Form_Load()
{
    ErrorTrap trap(m_app.env, u"Sub frmUpdater.Form_Load"_s);
    trap.step([&] { resetAddresses(); });
    cmdStart->setEnabled(true);
    lblStatus->hide();
    cmdAbort->setText(AbortClose);
    setWindowTitle(u"Digitales Kescherheft Updater"_s);
}

QString frmUpdater::localPath(const QString& name) const
{
    return hostPath(m_app.env.programDir, name);
}

void frmUpdater::resetAddresses()
{
    txtURL->setText(m_server.versionFile);
    txtLocal->setText(localPath(VersionName));
}

void frmUpdater::appendLog(const QString& text)
{
    QString shown = text;
    shown.replace(u"\r\n"_s, u"\n"_s);
    txtLog->moveCursor(QTextCursor::End);
    txtLog->insertPlainText(shown);
    txtLog->ensureCursorVisible();
}

void frmUpdater::cmdStart_Click()
{
    ErrorTrap trap(m_app.env, PlaceStart);
    if (m_stage != Stage::Idle)
        return;
    const bool started = trap.step([&] {
        cmdAbort->setText(AbortCancel);
        // A second click would start a second check.
        cmdStart->setEnabled(false);
        resetAddresses();
        // A version file left from an earlier run must not be read.
        removeFiles(withSignatures({ VersionName }));
        appendLog(u"Verbindungsaufbau zum Server..."_s);
        m_stage = Stage::Checking;
        if (!startWithSignature(txtURL->text(), txtLocal->text(), SmallFileBytes)) {
            fail(u"Download nicht gestartet: "_s + txtURL->text());
            return;
        }
        m_wait.start();
    });
    if (!started) {
        stopTransfers();
        becomeIdle();
    }
}

bool frmUpdater::startWithSignature(const QString& url, const QString& local, qint64 maxBytes)
{
    return startTransfer(url, local, maxBytes, true)
        && startTransfer(signatureOf(url), signatureOf(local), SmallFileBytes, false);
}

bool frmUpdater::startTransfer(
    const QString& url, const QString& local, qint64 maxBytes, bool showsProgress)
{
    auto* d = new classFileDownload(this);
    if (showsProgress) {
        connect(d, &classFileDownload::Start, this, [this] { FileDownload_Start(); });
        connect(d, &classFileDownload::Progress, this, [this, d](qint32 received, qint32 total) {
            // One bar for all files of a step, so that it does not jump
            // between two files downloading side by side.
            qint64 allReceived = 0, allTotal = 0;
            for (Transfer& t : m_transfers) {
                if (t.download == d) {
                    t.received = received;
                    t.total = total;
                }
                if (t.showsProgress) {
                    allReceived += t.received;
                    allTotal += t.total;
                }
            }
            FileDownload_Progress(allReceived, allTotal);
        });
    }
    connect(d, &classFileDownload::Finished, this, [this, d] { transferFinished(d); });
    connect(d, &classFileDownload::Failed, this, [this](const QString& r) { transferFailed(r); });
    if (!d->Download(url, local, maxBytes)) {
        d->Release();
        return false;
    }
    m_transfers.append({ d, showsProgress });
    return true;
}

void frmUpdater::FileDownload_Start()
{
    lblStatus->show();
}

void frmUpdater::FileDownload_Progress(qint64 received, qint64 total)
{
    lblStatus->setText(progressText(received, total));
    picProgress->setProgress(received, 0, total);
    cmdAbort->setText(AbortCancel);
}

void frmUpdater::transferFinished(classFileDownload* d)
{
    bool allDone = true;
    for (Transfer& t : m_transfers) {
        if (t.download == d)
            t.done = true;
        allDone = allDone && t.done;
    }
    d->Release();
    if (!allDone)
        return;
    if (m_asking) {
        m_completionWaiting = true;
        return;
    }
    stageComplete();
}

void frmUpdater::transferFailed(const QString& reason)
{
    fail(u"Download fehlgeschlagen: "_s + reason);
}

void frmUpdater::stageComplete()
{
    m_completionWaiting = false;
    m_transfers.clear();
    m_wait.stop();
    lblStatus->setText(u"Download beendet."_s);
    if (m_stage == Stage::Checking)
        versionFileArrived();
    else if (m_stage == Stage::Downloading)
        installerArrived();
}

void frmUpdater::versionFileArrived()
{
    ErrorTrap trap(m_app.env, PlaceStart);
    lblStatus->setText(u"Überprüfung läuft..."_s);
    const QString file = localPath(VersionName);
    QByteArray bytes;
    const SignatureStatus status = verifyFileSignature(
        file, signatureOf(file), m_server.publicKey, publishedName(m_server.versionFile), &bytes);
    removeFiles(withSignatures({ VersionName }));
    if (status == SignatureStatus::Unreadable) {
        trap.log(Err::FileNotFound);
        fail(u"Versionsdatei nicht lesbar"_s);
        return;
    }
    if (status != SignatureStatus::Valid) {
        fail(m_server.versionFile + u": "_s + signatureStatusText(status));
        return;
    }
    const VersionCheck check
        = checkVersionFile(bytes, Version::Major, Version::Minor, Version::Tweak);
    if (check.verdict == VersionVerdict::Unreadable) {
        fail(m_server.versionFile + u": keine Versionsnummer"_s);
        return;
    }
    // A newer version is offered only together with its installer files.
    m_release.clear();
    if (check.verdict == VersionVerdict::Newer) {
        for (const QString& url : { m_server.setupExe, m_server.setup2 }) {
            const QString name = publishedName(url);
            const std::optional<ReleaseFile> line = releaseFile(bytes, name);
            if (!line) {
                fail(m_server.versionFile + u": keine gültige Angabe zu "_s + name);
                return;
            }
            m_release.insert(name, *line);
        }
    }
    appendLog(u"Erfolgreich!\r\n"_s);
    appendLog(u"Überprüfe Versionen...Fertig!\r\n"_s);
    // Nothing runs while the answer is awaited.
    m_stage = Stage::Idle;
    if (check.verdict == VersionVerdict::Newer) {
        const QString question = newerVersionQuestion(
            installedVersionShown(Version::Major, Version::Minor, Version::Tweak), check.offered);
        if (m_app.env.dialogs->message(question, MsgIcon::Question, MsgButtons::YesNo)
            == MsgResult::Yes) {
            startInstallerDownloads();
        } else {
            becomeIdle();
            leave();
        }
    } else {
        appendLog(u"Keine neuere Version verfügbar."_s);
        m_app.env.dialogs->message(
            u"Es ist keine neuere Version verfügbar."_s, MsgIcon::Information);
        becomeIdle();
    }
    lblStatus->setText(QString());
}

void frmUpdater::startInstallerDownloads()
{
    // An installer left from an earlier run, whole or not, must never be
    // the one that is started.
    removeFiles(withSignatures({ SetupExeName, Setup2Name }));
    m_stage = Stage::Downloading;
    picProgress->clear();
    for (const auto& [url, name] : installerFiles(m_server)) {
        txtURL->setText(url);
        txtLocal->setText(localPath(name));
        cmdAbort->setText(AbortCancel);
        // A file larger than its line says is refused while it arrives.
        if (!startWithSignature(url, txtLocal->text(), m_release.value(publishedName(url)).size)) {
            fail(u"Download nicht gestartet: "_s + url);
            return;
        }
        appendLog(u"Lade Setupfile..."_s);
        cmdStart->setEnabled(false);
    }
}

void frmUpdater::installerArrived()
{
    for (const auto& [url, name] : installerFiles(m_server)) {
        const QString file = localPath(name);
        const QString published = publishedName(url);
        const SignatureStatus status
            = verifyFileSignature(file, signatureOf(file), m_server.publicKey, published);
        if (status == SignatureStatus::Unreadable)
            ErrorTrap(m_app.env, PlaceStart).log(Err::FileNotFound);
        if (status != SignatureStatus::Valid) {
            fail(name + u": "_s + signatureStatusText(status));
            return;
        }
        // Signed, but perhaps for another release: an older installer
        // beside a newer version file is refused here.
        if (!matchesRelease(file, m_release.value(published))) {
            fail(name + u": Größe oder Prüfsumme weicht von der Versionsdatei ab"_s);
            return;
        }
    }
    removeFiles({ signatureOf(SetupExeName), signatureOf(Setup2Name) });
    becomeIdle();

    const QString setup = localPath(SetupExeName);
    appendLog(u"Fertig!\r\n"_s);
    if (m_app.env.shell->startProgram(setup)) {
        runAction(m_endProgram);
        return;
    }
    WriteLog(m_app.env, PlaceStart, u"Setup nicht gestartet: "_s + setup);
    m_app.env.dialogs->message(u"Das Setup konnte nicht gestartet werden!\r\n"
                               "Die heruntergeladene Datei liegt unter:\r\n"_s
            + setup,
        MsgIcon::Warning);
}

void frmUpdater::fail(const QString& reason)
{
    WriteLog(m_app.env, PlaceStart, reason);
    const Stage stage = m_stage;
    stopTransfers();
    // Nothing of a failed step stays behind to be used later.
    if (stage == Stage::Checking)
        removeFiles(withSignatures({ VersionName }));
    else if (stage == Stage::Downloading)
        removeFiles(withSignatures({ SetupExeName, Setup2Name }));
    appendLog(FailureText);
    becomeIdle();
}

void frmUpdater::cmdAbort_Click()
{
    ErrorTrap trap(m_app.env, PlaceAbort);
    trap.step([&] {
        if (cmdAbort->text() == AbortCancel)
            confirmCancel();
        else
            leave();
    });
}

bool frmUpdater::confirmCancel()
{
    m_asking = true;
    const MsgResult answer = m_app.env.dialogs->askYesNo(
        u"Download wirklich abbrechen?"_s, MsgResult::No, u"Download"_s);
    m_asking = false;
    if (m_stage == Stage::Idle)
        return true; // it failed meanwhile: nothing left to stop
    if (answer != MsgResult::Yes) {
        if (m_completionWaiting)
            stageComplete();
        return false;
    }
    const Stage stage = m_stage;
    stopTransfers();
    if (stage == Stage::Checking)
        removeFiles(withSignatures({ VersionName }));
    else
        removeFiles(withSignatures({ SetupExeName, Setup2Name }));
    appendLog(u"Abgebrochen."_s);
    lblStatus->setText(u"Download abgebrochen."_s);
    becomeIdle();
    return true;
}

void frmUpdater::stopTransfers()
{
    for (Transfer& t : m_transfers)
        if (t.download)
            t.download->Release();
    m_transfers.clear();
    m_completionWaiting = false;
    m_wait.stop();
}

void frmUpdater::removeFiles(const QStringList& names)
{
    for (const QString& name : names) {
        const QString path = localPath(name);
        if (!FileOps::removeIfPresent(path))
            WriteLog(m_app.env, PlaceStart, u"Datei nicht löschbar: "_s + path);
    }
}

void frmUpdater::becomeIdle()
{
    m_stage = Stage::Idle;
    m_wait.stop();
    cmdStart->setEnabled(true);
    cmdAbort->setText(AbortClose);
    resetAddresses();
}

void frmUpdater::leave()
{
    hide();
    if (m_lockMain)
        m_lockMain(false);
    runAction(m_raiseMain);
}

void frmUpdater::closeEvent(QCloseEvent* e)
{
    // The close box stops a running transfer only when the user agrees.
    if (m_stage != Stage::Idle && !confirmCancel()) {
        e->ignore();
        return;
    }
    e->accept();
}

void frmUpdater::hideEvent(QHideEvent* e)
{
    QWidget::hideEvent(e);
    // Hidden by any means but minimising: the main window is usable again.
    if (!e->spontaneous() && m_lockMain)
        m_lockMain(false);
}
