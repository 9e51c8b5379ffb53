// Saving and cancelling in the catch entry window: the exact bytes of the
// stored line, every refusal, the photo copies, editing, the answers of the
// cancel question, and photo folders and catch files that cannot be written.
#include "ui/AddFishFixture.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(MsgResult)

namespace {
const QString kSaved = u"Eintrag gespeichert!"_s;
const QString kStem = u"17.05.2004_06-45-00."_s; // photo name of the sample catch
}

class TestAddFishSave : public QObject {
    Q_OBJECT
    std::unique_ptr<AddFishFixture> f;

private Q_SLOTS:
    void init() { f = std::make_unique<AddFishFixture>(); }
    void cleanup()
    {
        f->t->dialogs.verifyDone();
        f.reset();
    }

    // A save stores the line and a copy of the photo and empties every box
    // (the photo box too: the next catch must not get this photo). A
    // refusal shows why as a warning and changes nothing; its text comes
    // from the record checks.
    void save_data()
    {
        QTest::addColumn<Fields>("typed"); // changes to the typed sample
        QTest::addColumn<QString>("message");
        QTest::addColumn<Fields>("stored"); // changes to the stored sample
        QTest::addColumn<QString>("copy"); // the photo's name in db\bilder
        auto row = [](const char* name, const Fields& typed, const Fields& stored,
                       const QString& copy = {}) {
            QTest::newRow(name) << typed << kSaved << stored << copy;
        };
        auto refused = [](const char* name, const Fields& typed, const QString& message) {
            QTest::newRow(name) << Fields { { 17, u"a.jpg"_s } } + typed << message << Fields {}
                                << QString();
        };
        row("plain", {}, {});
        row("past date", { { 1, u"20.01.2000"_s } },
            { { 1, u"2000/01/20"_s }, { 17, u"Vollmond"_s } });
        row("photo a.JPG", { { 17, u"a.JPG"_s } }, { { 6, u"Karpfen*"_s } }, kStem + u"JPG"_s);
        row("photo with dotted name", { { 6, u"Aal"_s }, { 17, u"mein.bild.gif"_s } },
            { { 6, u"Aal*"_s } }, kStem + u"gif"_s);
        refused("future", { { 1, u"18.05.2004"_s } },
            u"Fehler: Das eingegebene Datum liegt in der Zukunft!"_s);
        refused("photo no picture", { { 17, u"a.png"_s } },
            u"Fehler: Das gewählte Bild ist keine Bilddatei (jpg, jpeg, gif, bmp)!"_s);
    }
    void save()
    {
        QFETCH(Fields, typed);
        QFETCH(QString, message);
        QFETCH(Fields, stored);
        QFETCH(QString, copy);
        auto w = f->open();
        f->typeSample(*w, typed);
        const QStringList before = boxTexts(*w);
        f->t->dialogs.expectMessage();
        w->cmdSave->click();
        QCOMPARE(f->t->dialogs.messageTexts(), QStringList { message });
        const bool saved = message == kSaved;
        QCOMPARE(
            f->t->dialogs.shown().last().icon, saved ? MsgIcon::Information : MsgIcon::Warning);
        QCOMPARE(f->catchFile(),
            saved ? savedSample(Fields { { 6, u"Karpfen"_s } } + stored) : QByteArray());
        QCOMPARE(f->photos(), copy.isEmpty() ? QStringList() : QStringList { copy });
        QCOMPARE(boxTexts(*w), saved ? newCatchTexts() : before);
        QVERIFY(f->t->logEntries().isEmpty());
        for (const auto& [number, chosen] : typed) {
            if (number == 17 && saved) { // a copy: the user's own file stays
                QCOMPARE(f->t->read(u"db\\bilder\\"_s + copy), chosen.toUtf8());
                QVERIFY(QFileInfo::exists(f->t->dir() + u"/Fotos/"_s + chosen));
            }
        }
    }

    void returnSavesAndResets()
    {
        auto w = f->open();
        QVERIFY(showActive(*w));
        f->typeSample(*w, { { 1, u"16.05.2004"_s } });
        w->txtWetter->setFocus(Qt::TabFocusReason);
        f->t->dialogs.expectMessage();
        QTest::keyClick(w->txtWetter, Qt::Key_Return);
        QCOMPARE(f->t->dialogs.messageTexts(), QStringList { kSaved });
        QCOMPARE(boxTexts(*w), newCatchTexts());
        QCOMPARE(w->labPhase->text(), u"1/4 Mond ab."_s);
        // A second catch goes below the first.
        f->typeSample(*w, { { 2, u"Eva"_s } });
        f->t->dialogs.expectMessage();
        w->cmdSave->click();
        QVERIFY(f->catchFile().startsWith("\"2004/05/16\tMax\t"));
        QVERIFY(f->catchFile().endsWith(savedSample({ { 2, u"Eva"_s }, { 6, u"Karpfen"_s } })));
    }

