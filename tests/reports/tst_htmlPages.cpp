// The printed pages byte for byte as the browser receives them: the page
// lines, written in the code page with CR LF, for small samples.
#include "app/Links.h"
#include "platform/Cp1252.h"
#include "reports/HtmlPages.h"
#include "reports/ReportFile.h"
#include "support/TestEnv.h"

#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QDate kToday(2004, 5, 17);

const QByteArray kDocType = "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Transitional//EN\" "
                            "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd\">";
const QByteArray kListHead
    = "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\" />"
      "<title>Digitales Kescherheft - Fangliste</title><style type=\"text/css\"><!--.style1 "
      "{font-size: x-small;font-weight: bold;}--></style><script type=\"text/javascript\" "
      "language=\"JavaScript\"><!--";
const QByteArray kPrint = "function printPage() {window.print();}";
const QByteArray kTable = "<table width=\"100%\" border=\"1\" cellpadding=\"0\" cellspacing=\"0\">";

QByteArray credit()
{
    return "Erstellt mit dem <a href=\"" + QByteArray(Links::BrandSite.data())
        + "\">Uferwacht</a> Digitalen Kescherheft Version 1.0.0.2 von <a href=\""
        + QByteArray(Links::MakerSite.data()) + "\">Kieselwerk</a>  am 17.05.2004.";
}

QByteArray listFooter()
{
    return "</table><br /><br /><span class=\"style1\">" + credit() + "</span></body></html>";
}

// The column headers of a table, "|" between the captions.
QByteArray headers(const QByteArray& captions)
{
    QByteArray row;
    for (const QByteArray& caption : captions.split('|'))
        row += "<th scope=\"col\">&nbsp;" + caption + "&nbsp;</th>";
    return row + "</tr>";
}

QByteArray cell(const char* align, const QByteArray& text)
{
    return "<td><div align=\"" + QByteArray(align) + "\">&nbsp;" + text + "&nbsp;</div></td>";
}

// Writes the lines as a page and compares the file with the expected lines,
// each ended by CR LF.
void comparePage(const QStringList& lines, const QList<QByteArray>& expected)
{
    TestEnv t;
    const QString path = t.dir() + u"/page.html"_s;
    QCOMPARE(WriteReportFile(path, lines), 0);
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    QVERIFY(bytes.endsWith("\r\n"));
    QList<QByteArray> got = bytes.split('\n');
    got.removeLast(); // the empty rest after the last line end
    for (QByteArray& line : got) {
        QVERIFY2(line.endsWith('\r'), line.constData());
        line.chop(1);
    }
    QCOMPARE(got.size(), expected.size());
    for (qsizetype i = 0; i < got.size(); ++i)
        QCOMPARE(got[i], expected[i]);
}

// A catch row of the page: its number and the fields, "|" between them;
// the date and the three times are centred.
QByteArray catchRow(int number, const QByteArray& fields)
{
    QByteArray row = cell("center", QByteArray::number(number));
    const QList<QByteArray> f = fields.split('|');
    for (qsizetype i = 0; i < f.size(); ++i)
        row += cell(i == 0 || (i >= 2 && i <= 4) ? "center" : "left", f[i]);
    return row + "</tr>";
}

// Two catches as the overview lists them, the second with characters that
// are markup in a page and with umlauts.
const QList<QStringList> kCatches {
    u"17.05.2004|Jürgen|06:30|06:45|10:00|Karpfen*|12,40|84|Baggersee|Steg 3|Festblei|Boilie|"
    "sonnig|+ 18|+ 14|2,5|Vollmond"_s.split(u'|'),
    u"16.05.2004|Max|05:00|05:10|09:00|Barsch <Fluss> & Co|0,80|30|Mühlenteich|Ufer|Pose|Wurm|"
    "bewölkt|-2|4|1,5|abnehmender Mond"_s.split(u'|'),
};

