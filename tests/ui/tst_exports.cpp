// The main window's exports: the CSV files of both logs from the "Datei"
// menu, with the choice of the filtered lines, and the yearly report from
// the "Drucken" menu.
#include "store/Logbook.h"
#include "support/TestEnv.h"
#include "ui/App.h"
#include "ui/frmAddKosten.h"
#include "ui/frmFangÜbersicht.h"
#include "ui/frmHaupt.h"

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString kCatchFile = u"db\\fänge\\db"_s;
const QString kCostFile = u"db\\kosten\\db"_s;

QString storedCatch(const QString& date, const QString& species)
{
    return sampleCatch({ { 1, date }, { 6, species } }).join(u'\t');
}

QString storedCost(const QString& date, const QString& article)
{
    return sampleCost({ { 1, date }, { 4, article } }).join(u'\t');
}

// The data rows of a CSV file: its lines after the header row.
QStringList csvRows(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return { u"<missing>"_s };
    QStringList lines = QString::fromUtf8(f.readAll()).split(u"\r\n"_s);
    lines.removeLast(); // after the last CR LF
    lines.removeFirst();
    return lines;
}

} // namespace

class TestExports : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnv> t;
    std::unique_ptr<App> app;

    // The program started on the given log lines (each file's bytes).
    void start(const QByteArray& catches, const QByteArray& costs)
    {
        t->dialogs.answer(MsgResult::No); // the first-start question
        app = std::make_unique<App>(t->env, [] {});
        app->Main();
        t->write(kCatchFile, catches);
        t->write(kCostFile, costs);
        app->Änderung();
        QVERIFY(t->dialogs.verifyDone());
        t->dialogs.clear();
    }
    QString out(const QString& name) const { return t->dir() + u"/"_s + name; }
    QStringList messages() const { return t->dialogs.messageTexts(); }

