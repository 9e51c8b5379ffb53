// The updater against a local HTTPS server with signatures made for the
// test: the version check, the installer download with its progress, the
// refusals of anything unsigned, incomplete, failed, endless or not of the
// offered release, cancel, the bounded wait, a failed installer start and
// the main window's lock, which leaves the windows opened from it usable.
#include "app/UpdateServer.h"
#include "support/TestSigner.h"
#include "support/TlsTestServer.h"
#include "ui/AppFixture.h"
#include "ui/DatabaseMenus.h"
#include "ui/ProgressPicture.h"
#include "ui/TabListView.h"
#include "ui/frmAbout.h"
#include "ui/frmBackup.h"
#include "ui/frmHaupt.h"
#include "ui/frmUpdater.h"

#include <QCheckBox>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

constexpr int Timeout = 15000;
const QString VersionPath = u"/update/fisch/update2.txt"_s;
const QString SetupExePath = u"/files/Setup.exe"_s;
const QString Setup2Path = u"/files/Setup.2"_s;
const QString Failure = u"Fehler! Bitte überprüfen Sie Ihre Internetverbindung!\n"_s;
const QString CheckedOk = u"Verbindungsaufbau zum Server...Erfolgreich!\n"
                          "Überprüfe Versionen...Fertig!\n"_s;

QByteArray randomBytes(qsizetype n, quint32 seed)
{
    QByteArray b(n, Qt::Uninitialized);
    QRandomGenerator gen(seed);
    for (char& c : b)
        c = char(gen.bounded(256));
    return b;
}

const QByteArray SetupExe = randomBytes(200000, 1);
const QByteArray Setup2 = randomBytes(120000, 2);

// A version file's line for an installer file, as sha256sum and stat give it.
QByteArray releaseLine(const QByteArray& name, const QByteArray& bytes)
{
    return name + ' ' + QByteArray::number(bytes.size()) + ' '
        + QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex() + "\r\n";
}
const QByteArray Lines = releaseLine("Setup.exe", SetupExe) + releaseLine("Setup.2", Setup2);
const QByteArray Release = "01000003\r\n" + Lines;

} // namespace

class tst_frmUpdater : public QObject {
    Q_OBJECT

    TlsTestServer server;
    std::unique_ptr<TestSigner> mine;
    std::unique_ptr<TestSigner> other;

    struct Fixture : AppFixture {
        Fixture() { makeApp(); }
        frmUpdater* u = nullptr;
    };
    std::unique_ptr<Fixture> f;

    // How a file is offered: signed by the test key, or spoiled. Signed
    // files of the wrong release: the signed version file in the file's
    // place, or a file of the same size signed for another version.
    enum class Offer {
        Signed,
        Unsigned,
        OtherKey,
        ChangedAfterSigning,
        NotFound,
        CutOff,
        Endless,
        EndlessSignature,
        VersionFileInstead,
        OtherRelease,
    };

