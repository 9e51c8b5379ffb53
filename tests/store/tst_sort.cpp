#include "platform/Cp1252.h"
#include "store/Sort.h"
#include "support/TestEnv.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTest>

#include <optional>

using namespace Qt::StringLiterals;

namespace {

QStringList logOf(const TestEnv& t)
{
    if (!QFile::exists(t.path(u"kescherheft.log"_s)))
        return {};
    return t.logEntries();
}

QByteArray fileOf(const QStringList& items)
{
    QByteArray bytes;
    for (const QString& item : items)
        bytes += '"' + encode1252(item) + "\"\r\n";
    return bytes;
}

using Count = std::optional<qsizetype>;

}  // namespace

Q_DECLARE_METATYPE(Count)

class TestSort : public QObject {
    Q_OBJECT

private slots:
    void compareByCodePageBytes_data();
    void compareByCodePageBytes();
    void bubbleSort_data();
    void bubbleSort();
    void matchesExchangeSortOnRandomLists();
    void sortDB_data();
    void sortDB();
    void sortDBMissingFile();
    void sortDBBeyondSixteenBitLines();
};

void TestSort::compareByCodePageBytes_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<int>("sign");

    QTest::newRow("plain") << u"a"_s << u"b"_s << -1;
    QTest::newRow("equal") << u"Hecht"_s << u"Hecht"_s << 0;
    QTest::newRow("empty texts") << QString() << QString() << 0;
    QTest::newRow("prefix is smaller") << u"2004/05/17"_s << u"2004/05/17\tMax"_s << -1;
    QTest::newRow("upper before lower") << u"Z"_s << u"a"_s << -1;
    QTest::newRow("no case folding") << u"Ä"_s << u"ä"_s << -1;
    QTest::newRow("slash before digits") << u"/"_s << u"0"_s << -1;
    // Unicode puts these the other way round; the file's bytes decide.
    QTest::newRow("euro 0x80 before a-umlaut 0xE4") << u"€"_s << u"ä"_s << -1;
    QTest::newRow("euro 0x80 before y-diaeresis 0xFF") << u"9,40 €"_s << u"9,40 ÿ"_s << -1;
    QTest::newRow("0x82 before 0x83") << u"‚"_s << u"ƒ"_s << -1;
    QTest::newRow("Y-diaeresis 0x9F before inverted ! 0xA1") << u"Ÿ"_s << u"¡"_s << -1;
    QTest::newRow("OE 0x8C before oe 0x9C") << u"Œ"_s << u"œ"_s << -1;
    QTest::newRow("undefined byte 0x81 between") << QString(QChar(0x81)) << u"‚"_s << -1;
    QTest::newRow("sharp s 0xDF before a-umlaut") << u"ß"_s << u"ä"_s << -1;
    // Not in the code page: after every code page character, never equal.
    QTest::newRow("outside the code page") << u"ÿ"_s << u"ą"_s << -1;
    QTest::newRow("C1 control U+0080 is not the euro") << QString(QChar(0x80)) << u"€"_s << 1;
}

void TestSort::compareByCodePageBytes()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(int, sign);
    QCOMPARE(CompareText1252(a, b), sign);
    QCOMPARE(CompareText1252(b, a), -sign);
}

void TestSort::bubbleSort_data()
{
    QTest::addColumn<QStringList>("input");
    QTest::addColumn<Count>("count");
    QTest::addColumn<bool>("descending");
    QTest::addColumn<QStringList>("expected");

    const Count all;
    QTest::newRow("3 1 2") << QStringList{u"3"_s, u"1"_s, u"2"_s} << all << true
                           << QStringList{u"3"_s, u"2"_s, u"1"_s};
    QTest::newRow("1 1") << QStringList{u"1"_s, u"1"_s} << all << true
                         << QStringList{u"1"_s, u"1"_s};
    QTest::newRow("empty") << QStringList() << all << true << QStringList();
    QTest::newRow("same day, greater rest first")
        << QStringList{u"2004/05/17\tAnna\t06:30"_s, u"2003/12/01\tMax\t07:00"_s,
                       u"2004/05/17\tMax\t06:30"_s}
        << all << true
        << QStringList{u"2004/05/17\tMax\t06:30"_s, u"2004/05/17\tAnna\t06:30"_s,
                       u"2003/12/01\tMax\t07:00"_s};
    QTest::newRow("cost lines, euro and umlaut")
        << QStringList{u"2006/03/05\tAnglerladen\t1\tÖse\t1,00 €"_s,
                       u"2006/03/05\tAnglerladen\t1\t€-Set\t1,00 €"_s,
                       u"2006/03/05\tAnglerladen\t1\tÄsche-Köder\t1,00 €"_s}
        << all << true
        << QStringList{u"2006/03/05\tAnglerladen\t1\tÖse\t1,00 €"_s,
                       u"2006/03/05\tAnglerladen\t1\tÄsche-Köder\t1,00 €"_s,
                       u"2006/03/05\tAnglerladen\t1\t€-Set\t1,00 €"_s};
    QTest::newRow("ascending") << QStringList{u"b"_s, u"€"_s, u"a"_s, u"ä"_s} << all << false
                               << QStringList{u"a"_s, u"b"_s, u"€"_s, u"ä"_s};
    QTest::newRow("count leaves the tail")
        << QStringList{u"1"_s, u"3"_s, u"2"_s, u"9"_s, u"0"_s} << Count(3) << true
        << QStringList{u"3"_s, u"2"_s, u"1"_s, u"9"_s, u"0"_s};
    QTest::newRow("count 1") << QStringList{u"1"_s, u"3"_s} << Count(1) << true
                             << QStringList{u"1"_s, u"3"_s};
    QTest::newRow("count 0") << QStringList{u"1"_s, u"3"_s} << Count(0) << true
                             << QStringList{u"1"_s, u"3"_s};
    QTest::newRow("count beyond the list") << QStringList{u"1"_s, u"3"_s} << Count(7) << true
                                           << QStringList{u"3"_s, u"1"_s};
    QTest::newRow("negative count") << QStringList{u"1"_s, u"3"_s} << Count(-2) << true
                                    << QStringList{u"1"_s, u"3"_s};
}

