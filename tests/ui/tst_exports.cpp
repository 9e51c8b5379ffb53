// The main window's exports: both logs as CSV, filtered or not, and the
// yearly report.
#include "ui/AppFixture.h"
#include "ui/frmAddKosten.h"
#include "ui/frmFangUebersicht.h"
#include "ui/frmHaupt.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QByteArray catches(const QByteArray& more = {})
{
    return recordFileBytes({ catchOn(u"2004/05/01"_s, u"Max"_s, u"Hecht"_s),
               catchOn(u"2004/05/03"_s, u"Max"_s, u"Zander"_s), catchOn(u"2003/05/02"_s) })
        + more;
}

QByteArray costs(const QByteArray& more = {})
{
    return recordFileBytes({ sampleCostLine({ { 1, u"2006/03/05"_s }, { 4, u"Haken Gr. 6"_s } }),
               sampleCostLine({ { 1, u"2006/04/01"_s }, { 4, u"Rute"_s } }) })
        + more;
}

} // namespace

class TestExports : public QObject, AppFixture {
    Q_OBJECT

    void start(const QByteArray& catchBytes, const QByteArray& costBytes)
    {
        startApp();
        t->write(u"db\\fänge\\db"_s, catchBytes);
        t->write(u"db\\kosten\\db"_s, costBytes);
        app->Änderung();
        t->dialogs.verifyDone();
    }
    QString messages() const { return t->dialogs.messageTexts().join(u"\n--\n"_s); }

private slots:
    void cleanup() { closeApp(); }

    void exports_data()
    {
        QTest::addColumn<bool>("ofCosts");
        QTest::addColumn<bool>("filterMode");
        QTest::addColumn<int>("answer"); // to the filter question; -1: not asked
        QTest::addColumn<QString>("saveAs"); // answered file name; null: no save dialog
        QTest::addColumn<QString>("file"); // written; empty: none
        QTest::addColumn<QString>("message"); // %1: the file; its count: the rows written
        const int yes = int(MsgResult::Yes), no = int(MsgResult::No), none = -1;
        const QString three = u"3 Fänge wurden exportiert:\r\n%1"_s;
        QTest::newRow("catches") << false << false << none << u"a.csv"_s << u"a.csv"_s << three;
        QTest::newRow("filtered catches") << false << true << yes << u"a.csv"_s << u"a.csv"_s
                                          << u"1 Fang wurde exportiert:\r\n%1"_s;
        QTest::newRow("all in filter mode") << false << true << no << u"a"_s << u"a.csv"_s << three;
        QTest::newRow("question cancelled")
            << false << true << int(MsgResult::Cancel) << QString() << QString() << QString();
        QTest::newRow("save cancelled")
            << false << false << none << u""_s << QString() << QString();
        QTest::newRow("costs") << true << false << none << u"k.txt"_s << u"k.txt"_s
                               << u"2 Posten wurden exportiert:\r\n%1"_s;
        QTest::newRow("filtered costs") << true << true << yes << u"k.csv"_s << u"k.csv"_s
                                        << u"1 Posten wurde exportiert:\r\n%1"_s;
    }
    void exports()
    {
        QFETCH(bool, ofCosts);
        QFETCH(bool, filterMode);
        QFETCH(int, answer);
        QFETCH(QString, saveAs);
        QFETCH(QString, file);
        QFETCH(QString, message);
        start(catches(), costs());
        if (filterMode && ofCosts) {
            app->kosten->txtFilter->setText(u"haken"_s);
            app->kosten->OpenFilterMode();
        } else if (filterMode) {
            app->uebersicht->txtFilter->setText(u"karpfen"_s);
            app->uebersicht->OpenInFilterMode();
        }
        if (answer >= 0)
            t->dialogs.answer(MsgResult(answer));
        if (!saveAs.isNull())
            t->dialogs.answerSaveFile(saveAs.isEmpty() ? saveAs : t->dir() + u'/' + saveAs);
        if (!message.isEmpty())
            t->dialogs.expectMessage();
        (ofCosts ? app->haupt->mnuExportKosten : app->haupt->mnuExportFänge)->trigger();

        const QString path = t->dir() + u'/' + file;
        QStringList texts = t->dialogs.messageTexts();
        if (answer >= 0) {
            const auto& q = t->dialogs.shown().first();
            QVERIFY(q.buttons == MsgButtons::YesNoCancel && q.icon == MsgIcon::Question);
            QVERIFY(texts.takeFirst().endsWith(ofCosts ? u"werden alle Posten exportiert."_s
                                                       : u"werden alle Fänge exportiert."_s));
        }
        QCOMPARE(texts.join(u'\n'), message.isEmpty() ? QString() : message.arg(path));
        if (file.isEmpty()) {
            QVERIFY(QDir(t->dir()).entryList({ u"*.csv"_s }).isEmpty());
            return;
        }
        QCOMPARE(t->read(file).count("\r\n"), message.section(u' ', 0, 0).toInt() + 1);
    }

