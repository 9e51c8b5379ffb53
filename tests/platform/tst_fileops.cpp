#include "platform/FileOps.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;
using namespace FileOps;
using Call = std::function<void(const QString&)>;
Q_DECLARE_METATYPE(Call)

class TestFileOps : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnv> m_t;
    QString p(const QString& rel) const { return m_t->dir() + u'/' + rel; }
    QStringList filesIn(const QString& rel) const
    {
        return QDir(p(rel)).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

private slots:
    // Each test starts with a.txt, sub/b.txt and the folder empty/.
    void init()
    {
        m_t = std::make_unique<TestEnv>();
        m_t->write(u"a.txt"_s, "AAA");
        m_t->write(u"sub/b.txt"_s, "BB");
        QDir(m_t->dir()).mkdir(u"empty"_s);
    }

    void failures_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<Call>("call");
        QTest::addColumn<int>("error");
        const Call len = [](const QString& p) { length(p); };
        const Call mkdir = [](const QString& p) { createDir(p); };
        const Call create = [](const QString& p) { createEmptyFile(p); };
        const Call del = [](const QString& p) { deleteFile(p); };
        const Call html = [](const QString& p) { FileOps::deleteByPattern(p, u"*.html"_s); };
        const Call copyTo = [this](const QString& p) { copyFile(this->p(u"a.txt"_s), p); };
        const Call copyFrom = [](const QString& p) { copyFile(p, p + u"2"_s); };
        QTest::newRow("length, missing") << u"nix"_s << len << 53;
        QTest::newRow("create existing folder") << u"sub"_s << mkdir << 75;
        QTest::newRow("create folder, no parent") << u"nix/neu"_s << mkdir << 76;
        QTest::newRow("create file, no folder") << u"nix/x"_s << create << 76;
        QTest::newRow("create file over folder") << u"sub"_s << create << 70;
        QTest::newRow("copy missing file") << u"nix"_s << copyFrom << 53;
        QTest::newRow("copy into missing folder") << u"nix/a.txt"_s << copyTo << 76;
        QTest::newRow("delete missing file") << u"nix"_s << del << 53;
        QTest::newRow("delete folder as file") << u"sub"_s << del << 53;
        QTest::newRow("pattern, missing folder") << u"nix"_s << html << 76;
        QTest::newRow("pattern without match") << u"empty"_s << html << 53;
        QTest::newRow("list missing folder") << u"nix"_s << Call(listFiles) << 76;
    }

    void failures()
    {
        QFETCH(QString, path);
        QFETCH(Call, call);
        QFETCH(int, error);
        QCOMPARE(errorNumberOf([&] { call(p(path)); }), error);
        // A failed call leaves what was there.
        QCOMPARE(m_t->read(u"a.txt"_s), QByteArray("AAA"));
        QVERIFY(dirExists(p(u"sub"_s)));
    }

    void queriesAndCopies()
    {
        copyFile(p(u"a.txt"_s), p(u"sub/../a.txt"_s)); // onto itself: nothing lost
        QCOMPARE(m_t->read(u"a.txt"_s), QByteArray("AAA"));
        copyFile(p(u"a.txt"_s), p(u"sub/b.txt"_s));
        QCOMPARE(m_t->read(u"sub/b.txt"_s), QByteArray("AAA"));
        QCOMPARE(filesIn(u"sub"_s), QStringList { u"b.txt"_s }); // no temporary left

        createEmptyFile(p(u"a.txt"_s));
        QCOMPARE(length(p(u"a.txt"_s)), 0);
        m_t->write(u".versteckt"_s, "h"); // hidden files and folders are not listed
        QCOMPARE(listFiles(m_t->dir()), QStringList { u"a.txt"_s });
    }

    void deleteByPattern_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QStringList>("left");
        QTest::newRow("html in any case")
            << u"*.html"_s << QStringList { u"DUMMY.txt"_s, u"README"_s, u"notes.txt"_s };
        QTest::newRow("every file") << u"*.*"_s << QStringList();
        QTest::newRow("question mark") << u"dumm?.*"_s
                                       << QStringList { u".hidden.html"_s, u"KOSTEN.HTML"_s,
                                              u"README"_s, u"front.html"_s, u"notes.txt"_s };
    }

    void deleteByPattern()
    {
        QFETCH(QString, pattern);
        QFETCH(QStringList, left);
        const QStringList all { u".hidden.html"_s, u"DUMMY.txt"_s, u"KOSTEN.HTML"_s, u"README"_s,
            u"dummy.html"_s, u"front.html"_s, u"notes.txt"_s };
        for (const QString& name : all)
            m_t->write(u"empty/"_s + name, "x");
        QDir(p(u"empty"_s)).mkdir(u"sub.html"_s);
        QCOMPARE(FileOps::deleteByPattern(p(u"empty"_s), pattern), all.size() - left.size());
        QCOMPARE(filesIn(u"empty"_s), left);
        QVERIFY(dirExists(p(u"empty/sub.html"_s))); // folders are not touched
    }
};

QTEST_GUILESS_MAIN(TestFileOps)
#include "tst_fileops.moc"
