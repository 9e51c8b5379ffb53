// The main window's figures at start-up and after every change.
#include "ui/AppFixture.h"
#include "ui/TabListView.h"
#include "ui/TextFilters.h"
#include "ui/frmAddFish.h"
#include "ui/frmAddKosten.h"
#include "ui/frmFangUebersicht.h"
#include "ui/frmHaupt.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

QByteArray catchLine(const char* date, const char* begin, const char* end, const char* species,
    const char* kg, const char* air)
{
    return QByteArray("\"") + date + "\tMax\t" + begin + "\t" + begin + "\t" + end + "\t" + species
        + "\t" + kg + "\t50\tSee\t \t \t \t \t" + air + "\t0\t2,5\tVollmond\"\r\n";
}

// The captions and the statistics frame, "|" between them.
QString figures(const frmHaupt& h)
{
    return QStringList { h.cmdFangÜbersicht->text(), h.cmdZeit->text(), h.labZeitProFisch->text(),
        h.cmdKostenÜbersicht->text(), h.cmdPics->text(), h.labSchwersterFisch->text(),
        h.labLeichtesterFisch->text(), h.labDurchschnittsGewicht->text(),
        h.labGesamtGewicht->text(), h.labLängsterFisch->text(), h.labKleinsterFisch->text(),
        h.labMaxTempLuft->text(), h.labMinTempLuft->text(), h.labMaxTempWasser->text(),
        h.labMinTempWasser->text(), h.labAngelTiefe->text(), h.labMaxAngeltiefe->text(),
        h.labMinAngeltiefe->text() }
        .join(u'|');
}

} // namespace

class TestDashboard : public QObject, AppFixture {
    Q_OBJECT

private Q_SLOTS:
    // Two catches (the newer one without a photo), two purchases, one photo.
    void init()
    {
        t = std::make_unique<TestEnv>();
        t->write(u"db\\Fänge\\db"_s,
            catchLine("2004/05/17", "06:00", "10:00", "Hecht*", "7,50", "+ 12")
                + catchLine("2004/05/18", "18:00", "20:30", "Barsch", "2,25", "-4"));
        t->write(u"db\\db.ver"_s, "102\r\n");
        t->write(u"db\\Kosten\\db"_s,
            "\"2004/05/01\tLaden\t3\tHaken\t4,50 \x80\t13,50 \x80\t0,00 \x80\t13,50 \x80\"\r\n"
            "\"2004/05/02\tLaden\t1\tSchnur\t5,00 \x80\t5,00 \x80\t1,00 \x80\t6,00 \x80\"\r\n");
        t->write(u"db\\Bilder\\17.05.2004_06-00-00.jpg"_s, "JPG");
        startApp();
    }
    void cleanup()
    {
        app.reset();
        QVERIFY(t->dialogs.verifyDone());
        t.reset();
    }

    void startShowsStoredFigures()
    {
        frmHaupt* h = app->haupt;
        QCOMPARE(figures(*h),
            u"Gefangene Fische: 2|Angelzeit: 0 T  6 Std  30 Min|3 Std 15 Min|"
            "Angelkosten: 19,50 €|Anzahl der Bilder: 1|7,50 kg|2,25 kg|4,88 kg|9,75 kg|50 cm|"
            "50 cm|+ 12 °C|-4 °C|0 °C|0 °C|2,50 m|2,50 m|2,50 m"_s);
        // Newest first, with the photo column.
        QCOMPARE(h->lstFänge->count(), 4);
        QVERIFY(h->lstFänge->item(2).startsWith(u" \t18.05.2004\tMax"_s));
        QVERIFY(h->lstFänge->item(3).startsWith(u"X\t17.05.2004\tMax"_s));
    }

    void everyChangeUpdatesTheFigures()
    {
        frmHaupt* h = app->haupt;
        app->openAddFish();
        frmAddFish* w = app->addFish;
        QVERIFY(w);
        const QStringList typed { u"16.05.2004"_s, u"Eva"_s, u"05:00"_s, u"06:00"_s, u"07:00"_s,
            u"9"_s, u"18"_s };
        const QList<QLineEdit*> boxes { w->txtDate, w->txtFänger, w->txtBeginn, w->txtFang,
            w->txtEnde, w->txtGewicht, w->txtTempLuft };
        for (int i = 0; i < boxes.size(); ++i)
            boxes[i]->setText(typed[i]);
        t->dialogs.expectMessage(); // "Eintrag gespeichert!"
        w->cmdSave_Click();
        w->close();
        QVERIFY(figures(*h).startsWith(
            u"Gefangene Fische: 3|Angelzeit: 0 T  8 Std  30 Min|2 Std 50 Min|"_s));
        QCOMPARE(h->lstFänge->count(), 5);

        // Deleting the newest catch (row 2, after the header lines).
        app->uebersicht->lstFänge->setCurrentIndex(app->uebersicht->lstFänge->model()->index(2, 0));
        t->dialogs.answer(MsgResult::Yes);
        app->uebersicht->cmdDelete_Click();
        QCOMPARE(h->cmdFangÜbersicht->text(), u"Gefangene Fische: 2"_s);

        // A purchase saved in the cost window reaches the cost caption.
        frmAddKosten* k = app->kosten;
        const QStringList purchase { u"01.05.2004"_s, u"Laden"_s, u"3"_s, u"Haken"_s, u"4,5"_s,
            u"0"_s };
        const QList<QLineEdit*> costBoxes { k->txtDate, k->txtGeschäft, k->txtMenge,
            k->txtBezeichnung, k->txtEinzelpreis, k->txtVersandkosten };
        for (int i = 0; i < costBoxes.size(); ++i)
            costBoxes[i]->setText(purchase[i]);
        t->dialogs.expectMessage(); // "Datensatz gespeichert!"
        k->cmdSave_Click();
        QCOMPARE(h->cmdKostenÜbersicht->text(), u"Angelkosten: 33,00 €"_s);
    }
};

QTEST_MAIN(TestDashboard)
#include "tst_dashboard.moc"
