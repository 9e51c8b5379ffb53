#include "app/CheckFiles.h"
#include "app/Settings.h"
#include "platform/Cp1252.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString kDb = u"db\\fänge\\db"_s;
const QString kCosts = u"db\\kosten\\db"_s;
const QString kVer = u"db\\db.ver"_s;
const QString kDummy = u"db\\bilder\\DUMMY.txt"_s;
const QString kLog = u"kescherheft.log"_s;
const QString kStart = u"PROGRAMM\tStart"_s;

const QByteArray kDummyBytes =
    "Please don't delete this File!\r\nBitte diese Datei nicht l\xF6schen!\r\n";

QStringList entries(const QString& dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

QStringList logOf(const TestEnv& t)
{
    if (!QFile::exists(t.path(kLog)))
        return {};
    return t.logEntries();
}

QString catch101(const QString& grams)
{
    return u"2000/01/21\tMax\t06:30\t06:45\t10:00\tKarpfen\t"_s + grams
           + u"\t84\tSee\tSteg\tFestblei\tBoilie\tsonnig\t0\t0\t0\tVollmond"_s;
}

QByteArray record(const QString& item) { return encode1252(u'"' + item + u"\"\r\n"_s); }

// A program directory as a previous run leaves it, first start done.
void installed(const TestEnv& t, const QByteArray& catches = QByteArray(""))
{
    for (const QString& d : {u"db/Kosten"_s, u"db/Fänge"_s, u"db/Bilder"_s})
        QDir().mkpath(t.dir() + u'/' + d);
    t.write(kDb, catches);
    t.write(kCosts, "");
    t.write(kVer, "102\r\n");
    t.write(kDummy, kDummyBytes);
    SettingsRecord s = DefaultSettings();
    t.write(u"settings.ini"_s, SettingsFileBytes(s, 0, false));
}

}  // namespace

class TestCheckFiles : public QObject {
    Q_OBJECT

private:
    TestEnv* m_t = nullptr;

private slots:
    void init() { m_t = new TestEnv; }
    void cleanup()
    {
        m_t->dialogs.verifyDone();
        delete m_t;
        m_t = nullptr;
    }

    void emptyProgramDirGetsTheLayout()
    {
        TestEnv& t = *m_t;
        t.dialogs.answer(MsgResult::No);  // the first-start question
        SettingsRecord s;
        CheckFiles(t.env, s);

        QCOMPARE(entries(t.dir()), (QStringList{u"db"_s, kLog, u"settings.ini"_s}));
        QCOMPARE(entries(t.dir() + u"/db"_s),
                 (QStringList{u"Bilder"_s, u"Fänge"_s, u"Kosten"_s, u"db.ver"_s}));
        QCOMPARE(entries(t.dir() + u"/db/Fänge"_s), QStringList{u"db"_s});
        QCOMPARE(entries(t.dir() + u"/db/Kosten"_s), QStringList{u"db"_s});
        QCOMPARE(entries(t.dir() + u"/db/Bilder"_s), QStringList{u"DUMMY.txt"_s});
        QCOMPARE(t.read(kDb), QByteArray(""));
        QCOMPARE(t.read(kCosts), QByteArray(""));
        QCOMPARE(t.read(kVer), QByteArray("102\r\n"));
        QCOMPARE(t.read(kDummy), kDummyBytes);
        QCOMPARE(t.read(kLog), QByteArray("17.05.2004\t14:30:00\tPROGRAMM\tStart\r\n"));

        QCOMPARE(t.dialogs.shown().size(), 1);
        QCOMPARE(t.dialogs.shown().first().icon, MsgIcon::Question);
        QVERIFY(t.dialogs.shown().first().text.startsWith(u"Vielen Dank"_s));
        QCOMPARE(s.MainHeight, qint16(1000));
        QCOMPARE(t.read(u"settings.ini"_s), SettingsFileBytes(DefaultSettings(), 0));
    }

