#include "platform/ErrorLog.h"
#include "support/TestEnv.h"

#include <QFileInfo>
#include <QTest>

#include <stdexcept>

using namespace Qt::StringLiterals;

class TestErrorLog : public QObject {
    Q_OBJECT

private slots:
    void linesAppendToTheLogInAnyCase()
    {
        TestEnv t;
        t.write(u"KESCHERHEFT.LOG"_s, "alt\r\n");
        t.clock.set(QDateTime(QDate(2007, 12, 5), QTime(21, 38, 39)));
        WriteLog(t.env, u"Sub CheckFiles"_s, u"Error (53)"_s);
        t.clock.set(QDateTime(QDate(2004, 1, 2), QTime(3, 4, 5)));
        WriteLog(t.env, u"Sub Änderung"_s, u"Ende"_s);
        QCOMPARE(t.read(u"KESCHERHEFT.LOG"_s),
            QByteArray("alt\r\n05.12.2007\t21:38:39\tSub CheckFiles\tError (53)\r\n"
                       "02.01.2004\t03:04:05\tSub \xC4nderung\tEnde\r\n"));
        QVERIFY(!QFileInfo::exists(t.dir() + u"/kescherheft.log"_s));
    }

    // A log larger than 1 MiB is emptied before the line is written, on
    // every write and not only at start.
    void sizeLimitOnEveryWrite_data()
    {
        QTest::addColumn<int>("before");
        QTest::addColumn<bool>("kept");
        QTest::newRow("exactly 1 MiB") << 1048576 << true;
        QTest::newRow("one byte more") << 1048577 << false;
    }

    void sizeLimitOnEveryWrite()
    {
        QFETCH(int, before);
        QFETCH(bool, kept);
        TestEnv t;
        const QByteArray old(before, 'x');
        t.write(u"kescherheft.log"_s, old);
        WriteLog(t.env, u"Sub SucheFische"_s, u"Error (13)"_s);
        const QByteArray line = "17.05.2004\t14:30:00\tSub SucheFische\tError (13)\r\n";
        QCOMPARE(t.read(u"kescherheft.log"_s), kept ? old + line : line);
    }

    void unwritableLogIsSkipped()
    {
        TestEnv t;
        Env env = t.env;
        env.programDir = t.dir() + u"/gibt-es-nicht"_s;
        WriteLog(env, u"Sub Main"_s, u"Error (5)"_s);
        QVERIFY(!QFileInfo::exists(env.programDir));
    }

    void trapLogsAndGoesOn()
    {
        TestEnv t;
        ErrorTrap trap(t.env, u"Sub CheckFiles"_s);
        QVERIFY(!trap.step([] { throw RuntimeError { Err::FileNotFound }; }));
        QVERIFY(!trap.step([] { throw std::runtime_error("x"); }));
        bool ran = false;
        QVERIFY(trap.step([&] { ran = true; }));
        QVERIFY(ran);
        QCOMPARE(t.logEntries(),
            (QStringList { u"Sub CheckFiles\tError (53)"_s, u"Sub CheckFiles\tError (5)"_s }));
    }
};

QTEST_GUILESS_MAIN(TestErrorLog)
#include "tst_errorlog.moc"
