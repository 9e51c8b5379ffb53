#include "platform/FileOps.h"
#include "platform/RuntimeError.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

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

void put(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QByteArray get(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

} // namespace

class TestFileOps : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup() { m_root.reset(); }

    void failures_data();
    void failures();
    void queries();
    void createEmptyFileTruncates();
    void copyFileOverwritesAndKeepsSource();
    void copyFileOntoItself();
    void copyFolderWithContents();
    void deleteByPattern_data();
    void deleteByPattern();
    void listFilesSkipsHiddenAndFolders();

private:
    QString p(const QString& rel) const { return m_root->path() + u'/' + rel; }
    std::unique_ptr<QTemporaryDir> m_root;
};

void TestFileOps::init()
{
    // Layout: a.txt, sub/ (with b.txt), empty/
    m_root = std::make_unique<QTemporaryDir>();
    QDir d(m_root->path());
    d.mkpath(u"sub"_s);
    d.mkpath(u"empty"_s);
    put(p(u"a.txt"_s), "AAA");
    put(p(u"sub/b.txt"_s), "BB");
}

void TestFileOps::failures_data()
{
    QTest::addColumn<QString>("what");
    QTest::addColumn<int>("error");
    QTest::newRow("length of missing file") << u"length:nix"_s << Err::FileNotFound;
    QTest::newRow("length of a folder") << u"length:sub"_s << Err::FileNotFound;
    QTest::newRow("create existing folder") << u"createDir:sub"_s << Err::PathFileAccess;
    QTest::newRow("create folder, parent missing") << u"createDir:nix/neu"_s << Err::PathNotFound;
    QTest::newRow("create file, folder missing") << u"createEmptyFile:nix/x"_s << Err::PathNotFound;
    QTest::newRow("create file over a folder") << u"createEmptyFile:sub"_s << Err::PermissionDenied;
    QTest::newRow("copy missing file") << u"copyFile:nix"_s << Err::FileNotFound;
    QTest::newRow("copy into missing folder") << u"copyFileTo:nix/a.txt"_s << Err::PathNotFound;
    QTest::newRow("copy missing folder") << u"copyFolder:nix"_s << Err::PathNotFound;
    QTest::newRow("delete missing file") << u"deleteFile:nix"_s << Err::FileNotFound;
    QTest::newRow("delete a folder as file") << u"deleteFile:sub"_s << Err::FileNotFound;
    QTest::newRow("pattern in missing folder") << u"deleteByPattern:nix"_s << Err::PathNotFound;
    QTest::newRow("pattern without match") << u"deleteByPattern:empty"_s << Err::FileNotFound;
    QTest::newRow("list missing folder") << u"listFiles:nix"_s << Err::PathNotFound;
}

void TestFileOps::failures()
{
    QFETCH(QString, what);
    QFETCH(int, error);
    const QString op = what.section(u':', 0, 0);
    const QString path = p(what.section(u':', 1));
    const std::function<void()> call = [&] {
        if (op == u"length")
            FileOps::length(path);
        else if (op == u"createDir")
            FileOps::createDir(path);
        else if (op == u"createEmptyFile")
            FileOps::createEmptyFile(path);
        else if (op == u"copyFile")
            FileOps::copyFile(path, p(u"copy.txt"_s));
        else if (op == u"copyFileTo")
            FileOps::copyFile(p(u"a.txt"_s), path);
        else if (op == u"copyFolder")
            FileOps::copyFolder(path, p(u"copy"_s));
        else if (op == u"deleteFile")
            FileOps::deleteFile(path);
        else if (op == u"deleteByPattern")
            FileOps::deleteByPattern(path, u"*.html"_s);
        else if (op == u"listFiles")
            FileOps::listFiles(path);
        else
            QFAIL("unknown operation");
    };
    QCOMPARE(errorOf(call), error);
    // A failed call leaves what was there.
    QCOMPARE(get(p(u"a.txt"_s)), QByteArray("AAA"));
    QVERIFY(FileOps::dirExists(p(u"sub"_s)));
}

void TestFileOps::queries()
{
    QVERIFY(FileOps::exists(p(u"a.txt"_s)));
    QVERIFY(FileOps::exists(p(u"sub"_s)));
    QVERIFY(!FileOps::exists(p(u"nix"_s)));
    QVERIFY(FileOps::fileExists(p(u"a.txt"_s)));
    QVERIFY(!FileOps::fileExists(p(u"sub"_s)));
    QVERIFY(FileOps::dirExists(p(u"sub"_s)));
    QVERIFY(!FileOps::dirExists(p(u"a.txt"_s)));
    QCOMPARE(FileOps::length(p(u"a.txt"_s)), 3);
}