    void publish(const QString& path, const QByteArray& bytes, Offer how = Offer::Signed)
    {
        // Signed as minisign signs: under the file's own name.
        QString name = path.section(u'/', -1);
        QByteArray served = bytes;
        if (how == Offer::VersionFileInstead) {
            served = Release;
            name = u"update2.txt"_s;
        } else if (how == Offer::OtherRelease)
            served = randomBytes(bytes.size(), 3);
        TestResponse file(200, served);
        if (how == Offer::NotFound)
            file = TestResponse(404, "<html>404</html>");
        if (how == Offer::CutOff)
            file = file.cutAfter(bytes.size() / 2);
        if (how == Offer::Endless)
            file = file.endless();
        server.serve(path, file);
        const QByteArray signedBytes
            = how == Offer::ChangedAfterSigning ? served + "geändert" : served;
        const TestSigner& signer = how == Offer::OtherKey ? *other : *mine;
        TestResponse signature(200, signer.sign(signedBytes, name));
        if (how == Offer::Unsigned)
            signature = TestResponse(404, "<html>404</html>");
        if (how == Offer::EndlessSignature)
            signature = signature.endless();
        server.serve(signatureOf(path), signature);
    }
    // The main window's menu bar (with its shortcuts) and its dashboard.
    bool mainLocked() const
    {
        return !f->app->haupt->menuBar()->isEnabled() && !f->app->haupt->cmdZeit->isEnabled()
            && !f->app->haupt->lstFänge->isEnabled();
    }
    void publishInstaller()
    {
        publish(SetupExePath, SetupExe);
        publish(Setup2Path, Setup2);
    }
    QStringList installerRequests() const
    {
        QStringList out;
        for (const QString& r : server.requests())
            if (r.startsWith(u"/files/"_s))
                out.append(r);
        return out;
    }
    QString log() const { return f->u->txtLog->toPlainText(); }
    QStringList programDirFiles() const
    {
        return QDir(f->t->dir()).entryList(QDir::Files, QDir::Name);
    }
    // Waits until the check or the download is over and the window idle.
    void waitUntilIdle() const
    {
        QTRY_VERIFY_WITH_TIMEOUT(f->u->cmdStart->isEnabled(), Timeout);
        QCOMPARE(f->u->cmdAbort->text(), u"&Beenden"_s);
    }
    void checkNothingStarted()
    {
        QVERIFY(f->t->shell.started.isEmpty());
        QVERIFY(!f->quits);
        QVERIFY(!QFile::exists(f->t->path(u"Setup.exe"_s)));
        QVERIFY(!QFile::exists(f->t->path(u"Setup.2"_s)));
    }

private slots:
    void initTestCase()
    {
        const QString error = server.start();
        QVERIFY2(error.isEmpty(), qPrintable(error));
        server.trustInThisProcess();
        mine = std::make_unique<TestSigner>();
        other = std::make_unique<TestSigner>();
        QVERIFY2(mine->error().isEmpty(), qPrintable(mine->error()));
        QVERIFY2(other->error().isEmpty(), qPrintable(other->error()));
    }

    void init()
    {
        f = std::make_unique<Fixture>();
        f->app->haupt = f->app->createMain();
        f->app->haupt->show();
        f->u = f->app->createUpdater({ server.url(VersionPath), server.url(SetupExePath),
            server.url(Setup2Path), mine->publicKey() });
        f->app->mnuUpdate_Click();
    }

    void cleanup()
    {
        f->t->dialogs.verifyDone();
        f.reset();
        server.reset();
    }

    void versionCheck_data()
    {
        QTest::addColumn<QByteArray>("versionFile");
        QTest::addColumn<int>("offer");
        QTest::addColumn<QString>("log");
        QTest::addColumn<QString>("message"); // shown to the user, "" for none
        QTest::addColumn<bool>("stillShown");
        const QString question = u"Es ist eine neuere Version verfügbar!\r\n"
                                 "Installierte Version: 1002\r\nVerfügbare Version: %1\r\n \r\n"
                                 "Soll die neue Version heruntergeladen und installiert werden?"_s;
        const int signedOffer = int(Offer::Signed);
        QTest::newRow("equal") << "01000002\r\nx\r\n"_ba << signedOffer
                               << CheckedOk + u"Keine neuere Version verfügbar."_s
                               << u"Es ist keine neuere Version verfügbar."_s << true;
        QTest::newRow("newer, answered No") << "01000003\r\nx\r\n"_ba + Lines << signedOffer
                                            << CheckedOk << question.arg(u"01000003"_s) << false;
        QTest::newRow("newer without leading zero, answered No")
            << "1000003\r\n"_ba + Lines << signedOffer << CheckedOk << question.arg(u"1000003"_s)
            << false;
        const QString failed = u"Verbindungsaufbau zum Server..."_s + Failure;
        QTest::newRow("newer without a line for Setup.2")
            << "01000003\r\n"_ba + releaseLine("Setup.exe", SetupExe) << signedOffer << failed
            << QString() << true;
        QTest::newRow("version file without end")
            << Release << int(Offer::Endless) << failed << QString() << true;
        QTest::newRow("signature without end")
            << Release << int(Offer::EndlessSignature) << failed << QString() << true;
        QTest::newRow("not a number")
            << "<html>Wartung</html>\r\n"_ba << signedOffer << failed << QString() << true;
        QTest::newRow("empty file") << ""_ba << signedOffer << failed << QString() << true;
        QTest::newRow("version file missing")
            << "01000003\r\n"_ba << int(Offer::NotFound) << failed << QString() << true;
        QTest::newRow("signature missing")
            << "01000003\r\n"_ba << int(Offer::Unsigned) << failed << QString() << true;
        QTest::newRow("signed by another key")
            << "01000003\r\n"_ba << int(Offer::OtherKey) << failed << QString() << true;
        QTest::newRow("changed after signing")
            << "01000003\r\n"_ba << int(Offer::ChangedAfterSigning) << failed << QString() << true;
    }

