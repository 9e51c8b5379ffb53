// The chart as SVG: well-formed XML, one bar per category with its count.
#include "reports/BarChartSvg.h"

#include <QTest>
#include <QXmlStreamReader>

using namespace Qt::StringLiterals;

class TestBarChartSvg : public QObject {
    Q_OBJECT

private slots:
    void bars_data()
    {
        QTest::addColumn<QStringList>("labels");
        QTest::addColumn<QList<qint64>>("counts");
        QTest::newRow("no bars") << QStringList() << QList<qint64>();
        QTest::newRow("markup and quotes in labels") << QStringList { u"Barsch <Fluss> & \"Co\""_s,
            u"Köder 'X'"_s, u"%1 %2"_s } << QList<qint64> { 3, 0, 32767 };
        QTest::newRow("upright labels") << QStringList(24, u"Uhr"_s) << QList<qint64>(24, 7);
    }

    void bars()
    {
        QFETCH(QStringList, labels);
        QFETCH(QList<qint64>, counts);
        QXmlStreamReader xml(BarChartSvg(MakeBarChart(u"Fänge & Co"_s, labels, counts)));
        QStringList seenLabels;
        QList<qint64> seenCounts;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (xml.name() == u"rect" && xml.attributes().value(u"class"_s) == u"bar") {
                seenLabels.append(xml.attributes().value(u"data-label"_s).toString());
                seenCounts.append(xml.attributes().value(u"data-count"_s).toLongLong());
            }
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QCOMPARE(seenLabels, labels);
        QCOMPARE(seenCounts, counts);
    }
};

QTEST_GUILESS_MAIN(TestBarChartSvg)
#include "tst_barChartSvg.moc"
