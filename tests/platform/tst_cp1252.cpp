#include "platform/Cp1252.h"

#include <QSet>
#include <QTest>

using namespace Qt::StringLiterals;

class TestCp1252 : public QObject {
    Q_OBJECT

private slots:
    void everyByteRoundTrips()
    {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all += char(b);
        const QString text = decode1252(all);
        QCOMPARE(text.size(), 256);
        QCOMPARE(QSet<QChar>(text.begin(), text.end()).size(), 256);
        QCOMPARE(encode1252(text), all);
    }

    void character_data()
    {
        QTest::addColumn<int>("unicode");
        QTest::addColumn<int>("byte"); // -1: none, written as "?"
        QTest::addColumn<bool>("representable");
        QTest::newRow("ASCII") << 0x41 << 0x41 << true;
        QTest::newRow("euro") << 0x20AC << 0x80 << true;
        QTest::newRow("S caron") << 0x0160 << 0x8A << true;
        QTest::newRow("Y diaeresis") << 0x0178 << 0x9F << true;
        QTest::newRow("a umlaut") << 0xE4 << 0xE4 << true;
        QTest::newRow("y diaeresis") << 0xFF << 0xFF << true;
        // The undefined bytes keep their value but are nothing a user types.
        QTest::newRow("undefined 0x81") << 0x81 << 0x81 << false;
        QTest::newRow("undefined 0x9D") << 0x9D << 0x9D << false;
        QTest::newRow("control U+0080") << 0x80 << -1 << false;
        QTest::newRow("Polish l") << 0x0142 << -1 << false;
        QTest::newRow("CJK") << 0x4E2D << -1 << false;
    }

    void character()
    {
        QFETCH(int, unicode);
        QFETCH(int, byte);
        const QString c { QChar(char16_t(unicode)) };
        QCOMPARE(encode1252(u"a"_s + c), QByteArray("a") + char(byte < 0 ? '?' : byte));
        if (byte >= 0)
            QCOMPARE(decode1252(QByteArray(1, char(byte))), c);
        QTEST(isRepresentable1252(c[0]), "representable");
    }
};

QTEST_GUILESS_MAIN(TestCp1252)
#include "tst_cp1252.moc"
