#include "ui/ExportActions.h"

#include "app/Links.h"
#include "app/Version.h"
#include "export/CsvExport.h"
#include "export/Utf8Page.h"
#include "export/YearReport.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/ErrorLog.h"
#include "platform/FileOps.h"
#include "platform/Paths.h"
#include "store/Logbook.h"
#include "store/Numbers.h"
#include "ui/AppState.h"
#include "ui/FilteredListModel.h"
#include "ui/LogListModel.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace {

const QString kCsvFilter = u"CSV-Dateien (Semikolon getrennt)|*.csv"_s;
const QString kYearReportFile = u"jahresbericht.html"_s;

// What one of the two exports needs to know of its log.
struct CsvKind {
    QString place; // the handler's place text in the error log
    QString filePrefix; // of the suggested file name
    QString saveTitle;
    QString filterQuestion;
    QString nothingToExport;
    QString one; // "1 Fang wurde exportiert:"
    QString many; // "%1 Fänge wurden exportiert:"
    QString fileName; // the log's name in the note on unreadable lines
};

// The suggested file: the user's documents folder (or home folder), the
// prefix and today's date.
QString suggestedPath(const AppState& app, const QString& prefix)
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QDir::homePath();
    return QDir(folder).filePath(
        prefix + app.env.clock->now().date().toString(u"yyyy-MM-dd"_s) + u".csv"_s);
}

// The note on lines of the log that could not be read; `written` when a
// file was written without them.
QString unreadableNote(int lines, const QString& fileName, bool written)
{
    if (lines <= 0)
        return {};
    const QString missing = written
        ? (lines == 1 ? u" und fehlt in der Datei"_s : u" und fehlen in der Datei"_s)
        : QString();
    if (lines == 1)
        return u"\r\n\r\n1 Zeile der %1 konnte nicht gelesen werden%2."_s.arg(fileName, missing);
    return u"\r\n\r\n%1 Zeilen der %2 konnten nicht gelesen werden%3."_s.arg(
        QString::number(lines), fileName, missing);
}

// Asks whether to export only the filtered lines. False when the user
// cancelled; `filtered` tells the choice.
bool askFiltered(AppState& app, const CsvKind& kind, bool& filtered)
{
    const MsgResult r
        = app.env.dialogs->message(kind.filterQuestion, MsgIcon::Question, MsgButtons::YesNoCancel);
    filtered = r == MsgResult::Yes;
    return r == MsgResult::Yes || r == MsgResult::No;
}

// Asks for the file, writes it and says what was written.
void exportCsv(AppState& app, const CsvKind& kind, const QStringList& lines, int listed,
    int unlisted, CsvFile (*make)(const QStringList&))
{
    Env& env = app.env;
    if (listed == 0) {
        env.dialogs->message(kind.nothingToExport + unreadableNote(unlisted, kind.fileName, false),
            MsgIcon::Information);
        return;
    }
    QString path
        = env.dialogs->saveFile(kind.saveTitle, suggestedPath(app, kind.filePrefix), kCsvFilter);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += u".csv"_s;

    const CsvFile csv = make(lines);
    if (const int error = writeAtomically(path, csv.bytes)) {
        ErrorTrap(env, kind.place).log(error);
        env.dialogs->message(
            u"Die Datei konnte nicht geschrieben werden:\r\n"_s + QDir::toNativeSeparators(path),
            MsgIcon::Warning);
        return;
    }
    const QString done = csv.rows == 1 ? kind.one : kind.many.arg(csv.rows);
    env.dialogs->message(done + u"\r\n"_s + QDir::toNativeSeparators(path)
            + unreadableNote(csv.unreadable + unlisted, kind.fileName, true),
        MsgIcon::Information);
}

// A year typed with four digits, or 0.
int typedYear(const QString& text)
{
    const QString t = text.trimmed();
    if (t.size() != 4 || t[0] == u'0')
        return 0;
    for (QChar c : t) {
        if (c < u'0' || c > u'9')
            return 0;
    }
    return t.toInt();
}

// In filter mode the user chooses between the filtered and all lines;
// false when the question was cancelled.
bool chooseLines(
    AppState& app, const CsvKind& kind, const FilteredListModel* filteredList, QStringList& lines)
{
    if (!filteredList)
        return true;
    bool filtered = false;
    if (!askFiltered(app, kind, filtered))
        return false;
    if (filtered)
        lines = filteredList->lines();
    return true;
}

} // namespace

