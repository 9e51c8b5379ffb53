// The "Datenbanken" resets and the backup window as the user meets them:
// questions, messages, the files afterwards, and the lists and figures of
// the windows, which must show the emptied or imported logs at once.
#include "app/SafetyCopy.h"
#include "platform/ErrorLog.h"
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
#include <QDir>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QStringListModel>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString kCatchFile = u"db\\fänge\\db"_s;
const QString kCostFile = u"db\\kosten\\db"_s;
const QStringList kCatches = { sampleCatch({ { 2, u"Jürgen"_s } }).join(u'\t'),
    sampleCatch({ { 1, u"2003/08/02"_s }, { 6, u"Äsche"_s } }).join(u'\t') };
const QStringList kCosts = { sampleCost().join(u'\t'),
    sampleCost({ { 1, u"2005/01/09"_s }, { 2, u"Köderladen"_s } }).join(u'\t') };
const QByteArray kDummy
    = "Please don't delete this File!\r\nBitte diese Datei nicht l\xF6schen!\r\n";

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

private slots:
    void init()
    {
        t = std::make_unique<TestEnv>();
        t->write(kCatchFile, recordFileBytes(kCatches));
        t->write(kCostFile, recordFileBytes(kCosts));
        t->write(u"db\\db.ver"_s, "102\r\n");
        t->write(u"db\\bilder\\17.05.2004_06-45-00.jpg"_s, "jpg");
        t->write(u"db\\bilder\\Alt\\Aal.jpg"_s, "aal");
        startApp();
        QVERIFY(t->dialogs.verifyDone());
        t->dialogs.clear();
    }
    void cleanup()
    {
        app.reset();
        t->dialogs.verifyDone();
    }

    void reset_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<MsgResult>("answer");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("done");
        QTest::addColumn<bool>("catches"); // emptied
        QTest::addColumn<bool>("costs");
        const QString all = u"Wollen Sie die Datenbanken wirklich zurücksetzen?"_s;
        const QString fish = u"Wollen Sie die Fangdatenbank wirklich zurücksetzen?"_s;
        const QString cost = u"Wollen Sie die Kostendatenbank wirklich zurücksetzen?"_s;
        QTest::newRow("all, yes") << u"mnuResetDB"_s << MsgResult::Yes << all
                                  << u"Datenbanken geleert!"_s << true << true;
        QTest::newRow("all, no") << u"mnuResetDB"_s << MsgResult::No << all << QString() << false
                                 << false;
        QTest::newRow("catches, yes") << u"mnuResetFänge"_s << MsgResult::Yes << fish
                                      << u"Fangdatenbank geleert!"_s << true << false;
        QTest::newRow("catches, no")
            << u"mnuResetFänge"_s << MsgResult::No << fish << QString() << false << false;
        QTest::newRow("costs, yes") << u"mnuResetKosten"_s << MsgResult::Yes << cost
                                    << u"Kostendatenbank geleert!"_s << false << true;
        QTest::newRow("costs, no")
            << u"mnuResetKosten"_s << MsgResult::No << cost << QString() << false << false;
    }

    void reset()
    {
        QFETCH(QString, entry);
        QFETCH(MsgResult, answer);
        QFETCH(QString, question);
        QFETCH(QString, done);
        QFETCH(bool, catches);
        QFETCH(bool, costs);
        const auto before = fileTree(t->path(u"db"_s));
        t->dialogs.answer(answer);
        if (answer == MsgResult::Yes)
            t->dialogs.expectMessage();
        action(entry)->trigger();
        QCOMPARE(t->dialogs.shown().first().icon, MsgIcon::Question);
        const QStringList asked
            = done.isEmpty() ? QStringList { question } : QStringList { question, done };
        QCOMPARE(texts(), asked);

        // Emptied logs, the photo folder's files gone but for a fresh marker
        // file, its subfolders kept; what went is in the safety copy.
        auto expected = before;
        QMap<QString, QByteArray> gone;
        for (auto it = before.begin(); it != before.end(); ++it) {
            const QString& k = it.key();
            if ((catches && (k == u"fänge/db"_s || k == u"db.ver"_s || k.startsWith(u"bilder/"_s)))
                || (costs && k == u"kosten/db"_s))
                gone.insert(k, it.value());
            if (catches && k.startsWith(u"bilder/"_s) && k.count(u'/') == 1)
                expected.remove(k);
        }
        if (catches) {
            expected[u"bilder/DUMMY.txt"_s] = kDummy;
            expected[u"fänge/db"_s] = "";
        }
        if (costs)
            expected[u"kosten/db"_s] = "";
        QCOMPARE(fileTree(t->path(u"db"_s), { u"Sicherungen/"_s }), expected);
        QCOMPARE(t->read(u"db\\db.ver"_s), QByteArray("102\r\n"));
        auto safety = fileTree(t->path(kSafetyCopiesFolder));
        QMap<QString, QByteArray> saved;
        if (answer == MsgResult::Yes) {
            QVERIFY(safety.take(u"2004-05-17_14-30-00/import"_s).startsWith("#2004-05-17#"));
            for (auto it = gone.begin(); it != gone.end(); ++it)
                saved.insert(u"2004-05-17_14-30-00/"_s + it.key(), it.value());
        }
        QCOMPARE(safety, saved);
        QCOMPARE(listedCatches(), catches ? 0 : 2);
        QCOMPARE(caption(), u"Gefangene Fische: %1"_s.arg(catches ? 0 : 2));
        QCOMPARE(listedCosts(), costs ? 0 : 2);
    }

    void refusedWhileEditing_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<bool>("catchOut");
        QTest::addColumn<QString>("refusal"); // empty: the question comes
        QTest::newRow("catch out, catches") << u"mnuResetFänge"_s << true << u"Fang"_s;
        QTest::newRow("purchase out, all") << u"mnuResetDB"_s << false << u"Einkauf"_s;
        QTest::newRow("catch out, costs") << u"mnuResetKosten"_s << true << QString();
        QTest::newRow("purchase out, import") << u"mnuReadBackup"_s << false << u"Einkauf"_s;
    }

    void refusedWhileEditing()
    {
        QFETCH(QString, entry);
        QFETCH(bool, catchOut);
        QFETCH(QString, refusal);
        ErrorTrap trap(t->env, u"Test"_s);
        app->state.log->refresh(u"Test"_s);
        QVERIFY(catchOut ? app->state.log->takeCatchForEdit(0, trap)
                         : app->state.log->takeCostForEdit(0, trap));
        const auto before = fileTree(t->path(u"db"_s));
        if (refusal.isEmpty())
            t->dialogs.answer(MsgResult::No);
        else
            t->dialogs.expectMessage();
        if (entry == u"mnuReadBackup"_s)
            openBackup(entry)->cmdSave->click();
        else
            action(entry)->trigger();
        if (!refusal.isEmpty()) {
            QCOMPARE(texts().first().section(u'\n', 0, 0),
                u"Es wird gerade ein %1 bearbeitet!\r"_s.arg(refusal));
            QCOMPARE(t->dialogs.shown().first().icon, MsgIcon::Warning);
        }
        QCOMPARE(fileTree(t->path(u"db"_s)), before);
    }

    void windowModes_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("label");
        QTest::newRow("F11") << u"mnuCreateBackup"_s << u"Backup erstellen"_s
                             << u"Bitte wählen Sie die Datenbank(en) aus, die Sie sichern wollen"_s;
        QTest::newRow("F12")
            << u"mnuReadBackup"_s << u"Backup einlesen"_s
            << u"Bitte wählen Sie die Datenbank(en) aus, die Sie importieren wollen"_s;
    }

    void windowModes()
    {
        QFETCH(QString, entry);
        QPointer<frmBackup> w = openBackup(entry, false, false);
        QVERIFY(w && w->isVisible());
        QTEST(w->windowTitle(), "caption");
        QTEST(w->Label1->text(), "label");
        QCOMPARE(w->cmdSave->text(), u"Fortsetzen"_s);
        QVERIFY(w->cmdSave->isDefault());
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
        QCOMPARE(t->dialogs.shown().first().kind, FakeDialogs::Kind::Folder);
        QCOMPARE(t->dialogs.shown().first().title, u"Datenbank exportieren"_s);
        QCOMPARE(texts().first(),
            u"Daten erfolgreich exportiert nach '%1'!\r\nAlte Datenbank(en) jetzt zurücksetzen?"_s
                .arg(backup()));
        QTRY_VERIFY(!app->haupt->findChild<frmBackup*>());
        const QStringList later = { sampleCatch({ { 1, u"2006/06/06"_s } }).join(u'\t') };
        t->write(kCatchFile, recordFileBytes(later));
        t->write(kCostFile, "");
        app->Änderung();
        QCOMPARE(listedCatches(), 1);

        t->dialogs.clear();
        t->dialogs.answerOpenFile(backup() + u"/import"_s);
        t->dialogs.answer(MsgResult::Yes);
        t->dialogs.expectMessage();
        openBackup(u"mnuReadBackup"_s)->cmdSave->click();
        QCOMPARE(t->dialogs.shown().first().filter,
            u"Digitales Kescherheft Importdateien (import)|import"_s);
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
        QCOMPARE(ParseItems(t->read(kCatchFile)), QStringList { kCatches[1] });
        QCOMPARE(ParseItems(t->read(kCostFile)), QStringList { kCosts[1] });
    }

    void exportWithReset()
    {
        exportBackup(false, true, MsgResult::Yes);
        QCOMPARE(texts().last(), u"Datenbank(en) erfolgreich zurückgesetzt!"_s);
        QCOMPARE(t->read(kCostFile), QByteArray());
        QCOMPARE(t->read(kCatchFile), recordFileBytes(kCatches));
        QCOMPARE(listedCosts(), 0);
        QCOMPARE(fileTree(backup()).keys(), (QStringList { u"import"_s, u"kosten/db"_s }));
    }

    void exportNameEndingInImport()
    {
        QPointer<frmBackup> w = openBackup(u"mnuCreateBackup"_s);
        t->dialogs.answerFolder(t->dir() + u"/Sicherung/import"_s);
        t->dialogs.expectMessage();
        w->cmdSave->click();
        QCOMPARE(texts(),
            QStringList { u"Haben Sie sich verklickt? Dies ist der Assistent zum EXPORTIEREN der "
                          u"Datenbanken. Zum Einlesen der Datenbanken öffnen Sie bitte den "
                          u"Importassistenten."_s });
        QVERIFY(w && w->isVisible());
        QVERIFY(!QFileInfo::exists(t->dir() + u"/Sicherung"_s));
    }

    // A backup without one of the logs: the cost log missing is reported
    // and the import goes on; the catch log missing ends it, the window
    // stays open, and a cost log imported before is shown.
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
        t->write(kCatchFile, "");
        t->write(kCostFile, "");
        app->Änderung();
        t->dialogs.clear();
        t->dialogs.answerOpenFile(backup() + u"/import"_s);
        t->dialogs.answer(MsgResult::Yes);
        for (int i = 0; i < messages.size(); ++i)
            t->dialogs.expectMessage();
        QPointer<frmBackup> w = openBackup(u"mnuReadBackup"_s);
        w->cmdSave->click();
        QCOMPARE(texts().mid(1), messages);
        QCOMPARE(
            t->dialogs.shown().at(2).icon, MsgIcon::Warning); // after the dialog and the question
        QCOMPARE(listedCatches(), exportCatches ? 2 : 0);
        QCOMPARE(listedCosts(), exportCatches ? 0 : 2);
        QCOMPARE(bool(w && w->isVisible()), windowOpen);
    }
};

QTEST_MAIN(TestFrmBackup)
#include "tst_frmBackup.moc"
