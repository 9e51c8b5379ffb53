#include "support/TlsTestServer.h"

#include <QFile>
#include <QHostAddress>
#include <QProcess>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslSocket>

namespace {

// Marks a connection made before reset().
const char* const kEarlierTest = "earlierTest";

} // namespace

TlsTestServer::TlsTestServer(QObject* parent)
    : QObject(parent)
{
}

TlsTestServer::~TlsTestServer()
{
    m_server.close();
    // Connections still open go with the server, after this object's
    // members: they must not reach back into them.
    for (QSslSocket* socket : m_server.findChildren<QSslSocket*>())
        socket->disconnect(this);
}

QString TlsTestServer::start()
{
    if (!QSslSocket::supportsSsl())
        return QStringLiteral("Qt has no TLS backend");
    const QString certFile = m_dir.filePath(QStringLiteral("cert.pem"));
    const QString keyFile = m_dir.filePath(QStringLiteral("key.pem"));
    QProcess openssl;
    openssl.start(QStringLiteral("openssl"),
        QStringLiteral("req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 2 "
                       "-subj /CN=127.0.0.1 -addext subjectAltName=IP:127.0.0.1")
                .split(u' ')
            << QStringLiteral("-keyout") << keyFile << QStringLiteral("-out") << certFile);
    if (!openssl.waitForFinished(30000) || openssl.exitCode() != 0)
        return QStringLiteral("openssl: ") + openssl.errorString()
            + QString::fromLocal8Bit(openssl.readAllStandardError());

    QFile cert(certFile), key(keyFile);
    if (!cert.open(QIODevice::ReadOnly) || !key.open(QIODevice::ReadOnly))
        return QStringLiteral("certificate files missing");
    m_certificate = QSslCertificate(&cert, QSsl::Pem);
    QSslConfiguration conf = QSslConfiguration::defaultConfiguration();
    conf.setLocalCertificate(m_certificate);
    conf.setPrivateKey(QSslKey(&key, QSsl::Ec, QSsl::Pem));
    conf.setPeerVerifyMode(QSslSocket::VerifyNone);
    m_server.setSslConfiguration(conf);
    connect(&m_server, &QTcpServer::pendingConnectionAvailable, this, [this] { accept(); });
    if (!m_server.listen(QHostAddress::LocalHost))
        return m_server.errorString();
    return QString();
}

void TlsTestServer::trustInThisProcess() const
{
    QSslConfiguration conf = QSslConfiguration::defaultConfiguration();
    conf.addCaCertificate(m_certificate);
    QSslConfiguration::setDefaultConfiguration(conf);
}

QString TlsTestServer::url(const QString& path) const
{
    return QStringLiteral("https://127.0.0.1:%1%2").arg(port()).arg(path);
}

void TlsTestServer::serve(const QString& path, const TestResponse& response)
{
    m_responses.insert(path, response);
}

void TlsTestServer::reset()
{
    for (QSslSocket* socket : m_server.findChildren<QSslSocket*>())
        socket->setProperty(kEarlierTest, true);
    for (const QList<Held>& held : std::as_const(m_held)) {
        for (const Held& h : held) {
            if (h.socket) {
                h.socket->disconnect(this);
                h.socket->abort();
            }
        }
    }
    m_held.clear();
    m_responses.clear();
    m_requests.clear();
    m_closedByClient = 0;
}

void TlsTestServer::accept()
{
    while (QTcpSocket* s = m_server.nextPendingConnection()) {
        auto* socket = qobject_cast<QSslSocket*>(s);
        connect(socket, &QSslSocket::readyRead, this, [this, socket] {
            if (socket->property(kEarlierTest).toBool()) {
                socket->disconnect(this);
                socket->abort();
                return;
            }
            // The request so far travels with its connection.
            const QByteArray request
                = socket->property("request").toByteArray() + socket->readAll();
            if (!request.contains("\r\n\r\n")) {
                socket->setProperty("request", request);
                return;
            }
            // "GET /path HTTP/1.1"
            const QList<QByteArray> first = request.left(request.indexOf("\r\n")).split(' ');
            const QString path = first.size() > 1 ? QString::fromLatin1(first[1]) : QString();
            socket->disconnect(this);
            answer(socket, path);
        });
        connect(socket, &QSslSocket::disconnected, socket, &QObject::deleteLater);
    }
}

void TlsTestServer::answer(QSslSocket* socket, const QString& path)
{
    m_requests.append(path);
    const auto found = m_responses.constFind(path);
    TestResponse r = found != m_responses.cend() ? *found : TestResponse(404, "not found");
    // The reason phrase is not read by the client.
    QByteArray head = "HTTP/1.1 " + QByteArray::number(r.status) + " Status\r\n";
    if (r.announceLength)
        head += "Content-Length: " + QByteArray::number(r.body.size()) + "\r\n";
    if (!r.location.isEmpty())
        head += "Location: " + r.location + "\r\n";
    head += "Connection: close\r\n\r\n";

    qint64 sent = r.body.size();
    if (r.cut >= 0)
        sent = qMin(sent, r.cut);
    if (r.hold >= 0)
        sent = qMin(sent, r.hold);
    if (r.endlessBody) {
        socket->write(head);
        socket->write(r.body.left(sent));
        socket->flush();
        // A few pieces ahead of the client, so that the bytes keep coming
        // without piling up in the server; the encrypted bytes wait in a
        // buffer of their own.
        static const QByteArray filler(64 * 1024, 'x');
        const auto topUp = [socket] {
            while (socket->bytesToWrite() + socket->encryptedBytesToWrite() < 4 * filler.size())
                socket->write(filler);
        };
        connect(socket, &QSslSocket::encryptedBytesWritten, socket, topUp);
        connect(socket, &QSslSocket::disconnected, this, [this] { ++m_closedByClient; });
        topUp();
        return;
    }
    const bool holds = r.hold >= 0 && r.cut < 0;
    if (holds) {
        // A request read after its client closed the connection: the write
        // below may find it closed and report that at once, so the answer
        // is held and watched before anything is written.
        if (socket->state() != QAbstractSocket::ConnectedState) {
            ++m_closedByClient;
            return;
        }
        m_held[path].append({ socket, r.body.mid(sent) });
        connect(socket, &QSslSocket::disconnected, this, [this, socket, path] {
            QList<Held>& held = m_held[path];
            for (qsizetype i = 0; i < held.size(); ++i) {
                if (held[i].socket == socket) {
                    held.removeAt(i);
                    ++m_closedByClient;
                    return;
                }
            }
        });
    }
    socket->write(head);
    socket->write(r.body.left(sent));
    socket->flush();
    if (!holds)
        socket->disconnectFromHost();
}

void TlsTestServer::release(const QString& path)
{
    if (const auto r = m_responses.find(path); r != m_responses.end())
        r->hold = -1;
    const QList<Held> held = m_held.take(path);
    for (const Held& h : held) {
        if (!h.socket)
            continue;
        h.socket->write(h.rest);
        h.socket->disconnectFromHost();
    }
}
