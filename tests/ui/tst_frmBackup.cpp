// The "Datenbanken" resets and the backup window: questions, messages, and
// the windows' lists, which must show the emptied or imported logs at once.
#include "platform/ErrorLog.h"
#include "platform/Paths.h"
#include "store/Logbook.h"
#include "store/RecordFile.h"
#include "support/FileTree.h"
#include "ui/AppFixture.h"
#include "ui/TabListView.h"
#include "ui/frmAddKosten.h"
#include "ui/frmBackup.h"
#include "ui/frmFangUebersicht.h"
#include "ui/frmHaupt.h"

#include <QAction>
#include <QCheckBox>
#include <QItemSelectionModel>
#include <QPointer>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QStringList kCatches = { sampleCatchLine({ { 2, u"Jürgen"_s } }),
    sampleCatchLine({ { 1, u"2003/08/02"_s }, { 6, u"Äsche"_s } }) };
const QStringList kCosts
    = { sampleCostLine(), sampleCostLine({ { 1, u"2005/01/09"_s }, { 2, u"Köderladen"_s } }) };

} // namespace

class TestFrmBackup : public QObject, AppFixture {
    Q_OBJECT

    QString backup() const { return t->dir() + u"/Sicherung März"_s; }
    int listedCatches() const { return app->uebersicht->lstFänge->count() - 2; }
    int listedCosts() const { return app->kosten->lstKosten->count(); }
    QString caption() const { return app->haupt->cmdFangÜbersicht->text(); }
    QAction* action(const QString& name) const { return app->haupt->findChild<QAction*>(name); }

    frmBackup* openBackup(const QString& entry, bool catches = true, bool costs = true)
    {
        action(entry)->trigger();
        frmBackup* w = app->haupt->findChild<frmBackup*>();
        if (w) {
            w->chkFang->setChecked(catches);
            w->chkKosten->setChecked(costs);
        }
        return w;
    }

    // F11, then the folder dialog; the reset question answered `reset`.
    void exportBackup(bool catches, bool costs, MsgResult reset = MsgResult::No)
    {
        t->dialogs.answerFolder(backup());
        t->dialogs.answer(reset);
        if (reset == MsgResult::Yes)
            t->dialogs.expectMessage();
        openBackup(u"mnuCreateBackup"_s, catches, costs)->cmdSave->click();
        QVERIFY(t->dialogs.allAnswered() && t->dialogs.problems().isEmpty());
    }

    QStringList texts() const { return t->dialogs.messageTexts(); }
    void importBackup(int messages)
    {
        t->dialogs.clear();
        t->dialogs.answerOpenFile(backup() + u"/import"_s);
        t->dialogs.answer(MsgResult::Yes);
        for (int i = 0; i < messages; ++i)
            t->dialogs.expectMessage();
        openBackup(u"mnuReadBackup"_s)->cmdSave->click();
    }

private slots:
    void init()
    {
        t->write(kCatchLogPath, recordFileBytes(kCatches));
        t->write(kCostLogPath, recordFileBytes(kCosts));
        t->write(u"db\\db.ver"_s, "102\r\n");
        startApp();
        QVERIFY(t->dialogs.verifyDone());
    }
    void cleanup() { closeApp(); }

