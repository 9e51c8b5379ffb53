// The print entries of the windows and the main menu: what each hands to
// the printouts, shown or hidden, in filter mode or not.
#include "platform/Cp1252.h"
#include "ui/AppFixture.h"
#include "ui/frmAddKosten.h"
#include "ui/frmFangUebersicht.h"
#include "ui/frmHaupt.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QString costOn(const QString& date, const QString& article, const QString& price)
{
    return sampleCostLine(
        { { 1, date }, { 4, article }, { 5, price }, { 6, price }, { 8, price } });
}

} // namespace

class TestPrinting : public QObject, AppFixture {
    Q_OBJECT

    QString page(const QString& name) const { return decode1252(t->read(name)); }

private slots:
    void init()
    {
        t->write(u"db\\fänge\\db"_s,
            recordFileBytes({ catchOn(u"2004/05/01"_s, u"Anna"_s, u"Hecht"_s),
                catchOn(u"2004/05/03"_s, u"Jörg"_s, u"Zander*"_s),
                catchOn(u"2004/05/02"_s, u"Max"_s, u"Hecht"_s),
                catchOn(u"2004/04/30"_s, u"Max"_s, u"Barsch"_s) }));
        t->write(u"db\\db.ver"_s, "102\r\n");
        t->write(u"db\\kosten\\db"_s,
            recordFileBytes({ costOn(u"2006/03/01"_s, u"Haken"_s, u"1,10 €"_s),
                costOn(u"2006/03/03"_s, u"Schnur"_s, u"12,35 €"_s),
                costOn(u"2006/03/02"_s, u"Schnurfett"_s, u"3,99 €"_s) }));
        startApp();
    }
    void cleanup() { closeApp(); }

    // The overview and the cost window print their list as last loaded (a
    // catch added to the file since is left out), in filter mode only what
    // the filter kept; a hidden window stays hidden.
    void listsPrintWhatTheWindowLists_data()
    {
        QTest::addColumn<bool>("costs");
        QTest::addColumn<QString>("filter"); // empty: not in filter mode
        QTest::addColumn<bool>("fromMenu");
        QTest::addColumn<QStringList>("cells"); // the anglers, or the articles
        QTest::newRow("catches, menu, window hidden")
            << false << QString() << true
            << QStringList { u"Jörg"_s, u"Max"_s, u"Anna"_s, u"Max"_s };
        QTest::newRow("costs filtered, button")
            << true << u"schnur"_s << false << QStringList { u"Schnur"_s, u"Schnurfett"_s };
    }
    void listsPrintWhatTheWindowLists()
    {
        QFETCH(bool, costs);
        QFETCH(QString, filter);
        QFETCH(bool, fromMenu);
        t->write(u"db\\fänge\\db"_s,
            t->read(u"db\\fänge\\db"_s)
                + recordFileBytes({ catchOn(u"2004/06/01"_s, u"Neu"_s, u"Aal"_s) }));
        QWidget* w = costs ? static_cast<QWidget*>(app->kosten) : app->uebersicht;
        if (!filter.isEmpty() && costs) {
            app->kosten->OpenFilterMode();
            app->kosten->txtFilter->setText(filter);
            app->kosten->cmdFilter_Click();
        } else if (!filter.isEmpty()) {
            app->uebersicht->OpenInFilterMode();
            app->uebersicht->txtFilter->setText(filter);
            app->uebersicht->cmdFilter_Click();
        }
        t->dialogs.answerInput(u"0"_s);
        if (fromMenu)
            (costs ? app->haupt->mnuPrintKosten : app->haupt->mnuPrintFänge)->trigger();
        else
            (costs ? app->kosten->cmdPrint : app->uebersicht->cmdPrint)->click();
        const QString name = costs ? u"kosten.html"_s : u"faenge.html"_s;
        QCOMPARE(t->shell.opened, QStringList { t->path(name) });
        // The angler of each catch row; the shop and the article of each
        // purchase row are its left-aligned cells.
        QStringList cells;
        int left = 0;
        for (const QString& line : page(name).split(u"\r\n"_s)) {
            if (costs && line.startsWith(u"<td><div align=\"left\">"_s) && left++ % 2)
                cells.append(line.section(u"&nbsp;"_s, 1, 1));
            else if (!costs && line.startsWith(u"<td>"_s))
                cells.append(line.split(u"</div></td>"_s)[2].section(u"&nbsp;"_s, 1, 1));
        }
        QTEST(cells, "cells");
        QCOMPARE(w->isVisible(), !filter.isEmpty());
    }

    // The front page takes every figure as the main window shows it.
    void frontPageTakesTheMainWindowsFigures()
    {
        frmHaupt* h = app->haupt;
        const QList<QLabel*> labels { h->labZeitProFisch, h->labDurchschnittsGewicht,
            h->labGesamtGewicht, h->labLeichtesterFisch, h->labSchwersterFisch,
            h->labKleinsterFisch, h->labLängsterFisch, h->labMinTempWasser, h->labMaxTempWasser,
            h->labMinTempLuft, h->labMaxTempLuft, h->labAngelTiefe };
        QStringList expected { u"0 T  14 Std  0 Min"_s, u"4 St&uuml;ck"_s, u"17,44 €"_s };
        for (qsizetype i = 0; i < labels.size(); ++i) {
            labels[i]->setText(u"%1 °C"_s.arg(i));
            expected.append(u"%1 °C"_s.arg(i));
        }
        h->mnuPrintFront->trigger();
        QCOMPARE(t->shell.opened, QStringList { t->path(u"front.html"_s) });
        QStringList values;
        for (const QString& cell : page(u"front.html"_s).split(u"<div align=\"right\">"_s).mid(1))
            values.append(cell.section(u"</div>"_s, 0, 0));
        QCOMPARE(values, expected);
        t->dialogs.answerInput(u"1"_s);
        h->mnuPrintEmptyTable->trigger();
        QCOMPARE(t->shell.opened.last(), t->path(u"empty.html"_s));
    }
};

QTEST_MAIN(TestPrinting)
#include "tst_printing.moc"
