#include "platform/RuntimeError.h"
#include "store/RecordFile.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <functional>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

int errorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const RuntimeError& e) {
        return e.number;
    }
    return 0;
}

const QString kCatch = u"2004/05/17\tMax\t06:30\t06:45\t10:00\tKarpfen*\t12,40\t84\tBaggersee\t"
                       u"Steg 3\tFestblei\tBoilie\tsonnig\t+ 18\t+ 14\t2,5\tVollmond"_s;

} // namespace

class TestRecordFile : public QObject {
    Q_OBJECT

private slots:
    void parseItems_data();
    void parseItems();
    void everyOtherByteSurvives();
    void recordLine_data();
    void recordLine();
    void appendWritesExactLines();
    void appendAfterLastLineWithoutEnd();
    void appendFailures_data();
    void appendFailures();
    void appendToFullDevice();
    void readFailures_data();
    void readFailures();
    void rewriteReplacesWholeFile();
    void rewriteNeverWritesIntoOldFile();
    void rewriteFailures();
    void manyLines();
};

void TestRecordFile::parseItems_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("items");
    QTest::newRow("empty file") << QByteArray() << QStringList();
    QTest::newRow("one record") << QByteArray("\"a\tb\"\r\n") << QStringList { u"a\tb"_s };
    QTest::newRow("LF alone") << QByteArray("\"a\"\n\"b\"\n") << QStringList { u"a"_s, u"b"_s };
    QTest::newRow("mixed line ends")
        << QByteArray("\"a\"\r\n\"b\"\n\"c\"\r\n") << QStringList { u"a"_s, u"b"_s, u"c"_s };
    QTest::newRow("last line without end")
        << QByteArray("\"a\"\r\n\"b\"") << QStringList { u"a"_s, u"b"_s };
    QTest::newRow("inner quote ends item")
        << QByteArray("\"Karp\"fen\tx\"\r\n\"b\"\r\n") << QStringList { u"Karp"_s, u"b"_s };
    QTest::newRow("no closing quote")
        << QByteArray("\"abc\r\n\"d\"\r\n") << QStringList { u"abc"_s, u"d"_s };
    QTest::newRow("unquoted line taken whole")
        << QByteArray("a,b \"c\"\r\n\"d\"\r\n") << QStringList { u"a,b \"c\""_s, u"d"_s };
    QTest::newRow("blank before quote is unquoted")
        << QByteArray(" \"a\"\r\n") << QStringList { u" \"a\""_s };
    QTest::newRow("empty lines passed over")
        << QByteArray("\"a\"\r\n\r\n\n\"b\"\r\n\r\n") << QStringList { u"a"_s, u"b"_s };
    QTest::newRow("empty file line only") << QByteArray("\r\n") << QStringList();
    QTest::newRow("quoted empty item") << QByteArray("\"\"\r\n") << QStringList { QString() };
    QTest::newRow("blank line is a line") << QByteArray(" \r\n") << QStringList { u" "_s };
    QTest::newRow("umlauts and euro") << QByteArray("\"F\xE4nger \xDF 4,50 \x80\"\r\n")
                                      << QStringList { u"F\u00E4nger \u00DF 4,50 \u20AC"_s };
}

void TestRecordFile::parseItems()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, items);
    QCOMPARE(ParseItems(bytes), items);
}

void TestRecordFile::everyOtherByteSurvives()
{
    // Every byte except the quote and the line-end bytes can sit in a record
    // and comes back unchanged when the line is read and written again.
    QByteArray body;
    for (int b = 0; b < 256; ++b) {
        if (b != '"' && b != '\r' && b != '\n')
            body += char(b);
    }
    const QByteArray line = '"' + body + "\"\r\n";
    const QStringList items = ParseItems(line);
    QCOMPARE(items.size(), 1);
    QCOMPARE(items[0].size(), body.size());
    QCOMPARE(RecordLine(items[0]), line);
}

void TestRecordFile::recordLine_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("catch") << kCatch
                           << QByteArray(
                                  "\"2004/05/17\tMax\t06:30\t06:45\t10:00\tKarpfen*\t12,40\t84\t"
                                  "Baggersee\tSteg 3\tFestblei\tBoilie\tsonnig\t+ 18\t+ 14\t"
                                  "2,5\tVollmond\"\r\n");
    QTest::newRow("cost with euro byte")
        << u"2006/03/05\tAnglerladen\t3\tHaken Gr. 8\t1,50 \u20AC\t4,50 \u20AC\t4,90 \u20AC\t9,40 \u20AC"_s
        << QByteArray("\"2006/03/05\tAnglerladen\t3\tHaken Gr. 8\t1,50 \x80\t4,50 \x80\t4,90 "
                      "\x80\t9,40 \x80\"\r\n");
    QTest::newRow("umlauts one byte each")
        << u"F\u00E4nger \u00D6\u00DF"_s << QByteArray("\"F\xE4nger \xD6\xDF\"\r\n");
    QTest::newRow("empty") << QString() << QByteArray("\"\"\r\n");
}

void TestRecordFile::recordLine()
{
    QFETCH(QString, item);
    QFETCH(QByteArray, bytes);
    QCOMPARE(RecordLine(item), bytes);
}

void TestRecordFile::appendWritesExactLines()
{
    TestEnv t;
    t.write(u"db\\fänge\\x"_s, {}); // makes the folders
    const QString path = t.path(u"db\\f\u00E4nge\\db"_s);
    QVERIFY(!QFileInfo::exists(path));
    AppendItem(path, kCatch);
    AppendItem(path, u"2004/05/18\tA\u00E4"_s);
    QCOMPARE(
        t.read(u"db\\fänge\\db"_s), RecordLine(kCatch) + QByteArray("\"2004/05/18\tA\xE4\"\r\n"));
    QCOMPARE(ReadItems(path), (QStringList { kCatch, u"2004/05/18\tA\u00E4"_s }));
}

