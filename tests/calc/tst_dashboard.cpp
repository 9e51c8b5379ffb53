#include "calc/Dashboard.h"
#include "platform/RuntimeError.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString kHeader = u"Pic\tDatum\tFänger\tBeginn\tFangzeit\tEnde\tFischart\tGewicht\tGröße\t"
                        u"Gewässer\tAngelplatz\tMontage/Rig.\tKöder\tWetter\tLuft °C\tWasser °C\t"
                        u"Tiefe\tMondphase"_s;
const QString kRule = QString(230, u'=') + u"    "_s;

QString row(const QString& date, const QString& begin, const QString& end)
{
    return u" \t"_s + date + u"\tMax\t"_s + begin + u"\t07:15\t"_s + end
        + u"\tKarpfen\t2,50\t64\tBaggersee\tSteg 3\tFestblei\tBoilie\tsonnig\t+ 18\t+ 14\t2,5\t"
          u"Vollmond"_s;
}

// The overview list with one catch per day, each trip lasting `minutes`.
QStringList overview(int catches, int minutes = 60)
{
    QStringList rows { kHeader, kRule };
    const QTime start(6, 0);
    for (int k = 0; k < catches; ++k)
        rows.append(row(QDate(2007, 5, 1).addDays(k).toString(u"dd.MM.yyyy"_s),
            start.toString(u"HH:mm"_s), start.addSecs(minutes * 60).toString(u"HH:mm"_s)));
    return rows;
}

QStringList frame(const DashboardTexts& t)
{
    return { t.labSchwersterFisch, t.labLeichtesterFisch, t.labDurchschnittsGewicht,
        t.labGesamtGewicht, t.labLängsterFisch, t.labKleinsterFisch, t.labMaxTempLuft,
        t.labMinTempLuft, t.labMaxTempWasser, t.labMinTempWasser, t.labAngelTiefe,
        t.labMaxAngeltiefe, t.labMinAngeltiefe };
}

} // namespace

class TestDashboard : public QObject {
    Q_OBJECT

private slots:
    void freshInstallation()
    {
        TestEnv t;
        const DashboardTexts d = MakeDashboardTexts(t.env, overview(0), u"0,00 €"_s, {}, 0);
        QCOMPARE(d.cmdFangÜbersicht, u"Gefangene Fische: 0"_s);
        QCOMPARE(d.cmdZeit, u"Angelzeit: 0 T  0 Std  0 Min"_s);
        QCOMPARE(d.labZeitProFisch, u"0 min"_s);
        QCOMPARE(d.cmdKostenÜbersicht, u"Angelkosten: 0,00 €"_s);
        QCOMPARE(d.cmdPics, u"Anzahl der Bilder: 0"_s);
        QCOMPARE(d.lstFänge, (QStringList { kHeader, kRule }));
        const QStringList empty { u"0,00 kg"_s, u"0,00 kg"_s, u"0,00 kg"_s, u"0,00 kg"_s, u"0 cm"_s,
            u"0 cm"_s, u"-"_s, u"-"_s, u"-"_s, u"-"_s, u"0 m"_s, u"0 m"_s, u"0 m"_s };
        QCOMPARE(frame(d), empty);
    }

    // With no catches in the list the frame shows the empty texts even when
    // the statistics still hold the figures of an earlier pass.
    void noCatchesIgnoresOldStatistics()
    {
        TestEnv t;
        CatchStatistics s;
        s.heaviest = s.totalWeight = 5;
        s.maxAirTemp = 20;
        const DashboardTexts d = MakeDashboardTexts(t.env, overview(0), u"12,50 €"_s, s, 3);
        QCOMPARE(d.labSchwersterFisch, u"0,00 kg"_s);
        QCOMPARE(d.labMaxTempLuft, u"-"_s);
        QCOMPARE(d.cmdKostenÜbersicht, u"Angelkosten: 12,50 €"_s);
        QCOMPARE(d.cmdPics, u"Anzahl der Bilder: 3"_s);
    }

    void figures()
    {
        TestEnv t;
        CatchStatistics s;
        s.heaviest = 7.5f;
        s.lightest = 2.25f;
        s.totalWeight = 9.75f;
        s.longest = 84;
        s.shortest = 31;
        s.maxAirTemp = 12;
        s.minAirTemp = -4;
        s.maxWaterTemp = 0;
        s.minWaterTemp = 0;
        s.maxDepth = 3.5f;
        s.minDepth = 2.5f;
        s.averageDepth = 3;
        const DashboardTexts d = MakeDashboardTexts(t.env, overview(2), QString(), s, 0);
        QCOMPARE(d.cmdFangÜbersicht, u"Gefangene Fische: 2"_s);
        // 9,75 / 2 = 4,875 shows as 4,88.
        const QStringList expected { u"7,50 kg"_s, u"2,25 kg"_s, u"4,88 kg"_s, u"9,75 kg"_s,
            u"84 cm"_s, u"31 cm"_s, u"+ 12 °C"_s, u"-4 °C"_s, u"0 °C"_s, u"0 °C"_s, u"3,00 m"_s,
            u"3,50 m"_s, u"2,50 m"_s };
        QCOMPARE(frame(d), expected);
    }

    void recentListHoldsAtMost22Rows_data()
    {
        QTest::addColumn<int>("catches");
        QTest::addColumn<int>("rows");
        QTest::newRow("1") << 1 << 3;
        QTest::newRow("20") << 20 << 22;
        QTest::newRow("25") << 25 << 22;
    }

