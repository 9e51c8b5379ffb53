// Backup export and import below the windows: the folder layout and its
// marker, round trips of either log or both, the import of an old backup,
// and the faults that must leave every current file as it was.
#include "app/Backup.h"
#include "app/CheckFiles.h"
#include "app/Settings.h"
#include "platform/Cp1252.h"
#include "platform/ErrorLog.h"
#include "support/FileTree.h"
#include "support/TestEnv.h"

#include <QFile>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(LogSet)

namespace {

const QString kPlace = u"Sub frmBackup.cmdSave_Click"_s;
const QStringList kNotData = { u"Sicherungen/"_s };

QByteArray catches(const QString& angler)
{
    return recordFileBytes({ sampleCatch({ { 2, angler } }).join(u'\t'),
        sampleCatch({ { 1, u"2003/08/02"_s }, { 6, u"Äsche"_s } }).join(u'\t') });
}

QByteArray costs(const QString& shop)
{
    return recordFileBytes({ sampleCost({ { 2, shop } }).join(u'\t') });
}

} // namespace

class TestBackup : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnv> t;

    QString db() const { return t->dir() + u"/db"_s; }
    QString m_backup;
    QString backup() const { return t->dir() + u'/' + m_backup; }

    // An installation with both logs and photos, one of them in a folder.
    void install(const QString& who, const QByteArray& photo)
    {
        t->write(u"db\\fänge\\db"_s, catches(who));
        t->write(u"db\\kosten\\db"_s, costs(who));
        t->write(u"db\\bilder\\Äsche_Müritz.jpg"_s, photo);
        t->write(u"db\\bilder\\Alt\\Hecht.jpg"_s, photo + "h");
    }

    Marker exportTo(const QString& folder, LogSet logs)
    {
        ErrorTrap trap(t->env, kPlace);
        const ExportResult r = ExportBackup(t->env, folder, logs, trap);
        [&] { QVERIFY2(r.ok(), qPrintable(r.problem)); }();
        QFile f(folder + u"/import"_s);
        f.open(QIODevice::ReadOnly);
        return ParseMarker(f.readAll()).value_or(Marker {});
    }

