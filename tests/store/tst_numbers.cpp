#include "platform/Clock.h"
#include "platform/RuntimeError.h"
#include "store/Numbers.h"

#include <QTest>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

// The error number f throws, or 0 when it returns normally.
int errorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const RuntimeError& e) {
        return e.number;
    }
    return 0;
}

} // namespace

class TestNumbers : public QObject {
    Q_OBJECT

private slots:
    void parseNumber_data();
    void parseNumber();
    void parseNumberRefused_data();
    void parseNumberRefused();
    void toInt16_data();
    void toInt16();
    void parseInt16_data();
    void parseInt16();
    void twoDecimals_data();
    void twoDecimals();
    void amountFormIsTwoDecimalsAndEuro();
    void parseDisplayDate_data();
    void parseDisplayDate();
    void dayNumber_data();
    void dayNumber();
    void displayDateAndToday();
};

void TestNumbers::parseNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("whole") << u"12"_s << 12.0;
    QTest::newRow("decimal comma") << u"2,5"_s << 2.5;
    QTest::newRow("blanks around") << u"  64,5 "_s << 64.5;
    QTest::newRow("plus and blank") << u"+ 18"_s << 18.0;
    QTest::newRow("minus and blank") << u"- 3"_s << -3.0;
    QTest::newRow("minus attached") << u"-3,25"_s << -3.25;
    QTest::newRow("amount") << u"4,50 \u20AC"_s << 4.5;
    QTest::newRow("euro attached") << u"4,50\u20AC"_s << 4.5;
    QTest::newRow("leading comma") << u",5"_s << 0.5;
    QTest::newRow("trailing comma") << u"7,"_s << 7.0;
    QTest::newRow("zero") << u"0"_s << 0.0;
    QTest::newRow("big amount") << u"1234,50 \u20AC"_s << 1234.5;
}

void TestNumbers::parseNumber()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(ParseNumber(text), value);
}

void TestNumbers::parseNumberRefused_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QString();
    QTest::newRow("blanks only") << u"   "_s;
    QTest::newRow("point is no separator") << u"2.5"_s;
    QTest::newRow("no thousands point") << u"1.000"_s;
    QTest::newRow("two commas") << u"1,2,3"_s;
    QTest::newRow("letters") << u"abc"_s;
    QTest::newRow("trailing letters") << u"12kg"_s;
    QTest::newRow("blank inside") << u"1 5"_s;
    QTest::newRow("sign only") << u"+ "_s;
    QTest::newRow("two signs") << u"--5"_s;
    QTest::newRow("euro only") << u"\u20AC"_s;
    QTest::newRow("comma only") << u","_s;
    QTest::newRow("exponent") << u"1e3"_s;
}

void TestNumbers::parseNumberRefused()
{
    QFETCH(QString, text);
    QCOMPARE(errorOf([&] { ParseNumber(text); }), Err::TypeMismatch);
}

void TestNumbers::toInt16_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("error");
    QTest::newRow("0,5 to even") << 0.5 << 0 << 0;
    QTest::newRow("1,5 to even") << 1.5 << 2 << 0;
    QTest::newRow("2,5 to even") << 2.5 << 2 << 0;
    QTest::newRow("-2,5 to even") << -2.5 << -2 << 0;
    QTest::newRow("2,51 up") << 2.51 << 3 << 0;
    QTest::newRow("-0,4") << -0.4 << 0 << 0;
    QTest::newRow("upper bound") << 32767.0 << 32767 << 0;
    QTest::newRow("lower bound") << -32768.0 << -32768 << 0;
    QTest::newRow("-32768,5 rounds into range") << -32768.5 << -32768 << 0;
    QTest::newRow("32767,5 rounds out") << 32767.5 << 0 << Err::Overflow;
    QTest::newRow("32768") << 32768.0 << 0 << Err::Overflow;
    QTest::newRow("-32769") << -32769.0 << 0 << Err::Overflow;
    QTest::newRow("huge") << 1e300 << 0 << Err::Overflow;
}

void TestNumbers::toInt16()
{
    QFETCH(double, value);
    QFETCH(int, result);
    QFETCH(int, error);
    int got = 0;
    QCOMPARE(errorOf([&] { got = ToInt16(value); }), error);
    QCOMPARE(got, result);
}

void TestNumbers::parseInt16_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("error");
    QTest::newRow("quantity 2,5") << u"2,5"_s << 2 << 0;
    QTest::newRow("temperature + 18") << u"+ 18"_s << 18 << 0;
    QTest::newRow("not a number") << u"abc"_s << 0 << Err::TypeMismatch;
    QTest::newRow("too large") << u"40000"_s << 0 << Err::Overflow;
}

void TestNumbers::parseInt16()
{
    QFETCH(QString, text);
    QFETCH(int, result);
    QFETCH(int, error);
    int got = 0;
    QCOMPARE(errorOf([&] { got = ParseInt16(text); }), error);
    QCOMPARE(got, result);
}

