#include "platform/Paths.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestPaths : public QObject {
    Q_OBJECT

private slots:
    void resolve_data();
    void resolve();
    void exactSpellingWins();
};

void TestPaths::resolve_data()
{
    // Folders on disk (slash separated, created before the call), the
    // program's relative path, and the expected host path below the root.
    QTest::addColumn<QStringList>("onDisk");
    QTest::addColumn<QString>("relative");
    QTest::addColumn<QString>("expected");
    QTest::newRow("same spelling")
        << QStringList { u"db/fänge"_s } << u"db\\fänge\\db"_s << u"db/fänge/db"_s;
    QTest::newRow("umlaut in other case")
        << QStringList { u"db/Fänge"_s } << u"db\\FÄNGE\\db"_s << u"db/Fänge/db"_s;
    QTest::newRow("lower case finds capitals")
        << QStringList { u"DB/Kosten"_s } << u"db\\kosten\\db"_s << u"DB/Kosten/db"_s;
    QTest::newRow("decomposed umlaut on disk")
        << QStringList { u"db/fa\u0308nge"_s } << u"db\\F\u00C4NGE"_s << u"db/fa\u0308nge"_s;
    QTest::newRow("missing keeps spelling")
        << QStringList { u"db"_s } << u"DB\\Neu\\Datei.TXT"_s << u"db/Neu/Datei.TXT"_s;
    QTest::newRow("nothing below missing part is matched")
        << QStringList { u"db/bilder"_s } << u"Neu\\DB\\BILDER"_s << u"Neu/DB/BILDER"_s;
    QTest::newRow("empty parts ignored")
        << QStringList { u"db/fänge"_s } << u"\\db\\\\FÄNGE\\"_s << u"db/fänge"_s;
    QTest::newRow("forward slashes too")
        << QStringList { u"db/kosten"_s } << u"DB/KOSTEN/db"_s << u"db/kosten/db"_s;
    QTest::newRow("file in program dir")
        << QStringList() << u"kescherheft.log"_s << u"kescherheft.log"_s;
}

void TestPaths::resolve()
{
    QFETCH(QStringList, onDisk);
    QFETCH(QString, relative);
    QFETCH(QString, expected);
    QTemporaryDir root;
    for (const QString& d : onDisk)
        QVERIFY(QDir(root.path()).mkpath(d));
    QCOMPARE(hostPath(root.path(), relative), root.path() + u'/' + expected);
}

void TestPaths::exactSpellingWins()
{
    // A host that tells letter case apart may hold both spellings.
    QTemporaryDir root;
    QVERIFY(QDir(root.path()).mkpath(u"db/Fänge"_s));
    QVERIFY(QDir(root.path()).mkpath(u"db/fänge"_s));
    QCOMPARE(hostPath(root.path(), u"db\\fänge"_s), root.path() + u"/db/fänge"_s);
    QCOMPARE(hostPath(root.path(), u"db\\Fänge"_s), root.path() + u"/db/Fänge"_s);
}

QTEST_GUILESS_MAIN(TestPaths)
#include "tst_paths.moc"