    void existingFoldersInOtherCase_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::newRow("KOSTEN") << u"KOSTEN"_s;
        QTest::newRow("kosten") << u"kosten"_s;
        QTest::newRow("FÄNGE") << u"FÄNGE"_s;
        QTest::newRow("bilder") << u"bilder"_s;
    }

    void existingFoldersInOtherCase()
    {
        QFETCH(QString, folder);
        TestEnv& t = *m_t;
        installed(t);
        // Replace the installed spelling by the one under test.
        const QString db = t.dir() + u"/db/"_s;
        for (const QString& e : entries(db)) {
            if (e.compare(folder, Qt::CaseInsensitive) == 0)
                QVERIFY(QDir(db).rename(e, folder));
        }
        t.write(kCosts, record(u"2004/05/17\tAngelladen\t1\tHaken\t4,50 €\t0,00 €\t4,50 €\t4,50 €"_s));
        const QByteArray costs = t.read(kCosts);

        SettingsRecord s;
        CheckFiles(t.env, s);

        const QStringList after = entries(db);
        QCOMPARE(after.size(), 4);
        QVERIFY(after.contains(folder));
        QCOMPARE(t.read(kCosts), costs);
        QCOMPARE(logOf(t), QStringList{kStart});
    }

    void logSizeLimit_data()
    {
        QTest::addColumn<qint64>("size");
        QTest::addColumn<bool>("kept");
        QTest::newRow("at the limit") << qint64(1048576) << true;
        QTest::newRow("one byte more") << qint64(1048577) << false;
        QTest::newRow("two million") << qint64(2000000) << false;
    }

    void logSizeLimit()
    {
        QFETCH(qint64, size);
        QFETCH(bool, kept);
        TestEnv& t = *m_t;
        installed(t);
        t.write(kLog, QByteArray(size, 'x'));
        SettingsRecord s;
        CheckFiles(t.env, s);

        const QByteArray start = "17.05.2004\t14:30:00\tPROGRAMM\tStart\r\n";
        const QByteArray log = t.read(kLog);
        if (kept)
            QCOMPARE(log, QByteArray(size, 'x') + start);
        else
            QCOMPARE(log, start);
    }

    void leftoversRemoved()
    {
        TestEnv& t = *m_t;
        installed(t);
        const QStringList pages = {u"front.html"_s, u"faenge.html"_s, u"kosten.html"_s,
                                   u"empty.html"_s, u"OLD.HTML"_s};
        for (const QString& p : pages)
            t.write(p, "<html></html>");
        t.write(u"setup.exe"_s, "MZ");
        t.write(u"help\\index.html"_s, "help");
        t.write(u"db\\bilder\\keep.html"_s, "keep");
        t.write(u"notes.htm"_s, "htm");
        t.write(u"page.html.bak"_s, "bak");

        SettingsRecord s;
        CheckFiles(t.env, s);

        QCOMPARE(entries(t.dir()), (QStringList{u"db"_s, u"help"_s, kLog, u"notes.htm"_s,
                                                u"page.html.bak"_s, u"settings.ini"_s}));
        QCOMPARE(t.read(u"help\\index.html"_s), QByteArray("help"));
        QCOMPARE(t.read(u"db\\bilder\\keep.html"_s), QByteArray("keep"));
        QCOMPARE(logOf(t), QStringList{kStart});
    }

    void dummyRecreatedPhotosUntouched()
    {
        TestEnv& t = *m_t;
        installed(t);
        QVERIFY(QFile::remove(t.path(kDummy)));
        const QByteArray photo("\xFF\xD8\xFF\xE0 jpeg bytes", 16);
        t.write(u"db\\bilder\\17.05.2004_06-45-00.jpg"_s, photo);

        SettingsRecord s;
        CheckFiles(t.env, s);

        QCOMPARE(t.read(kDummy), kDummyBytes);
        QCOMPARE(t.read(u"db\\bilder\\17.05.2004_06-45-00.jpg"_s), photo);
        QCOMPARE(entries(t.dir() + u"/db/Bilder"_s).size(), 2);

        // A marker that is present is left as it is.
        t.write(kDummy, "changed");
        CheckFiles(t.env, s);
        QCOMPARE(t.read(kDummy), QByteArray("changed"));
    }

    void versionDecidesMigration_data()
    {
        QTest::addColumn<QByteArray>("ver");  // null: no version file
        QTest::addColumn<QByteArray>("catches");
        QTest::addColumn<QByteArray>("catchesAfter");
        QTest::addColumn<QByteArray>("verAfter");
        QTest::addColumn<QStringList>("logged");

        const QByteArray v101 = record(catch101(u"2500"_s));
        const QByteArray v102 = record(catch101(u"2,50"_s));
        QString old100 = catch101(u"2500"_s);
        old100.truncate(old100.indexOf(u"\t0\t0\t0\t"_s) + 1);
        const QByteArray v100 = record(old100);

        QTest::newRow("101") << QByteArray("101\r\n") << v101 << v102 << QByteArray("102\r\n")
                             << QStringList{kStart};
        QTest::newRow("101 with blanks") << QByteArray(" 101 \r\n") << v101 << v102
                                         << QByteArray("102\r\n") << QStringList{kStart};
        QTest::newRow("100") << QByteArray("100\r\n") << v100 << v102 << QByteArray("102\r\n")
                             << QStringList{kStart};
        QTest::newRow("no version file") << QByteArray() << v100 << v102
                                         << QByteArray("102\r\n") << QStringList{kStart};
        QTest::newRow("102") << QByteArray("102\r\n") << v101 << v101 << QByteArray("102\r\n")
                             << QStringList{kStart};
        QTest::newRow("later format") << QByteArray("250\r\n") << v101 << v101
                                      << QByteArray("250\r\n") << QStringList{kStart};
        QTest::newRow("abc") << QByteArray("abc\r\n") << v101 << v101 << QByteArray("abc\r\n")
                             << QStringList{kStart, u"Sub CheckFiles\tError (13)"_s};
        QTest::newRow("empty version file")
            << QByteArray("") << v101 << v101 << QByteArray("")
            << QStringList{kStart, u"Sub CheckFiles\tError (13)"_s};
        QTest::newRow("out of range") << QByteArray("40000\r\n") << v101 << v101
                                      << QByteArray("40000\r\n")
                                      << QStringList{kStart, u"Sub CheckFiles\tError (6)"_s};
    }

    void versionDecidesMigration()
    {
        QFETCH(QByteArray, ver);
        QFETCH(QByteArray, catches);
        QFETCH(QByteArray, catchesAfter);
        QFETCH(QByteArray, verAfter);
        QFETCH(QStringList, logged);
        TestEnv& t = *m_t;
        installed(t, catches);
        if (ver.isNull())
            QVERIFY(QFile::remove(t.path(kVer)));
        else
            t.write(kVer, ver);

        SettingsRecord s;
        CheckFiles(t.env, s);

        QCOMPARE(t.read(kDb), catchesAfter);
        QCOMPARE(t.read(kVer), verAfter);
        QVERIFY(!QFile::exists(t.path(u"db\\fänge\\db2"_s)));
        QCOMPARE(logOf(t), logged);
    }

    // Running as any user, permissions cannot be relied on to refuse a
    // write; a file standing where a folder belongs (and the reverse) does.
    void unwritablePlacesDoNotStopTheCheck_data()
    {
        QTest::addColumn<QString>("blocker");
        QTest::addColumn<bool>("asDir");
        QTest::addColumn<bool>("firstStart");
        QTest::newRow("db is a file") << u"db"_s << false << true;
        QTest::newRow("log is a folder") << kLog << true << true;
        QTest::newRow("catch folder is a file") << u"db\\Fänge"_s << false << true;
        QTest::newRow("settings is a folder") << u"settings.ini"_s << true << false;
    }

    void unwritablePlacesDoNotStopTheCheck()
    {
        QFETCH(QString, blocker);
        QFETCH(bool, asDir);
        QFETCH(bool, firstStart);
        TestEnv& t = *m_t;
        if (asDir) {
            QVERIFY(QDir().mkpath(t.path(blocker)));
        } else {
            QVERIFY(QDir().mkpath(QFileInfo(t.path(blocker)).absolutePath()));
            t.write(blocker, "in the way");
        }
        if (firstStart)
            t.dialogs.answer(MsgResult::Yes);

        SettingsRecord s;
        CheckFiles(t.env, s);

        // The check ran to its end: the settings step came after every failure.
        if (firstStart) {
            QCOMPARE(s.MainWindowState, qint16(2));
            QCOMPARE(t.read(u"settings.ini"_s), SettingsFileBytes(DefaultSettings(), 0));
        }
        if (asDir || blocker != u"db")
            QCOMPARE(t.read(kCosts), QByteArray(""));
        const QStringList log = logOf(t);
        if (blocker != kLog) {
            QCOMPARE(log.first(), kStart);
            QVERIFY(log.size() > 1);
            for (const QString& line : log.mid(1))
                QVERIFY2(line.contains(u"\tError ("_s), qPrintable(line));
        }
    }
};

QTEST_GUILESS_MAIN(TestCheckFiles)
#include "tst_checkFiles.moc"
