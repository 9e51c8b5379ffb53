// Backups as a hostile or unlucky user meets them: links and crafted names
// in backups and export targets, unlisted files, letter-case twins, a
// photo folder that is a link, and the work stopped at every change to the
// file system, followed by the next start. Every case ends with the
// program's files all old or all new, and nothing read or written outside.
#include "app/Backup.h"
#include "app/BackupFiles.h"
#include "app/CheckFiles.h"
#include "app/Journal.h"
#include "app/Reset.h"
#include "app/SafetyCopy.h"
#include "app/Settings.h"
#include "platform/ErrorLog.h"
#include "support/FileTree.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <functional>
#include <memory>

using namespace Qt::StringLiterals;
using namespace BackupFiles;

namespace {

const QString kPlace = u"Sub frmBackup.cmdSave_Click"_s;
const QByteArray kSecret = "geheim\r\n";

QByteArray catches(const QString& angler)
{
    return recordFileBytes({ sampleCatch({ { 2, angler } }).join(u'\t') });
}

} // namespace

class TestBackupHostile : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnv> t;
    QTemporaryDir outside; // a user's folder outside both the program and the backup

    QString db() const { return t->path(u"db"_s); }
    QString backup() const { return t->dir() + u"/Sicherung"_s; }
    QString outsideFile() const { return outside.path() + u"/passwd"_s; }

    void install(const QString& who)
    {
        t->write(u"db\\fänge\\db"_s, catches(who));
        t->write(u"db\\kosten\\db"_s, recordFileBytes({ sampleCost({ { 2, who } }).join(u'\t') }));
        t->write(u"db\\bilder\\Zander.jpg"_s, who.toUtf8() + " zander");
        t->write(u"db\\bilder\\Alt\\Aal.jpg"_s, who.toUtf8() + " aal");
    }

    Marker exportBoth()
    {
        ErrorTrap trap(t->env, kPlace);
        const ExportResult r = ExportBackup(t->env, backup(), LogSet::Both, trap);
        [&] { QVERIFY2(r.ok(), qPrintable(r.problem)); }();
        QFile f(backup() + u"/import"_s);
        f.open(QIODevice::ReadOnly);
        return ParseMarker(f.readAll()).value_or(Marker {});
    }

    void link(const QString& target, const QString& at)
    {
        QDir().mkpath(QFileInfo(at).path());
        QVERIFY2(QFile::link(target, at), qPrintable(at));
    }

    // A file at exactly this host path (TestEnv::write matches names
    // without regard to letter case).
    static void put(const QString& path, const QByteArray& bytes)
    {
        QDir().mkpath(QFileInfo(path).path());
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    void writeMarker(const QByteArray& bytes)
    {
        QFile f(backup() + u"/import"_s);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }

private slots:
    void init()
    {
        stopAfter(-1);
        t = std::make_unique<TestEnv>();
        SettingsRecord s;
        t->dialogs.answer(MsgResult::No);
        CheckFiles(t->env, s);
        QFile f(outsideFile());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(kSecret);
    }
    void cleanup()
    {
        stopAfter(-1);
        t->dialogs.verifyDone();
    }

    // Each hostile backup is refused, naming what is wrong, with every
    // current file as it was and nothing read from outside.
    void hostileBackup_data()
    {
        QTest::addColumn<QString>("hostility");
        QTest::addColumn<QString>("named");
        QTest::newRow("catch log changed")
            << u"changed"_s << u"Die Datei 'fänge\\db' ist beschädigt"_s;
        QTest::newRow("cost log changed, only catches asked for")
            << u"changed-costs"_s << u"Die Datei 'kosten\\db' ist beschädigt"_s;
        QTest::newRow("cost folder a link") << u"kosten-link"_s << u"Sicherung/kosten'"_s;
        QTest::newRow("unlisted photo a link") << u"evil-photo"_s << u"bilder/evil.jpg'"_s;
        QTest::newRow("older marker, photo folder a link")
            << u"old-bilder-link"_s << u"Sicherung/bilder'"_s;
        QTest::newRow("marker name with a slash")
            << u"slash"_s << u"bilder/../../../../etc/passwd"_s;
        QTest::newRow("marker name with an escaped slash")
            << u"escaped-slash"_s << u"bilder\\..%2F..%2Fpasswd"_s;
        QTest::newRow("marker name '..'") << u"dotdot"_s << u"bilder\\..\\..\\passwd"_s;
        QTest::newRow("listed file missing") << u"missing"_s << u"bilder\\Zander.jpg' fehlt"_s;
        QTest::newRow("two catch folders, one spelling") << u"twins"_s << u"FÄNGE' und '"_s;
    }

    void hostileBackup()
    {
        QFETCH(QString, hostility);
        QFETCH(QString, named);
        install(u"Max"_s);
        Marker marker = exportBoth();
        const QString b = backup();
        const auto crafted = [&](const QString& rel) {
            marker.entries.append({ rel, { 7, QByteArray(32, 'x') } });
        };
        if (hostility == u"changed"_s || hostility == u"changed-costs"_s) {
            // Same length, other bytes.
            const QString file = b + (hostility == u"changed"_s ? u"/fänge/db"_s : u"/kosten/db"_s);
            QFile f(file);
            QVERIFY(f.open(QIODevice::ReadWrite));
            const QByteArray bytes = f.readAll();
            QVERIFY(removeTree(file));
            put(file, QByteArray(bytes).replace("Max", "Eva"));
        } else if (hostility == u"kosten-link"_s) {
            QVERIFY(removeTree(b + u"/kosten"_s));
            link(outside.path(), b + u"/kosten"_s);
        } else if (hostility == u"evil-photo"_s) {
            link(outsideFile(), b + u"/bilder/evil.jpg"_s);
        } else if (hostility == u"old-bilder-link"_s) {
            marker.entries.clear();
            QVERIFY(removeTree(b + u"/bilder"_s));
            link(outside.path(), b + u"/bilder"_s);
        } else if (hostility == u"slash"_s) {
            crafted(u"bilder/../../../../etc/passwd"_s);
        } else if (hostility == u"escaped-slash"_s) {
            crafted(u"bilder\\..%2F..%2Fpasswd"_s);
        } else if (hostility == u"dotdot"_s) {
            crafted(u"bilder\\..\\..\\passwd"_s);
        } else if (hostility == u"missing"_s) {
            QVERIFY(QFile::remove(b + u"/bilder/Zander.jpg"_s));
        } else if (hostility == u"twins"_s) {
            put(b + u"/FÄNGE/db"_s, catches(u"Eva"_s));
        }
        install(u"Moritz"_s);
        const auto before = fileTree(db());
        ErrorTrap trap(t->env, kPlace);
        const LogSet logs = hostility == u"changed-costs"_s ? LogSet::Catches : LogSet::Both;
        const ImportResult r = ImportBackup(t->env, b, marker, logs, trap);
        QCOMPARE(r.status, ImportResult::Refused);
        QVERIFY2(r.problem.contains(named), qPrintable(r.problem));
        QVERIFY(r.problem.endsWith(u"Ihre Datenbanken bleiben unverändert."_s));
        QCOMPARE(fileTree(db()), before); // no safety copy, no staging folder left
        QCOMPARE(t->logEntries().last().section(u'\t', 0, 0), kPlace);
    }

    // A marker that names a file twice or is larger than any marker is no
    // marker; one with file lines is the complete list.
    void markerIsTheList()
    {
        install(u"Max"_s);
        const Marker marker = exportBoth();
        QFile f(backup() + u"/import"_s);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        f.close();
        const qsizetype from = bytes.indexOf("\r\n", 14) + 2;
        const QByteArray line = bytes.mid(from, bytes.indexOf('\n', from) + 1 - from);
        ErrorTrap trap(t->env, kPlace);
        writeMarker(bytes + line);
        QVERIFY(!ReadMarkerFile(backup() + u"/import"_s, trap));
        writeMarker(bytes + QByteArray(kMarkerSizeLimit, '\n'));
        QVERIFY(!ReadMarkerFile(backup() + u"/import"_s, trap));
        writeMarker(bytes);

        // Unlisted files stay out: a planted catch log in a costs-only
        // backup, an extra photo.
        QVERIFY(removeTree(backup() + u"/fänge"_s));
        Marker costsOnly = marker;
        costsOnly.entries.removeIf(
            [](const MarkerEntry& e) { return !e.rel.startsWith(u"kosten"_s); });
        t->write(u"Sicherung\\fänge\\db"_s, catches(u"Eindringling"_s));
        t->write(u"Sicherung\\bilder\\extra.jpg"_s, "extra");
        install(u"Moritz"_s);
        const ImportResult r = ImportBackup(t->env, backup(), costsOnly, LogSet::Both, trap);
        QVERIFY2(r.status == ImportResult::Imported, qPrintable(r.problem));
        QVERIFY(r.catchesMissing);
        // The planted log, the three photos exported and the extra one.
        QCOMPARE(r.leftOut, 5);
        QCOMPARE(t->read(u"db\\fänge\\db"_s), catches(u"Moritz"_s));
        QVERIFY(!QFileInfo::exists(t->path(u"db\\bilder\\extra.jpg"_s)));
    }

    // Each hostile target is refused, naming the path, with the program's
    // files and whatever a link points to as they were.
    void hostileTarget_data()
    {
        QTest::addColumn<QString>("hostility");
        QTest::addColumn<QString>("named");
        QTest::newRow("cost folder a link into the program")
            << u"kosten-link"_s << u"Sicherung/kosten'"_s;
        QTest::newRow("version file a link") << u"dbver-link"_s << u"Sicherung/db.ver'"_s;
        QTest::newRow("photo a link") << u"photo-link"_s << u"Sicherung/bilder/Zander.jpg'"_s;
        QTest::newRow("two catch folders, one spelling") << u"twins"_s << u"' und '"_s;
        QTest::newRow("the program folder") << u"program"_s << u"ist der Programmordner"_s;
        QTest::newRow("inside db through a link") << u"db-link"_s << u"liegt im Datenbankordner"_s;
    }

    void hostileTarget()
    {
        QFETCH(QString, hostility);
        QFETCH(QString, named);
        install(u"Max"_s);
        QString b = backup();
        QDir().mkpath(b);
        if (hostility == u"kosten-link"_s)
            link(t->path(u"db\\fänge"_s), b + u"/kosten"_s);
        else if (hostility == u"dbver-link"_s)
            link(outsideFile(), b + u"/db.ver"_s);
        else if (hostility == u"photo-link"_s)
            link(outsideFile(), b + u"/bilder/Zander.jpg"_s);
        else if (hostility == u"twins"_s) {
            put(b + u"/Fänge/x"_s, "x");
            put(b + u"/FÄNGE/x"_s, "x");
        } else if (hostility == u"program"_s)
            b = t->dir();
        else if (hostility == u"db-link"_s) {
            b += u"/Ablage"_s;
            link(db(), b);
        }
        const auto before = fileTree(t->dir(), { u"db/Sicherungen/"_s, u"kescherheft.log"_s });
        ErrorTrap trap(t->env, kPlace);
        const ExportResult r = ExportBackup(t->env, b, LogSet::Both, trap);
        QVERIFY2(r.problem.contains(named), qPrintable(r.problem));
        QCOMPARE(fileTree(t->dir(), { u"db/Sicherungen/"_s, u"kescherheft.log"_s }), before);
        QCOMPARE(
            fileTree(outside.path()), (QMap<QString, QByteArray> { { u"passwd"_s, kSecret } }));
    }

    // Removals take a link away as a link: the staging folder as a link,
    // a link in the safety copies named like one, are never followed.
    void removalsKeepWhatLinksPointTo()
    {
        install(u"Max"_s);
        const Marker marker = exportBoth();
        link(outside.path(), t->path(kImportStagingFolder));
        link(outside.path(), t->path(kSafetyCopiesFolder) + u"/2001-01-01_00-00-00"_s);
        t->write(
            u"db\\Sicherungen\\2001-01-02_00-00-00\\import"_s, "#2001-01-02#\r\n#00:00:00#\r\n");
        t->write(u"db\\Sicherungen\\eigene Ablage\\notiz.txt"_s, "n");
        ErrorTrap trap(t->env, kPlace);
        QStringList made;
        for (int i = 0; i < 7; ++i) {
            // The clock goes back half way: the order is what the copies record.
            t->clock.set(QDateTime(QDate(2004, 5, 17), QTime(14, i < 4 ? 30 : 10, i)));
            const ImportResult r = ImportBackup(t->env, backup(), marker, LogSet::Both, trap);
            QVERIFY2(r.status == ImportResult::Imported, qPrintable(r.problem));
            made.append(QFileInfo(r.safetyCopy).fileName());
        }
        QCOMPARE(
            fileTree(outside.path()), (QMap<QString, QByteArray> { { u"passwd"_s, kSecret } }));
        QStringList left
            = QDir(t->path(kSafetyCopiesFolder))
                  .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System, QDir::Name);
        // Kept: the newest copy made and the four newest by recorded time.
        QStringList expected = { made[6], made[0], made[1], made[2], made[3] };
        expected << u"2001-01-01_00-00-00"_s << u"2001-01-02_00-00-00"_s << u"eigene Ablage"_s;
        expected.sort();
        QCOMPARE(left, expected);
        QVERIFY(!QFileInfo::exists(t->path(kImportStagingFolder)));
    }

    // Photos that differ only in letter case travel whole; a photo folder
    // that is a link, to the same disk or to another file system, stays a
    // link and receives the photos inside it, and a reset empties it there.
    void photoFolderShapes_data()
    {
        QTest::addColumn<QString>("elsewhere"); // where the linked photo folder lies
        QTest::newRow("same file system") << QString();
        QTest::newRow("another file system") << u"/dev/shm"_s;
    }

    void photoFolderShapes()
    {
        QFETCH(QString, elsewhere);
        QTemporaryDir other(elsewhere.isEmpty() ? QDir::tempPath() + u"/fotos-XXXXXX"_s
                                                : elsewhere + u"/fotos-XXXXXX"_s);
        if (!elsewhere.isEmpty() && (!other.isValid() || sameDevice(other.path(), t->dir())))
            QSKIP("no second file system to put the photos on");
        install(u"Max"_s);
        put(db() + u"/Bilder/a.jpg"_s, "klein");
        put(db() + u"/Bilder/A.jpg"_s, "GROSS");
        const Marker marker = exportBoth();
        const auto exported = fileTree(db() + u"/Bilder"_s);
        QCOMPARE(exported.value(u"a.jpg"_s), "klein");
        QVERIFY(removeTree(db() + u"/Bilder"_s));
        link(other.path(), db() + u"/Bilder"_s);
        put(other.path() + u"/alt.jpg"_s, "alt");
        ErrorTrap trap(t->env, kPlace);
        const ImportResult r = ImportBackup(t->env, backup(), marker, LogSet::Both, trap);
        QVERIFY2(r.status == ImportResult::Imported, qPrintable(r.problem));
        QCOMPARE(kindOf(db() + u"/Bilder"_s), Kind::Link);
        QCOMPARE(fileTree(other.path()), exported);
        QCOMPARE(ResetLogs(t->env, LogSet::Catches, kPlace).status, ResetResult::Emptied);
        QCOMPARE(kindOf(db() + u"/Bilder"_s), Kind::Link);
        QCOMPARE(
            QDir(other.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList { u"Alt"_s });
    }

    // "Abbrechen" in the progress, however far the work has read, leaves
    // the program's files and the backup as they were.
    void cancelChangesNothing_data()
    {
        QTest::addColumn<int>("percent"); // of the bytes to read, read before the cancel
        QTest::newRow("at once") << 0;
        QTest::newRow("copying") << 30;
        QTest::newRow("reading back") << 75;
    }

    void cancelChangesNothing()
    {
        QFETCH(int, percent);
        install(u"Alt"_s);
        const Marker marker = exportBoth();
        install(u"Neu"_s);
        const auto program = fileTree(t->dir(), { u"kescherheft.log"_s });
        const auto inBackup = fileTree(backup());
        ErrorTrap trap(t->env, kPlace);
        const auto goOn = [&](qint64 done, qint64 all) { return done * 100 <= all * percent; };
        ByteCounter cancel(goOn);
        QVERIFY(ExportBackup(t->env, backup(), LogSet::Both, trap, {}, &cancel).cancelled);
        ByteCounter cancelToo(goOn);
        QCOMPARE(ImportBackup(t->env, backup(), marker, LogSet::Both, trap, &cancelToo).status,
            ImportResult::Cancelled);
        QCOMPARE(fileTree(t->dir(), { u"kescherheft.log"_s }), program);
        QCOMPARE(fileTree(backup()), inBackup);
    }

    // An older backup whose catch log cannot be converted (the disk runs
    // full) is refused before anything current is replaced.
    void failedConversionChangesNothing()
    {
        install(u"Max"_s);
        QByteArray old;
        for (int i = 0; i < 20; ++i)
            old += recordFileBytes(
                { sampleCatch({ { 1, u"2000/01/21"_s } }).mid(0, 13).join(u'\t') + u'\t' });
        t->write(u"Alt\\fänge\\db"_s, old);
        t->write(u"Alt\\import"_s, "#2005-02-03#\r\n#09:08:07#\r\n");
        const auto before = fileTree(db());
        ImportResult r;
        {
            ErrorTrap trap(t->env, kPlace);
            FileSizeLimit full(old.size());
            r = ImportBackup(t->env, t->path(u"Alt"_s), *ParseMarker(t->read(u"Alt\\import"_s)),
                LogSet::Catches, trap);
        }
        QCOMPARE(r.status, ImportResult::Refused);
        QVERIFY2(r.problem.contains(u"umgewandelt"_s), qPrintable(r.problem));
        QCOMPARE(fileTree(db()), before);
    }

    // The work stopped before each of its changes to the file system, then
    // the next start: the program's files (and the backup, for an export)
    // end all old or all new.
    void crashSweep_data()
    {
        QTest::addColumn<QString>("step");
        QTest::newRow("import") << u"import"_s;
        QTest::newRow("export into an older backup") << u"export"_s;
        QTest::newRow("reset") << u"reset"_s;
    }

    void crashSweep()
    {
        QFETCH(QString, step);
        const QStringList leaveOut = { u"Sicherungen/"_s };
        int stops = 0, completed = 0;
        for (int n = 0;; ++n) {
            init();
            install(u"Alt"_s);
            const Marker marker = exportBoth();
            const auto inBackup = fileTree(db(), leaveOut);
            install(u"Neu"_s);
            const auto current = fileTree(db(), leaveOut);
            const auto oldBackup = fileTree(backup());
            ErrorTrap trap(t->env, kPlace);
            bool stopped = false;
            stopAfter(n);
            try {
                if (step == u"import"_s)
                    ImportBackup(t->env, backup(), marker, LogSet::Both, trap);
                else if (step == u"export"_s)
                    ExportBackup(t->env, backup(), LogSet::Both, trap);
                else
                    ResetLogs(t->env, LogSet::Both, kPlace);
            } catch (const Stopped&) {
                stopped = true;
            }
            stopAfter(-1);
            const Recovery rec = RecoverUnfinished(t->env);
            QVERIFY2(rec.status != Recovery::Failed, qPrintable(rec.message));
            completed += rec.status == Recovery::Completed;
            stops += stopped;
            QVERIFY(!QFileInfo::exists(t->path(kJournalFile)));
            QVERIFY(!QFileInfo::exists(t->path(kImportStagingFolder)));
            const auto now = fileTree(db(), leaveOut);
            const QString at = u"stopped after %1 changes"_s.arg(n);
            if (step == u"import"_s) {
                QVERIFY2(now == current || now == inBackup, qPrintable(at));
                QVERIFY(stopped || now == inBackup);
            } else if (step == u"export"_s) {
                // All new is what an export into a fresh folder writes.
                ExportResult whole = ExportBackup(t->env, backup() + u"2"_s, LogSet::Both, trap);
                QVERIFY(whole.ok());
                const auto inFolder = fileTree(backup(), { kExportWorkFolder + u'/' });
                QVERIFY2(inFolder == oldBackup || inFolder == fileTree(backup() + u"2"_s),
                    qPrintable(at));
                QCOMPARE(now, current);
            } else {
                const bool emptied = !now.contains(u"Fänge/db"_s) && !now.contains(u"Kosten/db"_s)
                    && now.keys().filter(u"Bilder/"_s) == QStringList { u"Bilder/Alt/Aal.jpg"_s };
                QVERIFY2(now == current || emptied, qPrintable(at));
                QVERIFY(stopped || emptied);
            }
            if (!stopped)
                break;
            QVERIFY(n < 500);
        }
        // The sweep stopped the work at every change, and some of those
        // stops came after the journal, so the start had to complete them.
        QVERIFY(stops > 5 && completed > 0);
        qInfo("%s stopped at %d points, %d completed at the next start", qPrintable(step), stops,
            completed);
    }

    // A rename that cannot be made puts back the ones made before it, in
    // the step itself or at the next start.
    void failedMoveUndoesTheOthers_data()
    {
        QTest::addColumn<bool>("stopped"); // before the failing rename, as a crash would
        QTest::newRow("in the step") << false;
        QTest::newRow("at the next start") << true;
    }

    void failedMoveUndoesTheOthers()
    {
        QFETCH(bool, stopped);
        const QString a = t->path(u"db\\kosten\\db"_s);
        const QString work = t->path(kImportStagingFolder);
        put(work + u"/neu"_s, "neu");
        QVERIFY(makeFolder(work + u"/alt"_s));
        const QByteArray old = t->read(u"db\\kosten\\db"_s);
        const Journal j { u"Einlesen"_s, u"B"_s, {},
            { { a, work + u"/alt/db"_s }, { work + u"/neu"_s, a },
                { work + u"/fehlt"_s, work + u"/ziel"_s } },
            { work } };
        stopAfter(stopped ? 3 : -1); // the journal, then two renames
        try {
            QCOMPARE(CarryOut(t->env, j), Outcome::Undone);
        } catch (const Stopped&) {
            stopAfter(-1);
            const Recovery r = RecoverUnfinished(t->env);
            QCOMPARE(r.status, Recovery::Undone);
            QVERIFY2(r.message.contains(u"Stand ist wiederhergestellt"_s), qPrintable(r.message));
        }
        QCOMPARE(t->read(u"db\\kosten\\db"_s), old);
        QVERIFY(!QFileInfo::exists(t->path(kJournalFile)));
        QVERIFY(!QFileInfo::exists(work));
    }

    // A start after a stopped import tells the user what it did.
    void startTellsWhatItDid()
    {
        install(u"Alt"_s);
        const Marker marker = exportBoth();
        install(u"Neu"_s);
        ErrorTrap trap(t->env, kPlace);
        // Stopped after the journal and one rename.
        int n = 0;
        for (;; ++n) {
            stopAfter(n);
            try {
                ImportBackup(t->env, backup(), marker, LogSet::Both, trap);
                break;
            } catch (const Stopped&) {
                stopAfter(-1);
                if (QFileInfo::exists(t->path(kJournalFile)))
                    break;
                RecoverUnfinished(t->env);
            }
        }
        stopAfter(-1);
        t->dialogs.expectMessage();
        SettingsRecord s;
        CheckFiles(t->env, s);
        QCOMPARE(t->dialogs.shown().last().icon, MsgIcon::Information);
        QVERIFY2(t->dialogs.shown().last().text.contains(u"ist jetzt abgeschlossen worden"_s),
            qPrintable(t->dialogs.shown().last().text));
        QCOMPARE(t->read(u"db\\fänge\\db"_s), catches(u"Alt"_s));
    }
};

QTEST_GUILESS_MAIN(TestBackupHostile)
#include "tst_backupHostile.moc"
