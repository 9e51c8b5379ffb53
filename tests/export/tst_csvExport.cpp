// The CSV files of both logs: tricky values, the exact bytes of small
// files, and lines that cannot be read.
#include "export/CsvExport.h"
#include "support/TestEnv.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// The sample catch as the overview lists it, with some fields changed.
QString catchRow(FieldChanges changes = {}, QChar mark = u'X')
{
    QStringList fields = sampleCatch(changes);
    fields[0].replace(u"2004/05/17"_s, u"17.05.2004"_s);
    return overviewRow(fields, mark);
}

// The sample catch's cells as written; the photo column last.
const QStringList kSampleCells { u"17.05.2004"_s, u"Max"_s, u"06:30"_s, u"06:45"_s, u"10:00"_s,
    u"Karpfen"_s, u"12,40"_s, u"84"_s, u"Baggersee"_s, u"Steg 3"_s, u"Festblei"_s, u"Boilie"_s,
    u"sonnig"_s, u"18"_s, u"14"_s, u"2,5"_s, u"Vollmond"_s, u"ja"_s };

QByteArray dataRows(const QByteArray& csv)
{
    return csv.mid(csv.indexOf("\r\n") + 2);
}

} // namespace

class TestCsvExport : public QObject {
    Q_OBJECT

private slots:
    // A stored value in one field of the sample catch and its cell in the
    // file: quoted where a spreadsheet would split or misread it, guarded
    // with an apostrophe where it would start a formula, numbers in the
    // spreadsheet's form.
    void cell_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("cell");
        const auto row
            = [](const char* name, int field, const QString& stored, const QString& cell) {
                  QTest::newRow(name) << field << stored << cell;
              };
        row("semicolon", 9, u"See; Nordufer"_s, u"\"See; Nordufer\""_s);
        row("double quotes", 10, u"Steg \"Drei\""_s, u"\"Steg \"\"Drei\"\"\""_s);
        row("formula", 12, u"=HYPERLINK(\"x\")"_s, u"\"'=HYPERLINK(\"\"x\"\")\""_s);
        row("leading minus in a text", 13, u"-5 Grad"_s, u"'-5 Grad"_s);
        row("leading at sign", 2, u"@Max"_s, u"'@Max"_s);
        row("minus inside a text", 11, u"Pose 2-4 g"_s, u"Pose 2-4 g"_s);
        row("umlauts", 2, u"Jürgen Größe"_s, u"Jürgen Größe"_s);
        row("blank of a box left empty", 12, u" "_s, u" "_s);
        row("leading apostrophe", 10, u"'s Eck"_s, u"''s Eck"_s);
        row("temperature with plus", 14, u"+ 18"_s, u"18"_s);
        row("minus and blank", 15, u"- 3"_s, u"-3"_s);
        row("minus zero", 14, u"-0"_s, u"0"_s);
        row("weight in blanks", 7, u" 7,5 "_s, u"7,5"_s);
        row("comma first", 16, u",5"_s, u"0,5"_s);
        row("no number in a number column", 16, u"ca. 3"_s, u"ca. 3"_s);
        row("dash in a number column", 16, u"-"_s, u"'-"_s);
        row("photo mark only", 6, u"*"_s, QString());
        row("star inside the species", 6, u"Aal*gelb"_s, u"Aal*gelb"_s);
    }
    void cell()
    {
        QFETCH(int, field);
        QFETCH(QString, stored);
        QStringList expected = kSampleCells;
        QFETCH(QString, cell);
        expected[field - 1] = cell;
        if (field == 6)
            expected.last() = stored.endsWith(u'*') ? u"ja"_s : u"nein"_s;
        const CsvFile csv = CatchesCsv(overviewList({ catchRow({ { field, stored } }) }));
        QCOMPARE(QString::fromUtf8(dataRows(csv.bytes)), expected.join(u';') + u"\r\n"_s);
    }

    void exactBytes()
    {
        const CsvFile catches = CatchesCsv(overviewList({ catchRow(),
            catchRow({ { 1, u"16.05.2004"_s }, { 2, u"Jörg"_s }, { 6, u"Hecht"_s },
                         { 9, u"See; Nord"_s }, { 10, u"\"Steg\""_s }, { 13, u"=1"_s },
                         { 14, u"-2"_s }, { 15, u"0"_s } },
                u' ') }));
        QCOMPARE(catches.bytes.left(3), QByteArray("\xEF\xBB\xBF"));
        QCOMPARE(QString::fromUtf8(catches.bytes.left(catches.bytes.indexOf("\r\n"))),
            u"Datum;Fänger;Beginn;Fangzeit;Ende;Fischart;Gewicht (kg);Länge (cm);Gewässer;"
            "Angelplatz;Montage/Rig.;Köder;Wetter;Lufttemperatur (°C);Wassertemperatur (°C);"
            "Tiefe (m);Mondphase;Foto"_s);
        QCOMPARE(dataRows(catches.bytes),
            QByteArray("17.05.2004;Max;06:30;06:45;10:00;Karpfen;12,40;84;Baggersee;Steg 3;"
                       "Festblei;Boilie;sonnig;18;14;2,5;Vollmond;ja\r\n"
                       "16.05.2004;J\xC3\xB6rg;06:30;06:45;10:00;Hecht;12,40;84;\"See; Nord\";"
                       "\"\"\"Steg\"\"\";Festblei;Boilie;'=1;-2;0;2,5;Vollmond;nein\r\n"));
        QCOMPARE(catches.rows, 2);

        QStringList cost = sampleCost({ { 1, u"05.03.2006"_s }, { 2, u"Köhler; Söhne"_s },
            { 4, u"+49 Haken"_s }, { 7, u"1.000,00 €"_s } });
        QCOMPARE(CostsCsv({ cost.join(u'\t') }).bytes,
            QByteArray("\xEF\xBB\xBFKaufdatum;Gesch\xC3\xA4"
                       "ft;Menge;Artikelbezeichnung;"
                       "Einzelpreis (\xE2\x82\xAC);Preis (\xE2\x82\xAC);Versandkosten "
                       "(\xE2\x82\xAC);Gesamt (\xE2\x82\xAC)\r\n"
                       "05.03.2006;\"K\xC3\xB6hler; S\xC3\xB6hne\";3;'+49 Haken;1,50;4,50;"
                       "1.000,00 \xE2\x82\xAC;9,40\r\n"));
    }

    // A line that cannot be split is counted and left out, not written
    // half or dropped unnoticed.
    void unreadableLines_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("unreadable");
        QTest::newRow("cut short")
            << overviewList({ catchRow(), catchRow().section(u'\t', 0, 10), catchRow() }) << 2 << 1;
        QTest::newRow("empty line") << overviewList({ QString(), catchRow() }) << 1 << 1;
        QTest::newRow("field of 255 characters")
            << overviewList({ catchRow({ { 9, QString(255, u'x') } }) }) << 0 << 1;
    }
    void unreadableLines()
    {
        QFETCH(QStringList, lines);
        QFETCH(int, rows);
        const CsvFile csv = CatchesCsv(lines);
        QCOMPARE(csv.rows, rows);
        QTEST(csv.unreadable, "unreadable");
        QCOMPARE(dataRows(csv.bytes).count("\r\n"), rows);
    }
};

QTEST_GUILESS_MAIN(TestCsvExport)
#include "tst_csvExport.moc"