    void reset_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<MsgResult>("answer");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("done");
        QTest::addColumn<bool>("catches"); // emptied
        QTest::addColumn<bool>("costs");
        const auto row = [](const char* name, const QString& entry, MsgResult answer,
                             const QString& log, bool catches, bool costs) {
            QTest::newRow(name) << entry << answer
                                << u"Wollen Sie die %1 wirklich zurücksetzen?"_s.arg(log)
                                << (answer == MsgResult::Yes ? log + u" geleert!"_s : QString())
                                << catches << costs;
        };
        row("all, yes", u"mnuResetDB"_s, MsgResult::Yes, u"Datenbanken"_s, true, true);
        row("all, no", u"mnuResetDB"_s, MsgResult::No, u"Datenbanken"_s, false, false);
        row("catches", u"mnuResetFänge"_s, MsgResult::Yes, u"Fangdatenbank"_s, true, false);
        row("costs", u"mnuResetKosten"_s, MsgResult::Yes, u"Kostendatenbank"_s, false, true);
    }

    void reset()
    {
        QFETCH(MsgResult, answer);
        QFETCH(QString, question);
        QFETCH(QString, done);
        QFETCH(bool, catches);
        QFETCH(bool, costs);
        t->dialogs.answer(answer);
        if (answer == MsgResult::Yes)
            t->dialogs.expectMessage();
        QFETCH(QString, entry);
        action(entry)->trigger();
        QCOMPARE(t->dialogs.shown().first().icon, MsgIcon::Question);
        QCOMPARE(texts(), QStringList({ question, done }).mid(0, done.isEmpty() ? 1 : 2));
        QCOMPARE(t->read(kCostLogPath).isEmpty(), costs);
        QCOMPARE(listedCatches(), catches ? 0 : 2);
        QCOMPARE(caption(), u"Gefangene Fische: %1"_s.arg(catches ? 0 : 2));
        QCOMPARE(listedCosts(), costs ? 0 : 2);
    }

    void refusedWhileEditing_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<bool>("catchOut");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("catch out, catches") << u"mnuResetFänge"_s << true << u"Fang"_s;
        QTest::newRow("purchase out, all") << u"mnuResetDB"_s << false << u"Einkauf"_s;
        QTest::newRow("purchase out, import") << u"mnuReadBackup"_s << false << u"Einkauf"_s;
    }

    void refusedWhileEditing()
    {
        QFETCH(QString, entry);
        QFETCH(bool, catchOut);
        QFETCH(QString, refusal);
        ErrorTrap trap(t->env, u"Test"_s);
        QVERIFY(catchOut ? app->state.log->takeCatchForEdit(0, trap)
                         : app->state.log->takeCostForEdit(0, trap));
        const auto before = fileTree(t->path(u"db"_s));
        t->dialogs.expectMessage();
        if (entry == u"mnuReadBackup"_s)
            openBackup(entry)->cmdSave->click();
        else
            action(entry)->trigger();
        QCOMPARE(texts().first().section(u'\n', 0, 0),
            u"Es wird gerade ein %1 bearbeitet!\r"_s.arg(refusal));
        QCOMPARE(fileTree(t->path(u"db"_s)), before);
    }

    // Enter without a log chosen refuses and keeps the window; Escape closes it.
    void keys()
    {
        QPointer<frmBackup> w = openBackup(u"mnuReadBackup"_s, false, false);
        QVERIFY(w && w->isVisible());
        t->dialogs.expectMessage();
        QTest::keyClick(w, Qt::Key_Return);
        QCOMPARE(texts(), QStringList { u"Bitte wählen Sie mindestens eine Datenbank aus!"_s });
        QVERIFY(w->isVisible());
        QTest::keyClick(w, Qt::Key_Escape);
        QTRY_VERIFY(!w);
    }

    // Export, a change, then the import: the windows show the backup's
    // logs, and a delete in them removes from those, not from the old ones.
    void exportThenImport()
    {
        exportBackup(true, true);
        QCOMPARE(texts().first(),
            u"Daten erfolgreich exportiert nach '%1'!\r\nAlte Datenbank(en) jetzt zurücksetzen?"_s
                .arg(backup()));
        QTRY_VERIFY(!app->haupt->findChild<frmBackup*>());
        t->write(kCatchLogPath, recordFileBytes({ sampleCatchLine({ { 1, u"2006/06/06"_s } }) }));
        t->write(kCostLogPath, "");
        app->Änderung();
        QCOMPARE(listedCatches(), 1);
        importBackup(1);
        QCOMPARE(texts(),
            (QStringList { u"Die Datenbank(en) wurde(n) am 17.05.2004 um 14:30 exportiert.\r\n"
                           u"Wollen Sie die Datenbank(en) jetzt importieren und die alte(n) "
                           u"überschreiben?"_s,
                u"Datenbank(en) erfolgreich importiert!"_s }));
        QCOMPARE(listedCatches(), 2);
        QCOMPARE(caption(), u"Gefangene Fische: 2"_s);
        QCOMPARE(listedCosts(), 2);
        t->dialogs.answer(MsgResult::Yes);
        app->uebersicht->lstFänge->setCurrentIndex(app->uebersicht->lstFänge->model()->index(2, 0));
        app->uebersicht->cmdDelete_Click();
        t->dialogs.answer(MsgResult::Yes);
        app->kosten->lstKosten->selectionModel()->select(
            app->kosten->lstKosten->model()->index(0, 0), QItemSelectionModel::ClearAndSelect);
        app->kosten->cmdDelete_Click();
        QCOMPARE(ParseItems(t->read(kCatchLogPath)), QStringList { kCatches[1] });
        QCOMPARE(ParseItems(t->read(kCostLogPath)), QStringList { kCosts[1] });
    }

    void exportWithReset()
    {
        exportBackup(false, true, MsgResult::Yes);
        QCOMPARE(texts().last(), u"Datenbank(en) erfolgreich zurückgesetzt!"_s);
        QCOMPARE(listedCosts(), 0);
        QCOMPARE(listedCatches(), 2);
    }

    // A backup without one log: no costs are reported and the import goes
    // on; no catches end it, the window stays open, the costs are shown.
    void backupWithoutOneLog_data()
    {
        QTest::addColumn<bool>("exportCatches");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<bool>("windowOpen");
        QTest::newRow("catches only")
            << true
            << QStringList { u"In dieser Sicherung wurde die Angelkostendatenbank nicht mit exportiert!"_s,
                   u"Datenbank(en) erfolgreich importiert!"_s }
            << false;
        QTest::newRow("costs only")
            << false
            << QStringList { u"In dieser Sicherung wurde die Fangdatenbank nicht mit exportiert!"_s }
            << true;
    }

    void backupWithoutOneLog()
    {
        QFETCH(bool, exportCatches);
        QFETCH(QStringList, messages);
        QFETCH(bool, windowOpen);
        exportBackup(exportCatches, !exportCatches);
        t->write(kCatchLogPath, "");
        t->write(kCostLogPath, "");
        app->Änderung();
        importBackup(messages.size());
        QPointer<frmBackup> w = app->haupt->findChild<frmBackup*>();
        QCOMPARE(texts().mid(1), messages);
        QCOMPARE(listedCatches(), exportCatches ? 2 : 0);
        QCOMPARE(listedCosts(), exportCatches ? 0 : 2);
        QCOMPARE(bool(w && w->isVisible()), windowOpen);
    }
};

QTEST_MAIN(TestFrmBackup)
#include "tst_frmBackup.moc"
