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

void setTimeZone(const QByteArray& tz)
{
    qputenv("TZ", tz);
    tzset();
}

} // namespace

class TestBuildDate : public QObject {
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
        QTest::addColumn<QString>("error"); // logged under "Funktion GetCompileTime"
        const auto row = [](const char* name, const QByteArray& file, const QByteArray& tz,
                             const QString& date, const QString& error = {}) {
            QTest::newRow(name) << file << tz << date << error;
        };
        // 4 May 2009, 23:30 UTC.
        row("before midnight UTC, Berlin", peFile(0x80, 0x49FF7A78), "Europe/Berlin",
            u"05.05.2009"_s);
        row("before midnight UTC, UTC", peFile(0x80, 0x49FF7A78), "UTC", u"04.05.2009"_s);
        row("negative stamp", peFile(0x80, 0xFFFFFFFF), "UTC", u"31.12.1969"_s);
        // "5045" starting in the middle of a byte: the stamp's eight hex
        // digits are read from there, across byte boundaries.
        row("match at an odd position",
            QByteArray::fromHex("4D5AA504500004C01030000CA9A3B0").leftJustified(512, '\0'), "UTC",
            u"09.09.2001"_s);
        // A "PE" in the stub text comes first and is taken.
        row("first match counts",
            peFile(0x80, 0x4A000000).replace(0x10, 12, peFile(0, 0x3B9ACA00, 14).left(12)), "UTC",
            u"09.09.2001"_s);
        row("file shorter than 512 bytes", peFile(40, 0x4A000000, 60), "UTC", u"05.05.2009"_s);
        row("stamp ends at byte 512", peFile(500, 0x4A000000), "UTC", u"05.05.2009"_s);
        row("stamp beyond byte 512", peFile(504, 0x4A000000), "UTC", {}, u"Error (13)"_s);
        row("mark beyond byte 512", peFile(600, 0x4A000000), "UTC", {}, u"Error (76)"_s);
        row("no file", QByteArray(), "UTC", {}, u"Error (53)"_s);
    }

    void compileTime()
    {
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, tz);
        QFETCH(QString, error);
        TestEnv t;
        if (!file.isNull())
            t.write(u"kescherheft.exe"_s, file);
        setTimeZone(tz);
        QTEST(GetCompileTime(t.env, t.path(u"kescherheft.exe"_s)), "date");
        QCOMPARE(t.logEntries(),
            error.isEmpty() ? QStringList()
                            : QStringList { u"Funktion GetCompileTime\t"_s + error });
    }

    void releaseDate_data()
    {
        QTest::addColumn<QByteArray>("file"); // null: no file at all
        QTest::addColumn<bool>("builtAtKnown");
        QTest::addColumn<QString>("date");
        QTest::addColumn<int>("logLines");
        // Recorded build time: 1 March 2024, 23:30 UTC.
        QTest::newRow("Windows program: its header")
            << peFile(0x80, 0x4A000000) << true << u"05.05.2009"_s << 0;
        QTest::newRow("Windows program without header")
            << QByteArray("MZ") << true << QString() << 1;
        QTest::newRow("PE mark but no MZ: recorded build time")
            << peFile(0x80, 0x4A000000).replace(0, 2, QByteArray::fromHex("7f45")) << true
            << u"02.03.2024"_s << 0;
        QTest::newRow("ELF program, nothing recorded")
            << QByteArray::fromHex("7f454c46") << false << QString() << 0;
        QTest::newRow("no program file: recorded build time")
            << QByteArray() << true << u"02.03.2024"_s << 0;
    }

    void releaseDate()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, builtAtKnown);
        TestEnv t;
        if (!file.isNull())
            t.write(u"kescherheft"_s, file);
        setTimeZone("Europe/Berlin");
        BuildInfo build { t.path(u"kescherheft"_s), std::nullopt };
        if (builtAtKnown)
            build.builtAt = 1709335800;
        QTEST(ReleaseDate(t.env, build), "date");
        QTEST(int(t.logEntries().size()), "logLines");
    }
};

QTEST_GUILESS_MAIN(TestBuildDate)
#include "tst_buildDate.moc"