    void recentListHoldsAtMost22Rows()
    {
        QFETCH(int, catches);
        QFETCH(int, rows);
        TestEnv t;
        const QStringList list = overview(catches);
        const DashboardTexts d = MakeDashboardTexts(t.env, list, QString(), {}, 0);
        QCOMPARE(d.lstFänge, list.mid(0, rows));
        QCOMPARE(d.cmdFangÜbersicht, u"Gefangene Fische: %1"_s.arg(catches));
    }

    void fishingTime_data()
    {
        QTest::addColumn<qint32>("minutes");
        QTest::addColumn<int>("catches");
        QTest::addColumn<QString>("total");
        QTest::addColumn<QString>("perFish");

        QTest::newRow("1500 minutes, 4 catches")
            << 1500 << 4 << u"Angelzeit: 1 T  1 Std  0 Min"_s << u"6 Std 15 Min"_s;
        QTest::newRow("under a day")
            << 1439 << 1 << u"Angelzeit: 0 T  23 Std  59 Min"_s << u"23 Std 59 Min"_s;
        QTest::newRow("days, hours, minutes")
            << 2941 << 3 << u"Angelzeit: 2 T  1 Std  1 Min"_s << u"16 Std 20 Min"_s;
        // Halves of a minute go to the even neighbour.
        QTest::newRow("2,5 minutes per fish")
            << 5 << 2 << u"Angelzeit: 0 T  0 Std  5 Min"_s << u"0 Std 2 Min"_s;
        QTest::newRow("3,5 minutes per fish")
            << 7 << 2 << u"Angelzeit: 0 T  0 Std  7 Min"_s << u"0 Std 4 Min"_s;
        // A trip over midnight makes the total negative; each part is cut
        // toward zero.
        QTest::newRow("negative total")
            << -1200 << 1 << u"Angelzeit: 0 T  -20 Std  0 Min"_s << u"-20 Std 0 Min"_s;
        QTest::newRow("negative with minutes")
            << -1530 << 1 << u"Angelzeit: -1 T  -1 Std  -30 Min"_s << u"-25 Std -30 Min"_s;
    }

    void fishingTime()
    {
        QFETCH(qint32, minutes);
        QFETCH(int, catches);
        QFETCH(QString, total);
        QFETCH(QString, perFish);
        QCOMPARE(FishingTimeText(minutes), total);
        QCOMPARE(TimePerFishText(minutes, catches), perFish);
    }

    // The dashboard takes the fishing time from the overview rows.
    void fishingTimeFromOverview()
    {
        TestEnv t;
        const DashboardTexts d = MakeDashboardTexts(t.env, overview(4, 375), QString(), {}, 0);
        QCOMPARE(d.cmdZeit, u"Angelzeit: 1 T  1 Std  0 Min"_s);
        QCOMPARE(d.labZeitProFisch, u"6 Std 15 Min"_s);
    }

    void displayForms_data()
    {
        QTest::addColumn<QString>("actual");
        QTest::addColumn<QString>("expected");
        QTest::newRow("warm") << TemperatureText(18) << u"+ 18 °C"_s;
        QTest::newRow("freezing") << TemperatureText(0) << u"0 °C"_s;
        QTest::newRow("frost") << TemperatureText(-3) << u"-3 °C"_s;
        QTest::newRow("no thousands separator") << WeightText(1234.5f) << u"1234,50 kg"_s;
        QTest::newRow("weight half up") << WeightText(4.875f) << u"4,88 kg"_s;
        // The float nearest 2,455 lies below it; the shown digits are 2,455.
        QTest::newRow("depth from the float's digits") << DepthText(2.455f) << u"2,46 m"_s;
        QTest::newRow("length") << LengthText(64) << u"64 cm"_s;
    }

    void displayForms()
    {
        QFETCH(QString, actual);
        QFETCH(QString, expected);
        QCOMPARE(actual, expected);
    }

    void countPhotos_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<int>("photos");
        QTest::newRow("marker only") << QStringList { u"DUMMY.txt"_s } << 0;
        QTest::newRow("marker and two photos") << QStringList { u"DUMMY.txt"_s,
            u"17.05.2004_06-45-00.jpg"_s, u"18.05.2004_07-00-00.gif"_s }
                                               << 2;
        QTest::newRow("hidden file and folder not counted")
            << QStringList { u"DUMMY.txt"_s, u"a.jpg"_s, u"b.bmp"_s, u".thumbs"_s, u"sub/c.jpg"_s }
            << 2;
        QTest::newRow("marker in other letter case")
            << QStringList { u"dummy.TXT"_s, u"a.jpg"_s } << 1;
        // Without the marker every file is a photo, rather than one too few.
        QTest::newRow("marker missing") << QStringList { u"a.jpg"_s, u"b.jpg"_s } << 2;
        QTest::newRow("empty folder") << QStringList() << 0;
    }

    void countPhotos()
    {
        QFETCH(QStringList, files);
        QFETCH(int, photos);
        TestEnv t;
        const QString dir = t.dir() + u"/db/bilder"_s;
        QVERIFY(QDir().mkpath(dir));
        for (const QString& f : files)
            t.write(u"db\\bilder\\"_s + QString(f).replace(u'/', u'\\'), "x");
        QCOMPARE(CountPhotos(dir), photos);
    }

    void countPhotosOfMissingFolder()
    {
        TestEnv t;
        int error = 0;
        try {
            CountPhotos(t.dir() + u"/db/bilder"_s);
        } catch (const RuntimeError& e) {
            error = e.number;
        }
        QCOMPARE(error, Err::PathNotFound);
    }
};

QTEST_GUILESS_MAIN(TestDashboard)
#include "tst_dashboard.moc"
