// The update run against a local HTTPS server with signatures made for the
// test: the version check, the offer, the installer download and its start,
// the refusal of anything unsigned, incomplete, failed, endless, late or
// not of the offered release, and cancel. Checked by the run's signals, the
// error log and the files it leaves in the program directory.
#include "app/UpdateRun.h"
#include "support/TestEnv.h"
#include "support/UpdateFixture.h"

#include <QDir>
#include <QTest>

using namespace Qt::StringLiterals;

using Offer = UpdateFixture::Offer;
Q_DECLARE_METATYPE(Offer)

class tst_updateRun : public QObject {
    Q_OBJECT

    UpdateFixture fx;
    // A run in its own program directory, and what its signals told.
    struct Run {
        explicit Run(const UpdateServer& server)
            : run(t.env, server)
        {
            const auto note
                = [this](const QString& event) { return [=, this] { events << event; }; };
            QObject::connect(&run, &UpdateRun::logText, [this](const QString& s) { text += s; });
            QObject::connect(
                &run, &UpdateRun::statusText, [this](const QString& s) { status = s; });
            QObject::connect(&run, &UpdateRun::progress, [this](qint64 received, qint64 total) {
                progress = { received, total };
            });
            QObject::connect(&run, &UpdateRun::offered, [this] {
                events << (accept ? u"offered"_s : u"offered declined"_s);
                accept ? run.acceptOffer() : run.declineOffer();
            });
            QObject::connect(&run, &UpdateRun::upToDate, note(u"upToDate"_s));
            QObject::connect(&run, &UpdateRun::failed, note(u"failed"_s));
            QObject::connect(&run, &UpdateRun::failed, [this](const QString& s) { text += s; });
            QObject::connect(&run, &UpdateRun::ready, note(u"ready"_s));
            QObject::connect(&run, &UpdateRun::setupNotStarted, note(u"setupNotStarted"_s));
        }
        QStringList files() const { return QDir(t.dir()).entryList(QDir::Files, QDir::Name); }

        TestEnv t;
        UpdateRun run;
        bool accept = true;
        QStringList events;
        QString text;
        QString status;
        std::pair<qint64, qint64> progress;
    };

private slots:
    void initTestCase()
    {
        const QString error = fx.start();
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }

    void cleanup() { fx.server.reset(); }

