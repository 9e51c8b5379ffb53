// CSV files read into log lines: the program's own export byte for byte,
// foreign files, refused lines with their reason, duplicates, capacity.
#include "calc/MondPhase.h"
#include "export/CsvExport.h"
#include "export/CsvImport.h"
#include "platform/ErrorLog.h"
#include "platform/Paths.h"
#include "store/Logbook.h"
#include "store/Numbers.h"
#include "support/TestEnv.h"

#include <QTest>

#include <ctime>

using namespace Qt::StringLiterals;

namespace {

CsvCheck checked(const TestEnv& t, CsvLog log, const QByteArray& csv, const QStringList& inLog = {})
{
    const CsvSheet sheet = ReadCsvSheet(csv);
    return CheckCsvSheet(t.env, log, sheet, MatchCsvColumns(log, sheet.header), inLog);
}

} // namespace

class TestCsvImport : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        qputenv("TZ", "Europe/Berlin");
        tzset();
    }

    // Export a log, empty it, import the file: the same bytes again.
    void roundTrip_data()
    {
        QTest::addColumn<bool>("costs");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("catches")
            << false
            << QStringList {
                   sampleCatchLine({ { 2, u"Jürgen; Jo"_s }, { 9, u"See; Nord"_s },
                       { 10, u"=1+2"_s }, { 11, u"'s Eck"_s }, { 12, u"Größe €"_s },
                       { 14, u"-3"_s }, { 15, u"+ 18"_s } }),
                   sampleCatchLine({ { 1, u"2004/05/16"_s }, { 2, u" "_s }, { 3, u"22:00"_s },
                       { 4, u"01:00"_s }, { 5, u"03:00"_s }, { 6, u" "_s }, { 7, u"0,00"_s },
                       { 8, u"64,5"_s }, { 9, QString() }, { 13, u" "_s }, { 17, QString() } }),
                   sampleCatchLine({ { 1, u"2004/05/16"_s }, { 2, u"@Max"_s }, { 6, u"-Aal"_s },
                       { 16, u"0"_s } }),
               };
        QTest::newRow("costs")
            << true
            << QStringList {
                   sampleCostLine({ { 2, u"Köhler; Söhne"_s }, { 4, u"+49 Haken"_s } }),
                   sampleCostLine({ { 1, u"2006/03/04"_s }, { 2, u" "_s }, { 3, u"1,5"_s },
                       { 4, u"=Rute 'x'"_s }, { 7, u"0,00 €"_s } }),
               };
    }
    void roundTrip()
    {
        QFETCH(bool, costs);
        QFETCH(QStringList, items);
        TestEnv t;
        const QString file = costs ? kCostLogPath : kCatchLogPath;
        t.write(u"db\\bilder\\17.05.2004_06-45-00.jpg"_s, "jpeg");
        t.write(file, recordFileBytes(items));
        Logbook log(t.env);
        log.refresh(u"Test"_s);
        // The export writes the list's order: the file is compared in it.
        QStringList listed;
        for (int row = 0; row < (costs ? log.costCount() : log.catchCount()); ++row)
            listed.append(costs ? log.costItem(row) : log.catchItem(row));
        const CsvFile csv = costs
            ? CostsCsv(log.costLines())
            : CatchesCsv(QStringList { CatchHeaderLine(), CatchRuleLine() } + log.catchLines());

        t.write(file, {});
        log.refresh(u"Test"_s);
        const CsvCheck check = checked(t, costs ? CsvLog::Costs : CsvLog::Catches, csv.bytes);
        QCOMPARE(check.errors, QStringList());
        ErrorTrap trap(t.env, u"Test"_s);
        QVERIFY(costs ? log.appendCosts(check.items, trap) : log.appendCatches(check.items, trap));
        QCOMPARE(t.read(file), recordFileBytes(listed));
    }

    // Files of spreadsheets and other programs. Times with a zone turn into
    // Berlin time; what a file lacks is what the entry window stores for
    // an untouched box.
    void foreignFiles_data()
    {
        QTest::addColumn<bool>("costs");
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<QString>("item"); // %1: moon phase of the date
        QTest::addColumn<QStringList>("unused");
        QTest::newRow("other app, UTC, grams, comma")
            << false
            << QByteArray("Date,Time,Species,Weight (g),Length (cm),Catch & Release,Lure,Retrieve "
                          "Style,Notes,Latitude,Longitude\n2024-05-17,22:30:00Z,Pike,2455,81.5,"
                          "true,Spinner,slow,\"big, old\",52.1,13.2\n")
            << u"2024/05/18\t \t00:30\t00:30\t00:30\tPike\t2,46\t81,5\t\t\t\tSpinner\t\t0\t0\t0\t%1"_s
            << QStringList { u"Catch & Release"_s, u"Retrieve Style"_s, u"Notes"_s, u"Latitude"_s,
                   u"Longitude"_s };
        QTest::newRow("Windows-1252, semicolon, CR")
            << false
            << QByteArray("FANGDATUM;F\xC4NGER;fischart;Gewicht;K\xF6\x64\x65r;Luft \xB0\x43\r"
                          "17.05.2004;J\xF6rg;Hecht;2,5;Blinker;7,5\r")
            << u"2004/05/17\tJörg\t00:00\t00:00\t00:00\tHecht\t2,50\t0\t\t\t\tBlinker\t\t+ 7,5\t0\t0\t%1"_s
            << QStringList();
        QTest::newRow("UTF-8 with mark, TAB, time stamp with offset, extra column")
            << false
            << QByteArray("\xEF\xBB\xBF"
                          "Date\tSpecies\tWeight (kg)\tWater Temperature\tMemo\r\n"
                          "2024-01-05T06:45+01:00\tZander\t1.5\t-0.5\tx\r\n")
            << u"2024/01/05\t \t06:45\t06:45\t06:45\tZander\t1,50\t0\t\t\t\t\t\t0\t-0,5\t0\t%1"_s
            << QStringList { u"Memo"_s };
        QTest::newRow("purchase, prices worked out")
            << true
            << QByteArray("Datum,Artikel,Menge,Einzelpreis,Shop\n05.03.2006,Haken,3,1.5,Laden\n")
            << u"2006/03/05\tLaden\t3\tHaken\t1,50 €\t4,50 €\t0,00 €\t4,50 €"_s << QStringList();
    }
    void foreignFiles()
    {
        QFETCH(bool, costs);
        QFETCH(QByteArray, csv);
        QFETCH(QString, item);
        TestEnv t;
        const CsvCheck check = checked(t, costs ? CsvLog::Costs : CsvLog::Catches, csv);
        QCOMPARE(check.errors, QStringList());
        QCOMPARE(check.items.size(), 1);
        const QDate date = QDate::fromString(check.items[0].left(10), u"yyyy/MM/dd"_s);
        QCOMPARE(check.items[0], costs ? item : item.arg(MondPhase(t.env, DayNumber(date))));
        QTEST(check.unusedColumns, "unused");
    }

    // Lines refused, each with its line number as an editor counts lines
    // (a cell over two lines counts both) and its reason.
    void badLines_data()
    {
        QTest::addColumn<bool>("costs");
        QTest::addColumn<QByteArray>("rows"); // below the header, from line 2
        QTest::addColumn<QStringList>("errors");
        const auto catchRow = [](const char* name, const QByteArray& rows, const QString& error) {
            QTest::newRow(name) << false << rows << QStringList { error };
        };
        catchRow("no such day", "31.02.2024;Max;06:30;2,5;;\r\n",
            u"Zeile 2: Datum „31.02.2024“ ungültig"_s);
        catchRow("no date", ";Max;06:30;2,5;;\r\n", u"Zeile 2: Datum fehlt"_s);
        catchRow(
            "hour 25", "17.05.2004;Max;25:00;2,5;;\r\n", u"Zeile 2: Fangzeit „25:00“ ungültig"_s);
        catchRow("thousands separator", "17.05.2004;Max;06:30;1.234,5;;\r\n",
            u"Zeile 2: Gewicht (kg) „1.234,5“ mit Tausendertrennzeichen"_s);
        catchRow("negative weight", "17.05.2004;Max;06:30;-2;;\r\n",
            u"Zeile 2: Gewicht (kg) „-2“ ungültig"_s);
        catchRow("quote in a text", "17.05.2004;\"Max \"\"M\"\"\";06:30;2;;\r\n",
            u"Zeile 2: Fänger enthält ein Anführungszeichen, einen Tabulator oder einen Zeilenumbruch"_s);
        QTest::newRow("line break, counted")
            << false
            << QByteArray("17.05.2004;\"Max\nMoritz\";06:30;2;;\r\n\r\n31.13.2004;;;;;\r\n")
            << QStringList { u"Zeile 2: Fänger enthält ein Anführungszeichen, einen Tabulator oder "
                             "einen Zeilenumbruch"_s,
                   u"Zeile 5: Datum „31.13.2004“ ungültig"_s };
        catchRow("not in the code page", "17.05.2004;Max 🐟;06:30;2;;\r\n",
            u"Zeile 2: Fänger enthält das Zeichen „🐟“, das die Datei nicht speichern kann"_s);
        catchRow("255 characters", "17.05.2004;" + QByteArray(255, 'x') + ";06:30;2;;\r\n",
            u"Zeile 2: Fänger ist länger als 254 Zeichen"_s);
        catchRow(
            "one cell too many", "17.05.2004;Max;06:30;2;;;\r\n", u"Zeile 2: 7 Spalten statt 6"_s);
        catchRow("photo maybe", "17.05.2004;Max;06:30;2;;vielleicht\r\n",
            u"Zeile 2: Foto „vielleicht“ ungültig"_s);
        catchRow("quote left open", "17.05.2004;\"Max;06:30;2;;\r\n",
            u"Zeile 2: Anführungszeichen nicht geschlossen"_s);
        QTest::newRow("purchase without quantity, price with unit")
            << true << QByteArray("05.03.2006;Haken;;4,50 EUR\r\n")
            << QStringList { u"Zeile 2: Menge fehlt"_s,
                   u"Zeile 2: Einzelpreis (€) „4,50 EUR“ ungültig"_s };
    }
    void badLines()
    {
        QFETCH(bool, costs);
        QFETCH(QByteArray, rows);
        TestEnv t;
        const QByteArray header = costs ? "Kaufdatum;Artikelbezeichnung;Menge;Einzelpreis (€)\r\n"
                                        : "Datum;Fänger;Fangzeit;Gewicht (kg);Gewässer;Foto\r\n";
        const CsvCheck check = checked(t, costs ? CsvLog::Costs : CsvLog::Catches, header + rows);
        QTEST(check.errors, "errors");
        QCOMPARE(check.items, QStringList());
    }

    // A catch already in the log is left out unless wanted; repeats within
    // the file stay; a photo mark without its photo goes.
    void duplicates()
    {
        TestEnv t;
        const QByteArray csv = "Datum;Fischart;Gewicht (kg);Länge (cm);Fangzeit;Foto\r\n"
                               "17.05.2004;Karpfen;12,4;84;06:45;nein\r\n"
                               "17.05.2004;Karpfen;12,40;84;06:45;ja\r\n"
                               "17.05.2004;Karpfen;12,40;85;06:45;nein\r\n";
        const CsvCheck check = checked(t, CsvLog::Catches, csv, { sampleCatchLine() });
        QCOMPARE(check.duplicate, QList<bool>({ true, true, false }));
        QCOMPARE(check.photoMarksDropped, 1);
        QCOMPARE(check.importItems(false).size(), 1);
        QCOMPARE(check.importItems(true).size(), 3);
    }

    void capacity_data()
    {
        QTest::addColumn<int>("adding"); // to a log of 32760 catches
        QTest::addColumn<bool>("refused");
        QTest::newRow("fills it") << 7 << false;
        QTest::newRow("one too many") << 8 << true;
    }
    void capacity()
    {
        QFETCH(int, adding);
        QTEST(!CsvCapacityProblem(CsvLog::Catches, 32760, adding).isEmpty(), "refused");
    }
};

QTEST_GUILESS_MAIN(TestCsvImport)
#include "tst_csvImport.moc"