void TestNumbers::twoDecimals_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("2,5") << 2.5 << u"2,50"_s;
    QTest::newRow("12") << 12.0 << u"12,00"_s;
    QTest::newRow("2,456") << 2.456 << u"2,46"_s;
    QTest::newRow("4,875 binary below half") << 4.875 << u"4,88"_s;
    QTest::newRow("1,005 binary below half") << 1.005 << u"1,01"_s;
    QTest::newRow("2,675") << 2.675 << u"2,68"_s;
    QTest::newRow("2,454 down") << 2.454 << u"2,45"_s;
    QTest::newRow("no thousands separator") << 1234.5 << u"1234,50"_s;
    QTest::newRow("carry through nines") << 9.995 << u"10,00"_s;
    QTest::newRow("carry into new digit") << 99.999 << u"100,00"_s;
    QTest::newRow("zero") << 0.0 << u"0,00"_s;
    QTest::newRow("small") << 0.004 << u"0,00"_s;
    QTest::newRow("small up") << 0.005 << u"0,01"_s;
    QTest::newRow("negative") << -2.5 << u"-2,50"_s;
    QTest::newRow("negative half away") << -4.875 << u"-4,88"_s;
    QTest::newRow("negative to zero has no sign") << -0.001 << u"0,00"_s;
    QTest::newRow("minus zero") << -0.0 << u"0,00"_s;
    QTest::newRow("single precision product") << double(4.5f * 3.0f) << u"13,50"_s;
    QTest::newRow("large") << 1e15 << u"1000000000000000,00"_s;
}

void TestNumbers::twoDecimals()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(TwoDecimals(value), text);
}

void TestNumbers::amountFormIsTwoDecimalsAndEuro()
{
    QCOMPARE(AmountForm(4.5), u"4,50 \u20AC"_s);
    QCOMPARE(AmountForm(0), u"0,00 \u20AC"_s);
    // An amount written by the program reads back as the same number.
    QCOMPARE(ParseNumber(AmountForm(13.5)), 13.5);
}

void TestNumbers::parseDisplayDate_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("date"); // invalid: refused with 13
    QTest::newRow("full form") << u"17.05.2004"_s << QDate(2004, 5, 17);
    QTest::newRow("short day and month") << u"1.5.2004"_s << QDate(2004, 5, 1);
    QTest::newRow("leap day") << u"29.02.2004"_s << QDate(2004, 2, 29);
    QTest::newRow("no leap day") << u"29.02.2003"_s << QDate();
    QTest::newRow("31 February") << u"31.02.2004"_s << QDate();
    QTest::newRow("month 13") << u"01.13.2004"_s << QDate();
    QTest::newRow("day 0") << u"00.05.2004"_s << QDate();
    QTest::newRow("two-digit year") << u"1.5.04"_s << QDate();
    QTest::newRow("stored form") << u"2004/05/17"_s << QDate();
    QTest::newRow("three-digit day") << u"017.05.2004"_s << QDate();
    QTest::newRow("trailing text") << u"17.05.2004x"_s << QDate();
    QTest::newRow("blank") << u" 17.05.2004"_s << QDate();
    QTest::newRow("empty") << QString() << QDate();
    QTest::newRow("incomplete") << u"17.05."_s << QDate();
}

void TestNumbers::parseDisplayDate()
{
    QFETCH(QString, text);
    QFETCH(QDate, date);
    QDate got;
    const int err = errorOf([&] { got = ParseDisplayDate(text); });
    if (date.isValid()) {
        QCOMPARE(err, 0);
        QCOMPARE(got, date);
    } else {
        QCOMPARE(err, Err::TypeMismatch);
    }
}

void TestNumbers::dayNumber_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<double>("day");
    QTest::newRow("origin") << QDate(1899, 12, 30) << 0.0;
    QTest::newRow("next day") << QDate(1899, 12, 31) << 1.0;
    QTest::newRow("1900") << QDate(1900, 1, 1) << 2.0;
    QTest::newRow("2004") << QDate(2004, 5, 17) << 38124.0;
    QTest::newRow("before origin") << QDate(1899, 12, 1) << -29.0;
}

void TestNumbers::dayNumber()
{
    QFETCH(QDate, date);
    QFETCH(double, day);
    QCOMPARE(DayNumber(date), day);
}

void TestNumbers::displayDateAndToday()
{
    QCOMPARE(DisplayDate(QDate(2004, 5, 7)), u"07.05.2004"_s);
    QCOMPARE(DisplayDate(QDate(987, 1, 2)), u"02.01.0987"_s);
    const FixedClock clock(QDateTime(QDate(2008, 6, 5), QTime(23, 59, 59)));
    QCOMPARE(TodayText(clock), u"05.06.2008"_s);
    QCOMPARE(ParseDisplayDate(TodayText(clock)), QDate(2008, 6, 5));
}

QTEST_GUILESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
