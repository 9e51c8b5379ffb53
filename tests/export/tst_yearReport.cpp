// The yearly report: its figures for a small log worked out by hand, a year
// without catches, escaping and the print layout.
#include "export/Utf8Page.h"
#include "export/YearReport.h"
#include "platform/ErrorLog.h"
#include "support/TestEnv.h"

#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// One catch as the overview lists it.
QString listed(const QString& date, const QString& times, const QString& species, const QString& kg,
    const QString& cm, const QString& water)
{
    return overviewRow(sampleCatch({ { 1, date }, { 3, times.left(5) }, { 5, times.right(5) },
        { 6, species }, { 7, kg }, { 8, cm }, { 9, water } }));
}

// Newest first, as the overview lists them.
const QStringList kLog = overviewList({
    listed(u"20.12.2024"_s, u"08:00-12:00"_s, u"Hecht"_s, u"12,40"_s, u"80"_s, u"Rhein"_s),
    listed(u"03.06.2024"_s, u"18:00-21:30"_s, u"Hecht"_s, u"4,25"_s, u"81"_s, u"Baggersee"_s),
    listed(u"03.06.2024"_s, u"05:00-07:00"_s, u"Zander"_s, u"3,00"_s, u"0"_s, u"Rhein"_s),
    // One trip: it lasts to the end of its first listed catch.
    listed(u"12.05.2024"_s, u"06:00-10:00"_s, u"Karpfen*"_s, u"12,40"_s, u"84"_s, u"Baggersee"_s),
    listed(u"12.05.2024"_s, u"06:00-11:00"_s, u"Karpfen"_s, u"8,10"_s, u"70"_s, u" Baggersee "_s),
    listed(u"01.07.2023"_s, u"19:00-23:15"_s, u"Schleie"_s, u"1,5"_s, u"38"_s, u"Weiher"_s),
    listed(u"30.06.2023"_s, u"19:00-23:00"_s, u"Aal"_s, u"kaum"_s, u"65"_s, u"Weiher"_s),
    // Two ties of weight for the best fish: the first listed longer, and
    // two fish alike.
    listed(u"10.08.2021"_s, u"06:00-08:00"_s, u"Hecht"_s, u"5,00"_s, u"90"_s, u"Rhein"_s),
    listed(u"02.04.2021"_s, u"06:00-08:00"_s, u"Zander"_s, u"5,00"_s, u"70"_s, u"Rhein"_s),
    listed(u"09.09.2020"_s, u"06:00-08:00"_s, u"Barsch"_s, u"2,00"_s, u"40"_s, u"See"_s),
    listed(u"01.09.2020"_s, u"06:00-08:00"_s, u"Barsch"_s, u"2,00"_s, u"40"_s, u"Weiher"_s),
});

QString cost(
    const QString& date, const QString& price, const QString& shipping, const QString& total)
{
    return sampleCostLine({ { 1, date }, { 6, price }, { 7, shipping }, { 8, total } });
}

const QStringList kCosts { cost(u"02.03.2024"_s, u"4,50 €"_s, u"4,90 €"_s, u"9,40 €"_s),
    cost(u"31.12.2024"_s, u"13,50 €"_s, u"0,00 €"_s, u"13,50 €"_s),
    cost(u"01.01.2023"_s, u"2,00 €"_s, u"1,00 €"_s, u"3,00 €"_s) };

// unlisted: lines of the catch file that the catch list left out.
QStringList page(int year, const QStringList& catches = kLog, const QStringList& costs = kCosts,
    int unlisted = 0)
{
    TestEnv t;
    ErrorTrap trap(t.env, u"Test"_s);
    YearReport r = MakeYearReport(t.env, catches, costs, year, trap);
    r.unlistedCatches = unlisted;
    return YearReportPage(r, { u"17.05.2025"_s, u"1.0.0.2"_s, u"https://example.org/"_s });
}

// The page's table rows, each as its cells' contents joined by "|".
QStringList tableRows(const QStringList& page)
{
    QStringList rows;
    static const QRegularExpression row(u"<tr[^>]*>(.*?)</tr>"_s);
    static const QRegularExpression cell(u"<t[dh][^>]*>(.*?)</t[dh]>"_s);
    for (const auto& r : row.globalMatch(page.join(QString()))) {
        QStringList cells;
        for (const auto& c : cell.globalMatch(r.captured(1)))
            cells.append(c.captured(1));
        rows.append(cells.join(u'|'));
    }
    return rows;
}

} // namespace

