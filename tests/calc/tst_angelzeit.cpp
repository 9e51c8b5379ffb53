#include "calc/Angelzeit.h"
#include "support/TestEnv.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// An overview row of a catch on the given day of May 2007.
QString row(int day, const char* begin, const char* end, QChar mark = u' ')
{
    const QString date = QDate(2007, 5, day).toString(u"dd.MM.yyyy"_s);
    return overviewRow(sampleCatch({ { 1, date }, { 3, QString::fromLatin1(begin) },
                           { 5, QString::fromLatin1(end) } }),
        mark);
}

} // namespace

class TestAngelzeit : public QObject {
    Q_OBJECT

private slots:
    void trips_data()
    {
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<qint32>("minutes");
        QTest::addColumn<QStringList>("log");
        const QStringList none;
        const QStringList error13 { u"Funktion Angelzeit\tError (13)"_s };
        QTest::newRow("no catches") << QStringList() << 0 << none;
        QTest::newRow("one trip counts the end of its first row") << QStringList {
            row(1, "06:00", "10:00"), row(1, "06:00", "11:00", u'X'), row(1, "06:00", "09:00")
        } << 240 << none;
        QTest::newRow("two trips on one day")
            << QStringList { row(1, "06:00", "08:00"), row(1, "18:00", "20:00") } << 240 << none;
        QTest::newRow("same start on two dates")
            << QStringList { row(1, "06:00", "08:00"), row(2, "06:00", "09:00") } << 300 << none;
        QTest::newRow("trip separated by another trip") << QStringList { row(1, "06:00", "08:00"),
            row(1, "18:00", "19:00"), row(1, "06:00", "23:00") }
                                                        << 180 << none;
        QTest::newRow("no adjustment across midnight")
            << QStringList { row(1, "22:00", "02:00") } << -1200 << none;
        QTest::newRow("empty end counts as 00:00")
            << QStringList { row(1, "06:00", "") } << -360 << error13;
        QTest::newRow("unreadable start joins the midnight trip")
            << QStringList { row(1, "9:30", "10:00"), row(1, "00:00", "05:00") } << 600 << error13;
        // A row the record reader refuses keeps the fields read before it.
        QTest::newRow("short row keeps its leading fields") << QStringList {
            u" \t01.05.2007\tMax\t06:00\t07:00\t08:00\tKarpfen"_s, row(2, "06:00", "07:00")
        } << 180 << QStringList { u"Funktion ConvertToArray\tError (6)"_s };
        // One TAB short of a record (15 instead of 16): the reader's error,
        // although the start and end fields are there.
        QString oneShort = row(3, "06:00", "08:00");
        oneShort.truncate(oneShort.lastIndexOf(u'\t'));
        QTest::newRow("one TAB short") << QStringList { oneShort } << 120
                                       << QStringList { u"Funktion ConvertToArray\tError (6)"_s };
    }

    void trips()
    {
        QFETCH(QStringList, rows);
        TestEnv t;
        QTEST(Angelzeit(t.env, overviewList(rows)), "minutes");
        QTEST(t.logEntries(), "log");
    }

    void fullList()
    {
        TestEnv t;
        QStringList rows;
        for (int k = 0; k < 32767; ++k) {
            const QString date = QDate(2000, 1, 1).addDays(k / 7).toString(u"dd.MM.yyyy"_s);
            rows.append(overviewRow(sampleCatch(
                { { 1, date }, { 3, k % 2 ? u"06:00"_s : u"18:00"_s }, { 5, u"20:00"_s } })));
        }
        // 4681 days with a morning and an evening trip each.
        QCOMPARE(Angelzeit(t.env, overviewList(rows)), 4681 * (840 + 120));
    }
};

QTEST_GUILESS_MAIN(TestAngelzeit)
#include "tst_angelzeit.moc"
