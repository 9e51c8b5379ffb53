#include "calc/Statistics.h"
#include "platform/Cp1252.h"
#include "store/ConvertToArray.h"
#include "store/RecordFile.h"
#include "support/TestEnv.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString kCatchFile = u"db\\fänge\\db"_s;

// The five figures a catch contributes: weight, length, air and water
// temperature, depth (fields 7, 8, 14, 15, 16), as stored.
struct Figures {
    QString w, l, a, t, p;
};

QString record(const Figures& f)
{
    return u"2004/05/17\tMax\t06:30\t06:45\t10:00\tKarpfen\t"_s + f.w + u'\t' + f.l
        + u"\tBaggersee\tSteg 3\tFestblei\tBoilie\tsonnig\t"_s + f.a + u'\t' + f.t + u'\t' + f.p
        + u"\tVollmond"_s;
}

QByteArray fileOf(const QList<Figures>& catches)
{
    QByteArray bytes;
    for (const Figures& f : catches)
        bytes += RecordLine(record(f));
    return bytes;
}

CatchStatistics filled()
{
    CatchStatistics s;
    s.heaviest = 9;
    s.lightest = 1;
    s.longest = 90;
    s.shortest = 10;
    s.totalWeight = 20;
    s.maxAirTemp = 30;
    s.minAirTemp = -5;
    s.maxWaterTemp = 25;
    s.minWaterTemp = 4;
    s.maxDepth = 8;
    s.minDepth = 1;
    s.averageDepth = 3;
    return s;
}

void compareStats(const CatchStatistics& a, const CatchStatistics& e)
{
    QCOMPARE(a.heaviest, e.heaviest);
    QCOMPARE(a.lightest, e.lightest);
    QCOMPARE(a.longest, e.longest);
    QCOMPARE(a.shortest, e.shortest);
    QCOMPARE(a.totalWeight, e.totalWeight);
    QCOMPARE(a.maxAirTemp, e.maxAirTemp);
    QCOMPARE(a.minAirTemp, e.minAirTemp);
    QCOMPARE(a.maxWaterTemp, e.maxWaterTemp);
    QCOMPARE(a.minWaterTemp, e.minWaterTemp);
    QCOMPARE(a.maxDepth, e.maxDepth);
    QCOMPARE(a.minDepth, e.minDepth);
    QCOMPARE(a.averageDepth, e.averageDepth);
}

} // namespace

Q_DECLARE_METATYPE(Figures)
Q_DECLARE_METATYPE(CatchStatistics)

class TestStatistics : public QObject {
    Q_OBJECT

private slots:
    void pass_data()
    {
        QTest::addColumn<QList<Figures>>("catches");
        QTest::addColumn<CatchStatistics>("expected");
        QTest::addColumn<int>("errors"); // "Error (13)" lines under "Sub SucheFische"

        const auto base = [](CatchStatistics s = {}) { return s; };
        CatchStatistics s;

        s = base();
        s.heaviest = 7.5f;
        s.lightest = 2.25f;
        s.totalWeight = 9.75f;
        s.longest = s.shortest = 64;
        s.maxDepth = s.minDepth = s.averageDepth = 2;
        QTest::newRow("two weights")
            << QList<Figures> { { u"7,50"_s, u"64"_s, u"0"_s, u"0"_s, u"2"_s },
                   { u"2,25"_s, u"64"_s, u"0"_s, u"0"_s, u"2"_s } }
            << s << 0;

        s = base();
        s.maxAirTemp = 12;
        s.minAirTemp = -4;
        s.maxWaterTemp = s.minWaterTemp = 14;
        QTest::newRow("air 0, 12 and -4: 0 never enters")
            << QList<Figures> { { u"0,00"_s, u"0"_s, u"0"_s, u"+ 14"_s, u"0"_s },
                   { u"0,00"_s, u"0"_s, u"+ 12"_s, u"0"_s, u"0"_s },
                   { u"0,00"_s, u"0"_s, u"-4"_s, u"0"_s, u"0"_s } }
            << s << 0;

        // Nothing ever updated: the start values are replaced by 0.
        QTest::newRow("all zero") << QList<Figures> { { u"0,00"_s, u"0"_s, u"0"_s, u"0"_s, u"0"_s },
            { u"0,00"_s, u"0"_s, u"0"_s, u"0"_s, u"0"_s } }
                                  << base() << 0;

        s = base();
        s.maxDepth = 3.5f;
        s.minDepth = 2.5f;
        s.averageDepth = 3;
        QTest::newRow("depths 2,5, 0 and 3,5")
            << QList<Figures> { { u"0,00"_s, u"0"_s, u"0"_s, u"0"_s, u"2,5"_s },
                   { u"0,00"_s, u"0"_s, u"0"_s, u"0"_s, u"0"_s },
                   { u"0,00"_s, u"0"_s, u"0"_s, u"0"_s, u"3,5"_s } }
            << s << 0;

        s = base();
        s.heaviest = s.lightest = s.totalWeight = 3;
        s.longest = 50;
        s.shortest = 40;
        QTest::newRow("0 kg and 0 cm never the minimum")
            << QList<Figures> { { u"0,00"_s, u"0"_s, u"0"_s, u"0"_s, u"0"_s },
                   { u"3,00"_s, u"50"_s, u"0"_s, u"0"_s, u"0"_s },
                   { u"0,00"_s, u"40"_s, u"0"_s, u"0"_s, u"0"_s } }
            << s << 0;

        // Lengths and temperatures go to the nearest whole number, halves
        // to the even neighbour; a sign may be followed by blanks.
        s = base();
        s.longest = 66;
        s.shortest = 64;
        s.maxAirTemp = 18;
        s.minAirTemp = -3;
        s.maxWaterTemp = s.minWaterTemp = 2;
        QTest::newRow("whole numbers")
            << QList<Figures> { { u"0,00"_s, u"64,5"_s, u"+ 18"_s, u"2,5"_s, u"0"_s },
                   { u"0,00"_s, u"65,5"_s, u"- 3"_s, u"0"_s, u"0"_s } }
            << s << 0;

        // A depth of 0 or below enters nothing.
        QTest::newRow("negative depth")
            << QList<Figures> { { u"0,00"_s, u"0"_s, u"0"_s, u"0"_s, u"-2"_s } } << base() << 0;

        // The unreadable depth adds nothing but is counted: (3 + 0) / 2.
        // Condition and statement of each failing step are logged: the
        // test p > 0, the sum, and both comparisons with their assignments.
        s = base();
        s.maxDepth = s.minDepth = 3;
        s.averageDepth = 1.5f;
        QTest::newRow("unreadable depth lowers the average")
            << QList<Figures> { { u"0,00"_s, u"0"_s, u"0"_s, u"0"_s, u"3"_s },
                   { u"0,00"_s, u"0"_s, u"0"_s, u"0"_s, u"tief"_s } }
            << s << 6;

        // Heaviest and lightest each log their test and assignment, the
        // total its sum: 5 lines; the record's other figures still count.
        s = base();
        s.heaviest = s.lightest = s.totalWeight = 4;
        s.longest = s.shortest = 70;
        QTest::newRow("empty weight skipped")
            << QList<Figures> { { QString(), u"70"_s, u"0"_s, u"0"_s, u"0"_s },
                   { u"4,00"_s, u"0"_s, u"0"_s, u"0"_s, u"0"_s } }
            << s << 5;

        s = base();
        s.maxWaterTemp = s.minWaterTemp = 10;
        QTest::newRow("text temperature skipped")
            << QList<Figures> { { u"0,00"_s, u"0"_s, u"warm"_s, u"10"_s, u"0"_s } } << s << 4;
    }

