#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QSslCertificate>
#include <QSslServer>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

class QSslSocket;

// What the test server answers for one path.
struct TestResponse {
    TestResponse(int status = 200, QByteArray body = {})
        : status(status)
        , body(std::move(body))
    {
    }
    // Close the connection after n body bytes.
    TestResponse cutAfter(qint64 n) const { return with(&TestResponse::cut, n); }
    // Send n body bytes, the rest on release().
    TestResponse holdAfter(qint64 n) const { return with(&TestResponse::hold, n); }
    // After the body, filler bytes without end and without a Content-Length
    // header, as fast as the client takes them.
    TestResponse endless() const { return withoutLength().with(&TestResponse::endlessBody, true); }
    // No Content-Length header.
    TestResponse withoutLength() const { return with(&TestResponse::announceLength, false); }
    static TestResponse redirect(const QByteArray& location)
    {
        return TestResponse(302).with(&TestResponse::location, location);
    }
    template <typename T> TestResponse with(T TestResponse::*field, T value) const
    {
        TestResponse r = *this;
        r.*field = value;
        return r;
    }

    int status;
    QByteArray body;
    bool announceLength = true;
    QByteArray location;
    qint64 cut = -1;
    qint64 hold = -1;
    bool endlessBody = false;
};

// A small HTTPS server on 127.0.0.1 for the download tests, with a
// certificate made for it by openssl. Nothing trusts it until
// trustInThisProcess(); each request is answered on its own connection.
class TlsTestServer : public QObject {
public:
    explicit TlsTestServer(QObject* parent = nullptr);
    ~TlsTestServer() override;

    // Empty when the server listens; otherwise what went wrong.
    QString start();
    // Adds this server's certificate to the certificates the process trusts.
    void trustInThisProcess() const;
    QString url(const QString& path) const;
    quint16 port() const { return m_server.serverPort(); }

    void serve(const QString& path, const TestResponse& response);
    // Sends what is held back for path and ends those answers; a request
    // for path that comes later is answered whole.
    void release(const QString& path);
    // Forgets what an earlier test set up: answers, held answers (their
    // connections are closed), requests and counts. A connection of that
    // test that is still on its way is closed unanswered when its request
    // comes, so that it cannot count in the next test.
    void reset();

    QStringList requests() const { return m_requests; }
    // Answers held back or without end whose connection the client closed.
    int closedByClient() const { return m_closedByClient; }

private:
    struct Held {
        // The connection goes away by itself when the client closes it.
        QPointer<QSslSocket> socket;
        QByteArray rest;
    };
    void accept();
    void answer(QSslSocket* socket, const QString& path);

    QTemporaryDir m_dir;
    QSslServer m_server;
    QSslCertificate m_certificate;
    QHash<QString, TestResponse> m_responses;
    QHash<QString, QList<Held>> m_held;
    QStringList m_requests;
    int m_closedByClient = 0;
};
