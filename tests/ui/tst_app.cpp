// Start-up and program end: the order of Main, the end through EndProgram,
// the end before any window when an old catch log stays unconverted, and
// the real executable creating its layout in an empty folder.
#include "app/Settings.h"
#include "ui/AppFixture.h"
#include "ui/frmHaupt.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

class TestApp : public QObject, AppFixture {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        app.reset(); // before the folder it works in
        t = std::make_unique<TestEnv>();
    }
    void mainThenEndOnce();
    void unconvertedLogEndsAtStart();
    void executableCreatesLayoutInEmptyFolder();
    void sortMenuSortsBothFilesNewestFirst();
    void sortMenuReportsWhatItCouldNotSort();
};

void TestApp::mainThenEndOnce()
{
    t->dialogs.answer(MsgResult::No); // first-start question
    makeApp();
    app->Main();
    QVERIFY(t->dialogs.verifyDone());
    QVERIFY(app->haupt && app->haupt->isVisible());
    QCOMPARE(app->haupt->windowTitle(), QStringLiteral("Uferwacht Digitales Kescherheft v1.0.0.2"));
    QCOMPARE(quits, 0);
    QCOMPARE(t->read(QStringLiteral("db\\db.ver")), QByteArray("102\r\n"));

    // The close box ends without a question, and a second end does nothing.
    app->haupt->close();
    app->EndProgram();
    QCOMPARE(quits, 1);
    QVERIFY(t->dialogs.shown().isEmpty()); // cleared by verifyDone above
    QCOMPARE(t->logEntries(),
        (QStringList { QStringLiteral("PROGRAMM\tStart"), QStringLiteral("PROGRAMM\tEnde") }));
    // Line 9 is the single character 0 after an orderly end.
    const QList<QByteArray> lines = t->read(QStringLiteral("settings.ini")).split('\n');
    QCOMPARE(lines.size(), 10);
    QCOMPARE(lines.at(0),
        QByteArray("[Fang\xFC"
                   "bersicht]\r"));
    QCOMPARE(lines.at(8), QByteArray("0\r"));
}

void TestApp::unconvertedLogEndsAtStart()
{
    const QByteArray grams
        = recordFileBytes({ sampleCatch({ { 7, QStringLiteral("2500") } }).join(u'\t') });
    t->write("db\\Fänge\\db", grams);
    t->write("db\\db.ver", "101\r\n");
    t->write("db\\Sicherungen", "no folder"); // no safety copy can be made
    t->dialogs.answer(MsgResult::No); // convert without one?
    makeApp();
    app->Main();
    QVERIFY(t->dialogs.verifyDone());
    QVERIFY(app->ended());
    QCOMPARE(quits, 1);
    QVERIFY(!app->haupt && !app->uebersicht && !app->kosten);
    QCOMPARE(t->read("db\\fänge\\db"), grams);
    QCOMPARE(t->read("db\\db.ver"), QByteArray("101\r\n"));
    QVERIFY(!QFile::exists(t->path("settings.ini")));
    QCOMPARE(t->logEntries().last(), QStringLiteral("PROGRAMM\tEnde"));
}

void TestApp::executableCreatesLayoutInEmptyFolder()
{
    const QString exe = t->dir() + QStringLiteral("/kescherheft");
    QVERIFY(QFile::copy(QStringLiteral(KH_EXE), exe));
    QProcess p;
    p.setWorkingDirectory(QDir::tempPath()); // the program directory is where the executable is
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.start(exe, {});
    QVERIFY(p.waitForStarted());
    // The last thing the check writes before it asks the first-start
    // question (which then waits for an answer) is the settings file that
    // marks the question as asked.
    QTRY_COMPARE_WITH_TIMEOUT(
        t->read(QStringLiteral("settings.ini")), SettingsFileBytes(DefaultSettings(), 0), 20000);
    p.kill();
    p.waitForFinished();

    QDir d(t->dir());
    // The killed program leaves its lock behind; the next start takes it over.
    QCOMPARE(d.entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name),
        (QStringList {
            "db", "kescherheft", "kescherheft.lock", "kescherheft.log", "settings.ini" }));
    QCOMPARE(QDir(t->dir() + "/db").entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name),
        (QStringList { "Bilder", "Fänge", "Kosten", "db.ver" }));
    QCOMPARE(t->read("db\\Fänge\\db"), QByteArray());
    QCOMPARE(t->read("db\\Kosten\\db"), QByteArray());
    QCOMPARE(t->read("db\\db.ver"), QByteArray("102\r\n"));
    QCOMPARE(t->read("db\\Bilder\\DUMMY.txt"),
        QByteArray("Please don't delete this File!\r\nBitte diese Datei nicht l\xF6schen!\r\n"));
    QCOMPARE(t->logEntries(), QStringList { QStringLiteral("PROGRAMM\tStart") });
}

void TestApp::sortMenuSortsBothFilesNewestFirst()
{
    startApp();
    t->write("db\\Kosten\\db", "\"2003/01/01\ta\"\r\n\"2004/01/01\tb\"\r\n");
    t->write("db\\Fänge\\db", "\"2003/12/01\tx\"\r\n\"2004/05/17\ty\"\r\n\"2004/05/17\tz\"\r\n");
    t->dialogs.expectMessage();
    app->haupt->mnuSortDB->trigger();
    QCOMPARE(t->dialogs.shown().last().text, QStringLiteral("Datenbanken erfolgreich sortiert!"));
    QCOMPARE(t->dialogs.shown().last().icon, MsgIcon::Information);
    QVERIFY(t->dialogs.verifyDone());
    QCOMPARE(t->read("db\\kosten\\db"), QByteArray("\"2004/01/01\tb\"\r\n\"2003/01/01\ta\"\r\n"));
    QCOMPARE(t->read("db\\fänge\\db"),
        QByteArray("\"2004/05/17\tz\"\r\n\"2004/05/17\ty\"\r\n\"2003/12/01\tx\"\r\n"));
}

void TestApp::sortMenuReportsWhatItCouldNotSort()
{
    startApp();
    const QByteArray costs("\"2003/01/01\ta\"\r\n\"2004/01/01\tb\"\r\n");
    t->write("db\\Kosten\\db", costs);
    t->dialogs.expectMessage();
    {
        const FileSizeLimit full(10);
        app->haupt->mnuSortDB->trigger();
    }
    QCOMPARE(t->dialogs.shown().last().icon, MsgIcon::Warning);
    QVERIFY(t->dialogs.shown().last().text.startsWith(
        QStringLiteral("Die Datenbanken konnten nicht sortiert werden!")));
    QCOMPARE(t->read("db\\kosten\\db"), costs);
}

QTEST_MAIN(TestApp)
#include "tst_app.moc"