void TestRecordFile::appendAfterLastLineWithoutEnd()
{
    // The new record starts a line of its own instead of joining the last one.
    TestEnv t;
    t.write(u"db"_s, "\"a\"");
    AppendItem(t.path(u"db"_s), u"b"_s);
    QCOMPARE(t.read(u"db"_s), QByteArray("\"a\"\r\n\"b\"\r\n"));
    t.write(u"db"_s, "\"a\"\n");
    AppendItem(t.path(u"db"_s), u"b"_s);
    QCOMPARE(t.read(u"db"_s), QByteArray("\"a\"\n\"b\"\r\n"));
}

void TestRecordFile::appendFailures_data()
{
    QTest::addColumn<QString>("relative");
    QTest::addColumn<int>("error");
    QTest::newRow("folder missing") << u"nix\\db"_s << Err::PathNotFound;
    QTest::newRow("path is a folder") << u"db"_s << Err::PathFileAccess;
}

void TestRecordFile::appendFailures()
{
    QFETCH(QString, relative);
    QFETCH(int, error);
    TestEnv t;
    QDir(t.dir()).mkdir(u"db"_s);
    QCOMPARE(errorOf([&] { AppendItem(t.path(relative), u"x"_s); }), error);
}

void TestRecordFile::appendToFullDevice()
{
    // A line that did not reach the disk must be reported, never taken as saved.
    if (!QFileInfo::exists(u"/dev/full"_s))
        QSKIP("no /dev/full here");
    QCOMPARE(errorOf([&] { AppendItem(u"/dev/full"_s, kCatch); }), Err::PathFileAccess);
}

void TestRecordFile::readFailures_data()
{
    QTest::addColumn<QString>("relative");
    QTest::addColumn<int>("error");
    QTest::newRow("file missing") << u"db\\kosten\\db"_s << Err::FileNotFound;
    QTest::newRow("folder missing") << u"nix\\db"_s << Err::PathNotFound;
    QTest::newRow("path is a folder") << u"db\\kosten"_s << Err::PathFileAccess;
}

void TestRecordFile::readFailures()
{
    QFETCH(QString, relative);
    QFETCH(int, error);
    TestEnv t;
    QDir(t.dir()).mkpath(u"db/kosten"_s);
    QCOMPARE(errorOf([&] { ReadItems(t.path(relative)); }), error);
    QCOMPARE(errorOf([&] { readAllBytes(t.path(relative)); }), error);
}

void TestRecordFile::rewriteReplacesWholeFile()
{
    TestEnv t;
    t.write(u"db\\kosten\\db"_s, "\"old 1\"\r\n\"old 2\"\r\n\"old 3\"\r\n");
    const QString path = t.path(u"db\\Kosten\\db"_s);
    RewriteItems(path, { u"b\u20AC"_s, u"a"_s });
    QCOMPARE(t.read(u"db\\kosten\\db"_s), QByteArray("\"b\x80\"\r\n\"a\"\r\n"));
    RewriteItems(path, {});
    QCOMPARE(t.read(u"db\\kosten\\db"_s), QByteArray());
    QCOMPARE(ReadItems(path), QStringList());
    // No temporary file is left beside the log.
    QCOMPARE(QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files), QStringList { u"db"_s });
}

void TestRecordFile::rewriteNeverWritesIntoOldFile()
{
    // A second name for the old file still shows the old bytes afterwards:
    // the new content went into a new file that replaced the old one, so an
    // interrupted rewrite cannot leave half a file behind.
    TestEnv t;
    const QByteArray old = RecordLine(u"old"_s);
    t.write(u"db"_s, old);
    const QString path = t.path(u"db"_s);
    const QString second = t.dir() + u"/second-name"_s;
    if (::link(QFile::encodeName(path).constData(), QFile::encodeName(second).constData()) != 0)
        QSKIP("hard links not available");
    writeAtomically(path, "new");
    QCOMPARE(t.read(u"db"_s), QByteArray("new"));
    QFile f(second);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), old);
}

void TestRecordFile::rewriteFailures()
{
    TestEnv t;
    QDir(t.dir()).mkdir(u"db"_s);
    QCOMPARE(errorOf([&] { RewriteItems(t.path(u"nix\\db"_s), { u"a"_s }); }), Err::PathNotFound);
    QCOMPARE(errorOf([&] { writeAtomically(t.path(u"db"_s), "x"); }), Err::PathFileAccess);
    QVERIFY(QFileInfo(t.path(u"db"_s)).isDir());
}

void TestRecordFile::manyLines()
{
    // Record counts are not limited to 16 bits at the file level.
    TestEnv t;
    QStringList items;
    for (int i = 0; i < 40000; ++i)
        items.append(kCatch + QString::number(i));
    const QString path = t.path(u"db"_s);
    RewriteItems(path, items);
    qint64 expected = 0;
    for (const QString& item : items)
        expected += item.size() + 4;
    QCOMPARE(QFileInfo(path).size(), expected);
    const QStringList back = ReadItems(path);
    QCOMPARE(back.size(), 40000);
    QCOMPARE(back.last(), kCatch + u"39999"_s);
    QCOMPARE(back, items);
}

QTEST_GUILESS_MAIN(TestRecordFile)
#include "tst_recordfile.moc"
