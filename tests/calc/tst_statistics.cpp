#include "calc/Statistics.h"
#include "platform/Paths.h"
#include "store/Logbook.h"
#include "support/TestEnv.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Catches given by weight, length, air and water temperature and depth
// (fields 7, 8, 14, 15, 16), "|" between them.
QByteArray fileOf(const QStringList& catches)
{
    QStringList items;
    for (const QString& c : catches) {
        const QStringList f = c.split(u'|');
        const QStringList record
            = sampleCatch({ { 7, f[0] }, { 8, f[1] }, { 14, f[2] }, { 15, f[3] }, { 16, f[4] } });
        items.append(record.join(u'\t'));
    }
    return recordFileBytes(items);
}

// heaviest, lightest, longest, shortest, total weight, air max and min,
// water max and min, depth max, min and average
QList<double> values(const CatchStatistics& s)
{
    return { s.heaviest, s.lightest, double(s.longest), double(s.shortest), s.totalWeight,
        double(s.maxAirTemp), double(s.minAirTemp), double(s.maxWaterTemp), double(s.minWaterTemp),
        s.maxDepth, s.minDepth, s.averageDepth };
}

const CatchStatistics kEarlier { 9, 1, 90, 10, 20, 30, -5, 25, 4, 8, 1, 3 };

} // namespace

class TestStatistics : public QObject {
    Q_OBJECT

    // The pass over what the log owner read of the file (null: no file),
    // starting from the earlier figures; the lines it logged.
    static CatchStatistics passOver(const QByteArray& bytes, QStringList& log)
    {
        TestEnv t;
        if (!bytes.isNull())
            t.write(kCatchLogPath, bytes);
        Logbook book(t.env);
        book.refresh(u"Test"_s);
        CatchStatistics s = kEarlier;
        SucheFische(t.env, book.catchFileSize(), book.catchNumbers(), s);
        log = t.logEntries().filter(u"Sub SucheFische"_s);
        return s;
    }

private slots:
    void pass_data()
    {
        QTest::addColumn<QStringList>("catches"); // fields 7, 8, 14, 15, 16
        QTest::addColumn<QList<double>>("expected");
        QTest::addColumn<int>("errors"); // "Error (13)" lines under "Sub SucheFische"
        const auto row
            = [](const char* name, const QStringList& catches, const QList<double>& expected,
                  int errors = 0) { QTest::newRow(name) << catches << expected << errors; };
        row("two weights", { u"7,50|64|0|0|2"_s, u"2,25|64|0|0|2"_s },
            { 7.5, 2.25, 64, 64, 9.75, 0, 0, 0, 0, 2, 2, 2 });
        row("0 °C enters no maximum", { u"0,00|0|0|+ 14|0"_s, u"0,00|0|-4|0|0"_s },
            { 0, 0, 0, 0, 0, -4, -4, 14, 14, 0, 0, 0 });
        row("0 °C enters no minimum", { u"0,00|0|+ 12|0|0"_s, u"0,00|0|0|-4|0"_s },
            { 0, 0, 0, 0, 0, 12, 12, -4, -4, 0, 0, 0 });
        // Nothing ever updated: the start values are replaced by 0.
        row("all zero, depth -2", { u"0,00|0|0|0|0"_s, u"0,00|0|0|0|-2"_s }, QList<double>(12, 0));
        row("depths 2,5, 0 and 3,5",
            { u"0,00|0|0|0|2,5"_s, u"0,00|0|0|0|0"_s, u"0,00|0|0|0|3,5"_s },
            { 0, 0, 0, 0, 0, 0, 0, 0, 0, 3.5, 2.5, 3 });
        row("0 kg and 0 cm never the minimum",
            { u"0,00|0|0|0|0"_s, u"3,00|50|0|0|0"_s, u"0,00|40|0|0|0"_s },
            { 3, 3, 50, 40, 3, 0, 0, 0, 0, 0, 0, 0 });
        // Whole numbers: halves to the even neighbour, blanks after a sign.
        row("whole numbers", { u"0,00|64,5|+ 18|2,5|0"_s, u"0,00|65,5|- 3|0|0"_s },
            { 0, 0, 66, 64, 0, 18, -3, 2, 2, 0, 0, 0 });
        // An unreadable depth adds nothing but counts: (3 + 0) / 2. The test
        // p > 0, the sum and both comparisons with their assignments log.
        row("unreadable depth lowers the average", { u"0,00|0|0|0|3"_s, u"0,00|0|0|0|tief"_s },
            { 0, 0, 0, 0, 0, 0, 0, 0, 0, 3, 3, 1.5 }, 6);
        // The record's other figures still count.
        row("empty weight skipped", { u"|70|0|0|0"_s, u"4,00|0|0|0|0"_s },
            { 4, 4, 70, 70, 4, 0, 0, 0, 0, 0, 0, 0 }, 5);
        row("text temperature skipped", { u"0,00|0|warm|10|0"_s },
            { 0, 0, 0, 0, 0, 0, 0, 10, 10, 0, 0, 0 }, 4);
    }

    void pass()
    {
        QFETCH(QStringList, catches);
        QFETCH(int, errors);
        QStringList log;
        QTEST(values(passOver(fileOf(catches), log)), "expected");
        QCOMPARE(log, QStringList(errors, u"Sub SucheFische\tError (13)"_s));
    }

    // Counts go beyond 16 bits: depths 1 and 3 in turn average exactly 2
    // however many there are; records without a depth do not count.
    // 40,000 and 5,000 without: more than 16 bits.
    void averageDepthOfManyCatches()
    {
        const int withDepth = 40000;
        TestEnv t;
        CatchNumbers one, three, none;
        one.depth = 1;
        three.depth = 3;
        QList<CatchNumbers> records;
        for (int i = 0; i < withDepth; ++i)
            records.append(i % 2 ? three : one);
        records.insert(records.size() / 2, 5000, none);
        CatchStatistics s;
        SucheFische(t.env, 100 * records.size(), records, s);
        QCOMPARE(s.averageDepth, 2.0f);
        QCOMPARE(s.maxDepth, 3.0f);
        QCOMPARE(s.minDepth, 1.0f);
        QCOMPARE(t.logEntries(), QStringList());
    }

    void damagedOrShortFile_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // null: no file
        QTest::addColumn<QList<double>>("expected");
        const QList<double> kept = values(kEarlier);
        const QByteArray line = fileOf({ u"1,00|64|0|0|1"_s });
        QTest::newRow("missing") << QByteArray() << kept;
        QTest::newRow("19 bytes") << QByteArray("\"2004/05/17\tMax\"\r\n\r") << kept;
        // From 20 bytes on a pass runs; no readable record resets every figure.
        QTest::newRow("20 bytes") << QByteArray("\"2004/05/17\tMax\"\r\n\r\n")
                                  << QList<double>(12, 0);
        // A line that cannot be read hides only itself.
        QTest::newRow("line without fields") << line + "\"2004/05/18\"\r\n"
                + line << QList<double> { 1, 1, 64, 64, 2, 0, 0, 0, 0, 1, 1, 1 };
    }

    void damagedOrShortFile()
    {
        QFETCH(QByteArray, bytes);
        QStringList log;
        const CatchStatistics s = passOver(bytes, log);
        QTEST(values(s), "expected");
        if (bytes.isNull())
            QCOMPARE(log, QStringList { u"Sub SucheFische\tError (53)"_s });
    }
};

QTEST_GUILESS_MAIN(TestStatistics)
#include "tst_statistics.moc"
