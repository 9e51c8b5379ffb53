// The CSV files of both logs: the cells a spreadsheet reads as numbers,
// the guard against formulas, the quoting, and the exact bytes.
#include "export/CsvExport.h"
#include "support/TestEnv.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// The sample catch as the overview lists it (date in display form).
QString catchRow(FieldChanges changes = {}, QChar mark = u'X')
{
    QStringList fields = sampleCatch(changes);
    if (fields[0] == u"2004/05/17"_s)
        fields[0] = u"17.05.2004"_s;
    return overviewRow(fields, mark);
}

// The sample catch's CSV cells, the photo column last.
QStringList sampleCatchCells()
{
    return { u"17.05.2004"_s, u"Max"_s, u"06:30"_s, u"06:45"_s, u"10:00"_s, u"Karpfen"_s,
        u"12,40"_s, u"84"_s, u"Baggersee"_s, u"Steg 3"_s, u"Festblei"_s, u"Boilie"_s, u"sonnig"_s,
        u"18"_s, u"14"_s, u"2,5"_s, u"Vollmond"_s, u"ja"_s };
}

QString costRow(FieldChanges changes = {})
{
    QStringList fields = sampleCost(changes);
    if (fields[0] == u"2006/03/05"_s)
        fields[0] = u"05.03.2006"_s;
    return fields.join(u'\t');
}

QStringList sampleCostCells()
{
    return { u"05.03.2006"_s, u"Anglerladen"_s, u"3"_s, u"Haken Gr. 8"_s, u"1,50"_s, u"4,50"_s,
        u"4,90"_s, u"9,40"_s };
}

// The text of a CSV file without its byte order mark; empty when the mark
// is missing.
QString csvText(const QByteArray& bytes)
{
    if (!bytes.startsWith("\xEF\xBB\xBF"))
        return {};
    return QString::fromUtf8(bytes.mid(3));
}

// The rows of the file after the header row (each without its CR LF).
QStringList dataRows(const QByteArray& bytes)
{
    QStringList rows = csvText(bytes).split(u"\r\n"_s);
    if (rows.isEmpty() || !rows.last().isEmpty())
        return { u"<no CR LF after the last row>"_s };
    rows.removeLast();
    rows.removeFirst();
    return rows;
}

} // namespace

class TestCsvExport : public QObject {
    Q_OBJECT

private slots:
    // A value stored in one field of the sample catch, and the cell it
    // becomes; every other cell stays as in the sample.
    void catchCells_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QString>("photo");

