#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A minisign key pair made for the running test with Debian's minisign,
// which also makes the signatures: the program's own reader is checked
// against the real tool's output.
class TestSigner {
public:
    TestSigner();
    // Empty when the key pair was made; otherwise what went wrong.
    const QString& error() const { return m_error; }
    // The base64 line of the public key file.
    const QString& publicKey() const { return m_publicKey; }

    // The signature file of data signed as the file name: hashed form by
    // default, minisign's plain ("legacy") form when asked. Without a
    // trusted comment minisign writes its own, which names the file
    // ("timestamp:<n>\tfile:<name>\thashed").
    QByteArray sign(const QByteArray& data, const QString& name, bool legacy = false,
        const QString& trustedComment = QString()) const;

private:
    QTemporaryDir m_dir;
    QString m_error;
    QString m_publicKey;
};
