// The catch entry window while the user types: layout and defaults, the
// key and paste filters, the placeholders, the time check, the moon phase,
// the date picker, the photo browse and the loading of a catch for editing.
#include "ui/AddFishFixture.h"
#include "ui/frmDatePicker.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QClipboard>

class TestAddFish : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { f = std::make_unique<AddFishFixture>(); }
    void cleanup()
    {
        f->t.dialogs.verifyDone();
        f.reset();
    }

    void opensEmptyWithSaveDisabled();
    void tabOrder();
    void typedKeys_data();
    void typedKeys();
    void pastedText_data();
    void pastedText();
    void programTextIsKeptAsItIs();
    void placeholders_data();
    void placeholders();
    void timeCheck_data();
    void timeCheck();
    void moonPhaseAfterTenthCharacter();
    void focusMovesOnWhileTyping();
    void datePickerFillsDate();
    void datePickerForCostsLeavesDate();
    void browseFillsPhotoPath();
    void loadForEditing_data();
    void loadForEditing();
    void loadFillsEveryBox();
    void loadWithoutPhotoFileWarnsOnce();

private:
    QLineEdit* box(frmAddFish& w, const QString& name)
    {
        auto* b = w.findChild<QLineEdit*>(name);
        if (!b)
            qFatal("no box %s", qPrintable(name));
        return b;
    }

    std::unique_ptr<AddFishFixture> f;
};

void TestAddFish::opensEmptyWithSaveDisabled()
{
    auto w = f->open();
    QCOMPARE(w->windowTitle(), QStringLiteral("Fang eintragen"));
    QCOMPARE(w->txtDate->text(), QStringLiteral("17.05.2004"));
    QCOMPARE(w->labPhase->text(), QStringLiteral("1/4 Mond ab."));
    for (const char* name : { "txtBeginn", "txtFang", "txtEnde" })
        QCOMPARE(box(*w, QString::fromUtf8(name))->text(), QStringLiteral("00:00"));
    QCOMPARE(w->txtGewicht->text(), QStringLiteral("0,00"));
    for (const char* name : { "txtLänge", "txtTempLuft", "txtTempWasser", "txtAngeltiefe" })
        QCOMPARE(box(*w, QString::fromUtf8(name))->text(), QStringLiteral("0"));
    for (const char* name : { "txtFänger", "txtFischArt", "txtGewässer", "txtStelle", "txtMethode",
             "txtKöder", "txtWetter", "txtBild" })
        QVERIFY(box(*w, QString::fromUtf8(name))->text().isEmpty());
    QCOMPARE(w->txtDate->maxLength(), 10);
    QCOMPARE(w->txtFang->maxLength(), 5);

    // Nothing has checked the times yet: both pictures show, the check on top.
    QVERIFY(!w->cmdSave->isEnabled());
    QVERIFY(w->cmdSave->isDefault());
    QVERIFY(!w->imgTrue->isHidden());
    QVERIFY(!w->imgFalse->isHidden());
    QCOMPARE(w->imgTrue->geometry(), w->imgFalse->geometry());
    const QObjectList kids = w->children();
    QVERIFY(kids.indexOf(w->imgTrue) > kids.indexOf(w->imgFalse));
    QVERIFY(!w->imgTrue->pixmap().isNull());
    QVERIFY(w->imgTrue->pixmap().toImage() != w->imgFalse->pixmap().toImage());
    QCOMPARE(w->cmdAbort->text(), QStringLiteral("Abbrechen"));
    QVERIFY(
        w->loadedPhotoPath.isEmpty() && w->loadedCatchTime.isEmpty() && w->loadedDate.isEmpty());
}

void TestAddFish::tabOrder()
{
    auto w = f->open();
    QStringList order;
    QWidget* x = w->txtDate;
    do {
        if (x->focusPolicy() & Qt::TabFocus && x->isWindow() == false)
            order << x->objectName();
        x = x->nextInFocusChain();
    } while (x != w->txtDate);
    const QStringList expected = QStringLiteral(
        "txtDate cmdDatePicker txtFänger txtBeginn txtFang txtEnde txtFischArt txtGewicht txtLänge "
        "txtGewässer txtStelle txtMethode txtKöder txtWetter txtTempLuft txtTempWasser "
        "txtAngeltiefe txtBild cmdBrowse cmdSave cmdAbort")
                                     .split(u' ');
    QCOMPARE(order, expected);
}

