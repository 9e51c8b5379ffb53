// The CSV files read back by an independent reader, Python's csv module
// with ";" as delimiter, as a spreadsheet would read them: every text comes
// back as stored (behind the apostrophe that disarms a formula), every
// number column holds numbers that add up to the stored values' sum.
#include "export/CsvExport.h"
#include "store/Numbers.h"
#include "support/TestEnv.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// Reads the file with the csv module and prints its rows, and the sum of
// each column named on the command line (decimal comma read as a point).
const char* const kReader = R"(
import csv, json, sys
with open(sys.argv[1], encoding='utf-8-sig', newline='') as f:
    rows = list(csv.reader(f, delimiter=';'))
sums = {}
for c in sys.argv[2:]:
    sums[c] = sum(float(r[int(c)].replace(',', '.')) for r in rows[1:])
json.dump({'rows': rows, 'sums': sums}, sys.stdout)
)";

struct ReadBack {
    QList<QStringList> rows; // header row first
    QMap<int, double> sums;
};

// Runs the reader on the bytes; fails the test when it cannot be run.
bool readWithPython(const QByteArray& bytes, const QList<int>& numberColumns, ReadBack& out)
{
    const QString python = QStandardPaths::findExecutable(u"python3"_s);
    if (python.isEmpty()) {
        qWarning("python3 not found: scripts/install-deps installs it");
        return false;
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(u"export.csv"_s);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        return false;
    f.close();
    QStringList args { u"-c"_s, QString::fromLatin1(kReader), path };
    for (int c : numberColumns)
        args.append(QString::number(c));
    QProcess p;
    p.start(python, args);
    if (!p.waitForFinished(60000) || p.exitCode() != 0) {
        qWarning("python3: %s", p.readAllStandardError().constData());
        return false;
    }
    const QJsonObject o = QJsonDocument::fromJson(p.readAllStandardOutput()).object();
    for (const QJsonValue& row : o[u"rows"_s].toArray()) {
        QStringList cells;
        for (const QJsonValue& c : row.toArray())
            cells.append(c.toString());
        out.rows.append(cells);
    }
    const QJsonObject sums = o[u"sums"_s].toObject();
    for (auto it = sums.begin(); it != sums.end(); ++it)
        out.sums.insert(it.key().toInt(), it.value().toDouble());
    return true;
}

// The text a cell gives back for a stored text: the same text, behind an
// apostrophe when it would start a formula; a box left blank is empty.
bool sameText(const QString& cell, const QString& stored)
{
    if (stored.count(u' ') == stored.size())
        return cell.isEmpty();
    const bool formulaStart = QStringView(u"=+-@\t\r").contains(stored.front());
    return cell == (formulaStart ? u"'"_s + stored : stored);
}

// Tricky texts and numbers, one row each, in different columns.
const QList<std::pair<int, QString>> kCatchValues {
    { 9, u"See; Nordufer"_s },
    { 10, u"Steg \"Drei\""_s },
    { 12, u"=HYPERLINK(\"http://x\")"_s },
    { 10, u"=A1;B1"_s },
    { 13, u"-5 Grad, Frost"_s },
    { 13, u"+ sonnig"_s },
    { 2, u"@Max"_s },
    { 2, u"Jürgen Größe"_s },
    { 12, u"Mais 2 €"_s },
    { 11, u"Pose 2-4 g"_s },
    { 10, QString() },
    { 12, u" "_s },
    { 11, u"'Apostroph'"_s },
    { 14, u"+ 18"_s },
    { 15, u"-3"_s },
    { 15, u"- 3"_s },
    { 7, u" 7,5 "_s },
    { 16, u",5"_s },
    { 8, u"112"_s },
    { 6, u"Hecht"_s },
    { 6, u"Zander*"_s },
    { 6, u"Wels \"Big Mama\"*"_s },
};

} // namespace