    void versionCheck()
    {
        QFETCH(QByteArray, versionFile);
        QFETCH(int, offer);
        QFETCH(QString, log);
        QFETCH(QString, message);
        QFETCH(bool, stillShown);
        publish(VersionPath, versionFile, Offer(offer));
        if (message.startsWith(u"Es ist eine"_s))
            f->t->dialogs.answer(MsgResult::No);
        else if (!message.isEmpty())
            f->t->dialogs.expectMessage();
        // A version file left from before is not what is read.
        f->t->write(u"update.txt"_s, "09999999\r\n");

        f->u->cmdStart->click();
        waitUntilIdle();
        QCOMPARE(this->log(), log);
        QCOMPARE(f->t->dialogs.messageTexts(),
            message.isEmpty() ? QStringList() : QStringList { message });
        if (!message.isEmpty())
            QCOMPARE(f->t->dialogs.shown().first().icon,
                message.startsWith(u"Es ist keine"_s) ? MsgIcon::Information : MsgIcon::Question);
        QCOMPARE(f->u->isVisible(), stillShown);
        QCOMPARE(mainLocked(), stillShown);
        // Nothing of the check stays behind, and no installer was fetched.
        QCOMPARE(programDirFiles(),
            (message.isEmpty() ? QStringList { u"kescherheft.log"_s } : QStringList()));
        QVERIFY(installerRequests().isEmpty());
        if (message.isEmpty()) // the reason of a failed check is logged
            QVERIFY(f->t->logEntries().value(0).startsWith(u"Sub frmUpdater.cmdStart_Click\t"_s));
    }

    void installsAndEnds()
    {
        publish(VersionPath, Release);
        publishInstaller();
        // Stale files of an earlier run are replaced, never started.
        f->t->write(u"Setup.exe"_s, "ALT");
        f->t->write(u"Setup.2"_s, "ALT");
        f->t->dialogs.answer(MsgResult::Yes);
        f->u->cmdStart->click();
        QTRY_VERIFY_WITH_TIMEOUT(f->quits, Timeout);
        QCOMPARE(f->t->shell.started, QStringList { f->t->path(u"Setup.exe"_s) });
        QCOMPARE(f->t->read(u"Setup.exe"_s), SetupExe);
        QCOMPARE(f->t->read(u"Setup.2"_s), Setup2);
        QCOMPARE(log(), CheckedOk + u"Lade Setupfile...Lade Setupfile...Fertig!\n"_s);
        QCOMPARE(f->u->lblStatus->text(), u"Download beendet."_s);
        QVERIFY(f->u->lblStatus->isVisible());
        QCOMPARE(f->u->picProgress->percent(), 100);
        QCOMPARE(programDirFiles(),
            (QStringList {
                u"Setup.2"_s, u"Setup.exe"_s, u"kescherheft.log"_s, u"settings.ini"_s }));
        QCOMPARE(f->t->logEntries(), QStringList { u"PROGRAMM\tEnde"_s });
    }

