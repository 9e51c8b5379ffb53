#include "platform/ErrorLog.h"
#include "store/Logbook.h"
#include "store/Numbers.h"
#include "support/TestEnv.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString kCatchFile = u"db\\fänge\\db"_s;
const QString kCostFile = u"db\\kosten\\db"_s;

QString catchOn(const QString& date, const QString& angler = u"Max"_s)
{
    return sampleCatch({ { 1, date }, { 2, angler } }).join(u'\t');
}

QString costOn(const QString& date, const QString& article = u"Haken"_s)
{
    return sampleCost({ { 1, date }, { 4, article } }).join(u'\t');
}

QString listLineOf(const QString& item)
{
    const QString date = item.mid(8, 2) + u'.' + item.mid(5, 2) + u'.' + item.left(4);
    return (item.contains(u'*') ? u"X\t"_s : u" \t"_s) + date + item.mid(10);
}

// A program folder with these logs, read by a log owner.
struct Book {
    explicit Book(const QByteArray& catches, const QByteArray& costs = {})
    {
        t.write(kCatchFile, catches);
        t.write(kCostFile, costs);
        log.refresh(u"Test"_s);
    }
    TestEnv t;
    Logbook log { t.env };
    ErrorTrap trap { t.env, u"Test"_s };
};

} // namespace

class TestLogbook : public QObject {
    Q_OBJECT

private slots:
    void listsNewestFirstAndKeepsTheFileOrderForStatistics()
    {
        const QString a = catchOn(u"2004/05/16"_s), b = catchOn(u"2004/05/18"_s);
        Book f(recordFileBytes({ a, b }));
        Logbook& book = f.log;
        QCOMPARE(book.catchLines(), QStringList({ listLineOf(b), listLineOf(a) }));
        QCOMPARE(book.catchItem(0), b);
        QCOMPARE(book.catchItem(1), a);
        QCOMPARE(book.catchItem(2), QString());
        QCOMPARE(book.catchNumbers().size(), 2);
        QCOMPARE(book.catchFileSize(), recordFileBytes({ a, b }).size());
    }

    void readsOnlyWhenTheFileChanged()
    {
        Book f(recordFileBytes({ catchOn(u"2004/05/16"_s) }));
        QSignalSpy spy(&f.log, &Logbook::catchesChanged);
        f.log.refresh(u"Test"_s);
        QCOMPARE(spy.count(), 0);
        // Same length, other text: read again.
        f.t.write(kCatchFile, recordFileBytes({ catchOn(u"2004/05/17"_s) }));
        f.log.refresh(u"Test"_s);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(f.log.catchItem(0), catchOn(u"2004/05/17"_s));
    }

    // Lines the program did not edit go back byte for byte, whatever their
    // form, and line ends of every kind end a line.
    void rewriteKeepsEveryOtherLine_data()
    {
        QTest::addColumn<QByteArray>("odd"); // a line not in record form, without line end
        QTest::addColumn<QByteArray>("lineEnd");
        QTest::newRow("unquoted with a quote inside")
            << QByteArray("2004/05/10\tA \"B\" C") << QByteArray("\r\n");
        QTest::newRow("quoted with an inner quote")
            << QByteArray("\"2004/05/10\tA\"B\tC\"") << QByteArray("\r\n");
        QTest::newRow("text after the closing quote")
            << QByteArray("\"2004/05/10\tA\" Rest") << QByteArray("\n");
        QTest::newRow("no closing quote") << QByteArray("\"2004/05/10\tA") << QByteArray("\r");
        QTest::newRow("undefined code page bytes")
            << QByteArray("\x81\x8d\x8f\x90\x9d") << QByteArray("\r\n");
    }

    void rewriteKeepsEveryOtherLine()
    {
        QFETCH(QByteArray, odd);
        QFETCH(QByteArray, lineEnd);
        const QString keep = catchOn(u"2004/05/16"_s), gone = catchOn(u"2004/05/18"_s);
        QByteArray bytes;
        for (const QByteArray& line :
            { RecordLine(gone).chopped(2), odd, RecordLine(keep).chopped(2) })
            bytes += line + lineEnd;
        Book f(bytes);
        QCOMPARE(f.log.catchCount(), 2);
        QVERIFY(f.log.removeCatch(0, f.trap));
        QCOMPARE(f.t.read(kCatchFile), RecordLine(keep) + odd + "\r\n");
        // Twice: the second rewrite changes nothing either.
        f.log.appendCatch(gone, f.trap);
        QVERIFY(f.log.removeCatch(f.log.catchLines().indexOf(listLineOf(gone)), f.trap));
        QCOMPARE(f.t.read(kCatchFile), RecordLine(keep) + odd + "\r\n");
    }

    void damagedLineHidesOnlyItself()
    {
        Book f(recordFileBytes({ catchOn(u"2004/05/16"_s) }) + "\"2004/05/17\tkaputt\"\r\n"
            + recordFileBytes(
                { catchOn(u"2004/06/01"_s), catchOn(u"2004/06/02"_s), catchOn(u"2004/06/03"_s) }));
        f.log.refresh(u"Test"_s);
        QCOMPARE(f.log.catchCount(), 4);
        QCOMPARE(f.log.catchNumbers().size(), 4);
        // Reported once per reading, not once per line or per refresh.
        QCOMPARE(f.t.logEntries(), QStringList { u"Funktion ConvertToArray\tError (6)"_s });
    }

