// The refresh hands the statistics the catch file's items it has already
// read. That pass must give the same figures and log the same lines as the
// pass that reads the file itself, for every kind of file.
#include "calc/Statistics.h"
#include "store/RecordFile.h"
#include "support/TestEnv.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString kCatchFile = u"db\\fänge\\db"_s;

QByteArray catchLine(const QString& weight, const QString& depth, const QString& air = u"+ 12"_s)
{
    return RecordLine(u"2004/05/17\tMax\t06:30\t06:45\t10:00\tKarpfen\t"_s + weight
        + u"\t64\tBaggersee\tSteg 3\tFestblei\tBoilie\tsonnig\t"_s + air + u"\t14\t"_s + depth
        + u"\tVollmond"_s);
}

QList<double> values(const CatchStatistics& s)
{
    return { s.heaviest, s.lightest, double(s.longest), double(s.shortest), s.totalWeight,
        double(s.maxAirTemp), double(s.minAirTemp), double(s.maxWaterTemp),
        double(s.minWaterTemp), s.maxDepth, s.minDepth, s.averageDepth };
}

// Figures a previous pass left, so that a pass that keeps them shows.
CatchStatistics earlier()
{
    CatchStatistics s;
    s.heaviest = 9;
    s.lightest = 1;
    s.longest = 90;
    s.totalWeight = 20;
    s.maxDepth = 8;
    s.averageDepth = 3;
    return s;
}

} // namespace

class TestStatisticsFromItems : public QObject {
    Q_OBJECT

private slots:
    void sameAsReadingTheFile_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // null: no file
        QTest::newRow("catches") << catchLine(u"7,50"_s, u"2,5"_s) + catchLine(u"2,25"_s, u"3"_s)
                + catchLine(u"11,8638"_s, u"0"_s, u"-4"_s);
        QTest::newRow("unreadable fields") << catchLine(u"schwer"_s, u"tief"_s, u"warm"_s)
                + catchLine(u"3,10"_s, u"1,5"_s);
        // The record reader stops there; the rows after it stay empty.
        QTest::newRow("line without fields")
            << catchLine(u"1,00"_s, u"1"_s) + QByteArray("\"2004/05/18\"\r\n")
                + catchLine(u"5,00"_s, u"4"_s);
        QTest::newRow("empty line inside")
            << catchLine(u"1,00"_s, u"1"_s) + QByteArray("\r\n") + catchLine(u"5,00"_s, u"4"_s);
        // Too short for a pass: nothing is parsed and nothing logged.
        QTest::newRow("date only, 14 bytes") << QByteArray("\"2004/05/17\"\r\n");
        QTest::newRow("empty") << QByteArray("");
        QTest::newRow("no file") << QByteArray();
    }

    void sameAsReadingTheFile()
    {
        QFETCH(QByteArray, bytes);
        TestEnv fromFile;
        if (!bytes.isNull())
            fromFile.write(kCatchFile, bytes);
        CatchStatistics expected = earlier();
        SucheFische(fromFile.env, fromFile.path(kCatchFile), expected);

        TestEnv fromItems;
        CatchStatistics s = earlier();
        SucheFische(fromItems.env, bytes.isNull() ? -1 : bytes.size(), ParseItems(bytes), s);

        QCOMPARE(values(s), values(expected));
        QCOMPARE(fromItems.logEntries(), fromFile.logEntries());
    }
};

QTEST_GUILESS_MAIN(TestStatisticsFromItems)
#include "tst_statisticsFromItems.moc"