private slots:
    void init()
    {
        t = std::make_unique<TestEnv>();
        SettingsRecord s;
        t->dialogs.answer(MsgResult::No);
        CheckFiles(t->env, s);
        install(u"Max"_s, "photo");
        // A folder link in the photo folder that leads back to it: neither
        // the export nor a safety copy may follow it.
        QVERIFY(QFile::link(db() + u"/Bilder"_s, db() + u"/Bilder/Schleife"_s));
        m_backup = u"Sicherung Jürgen"_s;
    }
    void cleanup() { t->dialogs.verifyDone(); }

    void roundTrip_data()
    {
        QTest::addColumn<LogSet>("exported");
        QTest::addColumn<LogSet>("imported");
        QTest::addColumn<QString>("folder"); // below the program folder
        QTest::newRow("both logs") << LogSet::Both << LogSet::Both << u"Sicherung Jürgen"_s;
        QTest::newRow("both exported, catches imported")
            << LogSet::Both << LogSet::Catches << u"Sicherung Jürgen"_s;
        QTest::newRow("costs only") << LogSet::Costs << LogSet::Costs << u"Sicherung Jürgen"_s;
        QTest::newRow("catches only") << LogSet::Catches << LogSet::Catches << u"Sicherung"_s;
        // Beside the program's folders, not in them, though the names begin alike.
        QTest::newRow("a folder named like db") << LogSet::Both << LogSet::Both << u"dbSicherung"_s;
        QTest::newRow("a folder named like the staging folder")
            << LogSet::Both << LogSet::Both << u"db/EinlesenAlt"_s;
    }

    void roundTrip()
    {
        QFETCH(LogSet, exported);
        QFETCH(LogSet, imported);
        QFETCH(QString, folder);
        m_backup = folder;
        // A backup beside the staging folder is exported elsewhere and moved
        // there, as a user might put it.
        const bool inDb = folder.startsWith(u"db/"_s);
        const Marker marker = exportTo(inDb ? t->dir() + u"/Ablage"_s : backup(), exported);
        if (inDb)
            QVERIFY(QDir().rename(t->dir() + u"/Ablage"_s, backup()));
        const auto original = fileTree(db());
        const auto inBackup = fileTree(backup());
        const bool withCatches = includes(exported, LogSet::Catches);
        const bool withCosts = includes(exported, LogSet::Costs);
        QCOMPARE(inBackup.value(u"kosten/db"_s, "-"), withCosts ? costs(u"Max"_s) : "-");
        QCOMPARE(inBackup.value(u"fänge/db"_s, "-"), withCatches ? catches(u"Max"_s) : "-");
        QCOMPARE(inBackup.value(u"db.ver"_s, "-"), withCatches ? "102\r\n" : "-");
        QCOMPARE(inBackup.value(u"bilder/Alt/Hecht.jpg"_s, "-"), withCatches ? "photoh" : "-");
        QCOMPARE(marker.entries.size(), inBackup.size() - 1); // every file but the marker
        if (withCatches) // names with umlauts survive the marker's code page
            QVERIFY(inBackup.value(u"import"_s)
                        .contains(encode1252(u" bilder\\Äsche_Müritz.jpg\r\n"_s)));

        QFile::remove(db() + u"/Bilder/Äsche_Müritz.jpg"_s);
        install(u"Moritz"_s, "new photo");
        t->write(u"db\\bilder\\Zander.jpg"_s, "z");
        const auto changed = fileTree(db());
        ErrorTrap trap(t->env, kPlace);
        const ImportResult r = ImportBackup(t->env, backup(), marker, imported, trap);
        QVERIFY2(r.status == ImportResult::Imported, qPrintable(r.problem));

        auto expected = changed;
        if (includes(imported, LogSet::Costs))
            expected = withPart(expected, original, u"Kosten/"_s);
        if (includes(imported, LogSet::Catches)) {
            for (const QString& part : { u"Fänge/"_s, u"Bilder/"_s, u"db.ver"_s })
                expected = withPart(expected, original, part);
        }
        QCOMPARE(fileTree(db(), kNotData), expected);
        QVERIFY(!QFileInfo::exists(t->path(kImportStagingFolder)));
        // The safety copy holds what the import replaced, as a backup.
        const auto safety = fileTree(r.safetyCopy);
        QCOMPARE(safety.value(u"kosten/db"_s, "-"),
            includes(imported, LogSet::Costs) ? costs(u"Moritz"_s) : "-");
        QCOMPARE(safety.value(u"bilder/Zander.jpg"_s, "-"),
            includes(imported, LogSet::Catches) ? "z" : "-");
        QCOMPARE(safety.keys().filter(u"bilder/"_s).size(),
            includes(imported, LogSet::Catches) ? changed.keys().filter(u"Bilder/"_s).size() : 0);
    }

    // Other files of an existing backup stay; its folders are found in any
    // letter case, and the import finds them the same way.
    void exportIntoExistingFolder()
    {
        t->write(u"Sicherung Jürgen\\KOSTEN\\DB"_s, "old");
        t->write(u"Sicherung Jürgen\\KOSTEN\\notiz.txt"_s, "n");
        t->write(u"Sicherung Jürgen\\fremd.txt"_s, "f");
        t->write(u"Sicherung Jürgen\\import"_s, "#2001-01-01#\r\n#00:00:00#\r\n");
        const Marker marker = exportTo(backup(), LogSet::Costs);
        auto tree = fileTree(backup());
        QVERIFY(tree.take(u"import"_s).startsWith("#2004-05-17#\r\n#14:30:00#\r\n"));
        QCOMPARE(tree,
            (QMap<QString, QByteArray> { { u"KOSTEN/db"_s, costs(u"Max"_s) },
                { u"KOSTEN/notiz.txt"_s, "n" }, { u"fremd.txt"_s, "f" } }));
        t->write(u"db\\kosten\\db"_s, "");
        ErrorTrap trap(t->env, kPlace);
        QCOMPARE(ImportBackup(t->env, backup(), marker, LogSet::Costs, trap).status,
            ImportResult::Imported);
        QCOMPARE(t->read(u"db\\kosten\\db"_s), costs(u"Max"_s));
    }

    // A backup from before the version file: catch lines of format 100
    // are brought to the current format on import.
    void importWithoutVersionFile()
    {
        const QStringList old = sampleCatch({ { 1, u"2000/01/21"_s }, { 7, u"2500"_s } });
        t->write(u"Alt\\Fänge\\db"_s, recordFileBytes({ old.mid(0, 13).join(u'\t') + u'\t' }));
        t->write(u"Alt\\import"_s, "#2005-02-03#\r\n#09:08:07#\r\n");
        ErrorTrap trap(t->env, kPlace);
        const std::optional<Marker> marker = ReadMarkerFile(t->path(u"Alt\\import"_s), trap);
        QVERIFY(marker && marker->entries.isEmpty());
        QCOMPARE(marker->time, QTime(9, 8, 7));
        const ImportResult r = ImportBackup(t->env, t->path(u"Alt"_s), *marker, LogSet::Both, trap);
        QCOMPARE(r.status, ImportResult::Imported);
        QVERIFY(r.costsMissing && !r.catchesMissing);
        const QString o = u"0"_s;
        QCOMPARE(t->read(u"db\\fänge\\db"_s),
            recordFileBytes({ sampleCatch(
                { { 1, u"2000/01/21"_s }, { 7, u"2,50"_s }, { 14, o }, { 15, o },
                    { 16, o } }).join(u'\t') }));
        QCOMPARE(t->read(u"db\\db.ver"_s), QByteArray("102\r\n"));
        QCOMPARE(t->read(u"db\\kosten\\db"_s), costs(u"Max"_s));
        // A backup without photos leaves only the photo folder's subfolders.
        QCOMPARE(fileTree(db() + u"/Bilder"_s),
            (QMap<QString, QByteArray> { { u"Alt/Hecht.jpg"_s, "photoh" } }));
    }

    void exportFaults_data()
    {
        QTest::addColumn<QString>("folder"); // below the program folder
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("why");
        QTest::newRow("copy differs from its original")
            << u"B"_s << u"spoil"_s
            << u"Die Kopie der Datei 'fänge\\db' stimmt nicht mit dem Original überein."_s;
        QTest::newRow("disk full") << u"B"_s << u"full"_s << u"konnte nicht geschrieben werden"_s;
        QTest::newRow("a file where the folder goes")
            << u"B"_s << u"file"_s << u"Der Ordner kann nicht angelegt werden."_s;
        QTest::newRow("inside the program's db folder")
            << u"db/Bilder/B"_s << QString() << u"liegt im Datenbankordner des Programms"_s;
    }

    void exportFaults()
    {
        QFETCH(QString, folder);
        QFETCH(QString, fault);
        QFETCH(QString, why);
        const QString b = t->dir() + u'/' + folder;
        if (fault == u"file"_s)
            t->write(folder, "x");
        else if (!fault.isEmpty())
            t->write(folder + u"/import"_s, "#2001-01-01#\r\n#00:00:00#\r\n");
        const auto before = fileTree(db());
        const auto backupBefore = fileTree(b);
        ErrorTrap trap(t->env, kPlace);
        ExportResult r;
        {
            std::unique_ptr<FileSizeLimit> full;
            if (fault == u"full"_s)
                full = std::make_unique<FileSizeLimit>(8);
            const auto spoil = [&] {
                t->write(folder + u'/' + kExportWorkFolder + u"/neu/fänge/db"_s, catches(u"Eva"_s));
            };
            r = ExportBackup(t->env, b, LogSet::Both, trap,
                fault == u"spoil"_s ? std::function<void()>(spoil) : nullptr);
        }
        QVERIFY2(r.problem.contains(why), qPrintable(r.problem));
        QCOMPARE(fileTree(db()), before);
        // The previous backup there stays whole.
        QCOMPARE(fileTree(b), backupBefore);
    }
};

QTEST_GUILESS_MAIN(TestBackup)
#include "tst_backup.moc"
