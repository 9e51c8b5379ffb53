#pragma once

#include <QString>

// Where the updater finds the offered version and the installer, and the
// key their signatures must be made with. Beside every file the server
// holds its minisign signature under the file's name + ".minisig".
struct UpdateServer {
    QString versionFile;
    QString setupExe;
    QString setup2;
    QString publicKey; // the base64 line of a minisign public key
};

// The publisher's minisign public key (key number 313A0870155639A4), the
// one key the program accepts updates from.
inline const QString UpdatePublicKey
    = QStringLiteral("RWSkOVYVcAg6Mf/R7WPuxhBZ07xMQUcks/kGetrTAVN7XQJuO5+LktOV");

// The publisher's web server from the address list, with that key.
UpdateServer publisherUpdateServer();

// The signature's address or file name beside a file's.
QString signatureOf(const QString& file);

// The file name an address publishes, without its folders: the name a
// signature's trusted comment and a release line give ("update2.txt").
QString publishedName(const QString& address);

// The largest version file and signature file the updater fetches: a
// version file holds a few lines, a signature four.
constexpr qint64 SmallFileBytes = 64 * 1024;
