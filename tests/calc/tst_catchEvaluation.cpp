// A catch log worked out by hand: a trip past midnight, a damaged line,
// photo marks, an empty angler, spellings apart in letter case and blanks.
#include "calc/CatchEvaluation.h"
#include "store/Logbook.h"
#include "support/TestEnv.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Date, angler, begin, catch time, end, species, kg, cm, water, bait, phase.
QString item(const QString& f)
{
    const QStringList v = f.split(u'|');
    return sampleCatchLine({ { 1, v[0] }, { 2, v[1] }, { 3, v[2] }, { 4, v[3] }, { 5, v[4] },
        { 6, v[5] }, { 7, v[6] }, { 8, v[7] }, { 9, v[8] }, { 12, v[9] }, { 17, v[10] } });
}

const QStringList kLog {
    item(u"2004/05/17|Max|22:00|23:30|02:00|Karpfen*|12,40|84|Baggersee|Boilie|Vollmond"_s),
    item(u"2004/05/17|max |22:00|00:15|02:00|karpfen|3,05|50|Baggersee|boilie|Vollmond"_s),
    item(u"2005/01/03| |06:00|07:45|09:00|Hecht|4,50|0|Rhein|Blinker|Neumond"_s),
    u"2004/06/01\tnur\tdrei Felder"_s,
    item(u"2005/08/20|Eva|05:30|06:10|08:00|Barsch*|0,35|25|rhein |Wurm|Halbvoll"_s),
    item(u"2004/12/31|Eva|18:00|19:00|20:00|Hecht|4,50|90|Baggersee|Blinker|Halbmond, ab."_s),
};

using V = EvaluationView;

void load(const TestEnv& t, const QStringList& items, CatchEvaluation& e)
{
    t.write(u"db\\fänge\\db"_s, recordFileBytes(items));
    Logbook log(t.env);
    log.refresh(u"Test"_s);
    e.load(log);
}

} // namespace

class TestCatchEvaluation : public QObject {
    Q_OBJECT

private slots:
    // Rows as "cell|cell|..."; in the month, hour and phase views a row not
    // listed must read 0 catches.
    void figures_data()
    {
        QTest::addColumn<V>("view");
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("angler"); // index into anglers(), -1 all
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("rows");
        const auto row = [](const char* name, V v, const QStringList& rows, int year = 0,
                             int angler = -1, const QString& filter = {}) {
            QTest::newRow(name) << v << year << angler << filter << rows;
        };
        row("months", V::Months,
            { u"Januar|1|4,50|20,0 %"_s, u"Mai|2|15,45|40,0 %"_s, u"August|1|0,35|20,0 %"_s,
                u"Dezember|1|4,50|20,0 %"_s });
        row("hours, the catch after midnight at 0", V::Hours,
            { u"0 Uhr|1|3,05|20,0 %"_s, u"6 Uhr|1|0,35|20,0 %"_s, u"7 Uhr|1|4,50|20,0 %"_s,
                u"19 Uhr|1|4,50|20,0 %"_s, u"23 Uhr|1|12,40|20,0 %"_s });
        row("phases, unknown text last", V::MoonPhases,
            { u"Neumond|1|4,50|20,0 %"_s, u"Vollmond|2|15,45|40,0 %"_s,
                u"Halbmond, ab.|1|4,50|20,0 %"_s, u"Halbvoll|1|0,35|20,0 %"_s });
        row("baits, ties alphabetical", V::Baits,
            { u"Blinker|2|9,00|40,0 %"_s, u"Boilie|2|15,45|40,0 %"_s, u"Wurm|1|0,35|20,0 %"_s });
        row("waters, blanks and case ignored", V::Waters,
            { u"Baggersee|3|19,95|60,0 %"_s, u"Rhein|2|4,85|40,0 %"_s });
        row("species, photo mark ignored", V::Species,
            { u"Hecht|2|9,00|40,0 %"_s, u"Karpfen|2|15,45|40,0 %"_s, u"Barsch|1|0,35|20,0 %"_s });
        row("years, trip past midnight negative", V::Years,
            { u"2004|3|19,95|0 T  -18 Std  0 Min"_s, u"2005|2|4,85|0 T  5 Std  30 Min"_s });
        row("records, equal weights: first listed", V::Records,
            { u"Hecht|4,50|03.01.2005|Rhein|(ohne Angabe)|90|31.12.2004|Baggersee|Eva"_s,
                u"Karpfen|12,40|17.05.2004|Baggersee|Max|84|17.05.2004|Baggersee|Max"_s,
                u"Barsch|0,35|20.08.2005|Rhein|Eva|25|20.08.2005|Rhein|Eva"_s,
                u"Eva|4,50|31.12.2004|Baggersee|Hecht|90|31.12.2004|Baggersee|Hecht"_s,
                u"Max|12,40|17.05.2004|Baggersee|Karpfen|84|17.05.2004|Baggersee|Karpfen"_s,
                u"(ohne Angabe)|4,50|03.01.2005|Rhein|Hecht|–|–|–|–"_s });
        row("one year", V::Species, { u"Barsch|1|0,35|50,0 %"_s, u"Hecht|1|4,50|50,0 %"_s }, 2005);
        row("one angler, spelt two ways", V::Waters, { u"Baggersee|2|15,45|100,0 %"_s }, 0, 2);
        row("empty angler", V::Baits, { u"Blinker|1|4,50|100,0 %"_s }, 0, 0);
        row("weight filter", V::Waters, { u"Baggersee|2|16,90|66,7 %"_s, u"Rhein|1|4,50|33,3 %"_s },
            0, -1, u"kg>4"_s);
        row("leading plus dropped", V::Years,
            { u"2004|1|4,50|0 T  2 Std  0 Min"_s, u"2005|1|4,50|0 T  3 Std  0 Min"_s }, 0, -1,
            u"+hecht"_s);
        row("no catch in the choice", V::Months, {}, 2003);
    }

