// The CSV files of both logs: tricky values read back by an independent
// reader (Python's csv module with ";" as delimiter, as a spreadsheet reads
// the file), the exact bytes of small files, and lines that cannot be read.
#include "export/CsvExport.h"
#include "support/TestEnv.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryFile>
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

// What a reader gets back of the sample catch; the photo column last.
const QStringList kSampleCells { u"17.05.2004"_s, u"Max"_s, u"06:30"_s, u"06:45"_s, u"10:00"_s,
    u"Karpfen"_s, u"12,40"_s, u"84"_s, u"Baggersee"_s, u"Steg 3"_s, u"Festblei"_s, u"Boilie"_s,
    u"sonnig"_s, u"18"_s, u"14"_s, u"2,5"_s, u"Vollmond"_s, u"ja"_s };

// A stored value in one field of the sample catch and the cell a reader
// gets back for it.
struct Case {
    const char* tag;
    int field;
    QString stored;
    QString cell;
};
const QList<Case> kCases {
    { "semicolon", 9, u"See; Nordufer"_s, u"See; Nordufer"_s },
    { "double quotes", 10, u"Steg \"Drei\""_s, u"Steg \"Drei\""_s },
    { "formula", 12, u"=HYPERLINK(\"x\")"_s, u"'=HYPERLINK(\"x\")"_s },
    { "leading minus in a text", 13, u"-5 Grad"_s, u"'-5 Grad"_s },
    { "leading at sign", 2, u"@Max"_s, u"'@Max"_s },
    { "minus inside a text", 11, u"Pose 2-4 g"_s, u"Pose 2-4 g"_s },
    { "umlauts", 2, u"Jürgen Größe"_s, u"Jürgen Größe"_s },
    { "empty", 10, QString(), QString() },
    { "blank of a box left empty", 12, u" "_s, QString() },
    { "temperature with plus", 14, u"+ 18"_s, u"18"_s },
    { "negative temperature, no apostrophe", 15, u"-3"_s, u"-3"_s },
    { "minus and blank", 15, u"- 3"_s, u"-3"_s },
    { "minus zero", 14, u"-0"_s, u"0"_s },
    { "weight in blanks", 7, u" 7,5 "_s, u"7,5"_s },
    { "comma first", 16, u",5"_s, u"0,5"_s },
    { "no number in a number column", 16, u"ca. 3"_s, u"ca. 3"_s },
    { "dash in a number column", 16, u"-"_s, u"'-"_s },
    { "thousands point is no number", 7, u"1.240"_s, u"1.240"_s },
    { "photo mark only", 6, u"*"_s, QString() },
    { "star inside the species", 6, u"Aal*gelb"_s, u"Aal*gelb"_s },
};

// Every row of the file as Python's csv module reads it.
const char* const kReader = R"(
import csv, json, sys
with open(sys.argv[1], encoding='utf-8-sig', newline='') as f:
    json.dump(list(csv.reader(f, delimiter=';')), sys.stdout)
)";

QByteArray dataRows(const QByteArray& csv)
{
    return csv.mid(csv.indexOf("\r\n") + 2);
}

} // namespace

class TestCsvExport : public QObject {
    Q_OBJECT
    QJsonArray m_read; // the rows Python read, the header row first

private slots:
    void initTestCase()
    {
        QStringList rows;
        for (const Case& c : kCases)
            rows.append(catchRow({ { c.field, c.stored } }));
        QTemporaryFile file;
        QVERIFY(file.open());
        file.write(CatchesCsv(overviewList(rows)).bytes);
        file.close();
        const QString python = QStandardPaths::findExecutable(u"python3"_s);
        QVERIFY2(!python.isEmpty(), "python3 is missing: scripts/install-deps installs it");
        QProcess p;
        p.start(python, { u"-c"_s, QString::fromLatin1(kReader), file.fileName() });
        QVERIFY(p.waitForFinished(60000));
        QVERIFY2(p.exitCode() == 0, p.readAllStandardError().constData());
        m_read = QJsonDocument::fromJson(p.readAllStandardOutput()).array();
        QCOMPARE(m_read.size(), kCases.size() + 1);
    }

    void readBack_data()
    {
        QTest::addColumn<int>("index");
        for (int i = 0; i < kCases.size(); ++i)
            QTest::newRow(kCases[i].tag) << i;
    }
    void readBack()
    {
        QFETCH(int, index);
        const Case& c = kCases[index];
        QStringList expected = kSampleCells;
        expected[c.field - 1] = c.cell;
        if (c.field == 6)
            expected.last() = c.stored.endsWith(u'*') ? u"ja"_s : u"nein"_s;
        QCOMPARE(m_read[index + 1].toVariant().toStringList(), expected);
    }

    void header()
    {
        QCOMPARE(m_read[0].toVariant().toStringList().join(u';'),
            u"Datum;Fänger;Beginn;Fangzeit;Ende;Fischart;Gewicht (kg);Länge (cm);Gewässer;"
            "Angelplatz;Montage/Rig.;Köder;Wetter;Lufttemperatur (°C);Wassertemperatur (°C);"
            "Tiefe (m);Mondphase;Foto"_s);
    }

    void exactBytes()
    {
        const CsvFile catches = CatchesCsv(overviewList({ catchRow(),
            catchRow({ { 1, u"16.05.2004"_s }, { 2, u"Jörg"_s }, { 6, u"Hecht"_s },
                         { 9, u"See; Nord"_s }, { 10, u"\"Steg\""_s }, { 13, u"=1"_s },
                         { 14, u"-2"_s }, { 15, u"0"_s } },
                u' ') }));
        QCOMPARE(catches.bytes.left(12),
            QByteArray("\xEF\xBB\xBF"
                       "Datum;F\xC3\xA4"));
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
