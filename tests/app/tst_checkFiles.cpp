// The start's check of the program directory: the layout with its exact
// bytes, leftovers removed and folders in other letter case kept, the error
// log's size bound, the catch file's format decided by db.ver, and places
// blocked by a file or a folder, logged without stopping the check.
#include "app/CheckFiles.h"
#include "app/Settings.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString kDb = u"db\\fänge\\db"_s;
const QString kVer = u"db\\db.ver"_s;
const QString kDummy = u"db\\bilder\\DUMMY.txt"_s;
const QString kLog = u"kescherheft.log"_s;
const QString kStart = u"PROGRAMM\tStart"_s;
const QByteArray kStartLine = "17.05.2004\t14:30:00\tPROGRAMM\tStart\r\n";
const QByteArray kDummyBytes
    = "Please don't delete this File!\r\nBitte diese Datei nicht l\xF6schen!\r\n";

QString entries(const QString& dir)
{
    return QDir(dir)
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name)
        .join(u' ');
}

} // namespace

class TestCheckFiles : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnv> m_t = std::make_unique<TestEnv>();
    SettingsRecord m_s;

    // The program directory as an earlier run leaves it, first start done.
    void installed(const QByteArray& catches = "")
    {
        m_t->dialogs.answer(MsgResult::No);
        CheckFiles(m_t->env, m_s);
        SaveSettings(m_t->env, m_s);
        QFile::remove(m_t->path(kLog));
        m_t->write(kDb, catches);
    }