void ExportCatchesCsv(AppState& app, const FilteredListModel* filtered)
{
    const CsvKind kind { u"Sub frmHaupt.mnuExportFänge_Click"_s, u"Faenge_"_s,
        u"Fänge als CSV exportieren"_s,
        u"Die Fangübersicht ist gefiltert.\r\nSollen nur die gefilterten Fänge exportiert "
        "werden?\r\n\r\nMit \"Nein\" werden alle Fänge exportiert."_s,
        u"Es sind keine Fänge zum Exportieren vorhanden."_s, u"1 Fang wurde exportiert:"_s,
        u"%1 Fänge wurden exportiert:"_s, u"Fangdatei"_s };
    QStringList lines = CatchOverviewLines(*app.log);
    if (!chooseLines(app, kind, filtered, lines))
        return;
    // The first two lines are the column header and the rule line.
    exportCsv(app, kind, lines, int(qMax<qsizetype>(0, lines.size() - 2)),
        app.log->unlistedCatches(), CatchesCsv);
}

void ExportCostsCsv(AppState& app, const FilteredListModel* filtered)
{
    const CsvKind kind { u"Sub frmHaupt.mnuExportKosten_Click"_s, u"Kosten_"_s,
        u"Kosten als CSV exportieren"_s,
        u"Die Kostenliste ist gefiltert.\r\nSollen nur die gefilterten Posten exportiert "
        "werden?\r\n\r\nMit \"Nein\" werden alle Posten exportiert."_s,
        u"Es sind keine Kosten zum Exportieren vorhanden."_s, u"1 Posten wurde exportiert:"_s,
        u"%1 Posten wurden exportiert:"_s, u"Kostendatei"_s };
    QStringList lines = app.log->costLines();
    if (!chooseLines(app, kind, filtered, lines))
        return;
    exportCsv(app, kind, lines, int(lines.size()), app.log->unlistedCosts(), CostsCsv);
}

void PrintYearReport(AppState& app)
{
    Env& env = app.env;
    ErrorTrap trap(env, u"Sub frmHaupt.mnuPrintJahr_Click"_s);
    const QStringList catches = CatchOverviewLines(*app.log);
    const QList<int> years = CatchYears(catches);
    const int preset = years.isEmpty() ? env.clock->now().date().year() : years.first();
    QStringList yearTexts;
    for (int y : years)
        yearTexts.append(QString::number(y));
    const QString prompt = u"Für welches Jahr soll der Jahresbericht erstellt werden?\r\n"_s
        + (years.isEmpty() ? u"Es sind noch keine Fänge eingetragen."_s
                           : u"Jahre mit Fängen: "_s + yearTexts.join(u", "_s));
    const QString answer = env.dialogs->input(prompt, u"Jahresbericht"_s, QString::number(preset));
    if (answer.trimmed().isEmpty())
        return;
    const int year = typedYear(answer);
    if (year == 0) {
        env.dialogs->message(
            u"Bitte geben Sie das Jahr mit vier Ziffern ein, zum Beispiel %1."_s.arg(preset),
            MsgIcon::Warning);
        return;
    }

    YearReport report = MakeYearReport(env, catches, app.log->costLines(), year, trap);
    report.unlistedCatches = app.log->unlistedCatches();
    const PageFooter footer { TodayText(*env.clock), QString::fromLatin1(Version::Text),
        QString(Links::BrandSite) };
    WriteAndOpenPage(
        app, trap, kYearReportFile, YearReportPage(report, footer), u"Der Jahresbericht"_s);
}

bool WriteAndOpenPage(AppState& app, ErrorTrap& trap, const QString& fileName,
    const QStringList& lines, const QString& what)
{
    Env& env = app.env;
    const QString path = hostPath(env.programDir, fileName);
    if (const int error = WriteUtf8Page(path, lines)) {
        trap.log(error);
        env.dialogs->message(
            what + u" konnte nicht geschrieben werden:\r\n"_s + QDir::toNativeSeparators(path),
            MsgIcon::Warning);
        return false;
    }
    if (!env.shell->open(path)) {
        WriteLog(env, trap.place(), what + u" konnte nicht im Browser geöffnet werden: "_s + path);
        env.dialogs->message(what
                + u" wurde gespeichert, konnte aber nicht im Browser geöffnet werden:\r\n"_s
                + QDir::toNativeSeparators(path),
            MsgIcon::Warning);
    }
    return true;
}
