#include "app/UpdateDB.h"
#include "platform/Cp1252.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString kDb = u"db\\fänge\\db"_s;
const QString kDb2 = u"db\\fänge\\db2"_s;
const QString kVer = u"db\\db.ver"_s;

// Fields 1..13 of a catch as the old formats hold them; weight in grams.
QStringList oldFields(const QString& date, const QString& grams)
{
    return {date,         u"Jürgen"_s, u"06:30"_s,   u"06:45"_s,     u"10:00"_s,
            u"Karpfen*"_s, grams,      u"84"_s,      u"Baggersee"_s, u"Steg 3"_s,
            u"Festblei"_s, u"Köder ß"_s, u"sonnig"_s};
}

QString line100(const QString& date, const QString& grams)
{
    return oldFields(date, grams).join(u'\t') + u'\t';
}

QString line101(const QString& date, const QString& grams, const QString& phase = u"Vollmond"_s)
{
    return (oldFields(date, grams) + QStringList{u"+ 18"_s, u"-3"_s, u"2,5"_s, phase}).join(u'\t');
}

QByteArray fileOf(const QStringList& items)
{
    QString text;
    for (const QString& i : items)
        text += u'"' + i + u"\"\r\n"_s;
    return encode1252(text);
}

QStringList logOf(const TestEnv& t)
{
    if (!QFile::exists(t.path(u"kescherheft.log"_s)))
        return {};
    return t.logEntries();
}

void makeLayout(const TestEnv& t, const QByteArray& db, const QByteArray& ver)
{
    QVERIFY(QDir().mkpath(t.dir() + u"/db/Fänge"_s));
    t.write(kDb, db);
    if (!ver.isNull())
        t.write(kVer, ver);
}

}  // namespace

class TestUpdateDB : public QObject {
    Q_OBJECT

private slots:
    void gramsToKilograms_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<QStringList>("logged");

