#include "app/SignatureCheck.h"

#include <QBuffer>

#include <QFile>

#include <QByteArrayList>
#include <QIODevice>

#include <sodium.h>

#include <array>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype kAlgorithmBytes = 2;
constexpr qsizetype kKeyIdBytes = 8;
constexpr qsizetype kSignatureBytes = crypto_sign_BYTES;
constexpr qsizetype kPublicKeyBytes = crypto_sign_PUBLICKEYBYTES;
constexpr qint64 ChunkBytes = 1 << 16;

std::optional<QByteArray> strictBase64(const QByteArray& text, qsizetype expectedSize)
{
    const auto decoded = QByteArray::fromBase64Encoding(
        text.trimmed(), QByteArray::Base64Encoding | QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded || decoded.decoded.size() != expectedSize)
        return std::nullopt;
    return decoded.decoded;
}

// The lines of a text without their line ends (LF or CR LF).
QByteArrayList lines(const QByteArray& text)
{
    QByteArrayList out = text.split('\n');
    for (QByteArray& line : out)
        if (line.endsWith('\r'))
            line.chop(1);
    return out;
}

QByteArray keyLine(const QString& publicKey)
{
    // The whole key file or only its key line: the key is its last line.
    const QByteArrayList all = lines(publicKey.toLatin1());
    for (auto it = all.crbegin(); it != all.crend(); ++it)
        if (!it->trimmed().isEmpty())
            return it->trimmed();
    return {};
}

bool verifyDetached(const QByteArray& signature, const unsigned char* message,
    unsigned long long length, const QByteArray& key)
{
    return crypto_sign_verify_detached(reinterpret_cast<const unsigned char*>(signature.data()),
               message, length, reinterpret_cast<const unsigned char*>(key.data()))
        == 0;
}

// The value of the trusted comment's "file:" field; nothing when there is
// none or more than one. Fields are separated by TABs.
std::optional<QByteArray> signedFileName(const QByteArray& comment)
{
    static const QByteArray kFileField = "file:"_ba;
    std::optional<QByteArray> name;
    for (const QByteArray& field : comment.split('\t')) {
        if (!field.startsWith(kFileField))
            continue;
        if (name)
            return std::nullopt;
        name = field.mid(kFileField.size());
    }
    return name;
}

} // namespace

