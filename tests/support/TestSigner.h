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

    // The signature file of data: hashed form by default, minisign's plain
    // ("legacy") form when asked.
    QByteArray sign(const QByteArray& data, bool legacy = false,
        const QString& trustedComment = QStringLiteral("Kescherheft Test")) const;

private:
    QTemporaryDir m_dir;
    QString m_error;
    QString m_publicKey;
};
