// What the updater checks and shows: signatures made by minisign read back
// by the program's own check, the version file and its release lines, the
// question text, the kilobyte pattern and the progress percentage.
#include "app/SignatureCheck.h"
#include "app/UpdateCheck.h"
#include "support/TestSigner.h"

#include <QBuffer>
#include <QTest>

#include <functional>
#include <limits>
#include <memory>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(VersionVerdict)
Q_DECLARE_METATYPE(SignatureStatus)

namespace {

// SHA-256 of "test".
const QByteArray Hash = "9f86d081884c7d659a2feaa0c55ad015a3bf4f1b2b0b822cd15d6c15b0f00a08";
const QByteArray Data = "Setup-Inhalt\x00\x01\x02 mit allen Bytes\r\n"_ba.repeated(500);
const QString Name = u"Setup.exe"_s;

// The signature with its line n changed by f (line 1 as its decoded bytes).
QByteArray editLine(const QByteArray& sig, int n, const std::function<void(QByteArray&)>& f)
{
    QByteArrayList lines = sig.split('\n');
    QByteArray line = n == 1 ? QByteArray::fromBase64(lines[1]) : lines[n];
    f(line);
    lines[n] = n == 1 ? line.toBase64() : line;
    return lines.join('\n');
}

} // namespace

class TestUpdateCheck : public QObject {
    Q_OBJECT

    std::unique_ptr<TestSigner> mine;
    std::unique_ptr<TestSigner> other;

private slots:
    void initTestCase()
    {
        mine = std::make_unique<TestSigner>();
        other = std::make_unique<TestSigner>();
        QVERIFY2(mine->error().isEmpty() && other->error().isEmpty(), qPrintable(mine->error()));
    }

