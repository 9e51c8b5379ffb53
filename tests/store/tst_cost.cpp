#include "platform/ErrorLog.h"
#include "store/CostLine.h"
#include "store/CostList.h"
#include "store/Numbers.h"
#include "store/Sort.h"
#include "support/TestEnv.h"

#include <QRandomGenerator>
#include <QTest>

using namespace Qt::StringLiterals;

class TestCost : public QObject {
    Q_OBJECT

private slots:
    // Quantity, unit price and shipping as typed; fields 5 to 8 or the error.
    void costItem_data()
    {
        QTest::addColumn<QString>("quantity");
        QTest::addColumn<QString>("unitPrice");
        QTest::addColumn<QString>("shipping");
        QTest::addColumn<QString>("shop");
        QTest::addColumn<QString>("amounts");
        QTest::addColumn<int>("error");
        const auto ok = [](const char* name, const QString& q, const QString& u, const QString& s,
                            const QString& amounts) {
            QTest::newRow(name) << q << u << s << u"Laden"_s << amounts << 0;
        };
        const auto no = [](const char* name, const QString& q, const QString& u, const QString& s,
                            int error, const QString& shop = u"Laden"_s) {
            QTest::newRow(name) << q << u << s << shop << QString() << error;
        };
        ok("4,5 x 3", u"3"_s, u"4,5"_s, u"0"_s, u"4,50 €\t13,50 €\t0,00 €\t13,50 €"_s);
        // The price takes the quantity as a whole number, halves to even;
        // the total does not.
        ok("2 x 1,5 + 1", u"1,5"_s, u"2"_s, u"1"_s, u"2,00 €\t4,00 €\t1,00 €\t4,00 €"_s);
        ok("2 x 2,5 + 1", u"2,5"_s, u"2"_s, u"1"_s, u"2,00 €\t4,00 €\t1,00 €\t6,00 €"_s);
        // The float nearest 2,675 shows as 2,675 and rounds up.
        ok("float half", u"1"_s, u"2,675"_s, u"0"_s, u"2,68 €\t2,68 €\t0,00 €\t2,68 €"_s);
        ok("2,456", u"1"_s, u"2,456"_s, u"0,004"_s, u"2,46 €\t2,46 €\t0,00 €\t2,46 €"_s);
        ok("no thousands separator", u"1000"_s, u"1234,5"_s, u"0"_s,
            u"1234,50 €\t1234500,00 €\t0,00 €\t1234500,00 €"_s);
        ok("blanks and euro read", u"2"_s, u" 1,25 €"_s, u"0,5 €"_s,
            u"1,25 €\t2,50 €\t0,50 €\t3,00 €"_s);
        ok("largest quantity", u"32767"_s, u"1"_s, u"0"_s,
            u"1,00 €\t32767,00 €\t0,00 €\t32767,00 €"_s);
        no("unit price text", u"3"_s, u"abc"_s, u"0"_s, 13);
        no("unit price with point", u"3"_s, u"4.5"_s, u"0"_s, 13);
        no("quantity empty", QString(), u"4,5"_s, u"0"_s, 13);
        no("shipping empty", u"3"_s, u"4,5"_s, QString(), 13);
        no("quantity 32768", u"32768"_s, u"1"_s, u"0"_s, 6);
        no("quantity before shipping", u"40000"_s, u"1"_s, QString(), 6);
        no("beyond single", u"1"_s, u"1"_s + QString(40, u'0'), u"0"_s, 6);
        no("quote in shop", u"1"_s, u"1"_s, u"0"_s, 5, u"Der \"Hecht\""_s);
        no("TAB in shop", u"1"_s, u"1"_s, u"0"_s, 5, u"a\tb"_s);
    }

    void costItem()
    {
        QFETCH(QString, quantity);
        QFETCH(QString, unitPrice);
        QFETCH(QString, shipping);
        QFETCH(QString, shop);
        QFETCH(QString, amounts);
        TestEnv t;
        const CostEntry e { u"05.03.2006"_s, shop, quantity, u"Haken"_s, unitPrice, shipping };
        QString item;
        QTEST(errorNumberOf([&] { item = CostItem(t.env, e); }), "error");
        if (!amounts.isEmpty())
            QCOMPARE(item, u"2006/03/05\tLaden\t"_s + quantity + u"\tHaken\t"_s + amounts);
    }

