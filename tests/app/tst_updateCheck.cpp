// The updater's arithmetic: reading the version file and its release
// lines, comparing versions, the question text, the kilobyte pattern and
// the progress percentage.
#include "app/UpdateCheck.h"

#include <QTest>

#include <limits>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(VersionVerdict)

namespace {

// SHA-256 of "test".
const QByteArray Hash = "9f86d081884c7d659a2feaa0c55ad015a3bf4f1b2b0b822cd15d6c15b0f00a08";

} // namespace

class tst_updateCheck : public QObject {
    Q_OBJECT

private slots:
    void versionFile_data()
    {
        // Installed version 1.0.0.2.
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<VersionVerdict>("verdict");
        QTest::addColumn<QString>("offered");
        using V = VersionVerdict;
        QTest::newRow("equal") << "01000002\r\nNeu: nichts\r\n"_ba << V::NotNewer << u"01000002"_s;
        QTest::newRow("older") << "01000001\r\nx\r\n"_ba << V::NotNewer << u"01000001"_s;
        QTest::newRow("newer revision") << "01000003\r\nx\r\n"_ba << V::Newer << u"01000003"_s;
        QTest::newRow("without leading zero") << "1000003\r\nx"_ba << V::Newer << u"1000003"_s;
        QTest::newRow("newer major, older rest") << "02000000"_ba << V::Newer << u"02000000"_s;
        QTest::newRow("comma separated") << "01000003,Setup"_ba << V::Newer << u"01000003"_s;
        QTest::newRow("quoted items")
            << "\"01000003\",\"Setup\"\r\n"_ba << V::Newer << u"01000003"_s;
        QTest::newRow("blanks around") << "  01000003 \nx"_ba << V::Newer << u"01000003"_s;
        QTest::newRow("LF only") << "01000002\nx\n"_ba << V::NotNewer << u"01000002"_s;
        QTest::newRow("HTML error page") << "<html><body>404</body></html>\r\n"_ba << V::Unreadable
                                         << u"<html><body>404</body></html>"_s;
        QTest::newRow("empty file") << ""_ba << V::Unreadable << QString();
        QTest::newRow("empty first line") << "\r\n01000003\r\n"_ba << V::Unreadable << QString();
        QTest::newRow("letter inside") << "0100000x\r\n"_ba << V::Unreadable << u"0100000x"_s;
        QTest::newRow("sign") << "+01000003\r\n"_ba << V::Unreadable << u"+01000003"_s;
        QTest::newRow("negative") << "-1\r\n"_ba << V::Unreadable << u"-1"_s;
        QTest::newRow("fraction") << "1000003.5\r\n"_ba << V::Unreadable << u"1000003.5"_s;
        QTest::newRow("beyond any number")
            << "99999999999999999999999\r\n"_ba << V::Unreadable << u"99999999999999999999999"_s;
    }

    void versionFile()
    {
        QFETCH(QByteArray, file);
        QFETCH(VersionVerdict, verdict);
        QFETCH(QString, offered);
        const VersionCheck check = checkVersionFile(file, 1, 0, 2);
        QCOMPARE(check.verdict, verdict);
        QCOMPARE(check.offered, offered);
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
        QTest::newRow("LF, no end") << "01000003\nSetup.exe 0 " + h << qint64(0);
        QTest::newRow("blanks around") << v + "  Setup.exe  12\t" + h + " \r\n" << qint64(12);
        QTest::newRow("no line") << v + "x\r\n" << qint64(-1);
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
        QCOMPARE(line.has_value(), size >= 0);
        if (!line)
            return;
        QCOMPARE(line->size, size);
        QCOMPARE(line->sha256, Hash);
    }

    void installedVersion_data()
    {
        QTest::addColumn<int>("major");
        QTest::addColumn<int>("minor");
        QTest::addColumn<int>("revision");
        QTest::addColumn<qint64>("number");
        QTest::addColumn<QString>("shown");
        QTest::newRow("1.0.0.2") << 1 << 0 << 2 << qint64(1000002) << u"1002"_s;
        QTest::newRow("2.11.0.5") << 2 << 11 << 5 << qint64(2110005) << u"21105"_s;
        QTest::newRow("12.3.0.45") << 12 << 3 << 45 << qint64(12030045) << u"123045"_s;
    }

    void installedVersion()
    {
        QFETCH(int, major);
        QFETCH(int, minor);
        QFETCH(int, revision);
        QFETCH(qint64, number);
        QFETCH(QString, shown);
        QCOMPARE(installedVersionNumber(major, minor, revision), number);
        QCOMPARE(installedVersionShown(major, minor, revision), shown);
    }

    void question()
    {
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
        QTest::newRow("half") << qint64(512000) << qint64(1024000) << u"500 von 1.000 KiloBytes"_s
                              << 50;
        QTest::newRow("total unknown")
            << qint64(0) << qint64(0) << u"000 von 000 KiloBytes"_s << 100;
        QTest::newRow("five KB") << qint64(5 * 1024) << qint64(1234 * 1024)
                                 << u"005 von 1.234 KiloBytes"_s << 0;
        QTest::newRow("fraction cut off")
            << qint64(1023) << qint64(2047) << u"000 von 001 KiloBytes"_s << 50;
        QTest::newRow("exact half percent rounds up")
            << qint64(1) << qint64(200) << u"000 von 000 KiloBytes"_s << 1;
        QTest::newRow("two thirds") << qint64(2) << qint64(3) << u"000 von 000 KiloBytes"_s << 67;
        QTest::newRow("above the total")
            << qint64(2048000) << qint64(1024000) << u"2.000 von 1.000 KiloBytes"_s << 100;
        QTest::newRow("below zero")
            << qint64(-2048) << qint64(1024000) << u"-002 von 1.000 KiloBytes"_s << 0;
        QTest::newRow("largest 32-bit count") << qint64(std::numeric_limits<qint32>::max())
                                              << qint64(std::numeric_limits<qint32>::max())
                                              << u"2.097.151 von 2.097.151 KiloBytes"_s << 100;
    }

    void progress()
    {
        QFETCH(qint64, received);
        QFETCH(qint64, total);
        QFETCH(QString, text);
        QFETCH(int, percent);
        QCOMPARE(progressText(received, total), text);
        QCOMPARE(progressPercent(received, 0, total), percent);
    }
};

QTEST_APPLESS_MAIN(tst_updateCheck)
#include "tst_updateCheck.moc"
