#include "platform/ProgramFolders.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestProgramFolders : public QObject {
    Q_OBJECT

private slots:
    // Folders made below a temporary root (comma-separated), the
    // executable's folder, XDG_DATA_HOME ("/x" stands for root/x), whether
    // the executable's folder is read-only, and the folders found.
    void folders_data()
    {
        for (const char* c : { "made", "exeDir", "xdg", "data", "resources" })
            QTest::addColumn<QString>(c);
        QTest::addColumn<bool>("readOnly");
        const auto row = [](const char* name, const char* made, const char* exe, const char* xdg,
                             const char* data, const char* res, bool readOnly = false) {
            QTest::newRow(name) << made << exe << xdg << data << res << readOnly;
        };
        const char* usr = "usr/bin,usr/share/kescherheft";
        const char* share = "usr/share/kescherheft";
        const char* home = "home/.local/share/Kescherheft";
        row("portable", "prog", "prog", "/x", "prog", "prog");
        row("portable, read-only", "prog", "prog", "", "prog", "prog", true);
        row("package, XDG set", usr, "usr/bin", "/x", "x/Kescherheft", share);
        row("package, XDG unset", usr, "usr/bin/", "", home, share);
        row("package, relative XDG", usr, "usr/bin", "x", home, share);
        row("package, read-only", usr, "usr/bin", "/x/", "x/Kescherheft", share, true);
        row("bin without share", "opt/bin", "opt/bin", "/x", "opt/bin", "opt/bin");
        row("share beside a folder not named bin", "usr/prog,usr/share/kescherheft", "usr/prog",
            "/x", "usr/prog", "usr/prog");
        row("share of another program", "usr/bin,usr/share/anderes", "usr/bin", "/x", "usr/bin",
            "usr/bin");
    }

    void folders()
    {
        QFETCH(QString, made);
        QFETCH(QString, exeDir);
        QFETCH(QString, xdg);
        QFETCH(QString, data);
        QFETCH(QString, resources);
        QFETCH(bool, readOnly);
        QTemporaryDir root;
        for (const QString& dir : made.split(u','))
            QVERIFY(QDir(root.path()).mkpath(dir));
        const QString exe = root.filePath(exeDir);
        if (readOnly)
            QVERIFY(QFile::setPermissions(exe, QFile::ReadOwner | QFile::ExeOwner));
        qputenv("HOME", root.filePath(u"home"_s).toUtf8());
        qputenv("XDG_DATA_HOME", (xdg.startsWith(u'/') ? root.path() + xdg : xdg).toUtf8());
        const ProgramFolders found = findProgramFolders(exe);
        QCOMPARE(found.data, root.filePath(data));
        QCOMPARE(found.resources, root.filePath(resources));
        QCOMPARE(found.installed, data != resources);
    }
};

QTEST_GUILESS_MAIN(TestProgramFolders)
#include "tst_programFolders.moc"