    // Another program (or a hand edit) changed the file since it was read:
    // the change is applied to what the file holds now.
    void changeUnderneathIsKept()
    {
        const QString a = catchOn(u"2004/05/16"_s), b = catchOn(u"2004/05/18"_s),
                      other = catchOn(u"2004/05/17"_s, u"Anna"_s);
        Book f(recordFileBytes({ a, b }));
        Logbook& book = f.log;
        ErrorTrap& trap = f.trap;
        const TestEnv& t = f.t;
        t.write(kCatchFile, recordFileBytes({ a, b, other }));
        QVERIFY(book.removeCatch(0, trap)); // b, as listed before
        QCOMPARE(t.read(kCatchFile), recordFileBytes({ other, a }));
        // A catch removed elsewhere in the meantime is not there to remove.
        t.write(kCatchFile, recordFileBytes({ a }));
        QVERIFY(!book.removeCatch(0, trap));
        QCOMPARE(t.read(kCatchFile), recordFileBytes({ a }));
        // An append after a change elsewhere lists both.
        t.write(kCatchFile, recordFileBytes({ a, other }));
        QVERIFY(book.appendCatch(b, trap));
        QCOMPARE(
            book.catchLines(), QStringList({ listLineOf(b), listLineOf(other), listLineOf(a) }));
    }

    // A write that fails for want of space leaves the file as it was.
    void fullDiskChangesNothing_data()
    {
        QTest::addColumn<int>("action"); // append, remove a catch; append, remove a purchase
        QTest::newRow("append a catch") << 0;
        QTest::newRow("remove a catch") << 1;
        QTest::newRow("append a purchase") << 2;
        QTest::newRow("remove a purchase") << 3;
    }

    void fullDiskChangesNothing()
    {
        QFETCH(int, action);
        const QByteArray catches = recordFileBytes(
            { catchOn(u"2004/05/16"_s), catchOn(u"2004/05/17"_s), catchOn(u"2004/05/18"_s) });
        const QByteArray costs = recordFileBytes(
            { costOn(u"2004/05/16"_s), costOn(u"2004/05/17"_s), costOn(u"2004/05/18"_s) });
        Book f(catches, costs);
        Logbook& book = f.log;
        ErrorTrap& trap = f.trap;
        bool done = true;
        {
            FileSizeLimit full(100);
            switch (action) {
            case 0:
                done = book.appendCatch(catchOn(u"2004/05/19"_s), trap);
                break;
            case 1:
                done = book.removeCatch(0, trap);
                break;
            case 2:
                done = book.appendCost(costOn(u"2004/05/19"_s), trap);
                break;
            default:
                done = book.removeCost(0, QString(), trap);
            }
        }
        QVERIFY(!done);
        QCOMPARE(f.t.read(kCatchFile), catches);
        QCOMPARE(f.t.read(kCostFile), costs);
    }

    void editTakesOutAndPutsBackTheSameBytes()
    {
        const QString a = catchOn(u"2004/05/16"_s);
        // A date without its leading zero has no list form to turn back.
        const QString odd = catchOn(u"2004/5/17"_s);
        Book f(recordFileBytes({ a, odd }));
        Logbook& book = f.log;
        ErrorTrap& trap = f.trap;
        const TestEnv& t = f.t;
        const int row = int(book.catchLines().indexOf(CatchListLine(t.env, odd)));
        QVERIFY(book.takeCatchForEdit(row, trap));
        QVERIFY(book.editFlag);
        QCOMPARE(book.editRecord, CatchListLine(t.env, odd).mid(2));
        QCOMPARE(t.read(kCatchFile), recordFileBytes({ a }));
        QVERIFY(book.putBackCatch(trap));
        QVERIFY(!book.editFlag);
        QCOMPARE(t.read(kCatchFile), recordFileBytes({ a, odd }));
    }

    void costsListSumAndKeepWhatTheyDoNotList()
    {
        const QString jan = costOn(u"2004/01/10"_s), feb = costOn(u"2004/02/10"_s, u"Schnur"_s);
        const QString unlisted = u"2004/1/5\tkurz"_s;
        Book f(QByteArray(), recordFileBytes({ jan, unlisted, feb }));
        Logbook& book = f.log;
        const TestEnv& t = f.t;
        QCOMPARE(book.costCount(), 2);
        QCOMPARE(book.costItem(0), feb);
        // Both purchases cost the same: the sums hold two of each amount,
        // in cents.
        const qint64 price = 450, total = 940;
        QCOMPARE(book.costSums().price, price + price);
        QCOMPARE(book.costSums().total, total + total);
        // Taking February out for editing while January is still pending.
        QVERIFY(book.removeCost(0, jan, f.trap));
        QCOMPARE(t.read(kCostFile), recordFileBytes({ jan, unlisted, jan }));
        QCOMPARE(book.costLines(), QStringList({ book.costLine(0), book.costLine(0) }));
        QCOMPARE(book.costItem(1), jan);
        QCOMPARE(book.costSums().total, total + total);
    }
};

QTEST_GUILESS_MAIN(TestLogbook)
#include "tst_logbook.moc"
