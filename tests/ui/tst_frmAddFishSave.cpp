// Saving and cancelling in the catch entry window.
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
        QVERIFY(f->catchFile().startsWith("\"2004/05/16\tMax\t"));
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
        QCOMPARE(f->t->dialogs.messageTexts().first(),
            u"Fehler: Bitte prüfen Sie Angelbeginn, Fangzeit und Angelende!"_s);
        QVERIFY(w->imgTrue->isHidden() && !w->imgFalse->isHidden() && !w->cmdSave->isEnabled());
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
        QCOMPARE(boxTexts(*w), typed);
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

QTEST_MAIN(TestAddFishSave)
#include "tst_frmAddFishSave.moc"
