// The yearly report's figures for a small log worked out by hand, a year
// without catches, and what the page shows of them.
#include "export/Utf8Page.h"
#include "export/YearReport.h"
#include "platform/ErrorLog.h"
#include "support/TestEnv.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// One catch as the overview lists it.
QString listed(const QString& date, const QString& begin, const QString& end,
    const QString& species, const QString& kg, const QString& cm, const QString& water)
{
    return overviewRow(sampleCatch({ { 1, date }, { 3, begin }, { 5, end }, { 6, species },
        { 7, kg }, { 8, cm }, { 9, water } }));
}

// Newest first, as the overview lists them.
QStringList sampleLog()
{
    return overviewList({
        listed(
            u"20.12.2024"_s, u"08:00"_s, u"12:00"_s, u"Hecht"_s, u"12,40"_s, u"80"_s, u"Rhein"_s),
        listed(u"03.06.2024"_s, u"18:00"_s, u"21:30"_s, u"Hecht"_s, u"4,25"_s, u"81"_s,
            u"Baggersee"_s),
        listed(u"03.06.2024"_s, u"05:00"_s, u"07:00"_s, u"Zander"_s, u"3,00"_s, u"0"_s, u"Rhein"_s),
        // One trip: it counts once, up to the end of its first listed catch.
        listed(u"12.05.2024"_s, u"06:00"_s, u"10:00"_s, u"Karpfen*"_s, u"12,40"_s, u"84"_s,
            u"Baggersee"_s),
        listed(u"12.05.2024"_s, u"06:00"_s, u"11:00"_s, u"Karpfen"_s, u"8,10"_s, u"70"_s,
            u" Baggersee "_s),
        listed(
            u"01.07.2023"_s, u"19:00"_s, u"23:15"_s, u"Schleie"_s, u"1,5"_s, u"38"_s, u"Weiher"_s),
        listed(u"30.06.2023"_s, u"19:00"_s, u"23:00"_s, u"Aal"_s, u"kaum"_s, u"65"_s, u"Weiher"_s),
    });
}

QStringList sampleCosts()
{
    return {
        sampleCost(
            { { 1, u"02.03.2024"_s }, { 6, u"4,50 €"_s }, { 7, u"4,90 €"_s }, { 8, u"9,40 €"_s } })
            .join(u'\t'),
        sampleCost({ { 1, u"31.12.2024"_s }, { 6, u"13,50 €"_s }, { 7, u"0,00 €"_s },
                       { 8, u"13,50 €"_s } })
            .join(u'\t'),
        sampleCost(
            { { 1, u"01.01.2023"_s }, { 6, u"2,00 €"_s }, { 7, u"1,00 €"_s }, { 8, u"3,00 €"_s } })
            .join(u'\t'),
    };
}

// A group as "water | species | catches | total | heaviest | longest".
QStringList groupTexts(const YearReport& r)
{
    QStringList out;
    for (const YearGroup& g : r.groups)
        out.append(u"%1 | %2 | %3 | %4 | %5 | %6"_s.arg(g.water, g.species)
                       .arg(g.catches)
                       .arg(g.totalKg, 0, 'f', 2)
                       .arg(g.heaviestKg ? QString::number(*g.heaviestKg, 'f', 2) : u"-"_s)
                       .arg(g.longestCm ? QString::number(*g.longestCm) : u"-"_s));
    return out;
}

QString bestText(const YearReport& r)
{
    if (!r.best)
        return u"-"_s;
    return u"%1 %2 %3 %4 %5"_s.arg(r.best->date, r.best->species, r.best->water)
        .arg(r.best->kg, 0, 'f', 2)
        .arg(r.best->cm ? QString::number(*r.best->cm) : u"-"_s);
}

QList<int> monthCounts(const YearReport& r)
{
    QList<int> out;
    for (const YearMonth& m : r.months)
        out.append(m.catches);
    return out;
}

} // namespace

class TestYearReport : public QObject {
    Q_OBJECT

private slots:
    void yearsWithCatchesNewestFirst()
    {
        QCOMPARE(CatchYears(sampleLog()), (QList<int> { 2024, 2023 }));
        QCOMPARE(CatchYears(overviewList({})), QList<int>());
        // A date that is not dd.mm.yyyy names no year.
        QCOMPARE(CatchYears(overviewList({ listed(u"2004/05/17"_s, u"06:00"_s, u"07:00"_s, u"Aal"_s,
                     u"1"_s, u"1"_s, u"See"_s) })),
            QList<int>());
    }

    void figures_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("catches");
        QTest::addColumn<double>("totalKg");
        QTest::addColumn<QStringList>("groups");
        QTest::addColumn<QList<int>>("months");
        QTest::addColumn<int>("minutes");
        QTest::addColumn<int>("purchases");
        QTest::addColumn<QString>("costTotal");
        QTest::addColumn<QString>("best");

