// The download component against a local HTTPS server: complete files,
// server errors, cut, stalled and endless transfers, refused addresses and
// an untrusted certificate. A failed transfer leaves the old file at the
// target and no temporary file beside it.
#include "net/classFileDownload.h"
#include "support/TlsTestServer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(TestResponse)

namespace {

constexpr int Timeout = 15000;
constexpr qint64 Limit = 1 << 20; // above every file served whole

QByteArray randomBytes(qsizetype n)
{
    QByteArray b(n, Qt::Uninitialized);
    QRandomGenerator gen(42);
    for (char& c : b)
        c = char(gen.bounded(256));
    return b;
}

const QByteArray Body = randomBytes(300000);

struct Spies {
    explicit Spies(classFileDownload* d)
        : start(d, &classFileDownload::Start)
        , progress(d, &classFileDownload::Progress)
        , finished(d, &classFileDownload::Finished)
        , failed(d, &classFileDownload::Failed)
    {
    }
    int ended() const { return int(finished.count() + failed.count()); }
    QSignalSpy start, progress, finished, failed;
};

} // namespace

class TestFileDownload : public QObject {
    Q_OBJECT

    TlsTestServer server;
    std::unique_ptr<QTemporaryDir> dir;

    QString target() const { return dir->filePath(u"target"_s); }
    // What stands in the folder: only the target, with its bytes.
    QString left() const
    {
        QFile f(target());
        return QDir(dir->path()).entryList(QDir::Files).join(u' ') + u':'
            + QString::fromLatin1(f.open(QIODevice::ReadOnly) ? f.read(3) : "");
    }
    // The path serving a row's answer.
    static QString rowPath()
    {
        return u"/"_s + QString::fromLatin1(QTest::currentDataTag()).replace(u' ', u'_');
    }

private slots:
    void initTestCase()
    {
        const QString error = server.start();
        QVERIFY2(error.isEmpty(), qPrintable(error));
        server.trustInThisProcess();
    }
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        QFile f(target());
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write("OLD") == 3);
    }

    void outcome_data()
    {
        QTest::addColumn<TestResponse>("response");
        QTest::addColumn<QByteArray>("expected"); // null: the transfer fails
        QTest::newRow("whole file") << TestResponse(200, Body) << Body;
        QTest::newRow("empty file") << TestResponse(200) << QByteArray("");
        QTest::newRow("partial content") << TestResponse(206, Body.left(1000)) << QByteArray();
        QTest::newRow("cut off halfway") << TestResponse(200, Body).cutAfter(1000) << QByteArray();
        QTest::newRow("no length announced")
            << TestResponse(200, Body).withoutLength() << QByteArray();
        const QByteArray plain = "http://127.0.0.1:" + QByteArray::number(server.port()) + "/f";
        QTest::newRow("redirect to plain http") << TestResponse::redirect(plain) << QByteArray();
        server.serve(u"/moved"_s, TestResponse(200, Body));
        QTest::newRow("redirect to https")
            << TestResponse::redirect(server.url(u"/moved"_s).toLatin1()) << Body;
    }

    void outcome()
    {
        QFETCH(TestResponse, response);
        QFETCH(QByteArray, expected);
        server.serve(rowPath(), response);
        classFileDownload d;
        Spies spies(&d);
        QVERIFY(d.Download(server.url(rowPath()), target(), Limit));
        QCOMPARE(spies.ended(), 0); // it returns before the transfer ends
        QTRY_COMPARE_WITH_TIMEOUT(spies.ended(), 1, Timeout);
        QCOMPARE(spies.finished.count(), expected.isNull() ? 0 : 1);
        QFile f(target());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), expected.isNull() ? QByteArray("OLD") : expected);
        QCOMPARE(QDir(dir->path()).entryList(QDir::Files), QStringList { u"target"_s });
        if (expected.isNull())
            return;
        QCOMPARE(spies.start.count(), 1);
        if (!expected.isEmpty()) // the last count is the whole file, of its announced length
            QCOMPARE(
                spies.progress.last()[0].toLongLong() * 2 + spies.progress.last()[1].toLongLong(),
                qint64(expected.size()) * 3);
    }

    void refusedEarly_data()
    {
        // Each answer would run for the whole transfer bound, or for ever,
        // if it were taken to its end.
        QTest::addColumn<TestResponse>("response");
        QTest::addColumn<qint64>("limit");
        QTest::addColumn<int>("stallAfter"); // milliseconds without data; 0: the default
        const qint64 small = 64 * 1024;
        QTest::newRow("announced beyond the bound")
            << TestResponse(200, Body).holdAfter(1000) << small << 0;
        QTest::newRow("exactly the bound and more")
            << TestResponse(200, Body.left(small)).endless() << small << 0;
        QTest::newRow("error page without end")
            << TestResponse(500, "<html>kaputt</html>").endless() << Limit << 0;
        QTest::newRow("stalled") << TestResponse(200, Body).holdAfter(100) << Limit << 300;
    }

    void refusedEarly()
    {
        QFETCH(TestResponse, response);
        QFETCH(qint64, limit);
        QFETCH(int, stallAfter);
        server.serve(rowPath(), response);
        const int closedBefore = server.closedByClient();
        classFileDownload d;
        if (stallAfter)
            d.setTransferTimeout(stallAfter);
        Spies spies(&d);
        QElapsedTimer clock;
        clock.start();
        QVERIFY(d.Download(server.url(rowPath()), target(), limit));
        QTRY_COMPARE_WITH_TIMEOUT(spies.failed.count(), 1, Timeout);
        // A tenth of the 30 s a transfer may run.
        QVERIFY2(clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(!d.isRunning());
        QCOMPARE(spies.finished.count(), 0);
        for (const QList<QVariant>& p : std::as_const(spies.progress))
            QVERIFY(p[0].toLongLong() <= limit);
        // The connection goes at once; nothing of the answer was stored.
        QTRY_COMPARE_WITH_TIMEOUT(server.closedByClient(), closedBefore + 1, Timeout);
        QCOMPARE(left(), u"target:OLD"_s);
        server.release(rowPath());
    }

    void refusedBeforeAnyConnection_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("local");
        QTest::newRow("plain http") << u"http://127.0.0.1:%1/f"_s.arg(server.port()) << target();
        QTest::newRow("no host") << u"https:///f"_s << target();
        QTest::newRow("missing folder") << server.url(u"/f"_s) << dir->filePath(u"fehlt/target"_s);
    }

    void refusedBeforeAnyConnection()
    {
        QFETCH(QString, source);
        QFETCH(QString, local);
        const QStringList before = server.requests();
        classFileDownload d;
        QVERIFY(!d.Download(source, local, Limit));
        QCOMPARE(server.requests(), before);
        QCOMPARE(left(), u"target:OLD"_s);
    }

    void untrustedCertificateFails()
    {
        TlsTestServer stranger; // its certificate is trusted by nobody
        const QString error = stranger.start();
        QVERIFY2(error.isEmpty(), qPrintable(error));
        stranger.serve(u"/f"_s, TestResponse(200, "Setup"));
        classFileDownload d;
        Spies spies(&d);
        QVERIFY(d.Download(stranger.url(u"/f"_s), target(), Limit));
        QTRY_COMPARE_WITH_TIMEOUT(spies.failed.count(), 1, Timeout);
        QVERIFY(stranger.requests().isEmpty());
        QCOMPARE(left(), u"target:OLD"_s);
    }
};

QTEST_MAIN(TestFileDownload)
#include "tst_fileDownload.moc"