    void figures()
    {
        QFETCH(V, view);
        QFETCH(int, year);
        QFETCH(int, angler);
        QFETCH(QString, filter);
        QFETCH(QStringList, rows);
        TestEnv t;
        CatchEvaluation e(t.env);
        load(t, kLog, e);
        QCOMPARE(e.years(), (QList<int> { 2005, 2004 }));
        QCOMPARE(e.anglers(), (QStringList { u"(ohne Angabe)"_s, u"Eva"_s, u"Max"_s }));
        e.setYear(year);
        e.setAngler(angler);
        e.setFilter(filter);
        QCOMPARE(e.unreadableNote(),
            u"1 Zeile der Fangdatei konnte nicht gelesen werden und fehlt in dieser Auswertung."_s);

        QStringList shown;
        for (const EvaluationTable& table : e.tables(view)) {
            for (const QStringList& cells : table.cells)
                shown.append(cells.join(u'|'));
        }
        const int places = QList<int> { 12, 24, 9 }.value(int(view)); // with "Halbvoll"
        if (places > 0 && !rows.isEmpty()) {
            QCOMPARE(shown.size(), places);
            // Every slot is listed; those not worked out above hold nothing.
            shown.removeIf([](const QString& r) { return r.endsWith(u"|0|0,00|0,0 %"_s); });
        }
        QCOMPARE(shown, rows);
    }

    // A catch per letter, the letter its bait; the rest of 15 is "Sonstige".
    void mostFrequent_data()
    {
        QTest::addColumn<QString>("baits");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("last");
        QTest::newRow("fifteen") << u"ABCDEFGHIJKLMNO"_s << 15 << u"O|1|12,40|6,7 %"_s;
        QTest::newRow("sixteen, share halves up")
            << u"ABCDEFGHIJKLMNOP"_s << 16 << u"Sonstige|1|12,40|6,3 %"_s;
        QTest::newRow("two summed")
            << u"QABCDEFGHIJKLMNOPQ"_s << 16 << u"Sonstige|2|24,80|11,1 %"_s;
    }
    void mostFrequent()
    {
        QFETCH(QString, baits);
        QStringList items;
        for (QChar b : baits)
            items.append(sampleCatchLine({ { 12, QString(b) } }));
        TestEnv t;
        CatchEvaluation e(t.env);
        load(t, items, e);
        const EvaluationTable table = e.tables(V::Baits).value(0);
        QTEST(int(table.cells.size()), "rows");
        QTEST(table.cells.last().join(u'|'), "last");
    }
};

QTEST_GUILESS_MAIN(TestCatchEvaluation)
#include "tst_catchEvaluation.moc"
