// The four pages in a real browser: headless Chromium prints each one to
// PDF, and the PDF's text must show the umlauts, "°" and "€" as written and
// the expected number of rows. Skipped only where Chromium is not installed.
#include "platform/Cp1252.h"
#include "reports/HtmlPages.h"
#include "reports/ReportFile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
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

} // namespace

class TestBrowser : public QObject {
    Q_OBJECT

    QString m_chromium;
    QString m_pdftotext;
    QTemporaryDir m_dir;

    // The text of the page as the browser prints it, blanks of every kind
    // as plain blanks.
    QString printed(const QString& name, const QStringList& lines)
    {
        const QString page = m_dir.filePath(name);
        if (WriteReportFile(page, lines) != 0)
            return u"page not written"_s;
        // A print style for the test only: the wide catch table fits a
        // large landscape sheet, as the user would choose in the print
        // dialog, and no cell wraps, so that each row is one line of text.
        QFile f(page);
        if (!f.open(QIODevice::ReadOnly))
            return u"page not readable"_s;
        QByteArray bytes = f.readAll();
        f.close();
        const qsizetype head = bytes.indexOf("</head>");
        if (head < 0)
            return u"page without head"_s;
        bytes.insert(head,
            "<style type=\"text/css\">@page { size: A3 landscape; } th, td { white-space: nowrap; }"
            "</style>");
        const QString forPrint = m_dir.filePath(u"print-"_s + name);
        QFile out(forPrint);
        if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size())
            return u"print copy not written"_s;
        out.close();

        const QString pdf = forPrint + u".pdf"_s;
        QTemporaryDir profile;
        QProcess browser;
        browser.setProcessChannelMode(QProcess::MergedChannels);
        browser.start(m_chromium,
            { u"--headless"_s, u"--no-sandbox"_s, u"--disable-gpu"_s,
                u"--disable-background-networking"_s, u"--disable-component-update"_s,
                u"--disable-sync"_s, u"--no-first-run"_s, u"--disable-print-preview"_s,
                u"--no-pdf-header-footer"_s, u"--user-data-dir="_s + profile.path(),
                u"--print-to-pdf="_s + pdf, QUrl::fromLocalFile(forPrint).toString() });
        if (!browser.waitForFinished(120000)) {
            browser.kill();
            browser.waitForFinished();
            return u"browser did not finish"_s;
        }
        if (!QFile::exists(pdf))
            return u"no PDF: "_s + QString::fromLocal8Bit(browser.readAll().right(2000));

        QProcess text;
        text.start(m_pdftotext, { u"-layout"_s, u"-enc"_s, u"UTF-8"_s, pdf, u"-"_s });
        if (!text.waitForFinished(60000) || text.exitCode() != 0)
            return u"pdftotext failed"_s;
        QString s = QString::fromUtf8(text.readAllStandardOutput());
        s.replace(QChar(0x00A0), u' ');
        // Columns stand apart by runs of blanks; one blank is enough here.
        s.replace(QRegularExpression(u" +"_s), u" "_s);
        return s;
    }

