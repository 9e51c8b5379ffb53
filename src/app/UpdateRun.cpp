#include "app/UpdateRun.h"

#include "app/SignatureCheck.h"
#include "app/Version.h"
#include "net/classFileDownload.h"
#include "platform/Dialogs.h"
#include "platform/Env.h"
#include "platform/ErrorLog.h"
#include "platform/FileOps.h"
#include "platform/Paths.h"

#include <optional>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

// The log names the updater window's handler the run was started from.
const QString kPlaceStart = u"Sub frmUpdater.cmdStart_Click"_s;

const QString kFailureText = u"Fehler! Bitte überprüfen Sie Ihre Internetverbindung!\r\n"_s;

// Local names in the program directory.
const QString kVersionName = u"update.txt"_s;
const QString kSetupExeName = u"Setup.exe"_s;
const QString kSetup2Name = u"Setup.2"_s;

// The installer's two files: their addresses and their local names.
QList<std::pair<QString, QString>> installerFiles(const UpdateServer& server)
{
    return { { server.setupExe, kSetupExeName }, { server.setup2, kSetup2Name } };
}

QStringList withSignatures(const QStringList& names)
{
    QStringList out;
    for (const QString& n : names)
        out << n << signatureOf(n);
    return out;
}

} // namespace

UpdateRun::UpdateRun(const Env& env, UpdateServer server, QObject* parent)
    : QObject(parent)
    , m_env(env)
    , m_server(std::move(server))
{
    m_wait.setSingleShot(true);
    m_wait.setInterval(30000);
    connect(&m_wait, &QTimer::timeout, this, [this] {
        fail(u"keine Antwort vom Server in %1 Sekunden"_s.arg(m_wait.interval() / 1000.0));
    });
    resetAddresses();
}

UpdateRun::~UpdateRun()
{
    stopTransfers();
}

QString UpdateRun::localPath(const QString& name) const
{
    return hostPath(m_env.programDir, name);
}

void UpdateRun::resetAddresses()
{
    m_address = m_server.versionFile;
    m_local = localPath(kVersionName);
}

void UpdateRun::start()
{
    ErrorTrap trap(m_env, kPlaceStart);
    if (isRunning())
        return;
    const bool started = trap.step([&] {
        m_release.clear();
        resetAddresses();
        emit busy(false);
        // A version file left from an earlier run must not be read.
        removeFiles(withSignatures({ kVersionName }));
        emit logText(u"Verbindungsaufbau zum Server..."_s);
        m_stage = Stage::Checking;
        if (!startWithSignature(m_address, m_local, SmallFileBytes)) {
            fail(u"Download nicht gestartet: "_s + m_address);
            return;
        }
        m_wait.start();
    });
    if (!started) {
        stopTransfers();
        becomeIdle();
    }
}

bool UpdateRun::startWithSignature(const QString& url, const QString& local, qint64 maxBytes)
{
    return startTransfer(url, local, maxBytes, true)
        && startTransfer(signatureOf(url), signatureOf(local), SmallFileBytes, false);
}

bool UpdateRun::startTransfer(
    const QString& url, const QString& local, qint64 maxBytes, bool showsProgress)
{
    auto* d = new classFileDownload(this);
    if (showsProgress) {
        connect(d, &classFileDownload::Start, this, &UpdateRun::transferStarted);
        connect(d, &classFileDownload::Progress, this,
            [this, d](qint32 received, qint32 total) { transferProgress(d, received, total); });
    }
    connect(d, &classFileDownload::Finished, this, [this, d] { transferFinished(d); });
    connect(d, &classFileDownload::Failed, this,
        [this](const QString& r) { fail(u"Download fehlgeschlagen: "_s + r); });
    if (!d->Download(url, local, maxBytes)) {
        d->Release();
        return false;
    }
    m_transfers.append({ d, showsProgress });
    return true;
}

void UpdateRun::transferProgress(classFileDownload* d, qint64 received, qint64 total)
{
    // One count for all files of a step, so that a bar showing it does not
    // jump between two files downloading side by side.
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
    emit progress(allReceived, allTotal);
}

void UpdateRun::transferFinished(classFileDownload* d)
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
    if (m_held) {
        m_completionWaiting = true;
        return;
    }
    stageComplete();
}

void UpdateRun::stageComplete()
{
    m_completionWaiting = false;
    m_transfers.clear();
    m_wait.stop();
    emit statusText(u"Download beendet."_s);
    if (m_stage == Stage::Checking)
        versionFileArrived();
    else if (m_stage == Stage::Downloading)
        installerArrived();
}

