#include "platform/RuntimeError.h"
#include "store/CostLine.h"
#include "support/TestEnv.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestCostLine : public QObject {
    Q_OBJECT

private slots:
    void amounts_data();
    void amounts();
    void wholeItem();
    void refused_data();
    void refused();
};

void TestCostLine::amounts_data()
{
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<QString>("unitPrice");
    QTest::addColumn<QString>("shipping");
    QTest::addColumn<QStringList>("amounts");  // fields 5 to 8

    QTest::newRow("4,5 x 3 + 0") << u"3"_s << u"4,5"_s << u"0"_s
                                 << QStringList{u"4,50 €"_s, u"13,50 €"_s, u"0,00 €"_s,
                                                u"13,50 €"_s};
    // The price counts the quantity as a whole number (1,5 -> 2, 2,5 -> 2),
    // the total does not.
    QTest::newRow("2 x 1,5 + 1") << u"1,5"_s << u"2"_s << u"1"_s
                                 << QStringList{u"2,00 €"_s, u"4,00 €"_s, u"1,00 €"_s,
                                                u"4,00 €"_s};
    QTest::newRow("2 x 2,5 + 1") << u"2,5"_s << u"2"_s << u"1"_s
                                 << QStringList{u"2,00 €"_s, u"4,00 €"_s, u"1,00 €"_s,
                                                u"6,00 €"_s};
    QTest::newRow("2 x 0,5: half to even zero") << u"0,5"_s << u"2"_s << u"0"_s
                                                << QStringList{u"2,00 €"_s, u"0,00 €"_s,
                                                               u"0,00 €"_s, u"1,00 €"_s};
    QTest::newRow("1,5 x 3 + 4,9") << u"3"_s << u"1,5"_s << u"4,9"_s
                                   << QStringList{u"1,50 €"_s, u"4,50 €"_s, u"4,90 €"_s,
                                                  u"9,40 €"_s};
    QTest::newRow("2 x 4 + 0") << u"4"_s << u"2"_s << u"0"_s
                               << QStringList{u"2,00 €"_s, u"8,00 €"_s, u"0,00 €"_s,
                                              u"8,00 €"_s};
    // Single-precision results round from their own shortest digits: the
    // float nearest 2,675 is 2,67499995..., which still shows as 2,675.
    QTest::newRow("single precision half") << u"1"_s << u"2,675"_s << u"0"_s
                                           << QStringList{u"2,68 €"_s, u"2,68 €"_s,
                                                          u"0,00 €"_s, u"2,68 €"_s};
    QTest::newRow("three decimals") << u"1"_s << u"2,456"_s << u"0,004"_s
                                    << QStringList{u"2,46 €"_s, u"2,46 €"_s, u"0,00 €"_s,
                                                   u"2,46 €"_s};
    QTest::newRow("no thousands separator") << u"1000"_s << u"1234,5"_s << u"0"_s
                                            << QStringList{u"1234,50 €"_s, u"1234500,00 €"_s,
                                                           u"0,00 €"_s, u"1234500,00 €"_s};
    QTest::newRow("blanks and euro read") << u"2"_s << u" 1,25 €"_s << u"0,5 €"_s
                                          << QStringList{u"1,25 €"_s, u"2,50 €"_s,
                                                         u"0,50 €"_s, u"3,00 €"_s};
    QTest::newRow("largest quantity") << u"32767"_s << u"1"_s << u"0"_s
                                      << QStringList{u"1,00 €"_s, u"32767,00 €"_s,
                                                     u"0,00 €"_s, u"32767,00 €"_s};
}

void TestCostLine::amounts()
{
    QFETCH(QString, quantity);
    QFETCH(QString, unitPrice);
    QFETCH(QString, shipping);
    QFETCH(QStringList, amounts);
    TestEnv t;
    const CostEntry entry{u"05.03.2006"_s, u"Anglerladen"_s, quantity, u"Haken"_s, unitPrice,
                          shipping};
    const QStringList fields = CostFields(t.env, entry);
    QCOMPARE(fields.size(), 8);
    QCOMPARE(fields.mid(4), amounts);
    QCOMPARE(fields[2], quantity);  // stored as typed
}

void TestCostLine::wholeItem()
{
    TestEnv t;
    const CostEntry entry{u"05.03.2006"_s, u"Anglerladen"_s, u"3"_s, u"Haken Gr. 8"_s,
                          u"1,5"_s,        u"4,9"_s};
    QCOMPARE(CostItem(t.env, entry),
             u"2006/03/05\tAnglerladen\t3\tHaken Gr. 8\t1,50 €\t4,50 €\t4,90 €\t9,40 €"_s);
}

void TestCostLine::refused_data()
{
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<QString>("unitPrice");
    QTest::addColumn<QString>("shipping");
    QTest::addColumn<QString>("shop");
    QTest::addColumn<int>("error");

    const QString shop = u"Anglerladen"_s;
    QTest::newRow("unit price text") << u"3"_s << u"abc"_s << u"0"_s << shop << 13;
    QTest::newRow("unit price with point") << u"3"_s << u"4.5"_s << u"0"_s << shop << 13;
    QTest::newRow("quantity empty") << QString() << u"4,5"_s << u"0"_s << shop << 13;
    QTest::newRow("shipping empty") << u"3"_s << u"4,5"_s << QString() << shop << 13;
    QTest::newRow("quantity 32768") << u"32768"_s << u"1"_s << u"0"_s << shop << 6;
    QTest::newRow("quantity 40000, shipping empty") << u"40000"_s << u"1"_s << QString() << shop
                                                    << 6;
    QTest::newRow("unit price beyond single") << u"1"_s << u"1"_s + QString(40, u'0') << u"0"_s
                                              << shop << 6;
    QTest::newRow("quote in shop") << u"1"_s << u"1"_s << u"0"_s << u"Der \"Hecht\""_s << 5;
    QTest::newRow("TAB in shop") << u"1"_s << u"1"_s << u"0"_s << u"a\tb"_s << 5;
}

void TestCostLine::refused()
{
    QFETCH(QString, quantity);
    QFETCH(QString, unitPrice);
    QFETCH(QString, shipping);
    QFETCH(QString, shop);
    QFETCH(int, error);
    TestEnv t;
    const CostEntry entry{u"05.03.2006"_s, shop, quantity, u"Haken"_s, unitPrice, shipping};
    int thrown = 0;
    try {
        CostItem(t.env, entry);
    } catch (const RuntimeError& e) {
        thrown = e.number;
    }
    QCOMPARE(thrown, error);
}

QTEST_GUILESS_MAIN(TestCostLine)
#include "tst_costLine.moc"
