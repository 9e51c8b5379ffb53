// Backup export and import: round trips, and backups as a hostile or
// unlucky user meets them. Every case ends with the program's files all old
// or all new, and nothing read or written outside.
#include "app/Backup.h"
#include "app/BackupFiles.h"
#include "app/CheckFiles.h"
#include "app/Journal.h"
#include "app/Reset.h"
#include "app/SafetyCopy.h"
#include "app/Settings.h"
#include "platform/Cp1252.h"
#include "platform/ErrorLog.h"
#include "support/FileTree.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <functional>
#include <memory>
#include <optional>

using namespace Qt::StringLiterals;
using namespace BackupFiles;

Q_DECLARE_METATYPE(LogSet)

namespace {

const QString kPlace = u"Sub frmBackup.cmdSave_Click"_s;
const QMap<QString, QByteArray> kOutside { { u"passwd"_s, "geheim\r\n" } };
const QStringList kNotData = { u"Sicherungen/"_s };

QByteArray catches(const QString& angler)
{
    return recordFileBytes({ sampleCatchLine({ { 2, angler } }) });
}

QByteArray costs(const QString& shop)
{
    return recordFileBytes({ sampleCostLine({ { 2, shop } }) });
}

// A file at exactly this host path (TestEnv::write matches names without
// regard to letter case).
void put(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

} // namespace

class TestBackup : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnv> t;
    QTemporaryDir outside; // a user's folder outside both the program and the backup

    QString db() const { return t->path(u"db"_s); }
    QString backup() const { return t->dir() + u"/Sicherung"_s; }
    QString outsideFile() const { return outside.path() + u"/passwd"_s; }

    void install(const QString& who)
    {
        t->write(u"db\\fänge\\db"_s, catches(who));
        t->write(u"db\\kosten\\db"_s, costs(who));
        t->write(u"db\\bilder\\Äsche_Müritz.jpg"_s, who.toUtf8() + " äsche");
        t->write(u"db\\bilder\\Alt\\Aal.jpg"_s, who.toUtf8() + " aal");
    }

    Marker exportTo(LogSet logs = LogSet::Both, QString folder = {})
    {
        folder = folder.isEmpty() ? backup() : folder;
        ErrorTrap trap(t->env, kPlace);
        const ExportResult r = ExportBackup(t->env, folder, logs, trap);
        [&] { QVERIFY2(r.ok(), qPrintable(r.problem)); }();
        QFile f(folder + u"/import"_s);
        return f.open(QIODevice::ReadOnly) ? ParseMarker(f.readAll()).value_or(Marker {})
                                           : Marker {};
    }

    ImportResult import(const Marker& marker, LogSet logs = LogSet::Both,
        ByteCounter* counter = nullptr, const QString& from = {})
    {
        ErrorTrap trap(t->env, kPlace);
        return ImportBackup(t->env, from.isEmpty() ? backup() : from, marker, logs, trap, counter);
    }

    void link(const QString& target, const QString& at)
    {
        QDir().mkpath(QFileInfo(at).path());
        QVERIFY2(QFile::link(target, at), qPrintable(at));
    }

private slots:
    void init()
    {
        stopAfter(-1);
        t = std::make_unique<TestEnv>();
        SettingsRecord s;
        t->dialogs.answer(MsgResult::No);
        CheckFiles(t->env, s);
        put(outsideFile(), kOutside.first());
    }
    void cleanup()
    {
        stopAfter(-1);
        t->dialogs.verifyDone();
    }

    void roundTrip_data()
    {
        QTest::addColumn<LogSet>("exported");
        QTest::addColumn<LogSet>("imported");
        QTest::addColumn<QString>("folder"); // below the program folder
        const auto row = [](const char* name, LogSet e, LogSet i, const QString& folder) {
            QTest::newRow(name) << e << i << folder;
        };
        const LogSet both = LogSet::Both, catches = LogSet::Catches;
        row("both logs", both, both, u"Sicherung Jürgen"_s);
        row("both exported, catches imported", both, catches, u"Sicherung Jürgen"_s);
        row("costs only", LogSet::Costs, LogSet::Costs, u"Sicherung"_s);
        row("catches only", catches, catches, u"Sicherung"_s);
        // Beside the program's folders, not in them, though the names begin alike.
        row("a folder named like db", both, both, u"dbSicherung"_s);
        row("a folder named like the staging folder", both, both, u"db/EinlesenAlt"_s);
    }

