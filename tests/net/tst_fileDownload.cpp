// The download component against a local HTTPS server: complete files,
// server errors, cut and stalled transfers, answers beyond the size bound,
// refused addresses, an untrusted certificate, cancel and release.
#include "net/classFileDownload.h"
#include "support/TlsTestServer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPointer>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTcpServer>
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

class tst_fileDownload : public QObject {
    Q_OBJECT

    TlsTestServer server;
    std::unique_ptr<QTemporaryDir> dir;

    QString target() const { return dir->filePath(u"target"_s); }
    QByteArray targetBytes() const
    {
        QFile f(target());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    // Only the target may stand in the folder: no temporary file is left.
    QStringList filesLeft() const { return QDir(dir->path()).entryList(QDir::Files); }
    void writeOldTarget() const
    {
        QFile f(target());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("OLD");
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
        writeOldTarget();
    }

    void outcome_data()
    {
        // expected: the file that stands at the target afterwards; a failed
        // transfer leaves the old one.
        QTest::addColumn<TestResponse>("response");
        QTest::addColumn<bool>("completes");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray body = randomBytes(300000);
        QTest::newRow("whole file") << TestResponse(200, body) << true << body;
        QTest::newRow("empty file") << TestResponse(200) << true << QByteArray("");
        QTest::newRow("not found")
            << TestResponse(404, "<html>fehlt</html>") << false << QByteArray("OLD");
        QTest::newRow("partial content")
            << TestResponse(206, body.left(1000)) << false << QByteArray("OLD");
        QTest::newRow("server error")
            << TestResponse(500, "<html>kaputt</html>") << false << QByteArray("OLD");
        QTest::newRow("cut off halfway")
            << TestResponse(200, body).cutAfter(body.size() / 2) << false << QByteArray("OLD");
        QTest::newRow("no length announced")
            << TestResponse(200, body).withoutLength() << false << QByteArray("OLD");
        const QByteArray plain = "http://127.0.0.1:" + QByteArray::number(server.port()) + "/f";
        QTest::newRow("redirect to plain http")
            << TestResponse::redirect(plain) << false << QByteArray("OLD");
        server.serve(u"/moved"_s, TestResponse(200, body));
        QTest::newRow("redirect to https")
            << TestResponse::redirect(server.url(u"/moved"_s).toLatin1()) << true << body;
    }

    void outcome()
    {
        QFETCH(TestResponse, response);
        QFETCH(bool, completes);
        QFETCH(QByteArray, expected);
        const QString path
            = u"/"_s + QString::fromLatin1(QTest::currentDataTag()).replace(u' ', u'_');
        server.serve(path, response);
        classFileDownload d;
        Spies spies(&d);
        QVERIFY(d.Download(server.url(path), target(), Limit));
        QCOMPARE(spies.ended(), 0); // it returns before the transfer ends
        QTRY_COMPARE_WITH_TIMEOUT(spies.ended(), 1, Timeout);
        QCOMPARE(spies.finished.count(), completes ? 1 : 0);
        QCOMPARE(targetBytes(), expected);
        QCOMPARE(filesLeft(), QStringList { u"target"_s });
        if (!completes)
            return;
        QCOMPARE(spies.start.count(), 1);
        qint64 last = -1;
        for (const QList<QVariant>& p : std::as_const(spies.progress)) {
            QVERIFY(p[0].toLongLong() >= last);
            last = p[0].toLongLong();
            QCOMPARE(p[1].toLongLong(), qint64(expected.size()));
        }
        if (!expected.isEmpty())
            QCOMPARE(last, qint64(expected.size()));
    }

    void refusedEarly_data()
    {
        // Each answer would run for the whole transfer bound (or for ever)
        // and fill the memory or the disk if it were taken to its end.
        QTest::addColumn<TestResponse>("response");
        QTest::addColumn<qint64>("limit");
        const qint64 small = 64 * 1024;
        const QByteArray body = randomBytes(300000);
        QTest::newRow("announced beyond the bound")
            << TestResponse(200, body).holdAfter(1000) << small;
        QTest::newRow("beyond the bound without length")
            << TestResponse(200, body).withoutLength().holdAfter(200000) << small;
        QTest::newRow("without end") << TestResponse(200).endless() << small;
        QTest::newRow("exactly the bound and more")
            << TestResponse(200, body.left(small)).endless() << small;
        QTest::newRow("error page without end")
            << TestResponse(500, "<html>kaputt</html>").endless() << Limit;
        QTest::newRow("large error page held")
            << TestResponse(404, body).holdAfter(200000) << Limit;
    }

    void refusedEarly()
    {
        QFETCH(TestResponse, response);
        QFETCH(qint64, limit);
        const QString path
            = u"/"_s + QString::fromLatin1(QTest::currentDataTag()).replace(u' ', u'_');
        server.serve(path, response);
        const int closedBefore = server.closedByClient();
        classFileDownload d;
        Spies spies(&d);
        QElapsedTimer clock;
        clock.start();
        QVERIFY(d.Download(server.url(path), target(), limit));
        QTRY_COMPARE_WITH_TIMEOUT(spies.failed.count(), 1, Timeout);
        // A tenth of the 30 s a transfer may run.
        QVERIFY2(clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(!d.isRunning());
        QCOMPARE(spies.finished.count(), 0);
        for (const QList<QVariant>& p : std::as_const(spies.progress))
            QVERIFY(p[0].toLongLong() <= limit);
        // The connection goes at once; nothing of the answer was stored.
        QTRY_COMPARE_WITH_TIMEOUT(server.closedByClient(), closedBefore + 1, Timeout);
        QCOMPARE(filesLeft(), QStringList { u"target"_s });
        QCOMPARE(targetBytes(), QByteArray("OLD"));
        server.release(path);
    }

    void refusedBeforeAnyConnection_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("local");
        QTest::newRow("plain http") << u"http://127.0.0.1:%1/f"_s.arg(server.port()) << target();
        QTest::newRow("ftp") << u"ftp://127.0.0.1/f"_s << target();
        QTest::newRow("no address") << u"kein Link"_s << target();
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
        QCOMPARE(targetBytes(), QByteArray("OLD"));
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
        QCOMPARE(targetBytes(), QByteArray("OLD"));
    }

    void noServerFails()
    {
        quint16 port = 0;
        {
            QTcpServer probe;
            QVERIFY(probe.listen(QHostAddress::LocalHost));
            port = probe.serverPort();
        }
        classFileDownload d;
        Spies spies(&d);
        QVERIFY(d.Download(u"https://127.0.0.1:%1/f"_s.arg(port), target(), Limit));
        QTRY_COMPARE_WITH_TIMEOUT(spies.failed.count(), 1, Timeout);
        QCOMPARE(targetBytes(), QByteArray("OLD"));
    }

    void stalledTransferFails()
    {
        server.serve(u"/stall"_s, TestResponse(200, randomBytes(5000)).holdAfter(100));
        classFileDownload d;
        d.setTransferTimeout(300);
        Spies spies(&d);
        QVERIFY(d.Download(server.url(u"/stall"_s), target(), Limit));
        QTRY_COMPARE_WITH_TIMEOUT(spies.failed.count(), 1, Timeout);
        QCOMPARE(spies.finished.count(), 0);
        QCOMPARE(filesLeft(), QStringList { u"target"_s });
        QCOMPARE(targetBytes(), QByteArray("OLD"));
        server.release(u"/stall"_s);
    }

    void cancelStopsAndAllowsANewTransfer()
    {
        const QByteArray body = randomBytes(100000);
        server.serve(u"/slow"_s, TestResponse(200, body).holdAfter(1000));
        classFileDownload d;
        Spies spies(&d);
        QVERIFY(d.Download(server.url(u"/slow"_s), target(), Limit));
        QTRY_VERIFY_WITH_TIMEOUT(!spies.progress.isEmpty(), Timeout);
        QVERIFY(d.isRunning());
        const int closedBefore = server.closedByClient();
        d.Cancel();
        QVERIFY(!d.isRunning());
        // The server sees the connection go; nothing more comes of it.
        QTRY_COMPARE_WITH_TIMEOUT(server.closedByClient(), closedBefore + 1, Timeout);
        QCOMPARE(spies.ended(), 0);
        QCOMPARE(filesLeft(), QStringList { u"target"_s });
        QCOMPARE(targetBytes(), QByteArray("OLD"));

        server.serve(u"/slow"_s, TestResponse(200, body));
        QVERIFY(d.Download(server.url(u"/slow"_s), target(), Limit));
        QTRY_COMPARE_WITH_TIMEOUT(spies.finished.count(), 1, Timeout);
        QCOMPARE(targetBytes(), body);
    }

    void releaseEndsEvents()
    {
        server.serve(u"/held"_s, TestResponse(200, randomBytes(50000)).holdAfter(1000));
        QPointer<classFileDownload> d = new classFileDownload;
        Spies spies(d);
        QVERIFY(d->Download(server.url(u"/held"_s), target(), Limit));
        QTRY_VERIFY_WITH_TIMEOUT(!spies.progress.isEmpty(), Timeout);
        const int closedBefore = server.closedByClient();
        d->Release();
        QTRY_VERIFY_WITH_TIMEOUT(d.isNull(), Timeout);
        QTRY_COMPARE_WITH_TIMEOUT(server.closedByClient(), closedBefore + 1, Timeout);
        QCOMPARE(spies.ended(), 0);
        QCOMPARE(targetBytes(), QByteArray("OLD"));
    }
};

QTEST_MAIN(tst_fileDownload)
#include "tst_fileDownload.moc"