    void installerRefused_data()
    {
        QTest::addColumn<int>("setupExe");
        QTest::addColumn<int>("setup2");
        const int ok = int(Offer::Signed);
        QTest::newRow("Setup.exe not found") << int(Offer::NotFound) << ok;
        QTest::newRow("Setup.2 cut off") << ok << int(Offer::CutOff);
        QTest::newRow("Setup.exe cut off") << int(Offer::CutOff) << ok;
        QTest::newRow("Setup.exe signature missing") << int(Offer::Unsigned) << ok;
        QTest::newRow("Setup.2 signature missing") << ok << int(Offer::Unsigned);
        QTest::newRow("Setup.exe signed by another key") << int(Offer::OtherKey) << ok;
        QTest::newRow("Setup.2 changed after signing") << ok << int(Offer::ChangedAfterSigning);
        QTest::newRow("Setup.2 is the signed version file") << ok << int(Offer::VersionFileInstead);
        QTest::newRow("Setup.exe of another release") << int(Offer::OtherRelease) << ok;
        QTest::newRow("Setup.exe without end") << int(Offer::Endless) << ok;
    }

    void installerRefused()
    {
        QFETCH(int, setupExe);
        QFETCH(int, setup2);
        publish(VersionPath, Release);
        publish(SetupExePath, SetupExe, Offer(setupExe));
        publish(Setup2Path, Setup2, Offer(setup2));
        f->t->write(u"Setup.exe"_s, "ALT");
        f->t->dialogs.answer(MsgResult::Yes);
        f->u->cmdStart->click();
        QTRY_VERIFY_WITH_TIMEOUT(log().endsWith(Failure), Timeout);
        waitUntilIdle();
        checkNothingStarted();
        QCOMPARE(log(), CheckedOk + u"Lade Setupfile...Lade Setupfile..."_s + Failure);
        QCOMPARE(programDirFiles(), QStringList { u"kescherheft.log"_s });
        QCOMPARE(f->t->logEntries().size(), 1);
        QCOMPARE(f->u->txtURL->text(), server.url(VersionPath));
    }

    void cancelDownload_data()
    {
        // Asked by "&Abbrechen" or by the window's close box.
        QTest::addColumn<bool>("closeBox");
        QTest::addColumn<bool>("confirm");
        QTest::newRow("Abbrechen, Yes") << false << true;
        QTest::newRow("Abbrechen, No") << false << false;
        QTest::newRow("close box, Yes") << true << true;
        QTest::newRow("close box, No") << true << false;
    }