        const QString d = u"2004/05/17"_s;
        QTest::newRow("2500") << QStringList{line101(d, u"2500"_s)}
                              << QStringList{line101(d, u"2,50"_s)} << QStringList();
        QTest::newRow("1234") << QStringList{line101(d, u"1234"_s)}
                              << QStringList{line101(d, u"1,23"_s)} << QStringList();
        QTest::newRow("half up") << QStringList{line101(d, u"1005"_s)}
                                 << QStringList{line101(d, u"1,01"_s)} << QStringList();
        QTest::newRow("order kept")
            << QStringList{line101(d, u"12500"_s), line101(u"2001/02/03"_s, u"800"_s, QString())}
            << QStringList{line101(d, u"12,50"_s), line101(u"2001/02/03"_s, u"0,80"_s, QString())}
            << QStringList();
        // A catch whose weight cannot be read is kept, not dropped.
        QTest::newRow("unreadable weight")
            << QStringList{line101(d, u"schwer"_s), line101(d, u"700"_s)}
            << QStringList{line101(d, u"schwer"_s), line101(d, u"0,70"_s)}
            << QStringList{u"Sub UpdateDB\tError (13)"_s};
        QString shortLine = line101(d, u"900"_s);
        shortLine.truncate(shortLine.lastIndexOf(u'\t'));
        QTest::newRow("too few fields")
            << QStringList{shortLine, line101(d, u"900"_s)}
            << QStringList{shortLine, line101(d, u"0,90"_s)}
            << QStringList{u"Funktion ConvertToArray\tError (6)"_s, u"Sub UpdateDB\tError (6)"_s};
    }

    void gramsToKilograms()
    {
        QFETCH(QStringList, before);
        QFETCH(QStringList, after);
        QFETCH(QStringList, logged);
        TestEnv t;
        makeLayout(t, fileOf(before), "101\r\n");

        qint16 version = 101;
        UpdateDB(t.env, version);

        QCOMPARE(version, qint16(102));
        QCOMPARE(t.read(kDb), fileOf(after));
        QCOMPARE(t.read(kVer), QByteArray("102\r\n"));
        QVERIFY(!QFile::exists(t.path(kDb2)));
        QCOMPARE(logOf(t), logged);
    }

    void format100_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QStringList>("logged");

        QTest::newRow("full moon")
            << line100(u"2000/01/21"_s, u"2500"_s)
            << line100(u"2000/01/21"_s, u"2,50"_s) + u"0\t0\t0\tVollmond"_s << QStringList();
        // An impossible date costs only the phase, not the catch.
        QTest::newRow("bad date")
            << line100(u"2000/13/45"_s, u"100"_s)
            << line100(u"2000/13/45"_s, u"0,10"_s) + u"0\t0\t0\t"_s
            << QStringList{u"Sub UpdateDB\tError (13)"_s};
        // A line already extended (an earlier run ended before the version
        // file was written) is not extended a second time.
        QTest::newRow("already extended")
            << line101(u"2000/01/21"_s, u"2500"_s) << line101(u"2000/01/21"_s, u"2,50"_s)
            << QStringList();
    }

    void format100()
    {
        QFETCH(QString, before);
        QFETCH(QString, after);
        QFETCH(QStringList, logged);
        TestEnv t;
        makeLayout(t, fileOf({before}), QByteArray());  // no version file: format 100

        qint16 version = 100;
        UpdateDB(t.env, version);

        QCOMPARE(version, qint16(102));
        QCOMPARE(t.read(kDb), fileOf({after}));
        QCOMPARE(t.read(kVer), QByteArray("102\r\n"));
        QVERIFY(!QFile::exists(t.path(kDb2)));
        QCOMPARE(logOf(t), logged);
    }

    void emptyFile()
    {
        TestEnv t;
        makeLayout(t, QByteArray(""), "101\r\n");
        t.write(kDb2, "left over from an interrupted run\r\n");
        qint16 version = 101;
        UpdateDB(t.env, version);
        QCOMPARE(version, qint16(102));
        QCOMPARE(t.read(kDb), QByteArray(""));
        QCOMPARE(t.read(kVer), QByteArray("102\r\n"));
        QVERIFY(!QFile::exists(t.path(kDb2)));
        QVERIFY(logOf(t).isEmpty());
    }

    void otherVersionsUntouched_data()
    {
        QTest::addColumn<int>("start");
        QTest::newRow("102") << 102;
        QTest::newRow("0") << 0;
        QTest::newRow("99") << 99;
        QTest::newRow("103") << 103;
        QTest::newRow("-100") << -100;
    }

    void otherVersionsUntouched()
    {
        QFETCH(int, start);
        TestEnv t;
        const QByteArray db = fileOf({line101(u"2004/05/17"_s, u"2500"_s)});
        makeLayout(t, db, "101\r\n");
        qint16 version = static_cast<qint16>(start);
        UpdateDB(t.env, version);
        QCOMPARE(version, qint16(start));
        QCOMPARE(t.read(kDb), db);
        QCOMPARE(t.read(kVer), QByteArray("101\r\n"));
        QVERIFY(!QFile::exists(t.path(kDb2)));
        QVERIFY(logOf(t).isEmpty());
    }

    void missingCatchFileStops()
    {
        TestEnv t;
        QVERIFY(QDir().mkpath(t.dir() + u"/db/Fänge"_s));
        t.write(kVer, "101\r\n");
        qint16 version = 101;
        UpdateDB(t.env, version);
        QCOMPARE(version, qint16(101));
        QCOMPARE(t.read(kVer), QByteArray("101\r\n"));
        QVERIFY(!QFile::exists(t.path(kDb)));
        QCOMPARE(logOf(t), QStringList{u"Sub UpdateDB\tError (53)"_s});
    }

    // The new number must never stand beside records that were not
    // converted, nor the old number beside records that were.
    void unwritableVersionFileKeepsOldRecords()
    {
        TestEnv t;
        const QByteArray db = fileOf({line100(u"2000/01/21"_s, u"2500"_s)});
        makeLayout(t, db, QByteArray());
        QVERIFY(QDir().mkpath(t.path(kVer)));  // a folder where the file belongs
        qint16 version = 100;
        UpdateDB(t.env, version);
        QCOMPARE(version, qint16(100));
        QCOMPARE(t.read(kDb), db);
        QVERIFY(!QFile::exists(t.path(kDb2)));
        const QStringList log = logOf(t);
        QCOMPARE(log.size(), 1);
        QVERIFY(log.first().startsWith(u"Sub UpdateDB\tError ("_s));
    }
};

QTEST_GUILESS_MAIN(TestUpdateDB)
#include "tst_updateDB.moc"
