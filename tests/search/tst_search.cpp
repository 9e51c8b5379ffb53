#include "search/Search.h"
#include "support/TestEnv.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A catch overview line with the given weight and length (fields 7 and 8).
QString fish(const QString& kg, const QString& cm, FieldChanges more = {})
{
    QStringList f = sampleCatch({ { 6, u"Karpfen"_s }, { 7, kg }, { 8, cm } });
    for (const auto& [number, text] : more)
        f[number - 1] = text;
    return overviewRow(f);
}

// A cost list line with the given price (field 6).
QString cost(const QString& price)
{
    return sampleCostLine({ { 1, u"05.03.2006"_s }, { 6, price } });
}

const QString kCompare = u"Funktion SucheGrößerKleiner\tError (13)"_s;
const QString kReader = u"Funktion ConvertToArray\tError (6)"_s;

} // namespace

class TestSearch : public QObject {
    Q_OBJECT

private slots:
    void filter_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<bool>("expected");
        QTest::addColumn<QStringList>("log");
        const auto row = [](const char* name, const QString& line, const QString& pattern, bool hit,
                             const QStringList& log = {}) {
            QTest::newRow(name) << line << pattern << hit << log;
        };
        const QStringList c13 { kCompare };
        const QString big = fish(u"7,50"_s, u"80"_s);
        const QString small = fish(u"2,00"_s, u"3"_s);
        row("text, case ignored", fish(u"3"_s, u"71"_s, { { 6, u"Hecht"_s } }), u"HECHT"_s, true);
        row("KG>5 is text", big, u"KG>5"_s, false);
        row("umlauts, code page letters", u"ÄSCHE ŒUVRE Šaran"_s, u"äsche œuvre š"_s, true);
        row("empty pattern", QString(), QString(), true);
        row("photo mark", overviewRow(sampleCatch(), u'X'), u"*"_s, true);
        row("star inside is literal", u"Rotauge"_s, u"R*"_s, false);

        row("kg> equal", fish(u"5"_s, u"60"_s), u"kg>5"_s, false);
        row("kg= two decimals", fish(u"5,00"_s, u"60"_s), u"kg=5"_s, true);
        row("kg< below", fish(u"4,99"_s, u"60"_s), u"kg<5"_s, true);
        row("cm> equal", fish(u"1,00"_s, u"50"_s), u"cm>50"_s, false);
        // Two prefixes: either comparison may hold; the second in any case.
        row("kg>CM< length holds", small, u"kg>CM<5"_s, true);
        row("kg>cm< weight holds", big, u"kg>cm<5"_s, true);
        row("kg>cm< neither", fish(u"2,00"_s, u"60"_s), u"kg>cm<5"_s, false);
        // Stripped once each in the order kg>, kg<, kg=, cm>, cm<, cm=.
        row("prefix order", small, u"cm<kg>5"_s, true, c13);
        row("prefix stripped once", small, u"kg>kg>5"_s, true, c13);
        // Length is tested before weight, and a field is read only when tested.
        row("length first, weight unread", fish(u"viel"_s, u"40"_s), u"kg>cm<50"_s, true);
        row("weight read after length", fish(u"viel"_s, u"60"_s), u"kg>cm<50"_s, true, c13);
        row("untested field unread", fish(u"viel"_s, u"60"_s), u"cm<50"_s, false);
        row("value missing", big, u"kg>"_s, true, c13);
        // 255 characters stop the reader, which keeps the fields before and
        // logs its own error.
        const QString b255 = fish(u"4,50"_s, u"60"_s, { { 12, QString(255, u'b') } });
        const QString s300 = fish(u"4,50"_s, u"60"_s, { { 6, QString(300, u's') } });
        row("bait of 255", b255, u"kg>5"_s, false, { kReader });
        row("species of 300", s300, u"kg>5"_s, true, { kReader, kCompare });

