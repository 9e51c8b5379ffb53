#include "app/Settings.h"
#include "platform/Cp1252.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString kIni = u"settings.ini"_s;

const QString kQuestion =
    u"Vielen Dank, dass Sie sich für dieses Programm entschieden haben. Sie können das "
    u"Programm sofort verwenden. Die Größe der Fenster ist im Moment auf den Minimalwert "
    u"eingestellt.\r\n \r\nSollen sich die Fenster an die Bildschirmgröße automatisch anpassen?"_s;

QByteArray lines(const QStringList& l) { return encode1252(l.join(u"\r\n"_s) + u"\r\n"_s); }

QByteArray iniFile(const QString& l2, const QString& l3, const QString& l5, const QString& l6,
                   const QString& l7, const QString& l9)
{
    return lines({u"[Fangübersicht]"_s, l2, l3, u"[Hauptfenster]"_s, l5, l6, l7,
                  u"[Allgemein]"_s, l9});
}

QStringList logOf(const TestEnv& t)
{
    if (!QFile::exists(t.path(u"kescherheft.log"_s)))
        return {};
    return t.logEntries();
}

SettingsRecord rec(qint16 oh, qint16 ow, qint16 mh, qint16 mw, qint16 st)
{
    SettingsRecord r;
    r.OverviewHeight = oh;
    r.OverviewWidth = ow;
    r.MainHeight = mh;
    r.MainWidth = mw;
    r.MainWindowState = st;
    return r;
}

QList<int> values(const SettingsRecord& r)
{
    return {r.OverviewHeight, r.OverviewWidth, r.MainHeight, r.MainWidth, r.MainWindowState};
}

}  // namespace

class TestSettings : public QObject {
    Q_OBJECT

private:
    TestEnv* m_t = nullptr;

private slots:
    void init() { m_t = new TestEnv; }
    void cleanup()
    {
        m_t->dialogs.verifyDone();
        delete m_t;
        m_t = nullptr;
    }

    void defaultFileBytes()
    {
        const QByteArray expected =
            "[Fang\xFC" "bersicht]\r\n 1000 \r\n 1000 \r\n[Hauptfenster]\r\n 1000 \r\n 1000 \r\n"
            " 0 \r\n[Allgemein]\r\n 1 \r\n";
        QCOMPARE(SettingsFileBytes(DefaultSettings(), 1), expected);
        QCOMPARE(SettingsFileBytes(rec(1, -2, 30000, -32768, 2), 0, false),
                 QByteArray("[Fang\xFC" "bersicht]\r\n 1 \r\n-2 \r\n[Hauptfenster]\r\n 30000 \r\n"
                            "-32768 \r\n 2 \r\n[Allgemein]\r\n0\r\n"));
    }

    void firstStart_data()
    {
        QTest::addColumn<MsgResult>("answer");
        QTest::addColumn<QList<int>>("after");
        QTest::addColumn<QByteArray>("savedFile");

        QTest::newRow("yes") << MsgResult::Yes << QList<int>{1000, 30000, 30000, 30000, 2}
                             << iniFile(u" 1000 "_s, u" 30000 "_s, u" 30000 "_s, u" 30000 "_s,
                                        u" 2 "_s, u"0"_s);
        QTest::newRow("no") << MsgResult::No << QList<int>{1000, 1000, 1000, 1000, 0}
                            << iniFile(u" 1000 "_s, u" 1000 "_s, u" 1000 "_s, u" 1000 "_s,
                                       u" 0 "_s, u"0"_s);
    }

    void firstStart()
    {
        QFETCH(MsgResult, answer);
        QFETCH(QList<int>, after);
        QFETCH(QByteArray, savedFile);
        TestEnv& t = *m_t;

        t.dialogs.answer(answer);
        SettingsRecord r;
        LoadSettings(t.env, r);
        QCOMPARE(values(r), after);

        QCOMPARE(t.dialogs.shown().size(), 1);
        const FakeDialogs::Shown& q = t.dialogs.shown().first();
        QCOMPARE(q.text, kQuestion);
        QCOMPARE(q.icon, MsgIcon::Question);
        QCOMPARE(q.buttons, MsgButtons::YesNo);
        QVERIFY(q.title.isEmpty());  // the application title
        QVERIFY(logOf(t).isEmpty());

        // The answer is not on disk yet; the file only records that the
        // question was asked.
        QCOMPARE(t.read(kIni), iniFile(u" 1000 "_s, u" 1000 "_s, u" 1000 "_s, u" 1000 "_s,
                                       u" 0 "_s, u" 0 "_s));

        // The next start asks nothing.
        SettingsRecord again;
        LoadSettings(t.env, again);
        QCOMPARE(values(again), (QList<int>{1000, 1000, 1000, 1000, 0}));

        SaveSettings(t.env, r);
        QCOMPARE(t.read(kIni), savedFile);
    }

