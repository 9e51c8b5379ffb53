#include "app/Backup.h"

#include "app/BackupFiles.h"
#include "app/Journal.h"
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

using namespace Qt::StringLiterals;
using namespace BackupFiles;

namespace {

// The names a backup folder holds, in the spelling an export gives them.
const QStringList kBackupNames = { u"kosten"_s, u"fänge"_s, u"bilder"_s, u"db.ver"_s, u"import"_s };

QString exportFailed(const QString& folder, const QString& why)
{
    return u"Der Export nach '%1' ist fehlgeschlagen!\r\n%2\r\n"
           u"Es wurde nichts zurückgesetzt; eine frühere Sicherung dort ist unverändert."_s.arg(
               folder, why);
}

QString importRefused(const QString& why)
{
    return u"Diese Sicherung wird nicht eingelesen:\r\n%1\r\n"
           u"Ihre Datenbanken bleiben unverändert."_s.arg(why);
}

// The first value of a version file: the text up to the first line end or
// comma, read as a number.
qint16 versionIn(const QString& path)
{
    QString first = decode1252(readAllBytes(path)).section(u'\n', 0, 0).section(u',', 0, 0);
    first.remove(u'\r');
    return ParseInt16(first);
}

qint64 sizeBelow(const QString& path)
{
    switch (kindOf(path)) {
    case Kind::File:
        return QFileInfo(path).size();
    case Kind::Folder: {
        qint64 n = 0;
        for (const QString& name : entries(path))
            n += sizeBelow(path + u'/' + name);
        return n;
    }
    default:
        return 0;
    }
}

// The entries a backup folder holds at its top: a link there, or two
// folders that differ only in letter case, is a fault.
FileFault checkTop(const QString& folder)
{
    const QStringList there = entries(folder);
    for (const QString& name : kBackupNames) {
        QStringList same;
        for (const QString& n : there) {
            if (folded(n) == folded(name))
                same.append(folder + u'/' + n);
        }
        if (same.size() > 1)
            return { Err::PathFileAccess, FileFault::Twins, same[0], same[1] };
        if (!same.isEmpty() && kindOf(same[0]) == Kind::Link)
            return { Err::PathFileAccess, FileFault::Link, same[0] };
    }
    return {};
}

// The first link below a folder of a backup, descending into no link.
QString firstLink(const QString& path)
{
    const Kind k = kindOf(path);
    if (k == Kind::Link)
        return path;
    if (k != Kind::Folder)
        return {};
    for (const QString& name : entries(path)) {
        const QString found = firstLink(path + u'/' + name);
        if (!found.isEmpty())
            return found;
    }
    return {};
}

int filesBelow(const QString& path)
{
    const Kind k = kindOf(path);
    if (k == Kind::File)
        return 1;
    int n = 0;
    if (k == Kind::Folder) {
        for (const QString& name : entries(path))
            n += filesBelow(path + u'/' + name);
    }
    return n;
}

// Lines the staged catch log's conversion wrote into the staging folder's
// error log belong in the program's.
void keepLogLines(const Env& env, const QString& stagedProgramDir)
{
    const QString log = stagedProgramDir + u"/kescherheft.log"_s;
    if (kindOf(log) != Kind::File)
        return;
    QFile in(log);
    QFile out(hostPath(env.programDir, u"kescherheft.log"_s));
    if (in.open(QIODevice::ReadOnly) && out.open(QIODevice::Append))
        out.write(in.readAll());
}

// The moves that take a current file out of the way and put a staged one
// in its place.
void replaceWith(
    const QString& staged, const QString& current, const QString& previous, QList<Move>& moves)
{
    if (kindOf(current) != Kind::Missing)
        moves.append({ current, previous });
    moves.append({ staged, current });
}

} // namespace

bool EndsWithImport(const QString& path)
{
    return path.endsWith(u"import"_s, Qt::CaseInsensitive);
}

