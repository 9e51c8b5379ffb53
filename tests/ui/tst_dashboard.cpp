// The main window's figures: right at start-up on stored data, and updated
// after every change without a restart.
#include "support/TestEnv.h"
#include "ui/App.h"
#include "ui/TabListView.h"
#include "ui/TextFilters.h"
#include "ui/frmAddFish.h"
#include "ui/frmAddKosten.h"
#include "ui/frmFangÜbersicht.h"
#include "ui/frmHaupt.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

namespace {

QByteArray catchLine(const char* date, const char* begin, const char* end, const char* species,
    const char* kg, const char* air)
{
    return QByteArray("\"") + date + "\tMax\t" + begin + "\t" + begin + "\t" + end + "\t" + species
        + "\t" + kg + "\t50\tSee\t \t \t \t \t" + air + "\t0\t2,5\tVollmond\"\r\n";
}

} // namespace

class TestDashboard : public QObject {
    Q_OBJECT

    void start()
    {
        app = std::make_unique<App>(t->env, [] {});
        app->Main();
    }
    std::unique_ptr<TestEnv> t;
    std::unique_ptr<App> app;

private Q_SLOTS:
    void init()
    {
        t = std::make_unique<TestEnv>();
        t->dialogs.answer(MsgResult::No); // first-start question
    }
    void cleanup()
    {
        app.reset();
        QVERIFY(t->dialogs.verifyDone());
        t.reset();
    }
    void freshInstallationShowsEmptyFigures();
    void startShowsStoredFigures();
    void savingACatchUpdatesEveryFigure();
    void deletingACatchAndSavingACostUpdateTheFigures();
};

void TestDashboard::freshInstallationShowsEmptyFigures()
{
    start();
    frmHaupt* h = app->haupt;
    QCOMPARE(h->cmdFangÜbersicht->text(), QStringLiteral("Gefangene Fische: 0"));
    QCOMPARE(h->cmdZeit->text(), QStringLiteral("Angelzeit: 0 T  0 Std  0 Min"));
    QCOMPARE(h->labZeitProFisch->text(), QStringLiteral("0 min"));
    QCOMPARE(h->cmdPics->text(), QStringLiteral("Anzahl der Bilder: 0"));
    QCOMPARE(h->cmdKostenÜbersicht->text(), QStringLiteral("Angelkosten: 0,00 €"));
    QCOMPARE(h->labSchwersterFisch->text(), QStringLiteral("0,00 kg"));
    QCOMPARE(h->labMaxTempLuft->text(), QStringLiteral("-"));
    QCOMPARE(h->labAngelTiefe->text(), QStringLiteral("0 m"));
    QCOMPARE(h->lstFänge->count(), 2); // header and rule line only
    QCOMPARE(t->logEntries(), QStringList { QStringLiteral("PROGRAMM\tStart") });
}

void TestDashboard::startShowsStoredFigures()
{
    t->write(QStringLiteral("db\\Fänge\\db"),
        catchLine("2004/05/17", "06:00", "10:00", "Hecht*", "7,50", "+ 12")
            + catchLine("2004/05/18", "18:00", "20:30", "Barsch", "2,25", "-4"));
    t->write(QStringLiteral("db\\db.ver"), "102\r\n");
    t->write(QStringLiteral("db\\Kosten\\db"),
        "\"2004/05/01\tLaden\t3\tHaken\t4,50 \x80\t13,50 \x80\t0,00 \x80\t13,50 \x80\"\r\n"
        "\"2004/05/02\tLaden\t1\tSchnur\t5,00 \x80\t5,00 \x80\t1,00 \x80\t6,00 \x80\"\r\n");
    t->write(QStringLiteral("db\\Bilder\\17.05.2004_06-00-00.jpg"), "JPG");
    start();
    frmHaupt* h = app->haupt;
    QCOMPARE(h->cmdFangÜbersicht->text(), QStringLiteral("Gefangene Fische: 2"));
    QCOMPARE(h->cmdZeit->text(), QStringLiteral("Angelzeit: 0 T  6 Std  30 Min"));
    QCOMPARE(h->labZeitProFisch->text(), QStringLiteral("3 Std 15 Min"));
    QCOMPARE(app->kosten->txtGesamt->text(), QStringLiteral("19,50 €"));
    QCOMPARE(h->cmdKostenÜbersicht->text(), QStringLiteral("Angelkosten: 19,50 €"));
    QCOMPARE(h->cmdPics->text(), QStringLiteral("Anzahl der Bilder: 1"));
    QCOMPARE(h->labSchwersterFisch->text(), QStringLiteral("7,50 kg"));
    QCOMPARE(h->labLeichtesterFisch->text(), QStringLiteral("2,25 kg"));
    QCOMPARE(h->labGesamtGewicht->text(), QStringLiteral("9,75 kg"));
    QCOMPARE(h->labDurchschnittsGewicht->text(), QStringLiteral("4,88 kg"));
    QCOMPARE(h->labMaxTempLuft->text(), QStringLiteral("+ 12 °C"));
    QCOMPARE(h->labMinTempLuft->text(), QStringLiteral("-4 °C"));
    QCOMPARE(h->labAngelTiefe->text(), QStringLiteral("2,50 m"));
    // Newest first, with the photo column.
    QCOMPARE(h->lstFänge->count(), 4);
    QVERIFY(h->lstFänge->item(2).startsWith(QStringLiteral(" \t18.05.2004\tMax")));
    QVERIFY(h->lstFänge->item(3).startsWith(QStringLiteral("X\t17.05.2004\tMax")));
}

