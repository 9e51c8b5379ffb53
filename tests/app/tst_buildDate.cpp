// The build date from a Windows program file's header, in the local time
// zone, and the choice between it and the build time the program carries.
#include "app/BuildDate.h"
#include "support/TestEnv.h"

#include <QTest>

#include <ctime>

using namespace Qt::StringLiterals;

namespace {

// A program file whose PE mark starts at offset, with the time stamp
// (seconds since 1970 UTC) eight bytes behind it, padded to size.
QByteArray peFile(qsizetype offset, quint32 stamp, qsizetype size = 1024)
{
    QByteArray b(size, '\0');
    b.replace(0, 2, "MZ");
    QByteArray header("PE\0\0\x4c\x01\x03\x00", 8);
    for (int i = 0; i < 4; ++i)
        header.append(char((stamp >> (8 * i)) & 0xff));
    b.replace(offset, qMin(header.size(), size - offset), header.left(size - offset));
    return b.left(size);
}

// Bytes from hexadecimal text, padded with zero bytes to size.
QByteArray fromHexText(const QString& hex, qsizetype size)
{
    QByteArray b = QByteArray::fromHex(hex.toLatin1());
    b.append(QByteArray(size - b.size(), '\0'));
    return b;
}

void setTimeZone(const QByteArray& tz)
{
    qputenv("TZ", tz);
    tzset();
}

} // namespace

class tst_buildDate : public QObject {
    Q_OBJECT

    QByteArray m_oldTz;

private slots:
    void initTestCase() { m_oldTz = qgetenv("TZ"); }
    void cleanup() { setTimeZone(m_oldTz); }

    void compileTime_data()
    {
        QTest::addColumn<QByteArray>("file"); // null: no file at all
        QTest::addColumn<QByteArray>("tz");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QStringList>("log");
        const QStringList none;
        const QString place = u"Funktion GetCompileTime\t"_s;
        // 5 May 2009, 08:59:44 UTC.
        QTest::newRow("summer time in Berlin")
            << peFile(0x80, 0x4A000000) << "Europe/Berlin"_ba << u"05.05.2009"_s << none;
        // 4 May 2009, 23:30 UTC.
        QTest::newRow("before midnight UTC, Berlin")
            << peFile(0x80, 0x49FF7A78) << "Europe/Berlin"_ba << u"05.05.2009"_s << none;
        QTest::newRow("before midnight UTC, UTC")
            << peFile(0x80, 0x49FF7A78) << "UTC"_ba << u"04.05.2009"_s << none;
        QTest::newRow("negative stamp")
            << peFile(0x80, 0xFFFFFFFF) << "UTC"_ba << u"31.12.1969"_s << none;
        // "5045" starting in the middle of a byte: the stamp's eight hex
        // digits are read from there, across byte boundaries.
        QTest::newRow("match at an odd position") << fromHexText(u"4D5AA5045"
                                                                 "00004C010300"
                                                                 "00CA9A3B"
                                                                 "0"_s,
            512) << "UTC"_ba << u"09.09.2001"_s << none;
        // A "PE" in the stub text comes first and is taken.
        QByteArray early = peFile(0x80, 0x4A000000);
        early.replace(0x10, 12, peFile(0, 0x3B9ACA00, 14).left(12));
        QTest::newRow("first match counts") << early << "UTC"_ba << u"09.09.2001"_s << none;
        QTest::newRow("file shorter than 512 bytes")
            << peFile(40, 0x4A000000, 60) << "UTC"_ba << u"05.05.2009"_s << none;
        QTest::newRow("stamp ends at byte 512")
            << peFile(500, 0x4A000000) << "UTC"_ba << u"05.05.2009"_s << none;
        QTest::newRow("stamp beyond byte 512") << peFile(504, 0x4A000000) << "UTC"_ba << QString()
                                               << QStringList { place + u"Error (13)"_s };
        QTest::newRow("mark beyond byte 512") << peFile(600, 0x4A000000) << "UTC"_ba << QString()
                                              << QStringList { place + u"Error (76)"_s };
        QTest::newRow("no mark") << QByteArray("MZ ohne Kopf") << "UTC"_ba << QString()
                                 << QStringList { place + u"Error (76)"_s };
        QTest::newRow("no file") << QByteArray() << "UTC"_ba << QString()
                                 << QStringList { place + u"Error (53)"_s };
    }

    void compileTime()
    {
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, tz);
        QFETCH(QString, date);
        QFETCH(QStringList, log);
        TestEnv t;
        if (!file.isNull())
            t.write(u"kescherheft.exe"_s, file);
        setTimeZone(tz);
        QCOMPARE(GetCompileTime(t.env, t.path(u"kescherheft.exe"_s)), date);
        QCOMPARE(t.logEntries(), log);
    }

    void releaseDate_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("builtAtKnown");
        QTest::addColumn<QString>("date");
        QTest::addColumn<int>("logLines");
        // Recorded build time: 1 March 2024, 23:30 UTC.
        QTest::newRow("Windows program: its header")
            << peFile(0x80, 0x4A000000) << true << u"05.05.2009"_s << 0;
        QTest::newRow("Windows program without header")
            << QByteArray("MZ") << true << QString() << 1;
        QTest::newRow("ELF program: recorded build time") << QByteArray("\x7f"
                                                                        "ELF\x02\x01\x01")
                                                          << true << u"02.03.2024"_s << 0;
        QTest::newRow("PE mark but no MZ: recorded build time") << peFile(0x80, 0x4A000000)
                                                                       .replace(0, 2,
                                                                           "\x7f"
                                                                           "E")
                                                                << true << u"02.03.2024"_s << 0;
        QTest::newRow("ELF program, nothing recorded") << QByteArray("\x7f"
                                                                     "ELF")
                                                       << false << QString() << 0;
        QTest::newRow("no program file: recorded build time")
            << QByteArray() << true << u"02.03.2024"_s << 0;
    }

    void releaseDate()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, builtAtKnown);
        QFETCH(QString, date);
        QFETCH(int, logLines);
        TestEnv t;
        if (!file.isNull())
            t.write(u"kescherheft"_s, file);
        setTimeZone("Europe/Berlin");
        BuildInfo build { t.path(u"kescherheft"_s), std::nullopt };
        if (builtAtKnown)
            build.builtAt = 1709335800;
        QCOMPARE(ReleaseDate(t.env, build), date);
        QCOMPARE(t.logEntries().size(), logLines);
    }
};

QTEST_GUILESS_MAIN(tst_buildDate)
#include "tst_buildDate.moc"
