#include "net/classFileDownload.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>
#include <QUrl>

#include <algorithm>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

qint32 clamp32(qint64 n)
{
    return static_cast<qint32>(std::clamp<qint64>(n, 0, std::numeric_limits<qint32>::max()));
}

bool isRedirect(int status)
{
    return status >= 300 && status < 400;
}

} // namespace

classFileDownload::classFileDownload(QObject* parent)
    : QObject(parent)
    , m_net(new QNetworkAccessManager(this))
{
}

classFileDownload::~classFileDownload()
{
    stop();
}

bool classFileDownload::Download(const QString& source, const QString& localPath, qint64 maxBytes)
{
    if (m_reply || maxBytes < 0)
        return false;
    const QUrl url(source, QUrl::StrictMode);
    if (!url.isValid() || url.scheme() != u"https"_s || url.host().isEmpty())
        return false;

    auto file = std::make_unique<QSaveFile>(localPath);
    if (!file->open(QIODevice::WriteOnly))
        return false;

    QNetworkRequest request(url);
    // Redirects are followed only to HTTPS addresses.
    request.setAttribute(
        QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    // The bytes as stored on the server, so that their count is the
    // announced length and the signature covers exactly them.
    request.setRawHeader("Accept-Encoding", "identity");
    request.setTransferTimeout(m_timeout);

    m_file = std::move(file);
    m_source = source;
    m_received = 0;
    m_limit = maxBytes;
    m_started = false;
    m_reply = m_net->get(request);
    connect(m_reply, &QNetworkReply::metaDataChanged, this, &classFileDownload::onMetaData);
    connect(m_reply, &QNetworkReply::readyRead, this, &classFileDownload::onReadyRead);
    connect(m_reply, &QNetworkReply::finished, this, &classFileDownload::onFinished);
    return true;
}

void classFileDownload::onMetaData()
{
    if (!m_reply)
        return;
    const int status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (isRedirect(status))
        return; // followed, or refused when less safe, by the request itself
    // An error answer is of no use: it ends here, before its body arrives.
    if (status != 200) {
        fail(u"HTTP %1"_s.arg(status));
        return;
    }
    const QVariant announced = m_reply->header(QNetworkRequest::ContentLengthHeader);
    if (announced.isValid() && announced.toLongLong() > m_limit)
        fail(u"%1 Bytes angekündigt, erlaubt sind %2"_s.arg(announced.toLongLong()).arg(m_limit));
}

void classFileDownload::onReadyRead()
{
    if (!m_reply || !m_file)
        return;
    const int status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status != 200) {
        // The body of a redirect is dropped, never stored.
        m_reply->skip(m_reply->bytesAvailable());
        return;
    }
    // Refused before the bytes beyond the bound are even read.
    if (m_received + m_reply->bytesAvailable() > m_limit) {
        fail(u"mehr als %1 Bytes"_s.arg(m_limit));
        return;
    }
    if (!m_started) {
        m_started = true;
        Q_EMIT Start();
        if (!m_reply)
            return; // cancelled from the handler
    }
    const QByteArray chunk = m_reply->readAll();
    m_received += chunk.size();
    const QVariant announced = m_reply->header(QNetworkRequest::ContentLengthHeader);
    if (announced.isValid() && m_received > announced.toLongLong()) {
        fail(u"mehr Daten als angekündigt"_s);
        return;
    }
    if (m_file->write(chunk) != chunk.size()) {
        fail(u"Datei nicht schreibbar: "_s + m_file->errorString());
        return;
    }
    // Reported for every piece that arrives (Qt's own progress signal is
    // held back while data trickles in).
    if (!chunk.isEmpty())
        Q_EMIT Progress(
            clamp32(m_received), announced.isValid() ? clamp32(announced.toLongLong()) : 0);
}

void classFileDownload::onFinished()
{
    if (!m_reply)
        return;
    QNetworkReply* reply = m_reply;
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply->error() != QNetworkReply::NoError) {
        fail(reply->errorString() + (status ? u" (HTTP %1)"_s.arg(status) : QString()));
        return;
    }
    if (status != 200) {
        fail(u"HTTP %1"_s.arg(status));
        return;
    }
    if (reply->url().scheme() != u"https"_s) {
        fail(u"keine verschlüsselte Verbindung"_s);
        return;
    }
    onReadyRead();
    if (!m_reply)
        return;
    const QVariant announced = reply->header(QNetworkRequest::ContentLengthHeader);
    if (!announced.isValid()) {
        fail(u"keine Länge angekündigt"_s);
        return;
    }
    if (m_received != announced.toLongLong()) {
        fail(u"unvollständig: %1 von %2 Bytes"_s.arg(m_received).arg(announced.toLongLong()));
        return;
    }
    if (!m_started) {
        // An empty file sends no bytes, but its transfer did take place.
        m_started = true;
        Q_EMIT Start();
        if (!m_reply)
            return;
    }
    if (!m_file->commit()) {
        fail(u"Datei nicht speicherbar: "_s + m_file->errorString());
        return;
    }
    m_file.reset();
    stop();
    Q_EMIT Finished();
}

void classFileDownload::fail(const QString& reason)
{
    stop();
    Q_EMIT Failed(m_source + u": "_s + reason);
}

void classFileDownload::stop()
{
    if (m_reply) {
        QNetworkReply* reply = m_reply;
        m_reply = nullptr;
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
    if (m_file) {
        // Discards the temporary file; the target keeps what it held.
        m_file->cancelWriting();
        m_file.reset();
    }
}

void classFileDownload::Cancel()
{
    stop();
}

void classFileDownload::Release()
{
    stop();
    disconnect();
    deleteLater();
}