private slots:
    void initTestCase()
    {
        m_chromium = QStandardPaths::findExecutable(u"chromium"_s);
        if (m_chromium.isEmpty())
            QSKIP("chromium is not installed (scripts/install-deps installs it)");
        m_pdftotext = QStandardPaths::findExecutable(u"pdftotext"_s);
        QVERIFY2(!m_pdftotext.isEmpty(), "pdftotext is missing (poppler-utils)");
        QVERIFY(m_dir.isValid());
    }

    void frontPage()
    {
        FrontValues v;
        v.fishingTime = u"1 T  2 Std  3 Min"_s;
        v.catches = u"25"_s;
        v.costs = u"1234,56 €"_s;
        v.minWaterTemp = u"-1 °C"_s;
        v.maxAirTemp = u"+ 18 °C"_s;
        v.averageDepth = u"2,50 m"_s;
        const QString text = printed(u"front.html"_s, FrontPageLines(v, kToday));
        QVERIFY2(text.contains(u"17.05.2004"_s), qPrintable(text));
        QVERIFY(text.contains(u"25 Stück"_s));
        QVERIFY(text.contains(u"1234,56 €"_s));
        QVERIFY(text.contains(u"-1 °C"_s));
        QVERIFY(text.contains(u"+ 18 °C"_s));
        // All fifteen rows, each label once.
        for (const QString& label : { u"Angelzeit:"_s, u"Gefangene Fische:"_s, u"Angelkosten:"_s,
                 u"Durchschnittliche Angelzeit pro Fisch:"_s, u"Durchschnittsgewicht:"_s,
                 u"Gesamtgewicht:"_s, u"Leichtester Fisch:"_s, u"Schwerster Fisch:"_s,
                 u"Kleinster Fisch:"_s, u"Größter Fisch:"_s, u"Minimale Wassertemperatur:"_s,
                 u"Maximale Wassertemperatur:"_s, u"Minimale Lufttemperatur:"_s,
                 u"Maximale Lufttemperatur:"_s, u"Durchschnittliche Angeltiefe:"_s })
            QVERIFY2(text.count(label) == 1, qPrintable(label));
    }

    void catchList()
    {
        const QString text = printed(u"faenge.html"_s, CatchListPageLines(catches(12), 12, kToday));
        QVERIFY2(text.contains(u"Liste aller eingetragenen Fänge (erstellt am 17.05.2004)"_s),
            qPrintable(text));
        for (const QString& caption : { u"Fänger"_s, u"Größe"_s, u"Gewässer"_s, u"Köder"_s,
                 u"Luftt. °C"_s, u"Wassert. °C"_s, u"Mondphase"_s })
            QVERIFY2(text.contains(caption), qPrintable(caption));
        // Every row whole: its angler, its water and its moon phase.
        QCOMPARE(text.count(QRegularExpression(u"Jürgen\\d+"_s)), 12);
        QCOMPARE(text.count(u"Mühlenteich"_s), 12);
        QCOMPARE(text.count(u"Vollmond"_s), 12);
        QVERIFY(text.contains(u"Barsch <Fluss> & Co"_s));
        QVERIFY(text.contains(u"Version 1.0.0.2"_s));
    }

    void emptyTable()
    {
        const QString text = printed(u"empty.html"_s, EmptyTablePageLines(5, kToday));
        QVERIFY2(text.contains(u"Fangliste:"_s), qPrintable(text));
        QVERIFY(text.contains(u"Fänger"_s));
        QVERIFY(text.contains(u"LT. °C"_s));
        QVERIFY(text.contains(u"WT. °C"_s));
        // Only the running numbers stand in the rows.
        QList<int> numbers;
        const QRegularExpression alone(u"^ ?(\\d+) ?$"_s);
        for (const QString& line : text.split(u'\n')) {
            const QRegularExpressionMatch m = alone.match(line);
            if (m.hasMatch())
                numbers.append(m.captured(1).toInt());
        }
        QCOMPARE(numbers, QList<int>({ 1, 2, 3, 4, 5 }));
    }

    void costList()
    {
        const RecordTable rows = costs(3);
        const CostSums sums { 1650, 0, 1650 };
        const QString text = printed(u"kosten.html"_s, CostListPageLines(rows, 3, sums, kToday));
        QVERIFY2(text.contains(u"Liste aller eingetragenen Kosten (erstellt am 17.05.2004)"_s),
            qPrintable(text));
        QVERIFY(text.contains(u"Geschäft"_s));
        QCOMPARE(text.count(QRegularExpression(u"Laden Österreich \\d"_s)), 3);
        QCOMPARE(text.count(u"5,50 €"_s), 9);
        QVERIFY(text.contains(u"Summen:"_s));
        QCOMPARE(text.count(u"16,50 €"_s), 2);
        QVERIFY(text.contains(u"0,00 €"_s));
    }
};

QTEST_GUILESS_MAIN(TestBrowser)
#include "tst_browser.moc"
