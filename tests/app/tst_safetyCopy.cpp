// Safety copies: only the newest copies stay, a copy that cannot be made
// stops the deletion, a start-up conversion is preceded by one or asks
// first, and any file name survives the marker.
#include "app/BackupFiles.h"
#include "app/BackupMarker.h"
#include "app/CheckFiles.h"
#include "app/Reset.h"
#include "app/SafetyCopy.h"
#include "app/Settings.h"
#include "platform/ErrorLog.h"
#include "support/FileTree.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

const QString kPlace = u"Sub frmHaupt.mnuResetDB_Click"_s;
const QByteArray kCosts = recordFileBytes({ sampleCostLine() });

QStringList copies(const TestEnv& t)
{
    return QDir(t.path(kSafetyCopiesFolder))
        .entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

class TestSafetyCopy : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnv> t;
    SettingsRecord s;
    QTemporaryDir outside;

private slots:
    void init()
    {
        t = std::make_unique<TestEnv>();
        t->dialogs.answer(MsgResult::No);
        CheckFiles(t->env, s);
        QVERIFY(t->dialogs.verifyDone());
        t->write(u"db\\fänge\\db"_s, recordFileBytes({ sampleCatchLine() }));
        t->write(u"db\\kosten\\db"_s, kCosts);
        t->write(u"db\\bilder\\Zander.jpg"_s, "jpg");
    }
    void cleanup() { t->dialogs.verifyDone(); }

    void keepsTheNewestFive()
    {
        t->write(u"db\\Sicherungen\\eigene Ablage\\x"_s, "x"); // not one of the copies
        ErrorTrap trap(t->env, kPlace);
        QStringList made;
        // Seven in the same second (more than are kept), one a second later,
        // then two after the clock went back: kept by the time they record.
        for (int i = 0; i < 10; ++i) {
            t->clock.set(
                QDateTime(QDate(2004, 5, 17), i < 8 ? QTime(14, 30, i / 7) : QTime(14, 29)));
            made.append(QFileInfo(MakeSafetyCopy(t->env, SafeCosts, trap).folder).fileName());
            if (i == 1) { // a link named like an old copy, to a copy outside: never followed
                QVERIFY(QDir().rename(
                    t->path(kSafetyCopiesFolder) + u'/' + made[0], outside.path() + u"/k"_s));
                QVERIFY(QFile::link(outside.path() + u"/k"_s,
                    t->path(kSafetyCopiesFolder) + u"/2001-01-01_00-00-00"_s));
            }
        }
        QCOMPARE(made.mid(5, 3),
            (QStringList { u"2004-05-17_14-30-00_6"_s, u"2004-05-17_14-30-00_7"_s,
                u"2004-05-17_14-30-01"_s }));
        QCOMPARE(copies(*t),
            QStringList { u"2001-01-01_00-00-00"_s } << made[9] << made.mid(4, 4)
                                                     << u"eigene Ablage"_s);
        QVERIFY(QFileInfo::exists(outside.path() + u"/k/import"_s));
        QVERIFY(t->logEntries().filter(u"Error"_s).isEmpty());
    }

    void noCopyNoDeletion_data()
    {
        QTest::addColumn<bool>("diskFull"); // else a file stands where the copies go
        QTest::newRow("a file where the copies go") << false;
        QTest::newRow("disk full half way") << true;
    }

    void noCopyNoDeletion()
    {
        QFETCH(bool, diskFull);
        if (!diskFull)
            t->write(kSafetyCopiesFolder, "not a folder");
        const auto before = fileTree(t->path(u"db"_s));
        ResetResult r;
        {
            std::optional<FileSizeLimit> full;
            if (diskFull) // the cost log fits, the catch log not
                full.emplace(kCosts.size());
            r = ResetLogs(t->env, LogSet::Both, kPlace);
        }
        QCOMPARE(r.status, ResetResult::NotCopied);
        QVERIFY(r.problem.endsWith(u"Es wurde nichts gelöscht oder überschrieben."_s));
        QCOMPARE(fileTree(t->path(u"db"_s)), before); // no half copy either
    }

    void conversionAtStart_data()
    {
        QTest::addColumn<MsgResult>("answer"); // when no copy can be made; Cancel: it can
        QTest::addColumn<bool>("copied");
        QTest::addColumn<bool>("converted");
        const MsgResult can = MsgResult::Cancel;
        QTest::newRow("copied") << can << true << true;
        QTest::newRow("no copy, converted anyway") << MsgResult::Yes << false << true;
        QTest::newRow("no copy, not converted") << MsgResult::No << false << false;
    }

    void conversionAtStart()
    {
        QFETCH(MsgResult, answer);
        QFETCH(bool, copied);
        QFETCH(bool, converted);
        const QByteArray grams = recordFileBytes({ sampleCatchLine({ { 7, u"2500"_s } }) });
        t->write(u"db\\fänge\\db"_s, grams);
        t->write(u"db\\db.ver"_s, "101\r\n"); // an older version: the weights are converted
        const bool asks = answer != MsgResult::Cancel;
        if (asks) {
            t->write(kSafetyCopiesFolder, "not a folder");
            t->dialogs.answer(answer);
        }
        const auto before = fileTree(t->path(u"db"_s));
        const bool ends = answer == MsgResult::No;
        QCOMPARE(CheckFiles(t->env, s) == StartCheck::End, ends);
        QCOMPARE(t->read(u"db\\fänge\\db"_s) != grams, converted);
        QCOMPARE(copies(*t).size(), copied ? 1 : 0);
        if (ends)
            QCOMPARE(fileTree(t->path(u"db"_s)), before);
        if (asks) {
            // The question gives the reason the copy failed and presets "Nein".
            ErrorTrap trap(t->env, kPlace);
            const QString why = MakeSafetyCopy(t->env, SafeCatchLog, trap).problem;
            QVERIFY(!why.isEmpty());
            QCOMPARE(t->dialogs.messageTexts(),
                QStringList { u"Die Fangdatenbank liegt in einem älteren Format vor und muss "
                              u"umgewandelt werden.\r\n\r\n"_s
                    + why
                    + u"\r\n\r\nSoll die Fangdatenbank ohne Sicherheitskopie umgewandelt werden?"_s });
            QCOMPARE(t->dialogs.shown().first().preset, MsgResult::No);
        }
        if (copied) // the copy holds the catch log as it was
            QCOMPARE(fileTree(t->path(kSafetyCopiesFolder) + u'/' + copies(*t).first())
                         .value(u"fänge/db"_s),
                grams);
    }

    // Any file name survives the marker's code page and line form; a
    // marker naming one file twice is no marker.
    void namesInMarker_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("umlauts") << u"Äsche am Großen Müggelsee.jpg"_s;
        QTest::newRow("percent sign") << u"100%.jpg"_s;
        QTest::newRow("backslash") << u"a\\b.jpg"_s;
        QTest::newRow("outside the code page") << u"鯉 🐟.jpg"_s;
        QTest::newRow("line break") << u"zwei\r\nZeilen"_s;
        QTest::newRow("escape-like text") << u"%C3%A4.jpg"_s;
    }

    void namesInMarker()
    {
        QFETCH(QString, name);
        const CopiedFile file { u"bilder\\"_s + BackupFiles::relName(name), {}, {},
            { 3, QByteArray(32, 'x') } };
        const std::optional<Marker> m = ParseMarker(MarkerBytes(t->clock.now(), { file }));
        QVERIFY(m && m->entries.size() == 1);
        QCOMPARE(BackupFiles::relParts(m->entries[0].rel), (QStringList { u"bilder"_s, name }));
        QCOMPARE(m->entries[0].digest.size, 3);
        QVERIFY(!ParseMarker(MarkerBytes(t->clock.now(), { file, file })));
    }
};

QTEST_GUILESS_MAIN(TestSafetyCopy)
#include "tst_safetyCopy.moc"