    // The date box does not run the time check; when the save finds the
    // times wrong for the new date, the indicator shows the cross.
    void timesRefusedAfterDateChangeShowCross_data()
    {
        QTest::addColumn<QString>("date");
        QTest::addColumn<bool>("refused");
        QTest::newRow("moved to today, end after now") << u"17.05.2004"_s << true;
        QTest::newRow("moved to another past day") << u"15.05.2004"_s << false;
    }
    void timesRefusedAfterDateChangeShowCross()
    {
        QFETCH(QString, date);
        QFETCH(bool, refused);
        auto w = f->open(); // now: 17.05.2004, 14:30
        f->typeSample(*w, { { 1, u"16.05.2004"_s }, { 5, u"15:00"_s } });
        QVERIFY(!w->imgTrue->isHidden() && w->imgFalse->isHidden() && w->cmdSave->isEnabled());
        w->txtDate->setText(date);
        QVERIFY(!w->imgTrue->isHidden()); // the date alone checks nothing
        f->t->dialogs.expectMessage();
        w->cmdSave_Click();
        QCOMPARE(f->t->dialogs.messageTexts().first(),
            refused ? u"Fehler: Bitte prüfen Sie Angelbeginn, Fangzeit und Angelende!"_s : kSaved);
        if (!refused)
            return;
        QVERIFY(w->imgTrue->isHidden());
        QVERIFY(!w->imgFalse->isHidden());
        QVERIFY(!w->cmdSave->isEnabled());
        QCOMPARE(f->catchFile(), QByteArray());
    }

    // A folder where a file should be, or the other way round: the user is
    // told, the failure logged, and no "Eintrag gespeichert!" for a lost catch.
    void writeFailures_data()
    {
        QTest::addColumn<QString>("blocked");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("photo folder is a file")
            << u"db\\bilder"_s
            << QStringList { u"Fehler: Der Fang wurde gespeichert, aber das Bild konnte nicht in "
                             "den Ordner \"db\\bilder\" kopiert werden!"_s,
                   kSaved }
            << savedSample();
        QTest::newRow("catch file is a folder")
            << u"db\\fänge\\db"_s
            << QStringList { u"Fehler: Der Fang konnte nicht gespeichert werden. Bitte prüfen Sie, "
                             "ob der Programmordner beschreibbar ist."_s }
            << QByteArray("<missing>");
    }
    void writeFailures()
    {
        QFETCH(QString, blocked);
        QFETCH(QStringList, messages);
        const QString path = f->t->path(blocked);
        if (QFileInfo(path).isDir() && QDir(path).removeRecursively())
            f->t->write(blocked, "not a folder");
        else if (QFile::remove(path))
            QDir().mkpath(path);
        auto w = f->open();
        f->typeSample(*w, { { 17, u"a.jpg"_s } });
        const QStringList typed = boxTexts(*w);
        for (qsizetype i = 0; i < messages.size(); ++i)
            f->t->dialogs.expectMessage();
        w->cmdSave->click();
        QCOMPARE(f->t->dialogs.messageTexts(), messages);
        QCOMPARE(f->t->dialogs.shown().first().icon, MsgIcon::Warning);
        QTEST(f->catchFile(), "file");
        if (messages.size() == 1) { // not saved: every value kept, no photo copied
            QCOMPARE(boxTexts(*w), typed);
            QCOMPARE(f->photos(), QStringList());
        }
        const QStringList log = f->t->logEntries();
        QCOMPARE(log.size(), 1);
        QVERIFY(log.first().startsWith(u"Sub frmAddFish.cmdSave_Click\tError ("_s));
    }

