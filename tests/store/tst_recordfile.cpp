#include "store/RecordFile.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <unistd.h>

using namespace Qt::StringLiterals;
using Call = std::function<void(const QString&)>;
Q_DECLARE_METATYPE(Call)

class TestRecordFile : public QObject {
    Q_OBJECT

private slots:
    void parseItems_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("empty file") << QByteArray("\r\n") << QStringList();
        QTest::newRow("mixed line ends, last without")
            << QByteArray("\"a\tb\"\r\n\"b\"\n\"c\"") << QStringList { u"a\tb"_s, u"b"_s, u"c"_s };
        QTest::newRow("inner quote ends item")
            << QByteArray("\"Karp\"fen\tx\"\r\n\"b\"\r\n") << QStringList { u"Karp"_s, u"b"_s };
        QTest::newRow("no closing quote")
            << QByteArray("\"abc\r\n\"d\"\r\n") << QStringList { u"abc"_s, u"d"_s };
        QTest::newRow("unquoted line taken whole")
            << QByteArray(" \"c\"\r\n\"d\"\r\n") << QStringList { u" \"c\""_s, u"d"_s };
        QTest::newRow("empty lines passed over")
            << QByteArray("\"a\"\r\n\r\n\n\"b\"\r\n\r\n") << QStringList { u"a"_s, u"b"_s };
        QTest::newRow("blank line is a line") << QByteArray(" \r\n") << QStringList { u" "_s };
        QTest::newRow("code page bytes") << QByteArray("\"F\xE4nger \xDF 4,50 \x80\"\r\n")
                                         << QStringList { u"Fänger ß 4,50 €"_s };
        // A CR alone ends a line as CR LF and LF do (files from old Macs).
        QTest::newRow("CR only") << QByteArray("\"a\tb\"\r\"b\"\r\"c\"\r")
                                 << QStringList { u"a\tb"_s, u"b"_s, u"c"_s };
        QTest::newRow("LF CR is two ends")
            << QByteArray("\"a\"\n\r\"b\"\r\r\n\"c\"") << QStringList { u"a"_s, u"b"_s, u"c"_s };
        QTest::newRow("CR ends an unquoted line")
            << QByteArray("x y\r\"d\"\r") << QStringList { u"x y"_s, u"d"_s };
    }

    void parseItems()
    {
        QFETCH(QByteArray, bytes);
        QTEST(ParseItems(bytes), "items");
    }

    void appendStartsALineOfItsOwn()
    {
        TestEnv t;
        t.write(u"db\\fänge\\x"_s, {});
        const QString path = t.path(u"db\\FÄNGE\\db"_s);
        AppendItem(path, u"a\tb"_s);
        AppendItem(path, u"Jürgen"_s);
        QCOMPARE(t.read(u"db\\fänge\\db"_s), QByteArray("\"a\tb\"\r\n\"J\xFCrgen\"\r\n"));
        // After a last line without its end the new record starts a line of
        // its own; a line already ended keeps its end.
        const QList<std::pair<QByteArray, QByteArray>> cases { { "\"a\"", "\"a\"\r\n\"b\"\r\n" },
            { "\"a\"\n", "\"a\"\n\"b\"\r\n" }, { "\"a\"\r", "\"a\"\r\"b\"\r\n" } };
        for (const auto& [before, after] : cases) {
            t.write(u"x"_s, before);
            AppendItem(t.path(u"x"_s), u"b"_s);
            QCOMPARE(t.read(u"x"_s), after);
        }
    }

    void failures_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<Call>("call");
        QTest::addColumn<int>("error");
        const Call append = [](const QString& p) { AppendItem(p, u"x"_s); };
        const Call read = [](const QString& p) { ReadItems(p); };
        const Call rewrite = [](const QString& p) { RewriteItems(p, { u"a"_s }); };
        QTest::newRow("append, folder missing") << u"nix\\db"_s << append << 76;
        QTest::newRow("read, file missing") << u"db\\kosten\\db"_s << read << 53;
        QTest::newRow("read a folder") << u"db\\kosten"_s << read << 75;
        QTest::newRow("rewrite, folder missing") << u"nix\\db"_s << rewrite << 76;
        QTest::newRow("rewrite a folder") << u"db"_s << rewrite << 75;
    }

    void failures()
    {
        QFETCH(QString, path);
        QFETCH(Call, call);
        TestEnv t;
        QDir(t.dir()).mkpath(u"db/kosten"_s);
        QTEST(errorNumberOf([&] { call(t.path(path)); }), "error");
        QVERIFY(QFileInfo(t.path(u"db\\kosten"_s)).isDir());
    }

    void appendToFullDeviceFails()
    {
        // A line that did not reach the disk must never count as saved.
        if (!QFileInfo::exists(u"/dev/full"_s))
            QSKIP("no /dev/full here");
        QCOMPARE(errorNumberOf([] { AppendItem(u"/dev/full"_s, u"x"_s); }), 75);
    }

    void rewriteReplacesWholeFile()
    {
        TestEnv t;
        const QByteArray old = "\"old 1\"\r\n\"old 2\"\r\n\"old 3\"\r\n";
        t.write(u"db\\kosten\\db"_s, old);
        const QString path = t.path(u"db\\Kosten\\db"_s);
        // A second name for the old file keeps the old bytes: the new ones
        // went into a new file, so an interruption cannot leave half a file.
        const QByteArray second = QFile::encodeName(t.dir() + u"/second-name"_s);
        const bool linked = ::link(QFile::encodeName(path).constData(), second.constData()) == 0;
        RewriteItems(path, { u"b€"_s, u"a"_s });
        QCOMPARE(t.read(u"db\\kosten\\db"_s), QByteArray("\"b\x80\"\r\n\"a\"\r\n"));
        if (linked)
            QCOMPARE(t.read(u"second-name"_s), old);
        RewriteItems(path, {});
        QCOMPARE(t.read(u"db\\kosten\\db"_s), QByteArray());
        const QDir folder = QFileInfo(path).absoluteDir();
        QCOMPARE(folder.entryList(QDir::Files), QStringList { u"db"_s }); // no temporary left
    }
};

QTEST_GUILESS_MAIN(TestRecordFile)
#include "tst_recordfile.moc"
