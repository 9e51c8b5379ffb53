// The cost list behind the cost window: which stored lines are listed, and
// the three sums in single precision.
#include "platform/ErrorLog.h"
#include "store/CostList.h"
#include "store/Numbers.h"
#include "support/TestEnv.h"

#include <QRandomGenerator>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QString costItem(
    const QString& date, const QString& price, const QString& ship, const QString& total)
{
    return QStringList { date, u"Laden"_s, u"1"_s, u"Haken"_s, u"1,00 €"_s, price, ship, total }
        .join(u'\t');
}

} // namespace

class TestCostList : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void sumsMatchTheNumberReader();
    void unreadableAmountIsLoggedAndSkipped();
    void sumText_data();
    void sumText();
};

void TestCostList::sumsMatchTheNumberReader()
{
    // Every amount form, the usual one and those only the general reader
    // takes, must add up to the same single-precision sums.
    TestEnv t;
    QRandomGenerator rng(4711);
    QStringList items;
    float price = 0;
    float ship = 0;
    float total = 0;
    const QStringList odd = { u"-1,25 €"_s, u" 2,5 €"_s, u"7 €"_s, u"3,125 €"_s, u"12"_s,
        u"1234567890123456,5 €"_s, u"0,1 €"_s, u"+ 4,00 €"_s };
    for (int i = 0; i < 3000; ++i) {
        const QString p
            = u"%1,%2 €"_s.arg(rng.bounded(100000)).arg(rng.bounded(100), 2, 10, QChar(u'0'));
        const QString s = odd[i % odd.size()];
        const QString g = u"%1 €"_s.arg(rng.bounded(1000000));
        items.append(costItem(u"2006/01/%1"_s.arg(1 + i % 28, 2, 10, QChar(u'0')), p, s, g));
        price += static_cast<float>(ParseNumber(p));
        ship += static_cast<float>(ParseNumber(s));
        total += static_cast<float>(ParseNumber(g));
    }
    ErrorTrap trap(t.env, u"Sub Test"_s);
    CostListing l = ListCostItems(t.env, items, trap);
    QCOMPARE(l.lines.size(), 3000);
    QVERIFY(l.unlisted.isEmpty());
    // The running order differs from the file order, so add up in list order.
    float p2 = 0, s2 = 0, g2 = 0;
    for (const QString& line : l.lines) {
        const QStringList f = line.split(u'\t');
        p2 += static_cast<float>(ParseNumber(f[5]));
        s2 += static_cast<float>(ParseNumber(f[6]));
        g2 += static_cast<float>(ParseNumber(f[7]));
    }
    QCOMPARE(l.sums.price, p2);
    QCOMPARE(l.sums.shipping, s2);
    QCOMPARE(l.sums.total, g2);
    QVERIFY(qAbs(l.sums.price - price) <= qAbs(price) * 1e-5f);
    QVERIFY(t.logEntries().isEmpty());
}

void TestCostList::unreadableAmountIsLoggedAndSkipped()
{
    TestEnv t;
    ErrorTrap trap(t.env, u"Sub frmAddKosten.Form_Load"_s);
    const QStringList items = { costItem(u"2006/01/02"_s, u"viel"_s, u"1,00 €"_s, u"3,00 €"_s),
        costItem(u"2006/01/01"_s, u"2,00 €"_s, u"1,00 €"_s, u"3,00 €"_s) };
    const CostListing l = ListCostItems(t.env, items, trap);
    QCOMPARE(l.lines.size(), 2);
    QCOMPARE(l.lines.first().left(11), u"02.01.2006\t"_s);
    QCOMPARE(l.sums.price, 2.0f);
    QCOMPARE(l.sums.total, 6.0f);
    QCOMPARE(t.logEntries(), QStringList { u"Sub frmAddKosten.Form_Load\tError (13)"_s });
}

void TestCostList::sumText_data()
{
    QTest::addColumn<float>("sum");
    QTest::addColumn<QString>("text");
    QTest::newRow("16,50") << 16.5f << u"16,50 €"_s;
    QTest::newRow("float digits decide") << 2.675f << u"2,68 €"_s;
    QTest::newRow("0,1 + 0,2") << (0.1f + 0.2f) << u"0,30 €"_s;
    QTest::newRow("zero") << 0.0f << u"0,00 €"_s;
}

void TestCostList::sumText()
{
    QFETCH(float, sum);
    QTEST(CostSumText(sum), "text");
}

QTEST_MAIN(TestCostList)
#include "tst_costList.moc"