    void check_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<SignatureStatus>("status");
        using S = SignatureStatus;
        const auto row = [](const char* change, S status) {
            QTest::newRow(change) << QString::fromLatin1(change) << status;
        };
        row("hashed form", S::Valid);
        row("plain form", S::Valid);
        row("CR LF line ends", S::Valid);
        row("file changed", S::Mismatch);
        row("plain form, file changed", S::Mismatch);
        row("signed by another key", S::OtherKey);
        row("comment changed to name this file", S::CommentMismatch);
        row("signed as another file", S::OtherFile);
        row("signed as a longer name", S::OtherFile);
        row("comment names no file", S::OtherFile);
        row("unknown algorithm", S::MalformedSignature);
        row("signature not base64", S::MalformedSignature);
        row("key not base64", S::MalformedKey);
    }

    void check()
    {
        QFETCH(QString, change);
        QByteArray data = Data;
        QByteArray sig = mine->sign(Data, Name, change.startsWith(u"plain"_s));
        QString key = mine->publicKey();
        if (change == u"CR LF line ends"_s)
            sig.replace("\n", "\r\n");
        else if (change.endsWith(u"file changed"_s))
            data[100] = char(data[100] ^ 1);
        else if (change == u"signed by another key"_s)
            sig = other->sign(Data, Name);
        else if (change == u"comment changed to name this file"_s)
            sig = mine->sign(Data, u"update2.txt"_s).replace("file:update2.txt", "file:Setup.exe");
        else if (change == u"signed as another file"_s)
            sig = mine->sign(Data, u"update2.txt"_s);
        else if (change == u"signed as a longer name"_s)
            sig = mine->sign(Data, u"Setup.exe.alt"_s);
        else if (change == u"comment names no file"_s)
            sig = mine->sign(Data, Name, false, u"timestamp:1700000000"_s);
        else if (change == u"unknown algorithm"_s)
            sig = editLine(sig, 1, [](QByteArray& raw) { raw.replace(0, 2, "XX"); });
        else if (change == u"signature not base64"_s)
            sig = editLine(sig, 3, [](QByteArray& line) { line[10] = '!'; });
        else if (change == u"key not base64"_s)
            key[5] = u'!';
        QBuffer buffer(&data);
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        QTEST(verifySignature(buffer, sig, key, Name), "status");
    }

    void versionFile_data()
    {
        // Installed version 1.0.0.2; the equal version and an HTML page are
        // in the update run's table.
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<VersionVerdict>("verdict");
        QTest::addColumn<QString>("offered");
        using V = VersionVerdict;
        const auto row
            = [](const char* name, const QByteArray& file, V verdict, const QString& offered) {
                  QTest::newRow(name) << file << verdict << offered;
              };
        row("older", "01000001\r\nx\r\n", V::NotNewer, u"01000001"_s);
        row("newer major, older rest", "02000000", V::Newer, u"02000000"_s);
        row("without leading zero, LF", "1000003\nx", V::Newer, u"1000003"_s);
        row("comma separated", "01000003,Setup", V::Newer, u"01000003"_s);
        row("quoted items", "\"01000003\",\"Setup\"\r\n", V::Newer, u"01000003"_s);
        row("blanks around", "  01000003 \nx", V::Newer, u"01000003"_s);
        row("empty first line", "\r\n01000003\r\n", V::Unreadable, QString());
        row("sign", "+01000003\r\n", V::Unreadable, u"+01000003"_s);
        row("beyond any number", "9999999999999999999\r\n", V::Unreadable,
            u"9999999999999999999"_s);
    }

    void versionFile()
    {
        QFETCH(QByteArray, file);
        const VersionCheck check = checkVersionFile(file, 1, 0, 2);
        QTEST(check.verdict, "verdict");
        QTEST(check.offered, "offered");
    }

    void releaseLine_data()
    {
        // The line for Setup.exe; size -1: no line is accepted.
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<qint64>("size");
        const QByteArray v = "01000003\r\n";
        const QByteArray h = Hash;
        QTest::newRow("CR LF") << v + "Setup.2 7 " + h + "\r\nSetup.exe 123 " + h + "\r\n"
                               << qint64(123);
        QTest::newRow("LF, no end, blanks") << "01000003\n  Setup.exe  0\t" + h << qint64(0);
        QTest::newRow("only on the version line") << "Setup.exe 12 " + h << qint64(-1);
        QTest::newRow("only a longer name") << v + "Setup.exe.alt 12 " + h << qint64(-1);
        QTest::newRow("two lines")
            << v + "Setup.exe 12 " + h + "\r\nSetup.exe 13 " + h << qint64(-1);
        QTest::newRow("size not a number") << v + "Setup.exe 1e3 " + h << qint64(-1);
        QTest::newRow("hash in capitals") << v + "Setup.exe 12 " + h.toUpper() << qint64(-1);
        QTest::newRow("hash cut short") << v + "Setup.exe 12 " + h.chopped(1) << qint64(-1);
        QTest::newRow("one field more") << v + "Setup.exe 12 " + h + " x" << qint64(-1);
    }

    void releaseLine()
    {
        QFETCH(QByteArray, file);
        QFETCH(qint64, size);
        const std::optional<ReleaseFile> line = releaseFile(file, u"Setup.exe"_s);
        QCOMPARE(line ? line->size : -1, size);
        if (line)
            QCOMPARE(line->sha256, Hash);
    }

    void installedVersionAndQuestion()
    {
        QCOMPARE(installedVersionNumber(12, 3, 45), qint64(12030045));
        QCOMPARE(installedVersionShown(12, 3, 45), u"123045"_s);
        QCOMPARE(newerVersionQuestion(u"1002"_s, u"01000003"_s),
            u"Es ist eine neuere Version verfügbar!\r\nInstallierte Version: 1002\r\n"
            "Verfügbare Version: 01000003\r\n \r\n"
            "Soll die neue Version heruntergeladen und installiert werden?"_s);
    }

    void progress_data()
    {
        QTest::addColumn<qint64>("received");
        QTest::addColumn<qint64>("total");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("percent");
        const auto row
            = [](const char* name, qint64 received, qint64 total, const QString& text,
                  int percent) { QTest::newRow(name) << received << total << text << percent; };
        row("total unknown", 0, 0, u"000 von 000 KiloBytes"_s, 100);
        row("fraction cut off", 1023, 2047, u"000 von 001 KiloBytes"_s, 50);
        row("exact half percent rounds up", 1, 200, u"000 von 000 KiloBytes"_s, 1);
        row("just below half a percent", 1, 201, u"000 von 000 KiloBytes"_s, 0);
        row("above the total", 2048000, 1024000, u"2.000 von 1.000 KiloBytes"_s, 100);
        row("below zero", -2048, 1024000, u"-002 von 1.000 KiloBytes"_s, 0);
        row("largest 32-bit count", std::numeric_limits<qint32>::max(),
            std::numeric_limits<qint32>::max(), u"2.097.151 von 2.097.151 KiloBytes"_s, 100);
    }

    void progress()
    {
        QFETCH(qint64, received);
        QFETCH(qint64, total);
        QTEST(progressText(received, total), "text");
        QTEST(progressPercent(received, 0, total), "percent");
    }
};

QTEST_GUILESS_MAIN(TestUpdateCheck)
#include "tst_updateCheck.moc"