    void cancelDownload()
    {
        QFETCH(bool, closeBox);
        QFETCH(bool, confirm);
        publish(VersionPath, Release);
        publishInstaller();
        server.serve(SetupExePath, TestResponse(200, SetupExe).holdAfter(20000)); // then it waits
        f->t->write(u"Setup.exe"_s, "ALT");
        f->t->dialogs.answer(MsgResult::Yes);
        const qsizetype setupAsked = server.requests().count(SetupExePath);
        f->u->cmdStart->click();
        // Both installer files are on their way, the server holds back the
        // rest of Setup.exe (the bytes shown may all be of Setup.2), and
        // bytes have arrived.
        QTRY_VERIFY_WITH_TIMEOUT(log().endsWith(u"Lade Setupfile...Lade Setupfile..."_s)
                && server.requests().count(SetupExePath) > setupAsked
                && f->u->lblStatus->text().endsWith(u" KiloBytes"_s)
                && f->u->lblStatus->isVisible(),
            Timeout);
        // The old installer is gone while the new one loads: nobody starts it.
        QVERIFY(!QFile::exists(f->t->path(u"Setup.exe"_s)));
        QCOMPARE(f->u->cmdAbort->text(), u"&Abbrechen"_s);
        QVERIFY(!f->u->cmdStart->isEnabled());

        f->t->dialogs.answer(confirm ? MsgResult::Yes : MsgResult::No);
        if (closeBox)
            f->u->close();
        else
            f->u->cmdAbort->click();
        const FakeDialogs::Shown asked = f->t->dialogs.shown().last();
        QCOMPARE(asked.text, u"Download wirklich abbrechen?"_s);
        QCOMPARE(asked.title, u"Download"_s);
        QCOMPARE(asked.icon, MsgIcon::Question);
        QCOMPARE(asked.preset, MsgResult::No);
        // Only a cancelled download lets the close box close the window.
        QCOMPARE(f->u->isVisible(), !(closeBox && confirm));
        QCOMPARE(mainLocked(), !(closeBox && confirm));

        if (!confirm) {
            QCOMPARE(f->u->cmdAbort->text(), u"&Abbrechen"_s);
            server.release(SetupExePath);
            QTRY_VERIFY_WITH_TIMEOUT(f->quits, Timeout);
            QCOMPARE(f->t->shell.started, QStringList { f->t->path(u"Setup.exe"_s) });
            return;
        }
        QVERIFY(log().endsWith(u"Lade Setupfile...Lade Setupfile...Abgebrochen."_s));
        QCOMPARE(f->u->lblStatus->text(), u"Download abgebrochen."_s);
        QCOMPARE(f->u->cmdAbort->text(), u"&Beenden"_s);
        QVERIFY(f->u->cmdStart->isEnabled());
        QCOMPARE(f->u->txtURL->text(), server.url(VersionPath));
        QCOMPARE(f->u->txtLocal->text(), f->t->path(u"update.txt"_s));
        // The held transfer's connection goes; nothing arrives afterwards.
        QTRY_COMPARE_WITH_TIMEOUT(server.closedByClient(), 1, Timeout);
        checkNothingStarted();
        QCOMPARE(programDirFiles(), QStringList());
    }

    void versionWaitIsBounded()
    {
        server.serve(VersionPath, TestResponse(200, "01000003\r\n").holdAfter(3));
        server.serve(signatureOf(VersionPath),
            TestResponse(200, mine->sign("01000003\r\n", u"update2.txt"_s)));
        f->u->setWaitLimit(300);
        f->u->cmdStart->click();
        waitUntilIdle();
        QCOMPARE(log(), u"Verbindungsaufbau zum Server..."_s + Failure);
        QCOMPARE(f->t->logEntries().size(), 1);
        QVERIFY(f->t->logEntries().first().contains(u"Sekunden"_s));
        QVERIFY(f->t->dialogs.shown().isEmpty());
    }

    void failedInstallerStartWarns()
    {
        publish(VersionPath, Release);
        publishInstaller();
        f->t->shell.startSucceeds = false;
        f->t->dialogs.answer(MsgResult::Yes);
        f->t->dialogs.expectMessage();
        f->u->cmdStart->click();
        QTRY_COMPARE_WITH_TIMEOUT(f->t->dialogs.shown().size(), 2, Timeout);
        const FakeDialogs::Shown warning = f->t->dialogs.shown().last();
        QCOMPARE(warning.icon, MsgIcon::Warning);
        QVERIFY(warning.text.startsWith(u"Das Setup konnte nicht gestartet werden!"_s));
        QVERIFY(warning.text.contains(f->t->path(u"Setup.exe"_s)));
        QVERIFY(!f->quits);
        QVERIFY(!f->app->ended());
        QCOMPARE(f->u->cmdAbort->text(), u"&Beenden"_s);
        QVERIFY(f->u->cmdStart->isEnabled());
    }

    void leavingEnablesMainWindow_data()
    {
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("Beenden") << false;
        QTest::newRow("close box") << true;
    }

