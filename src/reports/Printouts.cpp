#include "reports/Printouts.h"

#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/ErrorLog.h"
#include "platform/Paths.h"
#include "platform/RuntimeError.h"
#include "reports/ReportFile.h"
#include "store/Numbers.h"

#include <QUrl>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

const QString kEmptyList = u"Die Liste ist leer, was wollen Sie da ausdrucken?"_s;
const QString kCountTitle = u"Anzahl der Einträge"_s;
const QString kCountPrompt = u"Wieviele Einträge wollen Sie drucken? Geben Sie 0 ein, wenn Sie "
                             u"alle drucken wollen."_s;

void inform(const Env& env, const QString& text)
{
    if (env.dialogs)
        env.dialogs->message(text, MsgIcon::Information, MsgButtons::Ok, kAppTitle);
}

QString ask(const Env& env, const QString& prompt, const QString& title, const QString& preset)
{
    return env.dialogs ? env.dialogs->input(prompt, title, preset) : QString();
}

QDate today(const Env& env)
{
    return env.clock ? env.clock->now().date() : QDate::currentDate();
}

// Writes the page and hands it to the browser. A page that could not be
// written whole is not opened: the browser would show an old page, or none.
void writeAndOpen(
    const Env& env, ErrorTrap& trap, const QString& fileName, const QStringList& lines)
{
    const QString path = hostPath(env.programDir, fileName);
    if (const int error = WriteReportFile(path, lines)) {
        trap.log(error);
        if (env.dialogs) {
            env.dialogs->message(u"Die Druckseite \""_s + fileName
                    + u"\" konnte nicht vollständig geschrieben werden und wird nicht "
                      u"gedruckt.\r\nBitte prüfen Sie, ob der Programmordner beschreibbar ist "
                      u"und genug freien Platz bietet."_s,
                MsgIcon::Warning, MsgButtons::Ok, kAppTitle);
        }
        return;
    }
    if (!env.shell || !env.shell->open(path))
        WriteLog(env, trap.place(),
            u"Die Druckseite konnte nicht im Browser geöffnet werden: "_s + path);
}

} // namespace

int PrintCount(const QString& answer, int listed, ErrorTrap& trap)
{
    double value = 0;
    if (!trap.step([&] { value = ParseNumber(answer); }))
        value = 0;
    if (value == 0 || value > listed)
        return listed;
    // The default rounding mode sends exact halves to the even neighbour.
    const double n = std::nearbyint(value);
    return n < 0 ? 0 : int(n);
}

void PrintFront(const Env& env, const FrontValues& values, int recentRows)
{
    ErrorTrap trap(env, u"Sub PrintFront"_s);
    if (recentRows <= 2) {
        inform(env, kEmptyList);
        return;
    }
    // An installed program keeps the banner apart from the data folder the
    // page is written to, so the page names it by its full address.
    const QString banner = env.resourceFolder() == env.programDir
        ? u"./banner.gif"_s
        : QUrl::fromLocalFile(env.resourceFolder() + u"/banner.gif"_s).toString(QUrl::FullyEncoded);
    writeAndOpen(env, trap, kFrontPageFile, FrontPageLines(values, today(env), banner));
}

void PrintCatchList(const Env& env, const QStringList& fullList, const QStringList& sourceList)
{
    ErrorTrap trap(env, u"Sub frmFangÜbersicht.cmdPrint_Click"_s);
    // Both checks look at the list of all catches, also in filter mode.
    if (fullList.size() <= 2) {
        inform(env, kEmptyList);
        return;
    }
    if (fullList.size() == 3) {
        inform(
            env, u"In der Liste ist nur 1 Eintrag, den müssen Sie nicht unbedigt ausdrucken..."_s);
        return;
    }
    const QString answer = ask(env, kCountPrompt, kCountTitle, u"0"_s);
    if (answer.isEmpty())
        return;

    const QStringList catchLines = sourceList.mid(2);
    const int count = PrintCount(answer, int(catchLines.size()), trap);
    // A line the record reader cannot split is logged as the reader logs it.
    if (FirstUnreadableCatchLine(catchLines) >= 0)
        ErrorTrap(env, u"Funktion ConvertToArray"_s).log(Err::Overflow);
    writeAndOpen(env, trap, kCatchPageFile, CatchListPageLines(catchLines, count, today(env)));
}

void PrintEmptyTable(const Env& env)
{
    ErrorTrap trap(env, u"Sub frmHaupt.mnuPrintEmptyTable_Click"_s);
    const QString answer = ask(env,
        u"Wieviele Zeilen sollen gedruckt werden?\r\nJe nach Druckbereich Ihres Druckers passen "
        u"ca 14 Zeilen auf eine Seite."_s,
        kAppTitle, u"50"_s);
    if (answer.isEmpty() || answer == u"0")
        return;
    // An answer that is no number of rows is logged, and there is no form
    // to print.
    int rows = 0;
    if (!trap.step([&] { rows = ParseInt16(answer); }))
        return;
    writeAndOpen(env, trap, kEmptyPageFile, EmptyTablePageLines(rows, today(env)));
}

void PrintCostList(const Env& env, const QStringList& fullList, const QStringList& sourceList)
{
    ErrorTrap trap(env, u"Sub frmAddKosten.cmdPrint_Click"_s);
    if (fullList.isEmpty()) {
        inform(env, kEmptyList);
        return;
    }
    const QString answer = ask(env, kCountPrompt, kCountTitle, u"0"_s);
    if (answer.isEmpty())
        return;

    const int count = PrintCount(answer, int(sourceList.size()), trap);
    const RecordTable table = ConvertToArray(env, sourceList, u"kosten"_s);
    // The sums of the printed rows, added up as the cost window adds its own.
    CostSums sums;
    AddCostSums(table.first(count), sums, trap);
    writeAndOpen(env, trap, kCostPageFile, CostListPageLines(table, count, sums, today(env)));
}
