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
    void init()
    {
        app.reset(); // before the folder it works in
        t = std::make_unique<TestEnv>();
    }

    void mainThenEndOnce()
    {
        startApp();
        QVERIFY(t->dialogs.verifyDone());
        QVERIFY(app->haupt && app->haupt->isVisible());
        QCOMPARE(quits, 0);
        // The close box ends without a question, and a second end does nothing.
        app->haupt->close();
        app->EndProgram();
        QCOMPARE(quits, 1);
        QVERIFY(t->dialogs.shown().isEmpty());
        QCOMPARE(t->logEntries(), (QStringList { u"PROGRAMM\tStart"_s, u"PROGRAMM\tEnde"_s }));
        // Line 9 is the single character 0 after an orderly end.
        const QList<QByteArray> lines = t->read(u"settings.ini"_s).split('\n');
        QCOMPARE(lines.size(), 15);
        QCOMPARE(lines.at(8), QByteArray("0\r"));
    }

    void unconvertedLogEndsAtStart()
    {
        const QByteArray grams = recordFileBytes({ sampleCatch({ { 7, u"2500"_s } }).join(u'\t') });
        t->write("db\\Fänge\\db", grams);
        t->write("db\\db.ver", "101\r\n");
        t->write("db\\Sicherungen", "no folder"); // no safety copy can be made
        startApp(); // "No" to converting without one
        QVERIFY(t->dialogs.verifyDone());
        QVERIFY(app->ended());
        QCOMPARE(quits, 1);
        QVERIFY(!app->haupt && !app->uebersicht && !app->kosten);
        QCOMPARE(t->read("db\\fänge\\db"), grams);
        QVERIFY(!QFile::exists(t->path("settings.ini")));
    }

    void executableCreatesLayoutInEmptyFolder()
    {
        const QString exe = t->dir() + u"/kescherheft"_s;
        QVERIFY(QFile::copy(QStringLiteral(KH_EXE), exe));
        QProcess p;
        p.setWorkingDirectory(QDir::tempPath()); // the program directory is where the executable is
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        p.setProcessEnvironment(env);
        p.start(exe, {});
        QVERIFY(p.waitForStarted());
        // The settings file is the last thing written before the first-start
        // question, which then waits for an answer.
        QTRY_COMPARE_WITH_TIMEOUT(
            t->read(u"settings.ini"_s), SettingsFileBytes(DefaultSettings(), 0), 20000);
        p.kill();
        p.waitForFinished();
        const auto entries = [](const QString& dir) {
            return QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name);
        };
        QCOMPARE(entries(t->dir()),
            (QStringList {
                "db", "kescherheft", "kescherheft.lock", "kescherheft.log", "settings.ini" }));
        QCOMPARE(
            entries(t->dir() + "/db"), (QStringList { "Bilder", "Fänge", "Kosten", "db.ver" }));
        QCOMPARE(t->logEntries(), QStringList { u"PROGRAMM\tStart"_s });
    }

    void sortMenu_data()
    {
        QTest::addColumn<int>("sizeLimit"); // 0: none
        QTest::addColumn<QString>("message");
        QTest::addColumn<QByteArray>("costs");
        QTest::newRow("sorted") << 0 << u"Datenbanken erfolgreich sortiert!"_s
                                << QByteArray("\"2004/01/01\tb\"\r\n\"2003/01/01\ta\"\r\n");
        QTest::newRow("not sorted") << 10 << u"Die Datenbanken konnten nicht sortiert werden!"_s
                                    << QByteArray("\"2003/01/01\ta\"\r\n\"2004/01/01\tb\"\r\n");
    }
    void sortMenu()
    {
        QFETCH(int, sizeLimit);
        QFETCH(QString, message);
        startApp();
        t->write("db\\Kosten\\db", "\"2003/01/01\ta\"\r\n\"2004/01/01\tb\"\r\n");
        t->write("db\\Fänge\\db", "\"2003/12/01\tx\"\r\n\"2004/05/17\ty\"\r\n");
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
        QTEST(t->read("db\\kosten\\db"), "costs");
        QCOMPARE(t->read("db\\fänge\\db").startsWith("\"2004"), !sizeLimit);
    }
};

QTEST_MAIN(TestApp)
#include "tst_app.moc"