    void roundTrip()
    {
        QFETCH(LogSet, exported);
        QFETCH(LogSet, imported);
        QFETCH(QString, folder);
        install(u"Max"_s);
        // A folder link in the photo folder that leads back to it: neither
        // the export nor a safety copy may follow it.
        link(db() + u"/Bilder"_s, db() + u"/Bilder/Schleife"_s);
        const QString b = t->dir() + u'/' + folder;
        // A backup beside the staging folder is exported elsewhere and moved
        // there, as a user might put it.
        const bool inDb = folder.startsWith(u"db/"_s);
        const Marker marker = exportTo(exported, inDb ? backup() : b);
        if (inDb)
            QVERIFY(QDir().rename(backup(), b));
        const auto original = fileTree(db());
        const auto inBackup = fileTree(b);
        // The backup's layout; names with umlauts survive the marker's code page.
        const bool withCatches = includes(exported, LogSet::Catches);
        QCOMPARE(inBackup.value(u"kosten/db"_s, "-"),
            includes(exported, LogSet::Costs) ? costs(u"Max"_s) : "-");
        QCOMPARE(inBackup.value(u"db.ver"_s, "-") + inBackup.value(u"bilder/Alt/Aal.jpg"_s, "-"),
            withCatches ? "102\r\nMax aal" : "--");
        QCOMPARE(marker.entries.size(), inBackup.size() - 1); // every file but the marker
        QCOMPARE(
            inBackup.value(u"import"_s).contains(encode1252(u" bilder\\Äsche_Müritz.jpg\r\n"_s)),
            withCatches);

        install(u"Moritz"_s);
        t->write(u"db\\bilder\\Zander.jpg"_s, "z");
        const auto changed = fileTree(db());
        // A link where the staging folder goes is taken away, not followed.
        link(outside.path(), t->path(kImportStagingFolder));
        const ImportResult r = import(marker, imported, nullptr, b);
        QCOMPARE(fileTree(outside.path()), kOutside);
        QVERIFY2(r.status == ImportResult::Imported, qPrintable(r.problem));
        const bool costsIn = includes(imported, LogSet::Costs);
        const bool catchesIn = includes(imported, LogSet::Catches);
        auto expected = costsIn ? withPart(changed, original, u"Kosten/"_s) : changed;
        for (const QString& part : { u"Fänge/"_s, u"Bilder/"_s, u"db.ver"_s })
            expected = catchesIn ? withPart(expected, original, part) : expected;
        QCOMPARE(fileTree(db(), kNotData), expected);
        QVERIFY(!QFileInfo::exists(t->path(kImportStagingFolder)));
        // The safety copy holds what the import replaced, as a backup.
        const auto safety = fileTree(r.safetyCopy);
        QCOMPARE(safety.value(u"kosten/db"_s, "-"), costsIn ? costs(u"Moritz"_s) : "-");
        QCOMPARE(safety.keys().filter(u"bilder/"_s).size(),
            catchesIn ? changed.keys().filter(u"Bilder/"_s).size() : 0);
    }

