// The four printouts as the user runs them: the questions, the count
// rules, the page written and handed to the browser, and what happens when
// there is nothing to print or the page cannot be written.
#include "platform/Cp1252.h"
#include "reports/Printouts.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString kCountPrompt
    = u"Wieviele Einträge wollen Sie drucken? Geben Sie 0 ein, wenn Sie alle drucken wollen."_s;
const QString kEmptyList = u"Die Liste ist leer, was wollen Sie da ausdrucken?"_s;
const QString kCatchPlace = u"Sub frmFangÜbersicht.cmdPrint_Click"_s;
const QStringList kPages { u"front.html"_s, u"faenge.html"_s, u"empty.html"_s, u"kosten.html"_s };

QString angler(int k)
{
    return u"Angler%1"_s.arg(k, 2, 10, QChar(u'0'));
}

// The overview's list of n catches, anglers numbered in list order, every
// third one with a photo.
QStringList catchList(int n)
{
    QStringList rows;
    for (int k = 1; k <= n; ++k) {
        const QString date = u"%1.05.2004"_s.arg(28 - k % 28, 2, 10, QChar(u'0'));
        const QString species = k % 3 == 0 ? u"Hecht*"_s : u"Zander"_s;
        rows.append(overviewRow(sampleCatch({ { 1, date }, { 2, angler(k) }, { 6, species } }),
            k % 3 == 0 ? u'X' : u' '));
    }
    return overviewList(rows);
}

QString cents(qint64 c)
{
    return u"%1,%2 €"_s.arg(c / 100).arg(c % 100, 2, 10, QChar(u'0'));
}

// The cost window's list of n purchases: purchase k costs k,10 € with
// 0,50 € shipping, from the shop "Laden k".
QStringList costList(int n)
{
    QStringList lines;
    for (int k = 1; k <= n; ++k) {
        const qint64 price = 100 * k + 10;
        lines.append(
            u"%1.03.2006\tLaden %2\t1\tHaken\t%3\t%3\t0,50 €\t%4"_s.arg(28 - k, 2, 10, QChar(u'0'))
                .arg(k)
                .arg(cents(price), cents(price + 50)));
    }
    return lines;
}

// The sums row of the cost page.
QString sumsLine(const QString& price, const QString& shipping, const QString& total)
{
    const QString cell = u"<th><div align=\"right\">&nbsp;%1&nbsp;€&nbsp;</div></th>"_s;
    return u"<tr><th colspan=\"6\"><div align=\"right\">&nbsp;Summen:&nbsp;</th>"_s
        + cell.arg(price) + cell.arg(shipping) + cell.arg(total)
        + u"</tr></table><br /><br />\r\n"_s;
}

} // namespace

class TestPrintouts : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnv> t = std::make_unique<TestEnv>();

    QString page(const QString& name) const { return decode1252(t->read(name)); }

    // The data lines of a page: those that begin with a table cell.
    QStringList rowsOf(const QString& name, const QString& start) const
    {
        QStringList out;
        for (const QString& line : page(name).split(u"\r\n"_s)) {
            if (line.startsWith(start))
                out.append(line);
        }
        return out;
    }