private slots:
    void init() { t = std::make_unique<TestEnv>(); }
    void cleanup()
    {
        if (t)
            t->dialogs.verifyDone();
        app.reset();
        t.reset();
    }

    // Filter mode asks whether only the filtered lines go into the file.
    void catches_data()
    {
        QTest::addColumn<bool>("filterMode");
        QTest::addColumn<int>("answer"); // -1: no question
        QTest::addColumn<QStringList>("species"); // of the rows written; empty: no file
        QTest::newRow("all") << false << -1
                             << QStringList { u"Zander"_s, u"Karpfen"_s, u"Hecht"_s };
        QTest::newRow("filtered only")
            << true << int(MsgResult::Yes) << QStringList { u"Karpfen"_s };
        QTest::newRow("filter mode, all")
            << true << int(MsgResult::No) << QStringList { u"Zander"_s, u"Karpfen"_s, u"Hecht"_s };
        QTest::newRow("filter mode, cancelled") << true << int(MsgResult::Cancel) << QStringList();
    }
    void catches()
    {
        QFETCH(bool, filterMode);
        QFETCH(int, answer);
        QFETCH(QStringList, species);
        start(recordFileBytes({ storedCatch(u"2004/05/01"_s, u"Hecht"_s),
                  storedCatch(u"2004/05/03"_s, u"Zander"_s),
                  storedCatch(u"2004/05/02"_s, u"Karpfen*"_s) }),
            {});
        if (filterMode) {
            app->uebersicht->txtFilter->setText(u"karpfen"_s);
            app->uebersicht->OpenInFilterMode();
        }
        if (answer >= 0)
            t->dialogs.answer(MsgResult(answer));
        const QString path = out(u"fänge.csv"_s);
        if (!species.isEmpty()) {
            t->dialogs.answerSaveFile(path);
            t->dialogs.expectMessage();
        }
        app->haupt->mnuExportFänge->trigger();

        if (species.isEmpty()) {
            QVERIFY(!QFile::exists(path));
            QCOMPARE(t->dialogs.shown().size(), 1);
            return;
        }
        QStringList written;
        for (const QString& row : csvRows(path))
            written.append(row.section(u';', 5, 5));
        QCOMPARE(written, species);
        const auto& save = t->dialogs.shown()[answer >= 0 ? 1 : 0];
        QCOMPARE(save.kind, FakeDialogs::Kind::SaveFile);
        QCOMPARE(save.title, u"Fänge als CSV exportieren"_s);
        QVERIFY2(
            save.startFolder.endsWith(u"/Faenge_2004-05-17.csv"_s), qPrintable(save.startFolder));
        QCOMPARE(save.filter, u"CSV-Dateien (Semikolon getrennt)|*.csv"_s);
        const QString done = species.size() == 1
            ? u"1 Fang wurde exportiert:"_s
            : u"%1 Fänge wurden exportiert:"_s.arg(species.size());
        QCOMPARE(messages().last(), done + u"\r\n"_s + path);
    }

    void costs_data()
    {
        QTest::addColumn<bool>("filterMode");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QStringList>("articles");
        QTest::newRow("all") << false << -1 << QStringList { u"Rute"_s, u"Haken Gr. 6"_s };
        QTest::newRow("filtered only")
            << true << int(MsgResult::Yes) << QStringList { u"Haken Gr. 6"_s };
        QTest::newRow("filter mode, all")
            << true << int(MsgResult::No) << QStringList { u"Rute"_s, u"Haken Gr. 6"_s };
    }
    void costs()
    {
        QFETCH(bool, filterMode);
        QFETCH(int, answer);
        QFETCH(QStringList, articles);
        start({},
            recordFileBytes({ storedCost(u"2006/03/05"_s, u"Haken Gr. 6"_s),
                storedCost(u"2006/04/01"_s, u"Rute"_s) }));
        if (filterMode) {
            app->kosten->txtFilter->setText(u"haken"_s);
            app->kosten->OpenFilterMode();
        }
        if (answer >= 0)
            t->dialogs.answer(MsgResult(answer));
        const QString path = out(u"kosten.csv"_s);
        t->dialogs.answerSaveFile(path);
        t->dialogs.expectMessage();
        app->haupt->mnuExportKosten->trigger();

        QStringList written;
        for (const QString& row : csvRows(path))
            written.append(row.section(u';', 3, 3));
        QCOMPARE(written, articles);
        const auto& save = t->dialogs.shown()[answer >= 0 ? 1 : 0];
        QCOMPARE(save.title, u"Kosten als CSV exportieren"_s);
        QVERIFY(save.startFolder.endsWith(u"/Kosten_2004-05-17.csv"_s));
        const QString done = articles.size() == 1
            ? u"1 Posten wurde exportiert:"_s
            : u"%1 Posten wurden exportiert:"_s.arg(articles.size());
        QCOMPARE(messages().last(), done + u"\r\n"_s + path);
    }

    // Lines of a log that cannot be read are named in the closing message.
    void unreadableLines_data()
    {
        QTest::addColumn<bool>("costs");
        QTest::addColumn<QByteArray>("damaged"); // lines added to the log
        QTest::addColumn<QString>("note");
        const QByteArray cut = "\"2004/05/09\tMax\t06:30\"\r\n";
        QTest::newRow("none") << false << QByteArray() << QString();
        QTest::newRow("one catch line")
            << false << cut
            << u"\r\n\r\n1 Zeile der Fangdatei konnte nicht gelesen werden und fehlt in der Datei."_s;
        QTest::newRow("two catch lines")
            << false << cut + "Kaffee\r\n"
            << u"\r\n\r\n2 Zeilen der Fangdatei konnten nicht gelesen werden und fehlen in der "
               "Datei."_s;
        QTest::newRow("cost line cut short")
            << true << QByteArray("\"2006/03/05\tLaden\t1\"\r\n")
            << u"\r\n\r\n1 Zeile der Kostendatei konnte nicht gelesen werden und fehlt in der "
               "Datei."_s;
    }
    void unreadableLines()
    {
        QFETCH(bool, costs);
        QFETCH(QByteArray, damaged);
        QFETCH(QString, note);
        const QByteArray catches = recordFileBytes({ storedCatch(u"2004/05/01"_s, u"Hecht"_s) });
        const QByteArray purchases = recordFileBytes({ storedCost(u"2006/03/05"_s, u"Rute"_s) });
        start(costs ? catches : catches + damaged, costs ? purchases + damaged : purchases);
        const QString path = out(u"export.csv"_s);
        t->dialogs.answerSaveFile(path);
        t->dialogs.expectMessage();
        (costs ? app->haupt->mnuExportKosten : app->haupt->mnuExportFänge)->trigger();
        QCOMPARE(csvRows(path).size(), 1);
        QCOMPARE(messages().last(),
            (costs ? u"1 Posten wurde exportiert:\r\n"_s : u"1 Fang wurde exportiert:\r\n"_s) + path
                + note);
    }

    void nothingToExport_data()
    {
        QTest::addColumn<QByteArray>("catches");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty log")
            << QByteArray() << u"Es sind keine Fänge zum Exportieren vorhanden."_s;
        QTest::newRow("only a line that cannot be read")
            << QByteArray("\"2004/05/09\tMax\"\r\n")
            << u"Es sind keine Fänge zum Exportieren vorhanden.\r\n\r\n1 Zeile der Fangdatei "
               "konnte nicht gelesen werden."_s;
    }
    void nothingToExport()
    {
        QFETCH(QByteArray, catches);
        start(catches, {});
        t->dialogs.expectMessage();
        app->haupt->mnuExportFänge->trigger();
        QFETCH(QString, message);
        QCOMPARE(messages(), QStringList { message });
        QCOMPARE(t->dialogs.shown().size(), 1); // no save dialog
    }

    void fileNames_data()
    {
        QTest::addColumn<QString>("answered");
        QTest::addColumn<QString>("written");
        QTest::newRow("no suffix") << u"liste"_s << u"liste.csv"_s;
        QTest::newRow("own suffix kept") << u"liste.txt"_s << u"liste.txt"_s;
        QTest::newRow("umlaut and blank") << u"Fänge 2004.csv"_s << u"Fänge 2004.csv"_s;
    }
    void fileNames()
    {
        QFETCH(QString, answered);
        QFETCH(QString, written);
        start(recordFileBytes({ storedCatch(u"2004/05/01"_s, u"Hecht"_s) }), {});
        t->dialogs.answerSaveFile(out(answered));
        t->dialogs.expectMessage();
        app->haupt->mnuExportFänge->trigger();
        QCOMPARE(csvRows(out(written)).size(), 1);
        QVERIFY(messages().last().endsWith(out(written)));
    }

    void cancelledSaveWritesNothing()
    {
        start(recordFileBytes({ storedCatch(u"2004/05/01"_s, u"Hecht"_s) }), {});
        t->dialogs.answerSaveFile(QString());
        app->haupt->mnuExportFänge->trigger();
        QCOMPARE(t->dialogs.shown().size(), 1);
        QCOMPARE(t->logEntries(), QStringList { u"PROGRAMM\tStart"_s });
    }

    // A file that cannot be written is reported, not announced as written.
    void writeFailureIsReported()
    {
        start({}, recordFileBytes({ storedCost(u"2006/03/05"_s, u"Rute"_s) }));
        const QString path = out(u"fehlt/kosten.csv"_s);
        t->dialogs.answerSaveFile(path);
        t->dialogs.expectMessage();
        app->haupt->mnuExportKosten->trigger();
        QCOMPARE(
            messages(), QStringList { u"Die Datei konnte nicht geschrieben werden:\r\n"_s + path });
        QCOMPARE(t->dialogs.shown().last().icon, MsgIcon::Warning);
        QCOMPARE(t->logEntries().last(), u"Sub frmHaupt.mnuExportKosten_Click\tError (76)"_s);
    }

    void yearReport_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("heading"); // of the page; empty: no page
        QTest::addColumn<QString>("warning");
        QTest::newRow("newest year") << u"2004"_s << u"<h1>Jahresbericht 2004</h1>"_s << QString();
        QTest::newRow("blanks around")
            << u" 2003 "_s << u"<h1>Jahresbericht 2003</h1>"_s << QString();
        QTest::newRow("year without catches")
            << u"1999"_s << u"<p>Im Jahr 1999 sind keine Fänge eingetragen.</p>"_s << QString();
        QTest::newRow("cancelled") << QString() << QString() << QString();
        QTest::newRow("two digits")
            << u"04"_s << QString()
            << u"Bitte geben Sie das Jahr mit vier Ziffern ein, zum Beispiel 2004."_s;
        QTest::newRow("not a year") << u"20o4"_s << QString()
                                    << u"Bitte geben Sie das Jahr mit vier Ziffern ein, zum "
                                       "Beispiel 2004."_s;
    }
    void yearReport()
    {
        QFETCH(QString, answer);
        QFETCH(QString, heading);
        QFETCH(QString, warning);
        start(recordFileBytes({ storedCatch(u"2003/08/01"_s, u"Hecht"_s),
                  storedCatch(u"2004/05/01"_s, u"Zander"_s) }),
            {});
        t->dialogs.answerInput(answer);
        if (!warning.isEmpty())
            t->dialogs.expectMessage();
        app->haupt->mnuPrintJahr->trigger();

        const auto& ask = t->dialogs.shown().first();
        QCOMPARE(ask.text,
            u"Für welches Jahr soll der Jahresbericht erstellt werden?\r\nJahre mit Fängen: 2004, "
            "2003"_s);
        QCOMPARE(ask.title, u"Jahresbericht"_s);
        QCOMPARE(ask.startFolder, u"2004"_s); // the preset answer
        const QString page = t->path(u"jahresbericht.html"_s);
        QCOMPARE(messages(), warning.isEmpty() ? QStringList() : QStringList { warning });
        if (heading.isEmpty()) {
            QVERIFY(!QFile::exists(page));
            QVERIFY(t->shell.opened.isEmpty());
            return;
        }
        QCOMPARE(t->shell.opened, QStringList { page });
        QVERIFY(QString::fromUtf8(t->read(u"jahresbericht.html"_s)).contains(heading));
    }

    void yearReportOfAnEmptyLog()
    {
        start({}, {});
        t->dialogs.answerInput(u"2004"_s);
        app->haupt->mnuPrintJahr->trigger();
        const auto& ask = t->dialogs.shown().first();
        QCOMPARE(ask.text,
            u"Für welches Jahr soll der Jahresbericht erstellt werden?\r\nEs sind noch keine Fänge "
            "eingetragen."_s);
        QCOMPARE(ask.startFolder, u"2004"_s); // this year, from the clock
        QVERIFY(QString::fromUtf8(t->read(u"jahresbericht.html"_s))
                    .contains(u"<p>Im Jahr 2004 sind keine Fänge eingetragen.</p>"_s));
    }
};

QTEST_MAIN(TestExports)
#include "tst_exports.moc"
