// The update run against a local HTTPS server with signatures made for the
// test: the check, the offer, the installer download and its start, and
// the refusal of anything failed, endless, late, wrongly signed or of
// another release, told by the run's signals, the log and the files left.
#include "app/UpdateRun.h"
#include "support/TestEnv.h"
#include "support/TestSigner.h"
#include "support/TlsTestServer.h"

#include <QCryptographicHash>
#include <QDir>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

constexpr int Timeout = 15000;
const QString VersionPath = u"/update/fisch/update2.txt"_s;
const QString SetupExePath = u"/files/Setup.exe"_s;
const QString Setup2Path = u"/files/Setup.2"_s;

// A version file's line for an installer file, as sha256sum and stat give it.
QByteArray releaseLine(const QByteArray& name, const QByteArray& bytes)
{
    return name + ' ' + QByteArray::number(bytes.size()) + ' '
        + QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex() + "\r\n";
}

const QByteArray SetupExe(200000, 'e');
const QByteArray Setup2(120000, '2');
const QByteArray Release
    = "01000003\r\n" + releaseLine("Setup.exe", SetupExe) + releaseLine("Setup.2", Setup2);

// How the server offers a file: signed by the test key, or spoiled.
enum class Offer {
    Signed,
    ChangedAfterSigning,
    SignedAsOtherFile, // an installer as the other one, the version file as Setup.exe
    NotFound,
    Endless,
    EndlessSignature,
    Held,
    OtherRelease, // signed, but not the bytes of the version file's line
};

} // namespace

Q_DECLARE_METATYPE(Offer)

class TestUpdateRun : public QObject {
    Q_OBJECT

    TlsTestServer server;
    std::unique_ptr<TestSigner> mine;

    void publish(const QString& path, const QByteArray& bytes, Offer how)
    {
        const QByteArray served
            = how == Offer::OtherRelease ? QByteArray(bytes.size(), 'x') : bytes;
        QString name = path.section(u'/', -1);
        if (how == Offer::SignedAsOtherFile)
            name = name == u"Setup.exe"_s ? u"Setup.2"_s : u"Setup.exe"_s;
        TestResponse file(how == Offer::NotFound ? 404 : 200, served);
        server.serve(path,
            how == Offer::Endless    ? file.endless()
                : how == Offer::Held ? file.holdAfter(3)
                                     : file);
        TestResponse signature(
            200, mine->sign(how == Offer::ChangedAfterSigning ? served + "x" : served, name));
        server.serve(
            signatureOf(path), how == Offer::EndlessSignature ? signature.endless() : signature);
    }

    // A run in its own program directory, and what its signals told.
    struct Run {
        explicit Run(const UpdateServer& server)
            : run(t.env, server)
        {
            const auto note = [this](const QString& e) { return [=, this] { events << e; }; };
            QObject::connect(&run, &UpdateRun::progress, [this](qint64 n) { received = n; });
            QObject::connect(&run, &UpdateRun::offered, [this] {
                events << (accept ? u"offered"_s : u"offered declined"_s);
                accept ? run.acceptOffer() : run.declineOffer();
            });
            QObject::connect(&run, &UpdateRun::upToDate, note(u"upToDate"_s));
            QObject::connect(&run, &UpdateRun::failed, note(u"failed"_s));
            QObject::connect(&run, &UpdateRun::ready, note(u"ready"_s));
            QObject::connect(&run, &UpdateRun::setupNotStarted, note(u"setupNotStarted"_s));
        }
        QStringList files() const { return QDir(t.dir()).entryList(QDir::Files, QDir::Name); }

        TestEnv t;
        UpdateRun run;
        bool accept = true;
        QStringList events;
        qint64 received = 0;
    };

private slots:
    void initTestCase()
    {
        const QString error = server.start();
        server.trustInThisProcess();
        mine = std::make_unique<TestSigner>();
        QVERIFY2(error.isEmpty() && mine->error().isEmpty(), qPrintable(error + mine->error()));
    }

