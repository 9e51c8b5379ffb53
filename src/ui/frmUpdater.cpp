#include "ui/frmUpdater.h"

#include "app/UpdateCheck.h"
#include "app/UpdateRun.h"
#include "platform/Dialogs.h"
#include "platform/ErrorLog.h"
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

const QString kPlaceAbort = u"Sub frmUpdater.cmdAbort_Click"_s;

// cmdAbort's caption is the window's state: a transfer runs, or not.
const QString kAbortCancel = u"&Abbrechen"_s;
const QString kAbortClose = u"&Beenden"_s;

} // namespace

frmUpdater::frmUpdater(AppState& app, UpdateServer server, std::function<void(bool)> lockMain,
    Action raiseMain, Action endProgram)
    : m_app(app)
    , m_run(new UpdateRun(app.env, std::move(server), this))
    , m_lockMain(std::move(lockMain))
    , m_raiseMain(std::move(raiseMain))
    , m_endProgram(std::move(endProgram))
{
    setObjectName(u"frmUpdater"_s);
    createWidgets();
    connectRun();
    setAccessibleIdentifiers(this);
    Form_Load();
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

void frmUpdater::connectRun()
{
    connect(m_run, &UpdateRun::busy, this, [this](bool installer) {
        if (installer)
            picProgress->clear();
        showAddresses();
        cmdAbort->setText(kAbortCancel);
        // A second click would start a second run.
        cmdStart->setEnabled(false);
    });
    connect(m_run, &UpdateRun::idle, this, [this] {
        cmdStart->setEnabled(true);
        cmdAbort->setText(kAbortClose);
        showAddresses();
    });
    connect(m_run, &UpdateRun::logText, this, &frmUpdater::appendLog);
    connect(m_run, &UpdateRun::failed, this, &frmUpdater::appendLog);
    connect(m_run, &UpdateRun::statusText, lblStatus, &QLabel::setText);
    connect(m_run, &UpdateRun::transferStarted, this, &frmUpdater::FileDownload_Start);
    connect(m_run, &UpdateRun::progress, this, &frmUpdater::FileDownload_Progress);
    connect(m_run, &UpdateRun::offered, this, &frmUpdater::askOffer);
    connect(m_run, &UpdateRun::upToDate, this, [this](const QString& message) {
        m_app.env.dialogs->message(message, MsgIcon::Information);
    });
    connect(m_run, &UpdateRun::ready, this, [this] { runAction(m_endProgram); });
    connect(m_run, &UpdateRun::setupNotStarted, this,
        [this](const QString& message) { m_app.env.dialogs->message(message, MsgIcon::Warning); });
}

void frmUpdater::Form_Load()
{
    ErrorTrap trap(m_app.env, u"Sub frmUpdater.Form_Load"_s);
    trap.step([&] { showAddresses(); });
    cmdStart->setEnabled(true);
    lblStatus->hide();
    cmdAbort->setText(kAbortClose);
    setWindowTitle(u"Digitales Kescherheft Updater"_s);
}

void frmUpdater::showAddresses()
{
    txtURL->setText(m_run->address());
    txtLocal->setText(m_run->localFile());
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
    m_run->start();
}

void frmUpdater::FileDownload_Start()
{
    lblStatus->show();
}

void frmUpdater::FileDownload_Progress(qint64 received, qint64 total)
{
    lblStatus->setText(progressText(received, total));
    picProgress->setProgress(received, 0, total);
    cmdAbort->setText(kAbortCancel);
}

void frmUpdater::askOffer(const QString& question)
{
    if (m_app.env.dialogs->message(question, MsgIcon::Question, MsgButtons::YesNo)
        == MsgResult::Yes) {
        m_run->acceptOffer();
    } else {
        m_run->declineOffer();
        leave();
    }
}

void frmUpdater::cmdAbort_Click()
{
    ErrorTrap trap(m_app.env, kPlaceAbort);
    trap.step([&] {
        if (cmdAbort->text() == kAbortCancel)
            confirmCancel();
        else
            leave();
    });
}

bool frmUpdater::confirmCancel()
{
    m_run->holdCompletion();
    const MsgResult answer = m_app.env.dialogs->askYesNo(
        u"Download wirklich abbrechen?"_s, MsgResult::No, u"Download"_s);
    return answer == MsgResult::Yes ? m_run->cancel() : m_run->resume();
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
    if (m_run->isRunning() && !confirmCancel()) {
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
