// Safety copies: only the newest copies stay, a copy that cannot be made
// stops the deletion, a start-up conversion is preceded by one or asks
// first, and any file name survives the marker. What a reset copies is
// checked with the reset menus.
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
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(LogSet)

namespace {

const QString kPlace = u"Sub frmHaupt.mnuResetDB_Click"_s;
const QByteArray kCatches = recordFileBytes({ sampleCatch().join(u'\t') });
const QByteArray kCosts = recordFileBytes({ sampleCost().join(u'\t') });

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

private slots:
    void init()
    {
        t = std::make_unique<TestEnv>();
        t->dialogs.answer(MsgResult::No);
        CheckFiles(t->env, s);
        QVERIFY(t->dialogs.verifyDone());
        t->write(u"db\\fänge\\db"_s, kCatches);
        t->write(u"db\\kosten\\db"_s, kCosts);
        t->write(u"db\\bilder\\Zander.jpg"_s, "jpg");
        t->write(u"db\\bilder\\Alt\\Aal.jpg"_s, "aal");
    }
    void cleanup() { t->dialogs.verifyDone(); }

    void keepsTheNewestFive()
    {
        t->write(u"db\\Sicherungen\\eigene Ablage\\x"_s, "x"); // not one of the copies
        ErrorTrap trap(t->env, kPlace);
        QStringList made;
        // Seven in the same second (more than are kept), then one a second later.
        for (int i = 0; i < 8; ++i) {
            t->clock.set(QDateTime(QDate(2004, 5, 17), QTime(14, 30, i / 7)));
            made.append(QFileInfo(MakeSafetyCopy(t->env, SafeCosts, trap).folder).fileName());
        }
        QCOMPARE(made.mid(5),
            (QStringList { u"2004-05-17_14-30-00_6"_s, u"2004-05-17_14-30-00_7"_s,
                u"2004-05-17_14-30-01"_s }));
        QCOMPARE(copies(*t), QStringList(made.mid(3)) << u"eigene Ablage"_s);
        QVERIFY(t->logEntries().filter(u"Error"_s).isEmpty());
    }

    void noCopyNoDeletion_data()
    {
        QTest::addColumn<QString>("obstacle");
        QTest::newRow("a file where the copies go") << u"file"_s;
        QTest::newRow("disk full half way") << u"full"_s;
    }

    void noCopyNoDeletion()
    {
        QFETCH(QString, obstacle);
        if (obstacle == u"file"_s)
            t->write(kSafetyCopiesFolder, "not a folder");
        const auto before = fileTree(t->path(u"db"_s));
        ResetResult r;
        {
            std::unique_ptr<FileSizeLimit> full;
            if (obstacle == u"full"_s)
                full = std::make_unique<FileSizeLimit>(
                    kCosts.size()); // the cost log fits, the catch log not
            r = ResetLogs(t->env, LogSet::Both, kPlace);
        }
        QCOMPARE(r.status, ResetResult::NotCopied);
        QVERIFY(r.problem.endsWith(u"Es wurde nichts gelöscht oder überschrieben."_s));
        QCOMPARE(fileTree(t->path(u"db"_s)), before); // no half copy either
    }

    void conversionAtStart_data()
    {
        QTest::addColumn<QByteArray>("version"); // null: no version file
        QTest::addColumn<bool>("copyPossible");
        QTest::addColumn<MsgResult>("answer"); // to the question when no copy can be made
        QTest::addColumn<bool>("copied");
        QTest::addColumn<bool>("converted");
        QTest::addColumn<bool>("ends");
        const MsgResult none = MsgResult::Cancel;
        QTest::newRow("101") << QByteArray("101\r\n") << true << none << true << true << false;
        QTest::newRow("no version file") << QByteArray() << true << none << true << true << false;
        QTest::newRow("current format")
            << QByteArray("102\r\n") << true << none << false << false << false;
        QTest::newRow("no copy, converted anyway")
            << QByteArray("101\r\n") << false << MsgResult::Yes << false << true << false;
        QTest::newRow("no copy, not converted")
            << QByteArray("101\r\n") << false << MsgResult::No << false << false << true;
    }

    void conversionAtStart()
    {
        QFETCH(QByteArray, version);
        QFETCH(bool, copyPossible);
        QFETCH(MsgResult, answer);
        QFETCH(bool, copied);
        QFETCH(bool, converted);
        QFETCH(bool, ends);
        const QByteArray grams = recordFileBytes({ sampleCatch({ { 7, u"2500"_s } }).join(u'\t') });
        t->write(u"db\\fänge\\db"_s, grams);
        if (version.isNull())
            QFile::remove(t->path(u"db\\db.ver"_s));
        else
            t->write(u"db\\db.ver"_s, version);
        if (!copyPossible) {
            t->write(kSafetyCopiesFolder, "not a folder");
            t->dialogs.answer(answer);
        }
        const auto before = fileTree(t->path(u"db"_s));
        QCOMPARE(CheckFiles(t->env, s) == StartCheck::End, ends);
        QCOMPARE(t->read(u"db\\fänge\\db"_s) != grams, converted);
        QCOMPARE(copies(*t).size(), copied ? 1 : 0);
        if (ends)
            QCOMPARE(fileTree(t->path(u"db"_s)), before);
        if (!copyPossible) {
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
        if (!copied)
            return;
        auto safety = fileTree(t->path(kSafetyCopiesFolder) + u'/' + copies(*t).first());
        QVERIFY(ParseMarker(safety.take(u"import"_s)));
        QMap<QString, QByteArray> expected { { u"fänge/db"_s, grams } };
        if (!version.isNull())
            expected.insert(u"db.ver"_s, version);
        QCOMPARE(safety, expected);
    }

    // Any file name survives the marker's code page and line form.
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
        const QString rel = u"bilder\\"_s + BackupFiles::relName(name);
        const QByteArray bytes = MarkerBytes(
            t->clock.now(), { CopiedFile { rel, {}, {}, { 3, QByteArray(32, 'x') } } });
        const std::optional<Marker> m = ParseMarker(bytes);
        QVERIFY(m && m->entries.size() == 1);
        QCOMPARE(BackupFiles::relParts(m->entries[0].rel), (QStringList { u"bilder"_s, name }));
        QCOMPARE(m->entries[0].digest.size, 3);
    }
};

QTEST_GUILESS_MAIN(TestSafetyCopy)
#include "tst_safetyCopy.moc"