    // Other files of an existing backup stay; its folders are found in any
    // letter case, and the import finds them the same way.
    void exportIntoExistingFolder()
    {
        install(u"Max"_s);
        for (const QString& f : { u"KOSTEN\\DB"_s, u"KOSTEN\\notiz.txt"_s, u"fremd.txt"_s })
            t->write(u"Sicherung\\"_s + f, "n");
        const Marker marker = exportTo(LogSet::Costs);
        auto tree = fileTree(backup());
        QVERIFY(tree.take(u"import"_s).startsWith("#2004-05-17#\r\n#14:30:00#\r\n"));
        QCOMPARE(tree,
            (QMap<QString, QByteArray> { { u"KOSTEN/db"_s, costs(u"Max"_s) },
                { u"KOSTEN/notiz.txt"_s, "n" }, { u"fremd.txt"_s, "n" } }));
        t->write(u"db\\kosten\\db"_s, "");
        QCOMPARE(import(marker, LogSet::Costs).status, ImportResult::Imported);
        QCOMPARE(t->read(u"db\\kosten\\db"_s), costs(u"Max"_s));
    }

    // Each hostile backup is refused, naming what is wrong, with every
    // current file as it was and nothing read from outside.
    void hostileBackup_data()
    {
        QTest::addColumn<QString>("hostility");
        QTest::addColumn<QString>("named"); // for "crafted": the name put into the marker
        const auto row = [](const char* name, const QString& hostility, const QString& named) {
            QTest::newRow(name) << hostility << named;
        };
        row("catch log changed", u"changed"_s, u"Die Datei 'fänge\\db' ist beschädigt"_s);
        row("cost log changed, only catches asked for", u"changed costs"_s,
            u"Die Datei 'kosten\\db' ist beschädigt"_s);
        row("cost folder a link", u"kosten link"_s, u"Sicherung/kosten'"_s);
        row("unlisted photo a link", u"photo link"_s, u"bilder/evil.jpg'"_s);
        row("older marker, photo folder a link", u"bilder link"_s, u"Sicherung/bilder'"_s);
        row("marker name with an escaped slash", u"crafted"_s, u"bilder\\..%2F..%2Fpasswd"_s);
        row("marker name '..'", u"crafted"_s, u"bilder\\..\\..\\passwd"_s);
        row("listed file missing", u"missing"_s, u"bilder\\Äsche_Müritz.jpg' fehlt"_s);
        row("two catch folders, one spelling", u"twins"_s, u"FÄNGE' und '"_s);
    }

    void hostileBackup()
    {
        QFETCH(QString, hostility);
        QFETCH(QString, named);
        install(u"Max"_s);
        Marker marker = exportTo();
        const QString b = backup();
        if (hostility.startsWith(u"changed"_s)) {
            // Same length, other bytes.
            const QString rel
                = u"Sicherung\\"_s + (hostility == u"changed"_s ? u"fänge\\db"_s : u"kosten\\db"_s);
            const QByteArray bytes = t->read(rel);
            QVERIFY(removeTree(t->path(rel)));
            t->write(rel, QByteArray(bytes).replace("Max", "Eva"));
        } else if (hostility == u"kosten link"_s) {
            QVERIFY(removeTree(b + u"/kosten"_s));
            link(outside.path(), b + u"/kosten"_s);
        } else if (hostility == u"photo link"_s) {
            link(outsideFile(), b + u"/bilder/evil.jpg"_s);
        } else if (hostility == u"bilder link"_s) {
            marker.entries.clear();
            QVERIFY(removeTree(b + u"/bilder"_s));
            link(outside.path(), b + u"/bilder"_s);
        } else if (hostility == u"crafted"_s) {
            marker.entries.append({ named, { 7, QByteArray(32, 'x') } });
        } else if (hostility == u"missing"_s) {
            QVERIFY(QFile::remove(b + u"/bilder/Äsche_Müritz.jpg"_s));
        } else if (hostility == u"twins"_s) {
            put(b + u"/FÄNGE/db"_s, catches(u"Eva"_s));
        }
        install(u"Moritz"_s);
        const auto before = fileTree(db());
        const ImportResult r
            = import(marker, hostility == u"changed costs"_s ? LogSet::Catches : LogSet::Both);
        QCOMPARE(r.status, ImportResult::Refused);
        QVERIFY2(r.problem.contains(named), qPrintable(r.problem));
        QVERIFY(r.problem.endsWith(u"Ihre Datenbanken bleiben unverändert."_s));
        QCOMPARE(fileTree(db()), before); // no safety copy, no staging folder left
        QCOMPARE(t->logEntries().last().section(u'\t', 0, 0), kPlace);
    }