void UpdateRun::versionFileArrived()
{
    emit statusText(u"Überprüfung läuft..."_s);
    const QString file = localPath(kVersionName);
    QByteArray bytes;
    const SignatureStatus status = verifyFileSignature(
        file, signatureOf(file), m_server.publicKey, publishedName(m_server.versionFile), &bytes);
    removeFiles(withSignatures({ kVersionName }));
    if (status == SignatureStatus::Unreadable) {
        ErrorTrap(m_env, kPlaceStart).log(Err::FileNotFound);
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
    emit logText(u"Erfolgreich!\r\n"_s);
    emit logText(u"Überprüfe Versionen...Fertig!\r\n"_s);
    // Nothing runs while the answer is awaited.
    m_stage = Stage::Idle;
    if (check.verdict == VersionVerdict::Newer) {
        emit offered(newerVersionQuestion(
            installedVersionShown(Version::Major, Version::Minor, Version::Tweak), check.offered));
    } else {
        emit logText(u"Keine neuere Version verfügbar."_s);
        emit upToDate(u"Es ist keine neuere Version verfügbar."_s);
        becomeIdle();
    }
    emit statusText(QString());
}

void UpdateRun::declineOffer()
{
    m_release.clear();
    becomeIdle();
}

void UpdateRun::acceptOffer()
{
    if (isRunning() || m_release.isEmpty())
        return;
    // An installer left from an earlier run, whole or not, must never be
    // the one that is started.
    removeFiles(withSignatures({ kSetupExeName, kSetup2Name }));
    m_stage = Stage::Downloading;
    for (const auto& [url, name] : installerFiles(m_server)) {
        m_address = url;
        m_local = localPath(name);
        emit busy(true);
        // A file larger than its line says is refused while it arrives.
        if (!startWithSignature(url, m_local, m_release.value(publishedName(url)).size)) {
            fail(u"Download nicht gestartet: "_s + url);
            return;
        }
        emit logText(u"Lade Setupfile..."_s);
    }
}

void UpdateRun::installerArrived()
{
    for (const auto& [url, name] : installerFiles(m_server)) {
        const QString file = localPath(name);
        const QString published = publishedName(url);
        const SignatureStatus status
            = verifyFileSignature(file, signatureOf(file), m_server.publicKey, published);
        if (status == SignatureStatus::Unreadable)
            ErrorTrap(m_env, kPlaceStart).log(Err::FileNotFound);
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
    m_release.clear();
    removeFiles({ signatureOf(kSetupExeName), signatureOf(kSetup2Name) });
    becomeIdle();

    const QString setup = localPath(kSetupExeName);
    emit logText(u"Fertig!\r\n"_s);
    if (m_env.shell->startProgram(setup)) {
        emit ready();
        return;
    }
    WriteLog(m_env, kPlaceStart, u"Setup nicht gestartet: "_s + setup);
    emit setupNotStarted(u"Das Setup konnte nicht gestartet werden!\r\n"
                         "Die heruntergeladene Datei liegt unter:\r\n"_s
        + setup);
}

void UpdateRun::fail(const QString& reason)
{
    WriteLog(m_env, kPlaceStart, reason);
    const Stage stage = m_stage;
    stopTransfers();
    // Nothing of a failed step stays behind to be used later.
    removeStageFiles(stage);
    m_release.clear();
    emit failed(kFailureText);
    becomeIdle();
}

bool UpdateRun::cancel()
{
    m_held = false;
    if (!isRunning())
        return true;
    const Stage stage = m_stage;
    stopTransfers();
    removeStageFiles(stage);
    m_release.clear();
    emit logText(u"Abgebrochen."_s);
    emit statusText(u"Download abgebrochen."_s);
    becomeIdle();
    return true;
}

bool UpdateRun::resume()
{
    m_held = false;
    if (!isRunning())
        return true;
    if (m_completionWaiting)
        stageComplete();
    return false;
}

void UpdateRun::stopTransfers()
{
    for (Transfer& t : m_transfers)
        if (t.download)
            t.download->Release();
    m_transfers.clear();
    m_completionWaiting = false;
    m_wait.stop();
}

void UpdateRun::removeStageFiles(Stage stage)
{
    if (stage == Stage::Checking)
        removeFiles(withSignatures({ kVersionName }));
    else if (stage == Stage::Downloading)
        removeFiles(withSignatures({ kSetupExeName, kSetup2Name }));
}

void UpdateRun::removeFiles(const QStringList& names)
{
    for (const QString& name : names) {
        const QString path = localPath(name);
        if (!FileOps::removeIfPresent(path))
            WriteLog(m_env, kPlaceStart, u"Datei nicht löschbar: "_s + path);
    }
}

void UpdateRun::becomeIdle()
{
    m_stage = Stage::Idle;
    m_wait.stop();
    resetAddresses();
    emit idle();
}