ExportResult ExportBackup(const Env& env, const QString& to, LogSet logs, ErrorTrap& trap,
    const std::function<void()>& beforeCheck, ByteCounter* counter)
{
    const auto p = [&](const QString& rel) { return hostPath(env.programDir, rel); };
    const QString folder = QDir::cleanPath(QFileInfo(to).absoluteFilePath());
    // Copying the program's folders into themselves would never end, and a
    // reset after it would delete the only copy.
    if (isAtOrBelow(folder, p(u"db"_s)))
        return { u"Der Ordner '%1' liegt im Datenbankordner des Programms.\r\n"
                 u"Bitte wählen Sie für die Sicherung einen anderen Ordner."_s.arg(folder) };
    if (sameFolder(folder, env.programDir))
        return { u"Der Ordner '%1' ist der Programmordner.\r\n"
                 u"Bitte wählen Sie für die Sicherung einen anderen Ordner."_s.arg(folder) };
    if (!QFileInfo(folder).isDir() && !makeFolder(folder)) {
        trap.log(Err::PathNotFound);
        return { exportFailed(folder, u"Der Ordner kann nicht angelegt werden."_s) };
    }
    const auto fail = [&](const FileFault& fault) {
        trap.log(fault.number ? fault.number : Err::PathFileAccess);
        return ExportResult { exportFailed(folder, describe(fault)) };
    };
    if (const FileFault top = checkTop(folder))
        return fail(top);
    const QString marker = child(folder, u"import"_s).path;
    if (kindOf(marker) != Kind::Missing && kindOf(marker) != Kind::File)
        return fail({ Err::PermissionDenied, FileFault::Writing, marker });

    const QString work = folder + u'/' + kExportWorkFolder;
    const QString fresh = work + u"/neu"_s;
    if (!removeTree(work) || !makeFolder(fresh))
        return fail({ Err::PathFileAccess, FileFault::Writing, work });
    const auto abandon = [&](const FileFault& fault) {
        removeTree(work);
        if (fault.side == FileFault::Cancelled)
            return ExportResult { {}, true };
        return fail(fault);
    };

    // Every file goes into the work folder first, named as in the program's
    // folders; where each ends up is known once the moves are planned.
    struct Source {
        QString from;
        QString name;
    };
    QList<Source> sources;
    if (includes(logs, LogSet::Costs))
        sources.append({ p(kCostFolder), u"kosten"_s });
    if (includes(logs, LogSet::Catches)) {
        sources.append({ p(kCatchFolder), u"fänge"_s });
        sources.append({ p(kPhotoFolder), u"bilder"_s });
        sources.append({ p(kVersionFilePath), u"db.ver"_s });
    }
    if (counter) {
        qint64 total = 0;
        for (const Source& s : sources)
            total += sizeBelow(s.from);
        counter->setTotal(2 * total);
    }
    QList<CopiedFile> files;
    FileFault fault;
    for (const Source& s : sources) {
        if (fault)
            break;
        if (s.name == u"db.ver"_s) {
            const FileDigest d = copy(s.from, fresh + u"/db.ver"_s, fault, counter);
            if (!fault)
                files.append({ u"db.ver"_s, s.from, fresh + u"/db.ver"_s, d });
            else if (fault.side != FileFault::Cancelled)
                fault.file = u"db.ver"_s;
        } else {
            copyTree(s.from, fresh + u'/' + s.name, s.name + u'\\', files, fault,
                { counter, false, false, s.name == u"bilder"_s ? kPhotoWorkFolder : QString() });
        }
    }
    if (!fault && beforeCheck)
        beforeCheck();
    if (!fault)
        fault = checkCopies(files, counter);
    if (fault)
        return abandon(fault);

    Journal journal { u"Export"_s, folder, {}, {}, { work } };
    // The old marker goes first: a backup half replaced must not pass for
    // a whole one, should the step be stopped and never completed.
    if (kindOf(marker) == Kind::File)
        journal.moves.append({ marker, work + u"/alt-import"_s });
    QHash<QString, QString> finals;
    PlanInto(fresh, folder, work + u"/alt"_s, journal.moves, &finals, fault);
    if (fault)
        return abandon(fault);
    // The marker names each file where it ends up, in the backup's spelling.
    for (CopiedFile& f : files) {
        QStringList parts = finals.value(f.target).mid(folder.size() + 1).split(u'/');
        for (QString& part : parts)
            part = relName(part);
        f.rel = parts.join(u'\\');
    }
    const QString newMarker = work + u"/import"_s;
    if (const int error = writeFile(newMarker, MarkerBytes(env.clock->now(), files)))
        return abandon({ error, FileFault::Writing, marker });
    journal.moves.append({ newMarker, folder + u"/import"_s });
    switch (CarryOut(env, journal)) {
    case Outcome::Done:
        return {};
    case Outcome::Undone:
        trap.log(Err::PathFileAccess);
        return { exportFailed(
            folder, u"Die neuen Dateien konnten nicht an ihren Platz gebracht werden."_s) };
    case Outcome::Stuck:
        break;
    }
    trap.log(Err::PathFileAccess);
    return { exportFailed(folder,
        u"Die neuen Dateien konnten nicht an ihren Platz gebracht werden, und nicht alle "
        u"früheren konnten zurückgelegt werden. Beim nächsten Start wird es noch einmal "
        u"versucht."_s) };
}