        row("< below", cost(u"9,99 €"_s), u"<10"_s, true);
        row("< equal", cost(u"10,00 €"_s), u"<10"_s, false);
        row("= short form", cost(u"4,50 €"_s), u"=4,5"_s, true);
        row(">= means greater", cost(u"4,50 €"_s), u">=4,50"_s, false);
        row("<> leaves >", cost(u"4,50 €"_s), u"<>5"_s, true, c13);
        row("price holds text", cost(u"gratis"_s), u"<10"_s, true, c13);
        // The prefix alone chooses how the line is read.
        row("price filter, catch line", big, u"<5"_s, true, c13);
        row("weight filter, cost line", cost(u"4,50 €"_s), u"kg<5"_s, true, { kReader });
        row("price filter, empty line", QString(), u"<5"_s, true, { kReader, kCompare });
    }

    void filter()
    {
        QFETCH(QString, line);
        QFETCH(QString, pattern);
        QFETCH(QStringList, log);
        TestEnv t;
        QTEST(SucheStringInString(t.env, line, pattern), "expected");
        QCOMPARE(t.logEntries(), log);
        // A filter parsed once gives the same result and log.
        const FilterExpression parsed(pattern);
        QTEST(parsed.matches(t.env, line), "expected");
        QCOMPARE(t.logEntries(), log + log);
    }

    // One filter run: a point in the expression's number is its decimal
    // comma, and a number the expression holds that cannot be read is
    // logged once for the run, a line's unreadable field once per line.
    void filterRun_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QList<bool>>("hits");
        QTest::addColumn<QStringList>("log");
        const QStringList weights { fish(u"1,00"_s, u"64"_s), fish(u"1,50"_s, u"64,5"_s),
            fish(u"1,51"_s, u"70"_s), fish(u"7,50"_s, u"80"_s) };
        const QStringList prices { cost(u"4,50 €"_s), cost(u"4,51 €"_s), cost(u"12,00 €"_s) };
        const auto row = [](const char* name, const QString& pattern, const QStringList& lines,
                             const QList<bool>& hits, const QStringList& log = {}) {
            QTest::newRow(name) << pattern << lines << hits << log;
        };
        row("kg=1.50", u"kg=1.50"_s, weights, { false, true, false, false });
        row("kg<.5 below nothing", u"kg<.5"_s, weights, { false, false, false, false });
        row("kg>cm<64.5", u"kg>cm<64.5"_s, weights, { true, false, false, false });
        row(">4.50", u">4.50"_s, prices, { false, true, true });
        row("two points", u"kg>1.2.3"_s, weights, { true, true, true, true }, { kCompare });
        row("<abc", u"<abc"_s, prices, { true, true, true }, { kCompare });
        row("value too large", u"kg<1"_s + QString(60, u'0'), weights, { true, true, true, true },
            { u"Funktion SucheGrößerKleiner\tError (6)"_s });
        // The field is read before the value: a line with an unreadable
        // weight logs its own error.
        row("unreadable value and field", u"kg>viel"_s,
            { weights[0], fish(u"schwer"_s, u"1"_s), weights[1] }, { true, true, true },
            { kCompare, kCompare });
    }

    void filterRun()
    {
        QFETCH(QString, pattern);
        QFETCH(QStringList, lines);
        TestEnv t;
        const FilterExpression filter(pattern);
        QList<bool> found;
        for (const QString& line : lines)
            found.append(filter.matches(t.env, line));
        QTEST(found, "hits");
        QTEST(t.logEntries(), "log");
    }

    void comparisonMode()
    {
        TestEnv t;
        QVERIFY(SucheGrößerKleiner(t.env, fish(u"7,50"_s, u"60"_s), u"kg>5"_s, u"FISCH"_s));
        QVERIFY(!SucheGrößerKleiner(t.env, fish(u"7,50"_s, u"60"_s), u"7,5"_s, u"fisch"_s));
        // Any other word reads the price; without a prefix it tests equality.
        QVERIFY(SucheGrößerKleiner(t.env, cost(u"4,50 €"_s), u"4,5"_s, u"xyz"_s));
        QCOMPARE(t.logEntries(), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestSearch)
#include "tst_search.moc"
