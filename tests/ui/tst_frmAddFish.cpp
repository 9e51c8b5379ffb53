// The catch entry window: what it takes while the user types, a catch loaded
// for editing, saving and cancelling.
#include "ui/AddFishFixture.h"

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(MsgResult)

namespace {
const QString kSaved = u"Eintrag gespeichert!"_s;
const QString kStem = u"17.05.2004_06-45-00."_s; // photo name of the sample catch
}

class TestAddFish : public QObject {
    Q_OBJECT
    std::unique_ptr<AddFishFixture> f;

private Q_SLOTS:
    void init() { f = std::make_unique<AddFishFixture>(); }
    void cleanup() { f.reset(); }

    void opensWithDefaults()
    {
        auto w = f->open();
        QCOMPARE(w->windowTitle(), u"Fang eintragen"_s);
        QCOMPARE(boxTexts(*w), newCatchTexts());
        QCOMPARE(w->labPhase->text(), u"1/4 Mond ab."_s);
        QVERIFY(!w->cmdSave->isEnabled() && w->cmdSave->isDefault()); // no time checked yet
    }

    // Each box has its key filter; the photo path takes anything.
    void eachBoxTakesItsKindOfText()
    {
        auto w = f->open();
        const QString text = u"sunny \u00C4\"\u03A91.2,3-:€"_s;
        const QString record = u"sunny Ä1.2,3-:€"_s;
        const QStringList expected { u"1.23"_s, record, u"123:"_s, u"123:"_s, u"123:"_s, record,
            u"1,2,3"_s, u"1,2,3"_s, record, record, record, record, record, u"1,2,3-"_s,
            u"1,2,3-"_s, u"1,2,3"_s, text };
        for (QLineEdit* b : boxes(*w)) {
            b->clear();
            typeInto(b, text);
        }
        QCOMPARE(boxTexts(*w), expected);
    }

    // Each change of a time runs the check: tick or cross, save on or off.
    void timeCheck_data()
    {
        QTest::addColumn<QString>("times"); // start, catch and end on 16.05.2004
        QTest::addColumn<bool>("valid");
        QTest::newRow("in order") << u"06:00 06:00 23:59"_s << true;
        QTest::newRow("catch before start") << u"06:00 05:59 07:00"_s << false;
    }
    void timeCheck()
    {
        QFETCH(QString, times);
        QFETCH(bool, valid);
        auto w = f->open();
        const QStringList t = times.split(u' ');
        f->enter(*w, { { 1, u"16.05.2004"_s }, { 3, t[0] }, { 4, t[1] }, { 5, t[2] } });
        QCOMPARE((QList<bool> {
                     w->cmdSave->isEnabled(), !w->imgTrue->isHidden(), w->imgFalse->isHidden() }),
            QList<bool>(3, valid));
    }

    // Every box from the record, the photo found beside it (or a warning
    // that it is gone); the phase from the date, not the record.
    void loadForEditing_data()
    {
        QTest::addColumn<bool>("photo");
        QTest::newRow("photo") << true;
        QTest::newRow("no photo file: warned") << false;
    }
    void loadForEditing()
    {
        QFETCH(bool, photo);
        const QString name = u"17.05.2004_06-45-00.jpg"_s;
        if (!photo)
            f->t->dialogs.expectMessage();
        auto w = f->openForEdit(
            { { 6, u"Karpfen*"_s } }, photo ? QStringList { name } : QStringList());
        QCOMPARE(boxTexts(*w),
            editRecord({ { 6, u"Karpfen"_s }, { 17, photo ? f->photo(name) : QString() } })
                .split(u'\t'));
        QCOMPARE(w->labPhase->text(), u"1/4 Mond ab."_s);
        QVERIFY(w->cmdSave->isEnabled()); // the loaded times ran the check
        if (!photo)
            QVERIFY(f->t->dialogs.messageTexts().first().startsWith(
                u"Fehler: In der Datenbank ist zwar ein Verweis auf ein Bild"_s));
    }

