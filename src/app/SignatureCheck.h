#pragma once

#include <QByteArray>
#include <QString>

class QIODevice;

// Checks a detached signature in minisign's format: four lines, an
// untrusted comment, the Ed25519 signature with its algorithm and key
// number, a trusted comment and a signature over the first signature and
// the trusted comment. Both the plain form ("Ed", the file itself is
// signed) and the hashed form ("ED", its BLAKE2b-512 hash is signed) are
// accepted. The signature itself does not say which file it covers, so any
// file signed with the key would pass for any other: the trusted comment
// must name the file, as minisign writes it by default
// ("timestamp:<n>\tfile:<name>").
enum class SignatureStatus {
    Valid,
    MalformedKey, // the public key is not a minisign Ed25519 key
    MalformedSignature, // the signature file is not in minisign's form
    OtherKey, // made with another key than the one given
    Mismatch, // the file is not the one that was signed
    CommentMismatch, // the trusted comment was changed after signing
    OtherFile, // the trusted comment names another file, or none
    Unreadable, // the file could not be read to its end
};

// publicKey: the base64 line of a minisign public key file (the whole
// file is accepted too). data is read from its current position to its end.
// signedName: the file name the trusted comment must give (without folder,
// as published).
SignatureStatus verifySignature(QIODevice& data, const QByteArray& signatureFile,
    const QString& publicKey, const QString& signedName);

// The file at path checked against the signature file at signaturePath.
// Unreadable when either cannot be read. The file's bytes go to contents
// when it is given.
SignatureStatus verifyFileSignature(const QString& path, const QString& signaturePath,
    const QString& publicKey, const QString& signedName, QByteArray* contents = nullptr);

// The reason in German, for the error log.
QString signatureStatusText(SignatureStatus status);
