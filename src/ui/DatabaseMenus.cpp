#include "ui/DatabaseMenus.h"

#include "app/Reset.h"
#include "platform/Dialogs.h"
#include "store/Logbook.h"
#include "ui/frmBackup.h"
#include "ui/frmHaupt.h"

#include <QAction>

using namespace Qt::StringLiterals;

namespace {

void reset(
    AppState& app, LogSet logs, const QString& question, const QString& done, const QString& place)
{
    Dialogs& dialogs = *app.env.dialogs;
    if (const QString refusal = EditPendingMessage(*app.log, logs); !refusal.isEmpty()) {
        dialogs.message(refusal, MsgIcon::Warning);
        return;
    }
    if (dialogs.message(question, MsgIcon::Question, MsgButtons::YesNo) != MsgResult::Yes)
        return;
    const ResetResult r = ResetLogs(app.env, logs, place);
    if (r.status == ResetResult::NotCopied) {
        dialogs.message(r.problem, MsgIcon::Warning);
        return;
    }
    app.reloadAfterReplace();
    if (r.status == ResetResult::Emptied)
        dialogs.message(done, MsgIcon::Information);
    else
        dialogs.message(r.problem, MsgIcon::Warning);
}

} // namespace

void mnuResetDB_Click(AppState& app)
{
    reset(app, LogSet::Both, u"Wollen Sie die Datenbanken wirklich zurücksetzen?"_s,
        u"Datenbanken geleert!"_s, u"Sub frmHaupt.mnuResetDB_Click"_s);
}

void mnuResetFänge_Click(AppState& app)
{
    reset(app, LogSet::Catches, u"Wollen Sie die Fangdatenbank wirklich zurücksetzen?"_s,
        u"Fangdatenbank geleert!"_s, u"Sub frmHaupt.mnuResetFänge_Click"_s);
}

void mnuResetKosten_Click(AppState& app)
{
    reset(app, LogSet::Costs, u"Wollen Sie die Kostendatenbank wirklich zurücksetzen?"_s,
        u"Kostendatenbank geleert!"_s, u"Sub frmHaupt.mnuResetKosten_Click"_s);
}

void OpenBackupWindow(AppState& app, QWidget* main, bool forExport, Action raiseMain)
{
    if (!main)
        return;
    delete main->findChild<frmBackup*>();
    auto* w = new frmBackup(app, main, std::move(raiseMain));
    if (forExport)
        w->OpenForExport();
    else
        w->OpenForImport();
}

void ConnectDatabaseMenus(frmHaupt& main, AppState& app, Action raiseMain)
{
    frmHaupt* h = &main;
    QObject::connect(h->mnuResetDB, &QAction::triggered, h, [&app] { mnuResetDB_Click(app); });
    QObject::connect(
        h->mnuResetFänge, &QAction::triggered, h, [&app] { mnuResetFänge_Click(app); });
    QObject::connect(
        h->mnuResetKosten, &QAction::triggered, h, [&app] { mnuResetKosten_Click(app); });
    QObject::connect(h->mnuCreateBackup, &QAction::triggered, h,
        [&app, h, raiseMain] { OpenBackupWindow(app, h, true, raiseMain); });
    QObject::connect(h->mnuReadBackup, &QAction::triggered, h,
        [&app, h, raiseMain] { OpenBackupWindow(app, h, false, raiseMain); });
}
