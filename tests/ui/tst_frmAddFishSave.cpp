// Saving and cancelling in the catch entry window: what it shows and keeps,
// editing, the answers of the cancel question, and a catch file that cannot
// be written.
#include "ui/AddFishFixture.h"

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
        QTest::newRow("plain") << Fields {} << kSaved << Fields {} << QString();
        QTest::newRow("photo a.JPG") << Fields { { 17, u"a.JPG"_s } } << kSaved
                                     << Fields { { 6, u"Karpfen*"_s } } << kStem + u"JPG"_s;
        QTest::newRow("future") << Fields { { 1, u"18.05.2004"_s }, { 17, u"a.jpg"_s } }
                                << u"Fehler: Das eingegebene Datum liegt in der Zukunft!"_s
                                << Fields {} << QString();
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

    // A folder where the catch file should be: the user is told, the failure
    // logged, every value kept, and no "Eintrag gespeichert!" for a lost catch.
    void catchFileNotWritable()
    {
        QFile::remove(f->t->path(u"db\\fänge\\db"_s));
        QDir().mkpath(f->t->path(u"db\\fänge\\db"_s));
        auto w = f->open();
        f->typeSample(*w, { { 17, u"a.jpg"_s } });
        const QStringList typed = boxTexts(*w);
        f->t->dialogs.expectMessage();
        w->cmdSave->click();
        QCOMPARE(f->t->dialogs.messageTexts(),
            QStringList { u"Fehler: Der Fang konnte nicht gespeichert werden. Bitte prüfen Sie, "
                          "ob der Programmordner beschreibbar ist."_s });
        QCOMPARE(f->t->dialogs.shown().first().icon, MsgIcon::Warning);
        QCOMPARE(boxTexts(*w), typed);
        QCOMPARE(f->photos(), QStringList());
        const QStringList log = f->t->logEntries();
        QCOMPARE(log.size(), 1);
        QVERIFY(log.first().startsWith(u"Sub frmAddFish.cmdSave_Click\tError ("_s));
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
        QCOMPARE(!f->app->state.log->catchOutForEdit().isEmpty(), open);
        QCOMPARE(f->photos().size(), answer == MsgResult::No ? 0 : 1);
        QTEST(f->catchFile(), "file");
        if (open)
            QCOMPARE(w->txtFischArt->text(), u"Karpfen"_s);
    }
};

QTEST_MAIN(TestAddFishSave)
#include "tst_frmAddFishSave.moc"
