#include "BenchSupport.h"

#include "platform/Env.h"
#include "platform/Paths.h"
#include "store/ConvertToArray.h"
#include "store/RecordFile.h"

#include <QApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

using namespace Qt::StringLiterals;

void ScriptedDialogs::expect(const QString& text, MsgResult answer)
{
    m_expected.append({ text, answer });
}

MsgResult ScriptedDialogs::message(const QString& text, MsgIcon, MsgButtons, const QString&)
{
    if (m_expected.isEmpty() || m_expected.first().first != text) {
        unexpected(text);
        return MsgResult::Cancel;
    }
    return m_expected.takeFirst().second;
}

QString ScriptedDialogs::input(const QString& prompt, const QString&, const QString&)
{
    unexpected(prompt);
    return {};
}

QString ScriptedDialogs::openFile(const QString& title, const QString&, const QString&)
{
    unexpected(title);
    return {};
}

QString ScriptedDialogs::saveFile(const QString& title, const QString&, const QString&)
{
    unexpected(title);
    return {};
}

QString ScriptedDialogs::chooseFolder(const QString& title, const QString&)
{
    unexpected(title);
    return {};
}

void ScriptedDialogs::unexpected(const QString& text)
{
    ++m_faults;
    std::fprintf(stderr, "unexpected dialog: %s\n", qPrintable(text));
}

void setUpGermanApplication(QTranslator& qtGerman)
{
    QApplication::setApplicationName(kAppTitle);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    if (qtGerman.load(QLocale(QLocale::German, QLocale::Germany), u"qtbase"_s, u"_"_s,
            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtGerman);
}

namespace {

void printMessage(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    if (text.startsWith(u"This plugin does not support"))
        return;
    std::fprintf(stderr, "%s\n", qPrintable(text));
    if (type == QtFatalMsg)
        std::abort();
}

} // namespace

void quietOffscreenNotes()
{
    qInstallMessageHandler(printMessage);
}

void settle()
{
    // Events posted while the first pass runs (a repaint after a layout)
    // are taken by the second.
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

double elapsedMs(const QElapsedTimer& t)
{
    return double(t.nsecsElapsed()) / 1e6;
}

double Sample::median() const
{
    if (ms.empty())
        return -1;
    std::vector<double> v = ms;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

QString catchFile(const QString& programDir)
{
    return hostPath(programDir, u"db\\fänge\\db"_s);
}

QString costFile(const QString& programDir)
{
    return hostPath(programDir, u"db\\kosten\\db"_s);
}

namespace {

// Splits every item into its TAB-separated fields, in place, and adds up
// their lengths; false when an item has not `fields` fields.
bool splitFields(const QStringList& items, int fields, qsizetype& characters)
{
    for (const QString& item : items) {
        int n = 1;
        qsizetype from = 0;
        for (qsizetype tab; (tab = item.indexOf(u'\t', from)) >= 0; from = tab + 1, ++n)
            characters += tab - from;
        characters += item.size() - from;
        if (n != fields)
            return false;
    }
    return true;
}

} // namespace

double readAndSplitLogsMs(const QString& programDir)
{
    const QString catches = catchFile(programDir);
    const QString costs = costFile(programDir);
    QElapsedTimer t;
    t.start();
    const QStringList catchItems = ParseItems(readAllBytes(catches));
    const QStringList costItems = ParseItems(readAllBytes(costs));
    qsizetype characters = 0;
    const bool whole = splitFields(catchItems, kCatchFields, characters)
        && splitFields(costItems, kCostFields, characters);
    const double ms = elapsedMs(t);
    // A floor that skipped records would make every ratio look better.
    if (!whole || characters == 0 || catchItems.size() != lineCount(catches)
        || costItems.size() != lineCount(costs))
        qFatal("the log files did not read back whole");
    return ms;
}

int lineCount(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    return int(f.readAll().count('\n'));
}

namespace {
int g_faults = 0;
}

void fault(const QString& what)
{
    ++g_faults;
    std::fprintf(stderr, "FAULT: %s\n", qPrintable(what));
}

int faultCount()
{
    return g_faults;
}

void printFigureHead(const QString& title, FigureColumns columns)
{
    std::printf("\n%s\n",
        u"%1 %2 %3 %4 %5  result"_s.arg(title.leftJustified(columns.figure))
            .arg(u"median ms"_s, 10)
            .arg(u"floor ms"_s, 9)
            .arg(u"ratio"_s, 8)
            .arg(u"budget"_s, columns.budget)
            .toUtf8()
            .constData());
}

bool printFigureRow(const QString& figure, double ms, double floorMs, const QString& budget,
    bool ok, FigureColumns columns)
{
    std::printf("%s\n",
        (figure.leftJustified(columns.figure)
            + u"%1 %2 %3 %4  %5"_s.arg(ms, 10, 'f', 1)
                  .arg(floorMs, 9, 'f', 1)
                  .arg(u"%1×"_s.arg(ms / floorMs, 0, 'f', 2), 8)
                  .arg(budget, columns.budget)
                  .arg(ok ? u"pass"_s : u"FAIL"_s))
            .toUtf8()
            .constData());
    return ok;
}
