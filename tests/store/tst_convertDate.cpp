#include "store/ConvertDate.h"
#include "support/TestEnv.h"

#include <QFileInfo>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

class TestConvertDate : public QObject {
    Q_OBJECT

private slots:
    void init() { m_t = std::make_unique<TestEnv>(); }
    void cleanup()
    {
        m_t->dialogs.verifyDone();
        m_t.reset();
    }

    void convert_data();
    void convert();
    void roundTrip();
    void unknownDirection_data();
    void unknownDirection();

private:
    std::unique_ptr<TestEnv> m_t;
};

void TestConvertDate::convert_data()
{
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("direction");
    QTest::addColumn<QString>("result");
    QTest::newRow("display to stored") << u"01.02.2003"_s << u"de-en"_s << u"2003/02/01"_s;
    QTest::newRow("stored to display") << u"2003/02/01"_s << u"en-de"_s << u"01.02.2003"_s;
    QTest::newRow("17.05.2004") << u"17.05.2004"_s << u"de-en"_s << u"2004/05/17"_s;
    QTest::newRow("stored form scrambled") << u"2003/02/01"_s << u"de-en"_s << u"2/01/3//20"_s;
    QTest::newRow("display form scrambled") << u"17.05.2004"_s << u"en-de"_s << u"04..2.17.0"_s;
    QTest::newRow("short input") << u"1.5.04"_s << u"de-en"_s << u"/.0/1."_s;
    QTest::newRow("short input en-de") << u"2004/5"_s << u"en-de"_s << u".5.2004"_s;
    QTest::newRow("separators not looked at") << u"01-02-2003"_s << u"de-en"_s << u"2003/02/01"_s;
    QTest::newRow("empty de-en") << QString() << u"de-en"_s << u"//"_s;
    QTest::newRow("empty en-de") << QString() << u"en-de"_s << u".."_s;
    QTest::newRow("longer input cut") << u"01.02.2003 12:00"_s << u"de-en"_s << u"2003/02/01"_s;
}

void TestConvertDate::convert()
{
    QFETCH(QString, date);
    QFETCH(QString, direction);
    QFETCH(QString, result);
    QCOMPARE(ConvertDate(m_t->env, date, direction), result);
    QVERIFY(!QFileInfo::exists(m_t->path(u"kescherheft.log"_s)));
}

void TestConvertDate::roundTrip()
{
    // Stored dates compare as texts in date order; the display form does not.
    const QString a = ConvertDate(m_t->env, u"31.12.2003"_s, u"de-en"_s);
    const QString b = ConvertDate(m_t->env, u"01.01.2004"_s, u"de-en"_s);
    QVERIFY(a < b);
    QCOMPARE(ConvertDate(m_t->env, b, u"en-de"_s), u"01.01.2004"_s);
}

void TestConvertDate::unknownDirection_data()
{
    QTest::addColumn<QString>("direction");
    QTest::newRow("upper case") << u"EN-DE"_s;
    QTest::newRow("mixed case") << u"De-en"_s;
    QTest::newRow("underscore") << u"de_en"_s;
    QTest::newRow("blank after") << u"de-en "_s;
    QTest::newRow("empty") << QString();
}

void TestConvertDate::unknownDirection()
{
    QFETCH(QString, direction);
    m_t->dialogs.expectMessage();
    QVERIFY(ConvertDate(m_t->env, u"01.02.2003"_s, direction).isEmpty());

    QCOMPARE(m_t->dialogs.shown().size(), 1);
    const FakeDialogs::Shown& box = m_t->dialogs.shown().first();
    QCOMPARE(
        box.text, u"Unbekannter Parameter: "_s + direction + u"\r\nVorgang wird abgebrochen!"_s);
    QCOMPARE(box.icon, MsgIcon::Warning);
    QCOMPARE(box.title, QString());
    QCOMPARE(m_t->read(u"kescherheft.log"_s),
        "17.05.2004\t14:30:00\tFunktion ConvertDate\tError (01.02.2003 | " + direction.toLatin1()
            + "\r\n");
}

QTEST_GUILESS_MAIN(TestConvertDate)
#include "tst_convertDate.moc"
