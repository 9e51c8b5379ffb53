#include "calc/Angelzeit.h"
#include "platform/RuntimeError.h"
#include "store/ConvertToArray.h"
#include "store/Numbers.h"
#include "support/TestEnv.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString kHeader = u"Pic\tDatum\tFänger\tBeginn\tFangzeit\tEnde\tFischart\tGewicht\tGröße\t"
                        u"Gewässer\tAngelplatz\tMontage/Rig.\tKöder\tWetter\tLuft °C\tWasser °C\t"
                        u"Tiefe\tMondphase"_s;
const QString kRule = QString(230, u'=') + u"    "_s;

// One overview row: photo mark, TAB, date as shown, then fields 2..17.
QString row(const QString& date, const QString& begin, const QString& end, QChar mark = u' ')
{
    return QString(mark) + u'\t' + date + u"\tMax\t"_s + begin + u"\t07:15\t"_s + end
        + u"\tKarpfen\t2,50\t64\tBaggersee\tSteg 3\tFestblei\tBoilie\tsonnig\t+ 18\t+ 14\t2,5\t"
          u"Vollmond"_s;
}

QStringList listOf(const QStringList& catches)
{
    return QStringList { kHeader, kRule } + catches;
}

// The trip count exactly as the two nested loops over all rows describe it,
// kept literal on purpose to check the one-pass version against it.
qint32 referenceAngelzeit(const Env& env, const QStringList& rows)
{
    const int n = int(rows.size()) - 2;
    if (n <= 0)
        return 0;
    QStringList d(n);
    QList<qint16> b(n, 0);
    QList<qint16> e(n, 0);
    const auto minutes = [](const QString& t) {
        return qint16(ParseInt16(t.left(2)) * 60 + ParseInt16(t.right(2)));
    };
    for (int k = 0; k < n; ++k) {
        const RecordTable t = ConvertToArray(env, { rows[k + 2].mid(2) }, u"fisch"_s);
        const QStringList r = t.value(0, QStringList(17));
        d[k] = r.value(0);
        try {
            b[k] = minutes(r.value(2));
        } catch (const RuntimeError&) {
        }
        try {
            e[k] = minutes(r.value(4));
        } catch (const RuntimeError&) {
        }
    }
    qint32 total = 0;
    for (int j = 0; j < n; ++j) {
        for (int i = 0; i < n; ++i) {
            if (i != j && b[i] == b[j] && d[i] == d[j]) {
                b[i] = 0;
                e[i] = 0;
                d[i] = u"0"_s;
            }
        }
        total += qint16(e[j] - b[j]);
    }
    return total;
}

} // namespace

class TestAngelzeit : public QObject {
    Q_OBJECT

private slots:
    void trips_data()
    {
        QTest::addColumn<QStringList>("catches");
        QTest::addColumn<qint32>("minutes");
        QTest::addColumn<QStringList>("log");

        const QString day = u"01.05.2007"_s;
        const QStringList none;

        QTest::newRow("no catches") << QStringList() << 0 << none;
        QTest::newRow("one catch")
            << QStringList { row(day, u"08:00"_s, u"12:30"_s) } << 270 << none;
        QTest::newRow("one trip counts the end of its first row")
            << QStringList { row(day, u"06:00"_s, u"10:00"_s),
                   row(day, u"06:00"_s, u"11:00"_s, u'X'), row(day, u"06:00"_s, u"09:00"_s) }
            << 240 << none;
        QTest::newRow("two trips on one day")
            << QStringList { row(day, u"06:00"_s, u"08:00"_s), row(day, u"18:00"_s, u"20:00"_s) }
            << 240 << none;
        QTest::newRow("same start on two dates") << QStringList { row(day, u"06:00"_s, u"08:00"_s),
            row(u"02.05.2007"_s, u"06:00"_s, u"09:00"_s) }
                                                 << 300 << none;
        QTest::newRow("trip separated by another trip")
            << QStringList { row(day, u"06:00"_s, u"08:00"_s), row(day, u"18:00"_s, u"19:00"_s),
                   row(day, u"06:00"_s, u"23:00"_s) }
            << 180 << none;
        QTest::newRow("no adjustment across midnight")
            << QStringList { row(day, u"22:00"_s, u"02:00"_s) } << -1200 << none;

        const QStringList error13 { u"Funktion Angelzeit\tError (13)"_s };
        QTest::newRow("unreadable start counts as 00:00")
            << QStringList { row(day, u"9:30"_s, u"10:00"_s) } << 600 << error13;
        QTest::newRow("empty end counts as 00:00")
            << QStringList { row(day, u"06:00"_s, QString()) } << -360 << error13;
        // A start that cannot be read joins the trip that starts at 00:00.
        QTest::newRow("unreadable start joins the midnight trip")
            << QStringList { row(day, u"9:30"_s, u"10:00"_s), row(day, u"00:00"_s, u"05:00"_s) }
            << 600 << error13;

        // A row the record reader refuses keeps the fields read before the
        // failure; the rows after it still count.
        const QString shortRow = u" \t"_s + day + u"\tMax\t06:00\t07:00\t08:00\tKarpfen"_s;
        QTest::newRow("short row keeps its leading fields")
            << QStringList { shortRow, row(u"02.05.2007"_s, u"06:00"_s, u"07:00"_s) } << 180
            << QStringList { u"Funktion ConvertToArray\tError (6)"_s };
    }

