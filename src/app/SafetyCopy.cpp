#include "app/SafetyCopy.h"

#include "app/BackupFiles.h"
#include "app/BackupMarker.h"
#include "platform/Clock.h"
#include "platform/ErrorLog.h"
#include "platform/FileOps.h"
#include "platform/Paths.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// A safety copy's folder name: its time, and a number when more than one
// was made in the same second.
const QRegularExpression kCopyName(u"^(\\d{4}-\\d{2}-\\d{2}_\\d{2}-\\d{2}-\\d{2})(?:_(\\d+))?$"_s);

struct CopyName {
    QString time;
    int number = 1;
    QString name;
};

QList<CopyName> safetyCopies(const QString& base)
{
    QList<CopyName> out;
    for (const QString& name : QDir(base).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QRegularExpressionMatch m = kCopyName.match(name);
        if (m.hasMatch())
            out.append(
                { m.captured(1), m.captured(2).isEmpty() ? 1 : m.captured(2).toInt(), name });
    }
    std::sort(out.begin(), out.end(), [](const CopyName& a, const CopyName& b) {
        return a.time != b.time ? a.time > b.time : a.number > b.number;
    });
    return out;
}

void prune(const QString& base, const QString& made, const QString& keep, ErrorTrap& trap)
{
    const QList<CopyName> copies = safetyCopies(base);
    for (qsizetype i = kSafetyCopiesKept; i < copies.size(); ++i) {
        const QString path = base + u'/' + copies[i].name;
        if (path == made || (!keep.isEmpty() && BackupFiles::isAtOrBelow(keep, path)))
            continue;
        if (!QDir(path).removeRecursively())
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
    if (!BackupFiles::makeFolder(base)) {
        trap.log(Err::PathFileAccess);
        return { {}, failed(base, u"Der Ordner kann nicht angelegt werden."_s) };
    }
    const QDateTime now = env.clock->now();
    const QString stamp = now.toString(u"yyyy-MM-dd_HH-mm-ss"_s);
    // A second copy in the same second counts on from the newest one of
    // that second, so that the newest copy always sorts first.
    int number = 0;
    for (const CopyName& c : safetyCopies(base)) {
        if (c.time == stamp)
            number = qMax(number, c.number);
    }
    QString folder = base + u'/' + stamp;
    if (number > 0)
        folder += u'_' + QString::number(number + 1);
    for (int n = number + 2; QFileInfo::exists(folder); ++n)
        folder = base + u'/' + stamp + u'_' + QString::number(n);
    if (!QDir().mkdir(folder)) {
        trap.log(Err::PathFileAccess);
        return { {}, failed(folder, u"Der Ordner kann nicht angelegt werden."_s) };
    }

    QList<CopiedFile> copies;
    FileFault fault;
    const auto copyIfThere
        = [&](const QString& rel, const QString& dir, const QString& name, const QString& prefix) {
              const QString from = p(rel);
              if (fault || !QFileInfo(from).isFile())
                  return;
              if (!BackupFiles::makeFolder(dir))
                  fault = { Err::PathFileAccess, FileFault::Writing, prefix + name };
              else
                  BackupFiles::copyFile(from, dir, name, prefix, copies, fault);
          };
    if (content & SafeCosts)
        copyIfThere(u"db\\kosten\\db"_s, folder + u"/kosten"_s, u"db"_s, u"kosten\\"_s);
    if (content & SafeCatchLog) {
        copyIfThere(u"db\\fänge\\db"_s, folder + u"/fänge"_s, u"db"_s, u"fänge\\"_s);
        copyIfThere(u"db\\db.ver"_s, folder, u"db.ver"_s, QString());
    }
    if ((content & SafePhotos) && !fault && QFileInfo(p(u"db\\bilder"_s)).isDir())
        BackupFiles::copyTree(
            p(u"db\\bilder"_s), folder + u"/bilder"_s, u"bilder\\"_s, copies, fault);
    if (!fault)
        fault = BackupFiles::checkCopies(copies);
    if (!fault) {
        if (const int error = writeAtomically(folder + u"/import"_s, MarkerBytes(now, copies)))
            fault = { error, FileFault::Writing, u"import"_s };
    }
    if (fault) {
        trap.log(fault.number);
        QDir(folder).removeRecursively();
        return { {}, failed(folder, BackupFiles::describe(fault)) };
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
    if (!FileOps::fileExists(hostPath(env.programDir, u"db\\fänge\\db"_s)))
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
