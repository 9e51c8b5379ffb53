// The settings file: its exact bytes, the first-start question, values read
// by their line's position, and a file that cannot be read or written.
#include "app/Settings.h"
#include "platform/Cp1252.h"
#include "support/TestEnv.h"

#include <QDir>
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

// The usual section lines around the value lines 2, 3, 5, 6, 7 and 9, and
// with ten values the evaluation window's section after them.
QByteArray ini(const QString& v)
{
    const QStringList l = v.split(u'|');
    QString text = u"[Fangübersicht]|%1|%2|[Hauptfenster]|%3|%4|%5|[Allgemein]|%6"_s.arg(
        l[0], l[1], l[2], l[3], l[4], l[5]);
    if (l.size() == 10)
        text += u"|[Auswertungen]|%1|%2|%3|%4"_s.arg(l[6], l[7], l[8], l[9]);
    return lines(text);
}

QList<int> values(const SettingsRecord& r)
{
    return { r.OverviewHeight, r.OverviewWidth, r.MainHeight, r.MainWidth, r.MainWindowState,
        r.EvaluationLeft, r.EvaluationTop, r.EvaluationWidth, r.EvaluationHeight };
}

const SettingsRecord kSevens { 7, 7, 7, 7, 7, 7, 7, 7, 7 };

} // namespace

class TestSettings : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnv> m_t = std::make_unique<TestEnv>();

private slots:
    void cleanup() { m_t = std::make_unique<TestEnv>(); }

    void fileBytes()
    {
        QCOMPARE(SettingsFileBytes(DefaultSettings(), 1),
            ini(u" 1000 | 1000 | 1000 | 1000 | 0 | 1 | 0 | 0 | 0 | 0 "_s));
        QCOMPARE(SettingsFileBytes({ 1, -2, 32767, -32768, 2, -15, 30, 9000, 6000 }, 0, false),
            ini(u" 1 |-2 | 32767 |-32768 | 2 |0|-15 | 30 | 9000 | 6000 "_s));
    }

    void firstStart_data()
    {
        QTest::addColumn<MsgResult>("answer");
        QTest::addColumn<QList<int>>("after");
        QTest::newRow("yes") << MsgResult::Yes
                             << QList<int> { 1000, 30000, 30000, 30000, 2, 0, 0, 0, 0 };
        QTest::newRow("no") << MsgResult::No
                            << QList<int> { 1000, 1000, 1000, 1000, 0, 0, 0, 0, 0 };
    }

    void firstStart()
    {
        QFETCH(MsgResult, answer);
        m_t->dialogs.answer(answer);
        SettingsRecord r;
        LoadSettings(m_t->env, r);
        QTEST(values(r), "after");
        const FakeDialogs::Shown q = m_t->dialogs.shown().value(0);
        QCOMPARE(q.text,
            u"Vielen Dank, dass Sie sich für dieses Programm entschieden haben. Sie können das "
            u"Programm sofort verwenden. Die Größe der Fenster ist im Moment auf den Minimalwert "
            u"eingestellt.\r\n \r\nSollen sich die Fenster an die Bildschirmgröße automatisch "
            u"anpassen?"_s);
        QVERIFY(q.icon == MsgIcon::Question && q.buttons == MsgButtons::YesNo && q.title.isEmpty());
        // The file only records that the question was asked; the program
        // end writes the answer.
        QCOMPARE(m_t->read(kIni), SettingsFileBytes(DefaultSettings(), 0));
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
                             QList<int> after = {}, bool asks = false) {
            after = after.isEmpty() ? read : after;
            // The fields a row does not name keep their 7.
            QTest::newRow(name) << file << after + QList<int>(9 - after.size(), 7) << error << asks;
        };
        row("first run again", ini(u" 10 | 20 | 30 | 40 | 1 | 1 "_s), {}, {}, true);
        row("first run 2 is not 1", ini(u" 10 | 20 | 30 | 40 | 1 | 2 "_s));
        // Section lines are not looked at; LF ends a line too.
        row("sections swapped, LF", "[Hauptfenster]\n 10 \n 20 \nx\n 30 \n 40 \n 1 \n\n 0 \n");
        row("eight lines", lines(u"[F]| 10 | 20 |[H]| 30 | 40 | 1 |[A]"_s), u"Error (62)"_s);
        row("empty file", QByteArray(), u"Error (62)"_s, QList<int>(5, 7));
        row("evaluation window placed",
            ini(u" 10 | 20 | 30 | 40 | 1 | 0 |-30 | 15 | 9000 | 6000 "_s), {},
            { 10, 20, 30, 40, 1, -30, 15, 9000, 6000 });
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
        SettingsRecord r = kSevens;
        LoadSettings(m_t->env, r);
        QTEST(values(r), "after");
        const QString entry = u"Sub CheckFiles\t"_s + error;
        QCOMPARE(m_t->logEntries(), error.isEmpty() ? QStringList() : QStringList { entry });
        if (!asks) // only a first start rewrites the file
            QCOMPARE(m_t->read(kIni), file);
    }

    // A settings file that is a folder is logged at the start and at the
    // end, and the end does not throw.
    void unreadableFileIsLogged()
    {
        QVERIFY(QDir().mkdir(m_t->path(kIni)));
        SettingsRecord r = kSevens;
        LoadSettings(m_t->env, r);
        QCOMPARE(values(r), QList<int>(9, 7));
        SaveSettings(m_t->env, r);
        const QStringList log = m_t->logEntries();
        QCOMPARE(log.size(), 2);
        QVERIFY(log[0].startsWith(u"Sub CheckFiles\tError ("_s));
        QVERIFY(log[1].startsWith(u"Sub EndProgram\tError ("_s));
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