    // A save stores the catch with its photo and empties every box, the
    // photo box too; a refusal shows the check's text and keeps them.
    void save_data()
    {
        QTest::addColumn<Fields>("typed"); // changes to the typed sample
        QTest::addColumn<QString>("message");
        QTest::addColumn<Fields>("stored"); // changes to the stored sample
        QTest::addColumn<QString>("copy"); // the photo's name in db\bilder
        QTest::newRow("photo a.JPG") << Fields { { 17, u"a.JPG"_s } } << kSaved
                                     << Fields { { 6, u"Karpfen*"_s } } << kStem + u"JPG"_s;
        // A folder where the catch file should be: no "Eintrag gespeichert!"
        // for a lost catch.
        QTest::newRow("catch file not writable")
            << Fields { { 17, u"a.jpg"_s } }
            << u"Fehler: Der Fang konnte nicht gespeichert werden. Bitte prüfen Sie, ob der "
               "Programmordner beschreibbar ist."_s
            << Fields {} << QString();
    }
    void save()
    {
        QFETCH(Fields, typed);
        QFETCH(QString, message);
        QFETCH(Fields, stored);
        QFETCH(QString, copy);
        const bool blocked = message.startsWith(u"Fehler: Der Fang"_s);
        if (blocked) {
            QFile::remove(f->t->path(u"db\\fänge\\db"_s));
            QDir().mkpath(f->t->path(u"db\\fänge\\db"_s));
        }
        auto w = f->open();
        f->typeSample(*w, typed);
        const QStringList before = boxTexts(*w);
        f->t->dialogs.expectMessage();
        w->cmdSave->click();
        QCOMPARE(f->t->dialogs.messageTexts(), QStringList { message });
        const bool saved = message == kSaved;
        QCOMPARE(
            f->t->dialogs.shown().last().icon, saved ? MsgIcon::Information : MsgIcon::Warning);
        if (!blocked)
            QCOMPARE(f->catchFile(),
                saved ? savedSample(Fields { { 6, u"Karpfen"_s } } + stored) : QByteArray());
        QCOMPARE(f->photos(), copy.isEmpty() ? QStringList() : QStringList { copy });
        QCOMPARE(boxTexts(*w), saved ? newCatchTexts() : before);
    }

    void returnSavesAndResets()
    {
        auto w = f->open();
        QVERIFY(showActive(*w));
        f->typeSample(*w, { { 1, u"16.05.2004"_s } });
        w->txtWetter->setFocus(Qt::TabFocusReason);
        f->t->dialogs.expectMessage();
        QTest::keyClick(w->txtWetter, Qt::Key_Return);
        QVERIFY(f->t->dialogs.messageTexts() == QStringList { kSaved }
            && boxTexts(*w) == newCatchTexts() && f->catchFile().startsWith("\"2004/05/16\tMax\t"));
    }

    // The date box does not run the time check; when the save finds the
    // times wrong for the new date, the indicator shows the cross.
    void timesRefusedAfterDateChangeShowCross()
    {
        auto w = f->open(); // now: 17.05.2004, 14:30
        f->typeSample(*w, { { 1, u"16.05.2004"_s }, { 5, u"15:00"_s } });
        w->txtDate->setText(u"17.05.2004"_s);
        QVERIFY(!w->imgTrue->isHidden()); // the date alone checks nothing
        f->t->dialogs.expectMessage();
        w->cmdSave_Click();
        QVERIFY(w->imgTrue->isHidden() && !w->imgFalse->isHidden() && !w->cmdSave->isEnabled());
    }

    void escapeCancelsNewCatch()
    {
        auto w = f->open();
        QVERIFY(showActive(*w));
        f->typeSample(*w, { { 1, u"01.01.2004"_s } });
        QTest::keyClick(w->txtFänger, Qt::Key_Escape);
        QVERIFY(!w->isVisible());
        QCOMPARE(w->txtDate->text(), u"17.05.2004"_s); // the boxes start afresh
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
        QVERIFY(q.text.startsWith(u"Es liegen ungespeicherte Änderungen vor!"_s));
        QCOMPARE(q.buttons, MsgButtons::YesNoCancel);
        QCOMPARE(w->isVisible(), open);
        QCOMPARE(!f->app->state.log->catchOutForEdit().isEmpty(), open);
        QCOMPARE(f->photos().size(), answer == MsgResult::No ? 0 : 1);
        QTEST(f->catchFile(), "file");
    }
};

QTEST_MAIN(TestAddFish)
#include "tst_frmAddFish.moc"
