// The print entries of the windows and the main menu: what each hands to
// the printouts, shown or hidden, in filter mode or not.
#include "platform/Cp1252.h"
#include "ui/AppFixture.h"
#include "ui/TabListView.h"
#include "ui/frmAddKosten.h"
#include "ui/frmFangUebersicht.h"
#include "ui/frmHaupt.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString kCatchFile = u"db\\fänge\\db"_s;
const QString kCostFile = u"db\\kosten\\db"_s;

QString catchOn(const QString& date, const QString& angler, const QString& species)
{
    return sampleCatch({ { 1, date }, { 2, angler }, { 6, species } }).join(u'\t');
}

QString costOn(const QString& date, const QString& article, const QString& price)
{
    return sampleCost({ { 1, date }, { 4, article }, { 5, price }, { 6, price }, { 8, price } })
        .join(u'\t');
}

} // namespace

class TestPrinting : public QObject, AppFixture {
    Q_OBJECT

    void start()
    {
        t->write(kCatchFile,
            recordFileBytes({ catchOn(u"2004/05/01"_s, u"Anna"_s, u"Hecht"_s),
                catchOn(u"2004/05/03"_s, u"Jörg"_s, u"Zander*"_s),
                catchOn(u"2004/05/02"_s, u"Max"_s, u"Hecht"_s),
                catchOn(u"2004/04/30"_s, u"Max"_s, u"Barsch"_s) }));
        t->write(u"db\\db.ver"_s, "102\r\n");
        t->write(kCostFile,
            recordFileBytes({ costOn(u"2006/03/01"_s, u"Haken"_s, u"1,10 €"_s),
                costOn(u"2006/03/03"_s, u"Schnur"_s, u"12,35 €"_s),
                costOn(u"2006/03/02"_s, u"Schnurfett"_s, u"3,99 €"_s) }));
        startApp();
    }

    QString page(const QString& name) const { return decode1252(t->read(name)); }

    // The anglers of the catch page's rows, checked numbered from 1.
    QStringList printedAnglers() const
    {
        QStringList anglers;
        for (const QString& line : page(u"faenge.html"_s).split(u"\r\n"_s)) {
            if (!line.startsWith(u"<td>"_s))
                continue;
            const QStringList cells = line.split(u"</div></td>"_s);
            if (cells[0] != u"<td><div align=\"center\">&nbsp;%1&nbsp;"_s.arg(anglers.size() + 1))
                return { u"row numbered wrongly: "_s + cells[0] };
            anglers.append(cells[2].section(u"&nbsp;"_s, 1, 1));
        }
        return anglers;
    }

private slots:
    void init() { t = std::make_unique<TestEnv>(); }
    void cleanup()
    {
        app.reset();
        QVERIFY(t->dialogs.verifyDone());
        t.reset();
    }

    // The overview prints its list as last loaded (a catch added to the file
    // since is left out), in filter mode only the filtered catches.
    void catchListPrintsWhatTheOverviewLists_data()
    {
        QTest::addColumn<QString>("filter"); // empty: not in filter mode
        QTest::addColumn<bool>("fromMenu");
        QTest::addColumn<QStringList>("anglers");
        const QStringList all { u"Jörg"_s, u"Max"_s, u"Anna"_s, u"Max"_s };
        const QStringList pikes { u"Max"_s, u"Anna"_s };
        QTest::newRow("all, menu, window hidden") << QString() << true << all;
        QTest::newRow("filtered, button") << u"hecht"_s << false << pikes;
        QTest::newRow("one filtered") << u"barsch"_s << false << QStringList { u"Max"_s };
    }

    void catchListPrintsWhatTheOverviewLists()
    {
        QFETCH(QString, filter);
        QFETCH(bool, fromMenu);
        start();
        frmFangÜbersicht* w = app->uebersicht;
        t->write(kCatchFile,
            t->read(kCatchFile)
                + recordFileBytes({ catchOn(u"2004/06/01"_s, u"Neu"_s, u"Aal"_s) }));
        if (!filter.isEmpty()) {
            w->OpenInFilterMode();
            w->txtFilter->setText(filter);
            w->cmdFilter_Click();
        }
        t->dialogs.answerInput(u"0"_s);
        if (fromMenu)
            app->haupt->mnuPrintFänge->trigger();
        else
            w->cmdPrint->click();
        QTEST(printedAnglers(), "anglers");
        QCOMPARE(t->shell.opened, QStringList { t->path(u"faenge.html"_s) });
        QCOMPARE(w->isVisible(), !filter.isEmpty());
    }

