// The catch file's conversions at the start: grams to kilograms (101 to
// 102) and the fields added to format 100, record by record, with the
// version file written only once the records are converted.
#include "app/UpdateDB.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString kDb = u"db\\fänge\\db"_s;
const QString kVer = u"db\\db.ver"_s;

// A catch of format 101 (weight in grams) or, with `fields` 13, format 100;
// the umlauts must keep their one byte each.
QString old(const char* date, const char* grams, int fields = 17)
{
    const QStringList f = sampleCatch({ { 1, QString::fromLatin1(date) }, { 2, u"Jürgen"_s },
        { 7, QString::fromLatin1(grams) }, { 12, u"Köder ß"_s } });
    return fields == 17 ? f.join(u'\t') : f.mid(0, 13).join(u'\t') + u'\t';
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
        row("grams to kilograms, order kept", 101, { old(d, "2500"), old("2001/02/03", "1234") },
            { old(d, "2,50"), old("2001/02/03", "1,23") });
        row("half up", 101, { old(d, "1005") }, { old(d, "1,01") });
        // A catch that cannot be converted is kept, not dropped.
        row("unreadable weight", 101, { old(d, "schwer"), old(d, "0") },
            { old(d, "schwer"), old(d, "0,00") }, { u"Sub UpdateDB\tError (13)"_s });
        const QString shortLine = old(d, "900").section(u'\t', 0, 15);
        row("too few fields", 101, { shortLine, old(d, "900") }, { shortLine, old(d, "0,90") },
            { u"Funktion ConvertToArray\tError (6)"_s, u"Sub UpdateDB\tError (6)"_s });
        // Only digits are grams: a weight already in kilograms is never
        // divided again, whatever the version file says.
        row("kilograms kept", 101, { old(d, "20,48"), old(d, "2048") },
            { old(d, "20,48"), old(d, "2,05") });
        row("100: full moon", 100, { old(d, "2500", 13) },
            { old(d, "2,50", 13) + u"0\t0\t0\tVollmond"_s });
        // An impossible date costs only the moon phase.
        row("100: bad date", 100, { old("2000/13/45", "100", 13) },
            { old("2000/13/45", "0,10", 13) + u"0\t0\t0\t"_s }, { u"Sub UpdateDB\tError (13)"_s });
        // Extended by an earlier run that ended before the version was written.
        row("100: already extended", 100, { old(d, "2500"), old(d, "0,90") },
            { old(d, "2,50"), old(d, "0,90") });
    }

    void convert()
    {
        QFETCH(int, from);
        QFETCH(QStringList, before);
        TestEnv t;
        t.write(u"db\\fänge\\db2"_s, "left over from an interrupted run\r\n");
        t.write(kDb, recordFileBytes(before));
        if (from == 101)
            t.write(kVer, "101\r\n");
        qint16 version = qint16(from);
        UpdateDB(t.env, version);
        QCOMPARE(version, qint16(102));
        QFETCH(QStringList, after);
        QCOMPARE(t.read(kDb), recordFileBytes(after));
        QCOMPARE(t.read(kVer), QByteArray("102\r\n"));
        QVERIFY(!QFile::exists(t.path(u"db\\fänge\\db2"_s)));
        QTEST(t.logEntries(), "log");
    }

    // Other versions, a missing catch file and a version file that cannot
    // be written leave the records and the number as they were: the new
    // number never stands beside unconverted records, nor the old number
    // beside converted ones.
    void nothingConverted_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<QString>("blocked"); // the file missing, or a folder in its place
        QTest::addColumn<QString>("error"); // the start of the one log line, if any
        QTest::newRow("99") << 99 << QString() << QString();
        QTest::newRow("102") << 102 << QString() << QString();
        QTest::newRow("no catch file") << 101 << kDb << u"Sub UpdateDB\tError (53)"_s;
        QTest::newRow("version file not writable") << 100 << kVer << u"Sub UpdateDB\tError ("_s;
    }

    void nothingConverted()
    {
        QFETCH(int, from);
        QFETCH(QString, blocked);
        QFETCH(QString, error);
        TestEnv t;
        const QByteArray records
            = recordFileBytes({ old("2000/01/21", "2500", from == 100 ? 13 : 17) });
        if (blocked == kDb)
            QVERIFY(QDir().mkpath(t.path(u"db\\fänge"_s)));
        else
            t.write(kDb, records);
        if (blocked == kVer)
            QVERIFY(QDir().mkpath(t.path(kVer)));
        else
            t.write(kVer, "101\r\n");
        qint16 version = qint16(from);
        UpdateDB(t.env, version);
        QCOMPARE(version, qint16(from));
        if (blocked != kDb)
            QCOMPARE(t.read(kDb), records);
        if (blocked != kVer)
            QCOMPARE(t.read(kVer), QByteArray("101\r\n"));
        QVERIFY(!QFile::exists(t.path(u"db\\fänge\\db2"_s)));
        const QStringList log = t.logEntries();
        QCOMPARE(log.size(), error.isEmpty() ? 0 : 1);
        QVERIFY(log.value(0).startsWith(error));
    }
};

QTEST_GUILESS_MAIN(TestUpdateDB)
#include "tst_updateDB.moc"
