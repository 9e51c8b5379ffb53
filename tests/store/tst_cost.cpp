#include "platform/ErrorLog.h"
#include "store/CostLine.h"
#include "store/CostList.h"
#include "store/Numbers.h"
#include "support/TestEnv.h"

#include <QTest>

#include <limits>

using namespace Qt::StringLiterals;

class TestCost : public QObject {
    Q_OBJECT

private slots:
    // Quantity, unit price and shipping as typed; fields 5 to 8 or the error.
    void costItem_data()
    {
        QTest::addColumn<QString>("quantity");
        QTest::addColumn<QString>("unitPrice");
        QTest::addColumn<QString>("shipping");
        QTest::addColumn<QString>("shop");
        QTest::addColumn<QString>("amounts");
        QTest::addColumn<int>("error");
        const auto ok = [](const char* name, const QString& q, const QString& u, const QString& s,
                            const QString& amounts) {
            QTest::newRow(name) << q << u << s << u"Laden"_s << amounts << 0;
        };
        const auto no = [](const char* name, const QString& q, const QString& u, const QString& s,
                            int error, const QString& shop = u"Laden"_s) {
            QTest::newRow(name) << q << u << s << shop << QString() << error;
        };
        ok("4,5 x 3", u"3"_s, u"4,5"_s, u"0"_s, u"4,50 €\t13,50 €\t0,00 €\t13,50 €"_s);
        // The price takes the quantity as a whole number, halves to even;
        // the total does not.
        ok("2 x 1,5 + 1", u"1,5"_s, u"2"_s, u"1"_s, u"2,00 €\t4,00 €\t1,00 €\t4,00 €"_s);
        ok("2 x 2,5 + 1", u"2,5"_s, u"2"_s, u"1"_s, u"2,00 €\t4,00 €\t1,00 €\t6,00 €"_s);
        // The float nearest 2,675 shows as 2,675 and rounds up.
        ok("float half", u"1"_s, u"2,675"_s, u"0"_s, u"2,68 €\t2,68 €\t0,00 €\t2,68 €"_s);
        ok("largest quantity", u"32767"_s, u"1"_s, u"0"_s,
            u"1,00 €\t32767,00 €\t0,00 €\t32767,00 €"_s);
        no("unit price text", u"3"_s, u"abc"_s, u"0"_s, 13);
        no("quantity empty", QString(), u"4,5"_s, u"0"_s, 13);
        ok("blank shipping is none", u"3"_s, u"4,5"_s, u" "_s,
            u"4,50 €\t13,50 €\t0,00 €\t13,50 €"_s);
        no("quantity 32768", u"32768"_s, u"1"_s, u"0"_s, 6);
        no("quantity before shipping", u"40000"_s, u"1"_s, u"x"_s, 6);
        no("beyond single", u"1"_s, u"1"_s + QString(40, u'0'), u"0"_s, 6);
        no("quote in shop", u"1"_s, u"1"_s, u"0"_s, 5, u"Der \"Hecht\""_s);
    }

    void costItem()
    {
        QFETCH(QString, quantity);
        QFETCH(QString, unitPrice);
        QFETCH(QString, shipping);
        QFETCH(QString, shop);
        QFETCH(QString, amounts);
        TestEnv t;
        const CostEntry e { u"05.03.2006"_s, shop, quantity, u"Haken"_s, unitPrice, shipping };
        QString item;
        QTEST(errorNumberOf([&] { item = CostItem(t.env, e); }), "error");
        if (!amounts.isEmpty())
            QCOMPARE(item, u"2006/03/05\tLaden\t"_s + quantity + u"\tHaken\t"_s + amounts);
    }

    // The window's boxes (date, shop, quantity, article, unit price,
    // shipping) with one changed, on 01.06.2006: the refusal, first failing
    // check first; no text when the entry can be stored.
    void checkCostEntry_data()
    {
        QTest::addColumn<int>("box");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("text");
        QTest::addColumn<MsgIcon>("icon");
        const auto row = [](const char* name, int box, const QString& value,
                             const QString& text = {}, MsgIcon icon = MsgIcon::Information) {
            QTest::newRow(name) << box << value << text << icon;
        };
        const QString cannot = u" enthält ein Zeichen, das nicht gespeichert werden kann "
                               u"(Anführungszeichen, Tabulator oder Sonderzeichen)!"_s;
        row("as typed", -1, {});
        row("today", 0, u"01.06.2006"_s);
        row("blank shipping", 5, u" "_s);
        row("no quantity, before all else", 2, {}, u"Bitte die Menge eingeben!"_s);
        row("no unit price", 4, {}, u"Bitte den Einzelpreis eingeben!"_s);
        row("no shop", 1, {}, u"Bitte das Geschäft eingeben!"_s);
        row("no article", 3, {}, u"Bitte eine Artikelbezeichnung eingeben!"_s);
        row("short date", 0, u"1.3.2006"_s,
            u"Bitte geben Sie ein Datum im Format TT.MM.JJJJ ein!"_s);
        row("no such day", 0, u"31.02.2006"_s,
            u"Das Datum 31.02.2006 gibt es nicht!\r\nBitte geben Sie ein gültiges Datum im Format TT.MM.JJJJ ein!"_s,
            MsgIcon::Warning);
        row("tomorrow", 0, u"02.06.2006"_s,
            u"Es ist nicht möglich, morgen für heute schon eingekauft zu haben!"_s,
            MsgIcon::Warning);
        row("quote in shop", 1, u"Laden \"Hecht\""_s, u"Das Geschäft"_s + cannot);
        row("not in the code page", 1, u"Laden \u0141"_s, u"Das Geschäft"_s + cannot);
        row("TAB in article", 3, u"Haken\tGr. 8"_s, u"Die Artikelbezeichnung"_s + cannot);
        row("quantity no number", 2, u"1.5"_s, u"Bitte eine gültige Menge eingeben!"_s);
        row("quantity too large", 2, u"32767,5"_s, u"Die Menge darf höchstens 32767 betragen!"_s);
        row("two commas", 4, u"1,2,3"_s, u"Bitte einen gültigen Einzelpreis eingeben!"_s);
        row("bad shipping", 5, u","_s, u"Bitte gültige Versandkosten eingeben!"_s);
    }