    void editSave_data()
    {
        QTest::addColumn<QString>("photo"); // in db\bilder when loaded; "" = missing
        QTest::addColumn<Fields>("changes");
        QTest::addColumn<Fields>("stored");
        QTest::addColumn<QString>("copy"); // the one file in db\bilder after the save
        QTest::addColumn<QByteArray>("bytes"); // its bytes
        const QByteArray old("OLD");
        QTest::newRow("time changed: photo moves")
            << kStem + u"jpg"_s << Fields { { 4, u"07:10"_s } } << Fields { { 4, u"07:10"_s } }
            << u"17.05.2004_07-10-00.jpg"_s << old;
        QTest::newRow("unchanged: photo stays")
            << kStem + u"JPG"_s << Fields {} << Fields {} << kStem + u"JPG"_s << old;
        QTest::newRow("photo taken off")
            << kStem + u"jpg"_s << Fields { { 17, QString() }, { 4, u"07:10"_s } }
            << Fields { { 4, u"07:10"_s }, { 6, u"Karpfen"_s } } << QString() << QByteArray();
        QTest::newRow("photo replaced") << kStem + u"jpg"_s << Fields { { 17, u"neu.bmp"_s } }
                                        << Fields {} << kStem + u"bmp"_s << QByteArray("neu.bmp");
        QTest::newRow("photo file missing: mark dropped")
            << QString() << Fields {} << Fields { { 6, u"Karpfen"_s } } << QString()
            << QByteArray();
    }
    void editSave()
    {
        QFETCH(QString, photo);
        QFETCH(Fields, changes);
        QFETCH(Fields, stored);
        QFETCH(QString, copy);
        if (photo.isEmpty())
            f->t->dialogs.expectMessage(); // the load misses the photo
        auto w = f->openForEdit({}, photo.isEmpty() ? QStringList() : QStringList { photo });
        QVERIFY(showActive(*w));
        f->enter(*w, changes);
        f->t->dialogs.expectMessage();
        w->cmdSave->click();
        QCOMPARE(f->t->dialogs.messageTexts().last(), kSaved);
        QCOMPARE(f->catchFile(), savedSample(stored));
        QCOMPARE(f->photos(), copy.isEmpty() ? QStringList() : QStringList { copy });
        if (!copy.isEmpty())
            QTEST(f->t->read(u"db\\bilder\\"_s + copy), "bytes");
        QVERIFY(!w->isVisible());
        QVERIFY(!f->app->state.log->editFlag);
    }

    void escapeCancelsNewCatch()
    {
        auto w = f->open();
        QVERIFY(showActive(*w));
        f->typeSample(*w, { { 1, u"01.01.2004"_s } });
        QTest::keyClick(w->txtFänger, Qt::Key_Escape);
        QVERIFY(!w->isVisible());
        QCOMPARE(w->txtDate->text(), u"17.05.2004"_s);
        QCOMPARE(f->catchFile(), QByteArray());
        QVERIFY(f->t->dialogs.shown().isEmpty());
    }

    void cancelEdit_data()
    {
        QTest::addColumn<MsgResult>("answer");
        QTest::addColumn<QString>("weight"); // "0,00" makes a Yes stop at its check
        QTest::addColumn<bool>("open"); // the window, still editing, photo kept
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("cancel") << MsgResult::Cancel << u"12,40"_s << true << QByteArray();
        QTest::newRow("no") << MsgResult::No << u"12,40"_s << false << QByteArray();
        QTest::newRow("yes") << MsgResult::Yes << u"12,40"_s << false << savedSample();
        QTest::newRow("yes refused") << MsgResult::Yes << u"0,00"_s << true << QByteArray();
    }
    void cancelEdit()
    {
        QFETCH(MsgResult, answer);
        QFETCH(QString, weight);
        QFETCH(bool, open);
        auto w = f->openForEdit({}, { kStem + u"jpg"_s });
        QVERIFY(showActive(*w));
        w->txtGewicht->setText(weight);
        f->t->dialogs.answer(answer);
        if (answer == MsgResult::Yes)
            f->t->dialogs.expectMessage(); // saved, or the refusal
        w->cmdAbort->click();

        const FakeDialogs::Shown q = f->t->dialogs.shown().first();
        QCOMPARE(q.title, u"Änderungen speichern?"_s);
        QCOMPARE(q.text,
            u"Es liegen ungespeicherte Änderungen vor!\r\nWenn Sie den Vorgang jetzt abbrechen, "
            "geht der Eintrag verloren!\r\nÄnderungen jetzt speichern?"_s);
        QCOMPARE(q.icon, MsgIcon::Information);
        QCOMPARE(q.buttons, MsgButtons::YesNoCancel);
        QCOMPARE(w->isVisible(), open);
        QCOMPARE(f->app->state.log->editFlag, open);
        QCOMPARE(f->app->state.log->editRecord.isEmpty(), !open);
        QCOMPARE(f->photos().size(), answer == MsgResult::No ? 0 : 1);
        QTEST(f->catchFile(), "file");
        if (open)
            QCOMPARE(w->txtFischArt->text(), u"Karpfen"_s);
    }
};

QTEST_MAIN(TestAddFishSave)
#include "tst_frmAddFishSave.moc"
