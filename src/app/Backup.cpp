#include "app/Backup.h"

#include "app/BackupFiles.h"
#include "app/SafetyCopy.h"
#include "app/UpdateDB.h"
#include "platform/Clock.h"
#include "platform/Cp1252.h"
#include "platform/ErrorLog.h"
#include "platform/FileOps.h"
#include "platform/Paths.h"
#include "store/Numbers.h"
#include "store/RecordFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <utility>

using namespace Qt::StringLiterals;
using namespace BackupFiles;

namespace {

// A marker lists one line per file; anything far beyond that is no marker.
constexpr qint64 kMarkerSizeLimit = qint64(64) << 20;

QString exportFailed(const QString& folder, const QString& why)
{
    return u"Der Export nach '%1' ist fehlgeschlagen!\r\n%2\r\n"
           u"Die Sicherung ist unvollständig; es wurde nichts zurückgesetzt."_s.arg(folder, why);
}

QString importRefused(const QString& why)
{
    return u"Diese Sicherung wird nicht eingelesen:\r\n%1\r\n"
           u"Ihre Datenbanken bleiben unverändert."_s.arg(why);
}

// The staging folder of one import: emptied when made, removed at the end.
class Staging {
public:
    explicit Staging(QString path)
        : m_path(std::move(path))
    {
        if (QFileInfo::exists(m_path))
            QDir(m_path).removeRecursively();
        m_ready = makeFolder(m_path);
    }
    ~Staging() { QDir(m_path).removeRecursively(); }
    Staging(const Staging&) = delete;
    Staging& operator=(const Staging&) = delete;
    bool ready() const { return m_ready; }
    const QString& path() const { return m_path; }

private:
    QString m_path;
    bool m_ready = false;
};

// Moves the subfolders of `from` (and, below the top, their files) into
// `to` where `to` has no entry of the same name; folders of the same name
// are merged the same way. False when an entry could not be moved.
bool bringBackSubfolders(const QString& from, const QString& to, bool top)
{
    bool ok = true;
    const QHash<QString, QString> there = entriesByFoldedName(to);
    const QFileInfoList entries = QDir(from).entryInfoList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo& fi : entries) {
        const QString same = there.value(folded(fi.fileName()));
        if (same.isEmpty()) {
            if ((fi.isDir() || !top) && renameOver(fi.filePath(), to + u'/' + fi.fileName()) != 0)
                ok = false;
        } else if (fi.isDir() && !fi.isSymLink() && QFileInfo(to + u'/' + same).isDir()) {
            ok = bringBackSubfolders(fi.filePath(), to + u'/' + same, false) && ok;
        }
    }
    return ok;
}

// The first value of a version file: the text up to the first line end or
// comma, read as a number.
qint16 versionIn(const QString& path)
{
    QString first = decode1252(readAllBytes(path)).section(u'\n', 0, 0).section(u',', 0, 0);
    first.remove(u'\r');
    return ParseInt16(first);
}

bool safeRel(const QStringList& parts)
{
    if (parts.isEmpty())
        return false;
    for (const QString& part : parts) {
        if (part.isEmpty() || part == u"."_s || part == u".."_s)
            return false;
    }
    return true;
}

} // namespace

bool EndsWithImport(const QString& path)
{
    return path.endsWith(u"import"_s, Qt::CaseInsensitive);
}

ExportResult ExportBackup(const Env& env, const QString& folder, LogSet logs, ErrorTrap& trap,
    const std::function<void()>& beforeCheck)
{
    const auto p = [&](const QString& rel) { return hostPath(env.programDir, rel); };
    // Copying the program's folders into themselves would never end, and a
    // reset after it would delete the only copy.
    if (isAtOrBelow(folder, p(u"db"_s)))
        return { u"Der Ordner '%1' liegt im Datenbankordner des Programms.\r\n"
                 u"Bitte wählen Sie für die Sicherung einen anderen Ordner."_s.arg(folder) };
    if (!makeFolder(folder)) {
        trap.log(Err::PathNotFound);
        return { exportFailed(folder, u"Der Ordner kann nicht angelegt werden."_s) };
    }
    // The old marker goes first: a backup half overwritten must not pass
    // for a whole one.
    const QString marker = child(folder, u"import"_s);
    if (QFileInfo(marker).isDir() || (QFileInfo::exists(marker) && !QFile::remove(marker))) {
        trap.log(Err::PermissionDenied);
        return { exportFailed(
            folder, u"Die Importdatei '%1' kann nicht ersetzt werden."_s.arg(marker)) };
    }

    QList<CopiedFile> files;
    FileFault fault;
    const auto tree = [&](const QString& from, const QString& name) {
        if (fault)
            return;
        const QString to = child(folder, name);
        copyTree(p(from), to, relName(QFileInfo(to).fileName()) + u'\\', files, fault);
    };
    if (includes(logs, LogSet::Costs))
        tree(u"db\\kosten"_s, u"kosten"_s);
    if (includes(logs, LogSet::Catches)) {
        tree(u"db\\fänge"_s, u"fänge"_s);
        tree(u"db\\bilder"_s, u"bilder"_s);
        if (!fault)
            copyFile(p(u"db\\db.ver"_s), folder, u"db.ver"_s, QString(), files, fault);
    }
    if (!fault && beforeCheck)
        beforeCheck();
    if (!fault)
        fault = checkCopies(files);
    if (fault) {
        trap.log(fault.number);
        return { exportFailed(folder, describe(fault)) };
    }
    if (const int error = writeAtomically(marker, MarkerBytes(env.clock->now(), files))) {
        trap.log(error);
        return { exportFailed(folder, u"Die Importdatei kann nicht geschrieben werden."_s) };
    }
    return {};
}