std::optional<Marker> ReadMarkerFile(const QString& path, ErrorTrap& trap)
{
    if (kindOf(path) != Kind::File) {
        trap.log(Err::FileNotFound);
        return std::nullopt;
    }
    QFile f(path);
    if (f.size() > kMarkerSizeLimit) {
        trap.log(Err::TypeMismatch);
        return std::nullopt;
    }
    if (!f.open(QIODevice::ReadOnly)) {
        trap.log(Err::PathFileAccess);
        return std::nullopt;
    }
    const QByteArray bytes = f.read(kMarkerSizeLimit + 1);
    if (f.error() != QFileDevice::NoError || bytes.size() > kMarkerSizeLimit) {
        trap.log(Err::PathFileAccess);
        return std::nullopt;
    }
    std::optional<Marker> m = ParseMarker(bytes);
    if (!m)
        trap.log(Err::TypeMismatch);
    return m;
}

namespace {

// One import's work: what it reads from the backup, what it stages, and
// the moves that put it in place.
class Import {
public:
    Import(const Env& env, const QString& folder, const Marker& marker, LogSet logs,
        ErrorTrap& trap, ByteCounter* counter)
        : env(env)
        , folder(folder)
        , marker(marker)
        , logs(logs)
        , trap(trap)
        , counter(counter)
    {
    }

    ImportResult run();

private:
    const Env& env;
    const QString folder;
    const Marker& marker;
    const LogSet logs;
    ErrorTrap& trap;
    ByteCounter* counter;

    ImportResult r;
    FileFault fault;
    QString stage, photoWork;
    // Host paths in the backup of what is imported; empty when not.
    QString costSource, catchSource, versionSource;
    // Photos: each file's path in the backup and its parts below bilder.
    QList<QPair<QString, QStringList>> photoSources;
    QList<CopiedFile> staged;