void TestSort::bubbleSort()
{
    QFETCH(QStringList, input);
    QFETCH(Count, count);
    QFETCH(bool, descending);
    QFETCH(QStringList, expected);

    QStringList fast = input;
    BubbleSort(fast, count, descending);
    QCOMPARE(fast, expected);

    QStringList reference = input;
    BubbleSortReference(reference, count, descending);
    QCOMPARE(reference, expected);
}

void TestSort::matchesExchangeSortOnRandomLists()
{
    // Few short texts over a small alphabet, so that duplicates, prefixes
    // and the characters whose code page order differs from Unicode's
    // turn up often.
    const QString alphabet = u"0/aAäÄ€‚Ÿ¡ß\t"_s;
    QRandomGenerator rng(20040517);
    for (int round = 0; round < 2000; ++round) {
        QStringList list;
        const int size = rng.bounded(0, 40);
        for (int i = 0; i < size; ++i) {
            QString s;
            const int len = rng.bounded(0, 4);
            for (int k = 0; k < len; ++k)
                s += alphabet[rng.bounded(alphabet.size())];
            list.append(s);
        }
        Count count;
        switch (rng.bounded(4)) {
        case 0: count = rng.bounded(0, size + 3); break;
        case 1: count = qsizetype(size); break;
        default: break;
        }
        const bool descending = rng.bounded(2) == 0;

        QStringList fast = list;
        QStringList reference = list;
        BubbleSort(fast, count, descending);
        BubbleSortReference(reference, count, descending);
        if (fast != reference) {
            qWarning() << "input" << list << "count" << (count ? *count : -1) << descending;
            QCOMPARE(fast, reference);
        }
    }
}

void TestSort::sortDB_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("9 bytes untouched") << QByteArray("\"b\"\r\n\"a\"\r") << QByteArray("\"b\"\r\n\"a\"\r");
    QTest::newRow("empty untouched") << QByteArray() << QByteArray();
    const QByteArray one = fileOf({u"2004/05/17\tMax\t06:30"_s});
    QTest::newRow("one line unchanged") << one << one;
    QTest::newRow("newest first")
        << fileOf({u"2003/12/01\tMax"_s, u"2004/05/17\tAnna"_s, u"2004/05/17\tMax"_s,
                   u"2003/12/01\tMax"_s})
        << fileOf({u"2004/05/17\tMax"_s, u"2004/05/17\tAnna"_s, u"2003/12/01\tMax"_s,
                   u"2003/12/01\tMax"_s});
    // Byte 0x80 (euro) sorts below 0xE4 (a-umlaut) in the file's order.
    QTest::newRow("code page bytes")
        << QByteArray("\"2006/03/05\tL\t1\t\x80-Set\"\r\n\"2006/03/05\tL\t1\t\xE4sche\"\r\n")
        << QByteArray("\"2006/03/05\tL\t1\t\xE4sche\"\r\n\"2006/03/05\tL\t1\t\x80-Set\"\r\n");
}

void TestSort::sortDB()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    TestEnv t;
    t.write(u"db\\kosten\\db"_s, before);
    SortDB(t.env, t.path(u"db\\kosten\\db"_s));
    QCOMPARE(t.read(u"db\\kosten\\db"_s), after);
    QCOMPARE(logOf(t), QStringList());
}

void TestSort::sortDBMissingFile()
{
    TestEnv t;
    SortDB(t.env, t.path(u"db\\fänge\\db"_s));
    QCOMPARE(logOf(t), QStringList{u"Sub SortDB\tError (53)"_s});
    QVERIFY(!QFile::exists(t.path(u"db\\fänge\\db"_s)));
}

void TestSort::sortDBBeyondSixteenBitLines()
{
    // Line counts are not limited to 16 bits: every line is kept and sorted.
    TestEnv t;
    QStringList items;
    for (int i = 0; i < 32800; ++i)
        items.append(u"2004/05/17\t%1"_s.arg(i));
    t.write(u"db\\fänge\\db"_s, fileOf(items));
    SortDB(t.env, t.path(u"db\\fänge\\db"_s));
    BubbleSort(items);
    QCOMPARE(t.read(u"db\\fänge\\db"_s), fileOf(items));
    QCOMPARE(items.first(), u"2004/05/17\t9999"_s);
    QCOMPARE(logOf(t), QStringList{});
}

QTEST_GUILESS_MAIN(TestSort)
#include "tst_sort.moc"