void TestAddFish::typedKeys_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");

    QTest::newRow("weight point becomes comma") << "txtGewicht"
                                                << "2.5"
                                                << "2,5";
    QTest::newRow("weight drops letters") << "txtGewicht"
                                          << "2a,5kg"
                                          << "2,5";
    QTest::newRow("weight drops minus") << "txtGewicht"
                                        << "-3"
                                        << "3";
    QTest::newRow("length two commas pass") << "txtLänge"
                                            << "6,,4"
                                            << "6,,4";
    QTest::newRow("depth drops minus") << "txtAngeltiefe"
                                       << "-2.5"
                                       << "2,5";
    QTest::newRow("air takes minus") << "txtTempLuft"
                                     << "-3.5"
                                     << "-3,5";
    QTest::newRow("water takes minus anywhere") << "txtTempWasser"
                                                << "1-2"
                                                << "1-2";
    QTest::newRow("air drops plus") << "txtTempLuft"
                                    << "+18"
                                    << "18";
    QTest::newRow("date drops letter") << "txtDate"
                                       << "12a"
                                       << "12";
    QTest::newRow("time drops letter") << "txtBeginn"
                                       << "06x:3"
                                       << "06:3";
    QTest::newRow("angler refuses quote") << "txtFänger"
                                          << "Max \"M\""
                                          << "Max M";
    QTest::newRow("angler keeps umlauts and euro") << "txtFänger"
                                                   << "Jörg ß €"
                                                   << "Jörg ß €";
    QTest::newRow("angler refuses non-1252") << "txtFänger"
                                             << "A\u03A9\u20B9B"
                                             << "AB";
    QTest::newRow("species refuses quote") << "txtFischArt"
                                           << "Hecht\""
                                           << "Hecht";
    QTest::newRow("time refuses quote inside") << "txtFang"
                                               << "06\"45"
                                               << "0645";
}

void TestAddFish::typedKeys()
{
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    auto w = f->open();
    QLineEdit* b = this->box(*w, box);
    b->clear();
    typeInto(b, typed);
    QCOMPARE(b->text(), expected);
}

void TestAddFish::pastedText_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("clip");
    QTest::addColumn<QString>("expected");

    QTest::newRow("weight") << "txtGewicht"
                            << ""
                            << "1.5 kg"
                            << "1,5";
    QTest::newRow("air temperature") << "txtTempLuft"
                                     << ""
                                     << "-3.5 °C"
                                     << "-3,5";
    QTest::newRow("length drops minus") << "txtLänge"
                                        << ""
                                        << "-64"
                                        << "64";
    QTest::newRow("angler tab and quotes") << "txtFänger"
                                           << ""
                                           << "Max\t\"Muster\""
                                           << "MaxMuster";
    QTest::newRow("angler line break") << "txtFänger"
                                       << ""
                                       << "Max\r\nMuster"
                                       << "MaxMuster";
    QTest::newRow("only a quote is refused") << "txtFischArt"
                                             << "Aal"
                                             << "\""
                                             << "Aal";
    QTest::newRow("pasted after loaded plus") << "txtTempLuft"
                                              << "+ 1"
                                              << "8.x"
                                              << "+ 18,";
}