    QString p(const QString& rel) const { return hostPath(env.programDir, rel); }
    ImportResult refuse(const QString& problem, int number)
    {
        trap.log(number);
        r.status = ImportResult::Refused;
        r.problem = problem;
        return r;
    }
    ImportResult refuse(const FileFault& f)
    {
        removeTree(stage);
        removeTree(photoWork);
        if (f.side == FileFault::Cancelled) {
            r.status = ImportResult::Cancelled;
            return r;
        }
        return refuse(importRefused(describe(f)), f.number ? f.number : Err::PathFileAccess);
    }
    // The backup's file at the marker's parts: each part matched as names
    // are matched, no link on the way, a regular file at the end.
    QString resolve(const QStringList& parts);
    bool findSources();
    void stageFile(const QString& source, const QString& target, const QString& rel);
};

QString Import::resolve(const QStringList& parts)
{
    QString path = folder;
    for (qsizetype i = 0; i < parts.size() && !fault; ++i) {
        const Child c = child(path, parts[i]);
        if (!c.twin.isEmpty()) {
            fault = { Err::PathFileAccess, FileFault::Twins, c.path };
            fault.other = c.twin;
            return {};
        }
        path = c.path;
        const Kind k = kindOf(path);
        const bool last = i + 1 == parts.size();
        if (k == Kind::Link)
            fault = { Err::PathFileAccess, FileFault::Link, path };
        else if (k == Kind::Missing)
            fault = { Err::FileNotFound, FileFault::Missing, parts.join(u'\\') };
        else if (k != (last ? Kind::File : Kind::Folder))
            fault = { Err::PathFileAccess, FileFault::Reading, path };
    }
    return fault ? QString() : path;
}

// Finds what to import; false with `fault` or r.problem set when the
// backup is refused.
bool Import::findSources()
{
    if (const FileFault top = checkTop(folder)) {
        fault = top;
        return false;
    }
    // A link anywhere in the folders read is refused, listed or not.
    for (const QString& name : { u"kosten"_s, u"fänge"_s, u"bilder"_s }) {
        const QString found = firstLink(child(folder, name).path);
        if (!found.isEmpty()) {
            fault = { Err::PathFileAccess, FileFault::Link, found };
            return false;
        }
    }
    const auto is = [](const QStringList& parts, std::initializer_list<QString> names) {
        if (parts.size() != qsizetype(names.size()))
            return false;
        qsizetype i = 0;
        for (const QString& n : names) {
            if (folded(parts[i++]) != folded(n))
                return false;
        }
        return true;
    };
    const bool wantCosts = includes(logs, LogSet::Costs);
    const bool wantCatches = includes(logs, LogSet::Catches);
    if (marker.entries.isEmpty()) {
        // An older marker lists nothing: the backup's layout says what is there.
        const auto fileAt = [&](const QStringList& parts) {
            const QString path = resolve(parts);
            if (fault.side == FileFault::Missing)
                fault = {};
            return path;
        };
        if (wantCosts)
            costSource = fileAt({ u"kosten"_s, u"db"_s });
        if (wantCatches && !fault)
            catchSource = fileAt({ u"fänge"_s, u"db"_s });
        if (!catchSource.isEmpty() && !fault)
            versionSource = fileAt({ u"db.ver"_s });
        if (!catchSource.isEmpty() && !fault) {
            const QString photos = child(folder, u"bilder"_s).path;
            std::function<void(const QString&, const QStringList&)> walk
                = [&](const QString& dir, const QStringList& below) {
                      for (const QString& name : entries(dir)) {
                          const QString path = dir + u'/' + name;
                          if (kindOf(path) == Kind::Folder)
                              walk(path, below + QStringList { name });
                          else if (kindOf(path) == Kind::File)
                              photoSources.append({ path, below + QStringList { name } });
                      }
                  };
            if (kindOf(photos) == Kind::Folder)
                walk(photos, {});
        }
        return !fault;
    }
    // The marker lists the backup: only listed files are read, each must
    // be there, and what it does not list is left out.
    int listed = 0;
    for (const MarkerEntry& e : marker.entries) {
        const QStringList parts = relParts(e.rel);
        const bool photo = parts.size() > 1 && folded(parts[0]) == folded(u"bilder"_s);
        if (is(parts, { u"kosten"_s, u"db"_s }) && wantCosts)
            costSource = resolve(parts);
        else if (is(parts, { u"fänge"_s, u"db"_s }) && wantCatches)
            catchSource = resolve(parts);
        else if (is(parts, { u"db.ver"_s }) && wantCatches)
            versionSource = resolve(parts);
        else if (photo && wantCatches)
            photoSources.append({ resolve(parts), parts.mid(1) });
        if (fault)
            return false;
        listed += photo || parts.size() == 2 ? 1 : 0;
    }
    int present = 0;
    for (const QString& name : { u"kosten"_s, u"fänge"_s, u"bilder"_s })
        present += filesBelow(child(folder, name).path);
    r.leftOut = qMax(0, present - listed);
    if (catchSource.isEmpty()) {
        versionSource.clear();
        photoSources.clear();
    }
    return true;
}

void Import::stageFile(const QString& source, const QString& target, const QString& rel)
{
    if (fault)
        return;
    if (!makeFolder(QFileInfo(target).path())) {
        fault = { Err::PathFileAccess, FileFault::Writing, QFileInfo(target).path() };
        return;
    }
    const FileDigest d = copy(source, target, fault, counter);
    if (fault) {
        if (fault.side != FileFault::Cancelled)
            fault.file = rel;
        return;
    }
    staged.append({ rel, source, target, d });
}

ImportResult Import::run()
{
    stage = p(kImportStagingFolder);
    if (isAtOrBelow(folder, stage))
        return refuse(
            importRefused(u"Sie liegt im Zwischenordner des Einlesens."_s), Err::InvalidArgument);
    for (const MarkerEntry& e : marker.entries) {
        if (!plainParts(relParts(e.rel)))
            return refuse(
                importRefused(u"Die Importdatei nennt einen ungültigen Pfad '%1'."_s.arg(e.rel)),
                Err::TypeMismatch);
    }
    if (kindOf(p(kJournalFile)) != Kind::Missing)
        return refuse(importRefused(u"Ein unterbrochener Vorgang ist noch nicht abgeschlossen. "
                                    u"Bitte starten Sie das Programm neu."_s),
            Err::PathFileAccess);
    if (!findSources()) {
        if (fault.side == FileFault::Missing)
            return refuse(importRefused(u"Die Datei '%1' fehlt in dieser Sicherung."_s.arg(
                              relParts(fault.file).join(u'\\'))),
                fault.number);
        return refuse(importRefused(describe(fault)), fault.number);
    }
    r.costsMissing = includes(logs, LogSet::Costs) && costSource.isEmpty();
    r.catchesMissing = includes(logs, LogSet::Catches) && catchSource.isEmpty();
    if (costSource.isEmpty() && catchSource.isEmpty())
        return r;

    // The photos are staged on the photo folder's own file system, so that
    // renames put them in place even where that folder is a mount point
    // or a link to another disk; the folder itself stays what it is.
    const QString photos = p(kPhotoFolder);
    if (!removeTree(stage) || !makeFolder(stage))
        return refuse(fault = { Err::PathFileAccess, FileFault::Writing, stage });
    photoWork = stage;
    if (!catchSource.isEmpty()) {
        if (kindOf(photos) == Kind::Missing && !makeFolder(photos))
            return refuse(fault = { Err::PathFileAccess, FileFault::Writing, photos });
        if (!QFileInfo(photos).isDir())
            return refuse(fault = { Err::PathFileAccess, FileFault::Writing, photos });
        if (!sameDevice(photos, stage)) {
            photoWork = photos + u'/' + kPhotoWorkFolder;
            if (!removeTree(photoWork) || !makeFolder(photoWork))
                return refuse(fault = { Err::PathFileAccess, FileFault::Writing, photoWork });
        }
    }
    if (counter) {
        qint64 total = 0;
        for (const QString& s : { costSource, catchSource, versionSource })
            total += s.isEmpty() ? 0 : QFileInfo(s).size();
        for (const auto& ph : photoSources)
            total += QFileInfo(ph.first).size();
        counter->setTotal(2 * total);
    }

    // What is staged is laid out as a program folder, so that the catch
    // log can be converted there.
    const QString fresh = stage + u"/neu"_s;
    const QString newPhotos = photoWork + u"/neu-bilder"_s;
    const auto relIn = [&](const QString& path) {
        QStringList parts = path.mid(folder.size() + 1).split(u'/');
        for (QString& part : parts)
            part = relName(part);
        return parts.join(u'\\');
    };
    if (!costSource.isEmpty())
        stageFile(costSource, fresh + u"/db/kosten/db"_s, relIn(costSource));
    if (!catchSource.isEmpty()) {
        stageFile(catchSource, fresh + u"/db/fänge/db"_s, relIn(catchSource));
        if (!versionSource.isEmpty()) {
            stageFile(versionSource, fresh + u"/db/db.ver"_s, relIn(versionSource));
        } else if (!fault) {
            // No format version: the backup is from before the version file,
            // format 100, written as a number field.
            if (const int error = writeFile(fresh + u"/db/db.ver"_s, " 100 \r\n"))
                fault = { error, FileFault::Writing, fresh + u"/db/db.ver"_s };
        }
        if (!fault && !makeFolder(newPhotos))
            fault = { Err::PathFileAccess, FileFault::Writing, newPhotos };
        for (const auto& [source, parts] : photoSources) {
            // A backup's own folder of that name would be taken for the
            // work folder.
            if (parts[0] == kPhotoWorkFolder)
                continue;
            stageFile(source, newPhotos + u'/' + parts.join(u'/'), relIn(source));
        }
    }
    if (!fault)
        fault = checkCopies(staged, counter);
    if (fault)
        return refuse(fault);

    // Every listed file must be what the marker says, imported or not.
    QHash<QString, const CopiedFile*> bySource;
    for (const CopiedFile& f : staged)
        bySource.insert(f.source, &f);
    for (const MarkerEntry& e : marker.entries) {
        const QStringList parts = relParts(e.rel);
        const QString shown = parts.join(u'\\');
        FileDigest d;
        const QString path = resolve(parts);
        if (const CopiedFile* f = bySource.value(path))
            d = f->digest;
        else if (!fault)
            d = digestOf(path, fault, counter);
        if (fault.side == FileFault::Missing) {
            removeTree(stage);
            removeTree(photoWork);
            return refuse(importRefused(u"Die Datei '%1' fehlt in dieser Sicherung."_s.arg(shown)),
                fault.number);
        }
        if (fault)
            return refuse(fault);
        if (d != e.digest) {
            removeTree(stage);
            removeTree(photoWork);
            return refuse(importRefused(u"Die Datei '%1' ist beschädigt: sie stimmt nicht mit "
                                        u"der Importdatei überein."_s.arg(shown)),
                Err::PathFileAccess);
        }
    }

    // The catch log is brought to the current format where it is staged:
    // a conversion that fails leaves everything current as it was.
    if (!catchSource.isEmpty()) {
        qint16 version = 0;
        trap.step([&] { version = versionIn(fresh + u"/db/db.ver"_s); });
        const bool old = version == 100 || version == 101;
        UpdateDB(Env { fresh, env.clock, env.dialogs, env.shell }, version);
        keepLogLines(env, fresh);
        removeTree(fresh + u"/kescherheft.log"_s);
        if (old && version != 102) {
            removeTree(stage);
            removeTree(photoWork);
            return refuse(importRefused(u"Die Fangdatenbank dieser Sicherung konnte nicht in das "
                                        u"aktuelle Format umgewandelt werden. Ist der "
                                        u"Datenträger voll?"_s),
                Err::PathFileAccess);
        }
    }

    // What is about to be replaced, so that it can be imported back.
    const SafetyCopyResult safety = MakeSafetyCopy(env,
        (costSource.isEmpty() ? 0 : SafeCosts)
            | (catchSource.isEmpty() ? 0 : SafeCatchLog | SafePhotos),
        trap, folder);
    if (!safety.ok()) {
        removeTree(stage);
        removeTree(photoWork);
        r.status = ImportResult::Refused;
        r.problem = safety.problem;
        return r;
    }
    r.safetyCopy = safety.folder;

    Journal journal { u"Einlesen"_s, folder, safety.folder, {}, { stage } };
    if (photoWork != stage)
        journal.cleanup.append(photoWork);
    const QString previous = stage + u"/alt"_s;
    if (!makeFolder(previous))
        return refuse(fault = { Err::PathFileAccess, FileFault::Writing, previous });
    const auto logInPlace = [&](const QString& rel, const QString& name) {
        if (!fault && !makeFolder(QFileInfo(p(rel)).path()))
            fault = { Err::PathFileAccess, FileFault::Writing, p(rel) };
        replaceWith(fresh + u'/' + QString(rel).replace(u'\\', u'/'), p(rel),
            previous + u'/' + name, journal.moves);
    };
    if (!costSource.isEmpty())
        logInPlace(kCostLogPath, u"kosten-db"_s);
    if (!catchSource.isEmpty()) {
        logInPlace(kCatchLogPath, u"fänge-db"_s);
        logInPlace(kVersionFilePath, u"db.ver"_s);
        // Every file of the photo folder goes, its subfolders stay unless
        // the backup has entries of the same names.
        const QString oldFiles = photoWork + u"/alt-bilder"_s;
        if (!fault && !makeFolder(oldFiles))
            fault = { Err::PathFileAccess, FileFault::Writing, oldFiles };
        QSet<QString> gone;
        for (const QString& name : entries(photos)) {
            const Kind k = kindOf(photos + u'/' + name);
            if (k != Kind::Folder && k != Kind::Missing) {
                journal.moves.append({ photos + u'/' + name, oldFiles + u'/' + name });
                gone.insert(photos + u'/' + name);
            }
        }
        if (!fault)
            PlanInto(newPhotos, photos, photoWork + u"/alt-ordner"_s, journal.moves, nullptr, fault,
                gone);
    }
    if (fault)
        return refuse(fault);

    switch (CarryOut(env, journal)) {
    case Outcome::Done:
        r.changed = true;
        return r;
    case Outcome::Undone:
        trap.log(Err::PathFileAccess);
        r.status = ImportResult::Refused;
        r.problem = importRefused(u"Die Dateien konnten nicht an ihren Platz gebracht werden."_s);
        return r;
    case Outcome::Stuck:
        break;
    }
    trap.log(Err::PathFileAccess);
    r.status = ImportResult::Incomplete;
    r.changed = true;
    r.problem = u"Das Einlesen wurde abgebrochen: Nicht alle Dateien konnten ersetzt und nicht "
                u"alle früheren zurückgelegt werden. Beim nächsten Start wird es noch einmal "
                u"versucht.\r\nDer vorherige Stand liegt in der Sicherheitskopie '%1'."_s.arg(
                    safety.folder);
    return r;
}

} // namespace

ImportResult ImportBackup(const Env& env, const QString& from, const Marker& marker, LogSet logs,
    ErrorTrap& trap, ByteCounter* counter)
{
    const QString folder = QDir::cleanPath(QFileInfo(from).absoluteFilePath());
    return Import(env, folder, marker, logs, trap, counter).run();
}
