#include "store/ConvertToArray.h"
#include "support/TestEnv.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QStringList kCatchFieldsOk = { u"2004/05/17"_s, u"Max"_s, u"06:30"_s, u"06:45"_s, u"10:00"_s,
    u"Karpfen*"_s, u"12,40"_s, u"84"_s, u"Baggersee"_s, u"Steg 3"_s, u"Festblei"_s, u"Boilie"_s,
    u"sonnig"_s, u"+ 18"_s, u"+ 14"_s, u"2,5"_s, u"Vollmond"_s };

const QStringList kCostFieldsOk = { u"2006/03/05"_s, u"Anglerladen"_s, u"3"_s, u"Haken Gr. 8"_s,
    u"1,50 \u20AC"_s, u"4,50 \u20AC"_s, u"4,90 \u20AC"_s, u"9,40 \u20AC"_s };

QStringList withField(QStringList fields, int number, const QString& value)
{
    fields[number - 1] = value;
    return fields;
}

QString line(const QStringList& fields)
{
    return fields.join(u'\t');
}

// A row holding the first `filled` fields and empty cells after them.
QStringList partial(const QStringList& fields, int filled)
{
    QStringList row(fields.size());
    for (int i = 0; i < filled; ++i)
        row[i] = fields[i];
    return row;
}

const QString kLogLine = u"Funktion ConvertToArray\tError (6)"_s;

// The log's entries; none when no log was written at all.
QStringList logOf(const TestEnv& t)
{
    if (!QFileInfo::exists(t.path(u"kescherheft.log"_s)))
        return {};
    return t.logEntries();
}

} // namespace

class TestConvertToArray : public QObject {
    Q_OBJECT

private slots:
    void init() { m_t = std::make_unique<TestEnv>(); }
    void cleanup()
    {
        m_t->dialogs.verifyDone();
        m_t.reset();
    }

    void parse_data();
    void parse();
    void unknownTypeWord_data();
    void unknownTypeWord();
    void fullLoadIsFast();

private:
    std::unique_ptr<TestEnv> m_t;
};

void TestConvertToArray::parse_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<RecordTable>("table");
    QTest::addColumn<bool>("logged");

    const QString pad254 = QString(254, u'x');
    const QString pad255 = QString(255, u'x');
    const QStringList empty17(17);
    const QStringList empty8(8);
    const QStringList ok = kCatchFieldsOk;
    const QStringList other = withField(ok, 2, u"Moritz"_s);

    QTest::newRow("catch line") << u"fisch"_s << QStringList { line(ok) } << RecordTable { ok }
                                << false;
    QTest::newRow("type word in any case") << u"Fisch"_s << QStringList { line(ok), line(other) }
                                           << RecordTable { ok, other } << false;
    QTest::newRow("no lines") << u"fisch"_s << QStringList() << RecordTable() << false;

    const QStringList f254 = withField(ok, 3, pad254);
    QTest::newRow("field 3 of 254 chars")
        << u"fisch"_s << QStringList { line(f254), line(ok) } << RecordTable { f254, ok } << false;
    const QStringList f255 = withField(ok, 3, pad255);
    QTest::newRow("field 3 of 255 chars")
        << u"fisch"_s << QStringList { line(ok), line(f255), line(ok), line(ok) }
        << RecordTable { ok, partial(f255, 2), empty17, empty17 } << true;
    const QStringList f16 = withField(ok, 16, pad254);
    QTest::newRow("field 16 of 254 chars")
        << u"fisch"_s << QStringList { line(f16) } << RecordTable { f16 } << false;
    const QStringList long17 = withField(ok, 17, QString(300, u'm'));
    QTest::newRow("field 17 has no limit")
        << u"fisch"_s << QStringList { line(long17) } << RecordTable { long17 } << false;
    const QStringList empty17th = withField(ok, 17, QString());
    QTest::newRow("empty field 17")
        << u"fisch"_s << QStringList { line(empty17th) } << RecordTable { empty17th } << false;

    // Fields 1..16 joined: only 15 TABs.
    QTest::newRow("only 15 TABs") << u"fisch"_s << QStringList { line(ok.mid(0, 16)), line(ok) }
                                  << RecordTable { partial(ok, 15), empty17 } << true;
    QTest::newRow("empty line") << u"fisch"_s << QStringList { line(ok), QString(), line(ok) }
                                << RecordTable { ok, empty17, empty17 } << true;
    QTest::newRow("short line") << u"fisch"_s << QStringList { u"abc"_s }
                                << RecordTable { withField(empty17, 1, u"abc"_s) } << true;
    QTest::newRow("two bad lines, one log line")
        << u"fisch"_s << QStringList { QString(), QString() } << RecordTable { empty17, empty17 }
        << true;

    // The character after the date is skipped without a look.
    QString noTab = line(ok);
    noTab[10] = u'X';
    QTest::newRow("character 11 not looked at")
        << u"fisch"_s << QStringList { noTab } << RecordTable { ok } << false;

    const QStringList cost = kCostFieldsOk;
    QTest::newRow("cost line") << u"KOSTEN"_s << QStringList { line(cost) } << RecordTable { cost }
                               << false;
    const QStringList shop300 = withField(cost, 2, QString(300, u's'));
    QTest::newRow("cost shop of 300 chars")
        << u"kosten"_s << QStringList { line(cost), line(shop300), line(cost) }
        << RecordTable { cost, partial(shop300, 1), empty8 } << true;
    const QStringList long8 = withField(cost, 8, QString(400, u'9'));
    QTest::newRow("cost field 8 has no limit")
        << u"kosten"_s << QStringList { line(long8) } << RecordTable { long8 } << false;
    // A catch line read as a cost line: everything after the 7th TAB is field 8.
    QTest::newRow("catch line as cost")
        << u"kosten"_s << QStringList { line(ok) }
        << RecordTable { ok.mid(0, 7) + QStringList { line(ok.mid(7)) } } << false;
}