    void cleanup() { server.reset(); }

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
        const QByteArray rel = Release;
        const auto row
            = [&](const char* name, Offer version, Offer exe, Offer two, const QString& events,
                  const QString& reason, const QByteArray& file = Release) {
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
        row("signed as the installer", Offer::SignedAsOtherFile, ok, ok, check,
            u"update2.txt: Signatur gehört zu einer anderen Datei"_s);
        row("Setup.exe not found", ok, Offer::NotFound, ok, refused, u"Setup.exe: HTTP 404"_s);
        row("Setup.exe signed as Setup.2", ok, Offer::SignedAsOtherFile, ok, refused,
            u"Setup.exe: Signatur gehört zu einer anderen Datei"_s);
        row("Setup.2 changed after signing", ok, ok, Offer::ChangedAfterSigning, refused,
            u"Setup.2: Datei passt nicht zur Signatur"_s);
        row("Setup.exe of another release", ok, Offer::OtherRelease, ok, refused,
            u"Setup.exe: Größe oder Prüfsumme"_s);
        row("Setup.exe without end", ok, Offer::Endless, ok, refused, u"mehr als 200000 Bytes"_s);
        row("cancelled while Setup.exe loads", ok, Offer::Held, ok, u"offered"_s, {});
        row("cancel declined while Setup.exe loads", ok, Offer::Held, ok, u"offered ready"_s, {});
    }

    void outcome()
    {
        QFETCH(QByteArray, versionFile);
        QFETCH(Offer, version);
        QFETCH(Offer, setupExe);
        QFETCH(Offer, setup2);
        QFETCH(QString, events);
        QFETCH(QString, reason);
        publish(VersionPath, versionFile, version);
        publish(SetupExePath, SetupExe, setupExe);
        publish(Setup2Path, Setup2, setup2);
        Run r({ server.url(VersionPath), server.url(SetupExePath), server.url(Setup2Path),
            mine->publicKey() });
        r.accept = !events.contains(u"declined"_s);
        r.t.shell.startSucceeds = !events.endsWith(u"setupNotStarted"_s);
        r.run.setWaitLimit(version == Offer::Held ? 300 : 30000);
        // Files of an earlier run are neither read nor started.
        r.t.write(u"update.txt"_s, "09999999\r\n");
        r.t.write(u"Setup.exe"_s, "ALT");

        r.run.start();
        if (setupExe == Offer::Held) { // the question whether to cancel, while Setup.exe loads
            QTRY_VERIFY_WITH_TIMEOUT(
                r.received > 0 && server.requests().contains(SetupExePath), Timeout);
            // The old installer is gone while the new one loads: nobody starts it.
            QVERIFY(!r.files().contains(u"Setup.exe"_s));
            r.run.holdCompletion();
            const bool cancel = events == u"offered"_s;
            QCOMPARE(cancel ? r.run.cancel() : r.run.resume(), cancel);
            if (!cancel)
                server.release(SetupExePath);
        }
        QTRY_VERIFY_WITH_TIMEOUT(
            !r.run.isRunning() && (r.events.join(u' ') != u"offered"_s || setupExe == Offer::Held),
            Timeout);
        QCOMPARE(r.events.join(u' '), events);
        QCOMPARE(r.run.address(), server.url(VersionPath));
        const QStringList log = r.t.logEntries();
        QCOMPARE(log.size(), reason.isEmpty() ? 0 : 1);
        if (!reason.isEmpty())
            QVERIFY2(
                log[0].startsWith(u"Sub frmUpdater.cmdStart_Click\t"_s) && log[0].contains(reason),
                qPrintable(log[0]));
        const bool offered = events.startsWith(u"offered"_s);
        const bool installed = events.endsWith(u"ready"_s) || events.endsWith(u"Started"_s);
        // Nothing of a failed or cancelled step stays; the check leaves the old installer.
        QStringList files = { u"Setup.exe"_s };
        if (installed) {
            files.prepend(u"Setup.2"_s);
            QCOMPARE(r.t.read(u"Setup.exe"_s), SetupExe);
            QCOMPARE(r.t.read(u"Setup.2"_s), Setup2);
        } else if (offered && !events.contains(u"declined"_s)) {
            files.clear();
        } else {
            QCOMPARE(r.t.read(u"Setup.exe"_s), "ALT");
        }
        if (events == u"offered"_s) // the held transfer's connection goes
            QTRY_COMPARE_WITH_TIMEOUT(server.closedByClient(), 1, Timeout);
        QCOMPARE(r.files(), reason.isEmpty() ? files : files << u"kescherheft.log"_s);
        QCOMPARE(r.t.shell.started,
            installed ? QStringList { r.t.path(u"Setup.exe"_s) } : QStringList());
        if (!offered || !r.accept)
            QVERIFY(server.requests().filter(u"/files/"_s).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestUpdateRun)
#include "tst_updateRun.moc"