private slots:
    // The old folder fails the test on a dialog unscripted or an answer unused.
    void cleanup() { t = std::make_unique<TestEnv>(); }

    // The answer to the count question with 25 catches or 5 purchases
    // listed, and to the rows question of the blank form: how many rows the
    // page holds (-1: no page), the sums of a cost page, what is logged. With
    // too few entries listed there is a message and no question.
    void count_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QStringList>("logged");
        QTest::addColumn<QString>("sums"); // price|shipping|total
        QTest::addColumn<int>("listed");
        QTest::addColumn<QString>("message");
        const auto row = [](const char* page, const char* name, const QString& answer, int rows,
                             const QStringList& logged = {}, const QString& sums = {}) {
            QTest::addRow("%s: %s", page, name)
                << QString::fromLatin1(page) << answer << rows << logged << sums << -1 << QString();
        };
        const auto nothing = [](const char* page, int listed, const QString& message) {
            QTest::addRow("%s: %d listed", page, listed)
                << QString::fromLatin1(page) << QString() << -1 << QStringList() << QString()
                << listed << message;
        };
        row("faenge", "0 prints all", u"0"_s, 25);
        row("faenge", "more than listed", u"100"_s, 25);
        row("faenge", "2,5 to the even 2", u"2,5"_s, 2);
        row("faenge", "3,5 to the even 4", u"3,5"_s, 4);
        row("faenge", "0,4 rounds to none", u"0,4"_s, 0);
        row("faenge", "negative", u"-1"_s, 0);
        row("faenge", "not a number prints all", u"abc"_s, 25, { kCatchPlace + u"\tError (13)"_s });
        row("faenge", "cancelled", QString(), -1);
        row("kosten", "2", u"2"_s, 2, {}, u"3,20|1,00|4,20"_s);
        row("kosten", "not a number prints all", u"abc"_s, 5,
            { u"Sub frmAddKosten.cmdPrint_Click\tError (13)"_s }, u"15,50|2,50|18,00"_s);
        row("kosten", "cancelled", QString(), -1);
        const QString place = u"Sub frmHaupt.mnuPrintEmptyTable_Click"_s;
        row("empty", "the preset 50", u"50"_s, 50);
        row("empty", "0", u"0"_s, -1);
        row("empty", "empty or cancelled", QString(), -1);
        row("empty", "negative: a form without rows", u"-3"_s, 0);
        row("empty", "not a number", u"viele"_s, -1, { place + u"\tError (13)"_s });
        row("empty", "beyond 16 bits", u"40000"_s, -1, { place + u"\tError (6)"_s });
        nothing("front", 0, kEmptyList);
        nothing("faenge", 0, kEmptyList);
        nothing("faenge", 1,
            u"In der Liste ist nur 1 Eintrag, den müssen Sie nicht unbedigt ausdrucken..."_s);
        nothing("kosten", 0, kEmptyList);
    }

    void count()
    {
        QFETCH(QString, page);
        QFETCH(QString, answer);
        QFETCH(int, rows);
        QFETCH(QString, sums);
        QFETCH(int, listed);
        QFETCH(QString, message);
        for (const QString& name : kPages)
            t->write(name, "alt");
        if (message.isEmpty())
            t->dialogs.answerInput(answer);
        else
            t->dialogs.expectMessage();
        if (listed < 0)
            listed = page == u"kosten" ? 5 : 25;
        if (page == u"front")
            PrintFront(t->env, FrontValues(), 2 + listed);
        else if (page == u"faenge")
            PrintCatchList(t->env, catchList(listed), catchList(listed));
        else if (page == u"kosten")
            PrintCostList(t->env, costList(listed), costList(listed));
        else
            PrintEmptyTable(t->env);
        QCOMPARE(t->dialogs.shown().size(), 1);
        const FakeDialogs::Shown& q = t->dialogs.shown().first();
        const bool blank = page == u"empty";
        // A message box, or the count question with its preset answer.
        QCOMPARE(q.kind, message.isEmpty() ? FakeDialogs::Kind::Input : FakeDialogs::Kind::Message);
        QCOMPARE(q.text + u'|' + q.title + u'|' + q.startFolder,
            !message.isEmpty() ? message + u'|' + kAppTitle + u'|'
                : blank ? u"Wieviele Zeilen sollen gedruckt werden?\r\nJe nach Druckbereich Ihres "
                          u"Druckers passen ca 14 Zeilen auf eine Seite.|"_s
                    + kAppTitle + u"|50"_s
                        : kCountPrompt + u"|Anzahl der Einträge|0"_s);
        QCOMPARE(q.icon, message.isEmpty() ? MsgIcon::None : MsgIcon::Information);
        QTEST(t->logEntries(), "logged");
        if (rows < 0) {
            for (const QString& name : kPages)
                QCOMPARE(t->read(name), QByteArray("alt"));
            QCOMPARE(t->shell.opened, QStringList());
            return;
        }
        const QString name = page + u".html"_s;
        QCOMPARE(t->shell.opened, QStringList { t->path(name) });
        if (page == u"kosten") {
            // The header and a row for each purchase printed; the sums tell
            // which purchases they are.
            QCOMPARE(this->page(name).count(u"</tr>\r\n"_s), 1 + rows);
            const QStringList s = sums.split(u'|');
            QVERIFY2(this->page(name).contains(sumsLine(s[0], s[1], s[2])), qPrintable(sums));
            return;
        }
        // The first entries of the list, in list order, numbered from 1.
        const QStringList printed = rowsOf(name, blank ? u"<th>"_s : u"<td>"_s);
        QCOMPARE(printed.size(), rows);
        for (int i = 0; i < rows; ++i) {
            if (blank) {
                QVERIFY(printed[i].startsWith(u"<th>%1</td>"_s.arg(i + 1)));
            } else {
                QVERIFY(printed[i].startsWith(
                    u"<td><div align=\"center\">&nbsp;%1&nbsp;</div></td>"_s.arg(i + 1)));
                QVERIFY(printed[i].contains(u"&nbsp;"_s + angler(i + 1) + u"&nbsp;"_s));
            }
        }
    }

    // An installed program keeps the front page's banner apart from its data.
    void frontPageBannerOfAnInstalledProgram()
    {
        t->env.resourceDir = u"/usr/share/kescher heft"_s;
        PrintFront(t->env, FrontValues(), 3);
        QVERIFY(page(u"front.html"_s)
                    .contains(u"<img src=\"file:///usr/share/kescher%20heft/banner.gif\""_s));
    }

    // A line the record reader cannot split is logged as the reader logs
    // it; the page still has a row for every entry: the damaged one with
    // what was read before the long field, the next one whole.
    void unreadableCatchLineIsLogged()
    {
        QStringList list = catchList(4);
        list[3].replace(u"\t06:30\t"_s, u"\t"_s + QString(300, u'x') + u"\t"_s);
        t->dialogs.answerInput(u"0"_s);
        PrintCatchList(t->env, list, list);
        QCOMPARE(t->logEntries(), QStringList { u"Funktion ConvertToArray\tError (6)"_s });
        const QStringList printed = rowsOf(u"faenge.html"_s, u"<td>"_s);
        QCOMPARE(printed.size(), 4);
        QVERIFY(printed[1].contains(angler(2)) && !printed[1].contains(u"Zander"_s));
        QVERIFY(printed[2].contains(angler(3)) && printed[2].contains(u"Hecht"_s));
    }

    // In filter mode the filtered entries are printed, numbered from 1; a
    // filter that matched nothing gives the table without rows: the early
    // checks look at the list of all entries.
    void filteredListsArePrinted()
    {
        const QStringList all = costList(10);
        t->dialogs.answerInput(u"0"_s);
        PrintCostList(t->env, all, { all[3], all[6], all[8] });
        const QString text = page(u"kosten.html"_s);
        QCOMPARE(text.count(u"</tr>\r\n"_s), 1 + 3); // the header and three purchases
        QVERIFY(text.contains(sumsLine(u"20,30"_s, u"1,50"_s, u"21,80"_s)));

        t->dialogs.answerInput(u"0"_s);
        PrintCatchList(t->env, catchList(25), catchList(25).mid(0, 2));
        QCOMPARE(rowsOf(u"faenge.html"_s, u"<td>"_s), QStringList());
        QVERIFY(page(u"faenge.html"_s).contains(u"&nbsp;Mondphase&nbsp;</th></tr>"_s));
    }

    // A page that cannot be written whole is not opened: the user is told,
    // the failure logged, and an old page stays as it was.
    void unwritablePageIsReported_data()
    {
        QTest::addColumn<bool>("diskFull");
        QTest::newRow("a folder in its place") << false;
        QTest::newRow("the disk runs full") << true;
    }

    void unwritablePageIsReported()
    {
        QFETCH(bool, diskFull);
        if (diskFull)
            t->write(u"faenge.html"_s, "alt");
        else
            QVERIFY(QDir(t->dir()).mkdir(u"faenge.html"_s));
        t->dialogs.answerInput(u"0"_s);
        t->dialogs.expectMessage();
        {
            // Room for a log line, not for a page of 25 catches.
            std::unique_ptr<FileSizeLimit> full;
            if (diskFull)
                full = std::make_unique<FileSizeLimit>(4096);
            PrintCatchList(t->env, catchList(25), catchList(25));
        }
        const FakeDialogs::Shown& m = t->dialogs.shown().last();
        QVERIFY(m.text.startsWith(
                    u"Die Druckseite \"faenge.html\" konnte nicht vollständig geschrieben werden"_s)
            && m.icon == MsgIcon::Warning);
        QCOMPARE(t->shell.opened, QStringList());
        QCOMPARE(t->logEntries(), QStringList { kCatchPlace + u"\tError (75)"_s });
        if (diskFull)
            QCOMPARE(t->read(u"faenge.html"_s), QByteArray("alt"));
        QCOMPARE(QDir(t->dir()).entryList(QDir::Files | QDir::Hidden).filter(u"faenge"_s),
            diskFull ? QStringList { u"faenge.html"_s } : QStringList());
    }

    void failedBrowserIsLogged()
    {
        t->shell.openSucceeds = false;
        t->dialogs.answerInput(u"2"_s);
        PrintEmptyTable(t->env);
        const QString path = t->path(u"empty.html"_s);
        QCOMPARE(t->shell.opened, QStringList { path });
        QCOMPARE(t->logEntries(),
            QStringList { u"Sub frmHaupt.mnuPrintEmptyTable_Click\tDie Druckseite konnte nicht "
                          u"im Browser geöffnet werden: "_s
                + path });
        QVERIFY(t->read(u"empty.html"_s).contains("<th>2</td>"));
    }
};

QTEST_GUILESS_MAIN(TestPrintouts)
#include "tst_printouts.moc"