    // A marker with file lines is the complete list: a planted catch log in
    // a costs-only backup and an extra photo stay out.
    void unlistedFilesStayOut()
    {
        install(u"Max"_s);
        const Marker marker = exportTo();
        // A marker larger than any marker is no marker, and is not read.
        const QByteArray bytes = t->read(u"Sicherung\\import"_s);
        put(backup() + u"/import"_s, bytes + QByteArray(kMarkerSizeLimit, '\n'));
        ErrorTrap trap(t->env, kPlace);
        QVERIFY(!ReadMarkerFile(backup() + u"/import"_s, trap));
        QVERIFY(t->logEntries().last().endsWith(u"Error (13)"_s));
        QVERIFY(removeTree(backup() + u"/fänge"_s));
        Marker costsOnly = marker;
        costsOnly.entries.removeIf(
            [](const MarkerEntry& e) { return !e.rel.startsWith(u"kosten"_s); });
        t->write(u"Sicherung\\fänge\\db"_s, catches(u"Eindringling"_s));
        t->write(u"Sicherung\\bilder\\extra.jpg"_s, "extra");
        install(u"Moritz"_s);
        const ImportResult r = import(costsOnly);
        QVERIFY2(r.status == ImportResult::Imported, qPrintable(r.problem));
        QVERIFY(r.catchesMissing);
        QCOMPARE(r.leftOut, 5); // the planted log, the three photos exported, the extra one
        QCOMPARE(t->read(u"db\\fänge\\db"_s), catches(u"Moritz"_s));
        QVERIFY(!QFileInfo::exists(t->path(u"db\\bilder\\extra.jpg"_s)));
    }

    // Each export that cannot be made is refused, naming why, with the
    // program's files, an older backup there and whatever a link points
    // to as they were.
    void exportRefused_data()
    {
        QTest::addColumn<QString>("obstacle");
        QTest::addColumn<QString>("named");
        const auto row = [](const char* name, const QString& obstacle, const QString& named) {
            QTest::newRow(name) << obstacle << named;
        };
        row("cost folder a link into the program", u"kosten link"_s, u"Sicherung/kosten'"_s);
        row("photo a link", u"photo link"_s, u"Sicherung/bilder/Äsche_Müritz.jpg'"_s);
        row("two catch folders, one spelling", u"twins"_s, u"' und '"_s);
        row("the program folder", u"program"_s, u"ist der Programmordner"_s);
        row("inside db through a link", u"db link"_s, u"liegt im Datenbankordner"_s);
        row("a file where the folder goes", u"file"_s, u"Der Ordner kann nicht angelegt werden."_s);
        row("copy differs from its original", u"spoil"_s,
            u"Die Kopie der Datei 'fänge\\db' stimmt nicht mit dem Original überein."_s);
        row("disk full", u"full"_s, u"konnte nicht geschrieben werden"_s);
    }