private slots:
    void cleanup() { m_t = std::make_unique<TestEnv>(); }

    void emptyProgramDirGetsTheLayout()
    {
        m_t->dialogs.answer(MsgResult::No); // the first-start question
        CheckFiles(m_t->env, m_s);
        QCOMPARE(entries(m_t->dir()), u"db kescherheft.log settings.ini"_s);
        QCOMPARE(entries(m_t->dir() + u"/db"_s), u"Bilder Fänge Kosten db.ver"_s);
        QCOMPARE(entries(m_t->dir() + u"/db/Bilder"_s), u"DUMMY.txt"_s);
        QCOMPARE(m_t->read(kDb) + m_t->read(u"db\\kosten\\db"_s), QByteArray(""));
        QCOMPARE(m_t->read(kVer), QByteArray("102\r\n"));
        QCOMPARE(m_t->read(kDummy), kDummyBytes);
        QCOMPARE(m_t->read(kLog), kStartLine);
        QCOMPARE(m_t->read(u"settings.ini"_s), SettingsFileBytes(DefaultSettings(), 0));
    }

    // Report pages and an installer of the last run go; photos, other
    // pages and folders in another letter case stay.
    void leftoversRemovedTheRestKept()
    {
        installed();
        const QString db = m_t->dir() + u"/db/"_s;
        QVERIFY(QDir(db).rename(u"Kosten"_s, u"KOSTEN"_s) && QDir(db).rename(u"Fänge"_s, u"FÄNGE"_s)
            && QDir(db).rename(u"Bilder"_s, u"bilder"_s));
        for (const QString& p :
            { u"front.html"_s, u"OLD.HTML"_s, u"setup.exe"_s, u"notes.htm"_s, u"page.html.bak"_s,
                u"help\\index.html"_s, u"db\\bilder\\keep.html"_s, u"db\\kosten\\db"_s })
            m_t->write(p, "x");
        QVERIFY(QFile::remove(m_t->path(kDummy)));
        CheckFiles(m_t->env, m_s);
        QCOMPARE(
            entries(m_t->dir()), u"db help kescherheft.log notes.htm page.html.bak settings.ini"_s);
        QCOMPARE(entries(m_t->dir() + u"/help"_s), u"index.html"_s);
        QCOMPARE(entries(db), u"FÄNGE KOSTEN bilder db.ver"_s);
        QCOMPARE(entries(db + u"bilder"_s), u"DUMMY.txt keep.html"_s);
        QCOMPARE(m_t->read(u"db\\kosten\\db"_s), QByteArray("x"));
        QCOMPARE(m_t->read(kDummy), kDummyBytes);
        QCOMPARE(m_t->logEntries(), QStringList { kStart });
    }

    void logSizeLimit_data()
    {
        QTest::addColumn<qint64>("size");
        QTest::addColumn<bool>("kept");
        QTest::newRow("at the limit") << qint64(1048576) << true;
        QTest::newRow("one byte more") << qint64(1048577) << false;
    }

    void logSizeLimit()
    {
        QFETCH(qint64, size);
        QFETCH(bool, kept);
        installed();
        m_t->write(kLog, QByteArray(size, 'x'));
        CheckFiles(m_t->env, m_s);
        QCOMPARE(m_t->read(kLog), kept ? QByteArray(size, 'x') + kStartLine : kStartLine);
    }

    // The conversions themselves are the start's update step's; here only
    // whether the version file leads to one.
    void versionDecidesMigration_data()
    {
        QTest::addColumn<QByteArray>("ver"); // null: no version file
        QTest::addColumn<int>("fields"); // of the catch record, 13: format 100
        QTest::addColumn<bool>("converted");
        QTest::addColumn<QString>("error"); // logged under "Sub CheckFiles"
        QTest::newRow("101 with blanks") << QByteArray(" 101 \r\n") << 17 << true << QString();
        QTest::newRow("no version file: 100") << QByteArray() << 13 << true << QString();
        QTest::newRow("later format") << QByteArray("250\r\n") << 17 << false << QString();
        QTest::newRow("abc") << QByteArray("abc\r\n") << 17 << false << u"Error (13)"_s;
        QTest::newRow("out of range") << QByteArray("40000\r\n") << 17 << false << u"Error (6)"_s;
    }

    void versionDecidesMigration()
    {
        QFETCH(QByteArray, ver);
        QFETCH(int, fields);
        QFETCH(bool, converted);
        QFETCH(QString, error);
        const QStringList grams = sampleCatch({ { 7, u"2500"_s } });
        const QByteArray catches = recordFileBytes(
            { fields == 17 ? grams.join(u'\t') : grams.mid(0, 13).join(u'\t') + u'\t' });
        installed(catches);
        if (ver.isNull())
            QVERIFY(QFile::remove(m_t->path(kVer)));
        else
            m_t->write(kVer, ver);
        CheckFiles(m_t->env, m_s);
        QCOMPARE(m_t->read(kDb).contains("\t2,50\t"), converted);
        QCOMPARE(m_t->read(kVer), converted ? QByteArray("102\r\n") : ver);
        QVERIFY(!QFile::exists(m_t->path(u"db\\fänge\\db2"_s)));
        QCOMPARE(m_t->logEntries(),
            QStringList { kStart }
                + (error.isEmpty() ? QStringList()
                                   : QStringList { u"Sub CheckFiles\t"_s + error }));
    }

    // A file where a folder belongs (or the reverse) refuses writes for any
    // user; the check logs it and still runs to its end.
    void blockedPlacesDoNotStopTheCheck_data()
    {
        QTest::addColumn<QString>("blocker");
        QTest::addColumn<bool>("asDir");
        QTest::newRow("db is a file") << u"db"_s << false;
        QTest::newRow("log is a folder") << kLog << true;
        QTest::newRow("catch folder is a file") << u"db\\Fänge"_s << false;
        QTest::newRow("settings is a folder") << u"settings.ini"_s << true;
    }

    void blockedPlacesDoNotStopTheCheck()
    {
        QFETCH(QString, blocker);
        QFETCH(bool, asDir);
        if (asDir)
            QVERIFY(QDir().mkpath(m_t->path(blocker)));
        else
            m_t->write(blocker, "in the way");
        const bool firstStart = blocker != u"settings.ini";
        if (firstStart)
            m_t->dialogs.answer(MsgResult::Yes);
        CheckFiles(m_t->env, m_s);
        if (firstStart) // the settings step comes last
            QCOMPARE(m_s.MainWindowState, qint16(2));
        const QStringList log = m_t->logEntries();
        if (blocker == kLog)
            return;
        QCOMPARE(log.value(0), kStart);
        QVERIFY(log.size() > 1);
        for (const QString& line : log.mid(1))
            QVERIFY2(line.contains(u"\tError ("_s), qPrintable(line));
    }
};

QTEST_GUILESS_MAIN(TestCheckFiles)
#include "tst_checkFiles.moc"