    void roundTrip_data()
    {
        QTest::addColumn<QList<int>>("vals");
        QTest::addColumn<QString>("line3");
        QTest::addColumn<QString>("line7");

        QTest::newRow("sizes") << QList<int>{7000, 9000, 11500, 14760, 0} << u" 9000 "_s
                               << u" 0 "_s;
        QTest::newRow("negative") << QList<int>{-5, -5, -1, 0, -5} << u"-5 "_s << u"-5 "_s;
        QTest::newRow("limits") << QList<int>{32767, -32768, 1, 32767, 2} << u"-32768 "_s
                                << u" 2 "_s;
    }

    void roundTrip()
    {
        QFETCH(QList<int>, vals);
        QFETCH(QString, line3);
        QFETCH(QString, line7);
        TestEnv& t = *m_t;

        const SettingsRecord out = rec(vals[0], vals[1], vals[2], vals[3], vals[4]);
        SaveSettings(t.env, out);
        const QStringList fileLines = decode1252(t.read(kIni)).split(u"\r\n"_s);
        QCOMPARE(fileLines.size(), 10);  // nine lines, each ended by CR LF
        QCOMPARE(fileLines[2], line3);
        QCOMPARE(fileLines[6], line7);
        QCOMPARE(fileLines[8], u"0"_s);

        SettingsRecord in;
        LoadSettings(t.env, in);
        QCOMPARE(values(in), vals);
        QVERIFY(logOf(t).isEmpty());
    }

    // Every case starts from a record holding 7 everywhere, so a field the
    // reader did not reach shows as 7.
    void readByPosition_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QList<int>>("after");
        QTest::addColumn<QString>("logged");  // empty: nothing
        QTest::addColumn<bool>("asks");