void TestAddFish::pastedText()
{
    QFETCH(QString, box);
    QFETCH(QString, before);
    QFETCH(QString, clip);
    QFETCH(QString, expected);
    auto w = f->open();
    QLineEdit* b = this->box(*w, box);
    b->setText(before);
    b->end(false);
    QApplication::clipboard()->setText(clip);
    QCOMPARE(QApplication::clipboard()->text(), clip);
    QTest::keyClick(b, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(b->text(), expected);
}

void TestAddFish::programTextIsKeptAsItIs()
{
    // A loaded "+ 18" must survive, and so must typing after it.
    auto w = f->open();
    w->txtTempLuft->setText(QStringLiteral("+ 18"));
    QCOMPARE(w->txtTempLuft->text(), QStringLiteral("+ 18"));
    w->txtTempLuft->end(false);
    QTest::keyClicks(w->txtTempLuft, QStringLiteral(".5"));
    QCOMPARE(w->txtTempLuft->text(), QStringLiteral("+ 18,5"));
}

void TestAddFish::placeholders_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("afterEnter");
    QTest::addColumn<QString>("afterLeavingEmpty");

    QTest::newRow("angler") << "txtFänger"
                            << " "
                            << ""
                            << " ";
    QTest::newRow("start") << "txtBeginn"
                           << "00:00"
                           << ""
                           << "00:00";
    QTest::newRow("catch time") << "txtFang"
                                << "00:00"
                                << ""
                                << "00:00";
    QTest::newRow("species not cleared") << "txtFischArt"
                                         << " "
                                         << " "
                                         << " ";
    QTest::newRow("weight") << "txtGewicht"
                            << "0,00"
                            << ""
                            << "0,00";
    QTest::newRow("weight with value") << "txtGewicht"
                                       << "2,50"
                                       << "2,50"
                                       << "0,00";
    QTest::newRow("length") << "txtLänge"
                            << "0"
                            << ""
                            << "0";
    QTest::newRow("water") << "txtGewässer"
                           << " "
                           << ""
                           << " ";
    QTest::newRow("bait") << "txtKöder"
                          << " "
                          << ""
                          << " ";
    QTest::newRow("weather not refilled") << "txtWetter"
                                          << " "
                                          << ""
                                          << "";
    QTest::newRow("air") << "txtTempLuft"
                         << "0"
                         << ""
                         << "0";
    QTest::newRow("water temperature") << "txtTempWasser"
                                       << "0"
                                       << ""
                                       << "0";
    QTest::newRow("depth") << "txtAngeltiefe"
                           << "0"
                           << ""
                           << "0";
    QTest::newRow("date has none") << "txtDate"
                                   << "17.05.2004"
                                   << "17.05.2004"
                                   << "";
}

void TestAddFish::placeholders()
{
    QFETCH(QString, box);
    QFETCH(QString, before);
    QFETCH(QString, afterEnter);
    QFETCH(QString, afterLeavingEmpty);
    auto w = f->open();
    QVERIFY(showActive(*w));
    QLineEdit* b = this->box(*w, box);
    b->setText(before);
    b->setFocus(Qt::TabFocusReason);
    QVERIFY(b->hasFocus());
    QCOMPARE(b->text(), afterEnter);
    b->clear();
    w->cmdAbort->setFocus(Qt::TabFocusReason);
    QVERIFY(!b->hasFocus());
    QCOMPARE(b->text(), afterLeavingEmpty);
}

void TestAddFish::timeCheck_data()
{
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("begin");
    QTest::addColumn<QString>("catchTime");
    QTest::addColumn<QString>("end");
    QTest::addColumn<bool>("valid");

    // The clock stands at 17.05.2004 14:30.
    const QString today = QStringLiteral("17.05.2004");
    const QString past = QStringLiteral("16.05.2004");
    QTest::newRow("today before now") << today << "06:00"
                                      << "07:15"
                                      << "14:29" << true;
    QTest::newRow("today end is now") << today << "06:00"
                                      << "07:15"
                                      << "14:30" << false;
    QTest::newRow("today all later") << today << "15:00"
                                     << "15:10"
                                     << "16:00" << false;
    QTest::newRow("past catch before start") << past << "06:00"
                                             << "05:59"
                                             << "07:00" << false;
    QTest::newRow("past end before catch") << past << "06:00"
                                           << "07:00"
                                           << "06:59" << false;
    QTest::newRow("past all equal") << past << "06:00"
                                    << "06:00"
                                    << "06:00" << true;
    QTest::newRow("past after now is fine") << past << "15:00"
                                            << "18:00"
                                            << "23:59" << true;
    QTest::newRow("hour 25") << past << "25:00"
                             << "06:00"
                             << "07:00" << false;
    QTest::newRow("hour 24 at end") << past << "06:00"
                                    << "07:00"
                                    << "24:00" << false;
    QTest::newRow("minute 60") << past << "06:00"
                               << "06:60"
                               << "07:00" << false;
    QTest::newRow("end two characters") << past << "06:00"
                                        << "06:30"
                                        << "07" << false;
    QTest::newRow("five digits") << past << "12345"
                                 << "12345"
                                 << "12345" << true;
    QTest::newRow("middle not looked at") << past << "06.00"
                                          << "06-30"
                                          << "07:00" << true;
    QTest::newRow("not digits") << past << "1a:00"
                                << "06:30"
                                << "07:00" << false;
    QTest::newRow("other date text") << "17.05.04"
                                     << "15:00"
                                     << "15:10"
                                     << "16:00" << true;
}

