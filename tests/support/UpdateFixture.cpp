#include "support/UpdateFixture.h"

#include <QCryptographicHash>
#include <QRandomGenerator>

using namespace Qt::StringLiterals;

namespace {

QByteArray randomBytes(qsizetype n, quint32 seed)
{
    QByteArray b(n, Qt::Uninitialized);
    QRandomGenerator gen(seed);
    for (char& c : b)
        c = char(gen.bounded(256));
    return b;
}

// A version file's line for an installer file, as sha256sum and stat give it.
QByteArray releaseLine(const QByteArray& name, const QByteArray& bytes)
{
    return name + ' ' + QByteArray::number(bytes.size()) + ' '
        + QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex() + "\r\n";
}

} // namespace

const QString UpdateFixture::VersionPath = u"/update/fisch/update2.txt"_s;
const QString UpdateFixture::SetupExePath = u"/files/Setup.exe"_s;
const QString UpdateFixture::Setup2Path = u"/files/Setup.2"_s;
const QByteArray UpdateFixture::SetupExe = randomBytes(200000, 1);
const QByteArray UpdateFixture::Setup2 = randomBytes(120000, 2);
const QByteArray UpdateFixture::Release
    = "01000003\r\n" + releaseLine("Setup.exe", SetupExe) + releaseLine("Setup.2", Setup2);
const QString UpdateFixture::CheckedOk = u"Verbindungsaufbau zum Server...Erfolgreich!\r\n"
                                         "Überprüfe Versionen...Fertig!\r\n"_s;
const QString UpdateFixture::Failure
    = u"Fehler! Bitte überprüfen Sie Ihre Internetverbindung!\r\n"_s;

QString UpdateFixture::start()
{
    QString error = server.start();
    server.trustInThisProcess();
    mine = std::make_unique<TestSigner>();
    other = std::make_unique<TestSigner>();
    return error + mine->error() + other->error();
}

UpdateServer UpdateFixture::updateServer() const
{
    return { server.url(VersionPath), server.url(SetupExePath), server.url(Setup2Path),
        mine->publicKey() };
}

void UpdateFixture::publish(const QString& path, const QByteArray& bytes, Offer how)
{
    // Signed as minisign signs: under the file's own name.
    QString name = path.section(u'/', -1);
    QByteArray served = bytes;
    if (how == Offer::VersionFileInstead) {
        served = Release;
        name = u"update2.txt"_s;
    } else if (how == Offer::OtherRelease)
        served = randomBytes(bytes.size(), 3);
    TestResponse file(200, served);
    if (how == Offer::NotFound)
        file = TestResponse(404, "<html>404</html>");
    if (how == Offer::CutOff)
        file = file.cutAfter(bytes.size() / 2);
    if (how == Offer::Endless)
        file = file.endless();
    if (how == Offer::Held)
        file = file.holdAfter(3);
    server.serve(path, file);
    const QByteArray signedBytes = how == Offer::ChangedAfterSigning ? served + "geändert" : served;
    const TestSigner& signer = how == Offer::OtherKey ? *other : *mine;
    // Signed right, but as the other installer file, or the installer as the
    // version file.
    if (how == Offer::SignedAsOtherFile)
        name = name == u"Setup.exe"_s ? u"Setup.2"_s : u"Setup.exe"_s;
    TestResponse signature(200, signer.sign(signedBytes, name));
    if (how == Offer::Unsigned)
        signature = TestResponse(404, "<html>404</html>");
    if (how == Offer::EndlessSignature)
        signature = signature.endless();
    server.serve(signatureOf(path), signature);
}

void UpdateFixture::publishRelease(Offer setupExe, Offer setup2)
{
    publish(VersionPath, Release);
    publish(SetupExePath, SetupExe, setupExe);
    publish(Setup2Path, Setup2, setup2);
}