        // Trips: 20.12. 240 min; 03.06. 210 and 120 min; 12.05. 240 min
        // (the second catch of the trip adds nothing).
        QTest::newRow("2024") << 2024 << 5 << 40.15
                              << QStringList { u"Baggersee | Hecht | 1 | 4.25 | 4.25 | 81"_s,
                                     u"Baggersee | Karpfen | 2 | 20.50 | 12.40 | 84"_s,
                                     u"Rhein | Hecht | 1 | 12.40 | 12.40 | 80"_s,
                                     u"Rhein | Zander | 1 | 3.00 | 3.00 | -"_s }
                              << QList<int> { 0, 0, 0, 0, 2, 2, 0, 0, 0, 0, 0, 1 } << 810 << 2
                              << u"22,90 €"_s
                              // Of the two fish of 12,40 kg the longer one,
                              // though listed later.
                              << u"12.05.2024 Karpfen Baggersee 12.40 84"_s;
        // A weight that cannot be read counts the catch but adds no weight.
        QTest::newRow("2023") << 2023 << 2 << 1.5
                              << QStringList { u"Weiher | Aal | 1 | 0.00 | - | 65"_s,
                                     u"Weiher | Schleie | 1 | 1.50 | 1.50 | 38"_s }
                              << QList<int> { 0, 0, 0, 0, 0, 1, 1, 0, 0, 0, 0, 0 } << 495 << 1
                              << u"3,00 €"_s << u"01.07.2023 Schleie Weiher 1.50 38"_s;
        QTest::newRow("year without catches")
            << 2022 << 0 << 0.0 << QStringList() << QList<int>(12, 0) << 0 << 0 << u"0,00 €"_s
            << u"-"_s;
    }
    void figures()
    {
        QFETCH(int, year);
        TestEnv t;
        ErrorTrap trap(t.env, u"Test"_s);
        const YearReport r = MakeYearReport(t.env, sampleLog(), sampleCosts(), year, trap);
        QCOMPARE(r.year, year);
        QTEST(r.catches, "catches");
        QFETCH(double, totalKg);
        QCOMPARE(QString::number(r.totalKg, 'f', 2), QString::number(totalKg, 'f', 2));
        QTEST(groupTexts(r), "groups");
        QTEST(monthCounts(r), "months");
        QTEST(int(r.fishingMinutes), "minutes");
        QTEST(r.purchases, "purchases");
        QTEST(CostSumText(r.costs.total), "costTotal");
        QTEST(bestText(r), "best");
        QCOMPARE(t.logEntries(), QStringList());
    }

    // An amount the cost reader refuses is logged where the report runs
    // and left out of the sum.
    void unreadableAmountIsLogged()
    {
        TestEnv t;
        ErrorTrap trap(t.env, u"Sub Bericht"_s);
        QStringList costs = sampleCosts();
        costs[0].replace(u"9,40 €"_s, u"neun €"_s);
        const YearReport r = MakeYearReport(t.env, sampleLog(), costs, 2024, trap);
        QCOMPARE(r.purchases, 2);
        QCOMPARE(CostSumText(r.costs.total), u"13,50 €"_s);
        QCOMPARE(t.logEntries(), QStringList { u"Sub Bericht\tError (13)"_s });
    }

    void pageShowsTheFigures_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<QStringList>("lines"); // lines the page holds
        QTest::addColumn<QStringList>("absent"); // texts it must not hold
        const QStringList tables { u"Fänge nach Gewässer und Fischart"_s, u"Fänge nach Monat"_s,
            u"Bester Fisch des Jahres"_s };
        QTest::newRow("2024")
            << 2024
            << QStringList {
                   u"<h1>Jahresbericht 2024</h1>"_s,
                   u"<tbody><tr><td class=\"zahl\">5</td><td class=\"zahl\">40,15 kg</td>"
                   "<td class=\"zahl\">0 T  13 Std  30 Min</td><td class=\"zahl\">2 Std 42 Min</td>"
                   "</tr></tbody>"_s,
                   u"<tr><td>Baggersee</td><td>Karpfen</td><td class=\"zahl\">2</td>"
                   "<td class=\"zahl\">20,50 kg</td><td class=\"zahl\">12,40 kg</td>"
                   "<td class=\"zahl\">84 cm</td></tr>"_s,
                   u"<tr><td>Rhein</td><td>Zander</td><td class=\"zahl\">1</td>"
                   "<td class=\"zahl\">3,00 kg</td><td class=\"zahl\">3,00 kg</td>"
                   "<td class=\"zahl\">–</td></tr>"_s,
                   u"<tr><td>Juni</td><td class=\"zahl\">2</td><td class=\"zahl\">7,25 kg</td></tr>"_s,
                   u"<tr><td>März</td><td class=\"zahl\">0</td><td class=\"zahl\">0,00 kg</td></tr>"_s,
                   u"<tbody><tr><td>12.05.2024</td><td>Karpfen</td><td class=\"zahl\">12,40 kg</td>"
                   "<td class=\"zahl\">84 cm</td><td>Baggersee</td></tr></tbody>"_s,
                   u"<tbody><tr><td class=\"zahl\">2</td><td class=\"zahl\">18,00 €</td>"
                   "<td class=\"zahl\">4,90 €</td><td class=\"zahl\">22,90 €</td></tr></tbody>"_s,
               }
            << QStringList { u"keine Fänge"_s, u"Hinweis"_s };
        QTest::newRow("year without catches")
            << 2022
            << QStringList { u"<p>Im Jahr 2022 sind keine Fänge eingetragen.</p>"_s,
                   u"<tbody><tr><td class=\"zahl\">0</td><td class=\"zahl\">0,00 €</td>"
                   "<td class=\"zahl\">0,00 €</td><td class=\"zahl\">0,00 €</td></tr></tbody>"_s }
            << tables;
    }
    void pageShowsTheFigures()
    {
        QFETCH(int, year);
        QFETCH(QStringList, lines);
        QFETCH(QStringList, absent);
        TestEnv t;
        ErrorTrap trap(t.env, u"Test"_s);
        const QStringList page
            = YearReportPage(MakeYearReport(t.env, sampleLog(), sampleCosts(), year, trap),
                { u"17.05.2025"_s, u"1.0.0.2"_s, u"https://example.org/"_s });
        for (const QString& line : lines)
            QVERIFY2(page.contains(line), qPrintable(line));
        const QString all = page.join(u'\n');
        for (const QString& text : absent)
            QVERIFY2(!all.contains(text), qPrintable(text));
        QVERIFY(page.contains(
            u"<p class=\"fuss\">Erstellt mit dem <a href=\"https://example.org/\">"
            "Uferwacht</a> Digitalen Kescherheft Version 1.0.0.2 am 17.05.2025.</p>"_s));
    }

    // Texts typed by the user and the footer's values reach the page only
    // escaped, so that none of them can add markup or script.
    void pageEscapesEveryValue()
    {
        TestEnv t;
        ErrorTrap trap(t.env, u"Test"_s);
        const QString water = u"<b>Kanal</b> & \"Co\" 'Süd'"_s;
        const QString species = u"Barsch<script>alert(1)</script>"_s;
        YearReport r = MakeYearReport(t.env,
            overviewList({ listed(
                u"01.05.2024"_s, u"06:00"_s, u"08:00"_s, species, u"1,00"_s, u"30"_s, water) }),
            {}, 2024, trap);
        r.unreadableCatches = 3;
        const QString page
            = YearReportPage(r, { u"<heute>"_s, u"1&2"_s, u"https://example.org/?a=1&b=\"2\""_s })
                  .join(u'\n');
        const QString escapedWater
            = u"&lt;b&gt;Kanal&lt;/b&gt; &amp; &quot;Co&quot; &#39;Süd&#39;"_s;
        QCOMPARE(page.count(escapedWater), 2); // its group and the best fish
        QCOMPARE(page.count(u"Barsch&lt;script&gt;alert(1)&lt;/script&gt;"_s), 2);
        QVERIFY(!page.contains(u"<b>"_s));
        QCOMPARE(page.count(u"<script"_s), 1); // the page's own
        QVERIFY(page.contains(u"href=\"https://example.org/?a=1&amp;b=&quot;2&quot;\""_s));
        QVERIFY(page.contains(u"Version 1&amp;2 am &lt;heute&gt;."_s));
        QVERIFY(page.contains(u"<p>Hinweis: 3 Zeilen der Fangdatei konnten nicht gelesen werden "
                              "und fehlen in diesem Bericht.</p>"_s));
    }

    void pageBytes()
    {
        QCOMPARE(Utf8PageBytes({ u"<p>Fänge €</p>"_s, QString() }),
            QByteArray("<p>F\xC3\xA4nge \xE2\x82\xAC</p>\r\n\r\n"));
        TestEnv t;
        const QString path = t.dir() + u"/bericht.html"_s;
        QCOMPARE(WriteUtf8Page(path, { u"ä"_s }), 0);
        QCOMPARE(t.read(u"bericht.html"_s), QByteArray("\xC3\xA4\r\n"));
        QCOMPARE(WriteUtf8Page(t.dir() + u"/fehlt/bericht.html"_s, { u"ä"_s }), 76);
    }
};

QTEST_GUILESS_MAIN(TestYearReport)
#include "tst_yearReport.moc"
