// The catch entry window while the user types: defaults, key and paste
// filters, placeholders, the time check, the moon phase, the date picker,
// the photo browse and the loading of a catch for editing.
#include "ui/AddFishFixture.h"
#include "ui/frmDatePicker.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QClipboard>

using namespace Qt::StringLiterals;

class TestAddFish : public QObject {
    Q_OBJECT
    std::unique_ptr<AddFishFixture> f;

private Q_SLOTS:
    void init() { f = std::make_unique<AddFishFixture>(); }
    void cleanup()
    {
        f->t.dialogs.verifyDone();
        f.reset();
    }

    void opensWithDefaults()
    {
        auto w = f->open();
        QCOMPARE(w->windowTitle(), u"Fang eintragen"_s);
        QCOMPARE(boxTexts(*w), newCatchTexts());
        QCOMPARE(w->labPhase->text(), u"1/4 Mond ab."_s);
        QCOMPARE(w->txtDate->maxLength(), 10);
        QCOMPARE(w->txtFang->maxLength(), 5);
        // Nothing has checked the times yet: both pictures show, the tick on top.
        QVERIFY(!w->cmdSave->isEnabled() && w->cmdSave->isDefault());
        QVERIFY(!w->imgTrue->isHidden() && !w->imgFalse->isHidden());
        QCOMPARE(w->imgTrue->geometry(), w->imgFalse->geometry());
        QVERIFY(w->children().indexOf(w->imgTrue) > w->children().indexOf(w->imgFalse));
        QVERIFY(w->imgTrue->pixmap().toImage() != w->imgFalse->pixmap().toImage());

        QStringList order;
        QWidget* x = w->txtDate;
        do {
            if ((x->focusPolicy() & Qt::TabFocus) && !x->isWindow())
                order << x->objectName();
            x = x->nextInFocusChain();
        } while (x != w->txtDate);
        QCOMPARE(order.join(u' '),
            u"txtDate cmdDatePicker txtFänger txtBeginn txtFang txtEnde txtFischArt txtGewicht "
            "txtLänge txtGewässer txtStelle txtMethode txtKöder txtWetter txtTempLuft "
            "txtTempWasser txtAngeltiefe txtBild cmdBrowse cmdSave cmdAbort"_s);
    }