    void outcome_data()
    {
        // events: what the run told, in order; reason: part of the error
        // log's one line, "" when nothing failed.
        QTest::addColumn<QByteArray>("versionFile");
        QTest::addColumn<Offer>("version");
        QTest::addColumn<Offer>("setupExe");
        QTest::addColumn<Offer>("setup2");
        QTest::addColumn<QString>("events");
        QTest::addColumn<QString>("reason");
        const QByteArray rel = UpdateFixture::Release;
        const auto row
            = [&](const char* name, Offer version, Offer exe, Offer two, const QString& events,
                  const QString& reason, const QByteArray& file = UpdateFixture::Release) {
                  QTest::newRow(name) << file << version << exe << two << events << reason;
              };
        const Offer ok = Offer::Signed;
        const QString check = u"failed"_s, refused = u"offered failed"_s;
        row("equal", ok, ok, ok, u"upToDate"_s, {}, "01000002\r\nx\r\n");
        row("newer, declined", ok, ok, ok, u"offered declined"_s, {});
        row("newer, installed", ok, ok, ok, u"offered ready"_s, {});
        row("installer does not start", ok, ok, ok, u"offered setupNotStarted"_s,
            u"Setup nicht gestartet"_s);
        row("newer without a line for Setup.2", ok, ok, ok, check,
            u"keine gültige Angabe zu Setup.2"_s, rel.left(rel.indexOf("Setup.2")));
        row("not a number", ok, ok, ok, check, u"keine Versionsnummer"_s, "<html>x</html>\r\n");
        row("version file without end", Offer::Endless, ok, ok, check, u"mehr als 65536"_s);
        row("signature without end", Offer::EndlessSignature, ok, ok, check, u"mehr als 65536"_s);
        row("no answer in time", Offer::Held, ok, ok, check, u"keine Antwort vom Server in 0.3"_s);
        row("version file missing", Offer::NotFound, ok, ok, check, u"HTTP 404"_s);
        row("signature missing", Offer::Unsigned, ok, ok, check, u"HTTP 404"_s);
        row("signed by another key", Offer::OtherKey, ok, ok, check, u"fremden Schlüssel"_s);
        row("changed after signing", Offer::ChangedAfterSigning, ok, ok, check,
            u"update2.txt: Datei passt nicht zur Signatur"_s);
        row("signed as the installer", Offer::SignedAsOtherFile, ok, ok, check,
            u"update2.txt: Signatur gehört zu einer anderen Datei"_s);
        row("Setup.exe not found", ok, Offer::NotFound, ok, refused, u"Setup.exe: HTTP 404"_s);
        row("Setup.2 cut off", ok, ok, Offer::CutOff, refused, u"Download fehlgeschlagen"_s);
        row("Setup.2 unsigned", ok, ok, Offer::Unsigned, refused, u"Setup.2.minisig: HTTP 404"_s);
        row("Setup.exe signed as Setup.2", ok, Offer::SignedAsOtherFile, ok, refused,
            u"Setup.exe: Signatur gehört zu einer anderen Datei"_s);
        row("Setup.2 changed after signing", ok, ok, Offer::ChangedAfterSigning, refused,
            u"Setup.2: Datei passt nicht zur Signatur"_s);
        row("Setup.2 is the signed version file", ok, ok, Offer::VersionFileInstead, refused,
            u"Setup.2: Signatur gehört zu einer anderen Datei"_s);
        row("Setup.exe of another release", ok, Offer::OtherRelease, ok, refused,
            u"Setup.exe: Größe oder Prüfsumme"_s);
        row("Setup.exe without end", ok, Offer::Endless, ok, refused, u"mehr als 200000 Bytes"_s);
    }

    void outcome()
    {
        QFETCH(QByteArray, versionFile);
        QFETCH(Offer, version);
        QFETCH(Offer, setupExe);
        QFETCH(Offer, setup2);
        QFETCH(QString, events);
        QFETCH(QString, reason);
        fx.publish(UpdateFixture::VersionPath, versionFile, version);
        fx.publish(UpdateFixture::SetupExePath, UpdateFixture::SetupExe, setupExe);
        fx.publish(UpdateFixture::Setup2Path, UpdateFixture::Setup2, setup2);
        Run r(fx.updateServer());
        r.accept = !events.contains(u"declined"_s);
        r.t.shell.startSucceeds = !events.endsWith(u"setupNotStarted"_s);
        r.run.setWaitLimit(version == Offer::Held ? 300 : 30000);
        // Files of an earlier run are neither read nor started.
        r.t.write(u"update.txt"_s, "09999999\r\n");
        r.t.write(u"Setup.exe"_s, "ALT");

        r.run.start();
        QVERIFY(r.run.isRunning());
        QTRY_VERIFY_WITH_TIMEOUT(
            !r.run.isRunning() && !r.events.isEmpty() && r.events != QStringList { u"offered"_s },
            UpdateFixture::Timeout);
        QCOMPARE(r.events.join(u' '), events);
        QCOMPARE(r.run.address(), fx.server.url(UpdateFixture::VersionPath));
        const QStringList log = r.t.logEntries();
        QCOMPARE(log.size(), reason.isEmpty() ? 0 : 1);
        if (!reason.isEmpty()) {
            QVERIFY2(log[0].startsWith(u"Sub frmUpdater.cmdStart_Click\t"_s), qPrintable(log[0]));
            QVERIFY2(log[0].contains(reason), qPrintable(log[0]));
        }
        const bool offered = events.startsWith(u"offered"_s);
        const QString loaded = UpdateFixture::CheckedOk + u"Lade Setupfile...Lade Setupfile..."_s;
        QStringList files = { u"Setup.2"_s, u"Setup.exe"_s };
        if (events.endsWith(u"failed"_s)) {
            QCOMPARE(r.text,
                (offered ? loaded : u"Verbindungsaufbau zum Server..."_s) + UpdateFixture::Failure);
            // Nothing of the failed step stays; the check leaves the old installer.
            files = offered ? QStringList() : QStringList { u"Setup.exe"_s };
        } else if (!r.accept || events == u"upToDate"_s) {
            QCOMPARE(r.text,
                UpdateFixture::CheckedOk
                    + (r.accept ? u"Keine neuere Version verfügbar."_s : u""_s));
            files = QStringList { u"Setup.exe"_s };
            QCOMPARE(r.t.read(u"Setup.exe"_s), "ALT");
        } else {
            QCOMPARE(r.text, loaded + u"Fertig!\r\n"_s);
            QCOMPARE(r.t.read(u"Setup.exe"_s), UpdateFixture::SetupExe);
            QCOMPARE(r.t.read(u"Setup.2"_s), UpdateFixture::Setup2);
            const qint64 total = UpdateFixture::SetupExe.size() + UpdateFixture::Setup2.size();
            QCOMPARE(r.progress, std::make_pair(total, total));
            QCOMPARE(r.status, u"Download beendet."_s);
        }
        QCOMPARE(r.files(), reason.isEmpty() ? files : files << u"kescherheft.log"_s);
        const bool started = offered && r.accept && !events.endsWith(u"failed"_s);
        QCOMPARE(
            r.t.shell.started, started ? QStringList { r.t.path(u"Setup.exe"_s) } : QStringList());
        if (!offered || !r.accept)
            QVERIFY(fx.server.requests().filter(u"/files/"_s).isEmpty());
    }