SignatureStatus verifySignature(QIODevice& data, const QByteArray& signatureFile,
    const QString& publicKey, const QString& signedName)
{
    if (sodium_init() < 0)
        return SignatureStatus::Unreadable;

    // Public key: "Ed", key number, 32 key bytes.
    const auto key
        = strictBase64(keyLine(publicKey), kAlgorithmBytes + kKeyIdBytes + kPublicKeyBytes);
    if (!key || !key->startsWith("Ed"))
        return SignatureStatus::MalformedKey;
    const QByteArray keyId = key->mid(kAlgorithmBytes, kKeyIdBytes);
    const QByteArray keyBytes = key->mid(kAlgorithmBytes + kKeyIdBytes);

    const QByteArrayList sigLines = lines(signatureFile);
    static const QByteArray kUntrustedPrefix = "untrusted comment: "_ba;
    static const QByteArray kTrustedPrefix = "trusted comment: "_ba;
    if (sigLines.size() < 4 || !sigLines[0].startsWith(kUntrustedPrefix)
        || !sigLines[2].startsWith(kTrustedPrefix))
        return SignatureStatus::MalformedSignature;
    for (qsizetype i = 4; i < sigLines.size(); ++i)
        if (!sigLines[i].isEmpty())
            return SignatureStatus::MalformedSignature;
    const auto sig = strictBase64(sigLines[1], kAlgorithmBytes + kKeyIdBytes + kSignatureBytes);
    const auto globalSig = strictBase64(sigLines[3], kSignatureBytes);
    if (!sig || !globalSig)
        return SignatureStatus::MalformedSignature;
    const QByteArray algorithm = sig->left(kAlgorithmBytes);
    const bool hashed = algorithm == "ED";
    if (!hashed && algorithm != "Ed")
        return SignatureStatus::MalformedSignature;
    if (sig->mid(kAlgorithmBytes, kKeyIdBytes) != keyId)
        return SignatureStatus::OtherKey;
    const QByteArray signature = sig->mid(kAlgorithmBytes + kKeyIdBytes);

    bool matches = false;
    if (hashed) {
        // Installers are large: hash them piece by piece.
        crypto_generichash_state state;
        std::array<unsigned char, crypto_generichash_BYTES_MAX> hash {};
        crypto_generichash_init(&state, nullptr, 0, hash.size());
        QByteArray chunk(ChunkBytes, Qt::Uninitialized);
        for (;;) {
            const qint64 n = data.read(chunk.data(), ChunkBytes);
            if (n < 0)
                return SignatureStatus::Unreadable;
            if (n == 0)
                break;
            crypto_generichash_update(
                &state, reinterpret_cast<const unsigned char*>(chunk.constData()), quint64(n));
        }
        if (!data.atEnd())
            return SignatureStatus::Unreadable;
        crypto_generichash_final(&state, hash.data(), hash.size());
        matches = verifyDetached(signature, hash.data(), hash.size(), keyBytes);
    } else {
        const QByteArray message = data.readAll();
        if (!data.atEnd())
            return SignatureStatus::Unreadable;
        matches
            = verifyDetached(signature, reinterpret_cast<const unsigned char*>(message.constData()),
                quint64(message.size()), keyBytes);
    }
    if (!matches)
        return SignatureStatus::Mismatch;

    // The trusted comment is signed together with the file's signature.
    const QByteArray signedComment = signature + sigLines[2].mid(kTrustedPrefix.size());
    if (!verifyDetached(*globalSig, reinterpret_cast<const unsigned char*>(signedComment.data()),
            quint64(signedComment.size()), keyBytes))
        return SignatureStatus::CommentMismatch;
    // Read only now that it is known to come from the key's owner.
    if (signedName.isEmpty()
        || signedFileName(sigLines[2].mid(kTrustedPrefix.size())) != signedName.toUtf8())
        return SignatureStatus::OtherFile;
    return SignatureStatus::Valid;
}

QString signatureStatusText(SignatureStatus status)
{
    switch (status) {
    case SignatureStatus::Valid:
        return u"Signatur gültig"_s;
    case SignatureStatus::MalformedKey:
        return u"öffentlicher Schlüssel unbrauchbar"_s;
    case SignatureStatus::MalformedSignature:
        return u"Signaturdatei unlesbar"_s;
    case SignatureStatus::OtherKey:
        return u"Signatur mit einem fremden Schlüssel"_s;
    case SignatureStatus::Mismatch:
        return u"Datei passt nicht zur Signatur"_s;
    case SignatureStatus::CommentMismatch:
        return u"Kommentar der Signatur verändert"_s;
    case SignatureStatus::OtherFile:
        return u"Signatur gehört zu einer anderen Datei"_s;
    case SignatureStatus::Unreadable:
        return u"Datei nicht lesbar"_s;
    }
    return QString();
}

SignatureStatus verifyFileSignature(const QString& path, const QString& signaturePath,
    const QString& publicKey, const QString& signedName, QByteArray* contents)
{
    QFile signature(signaturePath);
    QFile data(path);
    if (!signature.open(QIODevice::ReadOnly) || !data.open(QIODevice::ReadOnly))
        return SignatureStatus::Unreadable;
    const QByteArray signatureBytes = signature.readAll();
    if (!contents)
        return verifySignature(data, signatureBytes, publicKey, signedName);
    *contents = data.readAll();
    QBuffer buffer(contents);
    buffer.open(QIODevice::ReadOnly);
    return verifySignature(buffer, signatureBytes, publicKey, signedName);
}