    // The cost window prints what it lists, with its sum boxes' texts.
    void costWindowPrintsItsList_data()
    {
        QTest::addColumn<bool>("filter");
        QTest::addColumn<bool>("fromMenu");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("sum"); // price and total
        QTest::newRow("all, menu, window hidden") << false << true << 3 << u"17,44"_s;
        QTest::newRow("filtered, button") << true << false << 2 << u"16,34"_s;
    }

    void costWindowPrintsItsList()
    {
        QFETCH(bool, filter);
        QFETCH(bool, fromMenu);
        QFETCH(int, rows);
        QFETCH(QString, sum);
        start();
        frmAddKosten* k = app->kosten;
        if (filter) {
            k->OpenFilterMode();
            k->txtFilter->setText(u"schnur"_s);
            k->cmdFilter_Click();
        }
        t->dialogs.answerInput(u"0"_s);
        if (fromMenu)
            app->haupt->mnuPrintKosten->trigger();
        else
            k->cmdPrint->click();
        QCOMPARE(k->isVisible(), filter);
        const QString text = page(u"kosten.html"_s);
        QCOMPARE(text.count(u"</tr>\r\n"_s), 1 + rows);
        const QString cell
            = u"<th><div align=\"right\">&nbsp;"_s + sum + u"&nbsp;€&nbsp;</div></th>"_s;
        QVERIFY(text.contains(u"&nbsp;Summen:&nbsp;</th>"_s + cell));
        QCOMPARE((filter ? k->txtPreisG2 : k->txtPreisG)->text(), sum + u" €"_s);
        QCOMPARE((filter ? k->txtGesamt2 : k->txtGesamt)->text(), sum + u" €"_s);
    }

    // The front page takes every figure as the main window shows it, escaped.
    void frontPageTakesTheMainWindowsFigures()
    {
        start();
        frmHaupt* h = app->haupt;
        const QList<QLabel*> labels { h->labZeitProFisch, h->labDurchschnittsGewicht,
            h->labGesamtGewicht, h->labLeichtesterFisch, h->labSchwersterFisch,
            h->labKleinsterFisch, h->labLängsterFisch, h->labMinTempWasser, h->labMaxTempWasser,
            h->labMinTempLuft, h->labMaxTempLuft, h->labAngelTiefe };
        QStringList expected { u"0 T  14 Std  0 Min"_s, u"4 St&uuml;ck"_s, u"17,44 €"_s };
        for (qsizetype i = 0; i < labels.size(); ++i) {
            labels[i]->setText(u"<%1> & °C"_s.arg(i));
            expected.append(u"&lt;%1&gt; &amp; °C"_s.arg(i));
        }
        h->mnuPrintFront->trigger();
        QCOMPARE(t->shell.opened, QStringList { t->path(u"front.html"_s) });
        QStringList values;
        for (const QString& cell : page(u"front.html"_s).split(u"<div align=\"right\">"_s).mid(1))
            values.append(cell.section(u"</div>"_s, 0, 0));
        QCOMPARE(values, expected);
    }

    void frontPageWithoutCatches()
    {
        startApp();
        t->dialogs.expectMessage();
        app->haupt->mnuPrintFront->trigger();
        QCOMPARE(t->dialogs.messageTexts().last(),
            u"Die Liste ist leer, was wollen Sie da ausdrucken?"_s);
        QCOMPARE(t->read(u"front.html"_s), QByteArray("<missing>"));
        QCOMPARE(t->shell.opened, QStringList());
    }

    void emptyTableFromTheMenu()
    {
        start();
        t->dialogs.answerInput(u"1"_s);
        app->haupt->mnuPrintEmptyTable->trigger();
        QCOMPARE(t->shell.opened, QStringList { t->path(u"empty.html"_s) });
        QCOMPARE(page(u"empty.html"_s).count(u"\r\n<th>"_s), 1);
        QVERIFY(page(u"empty.html"_s).contains(u"\r\n<th>1</td><td>"_s));
    }
};

QTEST_MAIN(TestPrinting)
#include "tst_printing.moc"
