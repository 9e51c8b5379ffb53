#include "app/Settings.h"
#include "platform/Cp1252.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString kIni = u"settings.ini"_s;

// A file's lines, "|" between them, each ended by CR LF.
QByteArray lines(const QString& l)
{
    return encode1252(l.split(u'|').join(u"\r\n"_s) + u"\r\n"_s);
}

// The usual section lines around the value lines 2, 3, 5, 6, 7 and 9.
QByteArray ini(const QString& v)
{
    const QStringList l = v.split(u'|');
    return lines(u"[Fangübersicht]|%1|%2|[Hauptfenster]|%3|%4|%5|[Allgemein]|%6"_s.arg(
        l[0], l[1], l[2], l[3], l[4], l[5]));
}

SettingsRecord rec(const QList<int>& v)
{
    return { qint16(v[0]), qint16(v[1]), qint16(v[2]), qint16(v[3]), qint16(v[4]) };
}

QList<int> values(const SettingsRecord& r)
{
    return { r.OverviewHeight, r.OverviewWidth, r.MainHeight, r.MainWidth, r.MainWindowState };
}

} // namespace

class TestSettings : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnv> m_t;

private slots:
    void init() { m_t = std::make_unique<TestEnv>(); }
    void cleanup() { m_t->dialogs.verifyDone(); }

    void fileBytes()
    {
        QCOMPARE(SettingsFileBytes(DefaultSettings(), 1),
            QByteArray("[Fang\xFC"
                       "bersicht]\r\n 1000 \r\n 1000 \r\n[Hauptfenster]\r\n 1000 \r\n"
                       " 1000 \r\n 0 \r\n[Allgemein]\r\n 1 \r\n"));
        QCOMPARE(SettingsFileBytes(rec({ 1, -2, 32767, -32768, 2 }), 0, false),
            QByteArray("[Fang\xFC"
                       "bersicht]\r\n 1 \r\n-2 \r\n[Hauptfenster]\r\n 32767 \r\n"
                       "-32768 \r\n 2 \r\n[Allgemein]\r\n0\r\n"));
    }

    void firstStart_data()
    {
        QTest::addColumn<MsgResult>("answer");
        QTest::addColumn<QList<int>>("after");
        QTest::newRow("yes") << MsgResult::Yes << QList<int> { 1000, 30000, 30000, 30000, 2 };
        QTest::newRow("no") << MsgResult::No << QList<int> { 1000, 1000, 1000, 1000, 0 };
    }

    void firstStart()
    {
        QFETCH(MsgResult, answer);
        QFETCH(QList<int>, after);
        m_t->dialogs.answer(answer);
        SettingsRecord r;
        LoadSettings(m_t->env, r);
        QCOMPARE(values(r), after);
        const FakeDialogs::Shown q = m_t->dialogs.shown().value(0);
        QCOMPARE(q.text,
            u"Vielen Dank, dass Sie sich für dieses Programm entschieden haben. Sie können das "
            u"Programm sofort verwenden. Die Größe der Fenster ist im Moment auf den Minimalwert "
            u"eingestellt.\r\n \r\nSollen sich die Fenster an die Bildschirmgröße automatisch "
            u"anpassen?"_s);
        QCOMPARE(q.icon, MsgIcon::Question);
        QCOMPARE(q.buttons, MsgButtons::YesNo);
        QCOMPARE(q.title, QString());
        // The file only records that the question was asked; the next start asks nothing.
        QCOMPARE(m_t->read(kIni), SettingsFileBytes(DefaultSettings(), 0));
        SettingsRecord again;
        LoadSettings(m_t->env, again);
        QCOMPARE(values(again), values(DefaultSettings()));
        // The program end writes the answer.
        SaveSettings(m_t->env, r);
        QCOMPARE(m_t->read(kIni), SettingsFileBytes(r, 0, false));
        QCOMPARE(m_t->logEntries(), QStringList());
    }

    // Every case starts from 7 everywhere: a field not reached stays 7.
    void readByPosition_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QList<int>>("after");
        QTest::addColumn<QString>("error"); // logged under "Sub CheckFiles"
        QTest::addColumn<bool>("asks");
        const QList<int> read { 10, 20, 30, 40, 1 };
        // An empty `after` stands for the usual values read.
        const auto row = [&](const char* name, const QByteArray& file, const QString& error = {},
                             const QList<int>& after = {}, bool asks = false) {
            QTest::newRow(name) << file << (after.isEmpty() ? read : after) << error << asks;
        };
        row("usual", ini(u" 10 | 20 | 30 | 40 | 1 |0"_s));
        row("first run again", ini(u" 10 | 20 | 30 | 40 | 1 | 1 "_s), {}, {}, true);
        row("first run 2 is not 1", ini(u" 10 | 20 | 30 | 40 | 1 | 2 "_s));
        // Section lines are not looked at.
        row("sections swapped", lines(u"[Hauptfenster]| 10 | 20 |x| 30 | 40 | 1 || 0 "_s));
        row("LF line ends",
            "[Fang\xFC"
            "bersicht]\n 10 \n 20 \n[H]\n 30 \n 40 \n 1 \n[A]\n 0 \n");
        row("eight lines", lines(u"[F]| 10 | 20 |[H]| 30 | 40 | 1 |[A]"_s), u"Error (62)"_s);
        row("empty file", QByteArray(), u"Error (62)"_s, QList<int>(5, 7));
        const QString e13 = u"Error (13)"_s;
        row("non-numeric", ini(u" 10 | 20 | zehn | 40 | 1 | 1 "_s), e13, { 10, 20, 7, 7, 7 });
        row("out of range", ini(u" 10 | 20 | 30 | 40000 | 1 | 1 "_s), u"Error (6)"_s,
            { 10, 20, 30, 7, 7 });
        row("unreadable first-run line", ini(u" 10 | 20 | 30 | 40 | 1 |ja"_s), e13);
        // A comma ends a field too, so the values move one place on.
        row("comma in a line", ini(u" 10, 20 | 30 | 40 | 50 | 1 | 1 "_s), e13, { 10, 20, 7, 7, 7 });
    }

    void readByPosition()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, error);
        QFETCH(bool, asks);
        m_t->write(kIni, file);
        if (asks)
            m_t->dialogs.answer(MsgResult::No);
        SettingsRecord r = rec(QList<int>(5, 7));
        LoadSettings(m_t->env, r);
        QTEST(values(r), "after");
        const QString entry = u"Sub CheckFiles\t"_s + error;
        QCOMPARE(m_t->logEntries(), error.isEmpty() ? QStringList() : QStringList { entry });
        if (!asks) // only a first start rewrites the file
            QCOMPARE(m_t->read(kIni), file);
    }

    void unreadableFileIsLogged()
    {
        QVERIFY(QDir().mkdir(m_t->path(kIni)));
        SettingsRecord r = rec(QList<int>(5, 7));
        LoadSettings(m_t->env, r);
        QCOMPARE(values(r), QList<int>(5, 7));
        SaveSettings(m_t->env, r); // fails at the program end without throwing
        const QStringList log = m_t->logEntries();
        QCOMPARE(log.size(), 2);
        QVERIFY(log[0].startsWith(u"Sub CheckFiles\tError ("_s));
        QVERIFY(log[1].startsWith(u"Sub EndProgram\tError ("_s));
        QVERIFY(QFileInfo(m_t->path(kIni)).isDir());
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
