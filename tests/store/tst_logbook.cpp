#include "platform/ErrorLog.h"
#include "platform/Paths.h"
#include "store/Logbook.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QSignalSpy>
#include <QTest>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

QString costOn(const QString& date, const QString& article = u"Haken"_s)
{
    return sampleCostLine({ { 1, date }, { 4, article } });
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
        t.write(kCatchLogPath, catches);
        t.write(kCostLogPath, costs);
        log.refresh(u"Test"_s);
    }
    TestEnv t;
    Logbook log { t.env };
    ErrorTrap trap { t.env, u"Test"_s };
};
using Change = std::function<void(Book&)>;

} // namespace

Q_DECLARE_METATYPE(Change)

class TestLogbook : public QObject {
    Q_OBJECT

private slots:
    void listsNewestFirstAndKeepsTheFileOrderForStatistics()
    {
        const QString a = catchOn(u"2004/05/16"_s), b = catchOn(u"2004/05/18"_s);
        Book f(recordFileBytes({ a, b }));
        QCOMPARE(f.log.catchLines(), QStringList({ listLineOf(b), listLineOf(a) }));
        QCOMPARE(f.log.catchItem(0), b);
        QCOMPARE(f.log.catchItem(1), a);
        QCOMPARE(f.log.catchItem(2), QString());
        QCOMPARE(f.log.catchNumbers().size(), 2);
        QCOMPARE(f.log.catchFileSize(), recordFileBytes({ a, b }).size());
    }

    // Each change is reported by the log it touched, once; a batch holds
    // the reports back until it ends, then reports each log once.
    void changesAreReported_data()
    {
        QTest::addColumn<Change>("change"); // to two catches and two purchases
        QTest::addColumn<QList<int>>("reports"); // of the catches and of the costs
        const QString later = catchOn(u"2004/05/19"_s);
        QTest::newRow("refresh, nothing changed")
            << Change([](Book& f) { f.log.refresh(u"Test"_s); }) << QList { 0, 0 };
        QTest::newRow("refresh, same length changed elsewhere") << Change([later](Book& f) {
            f.t.write(kCatchLogPath, recordFileBytes({ later, later }));
            f.log.refresh(u"Test"_s);
        }) << QList { 1, 0 };
        QTest::newRow("append a catch")
            << Change([later](Book& f) { QVERIFY(f.log.appendCatch(later, f.trap)); })
            << QList { 1, 0 };
        QTest::newRow("take out and put back a catch") << Change([](Book& f) {
            QVERIFY(f.log.takeCatchForEdit(0, f.trap) && f.log.putBackCatch(f.trap));
        }) << QList { 2, 0 };
        QTest::newRow("remove a purchase, one put back")
            << Change([](Book& f) { QVERIFY(f.log.removeCost(0, f.log.costItem(1), f.trap)); })
            << QList { 0, 1 };
        QTest::newRow("sort both")
            << Change([](Book& f) { QVERIFY(f.log.sortLogs()); }) << QList { 1, 1 };
        QTest::newRow("read both again, unchanged")
            << Change([](Book& f) { f.log.reread(u"Test"_s); }) << QList { 1, 1 };
        QTest::newRow("three changes in a batch") << Change([later](Book& f) {
            Logbook::Batch batch(f.log);
            QVERIFY(f.log.removeCatch(0, f.trap) && f.log.appendCatch(later, f.trap));
            QVERIFY(f.log.appendCost(f.log.costItem(0), f.trap));
        }) << QList { 1, 1 };
    }
    void changesAreReported()
    {
        QFETCH(Change, change);
        Book f(recordFileBytes({ catchOn(u"2004/05/16"_s), catchOn(u"2004/05/18"_s) }),
            recordFileBytes({ costOn(u"2004/01/10"_s), costOn(u"2004/02/10"_s) }));
        QSignalSpy catches(&f.log, &Logbook::catchesChanged), costs(&f.log, &Logbook::costsChanged);
        change(f);
        QTEST((QList { int(catches.count()), int(costs.count()) }), "reports");
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
        QCOMPARE(f.t.read(kCatchLogPath), RecordLine(keep) + odd + "\r\n");
        // Twice: the second rewrite changes nothing either.
        f.log.appendCatch(gone, f.trap);
        QVERIFY(f.log.removeCatch(f.log.catchLines().indexOf(listLineOf(gone)), f.trap));
        QCOMPARE(f.t.read(kCatchLogPath), RecordLine(keep) + odd + "\r\n");
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
        f.t.write(kCatchLogPath, recordFileBytes({ a, b, other }));
        QVERIFY(f.log.removeCatch(0, f.trap)); // b, as listed before
        QCOMPARE(f.t.read(kCatchLogPath), recordFileBytes({ other, a }));
        // A catch removed elsewhere in the meantime is not there to remove.
        f.t.write(kCatchLogPath, recordFileBytes({ a }));
        QVERIFY(!f.log.removeCatch(0, f.trap));
        QCOMPARE(f.t.read(kCatchLogPath), recordFileBytes({ a }));
        // An append after a change elsewhere lists both.
        f.t.write(kCatchLogPath, recordFileBytes({ a, other }));
        QVERIFY(f.log.appendCatch(b, f.trap));
        QCOMPARE(
            f.log.catchLines(), QStringList({ listLineOf(b), listLineOf(other), listLineOf(a) }));
    }

