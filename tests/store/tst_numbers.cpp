#include "platform/Clock.h"
#include "store/Numbers.h"
#include "support/TestEnv.h"

#include <QTest>

#include <bit>
#include <cstdlib>
#include <random>

using namespace Qt::StringLiterals;

class TestNumbers : public QObject {
    Q_OBJECT

private slots:
    // ParseNumber: the double nearest to the decimal text, whatever its
    // length; ParseInt16: the nearest whole number, halves to even.
    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        QTest::addColumn<int>("whole");
        QTest::addColumn<int>("error"); // 13: both refuse; 6: ParseInt16 only
        QTest::addColumn<int>("single"); // ToSingle of the number: 0 or 6
        const auto no = [](const char* name, const QString& text) {
            QTest::newRow(name) << text << 0.0 << 0 << 13 << 0;
        };
        QTest::newRow("blanks around") << u"  64,5 "_s << 64.5 << 64 << 0 << 0;
        QTest::newRow("sign and blank") << u"+ 18"_s << 18.0 << 18 << 0 << 0;
        QTest::newRow("minus attached") << u"-3,25"_s << -3.25 << -3 << 0 << 0;
        QTest::newRow("amount") << u"1234,50 €"_s << 1234.5 << 1234 << 0 << 0;
        QTest::newRow("euro attached") << u"4,50€"_s << 4.5 << 4 << 0 << 0;
        QTest::newRow("leading comma") << u",5"_s << 0.5 << 0 << 0 << 0;
        QTest::newRow("1,5 to even") << u"1,5"_s << 1.5 << 2 << 0 << 0;
        QTest::newRow("-2,5 to even") << u"-2,5"_s << -2.5 << -2 << 0 << 0;
        QTest::newRow("-32768,5 into range") << u"-32768,5"_s << -32768.5 << -32768 << 0 << 0;
        QTest::newRow("32767,5 out of range") << u"32767,5"_s << 32767.5 << 0 << 6 << 0;
        QTest::newRow("20 decimals")
            << u"0,30000000000000004441"_s << 0.30000000000000004441 << 0 << 0 << 0;
        QTest::newRow("leading zeros") << u"000000000000000000007,5"_s << 7.5 << 8 << 0 << 0;
        QTest::newRow("sign, blank, fraction") << u"- 0,7"_s << -0.7 << -1 << 0 << 0;
        // Singles: what rounds to the largest one fits, from halfway to the
        // next power of two on it is too large.
        const QString halfway = u"340282356779733661637539395458142568448"_s;
        QTest::newRow("rounds to largest single")
            << u"340282350000000000000000000000000000000"_s << 3.4028235e38 << 0 << 6 << 0;
        QTest::newRow("just below halfway")
            << u"3402823567797336"_s + QString(23, u'0') << 3.402823567797336e38 << 0 << 6 << 0;
        QTest::newRow("halfway past largest single") << halfway << 0x1.ffffffp127 << 0 << 6 << 6;
        QTest::newRow("negative halfway") << u"-"_s + halfway << -0x1.ffffffp127 << 0 << 6 << 6;
        no("empty", QString());
        no("point is no separator", u"2.5"_s);
        no("two commas", u"1,2,3"_s);
        no("blank inside", u"1 5"_s);
        no("two signs", u"--5"_s);
        no("exponent", u"1e3"_s);
    }

    void parse()
    {
        QFETCH(QString, text);
        QFETCH(int, error);
        double value = 0;
        int whole = 0;
        QCOMPARE(errorNumberOf([&] { value = ParseNumber(text); }), error == 13 ? 13 : 0);
        // Bit for bit: QCOMPARE of doubles would forgive the last digit.
        QFETCH(double, expected);
        QCOMPARE(std::bit_cast<quint64>(value), std::bit_cast<quint64>(expected));
        QCOMPARE(errorNumberOf([&] { whole = ParseInt16(text); }), error);
        QTEST(whole, "whole");
        QTEST(errorNumberOf([&] { ToSingle(value); }), "single");
    }

    // Generated texts of 1 to 18 digits with 0 to 17 decimals against the C
    // library's reader, which rounds correctly.
    void agreesWithStrtod()
    {
        std::mt19937_64 rng(1995);
        for (int i = 0; i < 20000; ++i) {
            const int digits = 1 + int(rng() % 18);
            QByteArray plain;
            for (int d = 0; d < digits; ++d)
                plain += char('0' + rng() % 10);
            const int decimals = int(rng() % qMin(digits + 1, 18));
            if (decimals > 0)
                plain.insert(digits - decimals, '.');
            const QString typed = QString::fromLatin1(plain).replace(u'.', u',');
            QVERIFY2(
                ParseNumber(typed) == std::strtod(plain.constData(), nullptr), plain.constData());
        }
    }

    void twoDecimals_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("4,875") << 4.875 << u"4,88"_s;
        QTest::newRow("1,005 binary below half") << 1.005 << u"1,01"_s;
        QTest::newRow("2,454 down") << 2.454 << u"2,45"_s;
        QTest::newRow("no thousands separator") << 1234.5 << u"1234,50"_s;
        QTest::newRow("carry into new digit") << 99.995 << u"100,00"_s;
        QTest::newRow("negative half away") << -4.875 << u"-4,88"_s;
        QTest::newRow("negative to zero, no sign") << -0.001 << u"0,00"_s;
    }

    void twoDecimals()
    {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(TwoDecimals(value), text);
        QCOMPARE(AmountForm(value), text + u" €"_s);
    }

    void parseDisplayDate_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("date"); // invalid: refused with 13
        QTest::newRow("full form") << u"17.05.2004"_s << QDate(2004, 5, 17);
        QTest::newRow("short day and month") << u"1.5.2004"_s << QDate(2004, 5, 1);
        QTest::newRow("no leap day") << u"29.02.2003"_s << QDate();
        QTest::newRow("two-digit year") << u"1.5.04"_s << QDate();
        QTest::newRow("stored form") << u"2004/05/17"_s << QDate();
        QTest::newRow("three-digit day") << u"017.05.2004"_s << QDate();
        QTest::newRow("trailing text") << u"17.05.2004x"_s << QDate();
    }

    void parseDisplayDate()
    {
        QFETCH(QString, text);
        QFETCH(QDate, date);
        QDate got;
        QCOMPARE(errorNumberOf([&] { got = ParseDisplayDate(text); }), date.isValid() ? 0 : 13);
        QCOMPARE(got, date);
    }

    void dayNumberAndDisplay()
    {
        QCOMPARE(DayNumber(QDate(1899, 12, 30)), 0.0);
        QCOMPARE(DayNumber(QDate(2004, 5, 17)), 38124.0);
        QCOMPARE(DayNumber(QDate(1899, 12, 1)), -29.0);
        QCOMPARE(DisplayDate(QDate(987, 1, 2)), u"02.01.0987"_s);
        const FixedClock lateInTheDay(QDateTime(QDate(2008, 6, 5), QTime(23, 59)));
        QCOMPARE(TodayText(lateInTheDay), u"05.06.2008"_s);
    }
};

QTEST_GUILESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