    void pass()
    {
        QFETCH(QList<Figures>, catches);
        QFETCH(CatchStatistics, expected);
        QFETCH(int, errors);

        TestEnv t;
        t.write(kCatchFile, fileOf(catches));
        CatchStatistics fromFile = filled();
        SucheFische(t.env, t.path(kCatchFile), fromFile);
        compareStats(fromFile, expected);
        QCOMPARE(t.logEntries(), QStringList(errors, u"Sub SucheFische\tError (13)"_s));

        // The same pass over a table the caller has already read.
        TestEnv t2;
        const QByteArray bytes = fileOf(catches);
        CatchStatistics fromTable = filled();
        SucheFische(
            t2.env, bytes.size(), ConvertToArray(t2.env, ParseItems(bytes), u"fisch"_s), fromTable);
        compareStats(fromTable, expected);
        QCOMPARE(t2.logEntries(), t.logEntries());
    }

    void shortFileKeepsPreviousValues_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("19 bytes") << QByteArray("\"2004/05/17\tMax\t\"\r\n").left(19);
    }

    void shortFileKeepsPreviousValues()
    {
        QFETCH(QByteArray, bytes);
        TestEnv t;
        t.write(kCatchFile, bytes);
        CatchStatistics s = filled();
        SucheFische(t.env, t.path(kCatchFile), s);
        compareStats(s, filled());
        QCOMPARE(t.logEntries(), QStringList());

        CatchStatistics fromTable = filled();
        SucheFische(t.env, bytes.size(), RecordTable(), fromTable);
        compareStats(fromTable, filled());
    }

    void missingFileKeepsPreviousValuesAndIsLogged()
    {
        TestEnv t;
        CatchStatistics s = filled();
        SucheFische(t.env, t.path(kCatchFile), s);
        compareStats(s, filled());
        QCOMPARE(t.logEntries(), QStringList { u"Sub SucheFische\tError (53)"_s });

        TestEnv t2;
        CatchStatistics fromTable = filled();
        SucheFische(t2.env, -1, RecordTable(), fromTable);
        compareStats(fromTable, filled());
        QCOMPARE(t2.logEntries(), QStringList { u"Sub SucheFische\tError (53)"_s });
    }

    // From 20 bytes on a pass runs; a file holding no readable record
    // resets every figure.
    void twentyBytesStartANewPass()
    {
        TestEnv t;
        const QByteArray bytes("\"2004/05/17\tMax\"\r\n\r\n");
        QCOMPARE(bytes.size(), 20);
        t.write(kCatchFile, bytes);
        CatchStatistics s = filled();
        SucheFische(t.env, t.path(kCatchFile), s);
        compareStats(s, CatchStatistics());
    }
};

QTEST_GUILESS_MAIN(TestStatistics)
#include "tst_statistics.moc"