void TestAddFish::timeCheck()
{
    QFETCH(QString, date);
    QFETCH(QString, begin);
    QFETCH(QString, catchTime);
    QFETCH(QString, end);
    QFETCH(bool, valid);
    auto w = f->open();
    w->txtDate->setText(date);
    w->txtBeginn->setText(begin);
    w->txtFang->setText(catchTime);
    w->txtEnde->setText(end);
    QCOMPARE(w->cmdSave->isEnabled(), valid);
    QCOMPARE(w->imgTrue->isHidden(), !valid);
    QCOMPARE(w->imgFalse->isHidden(), valid);
}

void TestAddFish::moonPhaseAfterTenthCharacter()
{
    f->t.clock.set(QDateTime(QDate(2000, 1, 20), QTime(12, 0)));
    auto w = f->open();
    QCOMPARE(w->labPhase->text(), QStringLiteral("Vollmond"));
    w->txtDate->clear();
    QTest::keyClicks(w->txtDate, QStringLiteral("17.05.200"));
    QCOMPARE(w->labPhase->text(), QStringLiteral("Vollmond"));
    QTest::keyClick(w->txtDate, Qt::Key_4);
    QCOMPARE(w->labPhase->text(), QStringLiteral("1/4 Mond ab."));

    // Ten characters that are no date leave the phase as it was.
    for (const char* bad : { "31.02.2004", "12..2004.1" }) {
        w->txtDate->clear();
        QTest::keyClicks(w->txtDate, QString::fromLatin1(bad));
        QCOMPARE(w->txtDate->text(), QString::fromLatin1(bad));
        QCOMPARE(w->labPhase->text(), QStringLiteral("1/4 Mond ab."));
    }
}

void TestAddFish::focusMovesOnWhileTyping()
{
    auto w = f->open();
    QVERIFY(showActive(*w));
    w->txtBeginn->setFocus(Qt::TabFocusReason);
    QCOMPARE(w->txtBeginn->text(), QString());
    QTest::keyClicks(w->txtBeginn, QStringLiteral("06:0"));
    QVERIFY(w->txtBeginn->hasFocus());
    QTest::keyClick(w->txtBeginn, Qt::Key_0);
    QVERIFY(w->txtFang->hasFocus());
    QCOMPARE(w->txtFang->text(), QString()); // its placeholder went on entering
    QTest::keyClicks(w->txtFang, QStringLiteral("06:45"));
    QVERIFY(w->txtEnde->hasFocus());
    QTest::keyClicks(w->txtEnde, QStringLiteral("07:00"));
    QVERIFY(w->txtEnde->hasFocus());
    QVERIFY(w->cmdSave->isEnabled());

    // "00:00" in the catch time stays put.
    w->txtFang->setFocus(Qt::TabFocusReason);
    w->txtFang->clear();
    QTest::keyClicks(w->txtFang, QStringLiteral("00:00"));
    QVERIFY(w->txtFang->hasFocus());

    // A start time put back as placeholder on leaving does not pull the focus.
    w->txtBeginn->setFocus(Qt::TabFocusReason);
    w->txtBeginn->clear();
    w->txtFischArt->setFocus(Qt::TabFocusReason);
    QCOMPARE(w->txtBeginn->text(), QStringLiteral("00:00"));
    QVERIFY(w->txtFischArt->hasFocus());
}