const QList<QByteArray> kCatchRows {
    catchRow(1,
        "17.05.2004|J\xFCrgen|06:30|06:45|10:00|Karpfen*|12,40|84|Baggersee|Steg 3|Festblei|"
        "Boilie|sonnig|+ 18|+ 14|2,5|Vollmond"),
    catchRow(2,
        "16.05.2004|Max|05:00|05:10|09:00|Barsch &lt;Fluss&gt; &amp; Co|0,80|30|M\xFChlenteich|"
        "Ufer|Pose|Wurm|bew\xF6lkt|-2|4|1,5|abnehmender Mond"),
};

const RecordTable kCosts {
    u"05.03.2006|Anglerladen|3|Haken Gr. 8|1,50 €|4,50 €|4,90 €|9,40 €"_s.split(u'|'),
    u"01.03.2006|Müller <&> Söhne|1|Rute|59,99 €|59,99 €|0,00 €|59,99 €"_s.split(u'|'),
};

// A purchase on the page, one line a cell, "|" between the fields.
QList<QByteArray> costRow(const QByteArray& number, const QByteArray& fields)
{
    static const char* const align[]
        = { "center", "left", "center", "left", "right", "right", "right", "right" };
    QList<QByteArray> lines { "<td><div align=\"center\">" + number + "</div></td>" };
    const QList<QByteArray> f = fields.split('|');
    for (int i = 0; i < 8; ++i)
        lines.append(cell(align[i], f[i]));
    lines.append("</tr>");
    return lines;
}

} // namespace

