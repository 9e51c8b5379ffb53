// The updater window over its update run: what it shows of the run, its
// questions, its buttons, and the lock on the main window.
#include "app/UpdateRun.h"
#include "ui/AppFixture.h"
#include "ui/TabListView.h"
#include "ui/frmHaupt.h"
#include "ui/frmUpdater.h"

#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTcpServer>
#include <QTest>

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

    bool mainLocked() const
    {
        return !f->app->haupt->menuBar()->isEnabled() && !f->app->haupt->cmdZeit->isEnabled()
            && !f->app->haupt->lstFänge->isEnabled();
    }

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

    void cleanup() { f.reset(); }

    void showsRun_data()
    {
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
        QCOMPARE(
            f->u->txtLog->toPlainText(), signal == u"failed"_s ? u"Zeile 1\nZeile 2"_s : QString());
        QCOMPARE(f->t->dialogs.messageTexts(),
            icon == MsgIcon::None ? QStringList() : QStringList { text });
        if (icon != MsgIcon::None)
            QCOMPARE(f->t->dialogs.shown().first().icon, icon);
        QCOMPARE((QList<bool> { f->u->isVisible(), mainLocked() }), QList<bool>(2, stillShown));
        QCOMPARE(f->quits > 0, signal == u"ready"_s);
    }

    void buttons_data()
    {
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
        QCOMPARE(f->u->cmdAbort->text(), u"&Beenden"_s);
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
            QCOMPARE(asked.preset, MsgResult::No);
        }
        // A running transfer keeps the window unless the user agrees.
        const bool left = closeBox ? !running || confirm : !running;
        const bool goesOn = running && !confirm;
        QCOMPARE((QList<bool> { f->u->isVisible(), mainLocked() }), QList<bool>(2, !left));
        QCOMPARE((QList<bool> { f->u->run().isRunning(), !f->u->cmdStart->isEnabled() }),
            QList<bool>(2, goesOn));
        QCOMPARE(f->u->cmdAbort->text(), goesOn ? u"&Abbrechen"_s : u"&Beenden"_s);
        if (running && confirm)
            QCOMPARE(f->u->lblStatus->text(), u"Download abgebrochen."_s);
        f->app->mnuUpdate_Click(); // the same window comes back, locking again
        QCOMPARE(f->app->updater.data(), f->u);
        QVERIFY(f->u->isVisible() && mainLocked());
    }
};

QTEST_MAIN(TestFrmUpdater)
#include "tst_frmUpdater.moc"
