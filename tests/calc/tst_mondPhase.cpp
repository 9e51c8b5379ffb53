#include "calc/MondPhase.h"
#include "support/TestEnv.h"

#include <QDate>
#include <QFile>
#include <QTest>

#include <limits>

using namespace Qt::StringLiterals;

namespace {

double dayOf(const QDate& d) { return static_cast<double>(d.toJulianDay() - 2415019); }

}  // namespace

class TestMondPhase : public QObject {
    Q_OBJECT

private slots:
    void phaseOfDate_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("phase");

        QTest::newRow("day 0") << QDate(1899, 12, 30) << u"1/4 Mond ab."_s;
        // New moon covers the sector around the wrap from both sides.
        QTest::newRow("new moon before wrap") << QDate(2000, 1, 6) << u"Neumond"_s;
        QTest::newRow("new moon after wrap") << QDate(2000, 1, 7) << u"Neumond"_s;
        QTest::newRow("waxing crescent") << QDate(2000, 1, 9) << u"1/4 Mond, zu."_s;
        QTest::newRow("first quarter") << QDate(2000, 1, 12) << u"Halbmond, zu."_s;
        QTest::newRow("waxing gibbous") << QDate(2000, 1, 16) << u"3/4 Mond, zu."_s;
        QTest::newRow("last day before full") << QDate(2000, 1, 19) << u"3/4 Mond, zu."_s;
        QTest::newRow("full 20.01.") << QDate(2000, 1, 20) << u"Vollmond"_s;
        QTest::newRow("full 21.01.") << QDate(2000, 1, 21) << u"Vollmond"_s;
        QTest::newRow("full 22.01.") << QDate(2000, 1, 22) << u"Vollmond"_s;
        QTest::newRow("full 23.01.") << QDate(2000, 1, 23) << u"Vollmond"_s;
        QTest::newRow("waning gibbous") << QDate(2000, 1, 24) << u"3/4 Mond, ab."_s;
        QTest::newRow("last quarter") << QDate(2000, 1, 27) << u"Halbmond, ab."_s;
        QTest::newRow("waning crescent 31.01.") << QDate(2000, 1, 31) << u"1/4 Mond ab."_s;
        QTest::newRow("waning crescent 03.02.") << QDate(2000, 2, 3) << u"1/4 Mond ab."_s;
        QTest::newRow("new again") << QDate(2000, 2, 4) << u"Neumond"_s;
        QTest::newRow("17.05.2004") << QDate(2004, 5, 17) << u"1/4 Mond ab."_s;
        // Before day 0 the position in the cycle must still be taken with
        // floor, not by cutting off towards zero.
        QTest::newRow("day -1") << QDate(1899, 12, 29) << u"1/4 Mond ab."_s;
        QTest::newRow("day -30") << QDate(1899, 11, 30) << u"1/4 Mond ab."_s;
        QTest::newRow("day -45") << QDate(1899, 11, 15) << u"3/4 Mond, zu."_s;
    }

    void phaseOfDate()
    {
        QFETCH(QDate, date);
        QFETCH(QString, phase);
        TestEnv t;
        QCOMPARE(MondPhase(t.env, dayOf(date)), phase);
        QVERIFY(!QFile::exists(t.path(u"kescherheft.log"_s)));
    }

    void undefinedDayIsLoggedAndEmpty_data()
    {
        QTest::addColumn<double>("day");
        QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN();
        QTest::newRow("inf") << std::numeric_limits<double>::infinity();
        QTest::newRow("-inf") << -std::numeric_limits<double>::infinity();
    }

    void undefinedDayIsLoggedAndEmpty()
    {
        QFETCH(double, day);
        TestEnv t;
        QCOMPARE(MondPhase(t.env, day), QString());
        QCOMPARE(t.logEntries(), QStringList{u"Funktion MondPhase\tError (6)"_s});
    }
};

QTEST_GUILESS_MAIN(TestMondPhase)
#include "tst_mondPhase.moc"