void TestConvertToArray::parse()
{
    QFETCH(QString, type);
    QFETCH(QStringList, lines);
    QFETCH(RecordTable, table);
    QFETCH(bool, logged);

    QCOMPARE(ConvertToArray(m_t->env, lines, type), table);
    QCOMPARE(logOf(*m_t), logged ? QStringList { kLogLine } : QStringList());
}

void TestConvertToArray::unknownTypeWord_data()
{
    QTest::addColumn<QString>("type");
    QTest::newRow("other word") << u"fische"_s;
    QTest::newRow("empty") << QString();
    QTest::newRow("blank around") << u" fisch"_s;
}

void TestConvertToArray::unknownTypeWord()
{
    QFETCH(QString, type);
    m_t->dialogs.expectMessage();
    QCOMPARE(ConvertToArray(m_t->env, { line(kCatchFieldsOk) }, type), RecordTable());
    QCOMPARE(m_t->dialogs.shown().size(), 1);
    const FakeDialogs::Shown& box = m_t->dialogs.shown().first();
    QCOMPARE(box.text, u"Unbekannter Parameter: "_s + type + u"\r\nVorgang wird abgebrochen!"_s);
    QCOMPARE(box.icon, MsgIcon::Warning);
    QCOMPARE(box.buttons, MsgButtons::Ok);
    QCOMPARE(logOf(*m_t), QStringList());
}

void TestConvertToArray::fullLoadIsFast()
{
    // A full catch log parsed in one go; anything quadratic would take seconds.
    QStringList lines;
    for (int i = 0; i < 32767; ++i)
        lines.append(line(withField(kCatchFieldsOk, 2, QString::number(i))));
    QElapsedTimer timer;
    timer.start();
    const RecordTable table = ConvertToArray(m_t->env, lines, u"fisch"_s);
    const qint64 ms = timer.elapsed();
    QCOMPARE(table.size(), 32767);
    QCOMPARE(table.last()[1], u"32766"_s);
    QCOMPARE(table.last()[16], u"Vollmond"_s);
    QVERIFY2(ms < 500, qPrintable(QString::number(ms) + u" ms"_s));
    qDebug("32767 lines in %lld ms", ms);
}

QTEST_GUILESS_MAIN(TestConvertToArray)
#include "tst_convertToArray.moc"
