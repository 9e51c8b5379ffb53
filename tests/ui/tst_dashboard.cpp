// The main window's figures at start-up and after every change of a log.
#include "platform/ErrorLog.h"
#include "store/Logbook.h"
#include "ui/AppFixture.h"
#include "ui/TabListView.h"
#include "ui/frmHaupt.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

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
    void figuresFollowTheLogs()
    {
        t->write(u"db\\Fänge\\db"_s,
            catchLine("2004/05/17", "06:00", "10:00", "Hecht*", "7,50", "+ 12")
                + catchLine("2004/05/18", "18:00", "20:30", "Barsch", "2,25", "-4"));
        t->write(u"db\\db.ver"_s, "102\r\n");
        t->write(u"db\\Kosten\\db"_s,
            "\"2004/05/01\tLaden\t3\tHaken\t4,50 \x80\t13,50 \x80\t0,00 \x80\t13,50 \x80\"\r\n");
        t->write(u"db\\Bilder\\17.05.2004_06-00-00.jpg"_s, "JPG");
        startApp();
        frmHaupt* h = app->haupt;
        QCOMPARE(figures(*h),
            u"Gefangene Fische: 2|Angelzeit: 0 T  6 Std  30 Min|3 Std 15 Min|"
            "Angelkosten: 13,50 €|Anzahl der Bilder: 1|7,50 kg|2,25 kg|4,88 kg|9,75 kg|50 cm|"
            "50 cm|+ 12 °C|-4 °C|0 °C|0 °C|2,50 m|2,50 m|2,50 m"_s);
        // Newest first, with the photo column.
        QCOMPARE(h->lstFänge->count(), 4);
        QVERIFY(h->lstFänge->item(2).startsWith(u" \t18.05.2004\tMax"_s));
        QVERIFY(h->lstFänge->item(3).startsWith(u"X\t17.05.2004\tMax"_s));

        // Every change of the log owner reaches the captions and the list.
        ErrorTrap trap(t->env, u"Test"_s);
        Logbook& log = *app->state.log;
        QVERIFY(log.appendCatch(
            QString::fromLatin1(catchLine("2004/05/16", "05:00", "07:00", "Aal", "9", "18"))
                .mid(1)
                .chopped(3),
            trap));
        QVERIFY(figures(*h).startsWith(
            u"Gefangene Fische: 3|Angelzeit: 0 T  8 Std  30 Min|2 Std 50 Min|"_s));
        QCOMPARE(h->lstFänge->count(), 5);
        QVERIFY(log.removeCatch(0, trap));
        QCOMPARE(h->cmdFangÜbersicht->text(), u"Gefangene Fische: 2"_s);
        QVERIFY(log.appendCost(log.costItem(0), trap));
        QCOMPARE(h->cmdKostenÜbersicht->text(), u"Angelkosten: 27,00 €"_s);
        QVERIFY(t->dialogs.verifyDone());
    }
};

QTEST_MAIN(TestDashboard)
#include "tst_dashboard.moc"
