// Start-up and program end: the order of Main, the end through EndProgram,
// the end before any window when an old catch log stays unconverted, the
// real executable in an empty folder, and the sort menu.
#include "app/Settings.h"
#include "ui/AppFixture.h"
#include "ui/frmHaupt.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

#include <optional>

using namespace Qt::StringLiterals;

class TestApp : public QObject, AppFixture {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { closeApp(); }

    // The close box ends without a question, and a second end does nothing.
    void mainThenEndOnce()
    {
        startApp();
        QVERIFY(t->dialogs.verifyDone());
        QVERIFY(app->haupt && app->haupt->isVisible() && quits == 0);
        app->haupt->close();
        app->EndProgram();
        QCOMPARE(quits, 1);
        QVERIFY(t->dialogs.shown().isEmpty());
        QCOMPARE(t->logEntries(), (QStringList { u"PROGRAMM\tStart"_s, u"PROGRAMM\tEnde"_s }));
        // Line 9 is the single character 0 after an orderly end.
        const QList<QByteArray> lines = t->read(u"settings.ini"_s).split('\n');
        QVERIFY(lines.size() == 15 && lines.at(8) == "0\r");
    }

    void unconvertedLogEndsAtStart()
    {
        const QByteArray grams = recordFileBytes({ sampleCatchLine({ { 7, u"2500"_s } }) });
        t->write("db\\Fänge\\db", grams);
        t->write("db\\db.ver", "101\r\n");
        t->write("db\\Sicherungen", "no folder"); // no safety copy can be made
        startApp(); // "No" to converting without one
        QVERIFY(t->dialogs.verifyDone());
        QVERIFY(app->ended() && quits == 1);
        QVERIFY(!app->haupt && !app->uebersicht && !app->kosten);
        QCOMPARE(t->read("db\\fänge\\db"), grams);
        QVERIFY(!QFile::exists(t->path("settings.ini")));
    }

    // The program directory is where the executable is; the settings file
    // is the last thing written before the first-start question waits.
    void executableCreatesLayoutInEmptyFolder()
    {
        const QString exe = t->dir() + u"/kescherheft"_s;
        QVERIFY(QFile::copy(QStringLiteral(KH_EXE), exe));
        QProcess p;
        p.setWorkingDirectory(QDir::tempPath());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        p.setProcessEnvironment(env);
        p.start(exe, {});
        QVERIFY(p.waitForStarted());
        QTRY_COMPARE_WITH_TIMEOUT(
            t->read(u"settings.ini"_s), SettingsFileBytes(DefaultSettings(), 0), 20000);
        p.kill();
        p.waitForFinished();
        QCOMPARE(QDir(t->dir()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name),
            (QStringList {
                "db", "kescherheft", "kescherheft.lock", "kescherheft.log", "settings.ini" }));
        QCOMPARE(t->logEntries(), QStringList { u"PROGRAMM\tStart"_s });
    }

    void sortMenu_data()
    {
        QTest::addColumn<int>("sizeLimit"); // 0: none
        QTest::addColumn<QString>("message");
        QTest::newRow("sorted") << 0 << u"Datenbanken erfolgreich sortiert!"_s;
        QTest::newRow("not sorted") << 10 << u"Die Datenbanken konnten nicht sortiert werden!"_s;
    }
    void sortMenu()
    {
        QFETCH(int, sizeLimit);
        QFETCH(QString, message);
        startApp();
        t->write("db\\Kosten\\db", "\"2003/01/01\ta\"\r\n\"2004/01/01\tb\"\r\n");
        t->dialogs.expectMessage();
        {
            std::optional<FileSizeLimit> full;
            if (sizeLimit)
                full.emplace(sizeLimit);
            app->haupt->mnuSortDB->trigger();
        }
        const auto& shown = t->dialogs.shown().last();
        QVERIFY(shown.text.startsWith(message));
        QCOMPARE(shown.icon, sizeLimit ? MsgIcon::Warning : MsgIcon::Information);
        QCOMPARE(t->read("db\\kosten\\db").startsWith("\"2004"), !sizeLimit);
    }
};

QTEST_MAIN(TestApp)
#include "tst_app.moc"