    void exportRefused()
    {
        QFETCH(QString, obstacle);
        QFETCH(QString, named);
        install(u"Max"_s);
        QString b = backup();
        QDir().mkpath(b);
        if (obstacle == u"kosten link"_s)
            link(t->path(u"db\\fänge"_s), b + u"/kosten"_s);
        else if (obstacle == u"photo link"_s)
            link(outsideFile(), b + u"/bilder/Äsche_Müritz.jpg"_s);
        else if (obstacle == u"twins"_s) {
            put(b + u"/Fänge/x"_s, "x");
            put(b + u"/FÄNGE/x"_s, "x");
        } else if (obstacle == u"program"_s)
            b = t->dir();
        else if (obstacle == u"db link"_s)
            link(db(), b += u"/Ablage"_s);
        else if (obstacle == u"file"_s)
            QVERIFY(removeTree(b) && QFile(b).open(QIODevice::WriteOnly));
        else // an older backup there stays whole
            t->write(u"Sicherung\\import"_s, "#2001-01-01#\r\n#00:00:00#\r\n");
        const QStringList leaveOut = { u"db/Sicherungen/"_s, u"kescherheft.log"_s };
        const auto before = fileTree(t->dir(), leaveOut);
        ErrorTrap trap(t->env, kPlace);
        ExportResult r;
        {
            std::optional<FileSizeLimit> full;
            if (obstacle == u"full"_s)
                full.emplace(8);
            const auto spoil = [&] {
                put(b + u'/' + kExportWorkFolder + u"/neu/fänge/db"_s, catches(u"Eva"_s));
            };
            r = ExportBackup(t->env, b, LogSet::Both, trap,
                obstacle == u"spoil"_s ? std::function<void()>(spoil) : nullptr);
        }
        QVERIFY2(r.problem.contains(named), qPrintable(r.problem));
        QCOMPARE(fileTree(t->dir(), leaveOut), before);
        QCOMPARE(fileTree(outside.path()), kOutside);
    }

    // Photos that differ only in letter case travel whole; a photo folder
    // that is a link, to the same disk or to another file system, stays a
    // link and receives the photos inside it, and a reset empties it there.
    void photoFolderShapes_data()
    {
        QTest::addColumn<QString>("elsewhere"); // where the linked photo folder lies
        QTest::newRow("same file system") << QDir::tempPath();
        QTest::newRow("another file system") << u"/dev/shm"_s;
    }

