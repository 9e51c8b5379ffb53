// Pages in a real browser: headless Chromium prints each one to PDF, and
// the PDF's text must show the umlauts, "°" and "€" as written and the
// expected number of rows. Skipped only where Chromium is not installed.
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

    // The catch list and the cost list printed, the pages with the most
    // characters of the code page: the texts each must show, "#n" after a
    // text for the number of times it must show.
    void page_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("shown");
        // Every row whole: its angler, its water and its moon phase.
        QTest::newRow("catches")
            << u"faenge.html"_s << CatchListPageLines(catches(12), 12, kToday)
            << QStringList { u"Liste aller eingetragenen Fänge (erstellt am 17.05.2004)"_s,
                   u"Fänger"_s, u"Größe"_s, u"Gewässer"_s, u"Köder"_s, u"Luftt. °C"_s,
                   u"Wassert. °C"_s, u"Jürgen#12"_s, u"Mühlenteich#12"_s, u"Vollmond#12"_s,
                   u"Barsch <Fluss> & Co"_s, u"Version 1.0.0.2"_s };
        QTest::newRow("costs")
            << u"kosten.html"_s << CostListPageLines(costs(3), 3, { 1650, 0, 1650 }, kToday)
            << QStringList { u"Liste aller eingetragenen Kosten (erstellt am 17.05.2004)"_s,
                   u"Geschäft"_s, u"Laden Österreich#3"_s, u"5,50 €#9"_s, u"Summen:"_s,
                   u"16,50 €#2"_s, u"0,00 €"_s };
    }

    void page()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, lines);
        QFETCH(QStringList, shown);
        const QString text = printed(name, lines);
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