void TestDashboard::savingACatchUpdatesEveryFigure()
{
    start();
    app->openAddFish();
    frmAddFish* w = app->addFish;
    QVERIFY(w);
    w->txtDate->setText(QStringLiteral("16.05.2004"));
    w->txtFänger->setText(QStringLiteral("Eva"));
    w->txtBeginn->setText(QStringLiteral("05:00"));
    w->txtFang->setText(QStringLiteral("06:00"));
    w->txtEnde->setText(QStringLiteral("07:00"));
    w->txtGewicht->setText(QStringLiteral("3,5"));
    w->txtTempLuft->setText(QStringLiteral("18"));
    t->dialogs.expectMessage(); // "Eintrag gespeichert!"
    w->cmdSave_Click();
    QCOMPARE(t->dialogs.messageTexts().last(), QStringLiteral("Eintrag gespeichert!"));
    frmHaupt* h = app->haupt;
    QCOMPARE(h->cmdFangÜbersicht->text(), QStringLiteral("Gefangene Fische: 1"));
    QCOMPARE(h->cmdZeit->text(), QStringLiteral("Angelzeit: 0 T  2 Std  0 Min"));
    QCOMPARE(h->labSchwersterFisch->text(), QStringLiteral("3,50 kg"));
    QCOMPARE(h->labMaxTempLuft->text(), QStringLiteral("+ 18 °C"));
    QCOMPARE(h->lstFänge->count(), 3);
    w->close();
}

void TestDashboard::deletingACatchAndSavingACostUpdateTheFigures()
{
    t->write(QStringLiteral("db\\Fänge\\db"),
        catchLine("2004/05/17", "06:00", "10:00", "Hecht", "7,50", "0")
            + catchLine("2004/05/18", "18:00", "20:30", "Barsch", "2,25", "0"));
    t->write(QStringLiteral("db\\db.ver"), "102\r\n");
    start();
    frmHaupt* h = app->haupt;
    QCOMPARE(h->cmdFangÜbersicht->text(), QStringLiteral("Gefangene Fische: 2"));

    // Delete the newest catch (row 2 after the header and rule line).
    app->uebersicht->lstFänge->setCurrentIndex(app->uebersicht->lstFänge->model()->index(2, 0));
    t->dialogs.answer(MsgResult::Yes);
    app->uebersicht->cmdDelete_Click();
    QCOMPARE(h->cmdFangÜbersicht->text(), QStringLiteral("Gefangene Fische: 1"));
    QCOMPARE(h->labSchwersterFisch->text(), QStringLiteral("7,50 kg"));
    QCOMPARE(h->labLeichtesterFisch->text(), QStringLiteral("7,50 kg"));

    // A purchase saved in the cost window reaches the cost caption.
    frmAddKosten* k = app->kosten;
    k->txtDate->setText(QStringLiteral("01.05.2004"));
    k->txtGeschäft->setText(QStringLiteral("Laden"));
    k->txtMenge->setText(QStringLiteral("3"));
    k->txtBezeichnung->setText(QStringLiteral("Haken"));
    k->txtEinzelpreis->setText(QStringLiteral("4,5"));
    k->txtVersandkosten->setText(QStringLiteral("0"));
    t->dialogs.expectMessage(); // "Datensatz gespeichert!"
    k->cmdSave_Click();
    QCOMPARE(t->dialogs.messageTexts().last(), QStringLiteral("Datensatz gespeichert!"));
    QCOMPARE(h->cmdKostenÜbersicht->text(), QStringLiteral("Angelkosten: 13,50 €"));
}

QTEST_MAIN(TestDashboard)
#include "tst_dashboard.moc"