    void trips()
    {
        QFETCH(QStringList, catches);
        QFETCH(qint32, minutes);
        QFETCH(QStringList, log);

        TestEnv t;
        QCOMPARE(Angelzeit(t.env, listOf(catches)), minutes);
        QCOMPARE(t.logEntries(), log);
    }

    void listWithoutHeaderLinesIsEmpty()
    {
        TestEnv t;
        QCOMPARE(Angelzeit(t.env, {}), 0);
        QCOMPARE(Angelzeit(t.env, { kHeader }), 0);
        QCOMPARE(t.logEntries(), QStringList());
    }

    // Random lists with many repeated trips, unreadable times and the odd
    // broken row, compared with the nested-loop reference.
    void matchesNestedLoops()
    {
        TestEnv t;
        QRandomGenerator rng(20070501);
        const QStringList dates { u"01.05.2007"_s, u"02.05.2007"_s, u"1.5.2007"_s, u"0"_s };
        const QStringList starts { u"06:00"_s, u"06:30"_s, u"00:00"_s, u"9:30"_s, QString(),
            u"22:00"_s };
        for (int round = 0; round < 400; ++round) {
            QStringList catches;
            const int n = int(rng.bounded(40));
            for (int k = 0; k < n; ++k) {
                const QString date = dates[rng.bounded(int(dates.size()))];
                const QString begin = starts[rng.bounded(int(starts.size()))];
                QString end = u"%1:%2"_s.arg(rng.bounded(24), 2, 10, QChar(u'0'))
                                  .arg(rng.bounded(60), 2, 10, QChar(u'0'));
                if (rng.bounded(10) == 0)
                    end = u"x"_s;
                QString r = row(date, begin, end, rng.bounded(2) ? u'X' : u' ');
                if (rng.bounded(25) == 0)
                    r.truncate(rng.bounded(int(r.size())));
                catches.append(r);
            }
            const QStringList rows = listOf(catches);
            QCOMPARE(Angelzeit(t.env, rows), referenceAngelzeit(t.env, rows));
        }
    }

    void fullListIsFast()
    {
        TestEnv t;
        QStringList catches;
        catches.reserve(32767);
        for (int k = 0; k < 32767; ++k) {
            const QString date = QDate(2000, 1, 1).addDays(k / 7).toString(u"dd.MM.yyyy"_s);
            catches.append(row(date, k % 2 ? u"06:00"_s : u"18:00"_s, u"20:00"_s));
        }
        const QStringList rows = listOf(catches);
        QElapsedTimer timer;
        timer.start();
        const qint32 minutes = Angelzeit(t.env, rows);
        const qint64 ms = timer.elapsed();
        qInfo("32767 rows in %lld ms", ms);
        // 4681 days with a morning and an evening trip each.
        QCOMPARE(minutes, 4681 * (840 + 120));
        // Far below what comparing every row with every other would take.
        QVERIFY2(ms < 250, qPrintable(u"took %1 ms"_s.arg(ms)));
    }
};

QTEST_GUILESS_MAIN(TestAngelzeit)
#include "tst_angelzeit.moc"
