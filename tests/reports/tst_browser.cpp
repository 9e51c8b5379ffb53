// Every printout in a real browser: headless Chromium prints it to PDF, and
// the PDF's text must show the umlauts, "°" and "€" as written, the
// markup characters of the values as text, and every row.
#include "export/Utf8Page.h"
#include "export/YearReport.h"
#include "platform/ErrorLog.h"
#include "reports/BarChartSvg.h"
#include "reports/EvaluationPage.h"
#include "reports/HtmlPages.h"
#include "reports/ReportFile.h"
#include "store/CatchList.h"
#include "support/BrowserPrint.h"
#include "support/TestEnv.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QDate kToday(2004, 5, 17);

// The overview's lines of n catches: photo mark, TAB, the record.
QStringList catches(int n)
{
    QStringList lines;
    for (int k = 1; k <= n; ++k) {
        lines.append(QStringList { u"X"_s, u"%1.05.2004"_s.arg(k, 2, 10, QChar(u'0')),
            u"Jürgen%1"_s.arg(k), u"06:30"_s, u"06:45"_s, u"10:00"_s,
            k == 2 ? u"Barsch <Fluss> & Co"_s : u"Karpfen*"_s, u"12,40"_s, u"84"_s,
            u"Mühlenteich"_s, u"Steg 3"_s, u"Festblei"_s, u"Köder"_s, u"sonnig"_s, u"+ 18"_s,
            u"+ 14"_s, u"2,5"_s, u"Vollmond"_s }
                         .join(u'\t'));
    }
    return lines;
}

RecordTable costs(int n)
{
    RecordTable rows;
    for (int k = 1; k <= n; ++k) {
        rows.append({ u"0%1.03.2006"_s.arg(k), u"Laden Österreich %1"_s.arg(k), u"1"_s,
            u"Haken Gr. 8"_s, u"5,50 €"_s, u"5,50 €"_s, u"0,00 €"_s, u"5,50 €"_s });
    }
    return rows;
}

QStringList yearReport()
{
    TestEnv t;
    ErrorTrap trap(t.env, u"Test"_s);
    const QStringList lines = QStringList { CatchHeaderLine(), CatchRuleLine() } + catches(12);
    return YearReportPage(MakeYearReport(t.env, lines, {}, 2004, trap),
        { u"17.05.2005"_s, u"1.0.0.2"_s, u"https://example.org/"_s });
}

QStringList evaluationPage()
{
    EvaluationPrint e;
    e.view = u"Fänge nach Gewässer"_s;
    e.choices = { u"Jahr: 2004"_s, u"Fänger: Jürgen"_s, u"Filter: <Fluss> & Co"_s };
    e.svg = BarChartSvg(MakeBarChart(e.view, { u"Mühlenteich"_s, u"Öhrsee"_s }, { 12, 3 }));
    e.tables = { { {}, { u"Gewässer"_s, u"Anzahl"_s, u"Gewicht (kg)"_s, u"Anteil"_s },
        { { u"Mühlenteich"_s, u"12"_s, u"148,80"_s, u"80,0 %"_s },
            { u"Öhrsee"_s, u"3"_s, u"0,35"_s, u"20,0 %"_s } },
        { false, true, true, true } } };
    return EvaluationPageLines(e);
}

} // namespace

class TestBrowser : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        const QString missing = MissingBrowserTools();
        QVERIFY2(missing.isEmpty(), qPrintable(missing + u" missing: scripts/install-deps"_s));
    }

    // The texts each page must show, "#n" after a text for the number of
    // times it must show; the wide lists are printed as the user would
    // choose, on a large landscape sheet without wrapped cells.
    void page_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<bool>("wide");
        QTest::addColumn<QStringList>("shown");
        FrontValues v;
        v.catches = u"25"_s;
        v.costs = u"1234,56 €"_s;
        v.minWaterTemp = u"-1 °C"_s;
        v.maxAirTemp = u"+ 18 °C"_s;
        QTest::newRow("front") << u"front.html"_s << FrontPageLines(v, kToday) << false
                               << QStringList { u"17.05.2004"_s, u"25 Stück"_s, u"1234,56 €"_s,
                                      u"-1 °C"_s, u"+ 18 °C"_s, u"Größter Fisch:#1"_s,
                                      u"Durchschnittliche Angeltiefe:#1"_s };
        QTest::newRow("catches")
            << u"faenge.html"_s << CatchListPageLines(catches(12), 12, kToday) << true
            << QStringList { u"Liste aller eingetragenen Fänge (erstellt am 17.05.2004)"_s,
                   u"Fänger"_s, u"Größe"_s, u"Gewässer"_s, u"Köder"_s, u"Luftt. °C"_s,
                   u"Wassert. °C"_s, u"Jürgen#12"_s, u"Mühlenteich#12"_s, u"Vollmond#12"_s,
                   u"Barsch <Fluss> & Co"_s, u"Version 1.0.0.2"_s };
        QTest::newRow("empty table")
            << u"leer.html"_s << EmptyTablePageLines(5, kToday) << true
            << QStringList { u"Fangliste:"_s, u"Fänger"_s, u"LT. °C"_s, u"WT. °C"_s };
        QTest::newRow("costs")
            << u"kosten.html"_s << CostListPageLines(costs(3), 3, { 1650, 0, 1650 }, kToday) << true
            << QStringList { u"Liste aller eingetragenen Kosten (erstellt am 17.05.2004)"_s,
                   u"Geschäft"_s, u"Laden Österreich#3"_s, u"5,50 €#9"_s, u"Summen:"_s,
                   u"16,50 €#2"_s, u"0,00 €"_s };
        QTest::newRow("yearly report")
            << u"jahresbericht.html"_s << yearReport()
            << false
            // Its cells wrap where the browser finds room.
            << QStringList { u"Fänge nach Gewässer und Fischart"_s, u"Mühlenteich"_s,
                   u"Barsch <Fluss> &"_s, u"Bester Fisch des Jahres"_s, u"(A4)"_s };
        // The chart's labels and counts print as well as the table's.
        QTest::newRow("evaluation")
            << u"auswertung.html"_s << evaluationPage() << false
            << QStringList { u"Fänge nach Gewässer"_s, u"Fänger: Jürgen"_s,
                   u"Filter: <Fluss> & Co"_s, u"Mühlenteich#2"_s, u"Öhrsee#2"_s, u"148,80"_s,
                   u"80,0 %"_s, u"Gewicht (kg)"_s, u"(A4)"_s };
    }

    void page()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, lines);
        QFETCH(bool, wide);
        QFETCH(QStringList, shown);
        const QString path = m_dir.filePath(name);
        // The yearly report and the evaluation are UTF-8, the other pages
        // are in the code page.
        QCOMPARE(name.startsWith(u"jahres"_s) || name.startsWith(u"auswertung"_s)
                ? WriteUtf8Page(path, lines)
                : WriteReportFile(path, lines),
            0);
        const PrintedPage p = PrintInBrowser(
            path, wide ? "@page { size: A3 landscape; } th, td { white-space: nowrap; }" : "");
        QVERIFY2(p.error.isEmpty(), qPrintable(p.error));
        const QString text = p.text + p.info;
        for (const QString& s : shown) {
            const qsizetype mark = s.lastIndexOf(u'#');
            if (mark < 0)
                QVERIFY2(text.contains(s), qPrintable(s + u"\n"_s + text));
            else
                QVERIFY2(text.count(s.left(mark)) == s.mid(mark + 1).toInt(), qPrintable(s));
        }
    }
};

QTEST_GUILESS_MAIN(TestBrowser)
#include "tst_browser.moc"