class TestYearReport : public QObject {
    Q_OBJECT

private slots:
    void yearsWithCatches()
    {
        QCOMPARE(CatchYears(kLog), (QList<int> { 2024, 2023, 2021, 2020 }));
        // A date that is not dd.mm.yyyy names no year.
        QCOMPARE(CatchYears(overviewList({ listed(
                     u"2004/05/17"_s, u"06:00-07:00"_s, u"Aal"_s, u"1"_s, u"1"_s, u"See"_s) })),
            QList<int>());
    }

    void figures_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<QStringList>("rows"); // table rows the page must hold
        QTest::addColumn<QString>("absent"); // a text it must not hold
        // Trips: 240 + 210 + 120 + 240 minutes; 810 / 5 = 162 per fish.
        QTest::newRow("2024") << 2024
                              << QStringList { u"5|40,15 kg|0 T  13 Std  30 Min|2 Std 42 Min"_s,
                                     u"Baggersee|Hecht|1|4,25 kg|4,25 kg|81 cm"_s,
                                     u"Baggersee|Karpfen|2|20,50 kg|12,40 kg|84 cm"_s,
                                     u"Rhein|Hecht|1|12,40 kg|12,40 kg|80 cm"_s,
                                     u"Rhein|Zander|1|3,00 kg|3,00 kg|–"_s, u"Summe|5|40,15 kg||"_s,
                                     u"März|0|0,00 kg"_s, u"Mai|2|20,50 kg"_s, u"Juni|2|7,25 kg"_s,
                                     u"Dezember|1|12,40 kg"_s,
                                     // Of two fish of 12,40 kg the longer one.
                                     u"12.05.2024|Karpfen|12,40 kg|84 cm|Baggersee"_s,
                                     u"2|18,00 €|4,90 €|22,90 €"_s }
                              << u"keine Fänge"_s;
        // A weight that cannot be read counts the catch, not its weight.
        QTest::newRow("2023") << 2023
                              << QStringList { u"2|1,50 kg|0 T  8 Std  15 Min|4 Std 8 Min"_s,
                                     u"Weiher|Aal|1|0,00 kg|–|65 cm"_s,
                                     u"Weiher|Schleie|1|1,50 kg|1,50 kg|38 cm"_s,
                                     u"01.07.2023|Schleie|1,50 kg|38 cm|Weiher"_s,
                                     u"1|2,00 €|1,00 €|3,00 €"_s }
                              << u"Hinweis"_s;
        QTest::newRow("equal weight, the first listed longer")
            << 2021 << QStringList { u"10.08.2021|Hecht|5,00 kg|90 cm|Rhein"_s } << u"Hinweis"_s;
        QTest::newRow("equal weight and length: the first listed")
            << 2020 << QStringList { u"09.09.2020|Barsch|2,00 kg|40 cm|See"_s } << u"Hinweis"_s;
        QTest::newRow("year without catches")
            << 2022 << QStringList { u"0|0,00 €|0,00 €|0,00 €"_s } << u"Fischart"_s;
    }
    void figures()
    {
        QFETCH(int, year);
        QFETCH(QStringList, rows);
        QFETCH(QString, absent);
        const QStringList p = page(year);
        const QStringList shown = tableRows(p);
        for (const QString& row : rows)
            QVERIFY2(shown.contains(row), qPrintable(row));
        QVERIFY(!p.join(QString()).contains(absent));
        QVERIFY(p.contains(u"<h1>Jahresbericht %1</h1>"_s.arg(year)));
        QCOMPARE(p.contains(u"<p>Im Jahr 2022 sind keine Fänge eingetragen.</p>"_s), year == 2022);
        // Printed on A4, the head row of the table of waters on every page.
        const QString all = p.join(QString());
        QVERIFY(all.contains(u"@page { size: A4;"_s));
        QCOMPARE(all.contains(u"thead { display: table-header-group; }"_s)
                && all.contains(u"<thead><tr><th>Gewässer</th>"_s),
            year != 2022);
    }

    // Lines that cannot be read are named once: those dated in the year are
    // missing from its report, the year of a line the catch list left out
    // is not known.
    void unreadableLines_data()
    {
        QTest::addColumn<QStringList>("damaged"); // dates of listed lines that cannot be read
        QTest::addColumn<int>("unlisted");
        QTest::addColumn<QString>("note");
        const QString one = u"1 Zeile der Fangdatei konnte nicht gelesen werden"_s;
        QTest::newRow("one of the year")
            << QStringList { u"04.05.2024"_s } << 0 << one + u" und fehlt in diesem Bericht."_s;
        QTest::newRow("two of the year")
            << QStringList { u"04.05.2024"_s, u"05.05.2024"_s } << 0
            << u"2 Zeilen der Fangdatei konnten nicht gelesen werden und fehlen in diesem "
               "Bericht."_s;
        QTest::newRow("one left out") << QStringList() << 1 << one + u'.';
        QTest::newRow("two of the year, one left out")
            << QStringList { u"04.05.2024"_s, u"05.05.2024"_s } << 1
            << u"3 Zeilen der Fangdatei konnten nicht gelesen werden; 2 davon sind aus diesem "
               "Jahr und fehlen in diesem Bericht."_s;
    }
    void unreadableLines()
    {
        QFETCH(QStringList, damaged);
        QFETCH(int, unlisted);
        QFETCH(QString, note);
        QStringList catches = kLog;
        for (const QString& date : damaged)
            catches.append(u" \t"_s + date + u"\tkurz"_s);
        const QStringList p = page(2024, catches, kCosts, unlisted);
        QCOMPARE(p.filter(u"Hinweis"_s), QStringList { u"<p>Hinweis: "_s + note + u"</p>"_s });
        QVERIFY(tableRows(p).contains(u"Summe|5|40,15 kg||"_s));
    }

    // An amount the cost reader refuses is logged where the report runs
    // and left out of the sums.
    void unreadableAmountIsLogged()
    {
        TestEnv t;
        ErrorTrap trap(t.env, u"Sub Bericht"_s);
        const QStringList costs { cost(u"02.03.2024"_s, u"4,50 €"_s, u"4,90 €"_s, u"neun €"_s),
            kCosts[1] };
        const YearReport r = MakeYearReport(t.env, kLog, costs, 2024, trap);
        QCOMPARE(r.purchases, 2);
        QCOMPARE(CostSumText(r.costs.total), u"13,50 €"_s);
        QCOMPARE(t.logEntries(), QStringList { u"Sub Bericht\tError (13)"_s });
    }

    // What the user typed and the footer's values reach the page escaped.
    void everyValueEscaped()
    {
        TestEnv t;
        ErrorTrap trap(t.env, u"Test"_s);
        YearReport r = MakeYearReport(t.env,
            overviewList({ listed(u"01.05.2024"_s, u"06:00-08:00"_s, u"Barsch<script>"_s, u"1,00"_s,
                u"30"_s, u"<b>Kanal</b> & \"Co\" 'Süd'"_s) }),
            {}, 2024, trap);
        const QString p
            = YearReportPage(r, { u"<heute>"_s, u"1&2"_s, u"https://example.org/?a=1&b=\"2\""_s })
                  .join(u'\n');
        QCOMPARE(p.count(u"&lt;b&gt;Kanal&lt;/b&gt; &amp; &quot;Co&quot; &#39;Süd&#39;"_s), 2);
        QCOMPARE(p.count(u"Barsch&lt;script&gt;"_s), 2);
        QCOMPARE(p.count(u"<script"_s) + p.count(u"<b>"_s), 1); // the page's own script
        QVERIFY(p.contains(u"<a href=\"https://example.org/?a=1&amp;b=&quot;2&quot;\">"_s));
        QVERIFY(p.contains(u"Version 1&amp;2 am &lt;heute&gt;."_s));
        QCOMPARE(Utf8PageBytes({ u"Fänge €"_s, QString() }),
            QByteArray("F\xC3\xA4nge \xE2\x82\xAC\r\n\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestYearReport)
#include "tst_yearReport.moc"
