// Signatures made by Debian's minisign, read back by the program's own
// check: valid forms pass, every change to the file, the signature, the
// trusted comment or the key is refused with its reason, and so is a
// signature that names another file.
#include "app/SignatureCheck.h"
#include "support/TestSigner.h"

#include <QBuffer>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(SignatureStatus)

namespace {

const QByteArray Data = "Setup-Inhalt\x00\x01\x02 mit allen Bytes\r\n"_ba.repeated(500);
const QString Name = u"Setup.exe"_s;

QByteArrayList sigLines(const QByteArray& sig)
{
    return sig.split('\n');
}

// The signature line with its decoded bytes changed by f.
QByteArray editSignatureLine(const QByteArray& sig, const std::function<void(QByteArray&)>& f)
{
    QByteArrayList lines = sigLines(sig);
    QByteArray raw = QByteArray::fromBase64(lines[1]);
    f(raw);
    lines[1] = raw.toBase64();
    return lines.join('\n');
}

} // namespace

class tst_signatureCheck : public QObject {
    Q_OBJECT

    std::unique_ptr<TestSigner> mine;
    std::unique_ptr<TestSigner> other;

private slots:
    void initTestCase()
    {
        mine = std::make_unique<TestSigner>();
        other = std::make_unique<TestSigner>();
        QVERIFY2(mine->error().isEmpty(), qPrintable(mine->error()));
        QVERIFY2(other->error().isEmpty(), qPrintable(other->error()));
        QVERIFY(!mine->sign(Data, Name).isEmpty());
    }

    void check_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<SignatureStatus>("status");
        using S = SignatureStatus;
        QTest::newRow("hashed form") << u"none"_s << S::Valid;
        QTest::newRow("plain form") << u"legacy"_s << S::Valid;
        QTest::newRow("CR LF line ends") << u"crlf"_s << S::Valid;
        QTest::newRow("untrusted comment changed") << u"untrusted"_s << S::Valid;
        QTest::newRow("whole key file given") << u"key file"_s << S::Valid;
        QTest::newRow("file changed after signing") << u"file byte"_s << S::Mismatch;
        QTest::newRow("file cut short") << u"file short"_s << S::Mismatch;
        QTest::newRow("plain form, file changed") << u"legacy file byte"_s << S::Mismatch;
        QTest::newRow("signed by another key") << u"other key"_s << S::OtherKey;
        QTest::newRow("another key under this key number") << u"forged id"_s << S::Mismatch;
        QTest::newRow("signature byte changed") << u"sig byte"_s << S::Mismatch;
        QTest::newRow("comment changed to name this file") << u"trusted"_s << S::CommentMismatch;
        QTest::newRow("signed as another file") << u"other name"_s << S::OtherFile;
        QTest::newRow("signed as a longer name") << u"longer name"_s << S::OtherFile;
        QTest::newRow("comment names no file") << u"no name"_s << S::OtherFile;
        QTest::newRow("comment names two files") << u"two names"_s << S::OtherFile;
        QTest::newRow("comment signature of another file")
            << u"swap global"_s << S::CommentMismatch;
        QTest::newRow("unknown algorithm") << u"algorithm"_s << S::MalformedSignature;
        QTest::newRow("empty signature file") << u"sig empty"_s << S::MalformedSignature;
        QTest::newRow("three lines") << u"sig three lines"_s << S::MalformedSignature;
        QTest::newRow("signature line cut") << u"sig cut"_s << S::MalformedSignature;
        QTest::newRow("signature not base64") << u"sig garbage"_s << S::MalformedSignature;
        QTest::newRow("key not base64") << u"key garbage"_s << S::MalformedKey;
    }

    void check()
    {
        QFETCH(QString, change);
        QFETCH(SignatureStatus, status);
        QByteArray data = Data;
        QByteArray sig = mine->sign(Data, Name, change.startsWith(u"legacy"_s));
        QString key = mine->publicKey();

        if (change == u"crlf"_s)
            sig.replace("\n", "\r\n");
        else if (change == u"untrusted"_s)
            sig.replace("signature from minisign secret key", "geändert");
        else if (change == u"key file"_s)
            key = u"untrusted comment: minisign public key\n"_s + key + u'\n';
        else if (change.endsWith(u"file byte"_s))
            data[100] = char(data[100] ^ 1);
        else if (change == u"file short"_s)
            data.chop(1);
        else if (change == u"other key"_s)
            sig = other->sign(Data, Name);
        else if (change == u"forged id"_s)
            sig = editSignatureLine(other->sign(Data, Name), [&](QByteArray& raw) {
                raw.replace(2, 8, QByteArray::fromBase64(key.toLatin1()).mid(2, 8));
            });
        else if (change == u"sig byte"_s)
            sig = editSignatureLine(sig, [](QByteArray& raw) { raw[40] = char(raw[40] ^ 1); });
        else if (change == u"trusted"_s)
            sig = mine->sign(Data, u"update2.txt"_s).replace("file:update2.txt", "file:Setup.exe");
        else if (change == u"other name"_s)
            sig = mine->sign(Data, u"update2.txt"_s);
        else if (change == u"longer name"_s)
            sig = mine->sign(Data, u"Setup.exe.alt"_s);
        else if (change == u"no name"_s)
            sig = mine->sign(Data, Name, false, u"timestamp:1700000000"_s);
        else if (change == u"two names"_s)
            sig = mine->sign(Data, Name, false, u"file:Setup.exe\tfile:Setup.2"_s);
        else if (change == u"swap global"_s) {
            QByteArrayList lines = sigLines(sig);
            lines[3] = sigLines(mine->sign("anderes", Name))[3];
            sig = lines.join('\n');
        } else if (change == u"algorithm"_s)
            sig = editSignatureLine(sig, [](QByteArray& raw) { raw.replace(0, 2, "XX"); });
        else if (change == u"sig empty"_s)
            sig.clear();
        else if (change == u"sig three lines"_s)
            sig = sigLines(sig).mid(0, 3).join('\n');
        else if (change == u"sig cut"_s) {
            QByteArrayList lines = sigLines(sig);
            lines[1].chop(8);
            sig = lines.join('\n');
        } else if (change == u"sig garbage"_s) {
            QByteArrayList lines = sigLines(sig);
            lines[1][10] = '!';
            sig = lines.join('\n');
        } else if (change == u"key garbage"_s)
            key[5] = u'!';

        QBuffer buffer(&data);
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        QCOMPARE(verifySignature(buffer, sig, key, Name), status);
    }
};

QTEST_GUILESS_MAIN(tst_signatureCheck)
#include "tst_signatureCheck.moc"
