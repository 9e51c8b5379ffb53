// ParseNumber must give the double nearest to the decimal text, whatever
// its length: short numbers take a quick path, long ones the general
// conversion, and both must agree with a correctly rounding reader.
#include "store/Numbers.h"

#include <QTest>

#include <bit>
#include <cstdlib>
#include <random>

using namespace Qt::StringLiterals;

class TestParseNumberRounding : public QObject {
    Q_OBJECT

private slots:
    void nearestDouble_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("tenth") << u"0,1"_s << 0.1;
        // 118638 * 0.0001 would be one step off.
        QTest::newRow("four decimals") << u"11,8638"_s << 11.8638;
        QTest::newRow("15 digits") << u"123456789012,345"_s << 123456789012.345;
        QTest::newRow("16 digits") << u"1234567890123,456"_s << 1234567890123.456;
        QTest::newRow("20 decimals") << u"0,30000000000000004441"_s << 0.30000000000000004441;
        QTest::newRow("leading zeros") << u"000000000000000000007,5"_s << 7.5;
        QTest::newRow("sign and blank") << u"- 0,7"_s << -0.7;
        QTest::newRow("amount") << u"19,99 \u20AC"_s << 19.99;
    }

    void nearestDouble()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        // Bit for bit: QCOMPARE of doubles would forgive the last digit.
        QCOMPARE(std::bit_cast<quint64>(ParseNumber(text)), std::bit_cast<quint64>(value));
    }

    // Generated texts of 1 to 18 digits with 0 to 17 decimals against the C
    // library's reader, which rounds correctly.
    void agreesWithStrtod()
    {
        std::mt19937_64 rng(1995);
        int checked = 0;
        for (int i = 0; i < 20000; ++i) {
            const int digits = 1 + int(rng() % 18);
            QByteArray run;
            for (int d = 0; d < digits; ++d)
                run += char('0' + rng() % 10);
            const int decimals = int(rng() % qMin(digits + 1, 18));
            QByteArray plain = run;
            if (decimals > 0)
                plain.insert(digits - decimals, '.');
            QString typed = QString::fromLatin1(plain);
            typed.replace(u'.', u',');
            const double expected = std::strtod(plain.constData(), nullptr);
            if (ParseNumber(typed) != expected)
                QFAIL(qPrintable(u"%1 read as %2, expected %3"_s.arg(typed)
                                     .arg(ParseNumber(typed), 0, 'g', 17)
                                     .arg(expected, 0, 'g', 17)));
            ++checked;
        }
        QCOMPARE(checked, 20000);
    }
};

QTEST_GUILESS_MAIN(TestParseNumberRounding)
#include "tst_parseNumberRounding.moc"