    void leavingEnablesMainWindow()
    {
        QFETCH(bool, closeBox);
        QCOMPARE(f->u->windowTitle(), u"Digitales Kescherheft Updater"_s);
        QCOMPARE(f->u->cmdAbort->text(), u"&Beenden"_s);
        QVERIFY(f->u->lblStatus->isHidden());
        QVERIFY(mainLocked());
        if (closeBox)
            f->u->close();
        else
            f->u->cmdAbort->click();
        QVERIFY(f->u->isHidden());
        QVERIFY(f->app->haupt->menuBar()->isEnabled() && f->app->haupt->cmdZeit->isEnabled());
        // Shown again, the same window comes back and locks the main window.
        f->app->mnuUpdate_Click();
        QCOMPARE(f->app->updater.data(), f->u);
        QVERIFY(f->u->isVisible());
        QVERIFY(mainLocked());
    }

    void lockLeavesChildWindowsUsable()
    {
        // Opened from the main window before the update began.
        f->u->cmdAbort->click();
        f->app->mnuAbout_Click();
        OpenBackupWindow(f->app->state, f->app->haupt, true);
        QPointer<frmAbout> about = f->app->about;
        QPointer<frmBackup> backup = f->app->haupt->findChild<frmBackup*>();
        QVERIFY(about && backup);
        f->app->mnuUpdate_Click();
        QVERIFY(mainLocked());
        QVERIFY(about->isEnabled() && backup->chkFang->isEnabled());

        // The main window's shortcuts are as locked as its menu.
        f->app->haupt->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f->app->haupt));
        QTest::keyClick(f->app->haupt, Qt::Key_F1);
        QVERIFY(f->t->shell.opened.isEmpty());

        // Both close by their own buttons; the updater keeps its lock.
        about->cmdOK->click();
        backup->cmdAbort->click();
        QTRY_VERIFY(about.isNull() && backup.isNull());
        QVERIFY(f->u->isVisible());
        QVERIFY(mainLocked());
    }

    void progressBar_data()
    {
        QTest::addColumn<qint64>("received");
        QTest::addColumn<qint64>("total");
        QTest::addColumn<QString>("status");
        QTest::addColumn<int>("percent");
        QTest::newRow("half") << qint64(512000) << qint64(1024000) << u"500 von 1.000 KiloBytes"_s
                              << 50;
        QTest::newRow("nothing yet")
            << qint64(0) << qint64(1024000) << u"000 von 1.000 KiloBytes"_s << 0;
        QTest::newRow("total 0") << qint64(0) << qint64(0) << u"000 von 000 KiloBytes"_s << 100;
        QTest::newRow("above the total")
            << qint64(2048000) << qint64(1024000) << u"2.000 von 1.000 KiloBytes"_s << 100;
    }

    void progressBar()
    {
        QFETCH(qint64, received);
        QFETCH(qint64, total);
        QFETCH(QString, status);
        QFETCH(int, percent);
        f->u->FileDownload_Progress(received, total);
        QCOMPARE(f->u->lblStatus->text(), status);
        QCOMPARE(f->u->cmdAbort->text(), u"&Abbrechen"_s);

        const QImage img = f->u->picProgress->grab().toImage();
        const int w = img.width(), y = 2; // above the centred text
        const QColor orange(255, 128, 0);
        const int filled = w * percent / 100;
        if (filled > 2)
            QCOMPARE(img.pixelColor(filled - 2, y), orange);
        if (filled < w - 2)
            QVERIFY(img.pixelColor(filled + 2, y) != orange);
        // The percentage stands in the middle: dark text on white or orange.
        int textPixels = 0;
        for (int x = w / 2 - 30; x < w / 2 + 30; ++x)
            for (int yy = 2; yy < img.height() - 2; ++yy)
                textPixels += qGray(img.pixel(x, yy)) < 100;
        QVERIFY(textPixels > 0);
        QCOMPARE(f->u->picProgress->percent(), percent);
    }
};

QTEST_MAIN(tst_frmUpdater)
#include "tst_frmUpdater.moc"