    void photoFolderShapes()
    {
        QFETCH(QString, elsewhere);
        QTemporaryDir other(elsewhere + u"/fotos-XXXXXX"_s);
        if (elsewhere != QDir::tempPath()
            && (!other.isValid() || sameDevice(other.path(), t->dir())))
            QSKIP("no second file system to put the photos on");
        install(u"Max"_s);
        put(db() + u"/Bilder/a.jpg"_s, "klein");
        put(db() + u"/Bilder/A.jpg"_s, "GROSS");
        const Marker marker = exportTo();
        const auto exported = fileTree(db() + u"/Bilder"_s);
        QCOMPARE(exported.value(u"a.jpg"_s) + exported.value(u"A.jpg"_s), "kleinGROSS");
        QVERIFY(removeTree(db() + u"/Bilder"_s));
        link(other.path(), db() + u"/Bilder"_s);
        put(other.path() + u"/alt.jpg"_s, "alt");
        const ImportResult r = import(marker);
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
    void cancelChangesNothing()
    {
        install(u"Alt"_s);
        const Marker marker = exportTo();
        install(u"Neu"_s);
        const auto program = fileTree(t->dir(), { u"kescherheft.log"_s });
        // 30 %: while copying; 75 %: while reading back.
        for (int percent : { 30, 75 }) {
            const auto goOn = [&](qint64 done, qint64 all) { return done * 100 <= all * percent; };
            ByteCounter cancel(goOn), cancelToo(goOn);
            ErrorTrap trap(t->env, kPlace);
            QVERIFY(ExportBackup(t->env, backup(), LogSet::Both, trap, {}, &cancel).cancelled);
            QCOMPARE(import(marker, LogSet::Both, &cancelToo).status, ImportResult::Cancelled);
            QCOMPARE(fileTree(t->dir(), { u"kescherheft.log"_s }), program);
        }
    }

    // A backup from before the version file: catch lines of format 100 are
    // brought to the current format on import, or, when the disk runs full
    // while they are, the backup is refused before anything is replaced.
    void oldBackup_data()
    {
        QTest::addColumn<bool>("diskFull");
        QTest::newRow("converted") << false;
        QTest::newRow("disk full while converting") << true;
    }

    void oldBackup()
    {
        QFETCH(bool, diskFull);
        install(u"Max"_s);
        const QStringList old = sampleCatch({ { 1, u"2000/01/21"_s }, { 7, u"2500"_s } });
        const QByteArray bytes
            = recordFileBytes({ old.mid(0, 13).join(u'\t') + u'\t' }).repeated(diskFull ? 20 : 1);
        t->write(u"Alt\\Fänge\\db"_s, bytes);
        t->write(u"Alt\\import"_s, "#2005-02-03#\r\n#09:08:07#\r\n");
        auto expected = fileTree(db());
        ErrorTrap trap(t->env, kPlace);
        const std::optional<Marker> marker = ReadMarkerFile(t->path(u"Alt\\import"_s), trap);
        QVERIFY(marker && marker->entries.isEmpty() && marker->time == QTime(9, 8, 7));
        ImportResult r;
        {
            std::optional<FileSizeLimit> full;
            if (diskFull)
                full.emplace(bytes.size());
            r = import(*marker, LogSet::Both, nullptr, t->path(u"Alt"_s));
        }
        if (diskFull) {
            QCOMPARE(r.status, ImportResult::Refused);
            QVERIFY2(r.problem.contains(u"umgewandelt"_s), qPrintable(r.problem));
            QCOMPARE(fileTree(db()), expected);
            return;
        }
        QCOMPARE(r.status, ImportResult::Imported);
        QVERIFY(r.costsMissing && !r.catchesMissing);
        const QString o = u"0"_s;
        expected[u"Fänge/db"_s] = recordFileBytes({ sampleCatchLine(
            { { 1, u"2000/01/21"_s }, { 7, u"2,50"_s }, { 14, o }, { 15, o }, { 16, o } }) });
        // A backup without photos leaves only the photo folder's subfolders.
        expected.removeIf([](const auto& it) {
            return it.key().startsWith(u"Bilder/"_s) && !it.key().startsWith(u"Bilder/Alt/"_s);
        });
        QCOMPARE(fileTree(db(), kNotData), expected);
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
        int stops = 0, completed = 0;
        for (int n = 0;; ++n) {
            init();
            install(u"Alt"_s);
            const Marker marker = exportTo();
            const auto inBackup = fileTree(db(), kNotData);
            install(u"Neu"_s);
            const auto current = fileTree(db(), kNotData);
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
            QVERIFY2(rec.status != Recovery::Failed
                    && (rec.status != Recovery::Completed
                        || rec.message.contains(u"ist jetzt abgeschlossen worden"_s)),
                qPrintable(rec.message));
            completed += rec.status == Recovery::Completed;
            stops += stopped;
            QVERIFY(!QFileInfo::exists(t->path(kJournalFile))
                && !QFileInfo::exists(t->path(kImportStagingFolder)));
            const auto now = fileTree(db(), kNotData);
            const QString at = u"stopped after %1 changes"_s.arg(n);
            // All new: what the step writes when it is not stopped.
            bool allNew = now == inBackup;
            if (step == u"export"_s) {
                QVERIFY(ExportBackup(t->env, backup() + u"2"_s, LogSet::Both, trap).ok());
                const auto inFolder = fileTree(backup(), { kExportWorkFolder + u'/' });
                allNew = inFolder == fileTree(backup() + u"2"_s);
                QVERIFY2(inFolder == oldBackup || allNew, qPrintable(at));
                QCOMPARE(now, current);
            } else if (step == u"reset"_s) {
                allNew = !now.contains(u"Fänge/db"_s) && !now.contains(u"Kosten/db"_s)
                    && now.keys().filter(u"Bilder/"_s) == QStringList { u"Bilder/Alt/Aal.jpg"_s };
            }
            QVERIFY2(now == current || allNew, qPrintable(at));
            QVERIFY(stopped || allNew);
            if (!stopped)
                break;
            QVERIFY(n < 500);
        }
        // The sweep stopped the work at every change, and some of those
        // stops came after the journal, so the start had to complete them.
        QVERIFY(stops > 5 && completed > 0);
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
        QVERIFY(!QFileInfo::exists(t->path(kJournalFile)) && !QFileInfo::exists(work));
    }
};

QTEST_GUILESS_MAIN(TestBackup)
#include "tst_backup.moc"
