#include "app/SafetyCopy.h"

#include "app/BackupFiles.h"
#include "app/BackupMarker.h"
#include "app/Journal.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/ErrorLog.h"
#include "platform/FileOps.h"
#include "platform/Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

using namespace BackupFiles;

// A safety copy is a folder directly below "db\Sicherungen" (no link)
// whose marker says it is one; it is ordered by the time it records.
struct MadeCopy {
    QDateTime made;
    int number; // of copies made in the same second
    QString path;
};

// The number a copy's folder name gives it among those of one second:
// "2004-05-17_14-30-00_3" is the third, a name without a number the first.
int numberIn(const QString& name)
{
    static const QRegularExpression suffix(u"^\\d{4}-\\d{2}-\\d{2}_\\d{2}-\\d{2}-\\d{2}_(\\d+)$"_s);
    const QRegularExpressionMatch m = suffix.match(name);
    return m.hasMatch() ? m.captured(1).toInt() : 1;
}

QList<MadeCopy> safetyCopies(const QString& base)
{
    QList<MadeCopy> out;
    for (const QString& name : entries(base)) {
        const QString path = base + u'/' + name;
        const QString marker = path + u"/import"_s;
        if (kindOf(path) != Kind::Folder || kindOf(marker) != Kind::File
            || QFileInfo(marker).size() > kMarkerSizeLimit)
            continue;
        QFile f(marker);
        if (!f.open(QIODevice::ReadOnly))
            continue;
        const std::optional<Marker> m = ParseMarker(f.readAll());
        if (m && m->safetyCopyMade.isValid())
            out.append({ m->safetyCopyMade, numberIn(name), path });
    }
    std::sort(out.begin(), out.end(), [](const MadeCopy& a, const MadeCopy& b) {
        return a.made != b.made ? a.made > b.made : a.number > b.number;
    });
    return out;
}

// Keeps the new copy and the newest others up to kSafetyCopiesKept, and
// the one an import reads from.
void prune(const QString& base, const QString& made, const QString& keep, ErrorTrap& trap)
{
    int kept = 1;
    for (const MadeCopy& c : safetyCopies(base)) {
        if (c.path == made)
            continue;
        if (kept < kSafetyCopiesKept || (!keep.isEmpty() && isAtOrBelow(keep, c.path))) {
            ++kept;
            continue;
        }
        if (!removeTree(c.path))
            trap.log(Err::PermissionDenied);
    }
}

QString failed(const QString& folder, const QString& why)
{
    return u"Die Sicherheitskopie in '%1' konnte nicht angelegt werden:\r\n%2\r\n"
           u"Es wurde nichts gelöscht oder überschrieben."_s.arg(folder, why);
}

} // namespace

SafetyCopyResult MakeSafetyCopy(const Env& env, int content, ErrorTrap& trap, const QString& keep)
{
    const auto p = [&](const QString& rel) { return hostPath(env.programDir, rel); };
    const QString base = p(kSafetyCopiesFolder);
    if (!makeFolder(base)) {
        trap.log(Err::PathFileAccess);
        return { {}, failed(base, u"Der Ordner kann nicht angelegt werden."_s) };
    }
    const QDateTime now = env.clock->now();
    const QString stamp = now.toString(u"yyyy-MM-dd_HH-mm-ss"_s);
    // A second copy in the same second counts on from the newest one of
    // that second, so that the newest copy always has the highest number.
    int number = 0;
    for (const QString& name : entries(base)) {
        if (name.startsWith(stamp))
            number = qMax(number, numberIn(name));
    }
    QString folder = base + u'/' + stamp;
    if (number > 0)
        folder += u'_' + QString::number(number + 1);
    for (int n = number + 2; kindOf(folder) != Kind::Missing; ++n)
        folder = base + u'/' + stamp + u'_' + QString::number(n);
    if (!makeFolder(folder)) {
        trap.log(Err::PathFileAccess);
        return { {}, failed(folder, u"Der Ordner kann nicht angelegt werden."_s) };
    }

    QList<CopiedFile> copies;
    FileFault fault;
    const auto copyIfThere = [&](const QString& rel, const QString& dir, const QString& prefix) {
        const QString from = p(rel);
        if (fault || kindOf(from) == Kind::Missing)
            return;
        const QString name = QFileInfo(from).fileName();
        if (!makeFolder(dir)) {
            fault = { Err::PathFileAccess, FileFault::Writing, prefix + name };
            return;
        }
        const FileDigest d = copy(from, dir + u'/' + name, fault);
        if (fault)
            fault.file = prefix + relName(name);
        else
            copies.append({ prefix + relName(name), from, dir + u'/' + name, d });
    };
    if (content & SafeCosts)
        copyIfThere(kCostLogPath, folder + u"/kosten"_s, u"kosten\\"_s);
    if (content & SafeCatchLog) {
        copyIfThere(kCatchLogPath, folder + u"/fänge"_s, u"fänge\\"_s);
        copyIfThere(kVersionFilePath, folder, QString());
    }
    // Photos are only ever replaced or deleted, never changed in place: a
    // second name for each keeps its bytes without copying them, and holds
    // them already, so only real copies are read back.
    const QString photos = p(kPhotoFolder);
    if ((content & SafePhotos) && !fault && QFileInfo(photos).isDir())
        copyTree(photos, folder + u"/bilder"_s, u"bilder\\"_s, copies, fault,
            { nullptr, true, false, kPhotoWorkFolder });
    if (!fault)
        fault = checkCopies(copies);
    if (!fault) {
        if (const int error
            = writeFile(folder + u"/import"_s, MarkerBytes(now, copies, /*safetyCopy=*/true)))
            fault = { error, FileFault::Writing, u"import"_s };
    }
    if (fault) {
        trap.log(fault.number);
        removeTree(folder);
        return { {}, failed(folder, describe(fault)) };
    }
    prune(base, folder, keep, trap);
    return { folder, {} };
}

bool ReadyToMigrate(const Env& env, qint16 version, ErrorTrap& trap)
{
    if (version != 100 && version != 101)
        return true;
    const SafetyCopyResult copy = MakeSafetyCopy(env, SafeCatchLog, trap);
    if (copy.ok())
        return true;
    // Without a catch file nothing is converted and nothing can be lost.
    if (!FileOps::fileExists(hostPath(env.programDir, kCatchLogPath)))
        return true;
    if (!env.dialogs)
        return false;
    // "Nein" is preselected: a conversion without a way back needs a
    // deliberate choice.
    return env.dialogs->askYesNo(
               u"Die Fangdatenbank liegt in einem älteren Format vor und muss umgewandelt "
               u"werden.\r\n\r\n"_s
                   + copy.problem
                   + u"\r\n\r\nSoll die Fangdatenbank ohne Sicherheitskopie umgewandelt "
                     u"werden?"_s,
               MsgResult::No)
        == MsgResult::Yes;
}
