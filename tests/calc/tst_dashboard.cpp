#include "calc/Dashboard.h"
#include "support/TestEnv.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// The overview list with one catch per day, each trip lasting `minutes`.
QStringList overview(int catches, int minutes = 60)
{
    QStringList rows;
    for (int k = 0; k < catches; ++k) {
        const QString date = QDate(2007, 5, 1).addDays(k).toString(u"dd.MM.yyyy"_s);
        const QString end = QTime(6, 0).addSecs(minutes * 60).toString(u"HH:mm"_s);
        rows.append(overviewRow(sampleCatch({ { 1, date }, { 3, u"06:00"_s }, { 5, end } })));
    }
    return overviewList(rows);
}

// The statistics frame's texts, "|" between them.
QString frame(const DashboardTexts& t)
{
    return QStringList { t.labSchwersterFisch, t.labLeichtesterFisch, t.labDurchschnittsGewicht,
        t.labGesamtGewicht, t.labLängsterFisch, t.labKleinsterFisch, t.labMaxTempLuft,
        t.labMinTempLuft, t.labMaxTempWasser, t.labMinTempWasser, t.labAngelTiefe,
        t.labMaxAngeltiefe, t.labMinAngeltiefe }
        .join(u'|');
}

} // namespace

class TestDashboard : public QObject {
    Q_OBJECT

private slots:
    void figures()
    {
        TestEnv t;
        const CatchStatistics s { 7.5f, 2.25f, 84, 31, 9.75f, 12, -4, 0, 0, 3.5f, 2.5f, 3 };
        DashboardTexts d = MakeDashboardTexts(t.env, overview(2), u"12,50 €"_s, s, 3);
        // 9,75 kg / 2 = 4,875 shows as 4,88.
        QCOMPARE(frame(d),
            u"7,50 kg|2,25 kg|4,88 kg|9,75 kg|84 cm|31 cm|+ 12 °C|-4 °C|0 °C|0 °C|"
            u"3,00 m|3,50 m|2,50 m"_s);
        QCOMPARE(d.cmdFangÜbersicht, u"Gefangene Fische: 2"_s);
        QCOMPARE(d.cmdKostenÜbersicht, u"Angelkosten: 12,50 €"_s);
        QCOMPARE(d.cmdPics, u"Anzahl der Bilder: 3"_s);
        // Without catches the frame ignores what an earlier pass left.
        d = MakeDashboardTexts(t.env, overview(0), u"0,00 €"_s, s, 0);
        QCOMPARE(frame(d), u"0,00 kg|0,00 kg|0,00 kg|0,00 kg|0 cm|0 cm|-|-|-|-|0 m|0 m|0 m"_s);
        QCOMPARE(d.cmdFangÜbersicht, u"Gefangene Fische: 0"_s);
        QCOMPARE(d.cmdZeit, u"Angelzeit: 0 T  0 Std  0 Min"_s);
        QCOMPARE(d.labZeitProFisch, u"0 min"_s);
        // The float nearest 2,455 lies below it; its shortest digits are 2,455.
        QCOMPARE(DepthText(2.455f), u"2,46 m"_s);
        // The recent list: header, rule line and the first 20 catches.
        const QStringList list = overview(21, 375);
        d = MakeDashboardTexts(t.env, list, QString(), {}, 0);
        QCOMPARE(d.lstFänge, list.mid(0, 22));
        QCOMPARE(d.cmdZeit, u"Angelzeit: 5 T  11 Std  15 Min"_s);
    }

    void fishingTime_data()
    {
        QTest::addColumn<qint32>("minutes");
        QTest::addColumn<int>("catches");
        QTest::addColumn<QString>("total");
        QTest::addColumn<QString>("perFish");
        QTest::newRow("days, hours, minutes")
            << 2941 << 3 << u"Angelzeit: 2 T  1 Std  1 Min"_s << u"16 Std 20 Min"_s;
        // Halves of a minute go to the even neighbour.
        QTest::newRow("2,5 per fish")
            << 5 << 2 << u"Angelzeit: 0 T  0 Std  5 Min"_s << u"0 Std 2 Min"_s;
        QTest::newRow("3,5 per fish")
            << 7 << 2 << u"Angelzeit: 0 T  0 Std  7 Min"_s << u"0 Std 4 Min"_s;
        // A trip over midnight makes the total negative; each part is cut toward zero.
        QTest::newRow("negative") << -1530 << 1 << u"Angelzeit: -1 T  -1 Std  -30 Min"_s
                                  << u"-25 Std -30 Min"_s;
    }

    void fishingTime()
    {
        QFETCH(qint32, minutes);
        QFETCH(int, catches);
        QTEST(FishingTimeText(minutes), "total");
        QTEST(TimePerFishText(minutes, catches), "perFish");
    }

    void countPhotos_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<int>("photos");
        QTest::newRow("marker and two photos")
            << QStringList { u"DUMMY.txt"_s, u"17.05.2004_06-45-00.jpg"_s, u"x.gif"_s } << 2;
        QTest::newRow("hidden file and folder not counted")
            << QStringList { u"DUMMY.txt"_s, u"a.jpg"_s, u".thumbs"_s, u"sub/c.jpg"_s } << 1;
        QTest::newRow("marker missing") << QStringList { u"a.jpg"_s, u"b.jpg"_s } << 2;
    }

    void countPhotos()
    {
        QFETCH(QStringList, files);
        TestEnv t;
        QCOMPARE(errorNumberOf([&] { CountPhotos(t.path(u"db\\bilder"_s)); }), 76);
        for (const QString& f : files)
            t.write(u"db/bilder/"_s + f, "x");
        QTEST(CountPhotos(t.path(u"db\\bilder"_s)), "photos");
    }
};

QTEST_GUILESS_MAIN(TestDashboard)
#include "tst_dashboard.moc"