    // A write that fails for want of space leaves the file as it was.
    void fullDiskChangesNothing_data()
    {
        QTest::addColumn<Change>("change");
        const QString later = catchOn(u"2004/05/19"_s);
        QTest::newRow("append a catch")
            << Change([later](Book& f) { QVERIFY(!f.log.appendCatch(later, f.trap)); });
        QTest::newRow("remove a catch")
            << Change([](Book& f) { QVERIFY(!f.log.removeCatch(0, f.trap)); });
        QTest::newRow("append a purchase")
            << Change([](Book& f) { QVERIFY(!f.log.appendCost(costOn(u"2004/05/19"_s), f.trap)); });
        QTest::newRow("remove a purchase")
            << Change([](Book& f) { QVERIFY(!f.log.removeCost(0, QString(), f.trap)); });
        // Room for one more line, not two: many lines go in whole or not at all.
        QTest::newRow("append many catches") << Change([](Book& f) {
            FileSizeLimit room(f.t.read(kCatchLogPath).size() + 120);
            QVERIFY(!f.log.appendCatches(
                { catchOn(u"2004/05/19"_s), catchOn(u"2004/05/20"_s) }, f.trap));
        });
        QTest::newRow("append many purchases") << Change([](Book& f) {
            FileSizeLimit room(f.t.read(kCostLogPath).size() + 70);
            QVERIFY(
                !f.log.appendCosts({ costOn(u"2004/05/19"_s), costOn(u"2004/05/20"_s) }, f.trap));
        });
    }

    void fullDiskChangesNothing()
    {
        QFETCH(Change, change);
        const QByteArray catches = recordFileBytes(
            { catchOn(u"2004/05/16"_s), catchOn(u"2004/05/17"_s), catchOn(u"2004/05/18"_s) });
        const QByteArray costs = recordFileBytes(
            { costOn(u"2004/05/16"_s), costOn(u"2004/05/17"_s), costOn(u"2004/05/18"_s) });
        Book f(catches, costs);
        {
            FileSizeLimit full(100);
            change(f);
        }
        QCOMPARE(f.t.read(kCatchLogPath), catches);
        QCOMPARE(f.t.read(kCostLogPath), costs);
    }

