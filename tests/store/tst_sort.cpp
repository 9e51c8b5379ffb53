#include "store/Sort.h"
#include "support/TestEnv.h"

#include <QTest>

#include <optional>

using namespace Qt::StringLiterals;
using Count = std::optional<qsizetype>;
Q_DECLARE_METATYPE(Count)

class TestSort : public QObject {
    Q_OBJECT

private slots:
    // Texts order by their Windows-1252 bytes, not by Unicode or locale.
    void compare_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<int>("sign");
        QTest::newRow("prefix is smaller") << u"2004/05/17"_s << u"2004/05/17\tMax"_s << -1;
        QTest::newRow("upper before lower") << u"Z"_s << u"a"_s << -1;
        QTest::newRow("euro 0x80 before a-umlaut") << u"€"_s << u"ä"_s << -1;
        QTest::newRow("undefined 0x81 in between") << QString(QChar(0x81)) << u"‚"_s << -1;
        QTest::newRow("outside the code page last") << u"ÿ"_s << u"ą"_s << -1;
        QTest::newRow("U+0080 is not the euro") << QString(QChar(0x80)) << u"€"_s << 1;
    }

    void compare()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(int, sign);
        QCOMPARE(CompareText1252(a, b), sign);
        QCOMPARE(CompareText1252(b, a), -sign);
    }

    void bubbleSort_data()
    {
        QTest::addColumn<QStringList>("input");
        QTest::addColumn<Count>("count");
        QTest::addColumn<bool>("descending");
        QTest::addColumn<QStringList>("expected");
        const auto row
            = [](const char* name, const char* in, Count count, bool descending, const char* out) {
                  QTest::newRow(name) << QString::fromUtf8(in).split(u' ') << count << descending
                                      << QString::fromUtf8(out).split(u' ');
              };
        row("same day, greater rest first", "2004/05/17\tAnna 2003/12/01\tMax 2004/05/17\tMax", {},
            true, "2004/05/17\tMax 2004/05/17\tAnna 2003/12/01\tMax");
        row("ascending", "b € a ä", {}, false, "a b € ä");
        row("count leaves the tail", "1 3 2 9 0", 3, true, "3 2 1 9 0");
        row("negative count", "1 3 2 9 0", -2, true, "1 3 2 9 0");
    }

    void bubbleSort()
    {
        QFETCH(QStringList, input);
        QFETCH(Count, count);
        QFETCH(bool, descending);
        QFETCH(QStringList, expected);
        QStringList fast = input;
        BubbleSort(fast, count, descending);
        QCOMPARE(fast, expected);
        BubbleSortReference(input, count, descending);
        QCOMPARE(input, expected);
    }

    void sortDB_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<bool>("sorted");
        QTest::addColumn<QStringList>("log");
        QTest::addColumn<bool>("diskFull");
        const QByteArray nine("\"b\"\r\n\"a\"\r");
        const QByteArray unsorted
            = recordFileBytes({ u"2003/12/01\tMax"_s, u"2004/05/17\t€"_s, u"2004/05/17\tä"_s });
        QTest::newRow("9 bytes untouched") << nine << nine << true << QStringList() << false;
        QTest::newRow("newest first, euro below a-umlaut")
            << unsorted
            << recordFileBytes({ u"2004/05/17\tä"_s, u"2004/05/17\t€"_s, u"2003/12/01\tMax"_s })
            << true << QStringList() << false;
        QTest::newRow("missing file") << QByteArray() << QByteArray("<missing>") << false
                                      << QStringList { u"Sub SortDB\tError (53)"_s } << false;
        // A log that cannot be written whole is kept and not reported as sorted.
        QTest::newRow("disk full")
            << unsorted << unsorted << false << QStringList { u"Sub SortDB\tError (75)"_s } << true;
    }

    void sortDB()
    {
        QFETCH(QByteArray, before);
        QFETCH(bool, diskFull);
        TestEnv t;
        if (!before.isNull())
            t.write(u"db\\kosten\\db"_s, before);
        std::optional<FileSizeLimit> full;
        if (diskFull)
            full.emplace(before.size() - 1);
        QTEST(SortDB(t.env, t.path(u"db\\kosten\\db"_s)), "sorted");
        full.reset();
        QTEST(t.read(u"db\\kosten\\db"_s), "after");
        QTEST(t.logEntries(), "log");
    }

    void sortDBBeyondSixteenBitLines()
    {
        TestEnv t;
        QStringList items;
        for (int i = 0; i < 32800; ++i)
            items.append(u"2004/05/17\t%1"_s.arg(i));
        t.write(u"db"_s, recordFileBytes(items));
        SortDB(t.env, t.path(u"db"_s));
        BubbleSort(items);
        QCOMPARE(items.first(), u"2004/05/17\t9999"_s);
        QCOMPARE(t.read(u"db"_s), recordFileBytes(items));
    }
};

QTEST_GUILESS_MAIN(TestSort)
#include "tst_sort.moc"
