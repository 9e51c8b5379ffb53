#pragma once

#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>

class QNetworkAccessManager;
class QSaveFile;

// Fetches one file over HTTPS into a local file, reporting by signals on
// the thread that owns it. Only HTTPS with Qt's certificate checks is
// used; a redirect to a plain address is refused. The file is written
// under a temporary name beside the target and takes the target's name
// only when the server answered 200 and sent exactly the length it
// announced, so the target never holds part of a file: a failed or
// cancelled transfer leaves whatever stood there before. Every transfer has
// a size bound: a file announced or arriving larger fails at once, and the
// body of an error answer is neither kept nor written, so a hostile or
// broken server can neither fill the memory or the disk nor hold the
// transfer open with an endless answer.
class classFileDownload : public QObject {
    Q_OBJECT

public:
    explicit classFileDownload(QObject* parent = nullptr);
    ~classFileDownload() override;

    // Starts fetching source into localPath and returns at once: true when
    // the transfer has started, false when it cannot (not an HTTPS address,
    // a transfer already running, no temporary file beside localPath).
    // A file of more than maxBytes fails.
    bool Download(const QString& source, const QString& localPath, qint64 maxBytes);
    // Stops the running transfer; no further signals come from it.
    void Cancel();
    // Cancels, sends no further signals and deletes the object once control
    // is back in the event loop.
    void Release();

    bool isRunning() const { return m_reply != nullptr; }
    // A transfer that receives nothing for this long fails (30 s by default).
    void setTransferTimeout(int milliseconds) { m_timeout = milliseconds; }

Q_SIGNALS:
    // The server has answered and the file's bytes begin to arrive.
    void Start();
    // Bytes received so far and the announced total (0 while unknown).
    void Progress(qint32 received, qint32 total);
    // The complete file stands at the local path.
    void Finished();
    // The transfer failed; the reason is for the error log.
    void Failed(const QString& reason);

private:
    void onMetaData();
    void onReadyRead();
    void onFinished();
    void fail(const QString& reason);
    void stop();

    QNetworkAccessManager* m_net;
    QPointer<QNetworkReply> m_reply;
    std::unique_ptr<QSaveFile> m_file;
    QString m_source;
    qint64 m_received = 0;
    qint64 m_limit = 0;
    int m_timeout = 30000;
    bool m_started = false;
};
