#pragma once

#include "app/UpdateServer.h"
#include "support/TestSigner.h"
#include "support/TlsTestServer.h"

#include <QByteArray>
#include <QString>

#include <memory>

// A test release on a local HTTPS server: the version file and the
// installer's two files, each with a signature made by a key of the test,
// and the ways a broken or hostile server spoils them.
class UpdateFixture {
public:
    static constexpr int Timeout = 15000;
    static const QString VersionPath, SetupExePath, Setup2Path;
    static const QByteArray SetupExe, Setup2, Release;
    // "Verbindungsaufbau ..." up to the end of a good check, in CR LF lines.
    static const QString CheckedOk;
    static const QString Failure;

    // How a file is offered: signed by the test key, or spoiled; the last
    // two are signed files of the wrong release: the version file, or a
    // file of the same size.
    enum class Offer {
        Signed,
        Unsigned,
        OtherKey,
        ChangedAfterSigning,
        SignedAsOtherFile,
        NotFound,
        CutOff,
        Endless,
        EndlessSignature,
        Held,
        VersionFileInstead,
        OtherRelease,
    };

    // Empty when the server listens and the keys are made.
    QString start();
    UpdateServer updateServer() const;
    void publish(const QString& path, const QByteArray& bytes, Offer how = Offer::Signed);
    void publishRelease(Offer setupExe = Offer::Signed, Offer setup2 = Offer::Signed);

    TlsTestServer server;
    std::unique_ptr<TestSigner> mine;
    std::unique_ptr<TestSigner> other;
};
