#include "platform/Cp1252.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestCp1252 : public QObject {
    Q_OBJECT

private slots:
    void everyByteRoundTrips();
    void mapping_data();
    void mapping();
    void unrepresentableBecomesQuestionMark();
    void representable_data();
    void representable();
};

void TestCp1252::everyByteRoundTrips()
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all += char(b);
    const QString text = decode1252(all);
    QCOMPARE(text.size(), 256);
    QCOMPARE(encode1252(text), all);
    // No two bytes share a character.
    QSet<QChar> seen(text.begin(), text.end());
    QCOMPARE(seen.size(), 256);
}

void TestCp1252::mapping_data()
{
    QTest::addColumn<int>("byte");
    QTest::addColumn<int>("unicode");
    QTest::newRow("ASCII") << 0x41 << 0x41;
    QTest::newRow("TAB") << 0x09 << 0x09;
    QTest::newRow("euro") << 0x80 << 0x20AC;
    QTest::newRow("undefined 0x81") << 0x81 << 0x81;
    QTest::newRow("undefined 0x8D") << 0x8D << 0x8D;
    QTest::newRow("undefined 0x8F") << 0x8F << 0x8F;
    QTest::newRow("undefined 0x90") << 0x90 << 0x90;
    QTest::newRow("undefined 0x9D") << 0x9D << 0x9D;
    QTest::newRow("low quote") << 0x84 << 0x201E;
    QTest::newRow("S caron") << 0x8A << 0x0160;
    QTest::newRow("Y diaeresis") << 0x9F << 0x0178;
    QTest::newRow("no-break space") << 0xA0 << 0xA0;
    QTest::newRow("degree") << 0xB0 << 0xB0;
    QTest::newRow("A umlaut") << 0xC4 << 0xC4;
    QTest::newRow("O umlaut") << 0xD6 << 0xD6;
    QTest::newRow("U umlaut") << 0xDC << 0xDC;
    QTest::newRow("sharp s") << 0xDF << 0xDF;
    QTest::newRow("a umlaut") << 0xE4 << 0xE4;
    QTest::newRow("y diaeresis") << 0xFF << 0xFF;
}

void TestCp1252::mapping()
{
    QFETCH(int, byte);
    QFETCH(int, unicode);
    const QString text = decode1252(QByteArray(1, char(byte)));
    QCOMPARE(text, QString(QChar(char16_t(unicode))));
    QCOMPARE(encode1252(text), QByteArray(1, char(byte)));
}

void TestCp1252::unrepresentableBecomesQuestionMark()
{
    QCOMPARE(encode1252(u"a\u4E2Db\u2603"_s), QByteArray("a?b?"));
    QCOMPARE(encode1252(u"F\u00E4nger 4,50 \u20AC"_s), QByteArray("F\xE4nger 4,50 \x80"));
}

void TestCp1252::representable_data()
{
    QTest::addColumn<int>("unicode");
    QTest::addColumn<bool>("ok");
    QTest::newRow("letter") << 0x61 << true;
    QTest::newRow("a umlaut") << 0xE4 << true;
    QTest::newRow("euro") << 0x20AC << true;
    QTest::newRow("en dash") << 0x2013 << true;
    QTest::newRow("control 0x81") << 0x81 << false;
    QTest::newRow("control 0x80") << 0x80 << false;
    QTest::newRow("CJK") << 0x4E2D << false;
    QTest::newRow("Polish l") << 0x0142 << false;
}

void TestCp1252::representable()
{
    QFETCH(int, unicode);
    QFETCH(bool, ok);
    QCOMPARE(isRepresentable1252(QChar(char16_t(unicode))), ok);
}

QTEST_GUILESS_MAIN(TestCp1252)
#include "tst_cp1252.moc"