        const QString n1 = u" 1 "_s;
        QTest::newRow("usual") << iniFile(u" 10 "_s, u" 20 "_s, u" 30 "_s, u" 40 "_s, u" 1 "_s,
                                          u"0"_s)
                               << QList<int>{10, 20, 30, 40, 1} << QString() << false;
        QTest::newRow("first run again") << iniFile(u" 10 "_s, u" 20 "_s, u" 30 "_s, u" 40 "_s,
                                                    u" 1 "_s, n1)
                                         << QList<int>{10, 20, 30, 40, 1} << QString() << true;
        QTest::newRow("first run 2 is not 1")
            << iniFile(u" 10 "_s, u" 20 "_s, u" 30 "_s, u" 40 "_s, u" 1 "_s, u" 2 "_s)
            << QList<int>{10, 20, 30, 40, 1} << QString() << false;
        QTest::newRow("lower-case sections")
            << lines({u"[fangübersicht]"_s, u" 10 "_s, u" 20 "_s, u"[hauptfenster]"_s, u" 30 "_s,
                      u" 40 "_s, u" 2 "_s, u"[allgemein]"_s, n1})
            << QList<int>{10, 20, 30, 40, 2} << QString() << true;
        QTest::newRow("sections renamed")
            << lines({u"x"_s, u" 10 "_s, u" 20 "_s, QString(), u" 30 "_s, u" 40 "_s, u" 2 "_s,
                      u"anything at all"_s, u" 0 "_s})
            << QList<int>{10, 20, 30, 40, 2} << QString() << false;
        QTest::newRow("sections swapped")
            << lines({u"[Hauptfenster]"_s, u" 11 "_s, u" 12 "_s, u"[Fangübersicht]"_s, u" 21 "_s,
                      u" 22 "_s, u" 0 "_s, u"[Allgemein]"_s, u" 0 "_s})
            << QList<int>{11, 12, 21, 22, 0} << QString() << false;
        QTest::newRow("eight lines")
            << lines({u"[Fangübersicht]"_s, u" 10 "_s, u" 20 "_s, u"[Hauptfenster]"_s, u" 30 "_s,
                      u" 40 "_s, u" 1 "_s, u"[Allgemein]"_s})
            << QList<int>{10, 20, 30, 40, 1} << u"Error (62)"_s << false;
        QTest::newRow("empty file") << QByteArray() << QList<int>{7, 7, 7, 7, 7}
                                    << u"Error (62)"_s << false;
        QTest::newRow("non-numeric")
            << iniFile(u" 10 "_s, u" 20 "_s, u" zehn "_s, u" 40 "_s, u" 1 "_s, n1)
            << QList<int>{10, 20, 7, 7, 7} << u"Error (13)"_s << false;
        QTest::newRow("blank number line")
            << iniFile(u" 10 "_s, u"  "_s, u" 30 "_s, u" 40 "_s, u" 1 "_s, n1)
            << QList<int>{10, 7, 7, 7, 7} << u"Error (13)"_s << false;
        QTest::newRow("out of range")
            << iniFile(u" 10 "_s, u" 20 "_s, u" 30 "_s, u" 40000 "_s, u" 1 "_s, n1)
            << QList<int>{10, 20, 30, 7, 7} << u"Error (6)"_s << false;
        QTest::newRow("negative") << iniFile(u"-5 "_s, u"-1 "_s, u" 30 "_s, u" 40 "_s, u"-5 "_s,
                                             u"0"_s)
                                  << QList<int>{-5, -1, 30, 40, -5} << QString() << false;
        QTest::newRow("unreadable first-run line")
            << iniFile(u" 10 "_s, u" 20 "_s, u" 30 "_s, u" 40 "_s, u" 1 "_s, u"ja"_s)
            << QList<int>{10, 20, 30, 40, 1} << u"Error (13)"_s << false;
        QTest::newRow("LF line ends")
            << QByteArray("[Fang\xFC" "bersicht]\n 10 \n 20 \n[Hauptfenster]\n 30 \n 40 \n 2 \n"
                          "[Allgemein]\n 0 \n")
            << QList<int>{10, 20, 30, 40, 2} << QString() << false;
        // A comma ends a field too, so the values move one place on.
        QTest::newRow("comma in a line")
            << iniFile(u" 10, 20 "_s, u" 30 "_s, u" 40 "_s, u" 50 "_s, u" 1 "_s, n1)
            << QList<int>{10, 20, 7, 7, 7} << u"Error (13)"_s << false;
    }

    void readByPosition()
    {
        QFETCH(QByteArray, file);
        QFETCH(QList<int>, after);
        QFETCH(QString, logged);
        QFETCH(bool, asks);
        TestEnv& t = *m_t;

        t.write(kIni, file);
        if (asks)
            t.dialogs.answer(MsgResult::No);
        SettingsRecord r = rec(7, 7, 7, 7, 7);
        LoadSettings(t.env, r);

        QCOMPARE(values(r), after);
        QCOMPARE(logOf(t), logged.isEmpty() ? QStringList() : QStringList{u"Sub CheckFiles\t"_s + logged});
        QCOMPARE(t.dialogs.shown().size(), asks ? 1 : 0);
        // Only a first start rewrites the file.
        if (!asks)
            QCOMPARE(t.read(kIni), file);
    }

    void unreadableFileIsLogged()
    {
        TestEnv& t = *m_t;
        QVERIFY(QDir().mkdir(t.path(kIni)));
        SettingsRecord r = rec(7, 7, 7, 7, 7);
        LoadSettings(t.env, r);
        QCOMPARE(values(r), (QList<int>{7, 7, 7, 7, 7}));
        QCOMPARE(logOf(t).size(), 1);
        QVERIFY(logOf(t).first().startsWith(u"Sub CheckFiles\tError ("_s));

        // The save at the program end fails without throwing and is logged.
        SaveSettings(t.env, r);
        QCOMPARE(logOf(t).size(), 2);
        QVERIFY(logOf(t).last().startsWith(u"Sub EndProgram\tError ("_s));
        QVERIFY(QFileInfo(t.path(kIni)).isDir());
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
