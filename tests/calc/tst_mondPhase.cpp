#include "calc/MondPhase.h"
#include "support/TestEnv.h"

#include <QDate>
#include <QTest>

#include <limits>

using namespace Qt::StringLiterals;

class TestMondPhase : public QObject {
    Q_OBJECT

private slots:
    void phase_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("phase");
        QTest::newRow("day 0") << QDate(1899, 12, 30) << u"1/4 Mond ab."_s;
        QTest::newRow("new moon after the wrap") << QDate(2000, 1, 7) << u"Neumond"_s;
        QTest::newRow("waxing crescent") << QDate(2000, 1, 9) << u"1/4 Mond, zu."_s;
        QTest::newRow("first quarter") << QDate(2000, 1, 12) << u"Halbmond, zu."_s;
        QTest::newRow("last day before full") << QDate(2000, 1, 19) << u"3/4 Mond, zu."_s;
        QTest::newRow("full, first day") << QDate(2000, 1, 20) << u"Vollmond"_s;
        QTest::newRow("waning gibbous") << QDate(2000, 1, 24) << u"3/4 Mond, ab."_s;
        QTest::newRow("last quarter") << QDate(2000, 1, 27) << u"Halbmond, ab."_s;
        QTest::newRow("last day before new") << QDate(2000, 2, 3) << u"1/4 Mond ab."_s;
        QTest::newRow("new again") << QDate(2000, 2, 4) << u"Neumond"_s;
        // Before day 0 the place in the cycle is taken with floor.
        QTest::newRow("day -45") << QDate(1899, 11, 15) << u"3/4 Mond, zu."_s;
    }

    void phase()
    {
        QFETCH(QDate, date);
        TestEnv t;
        QTEST(MondPhase(t.env, double(date.toJulianDay() - 2415019)), "phase");
        QCOMPARE(t.logEntries(), QStringList());
    }

    void undefinedDayIsLoggedAndEmpty()
    {
        TestEnv t;
        QCOMPARE(MondPhase(t.env, std::numeric_limits<double>::quiet_NaN()), QString());
        QCOMPARE(MondPhase(t.env, -std::numeric_limits<double>::infinity()), QString());
        QCOMPARE(t.logEntries(), QStringList(2, u"Funktion MondPhase\tError (6)"_s));
    }
};

QTEST_GUILESS_MAIN(TestMondPhase)
#include "tst_mondPhase.moc"
