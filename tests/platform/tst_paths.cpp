#include "platform/Paths.h"
#include "platform/qt/QtDialogs.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestPaths : public QObject {
    Q_OBJECT

private slots:
    void resolve_data()
    {
        // A folder made before the call, the program's path, the host path.
        QTest::addColumn<QString>("onDisk");
        QTest::addColumn<QString>("relative");
        QTest::addColumn<QString>("expected");
        QTest::newRow("umlaut in other case")
            << u"db/Fänge"_s << u"db\\FÄNGE\\db"_s << u"db/Fänge/db"_s;
        QTest::newRow("decomposed umlaut")
            << u"db/fa\u0308nge"_s << u"db\\F\u00C4NGE"_s << u"db/fa\u0308nge"_s;
        QTest::newRow("missing keeps spelling")
            << u"db"_s << u"DB\\Neu\\Datei.TXT"_s << u"db/Neu/Datei.TXT"_s;
        QTest::newRow("nothing matched below a missing part")
            << u"db/bilder"_s << u"Neu\\DB\\BILDER"_s << u"Neu/DB/BILDER"_s;
        QTest::newRow("empty parts ignored")
            << u"db/fänge"_s << u"\\db\\\\FÄNGE\\"_s << u"db/fänge"_s;
    }

    void resolve()
    {
        QFETCH(QString, onDisk);
        QFETCH(QString, relative);
        QFETCH(QString, expected);
        QTemporaryDir root;
        QVERIFY(QDir(root.path()).mkpath(onDisk));
        QCOMPARE(hostPath(root.path(), relative), root.path() + u'/' + expected);
    }

    void exactSpellingWins()
    {
        // A host that tells letter case apart may hold both spellings.
        QTemporaryDir root;
        QVERIFY(QDir(root.path()).mkpath(u"db/Fänge"_s));
        QVERIFY(QDir(root.path()).mkpath(u"db/fänge"_s));
        QCOMPARE(hostPath(root.path(), u"db\\fänge"_s), root.path() + u"/db/fänge"_s);
        QCOMPARE(hostPath(root.path(), u"db\\Fänge"_s), root.path() + u"/db/Fänge"_s);
    }

    // The program's "text|*.a;*.b" file filters in the form Qt's file
    // dialogs read.
    void fileFilter_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("expected");
        QTest::newRow("patterns added")
            << u"Bilddateien (jpg)|*.jpg;*.gif"_s << u"Bilddateien (jpg) (*.jpg *.gif)"_s;
        QTest::newRow("shown already") << u"Digitales Kescherheft Importdateien (import)|import"_s
                                       << u"Digitales Kescherheft Importdateien (import)"_s;
        QTest::newRow("other parentheses at the end")
            << u"Importdateien (alt)|import"_s << u"Importdateien (alt) (import)"_s;
        QTest::newRow("patterns not at the end")
            << u"(import) Dateien|import"_s << u"(import) Dateien (import)"_s;
        QTest::newRow("no patterns") << u"Alle Dateien (*)"_s << u"Alle Dateien (*)"_s;
    }

    void fileFilter()
    {
        QFETCH(QString, filter);
        QTEST(qtFileFilter(filter), "expected");
    }
};

QTEST_GUILESS_MAIN(TestPaths)
#include "tst_paths.moc"