void TestFileOps::createEmptyFileTruncates()
{
    FileOps::createEmptyFile(p(u"a.txt"_s));
    QCOMPARE(FileOps::length(p(u"a.txt"_s)), 0);
    FileOps::createEmptyFile(p(u"sub/neu"_s));
    QVERIFY(FileOps::fileExists(p(u"sub/neu"_s)));
}

void TestFileOps::copyFileOverwritesAndKeepsSource()
{
    FileOps::copyFile(p(u"a.txt"_s), p(u"sub/b.txt"_s));
    QCOMPARE(get(p(u"sub/b.txt"_s)), QByteArray("AAA"));
    QCOMPARE(get(p(u"a.txt"_s)), QByteArray("AAA"));
    QCOMPARE(QDir(p(u"sub"_s)).entryList(QDir::Files | QDir::Hidden), QStringList { u"b.txt"_s });
}

void TestFileOps::copyFileOntoItself()
{
    FileOps::copyFile(p(u"a.txt"_s), p(u"sub/../a.txt"_s));
    QCOMPARE(get(p(u"a.txt"_s)), QByteArray("AAA"));
}

void TestFileOps::copyFolderWithContents()
{
    QDir(p(u"sub"_s)).mkpath(u"deeper"_s);
    put(p(u"sub/deeper/c.jpg"_s), "C");
    put(p(u"copy-b.txt"_s), "old");
    FileOps::copyFolder(p(u"sub"_s), p(u"copy"_s));
    QCOMPARE(get(p(u"copy/b.txt"_s)), QByteArray("BB"));
    QCOMPARE(get(p(u"copy/deeper/c.jpg"_s)), QByteArray("C"));
    // Copying again over an existing copy overwrites it.
    put(p(u"sub/b.txt"_s), "new");
    FileOps::copyFolder(p(u"sub"_s), p(u"copy"_s));
    QCOMPARE(get(p(u"copy/b.txt"_s)), QByteArray("new"));
}

void TestFileOps::deleteByPattern_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QStringList>("left"); // files in the folder afterwards
    QTest::addColumn<int>("count");
    // The folder holds: front.html, KOSTEN.HTML, dummy.html, notes.txt,
    // DUMMY.txt, README, .hidden.html; and the folder sub.html/.
    QTest::newRow("html any case")
        << u"*.html"_s << QStringList { u"DUMMY.txt"_s, u"README"_s, u"notes.txt"_s } << 4;
    QTest::newRow("every file") << u"*.*"_s << QStringList() << 7;
    QTest::newRow("one name") << u"DUMMY.TXT"_s
                              << QStringList { u".hidden.html"_s, u"KOSTEN.HTML"_s, u"README"_s,
                                     u"dummy.html"_s, u"front.html"_s, u"notes.txt"_s }
                              << 1;
    QTest::newRow("question mark") << u"dumm?.*"_s
                                   << QStringList { u".hidden.html"_s, u"KOSTEN.HTML"_s,
                                          u"README"_s, u"front.html"_s, u"notes.txt"_s }
                                   << 2;
}

void TestFileOps::deleteByPattern()
{
    QFETCH(QString, pattern);
    QFETCH(QStringList, left);
    QFETCH(int, count);
    QDir d(p(u"empty"_s));
    for (const QString& name : { u"front.html"_s, u"KOSTEN.HTML"_s, u"dummy.html"_s, u"notes.txt"_s,
             u"DUMMY.txt"_s, u"README"_s, u".hidden.html"_s })
        put(d.filePath(name), "x");
    d.mkdir(u"sub.html"_s);
    QCOMPARE(FileOps::deleteByPattern(d.path(), pattern), count);
    QCOMPARE(d.entryList(QDir::Files | QDir::Hidden, QDir::Name), left);
    QVERIFY(d.exists(u"sub.html"_s)); // folders are not touched
}

void TestFileOps::listFilesSkipsHiddenAndFolders()
{
    put(p(u".versteckt"_s), "h");
    put(p(u"b.jpg"_s), "j");
    QCOMPARE(FileOps::listFiles(m_root->path()), (QStringList { u"a.txt"_s, u"b.jpg"_s }));
    QCOMPARE(FileOps::listFiles(p(u"empty"_s)), QStringList());
}

QTEST_GUILESS_MAIN(TestFileOps)
#include "tst_fileops.moc"