    void cancel_data()
    {
        QTest::addColumn<bool>("confirm");
        QTest::newRow("Yes") << true;
        QTest::newRow("No") << false;
    }

    void cancel()
    {
        QFETCH(bool, confirm);
        fx.publishRelease();
        // Setup.exe comes in part, then the server waits.
        fx.server.serve(UpdateFixture::SetupExePath,
            TestResponse(200, UpdateFixture::SetupExe).holdAfter(20000));
        Run r(fx.updateServer());
        r.t.write(u"Setup.exe"_s, "ALT");
        r.run.start();
        QTRY_VERIFY_WITH_TIMEOUT(
            r.progress.first > 0 && fx.server.requests().contains(UpdateFixture::SetupExePath),
            UpdateFixture::Timeout);
        // The old installer is gone while the new one loads: nobody starts it.
        QVERIFY(!r.files().contains(u"Setup.exe"_s));
        r.run.holdCompletion();
        if (!confirm) {
            QVERIFY(!r.run.resume());
            fx.server.release(UpdateFixture::SetupExePath);
            QTRY_COMPARE_WITH_TIMEOUT(
                r.events.join(u' '), u"offered ready"_s, UpdateFixture::Timeout);
            return;
        }
        QVERIFY(r.run.cancel());
        QVERIFY(!r.run.isRunning());
        QCOMPARE(
            r.text, UpdateFixture::CheckedOk + u"Lade Setupfile...Lade Setupfile...Abgebrochen."_s);
        QCOMPARE(r.status, u"Download abgebrochen."_s);
        QCOMPARE(r.run.localFile(), r.t.path(u"update.txt"_s));
        // The held transfer's connection goes; nothing arrives afterwards.
        QTRY_COMPARE_WITH_TIMEOUT(fx.server.closedByClient(), 1, UpdateFixture::Timeout);
        QTest::qWait(100);
        QCOMPARE(r.events, QStringList { u"offered"_s });
        QCOMPARE(r.files(), QStringList {});
    }
};

QTEST_GUILESS_MAIN(tst_updateRun)
#include "tst_updateRun.moc"