    void unreadableLines_data()
    {
        QTest::addColumn<QByteArray>("catchBytes");
        QTest::addColumn<QByteArray>("costBytes");
        QTest::addColumn<QString>("message");
        const QByteArray cut = "\"2004/05/09\tMax\t06:30\"\r\n";
        QTest::newRow("two catch lines")
            << catches(cut + "Kaffee\r\n") << costs()
            << u"3 Fänge wurden exportiert:\r\n%1\r\n\r\n2 Zeilen der Fangdatei konnten nicht "
               "gelesen werden und fehlen in der Datei."_s;
        QTest::newRow("a cost line")
            << QByteArray() << costs(cut)
            << u"2 Posten wurden exportiert:\r\n%1\r\n\r\n1 Zeile der Kostendatei konnte nicht "
               "gelesen werden und fehlt in der Datei."_s;
        QTest::newRow("nothing but an unreadable line")
            << cut << QByteArray()
            << u"Es sind keine Fänge zum Exportieren vorhanden.\r\n\r\n1 Zeile der Fangdatei "
               "konnte nicht gelesen werden."_s;
    }
    void unreadableLines()
    {
        QFETCH(QByteArray, catchBytes);
        QFETCH(QByteArray, costBytes);
        QFETCH(QString, message);
        start(catchBytes, costBytes);
        const bool nothing = message.startsWith(u"Es sind"_s);
        const QString path = t->dir() + u"/export.csv"_s;
        if (!nothing)
            t->dialogs.answerSaveFile(path);
        t->dialogs.expectMessage();
        (catchBytes.isEmpty() && !nothing ? app->haupt->mnuExportKosten
                                          : app->haupt->mnuExportFänge)
            ->trigger();
        QCOMPARE(messages(), message.contains(u"%1"_s) ? message.arg(path) : message);
    }

    void writeFailure()
    {
        start(QByteArray(), costs());
        const QString path = t->dir() + u"/fehlt/k.csv"_s;
        t->dialogs.answerSaveFile(path);
        t->dialogs.expectMessage();
        app->haupt->mnuExportKosten->trigger();
        QCOMPARE(messages(), u"Die Datei konnte nicht geschrieben werden:\r\n"_s + path);
        QVERIFY(t->dialogs.shown().last().icon == MsgIcon::Warning);
        QCOMPARE(t->logEntries().last(), u"Sub frmHaupt.mnuExportKosten_Click\tError (76)"_s);
    }

    void yearReport_data()
    {
        QTest::addColumn<QByteArray>("catchBytes");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("years"); // the prompt's second line
        QTest::addColumn<QString>("shown"); // in the page; empty: no page
        const QString years = u"Jahre mit Fängen: 2004, 2003"_s;
        QTest::newRow("newest year")
            << catches() << u"2004"_s << years << u"<h1>Jahresbericht 2004</h1>"_s;
        QTest::newRow("empty log")
            << QByteArray() << u"2004"_s << u"Es sind noch keine Fänge eingetragen."_s
            << u"<p>Im Jahr 2004 sind keine Fänge eingetragen.</p>"_s;
        QTest::newRow("cancelled") << catches() << QString() << years << QString();
        QTest::newRow("letter o") << catches() << u"20o4"_s << years << QString();
    }
    void yearReport()
    {
        QFETCH(QByteArray, catchBytes);
        QFETCH(QString, answer);
        QFETCH(QString, years);
        QFETCH(QString, shown);
        start(catchBytes, QByteArray());
        t->dialogs.answerInput(answer);
        const bool refused = shown.isEmpty() && !answer.isEmpty();
        if (refused)
            t->dialogs.expectMessage();
        app->haupt->mnuPrintJahr->trigger();

        // The preset: the newest year, or this year.
        const auto& ask = t->dialogs.shown().first();
        QCOMPARE(ask.text + u'|' + ask.title + u'|' + ask.startFolder,
            u"Für welches Jahr soll der Jahresbericht erstellt werden?\r\n"_s + years
                + u"|Jahresbericht|2004"_s);
        QCOMPARE(messages(),
            refused ? u"Bitte geben Sie das Jahr mit vier Ziffern ein, zum Beispiel 2004."_s
                    : QString());
        const QString page = t->path(u"jahresbericht.html"_s);
        QCOMPARE(t->shell.opened, shown.isEmpty() ? QStringList() : QStringList { page });
        QVERIFY(shown.isEmpty()
                ? !QFile::exists(page)
                : QString::fromUtf8(t->read(u"jahresbericht.html"_s)).contains(shown));
    }
};

QTEST_MAIN(TestExports)
#include "tst_exports.moc"