    void sumsMatchTheNumberReader()
    {
        // The sums read the usual amount form on a fast path; every form the
        // general reader takes must add up to the same single-precision sums.
        TestEnv t;
        QRandomGenerator rng(4711);
        const QStringList odd { u"-1,25 €"_s, u" 2,5 €"_s, u"7 €"_s, u"3,125 €"_s, u"12"_s,
            u"1234567890123456,5 €"_s, u"+ 4,00 €"_s };
        QStringList items;
        for (int i = 0; i < 3000; ++i) {
            const QString price = u"%1,%2 €"_s.arg(rng.bounded(100000)).arg(rng.bounded(10, 100));
            items.append(sampleCost(
                { { 1, u"2006/01/%1"_s.arg(10 + i % 19) }, { 6, price }, { 7, odd[i % odd.size()] },
                    { 8, u"%1 €"_s.arg(rng.bounded(1000000)) } })
                             .join(u'\t'));
        }
        ErrorTrap trap(t.env, u"Sub Test"_s);
        const CostListing l = ListCostItems(t.env, items, trap);
        QCOMPARE(l.lines.size(), 3000);
        CostSums expected;
        for (const QString& line : l.lines) { // in list order, as the sums are taken
            const QStringList f = line.split(u'\t');
            expected.price += float(ParseNumber(f[5]));
            expected.shipping += float(ParseNumber(f[6]));
            expected.total += float(ParseNumber(f[7]));
        }
        QCOMPARE(l.sums.price, expected.price);
        QCOMPARE(l.sums.shipping, expected.shipping);
        QCOMPARE(l.sums.total, expected.total);
        QCOMPARE(t.logEntries(), QStringList());
    }

    // Each damaged line is kept aside on its own and reading goes on
    // behind it, however many there are; the test's time limit catches a
    // load that rereads the rest of the log after each of them. The reader
    // logs every damaged line: here into a folder that does not exist, so
    // that the time is the load's alone.
    void manyDamagedLines()
    {
        TestEnv t;
        Env env = t.env;
        env.programDir = t.dir() + u"/fehlt"_s;
        QStringList items, good, damaged;
        const auto two = [](int n) { return QString::number(n).rightJustified(2, u'0'); };
        for (int i = 0; i < 32767; ++i) {
            const QString date
                = QString::number(2000 + i % 7) + u'/' + two(1 + i % 12) + u'/' + two(1 + i % 28);
            const QStringList f = sampleCost({ { 1, date }, { 4, u"Haken %1"_s.arg(i) } });
            QString item;
            if (i % 16 == 0)
                good.append(item = f.join(u'\t'));
            else if (i % 3 == 0)
                damaged.append(item = f.mid(0, 5).join(u'\t')); // too few TABs
            else if (i % 3 == 1)
                damaged.append(
                    item = sampleCost({ { 1, date }, { 2, QString(300, u'L') } }).join(u'\t'));
            else
                damaged.append(item = u"kaputt%1"_s.arg(i % 100)); // shorter than a date
            items.append(item);
        }
        QCOMPARE(damaged.size(), 30719);
        ErrorTrap trap(env, u"Sub frmAddKosten.Form_Load"_s);
        const CostListing l = ListCostItems(env, items, trap);

        BubbleSort(good);
        BubbleSort(damaged);
        QCOMPARE(l.stored, good);
        QCOMPARE(l.unlisted, damaged);
        QCOMPARE(l.lines.size(), good.size());
        for (qsizetype i = 0; i < good.size(); ++i) {
            const QString& s = good[i];
            const QString shown = s.mid(8, 2) + u'.' + s.mid(5, 2) + u'.' + s.left(4) + s.mid(10);
            QCOMPARE(l.lines[i], shown);
        }
        QCOMPARE(CostSumText(l.sums.price), u"9216,00 €"_s);
    }

    void unreadableAmountIsLoggedAndSkipped_data()
    {
        QTest::addColumn<QString>("amount");
        QTest::newRow("text") << u"viel"_s;
        // Refused by the general reader, so the fast path must refuse it too.
        QTest::newRow("two decimal commas") << u"1,2,3 €"_s;
        QTest::newRow("sign inside") << u"1-2 €"_s;
    }

    void unreadableAmountIsLoggedAndSkipped()
    {
        QFETCH(QString, amount);
        TestEnv t;
        ErrorTrap trap(t.env, u"Sub frmAddKosten.Form_Load"_s);
        const QStringList items { sampleCost({ { 1, u"2006/01/01"_s } }).join(u'\t'),
            sampleCost({ { 1, u"2006/01/02"_s }, { 6, amount } }).join(u'\t') };
        const CostListing l = ListCostItems(t.env, items, trap);
        QCOMPARE(l.lines.size(), 2);
        QVERIFY(l.lines.first().startsWith(u"02.01.2006\tAnglerladen"_s));
        QCOMPARE(CostSumText(l.sums.price), u"4,50 €"_s);
        QCOMPARE(CostSumText(l.sums.total), u"18,80 €"_s);
        QCOMPARE(t.logEntries(), QStringList { u"Sub frmAddKosten.Form_Load\tError (13)"_s });
        // The float's own digits decide the rounding of a sum.
        QCOMPARE(CostSumText(2.675f), u"2,68 €"_s);
        QCOMPARE(CostSumText(0.1f + 0.2f), u"0,30 €"_s);
    }
};

QTEST_GUILESS_MAIN(TestCost)
#include "tst_cost.moc"