std::optional<Marker> ReadMarkerFile(const QString& path, ErrorTrap& trap)
{
    const QFileInfo fi(path);
    if (!fi.isFile()) {
        trap.log(Err::FileNotFound);
        return std::nullopt;
    }
    QFile f(path);
    if (fi.size() > kMarkerSizeLimit) {
        trap.log(Err::TypeMismatch);
        return std::nullopt;
    }
    if (!f.open(QIODevice::ReadOnly)) {
        trap.log(Err::PathFileAccess);
        return std::nullopt;
    }
    const QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError) {
        trap.log(Err::PathFileAccess);
        return std::nullopt;
    }
    std::optional<Marker> m = ParseMarker(bytes);
    if (!m)
        trap.log(Err::TypeMismatch);
    return m;
}

ImportResult ImportBackup(
    const Env& env, const QString& from, const Marker& marker, LogSet logs, ErrorTrap& trap)
{
    ImportResult r;
    const auto p = [&](const QString& rel) { return hostPath(env.programDir, rel); };
    const QString folder = QDir::cleanPath(QFileInfo(from).absoluteFilePath());
    const QString costSource = hostPath(folder, u"kosten\\db"_s);
    const QString catchSource = hostPath(folder, u"fänge\\db"_s);
    const bool costs = includes(logs, LogSet::Costs) && QFileInfo(costSource).isFile();
    const bool catches = includes(logs, LogSet::Catches) && QFileInfo(catchSource).isFile();
    r.costsMissing = includes(logs, LogSet::Costs) && !costs;
    r.catchesMissing = includes(logs, LogSet::Catches) && !catches;
    if (!costs && !catches)
        return r;

    const auto refuse = [&](const QString& problem, int number) {
        trap.log(number);
        r.status = ImportResult::Refused;
        r.problem = problem;
        return r;
    };
    const QString stagingPath = p(kImportStagingFolder);
    if (isAtOrBelow(folder, stagingPath))
        return refuse(
            importRefused(u"Sie liegt im Zwischenordner des Einlesens."_s), Err::InvalidArgument);
    Staging stage(stagingPath);
    if (!stage.ready())
        return refuse(
            importRefused(u"Der Ordner '%1' kann nicht angelegt werden."_s.arg(stage.path())),
            Err::PathFileAccess);

    // Every file to import goes into the staging folder first, named by
    // its path in the backup.
    const auto relOf = [&](const QString& path) {
        QStringList parts = QDir(folder).relativeFilePath(path).split(u'/');
        for (QString& part : parts)
            part = relName(part);
        return parts.join(u'\\');
    };
    QList<CopiedFile> staged;
    FileFault fault;
    const auto stageFile = [&](const QString& source, const QString& dir) {
        if (fault)
            return QString();
        if (!makeFolder(dir)) {
            fault = { Err::PathFileAccess, FileFault::Writing, dir };
            return QString();
        }
        const QString target = dir + u'/' + QFileInfo(source).fileName();
        const QString rel = relOf(source);
        const FileDigest d = copy(source, target, fault);
        if (fault)
            fault.file = rel;
        else
            staged.append({ rel, source, target, d });
        return target;
    };
    const QString stagedCosts
        = costs ? stageFile(costSource, stage.path() + u"/kosten"_s) : QString();
    QString stagedCatches, stagedVersion;
    const QString stagedPhotos = stage.path() + u"/bilder"_s;
    if (catches) {
        stagedCatches = stageFile(catchSource, stage.path() + u"/fänge"_s);
        const QString versionSource = hostPath(folder, u"db.ver"_s);
        if (QFileInfo(versionSource).isFile()) {
            stagedVersion = stageFile(versionSource, stage.path());
        } else if (!fault) {
            // No format version: the backup is from before the version file,
            // format 100, written as a number field.
            stagedVersion = stage.path() + u"/db.ver"_s;
            if (const int error = writeAtomically(stagedVersion, QByteArrayLiteral(" 100 \r\n")))
                fault = { error, FileFault::Writing, stagedVersion };
        }
        // A backup without photos leaves the photo folder empty.
        const QString photoSource = hostPath(folder, u"bilder"_s);
        if (!fault && !makeFolder(stagedPhotos))
            fault = { Err::PathFileAccess, FileFault::Writing, stagedPhotos };
        if (!fault && QFileInfo(photoSource).isDir())
            copyTree(photoSource, stagedPhotos, relName(QFileInfo(photoSource).fileName()) + u'\\',
                staged, fault);
    }
    if (!fault)
        fault = checkCopies(staged);
    if (fault)
        return refuse(importRefused(describe(fault)), fault.number);

    // The marker's list, in its order: a file taken is checked by what was
    // read of it, the others are read where they are.
    QHash<QString, const CopiedFile*> byRel;
    for (const CopiedFile& f : staged)
        byRel.insert(folded(f.rel), &f);
    for (const MarkerEntry& e : marker.entries) {
        const QStringList parts = relParts(e.rel);
        const QString shown = parts.join(u'\\');
        if (!safeRel(parts))
            return refuse(
                importRefused(u"Die Importdatei nennt einen ungültigen Pfad '%1'."_s.arg(shown)),
                Err::TypeMismatch);
        FileDigest d;
        if (const CopiedFile* f = byRel.value(folded(e.rel))) {
            d = f->digest;
        } else {
            QString path = folder;
            for (const QString& part : parts)
                path = child(path, part);
            d = digestOf(path, fault);
            if (fault) {
                fault.file = e.rel;
                if (fault.side == FileFault::Missing)
                    return refuse(
                        importRefused(u"Die Datei '%1' fehlt in dieser Sicherung."_s.arg(shown)),
                        fault.number);
                return refuse(importRefused(describe(fault)), fault.number);
            }
        }
        if (d != e.digest)
            return refuse(importRefused(u"Die Datei '%1' ist beschädigt: sie stimmt nicht mit "
                                        u"der Importdatei überein."_s.arg(shown)),
                Err::PathFileAccess);
    }

    // What is about to be replaced, so that it can be imported back.
    const SafetyCopyResult safety = MakeSafetyCopy(
        env, (costs ? SafeCosts : 0) | (catches ? SafeCatchLog | SafePhotos : 0), trap, folder);
    if (!safety.ok()) {
        r.status = ImportResult::Refused;
        r.problem = safety.problem;
        return r;
    }
    r.safetyCopy = safety.folder;

    const auto failed = [&](const QString& target) {
        trap.log(Err::PathFileAccess);
        r.status = r.changed ? ImportResult::Incomplete : ImportResult::Refused;
        r.problem = r.changed
            ? u"Das Einlesen wurde abgebrochen: Die Datei '%1' konnte nicht ersetzt werden.\r\n"
              u"Der vorherige Stand liegt in der Sicherheitskopie '%2' und kann von dort "
              u"wieder eingelesen werden."_s.arg(target, safety.folder)
            : importRefused(u"Die Datei '%1' konnte nicht ersetzt werden."_s.arg(target));
        return false;
    };
    const auto replace = [&](const QString& source, const QString& target) {
        if (!makeFolder(QFileInfo(target).absolutePath()) || renameOver(source, target) != 0)
            return failed(target);
        r.changed = true;
        return true;
    };
    if (costs && !replace(stagedCosts, p(u"db\\kosten\\db"_s)))
        return r;
    if (!catches)
        return r;
    if (!replace(stagedCatches, p(u"db\\fänge\\db"_s))
        || !replace(stagedVersion, p(u"db\\db.ver"_s)))
        return r;
    qint16 version = 0;
    trap.step([&] { version = versionIn(p(u"db\\db.ver"_s)); });
    UpdateDB(env, version);

    // The photos: the staged photo folder takes the place of the current
    // one, two renames for all of them (replacing a thousand files one by
    // one makes the file system write out each new one first). The current
    // folder's subfolders are not the photos themselves and come back.
    const QString photos = p(u"db\\bilder"_s);
    const QString current = stage.path() + u"/bisher"_s;
    const bool hadPhotos = QFileInfo(photos).isDir();
    if (hadPhotos && !replace(photos, current))
        return r;
    if (renameOver(stagedPhotos, photos) != 0) {
        if (hadPhotos)
            renameOver(current, photos); // the current photos stay
        failed(photos);
        return r;
    }
    if (hadPhotos && !bringBackSubfolders(current, photos, true)) {
        trap.log(Err::PathFileAccess);
        r.status = ImportResult::Incomplete;
        r.problem
            = u"Das Einlesen ist unvollständig: Nicht alle Unterordner des Bilderordners "
              u"konnten zurückgelegt werden.\r\nSie liegen in der Sicherheitskopie '%1'."_s.arg(
                  safety.folder);
    }
    return r;
}