    void editTakesOutAndPutsBackTheSameBytes()
    {
        const QString a = catchOn(u"2004/05/16"_s);
        // A date without its leading zero has no list form to turn back.
        const QString odd = catchOn(u"2004/5/17"_s);
        Book f(recordFileBytes({ a, odd }));
        const int row = int(f.log.catchLines().indexOf(CatchListLine(f.t.env, odd)));
        QVERIFY(f.log.takeCatchForEdit(row, f.trap));
        QVERIFY(!f.log.catchOutForEdit().isEmpty());
        QCOMPARE(f.log.catchOutForEdit(), CatchListLine(f.t.env, odd).mid(2));
        QCOMPARE(f.t.read(kCatchLogPath), recordFileBytes({ a }));
        QVERIFY(f.log.putBackCatch(f.trap));
        QVERIFY(f.log.catchOutForEdit().isEmpty());
        QCOMPARE(f.t.read(kCatchLogPath), recordFileBytes({ a, odd }));

        // A purchase out goes back in the rewrite that takes out the next.
        const QString jan = costOn(u"2006/01/15"_s), feb = costOn(u"2006/02/01"_s);
        Book c({}, recordFileBytes({ jan, feb }));
        QVERIFY(c.log.takeCostForEdit(0, c.trap) && c.log.costOutForEdit() == feb);
        QCOMPARE(c.t.read(kCostLogPath), recordFileBytes({ jan }));
        QVERIFY(c.log.takeCostForEdit(0, c.trap) && c.log.costOutForEdit() == jan);
        QCOMPARE(c.t.read(kCostLogPath), recordFileBytes({ feb }));
        QVERIFY(c.log.putBackCost(c.trap) && c.log.costOutForEdit().isEmpty());
        QCOMPARE(c.t.read(kCostLogPath), recordFileBytes({ feb, jan }));
    }

    // The photo folder after a catch is saved ("save"; loaded: the photo the
    // edited catch had, chosen: the photo box, "=" the loaded one, time: the
    // catch time saved), its edit is given up ("drop") or it is deleted
    // ("remove"; chosen: its species, loaded: its files). Another catch of
    // the same minute may have the species `other`. "fehlt.bmp" is missing.
    void photoRules_data()
    {
        QTest::addColumn<QString>("op");
        QTest::addColumn<QString>("loaded");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("time");
        QTest::addColumn<QString>("other");
        QTest::addColumn<QStringList>("left");
        QTest::addColumn<bool>("logged"); // Error (53)
        const QString jpg = u"17.05.2004_06-45-00.jpg"_s, moved = u"17.05.2004_07-10-00.jpg"_s;
        const QString shared = u"Hecht*"_s;
        const auto row = [](const char* name, const QString& op, const QString& loaded,
                             const QString& chosen, const QString& time, const QString& other,
                             const QStringList& left, bool logged = false) {
            QTest::newRow(name) << op << loaded << chosen << time << other << left << logged;
        };
        row("new photo, case kept", u"save"_s, {}, u"a.JPG"_s, u"06:45"_s, {},
            { u"17.05.2004_06-45-00.JPG"_s });
        row("unchanged photo stays", u"save"_s, jpg, u"="_s, u"06:45"_s, {}, { jpg });
        row("time changed: photo moves", u"save"_s, jpg, u"="_s, u"07:10"_s, {}, { moved });
        row("moved, kept for the other", u"save"_s, jpg, u"="_s, u"07:10"_s, shared,
            { jpg, moved });
        row("taken off", u"save"_s, jpg, {}, u"06:45"_s, u"Hecht"_s, {});
        row("taken off, kept for the other", u"save"_s, jpg, {}, u"06:45"_s, shared, { jpg });
        row("replaced by another type", u"save"_s, jpg, u"neu.bmp"_s, u"06:45"_s, {},
            { u"17.05.2004_06-45-00.bmp"_s });
        // The copy lands on the old file, whose name differs in case only.
        row("replaced, name differs in case", u"save"_s, jpg, u"neu.JPG"_s, u"06:45"_s, {},
            { jpg });
        row("failed copy keeps the old photo", u"save"_s, jpg, u"fehlt.bmp"_s, u"07:10"_s, {},
            { jpg }, true);
        row("edit given up", u"drop"_s, jpg, {}, {}, {}, {});
        row("given up, kept for the other", u"drop"_s, jpg, {}, {}, shared, { jpg });
        row("removed, every type", u"remove"_s, u"17.05.2004_06-45-00.JPEG "_s + jpg, u"Karpfen*"_s,
            {}, u"Hecht"_s, {});
        row("removed, kept for the other", u"remove"_s, jpg, u"Karpfen*"_s, {}, shared, { jpg });
        row("removed without photo mark", u"remove"_s, jpg, u"Karpfen"_s, {}, {}, { jpg });
        row("removed, photo missing", u"remove"_s, {}, u"Karpfen*"_s, {}, {}, {}, true);
    }

