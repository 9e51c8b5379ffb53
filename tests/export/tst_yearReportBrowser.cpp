// The yearly report printed by a real browser: headless Chromium prints the
// page to PDF, pdftotext reads it back. The page must come out on A4, with
// its umlauts and euro signs, escaped texts shown as typed, and the column
// headers of a table repeated on every page the table runs over.
#include "export/Utf8Page.h"
#include "export/YearReport.h"
#include "platform/ErrorLog.h"
#include "support/TestEnv.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <optional>

using namespace Qt::StringLiterals;

namespace {

QString tool(const QStringList& names)
{
    for (const QString& n : names) {
        const QString path = QStandardPaths::findExecutable(n);
        if (!path.isEmpty())
            return path;
    }
    return {};
}

// Runs a program to its end; its standard output, or nothing when it failed.
std::optional<QString> run(
    const QString& program, const QStringList& args, const QString& home = {})
{
    QProcess p;
    if (!home.isEmpty()) {
        // The browser keeps its caches and settings in the test's folder.
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"HOME"_s, home);
        env.insert(u"XDG_CONFIG_HOME"_s, home + u"/config"_s);
        env.insert(u"XDG_CACHE_HOME"_s, home + u"/cache"_s);
        p.setProcessEnvironment(env);
    }
    p.start(program, args);
    if (!p.waitForFinished(180000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        qWarning("%s failed: %s", qPrintable(program), p.readAllStandardError().constData());
        p.kill();
        return std::nullopt;
    }
    return QString::fromUtf8(p.readAllStandardOutput());
}

// A year at 70 waters: the table of waters and species runs over pages.
// The year's best fish is from none of the numbered waters.
QStringList manyWaters()
{
    QStringList rows;
    for (int i = 1; i <= 70; ++i)
        rows.append(
            overviewRow(sampleCatch({ { 1, u"%1.05.2024"_s.arg(1 + i % 28, 2, 10, QChar(u'0')) },
                { 9, u"See %1"_s.arg(i, 2, 10, QChar(u'0')) }, { 6, u"Karpfen*"_s } })));
    rows.append(overviewRow(sampleCatch({ { 1, u"02.06.2024"_s }, { 9, u"Großer Müggelsee"_s },
        { 6, u"Äsche"_s }, { 7, u"15,85"_s } })));
    rows.append(overviewRow(sampleCatch({ { 1, u"03.06.2024"_s }, { 9, u"<b>Kanal</b> & \"Co\""_s },
        { 6, u"Barsch"_s }, { 7, u"0,40"_s } })));
    return overviewList(rows);
}

} // namespace

class TestYearReportBrowser : public QObject {
    Q_OBJECT

private slots:
    void printsOnA4WithRepeatedHeaders()
    {
        const QString chromium = tool({ u"chromium"_s, u"chromium-browser"_s });
        const QString pdftotext = tool({ u"pdftotext"_s });
        const QString pdfinfo = tool({ u"pdfinfo"_s });
        if (chromium.isEmpty() || pdftotext.isEmpty() || pdfinfo.isEmpty())
            QFAIL("chromium and poppler-utils are needed: scripts/install-deps installs them");

        TestEnv t;
        ErrorTrap trap(t.env, u"Test"_s);
        const YearReport report = MakeYearReport(t.env, manyWaters(),
            { sampleCost({ { 1, u"05.03.2024"_s } }).join(u'\t') }, 2024, trap);
        const QString page = t.dir() + u"/jahresbericht.html"_s;
        QCOMPARE(WriteUtf8Page(page,
                     YearReportPage(
                         report, { u"17.05.2025"_s, u"1.0.0.2"_s, u"https://example.org/"_s })),
            0);

        QTemporaryDir browserHome;
        const QString pdf = t.dir() + u"/jahresbericht.pdf"_s;
        // Without print preview the page's own print call on loading does
        // not end the headless run before the PDF is written.
        QVERIFY(run(chromium,
            { u"--headless"_s, u"--no-sandbox"_s, u"--disable-gpu"_s,
                u"--disable-background-networking"_s, u"--disable-component-update"_s,
                u"--disable-sync"_s, u"--no-first-run"_s, u"--disable-print-preview"_s,
                u"--no-pdf-header-footer"_s,
                u"--user-data-dir="_s + browserHome.filePath(u"profile"_s),
                u"--print-to-pdf="_s + pdf, QUrl::fromLocalFile(page).toString() },
            browserHome.path()));

        const QString info = run(pdfinfo, { pdf }).value_or(QString());
        QVERIFY2(info.contains(QRegularExpression(u"Page size:\\s+\\S+ x \\S+ pts \\(A4\\)"_s)),
            qPrintable(info));
        const int pages = QRegularExpression(u"Pages:\\s+(\\d+)"_s).match(info).captured(1).toInt();
        QVERIFY2(pages >= 2, qPrintable(info));

        const QString text = run(pdftotext, { u"-enc"_s, u"UTF-8"_s, pdf, u"-"_s })
                                 .value_or(QString())
                                 .simplified();
        // Cells wrap where the browser finds room; the words stay in order.
        for (const QString& shown :
            { u"Jahresbericht 2024"_s, u"Fänge nach Gewässer und Fischart"_s, u"Großer Müggelsee"_s,
                u"Äsche"_s, u"<b>Kanal</b> & \"Co\""_s, u"9,40 €"_s, u"Fänge nach Monat"_s,
                u"Bester Fisch des Jahres"_s, u"See 70"_s })
            QVERIFY2(text.contains(shown), qPrintable(shown));

        // Every page that holds rows of the table of waters shows its header.
        int pagesWithRows = 0;
        for (int i = 1; i <= pages; ++i) {
            const QString n = QString::number(i);
            const QString pageText
                = run(pdftotext, { u"-enc"_s, u"UTF-8"_s, u"-f"_s, n, u"-l"_s, n, pdf, u"-"_s })
                      .value_or(QString());
            if (!pageText.contains(QRegularExpression(u"See \\d\\d"_s)))
                continue;
            ++pagesWithRows;
            QVERIFY2(pageText.contains(u"Schwerster Fisch"_s), qPrintable(u"page "_s + n));
        }
        QVERIFY(pagesWithRows >= 2);
    }
};

QTEST_GUILESS_MAIN(TestYearReportBrowser)
#include "tst_yearReportBrowser.moc"
