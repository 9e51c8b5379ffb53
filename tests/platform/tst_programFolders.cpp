#include "platform/ProgramFolders.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestProgramFolders : public QObject {
    Q_OBJECT

private slots:
    // Folders below a temporary root; "/x" in xdg stands for root/x.
    void folders_data()
    {
        QTest::addColumn<QStringList>("made");
        QTest::addColumn<QString>("exeDir");
        QTest::addColumn<QString>("xdg");
        QTest::addColumn<bool>("readOnly"); // the executable's folder
        QTest::addColumn<QString>("data");
        QTest::addColumn<QString>("resources");
        const QStringList usr { u"usr/bin"_s, u"usr/share/kescherheft"_s };
        const QString share = u"usr/share/kescherheft"_s;
        QTest::newRow("portable") << QStringList { u"prog"_s } << u"prog"_s << u"/x"_s << false
                                  << u"prog"_s << u"prog"_s;
        QTest::newRow("portable, read-only")
            << QStringList { u"prog"_s } << u"prog"_s << u""_s << true << u"prog"_s << u"prog"_s;
        QTest::newRow("package, XDG set")
            << usr << u"usr/bin"_s << u"/x"_s << false << u"x/Kescherheft"_s << share;
        QTest::newRow("package, XDG unset") << usr << u"usr/bin/"_s << u""_s << false
                                            << u"home/.local/share/Kescherheft"_s << share;
        QTest::newRow("package, relative XDG") << usr << u"usr/bin"_s << u"x"_s << false
                                               << u"home/.local/share/Kescherheft"_s << share;
        QTest::newRow("package, read-only")
            << usr << u"usr/bin"_s << u"/x/"_s << true << u"x/Kescherheft"_s << share;
        QTest::newRow("bin without share") << QStringList { u"opt/bin"_s } << u"opt/bin"_s
                                           << u"/x"_s << false << u"opt/bin"_s << u"opt/bin"_s;
        QTest::newRow("share beside a folder not named bin")
            << QStringList { u"usr/prog"_s, share } << u"usr/prog"_s << u"/x"_s << false
            << u"usr/prog"_s << u"usr/prog"_s;
        QTest::newRow("share of another program")
            << QStringList { u"usr/bin"_s, u"usr/share/anderes"_s } << u"usr/bin"_s << u"/x"_s
            << false << u"usr/bin"_s << u"usr/bin"_s;
    }

    void folders()
    {
        QFETCH(QStringList, made);
        QFETCH(QString, exeDir);
        QFETCH(QString, xdg);
        QFETCH(bool, readOnly);
        QFETCH(QString, data);
        QFETCH(QString, resources);
        QTemporaryDir root;
        for (const QString& dir : made)
            QVERIFY(QDir(root.path()).mkpath(dir));
        const QString exe = root.filePath(exeDir);
        if (readOnly)
            QVERIFY(QFile::setPermissions(exe, QFile::ReadOwner | QFile::ExeOwner));
        qputenv("HOME", root.filePath(u"home"_s).toUtf8());
        qputenv("XDG_DATA_HOME", (xdg.startsWith(u'/') ? root.path() + xdg : xdg).toUtf8());
        const ProgramFolders found = findProgramFolders(exe);
        QCOMPARE(found.data, root.filePath(data));
        QCOMPARE(found.resources, root.filePath(resources));
        QCOMPARE(found.installed, found.data != found.resources);
        QFile::setPermissions(exe, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
};

QTEST_GUILESS_MAIN(TestProgramFolders)
#include "tst_programFolders.moc"
