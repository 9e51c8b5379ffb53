// The chart's axis for awkward maxima, and where bars and labels go.
#include "calc/BarChart.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestBarChart : public QObject {
    Q_OBJECT

private slots:
    // Ticks run from 0 to the top in steps; "0 1 2 ..." lists their labels.
    void axis_data()
    {
        QTest::addColumn<QList<qint64>>("values");
        QTest::addColumn<QString>("ticks");
        QTest::addColumn<bool>("upright");
        QTest::newRow("nothing caught keeps an axis")
            << QList<qint64> { 0, 0 } << u"0 1"_s << false;
        QTest::newRow("one") << QList<qint64> { 1 } << u"0 1"_s << false;
        QTest::newRow("seven in steps of one")
            << QList<qint64> { 3, 7 } << u"0 1 2 3 4 5 6 7"_s << false;
        QTest::newRow("ninety-nine rounds up to a hundred")
            << QList<qint64> { 99 } << u"0 20 40 60 80 100"_s << false;
        QTest::newRow("a full log")
            << QList<qint64> { 32767 } << u"0 5000 10000 15000 20000 25000 30000 35000"_s << false;
        QTest::newRow("24 hours stand upright") << QList<qint64>(24, 1) << u"0 1"_s << true;
    }

    void axis()
    {
        QFETCH(QList<qint64>, values);
        QStringList labels;
        for (qsizetype i = 0; i < values.size(); ++i)
            labels.append(u"Balken %1"_s.arg(i));
        const BarChart c = MakeBarChart(u"Titel"_s, labels, values);
        QStringList ticks;
        for (const BarChart::Tick& t : c.ticks) {
            ticks.append(t.label);
            QCOMPARE(t.y, double(t.value) / double(c.axisMax));
        }
        QTEST(ticks.join(u' '), "ticks");
        QTEST(c.uprightLabels, "upright");
        // Each bar stands centred in its own slot, its label under it.
        QCOMPARE(c.bars.size(), values.size());
        const double slot = 1.0 / double(values.size());
        for (qsizetype i = 0; i < c.bars.size(); ++i) {
            const BarChart::Bar& b = c.bars[i];
            QVERIFY(qFuzzyCompare(b.centre, (double(i) + 0.5) * slot));
            QVERIFY(b.left > double(i) * slot && b.left + b.width < double(i + 1) * slot);
            QVERIFY(qFuzzyCompare(1 + b.height, 1 + double(values[i]) / double(c.axisMax)));
        }
    }
};

QTEST_GUILESS_MAIN(TestBarChart)
#include "tst_barChart.moc"
