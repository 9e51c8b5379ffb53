// The chart's axis for awkward maxima, and where bars and labels go.
#include "calc/BarChart.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestBarChart : public QObject {
    Q_OBJECT

private slots:
    void axis_data()
    {
        QTest::addColumn<QList<qint64>>("values");
        QTest::addColumn<qint64>("step");
        QTest::addColumn<qint64>("top");
        QTest::addColumn<QStringList>("ticks");
        QTest::addColumn<bool>("upright");
        const QList<qint64> hours(24, 1);
        QTest::newRow("nothing caught keeps an axis")
            << QList<qint64> { 0, 0 } << 1LL << 1LL << QStringList { u"0"_s, u"1"_s } << false;
        QTest::newRow("one") << QList<qint64> { 1 } << 1LL << 1LL << QStringList { u"0"_s, u"1"_s }
                             << false;
        QTest::newRow("seven in steps of one")
            << QList<qint64> { 3, 7 } << 1LL << 7LL
            << QStringList { u"0"_s, u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s, u"6"_s, u"7"_s }
            << false;
        QTest::newRow("ninety-nine rounds up to a hundred")
            << QList<qint64> { 99 } << 20LL << 100LL
            << QStringList { u"0"_s, u"20"_s, u"40"_s, u"60"_s, u"80"_s, u"100"_s } << false;
        QTest::newRow("a full log") << QList<qint64> { 32767 } << 5000LL << 35000LL
                                    << QStringList { u"0"_s, u"5000"_s, u"10000"_s, u"15000"_s,
                                           u"20000"_s, u"25000"_s, u"30000"_s, u"35000"_s }
                                    << false;
        QTest::newRow("24 hours stand upright")
            << hours << 1LL << 1LL << QStringList { u"0"_s, u"1"_s } << true;
    }

    void axis()
    {
        QFETCH(QList<qint64>, values);
        QStringList labels;
        for (qsizetype i = 0; i < values.size(); ++i)
            labels.append(u"Balken %1"_s.arg(i));
        const BarChart c = MakeBarChart(u"Titel"_s, labels, values);
        QTEST(c.tickStep, "step");
        QTEST(c.axisMax, "top");
        QStringList ticks;
        for (const BarChart::Tick& t : c.ticks)
            ticks.append(t.label);
        QTEST(ticks, "ticks");
        QCOMPARE(c.ticks.last().y, 1.0);
        QTEST(c.uprightLabels, "upright");
        // Each bar stands centred in its own slot, its label under it, and
        // no bar reaches above the axis.
        QCOMPARE(c.bars.size(), values.size());
        const double slot = 1.0 / double(values.size());
        for (qsizetype i = 0; i < c.bars.size(); ++i) {
            const BarChart::Bar& b = c.bars[i];
            QCOMPARE(b.label, labels[i]);
            QVERIFY(qFuzzyCompare(b.centre, (double(i) + 0.5) * slot));
            QVERIFY(b.left > double(i) * slot && b.left + b.width < double(i + 1) * slot);
            QVERIFY(qFuzzyCompare(1 + b.height, 1 + double(values[i]) / double(c.axisMax)));
        }
    }
};

QTEST_GUILESS_MAIN(TestBarChart)
#include "tst_barChart.moc"