void TestAddFish::datePickerFillsDate()
{
    auto w = f->open();
    QVERIFY(showActive(*w));
    w->cmdDatePicker->click();
    auto* picker = w->findChild<frmDatePicker*>(QStringLiteral("frmDatePicker"));
    QVERIFY(picker);
    QVERIFY(picker->isVisible());
    QCOMPARE(picker->windowTitle(), QStringLiteral("Datum auswählen"));
    QCOMPARE(picker->cmdSave->text(), QStringLiteral("&Übernehmen"));
    QCOMPARE(picker->txtForm->text(), QStringLiteral("fisch"));
    QVERIFY(picker->txtForm->isHidden());
    QCOMPARE(picker->DTPicker1->selectedDate(), QDate(2004, 5, 17));

    picker->DTPicker1->setSelectedDate(QDate(2000, 1, 20));
    QPointer<frmDatePicker> guard(picker);
    picker->cmdSave->click();
    QCOMPARE(w->txtDate->text(), QStringLiteral("20.01.2000"));
    QCOMPARE(w->labPhase->text(), QStringLiteral("Vollmond"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!guard);
}

void TestAddFish::datePickerForCostsLeavesDate()
{
    auto w = f->open();
    frmDatePicker picker(f->app);
    picker.txtForm->setText(QStringLiteral("kosten"));
    picker.fishWindow = w.get();
    picker.DTPicker1->setSelectedDate(QDate(2003, 2, 1));
    picker.show();
    picker.cmdSave->click();
    QCOMPARE(w->txtDate->text(), QStringLiteral("17.05.2004"));
    QVERIFY(!picker.isVisible());
}

void TestAddFish::browseFillsPhotoPath()
{
    auto w = f->open();
    f->t.dialogs.answerOpenFile(QStringLiteral("/home/max/Fotos/hecht.jpeg"));
    w->cmdBrowse->click();
    QCOMPARE(w->txtBild->text(), QStringLiteral("/home/max/Fotos/hecht.jpeg"));
    const FakeDialogs::Shown s = f->t.dialogs.shown().last();
    QCOMPARE(s.kind, FakeDialogs::Kind::OpenFile);
    QCOMPARE(s.title, QStringLiteral("Bild zum Fang auswählen"));
    QCOMPARE(s.startFolder, QStringLiteral("C:\\"));
    QCOMPARE(
        s.filter, QStringLiteral("Bilddateien (jpg, jpeg, gif, bmp)|*.jpg;*.jpeg;*.gif;*.bmp"));

    f->t.dialogs.answerOpenFile(QString()); // cancelled
    w->cmdBrowse->click();
    QCOMPARE(w->txtBild->text(), QStringLiteral("/home/max/Fotos/hecht.jpeg"));
}

static QString editRecord(
    const QString& species, const QString& catchTime = QStringLiteral("06:45"))
{
    return QStringList { QStringLiteral("17.05.2004"), QStringLiteral("Max"),
        QStringLiteral("06:30"), catchTime, QStringLiteral("10:00"), species,
        QStringLiteral("12,40"), QStringLiteral("84"), QStringLiteral("Baggersee"),
        QStringLiteral("Steg 3"), QStringLiteral("Festblei"), QStringLiteral("Boilie"),
        QStringLiteral("sonnig"), QStringLiteral("+ 18"), QStringLiteral("+ 14"),
        QStringLiteral("2,5"), QStringLiteral("Vollmond") }
        .join(u'\t');
}

void TestAddFish::loadForEditing_data()
{
    QTest::addColumn<QString>("species");
    QTest::addColumn<QStringList>("photos"); // present in db\bilder
    QTest::addColumn<QString>("shownSpecies");
    QTest::addColumn<QString>("expectedPhoto"); // "" = none

    const QString stem = QStringLiteral("17.05.2004_06-45-00.");
    QTest::newRow("jpg") << "Karpfen*" << QStringList { stem + "jpg" } << "Karpfen" << stem + "jpg";
    QTest::newRow("jpg and bmp: bmp wins")
        << "Karpfen*" << QStringList { stem + "jpg", stem + "bmp" } << "Karpfen" << stem + "bmp";
    QTest::newRow("gif before bmp")
        << "Karpfen*" << QStringList { stem + "gif" } << "Karpfen" << stem + "gif";
    QTest::newRow("capital extension")
        << "Karpfen*" << QStringList { stem + "JPG" } << "Karpfen" << stem + "JPG";
    QTest::newRow("two marks keep one")
        << "Karpfen**" << QStringList { stem + "jpeg" } << "Karpfen*" << stem + "jpeg";
    QTest::newRow("photo alone") << "*" << QStringList { stem + "jpg" } << "" << stem + "jpg";
    QTest::newRow("no mark, photo ignored")
        << "Karpfen" << QStringList { stem + "jpg" } << "Karpfen"
        << "";
}

void TestAddFish::loadForEditing()
{
    QFETCH(QString, species);
    QFETCH(QStringList, photos);
    QFETCH(QString, shownSpecies);
    QFETCH(QString, expectedPhoto);
    for (const QString& p : photos)
        f->t.write(QStringLiteral("db\\bilder\\") + p, "PIC");
    f->app.editFlag = true;
    f->app.editRecord = editRecord(species);
    auto w = f->open();
    QCOMPARE(w->txtFischArt->text(), shownSpecies);
    if (expectedPhoto.isEmpty()) {
        QVERIFY(w->txtBild->text().isEmpty());
        QVERIFY(w->loadedPhotoPath.isEmpty());
        QVERIFY(w->loadedCatchTime.isEmpty());
        QVERIFY(w->loadedDate.isEmpty());
    } else {
        QCOMPARE(w->txtBild->text(), f->photo(expectedPhoto));
        QCOMPARE(w->loadedPhotoPath, f->photo(expectedPhoto));
        QCOMPARE(w->loadedCatchTime, QStringLiteral("06:45"));
        QCOMPARE(w->loadedDate, QStringLiteral("17.05.2004"));
    }
    QVERIFY(f->t.dialogs.shown().isEmpty());
}

void TestAddFish::loadFillsEveryBox()
{
    f->app.editFlag = true;
    f->app.editRecord = editRecord(QStringLiteral("Hecht"));
    auto w = f->open();
    const QStringList expected = editRecord(QStringLiteral("Hecht")).split(u'\t');
    const char* names[] = { "txtDate", "txtFänger", "txtBeginn", "txtFang", "txtEnde",
        "txtFischArt", "txtGewicht", "txtLänge", "txtGewässer", "txtStelle", "txtMethode",
        "txtKöder", "txtWetter", "txtTempLuft", "txtTempWasser", "txtAngeltiefe" };
    for (int i = 0; i < 16; ++i)
        QCOMPARE(box(*w, QString::fromUtf8(names[i]))->text(), expected.at(i));
    // The phase comes from the date, not from the record's last field.
    QCOMPARE(w->labPhase->text(), QStringLiteral("1/4 Mond ab."));
    // The loaded times ran the check.
    QVERIFY(w->cmdSave->isEnabled());
    QVERIFY(w->imgFalse->isHidden());
}

void TestAddFish::loadWithoutPhotoFileWarnsOnce()
{
    f->app.editFlag = true;
    f->app.editRecord = editRecord(QStringLiteral("Karpfen*"));
    f->t.dialogs.expectMessage();
    auto w = f->open();
    QCOMPARE(f->t.dialogs.messageTexts(),
        QStringList { QStringLiteral(
            "Fehler: In der Datenbank ist zwar ein Verweis auf ein Bild, jedoch konnte das "
            "Bild nicht gefunden werden!\r\nDer Verweis wird gelöscht.") });
    QCOMPARE(f->t.dialogs.shown().first().icon, MsgIcon::Warning);
    QCOMPARE(w->txtFischArt->text(), QStringLiteral("Karpfen"));
    QVERIFY(w->txtBild->text().isEmpty());
    QVERIFY(w->loadedPhotoPath.isEmpty());
}

QTEST_MAIN(TestAddFish)
#include "tst_frmAddFish.moc"
