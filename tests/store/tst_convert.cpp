#include "store/ConvertDate.h"
#include "store/ConvertToArray.h"
#include "support/TestEnv.h"

#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

QString line(const QStringList& fields)
{
    return fields.join(u'\t');
}

// The first `filled` fields, the cells after them empty.
QStringList partial(const QStringList& fields, int filled)
{
    return fields.mid(0, filled) + QStringList(fields.size() - filled);
}

} // namespace

class TestConvert : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnv> m_t = std::make_unique<TestEnv>();

private slots:
    void cleanup() { m_t = std::make_unique<TestEnv>(); }

    void convertDate_data()
    {
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("direction");
        QTest::addColumn<QString>("result");
        QTest::newRow("display to stored") << u"01.02.2003"_s << u"de-en"_s << u"2003/02/01"_s;
        QTest::newRow("stored to display") << u"2003/02/01"_s << u"en-de"_s << u"01.02.2003"_s;
        // Positional only: nothing is checked.
        QTest::newRow("wrong form") << u"2003/02/01"_s << u"de-en"_s << u"2/01/3//20"_s;
        QTest::newRow("empty") << QString() << u"en-de"_s << u".."_s;
    }

    void convertDate()
    {
        QFETCH(QString, date);
        QFETCH(QString, direction);
        QTEST(ConvertDate(m_t->env, date, direction), "result");
        QCOMPARE(m_t->logEntries(), QStringList());
    }

    void unknownWord_data()
    {
        QTest::addColumn<bool>("isDate"); // ConvertDate, else ConvertToArray
        QTest::addColumn<QString>("word");
        QTest::newRow("date: upper case") << true << u"EN-DE"_s;
        QTest::newRow("array: other word") << false << u"fische"_s;
    }

    void unknownWord()
    {
        QFETCH(bool, isDate);
        QFETCH(QString, word);
        m_t->dialogs.expectMessage();
        if (isDate)
            QCOMPARE(ConvertDate(m_t->env, u"01.02.2003"_s, word), QString());
        else
            QCOMPARE(ConvertToArray(m_t->env, { line(sampleCatch()) }, word), RecordTable());
        const FakeDialogs::Shown box = m_t->dialogs.shown().value(0);
        QCOMPARE(box.text, u"Unbekannter Parameter: %1\r\nVorgang wird abgebrochen!"_s.arg(word));
        QCOMPARE(box.icon, MsgIcon::Warning);
        QCOMPARE(box.title, QString());
        QCOMPARE(m_t->logEntries(),
            isDate ? QStringList { u"Funktion ConvertDate\tError (01.02.2003 | "_s + word }
                   : QStringList());
    }

    void parse_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<RecordTable>("table");
        QTest::addColumn<bool>("logged"); // "Error (6)" under "Funktion ConvertToArray"

        const QStringList ok = sampleCatch();
        const QStringList other = sampleCatch({ { 2, u"Moritz"_s } });
        const QStringList e17(17);
        const auto fish
            = [&](const char* name, const QStringList& in, const RecordTable& out, bool logged) {
                  QTest::newRow(name) << u"Fisch"_s << in << out << logged;
              };
        fish("two lines", { line(ok), line(other) }, { ok, other }, false);
        const QStringList f254 = sampleCatch({ { 3, QString(254, u'x') } });
        fish("field 3 of 254 chars", { line(f254) }, { f254 }, false);
        const QStringList f255 = sampleCatch({ { 3, QString(255, u'x') } });
        fish("field 3 of 255 chars: the rest stays empty",
            { line(ok), line(f255), line(ok), line(ok) }, { ok, partial(f255, 2), e17, e17 }, true);
        const QStringList g255 = sampleCatch({ { 16, QString(255, u'x') } });
        fish("field 16 of 255 chars", { line(g255) }, { partial(g255, 15) }, true);
        const QStringList long17 = sampleCatch({ { 17, QString(300, u'm') } });
        fish("field 17 has no limit", { line(long17) }, { long17 }, false);
        fish("only 15 TABs", { line(ok.mid(0, 16)), line(ok) }, { partial(ok, 15), e17 }, true);
        fish("empty lines, one log line", { QString(), QString() }, { e17, e17 }, true);
        QString noTab = line(ok);
        noTab[10] = u'X';
        fish("character 11 not looked at", { noTab }, { ok }, false);

        const QStringList cost = sampleCost();
        const QStringList shop300 = sampleCost({ { 2, QString(300, u's') } });
        QTest::newRow("cost: shop of 300 chars")
            << u"KOSTEN"_s << QStringList { line(cost), line(shop300), line(cost) }
            << RecordTable { cost, partial(shop300, 1), QStringList(8) } << true;
        QTest::newRow("cost: catch line, the rest is field 8")
            << u"kosten"_s << QStringList { line(ok) }
            << RecordTable { ok.mid(0, 7) + QStringList { line(ok.mid(7)) } } << false;
    }

    void parse()
    {
        QFETCH(QString, type);
        QFETCH(QStringList, lines);
        QFETCH(bool, logged);
        QTEST(ConvertToArray(m_t->env, lines, type), "table");
        QCOMPARE(m_t->logEntries(),
            logged ? QStringList { u"Funktion ConvertToArray\tError (6)"_s } : QStringList());
    }
};

QTEST_GUILESS_MAIN(TestConvert)
#include "tst_convert.moc"