    void input_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("before");
        QTest::addColumn<bool>("pasted");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("expected");
        auto row = [](const char* name, const QString& box, const QString& before, bool pasted,
                       const QString& input, const QString& expected) {
            QTest::newRow(name) << box << before << pasted << input << expected;
        };
        row("weight: point becomes comma", u"txtGewicht"_s, {}, false, u"2.5"_s, u"2,5"_s);
        row("weight: letters dropped", u"txtGewicht"_s, {}, false, u"2a,5kg"_s, u"2,5"_s);
        row("weight: no minus", u"txtGewicht"_s, {}, false, u"-3"_s, u"3"_s);
        row("depth: no minus", u"txtAngeltiefe"_s, {}, false, u"-2.5"_s, u"2,5"_s);
        row("length: pasted minus dropped", u"txtLänge"_s, {}, true, u"-64"_s, u"64"_s);
        row("water temperature: minus", u"txtTempWasser"_s, {}, false, u"-1.5"_s, u"-1,5"_s);
        row("air: no plus", u"txtTempLuft"_s, {}, false, u"+18"_s, u"18"_s);
        row("air: pasted", u"txtTempLuft"_s, {}, true, u"-3.5 °C"_s, u"-3,5"_s);
        row("air: pasted after loaded plus", u"txtTempLuft"_s, u"+ 1"_s, true, u"8.x"_s,
            u"+ 18,"_s);
        row("date: letter dropped", u"txtDate"_s, {}, false, u"12a"_s, u"12"_s);
        row("time: digits and colon", u"txtFang"_s, {}, false, u"0x6\":45"_s, u"06:45"_s);
        row("angler: quotes refused", u"txtFänger"_s, {}, false, u"Max \"M\""_s, u"Max M"_s);
        row("angler: umlauts and euro", u"txtFänger"_s, {}, false, u"Jörg ß €"_s, u"Jörg ß €"_s);
        row("angler: beyond 1252", u"txtFänger"_s, {}, false, u"A\u03A9\u20B9B"_s, u"AB"_s);
        row("angler: pasted TAB and quotes", u"txtFänger"_s, {}, true, u"Max\t\"Muster\""_s,
            u"MaxMuster"_s);
        row("angler: pasted line break", u"txtFänger"_s, {}, true, u"Max\r\nMuster"_s,
            u"MaxMuster"_s);
        row("species: pasted quote alone", u"txtFischArt"_s, u"Aal"_s, true, u"\""_s, u"Aal"_s);
    }
    void input()
    {
        QFETCH(QString, box);
        QFETCH(QString, before);
        QFETCH(bool, pasted);
        QFETCH(QString, input);
        auto w = f->open();
        auto* b = w->findChild<QLineEdit*>(box);
        QVERIFY(b);
        b->setText(before);
        b->end(false);
        if (pasted) {
            QApplication::clipboard()->setText(input);
            QTest::keyClick(b, Qt::Key_V, Qt::ControlModifier);
        } else {
            typeInto(b, input);
        }
        QTEST(b->text(), "expected");
    }

    // Every record box keeps a typed double quote out of the catch file.
    void quoteRefusedInEveryBox()
    {
        auto w = f->open();
        for (QLineEdit* b : boxes(*w).mid(0, 16)) {
            b->clear();
            typeInto(b, u"1\""_s);
            QVERIFY2(b->text() == u"1", qPrintable(b->objectName()));
        }
    }

    void placeholders_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("afterEnter");
        QTest::addColumn<QString>("afterLeavingEmpty");
        auto row = [](const char* name, const QString& box, const QString& before,
                       const QString& afterEnter, const QString& afterLeavingEmpty) {
            QTest::newRow(name) << box << before << afterEnter << afterLeavingEmpty;
        };
        row("angler", u"txtFänger"_s, u" "_s, {}, u" "_s);
        row("start", u"txtBeginn"_s, u"00:00"_s, {}, u"00:00"_s);
        row("catch time", u"txtFang"_s, u"00:00"_s, {}, u"00:00"_s);
        row("species not cleared", u"txtFischArt"_s, u" "_s, u" "_s, u" "_s);
        row("weight", u"txtGewicht"_s, u"0,00"_s, {}, u"0,00"_s);
        row("weight with value", u"txtGewicht"_s, u"2,50"_s, u"2,50"_s, u"0,00"_s);
        row("length", u"txtLänge"_s, u"0"_s, {}, u"0"_s);
        row("water", u"txtGewässer"_s, u" "_s, {}, u" "_s);
        row("bait", u"txtKöder"_s, u" "_s, {}, u" "_s);
        row("weather not refilled", u"txtWetter"_s, u" "_s, {}, {});
        row("air", u"txtTempLuft"_s, u"0"_s, {}, u"0"_s);
        row("water temperature", u"txtTempWasser"_s, u"0"_s, {}, u"0"_s);
        row("depth", u"txtAngeltiefe"_s, u"0"_s, {}, u"0"_s);
        row("date has none", u"txtDate"_s, u"17.05.2004"_s, u"17.05.2004"_s, {});
    }
    void placeholders()
    {
        QFETCH(QString, box);
        QFETCH(QString, before);
        auto w = f->open();
        QVERIFY(showActive(*w));
        auto* b = w->findChild<QLineEdit*>(box);
        QVERIFY(b);
        b->setText(before);
        b->setFocus(Qt::TabFocusReason);
        QTEST(b->text(), "afterEnter");
        b->clear();
        w->cmdAbort->setFocus(Qt::TabFocusReason);
        QTEST(b->text(), "afterLeavingEmpty");
    }

    void timeCheck_data()
    {
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("times"); // start, catch and end
        QTest::addColumn<bool>("valid");
        // The clock stands at 17.05.2004 14:30.
        const QString today = u"17.05.2004"_s;
        const QString past = u"16.05.2004"_s;
        QTest::newRow("today before now") << today << u"06:00 07:15 14:29"_s << true;
        QTest::newRow("today end is now") << today << u"06:00 07:15 14:30"_s << false;
        QTest::newRow("today all later") << today << u"15:00 15:10 16:00"_s << false;
        QTest::newRow("other date text") << u"17.05.04"_s << u"15:00 15:10 16:00"_s << true;
        QTest::newRow("past, after now") << past << u"15:00 18:00 23:59"_s << true;
        QTest::newRow("past, all equal") << past << u"06:00 06:00 06:00"_s << true;
        QTest::newRow("catch before start") << past << u"06:00 05:59 07:00"_s << false;
        QTest::newRow("end before catch") << past << u"06:00 07:00 06:59"_s << false;
        QTest::newRow("hour 25") << past << u"25:00 06:00 07:00"_s << false;
        QTest::newRow("hour 24 at end") << past << u"06:00 07:00 24:00"_s << false;
        QTest::newRow("minute 60") << past << u"06:00 06:60 07:00"_s << false;
        QTest::newRow("end two characters") << past << u"06:00 06:30 07"_s << false;
        QTest::newRow("not digits") << past << u"1a:00 06:30 07:00"_s << false;
        QTest::newRow("middle not looked at") << past << u"06.00 06-30 07:00"_s << true;
        QTest::newRow("five digits") << past << u"12345 12345 12345"_s << true;
    }
    void timeCheck()
    {
        QFETCH(QString, date);
        QFETCH(QString, times);
        QFETCH(bool, valid);
        auto w = f->open();
        const QStringList t = times.split(u' ');
        f->enter(*w, { { 1, date }, { 3, t[0] }, { 4, t[1] }, { 5, t[2] } });
        QCOMPARE(w->cmdSave->isEnabled(), valid);
        QCOMPARE(w->imgTrue->isHidden(), !valid);
        QCOMPARE(w->imgFalse->isHidden(), valid);
    }

    void moonPhaseAfterTenthCharacter()
    {
        f->t.clock.set(QDateTime(QDate(2000, 1, 20), QTime(12, 0)));
        auto w = f->open();
        QCOMPARE(w->labPhase->text(), u"Vollmond"_s);
        w->txtDate->clear();
        QTest::keyClicks(w->txtDate, u"17.05.200"_s);
        QCOMPARE(w->labPhase->text(), u"Vollmond"_s);
        QTest::keyClick(w->txtDate, Qt::Key_4);
        QCOMPARE(w->labPhase->text(), u"1/4 Mond ab."_s);
        // Ten characters that are no date leave the phase as it was.
        for (const QString& bad : { u"31.02.2004"_s, u"12..2004.1"_s }) {
            w->txtDate->clear();
            QTest::keyClicks(w->txtDate, bad);
            QCOMPARE(w->txtDate->text(), bad);
            QCOMPARE(w->labPhase->text(), u"1/4 Mond ab."_s);
        }
    }

    void focusMovesOnWhileTyping()
    {
        auto w = f->open();
        QVERIFY(showActive(*w));
        w->txtBeginn->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(w->txtBeginn, u"06:0"_s);
        QVERIFY(w->txtBeginn->hasFocus());
        QTest::keyClick(w->txtBeginn, Qt::Key_0);
        QVERIFY(w->txtFang->hasFocus());
        QTest::keyClicks(w->txtFang, u"06:45"_s);
        QVERIFY(w->txtEnde->hasFocus());
        // "00:00" typed as catch time stays put.
        w->txtFang->setFocus(Qt::TabFocusReason);
        w->txtFang->clear();
        QTest::keyClicks(w->txtFang, u"00:00"_s);
        QVERIFY(w->txtFang->hasFocus());
        // A start time put back as placeholder on leaving does not pull the focus.
        w->txtBeginn->setFocus(Qt::TabFocusReason);
        w->txtBeginn->clear();
        w->txtFischArt->setFocus(Qt::TabFocusReason);
        QCOMPARE(w->txtBeginn->text(), u"00:00"_s);
        QVERIFY(w->txtFischArt->hasFocus());
    }

    void datePickerFillsDate()
    {
        auto w = f->open();
        QVERIFY(showActive(*w));
        w->cmdDatePicker->click();
        QPointer<frmDatePicker> picker = w->findChild<frmDatePicker*>(u"frmDatePicker"_s);
        QVERIFY(picker && picker->isVisible());
        QCOMPARE(picker->DTPicker1->selectedDate(), QDate(2004, 5, 17));
        picker->DTPicker1->setSelectedDate(QDate(2000, 1, 20));
        picker->cmdSave->click();
        QCOMPARE(w->txtDate->text(), u"20.01.2000"_s);
        QCOMPARE(w->labPhase->text(), u"Vollmond"_s);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!picker);
    }

    void browseFillsPhotoPath()
    {
        auto w = f->open();
        f->t.dialogs.answerOpenFile(u"/home/max/Fotos/hecht.jpeg"_s);
        f->t.dialogs.answerOpenFile(QString()); // cancelled: the path stays
        w->cmdBrowse->click();
        w->cmdBrowse->click();
        QCOMPARE(w->txtBild->text(), u"/home/max/Fotos/hecht.jpeg"_s);
        QCOMPARE(f->t.dialogs.shown().first().filter,
            u"Bilddateien (jpg, jpeg, gif, bmp)|*.jpg;*.jpeg;*.gif;*.bmp"_s);
    }

    void loadForEditing_data()
    {
        QTest::addColumn<QString>("species");
        QTest::addColumn<QString>("photos"); // extensions of the files in db\bilder
        QTest::addColumn<QString>("shownSpecies");
        QTest::addColumn<QString>("shownPhoto"); // its extension
        QTest::newRow("jpg") << u"Karpfen*"_s << u"jpg"_s << u"Karpfen"_s << u"jpg"_s;
        QTest::newRow("jpg and bmp: bmp wins")
            << u"Karpfen*"_s << u"jpg bmp"_s << u"Karpfen"_s << u"bmp"_s;
        QTest::newRow("gif") << u"Karpfen*"_s << u"gif"_s << u"Karpfen"_s << u"gif"_s;
        QTest::newRow("capital extension") << u"Karpfen*"_s << u"JPG"_s << u"Karpfen"_s << u"JPG"_s;
        QTest::newRow("two marks keep one")
            << u"Karpfen**"_s << u"jpeg"_s << u"Karpfen*"_s << u"jpeg"_s;
        QTest::newRow("photo alone") << u"*"_s << u"jpg"_s << QString() << u"jpg"_s;
        QTest::newRow("no mark, photo ignored")
            << u"Hecht"_s << u"jpg"_s << u"Hecht"_s << QString();
        QTest::newRow("no photo file: warned")
            << u"Karpfen*"_s << QString() << u"Karpfen"_s << QString();
    }
    void loadForEditing()
    {
        QFETCH(QString, species);
        QFETCH(QString, photos);
        QFETCH(QString, shownSpecies);
        QFETCH(QString, shownPhoto);
        const QString stem = u"17.05.2004_06-45-00."_s;
        QStringList files;
        for (const QString& extension : photos.split(u' ', Qt::SkipEmptyParts))
            files.append(stem + extension);
        if (files.isEmpty())
            f->t.dialogs.expectMessage();
        auto w = f->openForEdit({ { 6, species } }, files);
        const QString photo = shownPhoto.isEmpty() ? QString() : f->photo(stem + shownPhoto);
        // Every box from the record; the phase from the date, not the record.
        QCOMPARE(boxTexts(*w), editRecord({ { 6, shownSpecies }, { 17, photo } }).split(u'\t'));
        QCOMPARE(w->labPhase->text(), u"1/4 Mond ab."_s);
        QVERIFY(w->cmdSave->isEnabled()); // the loaded times ran the check
        if (files.isEmpty()) {
            QCOMPARE(f->t.dialogs.messageTexts(),
                QStringList { u"Fehler: In der Datenbank ist zwar ein Verweis auf ein Bild, "
                              "jedoch konnte das Bild nicht gefunden werden!\r\nDer Verweis "
                              "wird gelöscht."_s });
            QCOMPARE(f->t.dialogs.shown().first().icon, MsgIcon::Warning);
        }
    }
};

QTEST_MAIN(TestAddFish)
#include "tst_frmAddFish.moc"