class TestHtmlPages : public QObject {
    Q_OBJECT

private slots:
    void frontPage()
    {
        const QStringList f
            = u"1 T  2 Std  3 Min|25|19,50 €|1 Std 5 Min|4,88 kg|9,75 kg|2,25 kg|"
              "7,50 kg|30 cm|84 cm|-1 °C|+ 14 °C|<0 & kalt>|+ 18 °C|2,50 m"_s.split(u'|');
        const FrontValues v { f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7], f[8], f[9], f[10],
            f[11], f[12], f[13], f[14] };
        QList<QByteArray> expected { kDocType
                + "<html xmlns=\"http://www.w3.org/1999/xhtml\"><head><meta "
                  "http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\" />"
                  "<title>Digitales Kescherheft</title><style type=\"text/css\"><!--.style1 "
                  "{font-size: xx-large;font-weight: bold;}body{text-align:center;}"
                  "table{margin:auto;}--></style>",
            "<script type=\"text/javascript\" language=\"JavaScript\">", kPrint,
            "--></script></head>",
            "<body OnLoad=\"printPage()\"><div align=\"center\" class=\"style1\">uferwacht "
            "Digitales Kescherheft</div><div align=\"center\">17.05.2004</div><br /><br />"
            "<table width= 400  border= 1 >",
            "<tr><th width=\"70%\" scope=\"row\"><div align=\"left\">Angelzeit: </div></th>"
            "<td width=\"30%\"><div align=\"right\">1 T  2 Std  3 Min</div></td></tr>" };
        // The other rows, the values in the code page (\260 is the degree sign).
        const QList<QByteArray> labels
            = QByteArray("Gefangene Fische|Angelkosten|Durchschnittliche Angelzeit pro Fisch|"
                         "Durchschnittsgewicht|Gesamtgewicht|Leichtester Fisch|Schwerster Fisch|"
                         "Kleinster Fisch|Gr&ouml;&szlig;ter Fisch|Minimale Wassertemperatur|"
                         "Maximale Wassertemperatur|Minimale Lufttemperatur|"
                         "Maximale Lufttemperatur|Durchschnittliche Angeltiefe")
                  .split('|');
        const QList<QByteArray> values
            = QByteArray("25 St&uuml;ck|19,50 \x80|1 Std 5 Min|4,88 kg|9,75 kg|2,25 kg|7,50 kg|"
                         "30 cm|84 cm|-1 \260C|+ 14 \260C|&lt;0 &amp; kalt&gt;|+ 18 \260C|2,50 m")
                  .split('|');
        for (qsizetype i = 0; i < labels.size(); ++i)
            expected.append("<tr><th scope=\"row\"><div align=\"left\">" + labels[i]
                + ": </div></th><td><div align=\"right\">" + values[i] + "</div></td></tr>");
        expected.append("</table><br /><br /><div align=\"center\"><a href=\""
            + QByteArray(Links::ReportBannerLink.data())
            + "\"><img src=\"./banner.gif\" alt=\"Uferwacht Banner\" width=\"400\" "
              "height=\"111\" border=\"0\" /></a></div></body></html>");
        comparePage(FrontPageLines(v, kToday), expected);
    }

    void catchListPage_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("rows");
        QTest::newRow("the first") << 1 << 1;
        QTest::newRow("more than there are") << 5 << 2;
        QTest::newRow("negative") << -1 << 0;
    }

    void catchListPage()
    {
        QFETCH(int, count);
        QFETCH(int, rows);
        const QStringList lines { overviewRow(kCatches[0], u'X'), overviewRow(kCatches[1]) };
        QCOMPARE(FirstUnreadableCatchLine(lines), -1);
        QList<QByteArray> expected { kDocType, kListHead, kPrint, "--></script></head>",
            "<body OnLoad=\"printPage()\"><h1>Liste aller eingetragenen F\xE4nge (erstellt am "
            "17.05.2004)</h1><br />"
                + kTable
                + headers("Nr.|Datum|F&auml;nger|Beginn|Fangzeit|Ende|Fischart|Gewicht|"
                          "Gr&ouml;&szlig;e|Gew&auml;sser|Angelplatz:|Methode / Rig.|K&ouml;der|"
                          "Wetter|Luftt. \260C|Wassert. \260C|Tiefe|Mondphase") };
        expected += kCatchRows.mid(0, rows);
        expected.append(listFooter());
        comparePage(CatchListPageLines(lines, count, kToday), expected);
    }

    // The page shows the sums it is given, in cents, as two-decimal numbers.
    void costListPage()
    {
        QList<QByteArray> expected { kDocType,
            "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
            "charset=iso-8859-1\" /><title>Digitales Kescherheft - Fangliste</title>"
            "<style type=\"text/css\">",
            "<!--", ".style1 {font-size: x-small;font-weight: bold;}", "--></style>",
            "<script type=\"text/javascript\" language=\"JavaScript\">", kPrint, "--></script>",
            "</head><body OnLoad=\"printPage()\"><h1>Liste aller eingetragenen Kosten (erstellt "
            "am 17.05.2004)</h1><br />",
            kTable,
            headers("Nr.|Datum|Gesch&auml;ft|Menge|Artikelbezeichnung|Einzelpreis|Preis|Versand|"
                    "Gesamt") };
        const QList<QList<QByteArray>> rows {
            costRow("1",
                "05.03.2006|Anglerladen|3|Haken Gr. 8|1,50 \x80|4,50 \x80|4,90 \x80|9,40 \x80"),
            costRow("2",
                "01.03.2006|M\xFCller &lt;&amp;&gt; S\xF6hne|1|Rute|59,99 \x80|59,99 \x80|"
                "0,00 \x80|59,99 \x80"),
        };
        expected += rows[0] + rows[1];
        expected.append("<tr><th colspan=\"6\"><div align=\"right\">&nbsp;Summen:&nbsp;</th>"
                        "<th><div align=\"right\">&nbsp;-1,25&nbsp;\x80&nbsp;</div></th>"
                        "<th><div align=\"right\">&nbsp;0,05&nbsp;\x80&nbsp;</div></th>"
                        "<th><div align=\"right\">&nbsp;1234567890,12&nbsp;\x80&nbsp;</div></th>"
                        "</tr></table><br /><br />");
        expected.append("<span class=\"style1\">" + credit() + "</span>");
        expected.append("</body></html>");
        comparePage(CostListPageLines(kCosts, 2, { -125, 5, 123456789012 }, kToday), expected);
    }
};

QTEST_GUILESS_MAIN(TestHtmlPages)
#include "tst_htmlPages.moc"
