#include "app/UpdateDB.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString kDb = u"db\\fänge\\db"_s;
const QString kDb2 = u"db\\fänge\\db2"_s;
const QString kVer = u"db\\db.ver"_s;

// A catch of format 101 (weight in grams) or, with `fields` 13, format 100;
// the umlauts must keep their one byte each.
QString old(const char* date, const char* grams, int fields = 17)
{
    const QStringList f = sampleCatch({ { 1, QString::fromLatin1(date) }, { 2, u"Jürgen"_s },
        { 7, QString::fromLatin1(grams) }, { 12, u"Köder ß"_s } });
    return fields == 17 ? f.join(u'\t') : f.mid(0, 13).join(u'\t') + u'\t';
}

// Makes the catch file and the version file (none when ver is null), runs
// UpdateDB from version `from` and returns the version reached.
qint16 run(const TestEnv& t, const QStringList& items, const QByteArray& ver, qint16 from)
{
    t.write(kDb, recordFileBytes(items));
    if (!ver.isNull())
        t.write(kVer, ver);
    UpdateDB(t.env, from);
    return from;
}

} // namespace

class TestUpdateDB : public QObject {
    Q_OBJECT

private slots:
    void convert_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<QStringList>("log");
        const auto row = [](const char* name, int from, const QStringList& before,
                             const QStringList& after, const QStringList& log = {}) {
            QTest::newRow(name) << from << before << after << log;
        };
        const char* d = "2000/01/21"; // a full moon
        row("empty file", 101, {}, {});
        row("grams to kilograms, order kept", 101, { old(d, "2500"), old("2001/02/03", "1234") },
            { old(d, "2,50"), old("2001/02/03", "1,23") });
        row("half up", 101, { old(d, "1005") }, { old(d, "1,01") });
        // A catch that cannot be converted is kept, not dropped.
        row("unreadable weight", 101, { old(d, "schwer"), old(d, "700") },
            { old(d, "schwer"), old(d, "0,70") }, { u"Sub UpdateDB\tError (13)"_s });
        const QString shortLine = old(d, "900").section(u'\t', 0, 15);
        row("too few fields", 101, { shortLine, old(d, "900") }, { shortLine, old(d, "0,90") },
            { u"Funktion ConvertToArray\tError (6)"_s, u"Sub UpdateDB\tError (6)"_s });
        row("100: full moon", 100, { old(d, "2500", 13) },
            { old(d, "2,50", 13) + u"0\t0\t0\tVollmond"_s });
        // An impossible date costs only the moon phase.
        row("100: bad date", 100, { old("2000/13/45", "100", 13) },
            { old("2000/13/45", "0,10", 13) + u"0\t0\t0\t"_s }, { u"Sub UpdateDB\tError (13)"_s });
        // Extended by an earlier run that ended before the version was written.
        row("100: already extended", 100, { old(d, "2500") }, { old(d, "2,50") });
        // Only digits are grams: a weight already in kilograms is never
        // divided again, whatever the version file says.
        row("kilograms kept", 101, { old(d, "20,48"), old(d, "2048") },
            { old(d, "20,48"), old(d, "2,05") });
        row("0 grams", 101, { old(d, "0") }, { old(d, "0,00") });
        row("100: extended, grams and kilograms", 100, { old(d, "900", 13), old(d, "0,90") },
            { old(d, "0,90", 13) + u"0\t0\t0\tVollmond"_s, old(d, "0,90") });
    }

    void convert()
    {
        QFETCH(int, from);
        QFETCH(QStringList, before);
        QFETCH(QStringList, after);
        TestEnv t;
        t.write(kDb2, "left over from an interrupted run\r\n");
        const QByteArray ver = from == 101 ? QByteArray("101\r\n") : QByteArray();
        QCOMPARE(int(run(t, before, ver, qint16(from))), 102);
        QCOMPARE(t.read(kDb), recordFileBytes(after));
        QCOMPARE(t.read(kVer), QByteArray("102\r\n"));
        QVERIFY(!QFile::exists(t.path(kDb2)));
        QTEST(t.logEntries(), "log");
    }

    void otherVersionsUntouched()
    {
        for (const qint16 v : { 0, 99, 102, 103 }) {
            TestEnv t;
            const QStringList items { old("2004/05/17", "2500") };
            QCOMPARE(run(t, items, "101\r\n", v), v);
            QCOMPARE(t.read(kDb), recordFileBytes(items));
            QCOMPARE(t.read(kVer), QByteArray("101\r\n"));
            QCOMPARE(t.logEntries(), QStringList());
        }
    }

    void missingCatchFileStops()
    {
        TestEnv t;
        t.write(kVer, "101\r\n");
        QVERIFY(QDir().mkpath(t.path(u"db\\fänge"_s)));
        qint16 version = 101;
        UpdateDB(t.env, version);
        QCOMPARE(version, qint16(101));
        QCOMPARE(t.read(kVer), QByteArray("101\r\n"));
        QCOMPARE(t.read(kDb), QByteArray("<missing>"));
        QCOMPARE(t.logEntries(), QStringList { u"Sub UpdateDB\tError (53)"_s });
    }

    // The new number never stands beside unconverted records, nor the old
    // number beside converted ones.
    void unwritableVersionFileKeepsOldRecords()
    {
        TestEnv t;
        QVERIFY(QDir().mkpath(t.path(kVer)));
        const QStringList items { old("2000/01/21", "2500", 13) };
        QCOMPARE(run(t, items, QByteArray(), 100), 100);
        QCOMPARE(t.read(kDb), recordFileBytes(items));
        QVERIFY(!QFile::exists(t.path(kDb2)));
        QCOMPARE(t.logEntries().size(), 1);
        QVERIFY(t.logEntries().value(0).startsWith(u"Sub UpdateDB\tError ("_s));
    }
};

QTEST_GUILESS_MAIN(TestUpdateDB)
#include "tst_updateDB.moc"
