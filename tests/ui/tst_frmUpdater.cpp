// The updater window over its update run: it shows the run's log, status
// and progress, asks its questions, ends the program once the installer has
// started, and locks the main window while it is shown, which leaves the
// windows opened from it usable. The run's own rules are tested with it.
#include "app/UpdateCheck.h"
#include "app/UpdateRun.h"
#include "ui/AppFixture.h"
#include "ui/DatabaseMenus.h"
#include "ui/ProgressPicture.h"
#include "ui/TabListView.h"
#include "ui/frmAbout.h"
#include "ui/frmBackup.h"
#include "ui/frmHaupt.h"
#include "ui/frmUpdater.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTcpServer>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(MsgIcon)

class TestFrmUpdater : public QObject {
    Q_OBJECT

    // Takes connections and never answers: a run stays at its first transfer.
    QTcpServer silent;

    struct Fixture : AppFixture {
        Fixture() { makeApp(); }
        frmUpdater* u = nullptr;
    };
    std::unique_ptr<Fixture> f;

    // The main window's menu bar (with its shortcuts) and its dashboard.
    bool mainLocked() const
    {
        return !f->app->haupt->menuBar()->isEnabled() && !f->app->haupt->cmdZeit->isEnabled()
            && !f->app->haupt->lstFänge->isEnabled();
    }
    QString log() const { return f->u->txtLog->toPlainText(); }
private slots:
    void initTestCase() { QVERIFY(silent.listen(QHostAddress::LocalHost)); }

    void init()
    {
        f = std::make_unique<Fixture>();
        f->app->haupt = f->app->createMain();
        f->app->haupt->show();
        const QString base = u"https://127.0.0.1:%1/"_s.arg(silent.serverPort());
        f->u = f->app->createUpdater(
            { base + u"update2.txt"_s, base + u"Setup.exe"_s, base + u"Setup.2"_s, {} });
        f->app->mnuUpdate_Click();
    }

    void cleanup()
    {
        f->t->dialogs.verifyDone();
        f.reset();
    }

    void showsRun_data()
    {
        // What the run tells, and the message the window shows for it.
        QTest::addColumn<QString>("signal");
        QTest::addColumn<MsgIcon>("icon"); // None: no message
        QTest::addColumn<bool>("stillShown");
        QTest::newRow("up to date") << u"upToDate"_s << MsgIcon::Information << true;
        QTest::newRow("offer, answered No") << u"offered"_s << MsgIcon::Question << false;
        QTest::newRow("offer, answered Yes") << u"offered, Yes"_s << MsgIcon::Question << true;
        QTest::newRow("failure") << u"failed"_s << MsgIcon::None << true;
        QTest::newRow("setup not started") << u"setupNotStarted"_s << MsgIcon::Warning << true;
        QTest::newRow("installer started") << u"ready"_s << MsgIcon::None << true;
    }

    void showsRun()
    {
        QFETCH(QString, signal);
        QFETCH(MsgIcon, icon);
        QFETCH(bool, stillShown);
        const QString text = u"Zeile 1\r\nZeile 2"_s;
        if (icon == MsgIcon::Question)
            f->t->dialogs.answer(signal.endsWith(u"Yes"_s) ? MsgResult::Yes : MsgResult::No);
        else if (icon != MsgIcon::None)
            f->t->dialogs.expectMessage();
        const QByteArray name = signal.section(u',', 0, 0).toLatin1();
        QVERIFY(name == "ready"
                ? QMetaObject::invokeMethod(&f->u->run(), name)
                : QMetaObject::invokeMethod(&f->u->run(), name, Q_ARG(QString, text)));
        QCOMPARE(log(), signal == u"failed"_s ? u"Zeile 1\nZeile 2"_s : QString());
        QCOMPARE(f->t->dialogs.messageTexts(),
            icon == MsgIcon::None ? QStringList() : QStringList { text });
        if (icon != MsgIcon::None)
            QCOMPARE(f->t->dialogs.shown().first().icon, icon);
        QCOMPARE(f->u->isVisible(), stillShown);
        QCOMPARE(mainLocked(), stillShown);
        QCOMPARE(f->quits > 0, signal == u"ready"_s);
    }

    void buttons_data()
    {
        // "&Beenden"/"&Abbrechen" or the close box, while a run goes or not,
        // and the answer to the question whether to cancel it.
        QTest::addColumn<bool>("running");
        QTest::addColumn<bool>("closeBox");
        QTest::addColumn<bool>("confirm");
        QTest::newRow("Beenden") << false << false << false;
        QTest::newRow("close box") << false << true << false;
        QTest::newRow("Abbrechen, Yes") << true << false << true;
        QTest::newRow("Abbrechen, No") << true << false << false;
        QTest::newRow("close box, Yes") << true << true << true;
        QTest::newRow("close box, No") << true << true << false;
    }

    void buttons()
    {
        QFETCH(bool, running);
        QFETCH(bool, closeBox);
        QFETCH(bool, confirm);
        QCOMPARE(f->u->windowTitle(), u"Digitales Kescherheft Updater"_s);
        QCOMPARE(f->u->cmdAbort->text(), u"&Beenden"_s);
        QVERIFY(f->u->lblStatus->isHidden());
        QVERIFY(mainLocked());
        if (running) {
            f->u->cmdStart->click();
            QCOMPARE(f->u->cmdAbort->text(), u"&Abbrechen"_s);
            QVERIFY(!f->u->cmdStart->isEnabled());
            f->t->dialogs.answer(confirm ? MsgResult::Yes : MsgResult::No);
        }
        if (closeBox)
            f->u->close();
        else
            f->u->cmdAbort->click();
        if (running) {
            const FakeDialogs::Shown asked = f->t->dialogs.shown().last();
            QCOMPARE(asked.text, u"Download wirklich abbrechen?"_s);
            QCOMPARE(asked.title, u"Download"_s);
            QCOMPARE(asked.icon, MsgIcon::Question);
            QCOMPARE(asked.preset, MsgResult::No);
        }
        // A running transfer keeps the window unless the user agrees.
        const bool left = closeBox ? !running || confirm : !running;
        const bool goesOn = running && !confirm;
        QCOMPARE(f->u->isVisible(), !left);
        QCOMPARE(mainLocked(), !left);
        QCOMPARE(f->app->haupt->menuBar()->isEnabled() && f->app->haupt->cmdZeit->isEnabled(), left);
        QCOMPARE(f->u->run().isRunning(), goesOn);
        QCOMPARE(f->u->cmdAbort->text(), goesOn ? u"&Abbrechen"_s : u"&Beenden"_s);
        QCOMPARE(f->u->cmdStart->isEnabled(), !goesOn);
        if (running && confirm) {
            QCOMPARE(log(), u"Verbindungsaufbau zum Server...Abgebrochen."_s);
            QCOMPARE(f->u->lblStatus->text(), u"Download abgebrochen."_s);
        }
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
        QTest::addColumn<int>("percent");
        QTest::newRow("half") << qint64(512000) << qint64(1024000) << 50;
        QTest::newRow("total 0") << qint64(0) << qint64(0) << 100;
        QTest::newRow("above the total") << qint64(2048000) << qint64(1024000) << 100;
    }

    void progressBar()
    {
        QFETCH(qint64, received);
        QFETCH(qint64, total);
        QFETCH(int, percent);
        emit f->u->run().transferStarted();
        emit f->u->run().progress(received, total);
        QVERIFY(f->u->lblStatus->isVisible());
        QCOMPARE(f->u->lblStatus->text(), progressText(received, total));
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

QTEST_MAIN(TestFrmUpdater)
#include "tst_frmUpdater.moc"
