#include "platform/Clock.h"
#include "platform/ErrorLog.h"
#include "support/TestEnv.h"

#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <stdexcept>

using namespace Qt::StringLiterals;

class TestErrorLog : public QObject {
    Q_OBJECT

private slots:
    void lineForm_data();
    void lineForm();
    void appendsInOrderToExistingLog();
    void unwritableLogIsSkipped();
    void trapLogsAndGoesOn();
};

void TestErrorLog::lineForm_data()
{
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<QString>("place");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("error line") << QDateTime(QDate(2007, 12, 5), QTime(21, 38, 39))
                                << u"Sub CheckFiles"_s << u"Error (53)"_s
                                << QByteArray(
                                       "05.12.2007\t21:38:39\tSub CheckFiles\tError (53)\r\n");
    QTest::newRow("leading zeros, morning")
        << QDateTime(QDate(2004, 1, 2), QTime(3, 4, 5)) << u"PROGRAMM"_s << u"Start"_s
        << QByteArray("02.01.2004\t03:04:05\tPROGRAMM\tStart\r\n");
    QTest::newRow("afternoon is 24-hour")
        << QDateTime(QDate(2004, 5, 17), QTime(23, 0, 0)) << u"PROGRAMM"_s << u"Ende"_s
        << QByteArray("17.05.2004\t23:00:00\tPROGRAMM\tEnde\r\n");
    QTest::newRow("umlaut as one byte")
        << QDateTime(QDate(2004, 5, 17), QTime(14, 30)) << u"Sub \u00C4nderung"_s << u"Error (13)"_s
        << QByteArray("17.05.2004\t14:30:00\tSub \xC4nderung\tError (13)\r\n");
}

void TestErrorLog::lineForm()
{
    QFETCH(QDateTime, now);
    QFETCH(QString, place);
    QFETCH(QString, message);
    QFETCH(QByteArray, bytes);
    TestEnv t;
    t.clock.set(now);
    WriteLog(t.env, place, message);
    QCOMPARE(t.read(u"kescherheft.log"_s), bytes);
}

void TestErrorLog::appendsInOrderToExistingLog()
{
    TestEnv t;
    // An existing log in other letter case is the same file.
    t.write(u"KESCHERHEFT.LOG"_s, "alt\r\n");
    WriteLog(t.env, u"PROGRAMM"_s, u"Start"_s);
    t.clock.set(t.clock.now().addSecs(1));
    WriteLog(t.env, u"PROGRAMM"_s, u"Ende"_s);
    QCOMPARE(t.read(u"KESCHERHEFT.LOG"_s),
        QByteArray("alt\r\n17.05.2004\t14:30:00\tPROGRAMM\tStart\r\n"
                   "17.05.2004\t14:30:01\tPROGRAMM\tEnde\r\n"));
    QVERIFY(!QFileInfo::exists(t.dir() + u"/kescherheft.log"_s));
}

void TestErrorLog::unwritableLogIsSkipped()
{
    TestEnv t;
    Env env = t.env;
    env.programDir = t.dir() + u"/gibt-es-nicht"_s;
    WriteLog(env, u"Sub Main"_s, u"Error (5)"_s); // must neither throw nor create folders
    QVERIFY(!QFileInfo::exists(env.programDir));
}

void TestErrorLog::trapLogsAndGoesOn()
{
    TestEnv t;
    ErrorTrap trap(t.env, u"Sub CheckFiles"_s);
    QStringList ran;
    QVERIFY(!trap.step([&] {
        ran << u"1"_s;
        throw RuntimeError { Err::FileNotFound };
    }));
    QVERIFY(trap.step([&] { ran << u"2"_s; }));
    QVERIFY(!trap.step([&] {
        ran << u"3"_s;
        throw RuntimeError { Err::TypeMismatch };
    }));
    QVERIFY(!trap.step([&] {
        ran << u"4"_s;
        throw std::runtime_error("x");
    }));
    QVERIFY(trap.step([&] { ran << u"5"_s; }));
    QCOMPARE(ran, (QStringList { u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s }));
    QCOMPARE(t.logEntries(),
        (QStringList { u"Sub CheckFiles\tError (53)"_s, u"Sub CheckFiles\tError (13)"_s,
            u"Sub CheckFiles\tError (5)"_s }));
    QCOMPARE(t.read(u"kescherheft.log"_s).left(29), QByteArray("17.05.2004\t14:30:00\tSub Check"));
}

QTEST_GUILESS_MAIN(TestErrorLog)
#include "tst_errorlog.moc"