    void checkCostEntry()
    {
        QFETCH(int, box);
        QFETCH(QString, value);
        QFETCH(QString, text);
        QFETCH(MsgIcon, icon);
        QStringList typed { u"05.03.2006"_s, u"Anglerladen"_s, u"3"_s, u"Haken Gr. 8"_s, u"1,5"_s,
            u"4,9"_s };
        if (box >= 0)
            typed[box] = value;
        const CostEntry e { typed[0], typed[1], typed[2], typed[3], typed[4], typed[5] };
        const std::optional<CostRefusal> refusal = CheckCostEntry(e, QDate(2006, 6, 1));
        QCOMPARE(
            refusal, text.isEmpty() ? std::nullopt : std::optional(CostRefusal { text, icon }));
    }

    // The cents of an amount: every form the number reader takes, read
    // without a binary fraction; more than two decimals round half away
    // from zero.
    void amountCents_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("cents");
        QTest::addColumn<int>("error");
        const auto ok = [](const char* name, const QString& text, qint64 cents) {
            QTest::newRow(name) << text << cents << 0;
        };
        const auto no = [](const char* name, const QString& text, int error) {
            QTest::newRow(name) << text << qint64(0) << error;
        };
        ok("amount form", u"12,50 €"_s, 1250);
        ok("blanks and one decimal", u" 2,5 €"_s, 250);
        ok("negative", u"-1,25 €"_s, -125);
        ok("no-break blank", u"3,00\u00A0€"_s, 300);
        ok("third decimal half up", u"3,125 €"_s, 313);
        ok("third decimal below half", u"3,1249 €"_s, 312);
        ok("negative half away from zero", u"-3,125"_s, -313);
        ok("leading zeros", u"000000000000000000001,00 €"_s, 100);
        ok("16 whole digits", u"9999999999999999,99 €"_s, 999999999999999999);
        no("17 whole digits", u"10000000000000000 €"_s, 6);
        no("empty", QString(), 13);
        no("euro sign alone", u"€"_s, 13);
        no("point", u"1.000"_s, 13);
        no("sign inside", u"1-2 €"_s, 13);
    }

    void amountCents()
    {
        QFETCH(QString, text);
        QFETCH(int, error);
        qint64 cents = 0;
        QCOMPARE(errorNumberOf([&] { cents = AmountCents(text); }), error);
        if (error == 0)
            QTEST(cents, "cents");
        // What the number reader refuses as no number, the sums refuse too,
        // and the other way round.
        QCOMPARE(errorNumberOf([&] { ParseNumber(text); }) == Err::TypeMismatch,
            error == Err::TypeMismatch);
    }

    // A sum below one euro keeps its sign; the smallest sum shows whole.
    void costSumText()
    {
        QCOMPARE(CostSumText(-7), u"-0,07 €"_s);
        QCOMPARE(CostSumText(std::numeric_limits<qint64>::min()), u"-92233720368547758,08 €"_s);
    }

    // The sums of the listed purchases, in cents: exact over a full log (in
    // single precision they were off by euros). An amount the reader refuses,
    // or a sum that would leave the range of whole cents, is logged and left
    // out; its line is still listed.
    void sums_data()
    {
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<QString>("price");
        QTest::addColumn<QString>("total");
        QTest::addColumn<QStringList>("log");
        const auto item = [](const QString& day, const QString& price) {
            return sampleCostLine({ { 1, u"2006/01/"_s + day }, { 6, price } });
        };
        const QString small = sampleCostLine(
            { { 1, u"2006/01/10"_s }, { 6, u"0,10 €"_s }, { 7, u"0,01 €"_s }, { 8, u"0,11 €"_s } });
        QTest::newRow("full log") << QStringList(32767, small) << u"3276,70 €"_s << u"3604,37 €"_s
                                  << QStringList();
        QTest::newRow("unreadable amounts")
            << QStringList { item(u"01"_s, u"4,50 €"_s), item(u"02"_s, u"viel"_s),
                   item(u"03"_s, u"1,2,3 €"_s), item(u"04"_s, u"1-2 €"_s) }
            << u"4,50 €"_s << u"37,60 €"_s << QStringList(3, u"Sub Test\tError (13)"_s);
        QTest::newRow("beyond whole cents")
            << QStringList(10, item(u"05"_s, u"9999999999999999,99 €"_s))
            << u"89999999999999999,91 €"_s << u"94,00 €"_s
            << QStringList { u"Sub Test\tError (6)"_s };
    }

    void sums()
    {
        QFETCH(QStringList, items);
        TestEnv t;
        ErrorTrap trap(t.env, u"Sub Test"_s);
        const CostListing l = ListCostItems(t.env, items, trap);
        QCOMPARE(l.lines.size(), items.size());
        QTEST(CostSumText(l.sums.price), "price");
        QTEST(CostSumText(l.sums.total), "total");
        QTEST(t.logEntries(), "log");
        QCOMPARE(SumCostLines(l.lines, trap), l.sums);
    }
};

QTEST_GUILESS_MAIN(TestCost)
#include "tst_cost.moc"