        QTest::newRow("semicolon quoted")
            << 9 << u"See; Nordufer"_s << u"\"See; Nordufer\""_s << u"ja"_s;
        QTest::newRow("double quotes doubled")
            << 10 << u"Steg \"Drei\""_s << u"\"Steg \"\"Drei\"\"\""_s << u"ja"_s;
        QTest::newRow("formula guarded")
            << 12 << u"=HYPERLINK(\"x\")"_s << u"\"'=HYPERLINK(\"\"x\"\")\""_s << u"ja"_s;
        QTest::newRow("guarded and quoted") << 10 << u"=A1;B1"_s << u"\"'=A1;B1\""_s << u"ja"_s;
        QTest::newRow("leading minus in a text")
            << 13 << u"-5 Grad, Frost"_s << u"'-5 Grad, Frost"_s << u"ja"_s;
        QTest::newRow("leading plus in a text") << 13 << u"+ sonnig"_s << u"'+ sonnig"_s << u"ja"_s;
        QTest::newRow("leading at sign") << 2 << u"@Max"_s << u"'@Max"_s << u"ja"_s;
        QTest::newRow("minus inside a text") << 11 << u"Pose 2-4 g"_s << u"Pose 2-4 g"_s << u"ja"_s;
        QTest::newRow("umlauts") << 2 << u"Jürgen Größe"_s << u"Jürgen Größe"_s << u"ja"_s;
        QTest::newRow("euro sign in a text") << 12 << u"Mais 2 €"_s << u"Mais 2 €"_s << u"ja"_s;
        QTest::newRow("empty field") << 10 << QString() << QString() << u"ja"_s;
        QTest::newRow("blank of an empty box") << 12 << u" "_s << QString() << u"ja"_s;
        QTest::newRow("temperature with plus") << 14 << u"+ 18"_s << u"18"_s << u"ja"_s;
        QTest::newRow("negative temperature not guarded") << 15 << u"-3"_s << u"-3"_s << u"ja"_s;
        QTest::newRow("minus and blank") << 15 << u"- 3"_s << u"-3"_s << u"ja"_s;
        QTest::newRow("minus zero") << 14 << u"-0"_s << u"0"_s << u"ja"_s;
        QTest::newRow("weight with blanks") << 7 << u" 7,5 "_s << u"7,5"_s << u"ja"_s;
        QTest::newRow("decimal comma first") << 16 << u",5"_s << u"0,5"_s << u"ja"_s;
        QTest::newRow("decimal comma last") << 16 << u"3,"_s << u"3"_s << u"ja"_s;
        QTest::newRow("no number in a number column") << 16 << u"ca. 3"_s << u"ca. 3"_s << u"ja"_s;
        QTest::newRow("dash in a number column") << 16 << u"-"_s << u"'-"_s << u"ja"_s;
        QTest::newRow("formula in a number column") << 8 << u"=84"_s << u"'=84"_s << u"ja"_s;
        QTest::newRow("two commas are no number") << 7 << u"1,2,3"_s << u"1,2,3"_s << u"ja"_s;
        QTest::newRow("no photo") << 6 << u"Hecht"_s << u"Hecht"_s << u"nein"_s;
        QTest::newRow("photo mark only") << 6 << u"*"_s << QString() << u"ja"_s;
        QTest::newRow("star inside the species is no mark")
            << 6 << u"Aal*gelb"_s << u"Aal*gelb"_s << u"nein"_s;
    }
    void catchCells()
    {
        QFETCH(int, field);
        QFETCH(QString, stored);
        QFETCH(QString, cell);
        QFETCH(QString, photo);
        QStringList expected = sampleCatchCells();
        expected[field - 1] = cell;
        expected.last() = photo;
        const CsvFile csv = CatchesCsv(overviewList({ catchRow({ { field, stored } }) }));
        QCOMPARE(dataRows(csv.bytes), QStringList { expected.join(u';') });
        QCOMPARE(csv.rows, 1);
        QCOMPARE(csv.unreadable, 0);
    }

    void costCells_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("cell");

        QTest::newRow("amount without euro") << 8 << u"1.234,00 €"_s << u"1.234,00 €"_s;
        QTest::newRow("large amount") << 6 << u"1234,50 €"_s << u"1234,50"_s;
        QTest::newRow("decimal quantity") << 3 << u"1,5"_s << u"1,5"_s;
        QTest::newRow("negative amount stays a number") << 7 << u"-2,00 €"_s << u"-2,00"_s;
        QTest::newRow("shop with semicolon") << 2 << u"Köhler; Söhne"_s << u"\"Köhler; Söhne\""_s;
        QTest::newRow("article as formula") << 4 << u"+49 Haken"_s << u"'+49 Haken"_s;
    }
    void costCells()
    {
        QFETCH(int, field);
        QFETCH(QString, stored);
        QFETCH(QString, cell);
        QStringList expected = sampleCostCells();
        expected[field - 1] = cell;
        const CsvFile csv = CostsCsv({ costRow({ { field, stored } }) });
        QCOMPARE(dataRows(csv.bytes), QStringList { expected.join(u';') });
    }

    // Cells the stored records cannot hold, but a hand-edited file can.
    void controlCharacters_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("cell");
        QTest::newRow("leading TAB") << u"\tx"_s << u"'\tx"_s;
        QTest::newRow("leading CR") << u"\rx"_s << u"\"'\rx\""_s;
        QTest::newRow("line feed inside") << u"a\nb"_s << u"\"a\nb\""_s;
    }
    void controlCharacters()
    {
        QFETCH(QString, text);
        QTEST(CsvTextCell(text), "cell");
    }

    void exactBytesOfASmallCatchExport()
    {
        const QStringList lines = overviewList({ catchRow(),
            catchRow(
                { { 1, u"16.05.2004"_s }, { 2, u"Jörg"_s }, { 6, u"Hecht"_s }, { 7, u"3,10"_s },
                    { 8, u"0"_s }, { 14, u"-2"_s }, { 15, u"0"_s }, { 17, u"abnehmender Mond"_s } },
                u' ') });
        const CsvFile csv = CatchesCsv(lines);
        QCOMPARE(csv.bytes,
            QByteArray("\xEF\xBB\xBF"
                       "Datum;F\xC3\xA4nger;Beginn;Fangzeit;Ende;Fischart;Gewicht (kg);"
                       "L\xC3\xA4nge (cm);Gew\xC3\xA4sser;Angelplatz;Montage/Rig.;K\xC3\xB6"
                       "der;Wetter;Lufttemperatur (\xC2\xB0"
                       "C);Wassertemperatur (\xC2\xB0"
                       "C);Tiefe (m);Mondphase;Foto\r\n"
                       "17.05.2004;Max;06:30;06:45;10:00;Karpfen;12,40;84;Baggersee;Steg 3;"
                       "Festblei;Boilie;sonnig;18;14;2,5;Vollmond;ja\r\n"
                       "16.05.2004;J\xC3\xB6rg;06:30;06:45;10:00;Hecht;3,10;0;Baggersee;Steg 3;"
                       "Festblei;Boilie;sonnig;-2;0;2,5;abnehmender Mond;nein\r\n"));
        QCOMPARE(csv.rows, 2);
    }

    void exactBytesOfASmallCostExport()
    {
        const CsvFile csv = CostsCsv({ costRow(),
            costRow({ { 1, u"01.02.2006"_s }, { 2, u"Versand Müller"_s }, { 3, u"1"_s },
                { 4, u"Rute"_s }, { 5, u"89,00 €"_s }, { 6, u"89,00 €"_s }, { 7, u"0,00 €"_s },
                { 8, u"89,00 €"_s } }) });
        QCOMPARE(csv.bytes,
            QByteArray("\xEF\xBB\xBF"
                       "Kaufdatum;Gesch\xC3\xA4"
                       "ft;Menge;Artikelbezeichnung;Einzelpreis (\xE2\x82\xAC);"
                       "Preis (\xE2\x82\xAC);Versandkosten (\xE2\x82\xAC);Gesamt (\xE2\x82\xAC)\r\n"
                       "05.03.2006;Anglerladen;3;Haken Gr. 8;1,50;4,50;4,90;9,40\r\n"
                       "01.02.2006;Versand M\xC3\xBCller;1;Rute;89,00;89,00;0,00;89,00\r\n"));
        QCOMPARE(csv.rows, 2);
    }

    // Only the header row when nothing is listed; a line that cannot be
    // split is counted, not written.
    void unreadableLinesAreCounted_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("unreadable");
        const QString cut = catchRow().section(u'\t', 0, 10); // only 10 TABs
        QTest::newRow("header lines only") << overviewList({}) << 0 << 0;
        QTest::newRow("one cut short") << overviewList({ catchRow(), cut, catchRow() }) << 2 << 1;
        QTest::newRow("empty line") << overviewList({ QString(), catchRow() }) << 1 << 1;
        QTest::newRow("field of 255 characters")
            << overviewList({ catchRow({ { 9, QString(255, u'x') } }) }) << 0 << 1;
    }
    void unreadableLinesAreCounted()
    {
        QFETCH(QStringList, lines);
        QFETCH(int, rows);
        const CsvFile csv = CatchesCsv(lines);
        QCOMPARE(csv.rows, rows);
        QTEST(csv.unreadable, "unreadable");
        QCOMPARE(dataRows(csv.bytes).size(), rows);
        QCOMPARE(dataRows(csv.bytes), QStringList(rows, sampleCatchCells().join(u';')));
    }

    void costLineCutShortIsCounted()
    {
        const CsvFile csv = CostsCsv({ costRow(), u"05.03.2006\tAnglerladen\t3"_s });
        QCOMPARE(csv.rows, 1);
        QCOMPARE(csv.unreadable, 1);
        QCOMPARE(dataRows(csv.bytes), QStringList { sampleCostCells().join(u';') });
    }
};

QTEST_GUILESS_MAIN(TestCsvExport)
#include "tst_csvExport.moc"