class TestCsvRoundTrip : public QObject {
    Q_OBJECT

private slots:
    void catchesComeBack()
    {
        QList<QStringList> stored;
        QStringList rows;
        for (const auto& [field, value] : kCatchValues) {
            QStringList fields = sampleCatch({ { 1, u"17.05.2004"_s }, { field, value } });
            stored.append(fields);
            rows.append(overviewRow(fields));
        }
        const CsvFile csv = CatchesCsv(overviewList(rows));
        const QList<int> numberColumns { 6, 7, 13, 14, 15 }; // weight .. depth, from 0
        ReadBack back;
        QVERIFY(readWithPython(csv.bytes, numberColumns, back));
        QCOMPARE(back.rows.size(), stored.size() + 1);
        QCOMPARE(back.rows[0].size(), 18);
        QCOMPARE(back.rows[0][1], u"Fänger"_s);
        QCOMPARE(back.rows[0][6], u"Gewicht (kg)"_s);
        QCOMPARE(back.rows[0][17], u"Foto"_s);

        QMap<int, double> storedSums;
        for (qsizetype r = 0; r < stored.size(); ++r) {
            const QStringList& in = stored[r];
            const QStringList& out = back.rows[r + 1];
            QCOMPARE(out.size(), 18);
            for (int c = 0; c < 17; ++c) {
                if (numberColumns.contains(c)) {
                    const double v = ParseNumber(in[c]);
                    storedSums[c] += v;
                    QCOMPARE(QString(out[c]).replace(u',', u'.').toDouble(), v);
                } else if (c == 5) {
                    const bool photo = in[c].endsWith(u'*');
                    QVERIFY(sameText(out[c], photo ? in[c].chopped(1) : in[c]));
                    QCOMPARE(out[17], photo ? u"ja"_s : u"nein"_s);
                } else {
                    QVERIFY2(sameText(out[c], in[c]), qPrintable(out[c]));
                }
            }
        }
        for (int c : numberColumns)
            QVERIFY2(std::abs(back.sums.value(c) - storedSums.value(c)) < 1e-9,
                qPrintable(u"column %1"_s.arg(c)));
    }

    void costsComeBack()
    {
        const QList<QStringList> stored {
            sampleCost({ { 1, u"05.03.2006"_s } }),
            sampleCost({ { 1, u"01.02.2006"_s }, { 2, u"Köhler; Söhne"_s }, { 3, u"1,5"_s },
                { 4, u"=SUMME(A1:A9)"_s }, { 5, u"12,99 €"_s }, { 6, u"25,98 €"_s },
                { 7, u"4,95 €"_s }, { 8, u"24,44 €"_s } }),
            sampleCost({ { 1, u"15.01.2006"_s }, { 2, u"\"Fischers Fritz\""_s },
                { 4, u"-Rabatt-"_s }, { 7, u"-1,00 €"_s } }),
        };
        QStringList lines;
        for (const QStringList& s : stored)
            lines.append(s.join(u'\t'));
        const QList<int> numberColumns { 2, 4, 5, 6, 7 };
        ReadBack back;
        QVERIFY(readWithPython(CostsCsv(lines).bytes, numberColumns, back));
        QCOMPARE(back.rows.size(), stored.size() + 1);
        QCOMPARE(back.rows[0],
            (QStringList { u"Kaufdatum"_s, u"Geschäft"_s, u"Menge"_s, u"Artikelbezeichnung"_s,
                u"Einzelpreis (€)"_s, u"Preis (€)"_s, u"Versandkosten (€)"_s, u"Gesamt (€)"_s }));
        QMap<int, double> storedSums;
        for (qsizetype r = 0; r < stored.size(); ++r) {
            for (int c = 0; c < 8; ++c) {
                const QString out = back.rows[r + 1].value(c);
                if (numberColumns.contains(c)) {
                    storedSums[c] += ParseNumber(stored[r][c]);
                    QCOMPARE(
                        QString(out).replace(u',', u'.').toDouble(), ParseNumber(stored[r][c]));
                } else {
                    QVERIFY2(sameText(out, stored[r][c]), qPrintable(out));
                }
            }
        }
        for (int c : numberColumns)
            QVERIFY(std::abs(back.sums.value(c) - storedSums.value(c)) < 1e-9);
    }
};

QTEST_GUILESS_MAIN(TestCsvRoundTrip)
#include "tst_csvRoundTrip.moc"
