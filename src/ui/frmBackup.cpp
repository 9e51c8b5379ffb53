#include "ui/frmBackup.h"

#include "app/Backup.h"
#include "app/Reset.h"
#include "platform/Dialogs.h"
#include "platform/ErrorLog.h"
#include "store/Logbook.h"
#include "ui/AccessibleIds.h"
#include "ui/BackupProgress.h"
#include "ui/Twips.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

const QString kExportCaption = u"Backup erstellen"_s;

} // namespace

frmBackup::frmBackup(AppState& app, QWidget* parent, Action raiseMain)
    : QDialog(parent, Qt::Window)
    , m_app(app)
    , m_raiseMain(std::move(raiseMain))
{
    setObjectName(u"frmBackup"_s);
    setWindowTitle(u"Backup erstellen / einlesen"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(px(5400), px(2520));

    Label1 = new QLabel(this);
    Label1->setObjectName(u"Label1"_s);
    Label1->setWordWrap(true);
    Label1->setGeometry(px(240), px(120), px(4920), px(615));
    chkFang = new QCheckBox(u"Fangdatenbank"_s, this);
    chkFang->setObjectName(u"chkFang"_s);
    chkFang->setGeometry(px(240), px(840), px(4920), px(315));
    chkKosten = new QCheckBox(u"Angelkostendatenbank"_s, this);
    chkKosten->setObjectName(u"chkKosten"_s);
    chkKosten->setGeometry(px(240), px(1260), px(4920), px(315));
    // Both logs are ticked when the window opens: the usual backup is whole.
    chkFang->setChecked(true);
    chkKosten->setChecked(true);

    cmdSave = new QPushButton(u"&Exportieren"_s, this);
    cmdSave->setObjectName(u"cmdSave"_s);
    cmdSave->setGeometry(px(240), px(1800), px(2400), px(435));
    cmdSave->setDefault(true);
    cmdAbort = new QPushButton(u"Abbrechen"_s, this);
    cmdAbort->setObjectName(u"cmdAbort"_s);
    cmdAbort->setGeometry(px(2760), px(1800), px(2400), px(435));
    cmdAbort->setAutoDefault(false);

    connect(cmdSave, &QPushButton::clicked, this, [this] { cmdSave_Click(); });
    connect(cmdAbort, &QPushButton::clicked, this, [this] { cmdAbort_Click(); });
    setAccessibleIdentifiers(this);
}

void frmBackup::OpenForExport()
{
    open(kExportCaption, u"Bitte wählen Sie die Datenbank(en) aus, die Sie sichern wollen"_s);
}

void frmBackup::OpenForImport()
{
    open(u"Backup einlesen"_s,
        u"Bitte wählen Sie die Datenbank(en) aus, die Sie importieren wollen"_s);
}

void frmBackup::open(const QString& caption, const QString& label)
{
    setWindowTitle(caption);
    cmdSave->setText(u"Fortsetzen"_s);
    Label1->setText(label);
    show();
    raise();
    activateWindow();
}

LogSet frmBackup::ticked() const
{
    return (chkFang->isChecked() ? LogSet::Catches : LogSet::None)
        | (chkKosten->isChecked() ? LogSet::Costs : LogSet::None);
}

void frmBackup::cmdAbort_Click()
{
    // As Esc does: the window closes and, closed, is destroyed.
    reject();
}

void frmBackup::cmdSave_Click()
{
    Dialogs& dialogs = *m_app.env.dialogs;
    ErrorTrap trap(m_app.env, u"Sub frmBackup.cmdSave_Click"_s);
    const LogSet logs = ticked();
    if (logs == LogSet::None) {
        dialogs.message(u"Bitte wählen Sie mindestens eine Datenbank aus!"_s, MsgIcon::Information);
        return;
    }
    // A catch or a purchase out for editing is in neither file: the backup
    // would miss it, and a reset or an import would take its log away.
    if (const QString refusal = EditPendingMessage(*m_app.log, logs); !refusal.isEmpty()) {
        dialogs.message(refusal, MsgIcon::Warning);
        return;
    }
    if (windowTitle() == kExportCaption)
        exportLogs(logs, trap);
    else
        importLogs(logs, trap);
}

void frmBackup::exportLogs(LogSet logs, ErrorTrap& trap)
{
    Dialogs& dialogs = *m_app.env.dialogs;
    const QString folder = dialogs.chooseFolder(u"Datenbank exportieren"_s, u"C:\\"_s);
    if (folder.isEmpty())
        return;
    if (EndsWithImport(folder)) {
        dialogs.message(u"Haben Sie sich verklickt? Dies ist der Assistent zum EXPORTIEREN der "
                        u"Datenbanken. Zum Einlesen der Datenbanken öffnen Sie bitte den "
                        u"Importassistenten."_s,
            MsgIcon::Information);
        return;
    }
    ExportResult exported;
    {
        BackupProgress progress(this, u"Die Sicherung wird geschrieben und geprüft …"_s);
        exported = ExportBackup(m_app.env, folder, logs, trap, {}, progress.counter());
    }
    if (exported.cancelled) {
        dialogs.message(
            u"Der Export wurde abgebrochen. Es wurde nichts verändert."_s, MsgIcon::Information);
        return;
    }
    if (!exported.ok()) {
        dialogs.message(exported.problem, MsgIcon::Warning);
        return;
    }
    if (dialogs.message(u"Daten erfolgreich exportiert nach '"_s + folder
                + u"'!\r\nAlte Datenbank(en) jetzt zurücksetzen?"_s,
            MsgIcon::Question, MsgButtons::YesNo)
        == MsgResult::Yes) {
        const ResetResult reset = ResetLogs(m_app.env, logs, trap.place());
        if (reset.status == ResetResult::Emptied)
            dialogs.message(u"Datenbank(en) erfolgreich zurückgesetzt!"_s, MsgIcon::Information);
        else
            dialogs.message(reset.problem, MsgIcon::Warning);
    }
    finish();
}

void frmBackup::importLogs(LogSet logs, ErrorTrap& trap)
{
    Dialogs& dialogs = *m_app.env.dialogs;
    const QString file = dialogs.openFile(u"Datenbank importieren"_s, u"C:\\"_s,
        u"Digitales Kescherheft Importdateien (import)|import"_s);
    if (file.isEmpty())
        return;
    const std::optional<Marker> marker = ReadMarkerFile(file, trap);
    if (!marker) {
        dialogs.message(u"Die Datei '%1' ist keine lesbare Importdatei einer Sicherung.\r\n"
                        u"Es wurde nichts eingelesen."_s.arg(file),
            MsgIcon::Warning);
        return;
    }
    if (dialogs.message(u"Die Datenbank(en) wurde(n) am "_s + marker->date.toString(u"dd.MM.yyyy"_s)
                + u" um "_s + marker->time.toString(u"HH:mm"_s)
                + u" exportiert.\r\nWollen Sie die Datenbank(en) jetzt importieren und die "
                  u"alte(n) überschreiben?"_s,
            MsgIcon::Question, MsgButtons::YesNo)
        != MsgResult::Yes) {
        finish();
        return;
    }

    ImportResult r;
    {
        BackupProgress progress(this, u"Die Sicherung wird geprüft und eingelesen …"_s);
        r = ImportBackup(
            m_app.env, QFileInfo(file).absolutePath(), *marker, logs, trap, progress.counter());
    }
    if (r.status == ImportResult::Cancelled) {
        dialogs.message(u"Das Einlesen wurde abgebrochen. Ihre Datenbanken bleiben unverändert."_s,
            MsgIcon::Information);
        return;
    }
    if (r.status == ImportResult::Refused) {
        dialogs.message(r.problem, MsgIcon::Warning);
        return;
    }
    if (r.costsMissing)
        dialogs.message(
            u"In dieser Sicherung wurde die Angelkostendatenbank nicht mit exportiert!"_s,
            MsgIcon::Warning);
    if (r.catchesMissing) {
        dialogs.message(u"In dieser Sicherung wurde die Fangdatenbank nicht mit exportiert!"_s,
            MsgIcon::Warning);
        // The window stays open; a cost log imported before is shown at once.
        if (r.changed)
            m_app.log->reread(u"Sub Änderung"_s);
        return;
    }
    if (r.status == ImportResult::Incomplete)
        dialogs.message(r.problem, MsgIcon::Warning);
    else if (r.leftOut > 0)
        dialogs.message(u"Datenbank(en) erfolgreich importiert!\r\n%1 Datei(en) im Ordner der "
                        u"Sicherung, die ihre Importdatei nicht nennt, wurde(n) nicht "
                        u"übernommen."_s.arg(r.leftOut),
            MsgIcon::Information);
    else
        dialogs.message(u"Datenbank(en) erfolgreich importiert!"_s, MsgIcon::Information);
    finish();
}

void frmBackup::finish()
{
    m_app.reloadAfterReplace();
    close();
    runAction(m_raiseMain);
}