    void photoRules()
    {
        QFETCH(QString, op);
        QFETCH(QString, loaded);
        QFETCH(QString, chosen);
        QFETCH(QString, other);
        const bool remove = op == u"remove"_s;
        const QString own = sampleCatchLine({ { 6, chosen } });
        QStringList items = remove ? QStringList { own } : QStringList();
        if (!other.isEmpty())
            items.append(sampleCatchLine({ { 2, u"Eva"_s }, { 6, other } }));
        Book f(recordFileBytes(items));
        const QString bilder = f.t.path(u"db\\bilder"_s);
        QDir().mkpath(bilder);
        for (const QString& name : loaded.split(u' ', Qt::SkipEmptyParts))
            f.t.write(u"db\\bilder\\"_s + name, "OLD");
        const Logbook::LoadedPhoto before { bilder + u'/' + loaded, u"17.05.2004"_s, u"06:45"_s };
        QString warning;
        if (op == u"save"_s) {
            QString photo = chosen == u"="_s ? before.path : chosen;
            if (!chosen.isEmpty() && chosen != u"="_s) {
                photo = f.t.path(u"Fotos\\"_s + chosen);
                if (chosen != u"fehlt.bmp"_s)
                    f.t.write(u"Fotos\\"_s + chosen, chosen.toUtf8());
            }
            QFETCH(QString, time);
            const CatchEntry e { u"17.05.2004"_s, u"Max"_s, u"06:30"_s, time, u"10:00"_s,
                u"Karpfen"_s, u"12,4"_s, u"84"_s, {}, {}, {}, {}, {}, u"18"_s, u"14"_s, u"2,5"_s,
                photo, u"Vollmond"_s };
            const Logbook::CatchSave saved
                = f.log.saveCatch(e, loaded.isEmpty() ? Logbook::LoadedPhoto {} : before, f.trap);
            QVERIFY(saved.written);
            warning = saved.warning;
        } else if (op == u"drop"_s) {
            f.log.dropCatchOutForEdit(before, f.trap);
        } else {
            QVERIFY(f.log.removeCatchWithPhoto(
                int(f.log.catchLines().indexOf(listLineOf(own))), f.trap));
        }
        QTEST(QDir(bilder).entryList(QDir::Files, QDir::Name), "left");
        QFETCH(bool, logged);
        QCOMPARE(f.t.logEntries(), logged ? QStringList { u"Test\tError (53)"_s } : QStringList());
        QCOMPARE(warning,
            logged && !remove ? u"Fehler: Der Fang wurde gespeichert, aber das Bild konnte "
                                u"nicht in den Ordner \"db\\bilder\" kopiert werden!"_s
                              : QString());
        // A copy has the bytes of the chosen file, which stays; a moved or
        // kept photo has its own.
        const bool copied = !remove && !chosen.isEmpty() && chosen != u"="_s && !logged;
        QCOMPARE(QFile::exists(f.t.path(u"Fotos\\"_s + chosen)), copied);
        for (const QString& name : QDir(bilder).entryList(QDir::Files)) {
            if (name != loaded || copied)
                QCOMPARE(f.t.read(u"db\\bilder\\"_s + name), copied ? chosen.toUtf8() : "OLD");
        }
    }

    void costsListSumAndKeepWhatTheyDoNotList()
    {
        const QString jan = costOn(u"2004/01/10"_s), feb = costOn(u"2004/02/10"_s, u"Schnur"_s);
        const QString unlisted = u"2004/1/5\tkurz"_s;
        Book f(QByteArray(), recordFileBytes({ jan, unlisted, feb }));
        QCOMPARE(f.log.costCount(), 2);
        QCOMPARE(f.log.costItem(0), feb);
        QCOMPARE(f.log.costSums().total, 940 + 940); // in cents, of the listed two
    }
};

QTEST_GUILESS_MAIN(TestLogbook)
#include "tst_logbook.moc"
