// What the user waits for when a full installation (32767 catches, 32767
// purchases, 1000 photos of 1 MiB each) is exported to a backup folder and
// imported back through the backup window: from "Fortsetzen" to the
// refreshed main window, the questions answered at once.
//
// Each figure is judged as a ratio to a floor measured in the same run:
// the least a verified copy of the same folder must do, copying the
// program's "db" folder with `cp -a` and reading every copy back through
// `sha256sum`, on the file system the backups go to. Absolute times on a
// shared machine vary with its load, the ratio far less. Exits non-zero
// when a ratio exceeds kMaxRatio or a run did not do what it should.
#include "BenchData.h"
#include "BenchSupport.h"

#include "app/SafetyCopy.h"
#include "platform/Clock.h"
#include "platform/Env.h"
#include "ui/App.h"
#include "ui/frmBackup.h"
#include "ui/frmHaupt.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QPair>
#include <QProcess>
#include <QPushButton>
#include <QSet>
#include <QTemporaryDir>
#include <QTranslator>

#include <cstdio>
#include <cstring>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int kCapacity = 32767;
constexpr int kPhotos = 1000;
constexpr qsizetype kPhotoBytes = qsizetype(1) << 20;
// Every timed run copies and hashes a gigabyte at least once; three runs
// of each, the fewest whose median sets one stray run aside, keep the
// benchmark within a few minutes.
constexpr int kRuns = 3;
constexpr double kMaxRatio = 3.0;

// Answers every question for a file or folder with `path`, and the
// messages announced, in order; anything else is a fault.
class BackupDialogs final : public Dialogs {
public:
    QString path;
    QStringList expected; // message texts, each starting as given
    MsgResult message(const QString& text, MsgIcon, MsgButtons, const QString&) override
    {
        if (expected.isEmpty() || !text.startsWith(expected.first())) {
            fault(u"unexpected message: "_s + text);
            return MsgResult::Cancel;
        }
        expected.removeFirst();
        // The reset question after an export is answered No.
        return text.contains(u"zurücksetzen?"_s) ? MsgResult::No : MsgResult::Yes;
    }
    QString input(const QString& prompt, const QString&, const QString&) override
    {
        fault(u"unexpected input: "_s + prompt);
        return {};
    }
    QString openFile(const QString&, const QString&, const QString&) override { return path; }
    QString saveFile(const QString&, const QString&, const QString&) override { return path; }
    QString chooseFolder(const QString&, const QString&) override { return path; }
};

// The bytes of photo number `index`: a JPEG's first and last markers around
// pseudo-random bytes (splitmix64 from a seed of its own), as incompressible
// as the image data of a real photo and different in every photo, so that
// no copy on the way can compress or share them. The same on every run.
void fillPhoto(QByteArray& bytes, quint64 index)
{
    quint64 state = 0x4b65736368657231ULL ^ (index * 0xd1342543de82ef95ULL);
    char* out = bytes.data();
    for (qsizetype at = 0; at + 8 <= bytes.size(); at += 8) {
        quint64 z = (state += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        z ^= z >> 31;
        std::memcpy(out + at, &z, sizeof z);
    }
    std::memcpy(out, "\xff\xd8\xff\xe0", 4);
    std::memcpy(out + bytes.size() - 2, "\xff\xd9", 2);
}

// Leaves exactly kPhotos photos in the folder, named as the program names
// them: those of the catches first, then made-up ones of a day without
// catches. Each is rewritten with kPhotoBytes bytes of its own, one write
// per photo. Returns the number of photos found afterwards with that
// length.
int makePhotos(const QString& programDir)
{
    QDir photos(programDir + u"/db/Bilder"_s);
    QStringList names = photos.entryList({ u"*.jpg"_s }, QDir::Files, QDir::Name);
    while (names.size() > kPhotos)
        QFile::remove(photos.filePath(names.takeLast()));
    for (int i = 0; names.size() < kPhotos; ++i) {
        const QString name = u"01.01.1990_%1-%2-00.jpg"_s.arg(i / 60, 2, 10, QChar(u'0'))
                                 .arg(i % 60, 2, 10, QChar(u'0'));
        if (!names.contains(name))
            names.append(name);
    }

    QByteArray bytes(kPhotoBytes, Qt::Uninitialized);
    QSet<QByteArray> starts; // each photo's first random bytes, to show they differ
    for (qsizetype i = 0; i < names.size(); ++i) {
        fillPhoto(bytes, quint64(i));
        starts.insert(bytes.mid(4, 32));
        QFile f(photos.filePath(names.at(i)));
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)
            || f.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(f.fileName()));
    }
    if (starts.size() != names.size())
        fault(u"only %1 of %2 photos differ"_s.arg(starts.size()).arg(names.size()));

    int whole = 0;
    for (const QFileInfo& fi : photos.entryInfoList({ u"*.jpg"_s }, QDir::Files))
        whole += fi.size() == kPhotoBytes ? 1 : 0;
    return whole;
}

struct Usage {
    int files = 0;
    qint64 bytes = 0;
};

Usage usageBelow(const QString& dir)
{
    Usage u;
    for (QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
         it.hasNext();) {
        it.next();
        ++u.files;
        u.bytes += it.fileInfo().size();
    }
    return u;
}

// The room the files below the folders take on the disk, each file counted
// once however many names it has.
qint64 bytesOnDisk(const QStringList& dirs)
{
    QSet<QPair<quint64, quint64>> seen;
    qint64 bytes = 0;
    for (const QString& dir : dirs) {
        for (QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
             it.hasNext();) {
            struct stat st;
            if (::lstat(QFile::encodeName(it.next()).constData(), &st) != 0)
                continue;
            const QPair<quint64, quint64> file { quint64(st.st_dev), quint64(st.st_ino) };
            if (!seen.contains(file)) {
                seen.insert(file);
                bytes += qint64(st.st_blocks) * 512;
            }
        }
    }
    return bytes;
}

double mib(qint64 bytes)
{
    return double(bytes) / double(1 << 20);
}

// The floor: `cp -a` of the folder `db` to `copy` (which must not exist)
// and one `sha256sum` pass over every file of the copy, both as processes,
// timed as a whole. The copy is checked and removed afterwards, outside the
// timing. A floor that copied or hashed less than the folder holds would
// flatter every ratio, so such a run is a fault and gives -1.
double copyAndHashMs(const QString& db, const QString& copy, const Usage& expected)
{
    QProcess sh;
    sh.setProgram(u"sh"_s);
    // One line of sha256sum per file reaches the benchmark, which counts them.
    sh.setArguments(
        { u"-c"_s, u"cp -a \"$1\" \"$2\" && find \"$2\" -type f -print0 | xargs -0 -r sha256sum"_s,
            u"sh"_s, db, copy });
    sh.setStandardInputFile(QProcess::nullDevice());
    QElapsedTimer t;
    t.start();
    sh.start();
    const bool finished = sh.waitForFinished(-1);
    const double ms = elapsedMs(t);

    const QByteArray hashes = sh.readAllStandardOutput();
    const Usage copied = usageBelow(copy);
    QString problem;
    if (!finished || sh.exitStatus() != QProcess::NormalExit || sh.exitCode() != 0)
        problem = u"ended with %1: %2"_s.arg(sh.exitCode())
                      .arg(QString::fromLocal8Bit(sh.readAllStandardError()).trimmed());
    else if (copied.files != expected.files || copied.bytes != expected.bytes)
        problem = u"copied %1 files of %2 bytes, not %3 of %4"_s.arg(copied.files)
                      .arg(copied.bytes)
                      .arg(expected.files)
                      .arg(expected.bytes);
    else if (hashes.count('\n') != expected.files)
        problem = u"hashed %1 files of %2"_s.arg(hashes.count('\n')).arg(expected.files);
    if (!QDir(copy).removeRecursively())
        problem += u" (and the copy could not be removed)"_s;
    if (!problem.isEmpty()) {
        fault(u"floor: "_s + problem);
        return -1;
    }
    return ms;
}

// The names of the safety copies in the program folder.
QStringList safetyCopies(const QString& programDir)
{
    return QDir(programDir + u"/db/Sicherungen"_s)
        .entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
}

bool report(const char* figure, const Sample& s, double floorMs)
{
    const double ms = s.median();
    const double ratio = ms >= 0 && floorMs > 0 ? ms / floorMs : -1;
    const bool ok = ratio >= 0 && ratio <= kMaxRatio;
    std::printf("%-56s %10.1f ms %6.2f × floor ≤ %.1f  %s\n", figure, ms, ratio, kMaxRatio,
        ok ? "pass" : "FAIL");
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    quietOffscreenNotes();
    QApplication qapp(argc, argv);
    QTranslator qtGerman;
    setUpGermanApplication(qtGerman);

    QTemporaryDir programDir;
    QTemporaryDir backups; // the export target; the floor copies go here as well
    const QString db = programDir.path() + u"/db"_s;
    const FolderContents c = fillProgramFolder(programDir.path(), kCapacity);
    QElapsedTimer making;
    making.start();
    const int photos = makePhotos(programDir.path());
    std::printf("Program folder: %d catches, %d purchases, %d photos of %lld bytes "
                "(written in %.1f s)\n",
        c.catches, c.purchases, photos, qint64(kPhotoBytes), elapsedMs(making) / 1000);
    if (photos != kPhotos)
        fault(u"%1 photos of %2 bytes made, not %3"_s.arg(photos).arg(kPhotoBytes).arg(kPhotos));

    FixedClock clock(benchNow());
    BackupDialogs dialogs;
    App app(Env { programDir.path(), &clock, &dialogs, nullptr }, [] {});
    app.Main();
    settle();
    const QString shown = app.haupt->cmdFangÜbersicht->text();
    if (shown != u"Gefangene Fische: %1"_s.arg(kCapacity))
        qFatal("the program did not start on the full folder: %s", qPrintable(shown));

    const auto press = [&](const char* entry) {
        app.haupt->findChild<QAction*>(QString::fromLatin1(entry))->trigger();
        frmBackup* w = app.haupt->findChild<frmBackup*>();
        QElapsedTimer t;
        t.start();
        w->cmdSave->click();
        settle();
        return elapsedMs(t);
    };

    // What an export copies: below "db" there is nothing else yet.
    const Usage original = usageBelow(db);
    std::printf("Below db: %d files, %.1f MiB\n", original.files, mib(original.bytes));

    // The floor runs take turns with the exports, before the imports leave
    // safety copies below "db" that no export copies; which of the two goes
    // first alternates, so that neither always finds the other's writes
    // still going out to the disk.
    Sample floor, exports, imports;
    QString folder;
    for (int run = 0; run < kRuns; ++run) {
        if (!folder.isEmpty())
            QDir(folder).removeRecursively();
        folder = backups.path() + u"/Sicherung %1"_s.arg(run);
        const auto measureFloor = [&] {
            const double ms = copyAndHashMs(db, backups.path() + u"/Kopie"_s, original);
            if (ms >= 0)
                floor.add(ms);
        };
        if (run % 2 == 0)
            measureFloor();
        dialogs.path = folder;
        dialogs.expected = { u"Daten erfolgreich exportiert nach"_s };
        exports.add(press("mnuCreateBackup"));
        if (!dialogs.expected.isEmpty() || !QFile::exists(folder + u"/import"_s))
            fault(u"export %1 did not complete"_s.arg(run));
        if (run % 2 == 1)
            measureFloor();
    }
    // The last backup is imported; it holds what was below "db".
    const Usage backup = usageBelow(folder);
    if (backup.files != original.files + 1) // and the marker
        fault(u"the backup holds %1 files, not %2 and the marker"_s.arg(backup.files)
                  .arg(original.files));

    // The safety copies earlier imports would have left are put in place
    // first, dated the day before: the backup's files under a second name
    // (a safety copy has the layout of a backup). Each timed import then
    // also removes the oldest, as every import does once kSafetyCopiesKept
    // copies are kept. Made by importing, or as copies, they would take
    // longer than the timed runs and leave gigabytes for the disk to write
    // while those run; copies made long ago are on the disk already.
    QDir().mkpath(db + u"/Sicherungen"_s);
    for (int n = 0; n < kSafetyCopiesKept; ++n) {
        const QString earlier = db + u"/Sicherungen/"_s
            + benchNow().addDays(-1).addSecs(n).toString(u"yyyy-MM-dd_HH-mm-ss"_s);
        if (QProcess::execute(u"cp"_s, { u"-al"_s, folder, earlier }) != 0
            || usageBelow(earlier).bytes != backup.bytes)
            fault(u"cannot link the backup's files into %1"_s.arg(earlier));
        // A safety copy's marker says that it is one and when it was made;
        // a new file, since the linked one is the backup's.
        QFile marker(earlier + u"/import"_s);
        marker.open(QIODevice::ReadOnly);
        QByteArray bytes = marker.readAll();
        marker.close();
        const qsizetype afterTime = bytes.indexOf('\n', bytes.indexOf('\n') + 1) + 1;
        bytes.insert(afterTime,
            "#Sicherheitskopie "
                + benchNow()
                      .addDays(-1)
                      .addSecs(n)
                      .toString(u"yyyy-MM-dd HH:mm:ss.zzz"_s)
                      .toLatin1()
                + "#\r\n");
        if (!QFile::remove(marker.fileName()) || !marker.open(QIODevice::WriteOnly)
            || marker.write(bytes) != bytes.size())
            fault(u"cannot mark %1 as a safety copy"_s.arg(earlier));
    }
    for (int run = 0; run < kRuns; ++run) {
        const QStringList before = safetyCopies(programDir.path());
        dialogs.path = folder + u"/import"_s;
        dialogs.expected
            = { u"Die Datenbank(en) wurde(n) am"_s, u"Datenbank(en) erfolgreich importiert!"_s };
        imports.add(press("mnuReadBackup"));
        if (!dialogs.expected.isEmpty() || app.haupt->cmdFangÜbersicht->text() != shown)
            fault(u"import %1 did not complete"_s.arg(run));
        // Each import adds one safety copy and keeps no more than
        // kSafetyCopiesKept.
        const QStringList after = safetyCopies(programDir.path());
        qsizetype added = 0;
        for (const QString& name : after)
            added += before.contains(name) ? 0 : 1;
        if (added != 1 || after.size() != qMin(before.size() + 1, qsizetype(kSafetyCopiesKept)))
            fault(u"import %1 left the safety copies %2 after %3"_s.arg(run).arg(
                after.join(u", "_s), before.join(u", "_s)));
    }

    // Disk use: the program folder holds its own files and the safety
    // copies, each about as large; the staging folder of the imports is
    // gone.
    const Usage program = usageBelow(programDir.path());
    const Usage afterImports = usageBelow(db);
    const Usage kept = usageBelow(db + u"/Sicherungen"_s);
    const int copies = int(safetyCopies(programDir.path()).size());
    if (copies != kSafetyCopiesKept)
        fault(u"%1 safety copies kept"_s.arg(copies));
    if (afterImports.bytes - kept.bytes != original.bytes
        || kept.bytes > kSafetyCopiesKept * (original.bytes + (qint64(1) << 20)))
        fault(u"below db %1 bytes, of them %2 in safety copies; %3 expected without them"_s
                  .arg(afterImports.bytes)
                  .arg(kept.bytes)
                  .arg(original.bytes));
    if (QFileInfo::exists(db + u"/Einlesen"_s))
        fault(u"the staging folder of the imports is left behind"_s);
    std::printf("Backup folder: %d files exported of %d below db; %d safety copies kept\n",
        backup.files - 1, original.files, copies);
    std::printf("Files at the end: program folder %.1f MiB (%.1f MiB in safety copies), "
                "backups %.1f MiB; %.1f MiB on the disk, each file counted once\n",
        mib(program.bytes), mib(kept.bytes), mib(usageBelow(backups.path()).bytes),
        mib(bytesOnDisk({ programDir.path(), backups.path() })));

    std::printf("\n%-56s %13s %6s\n", qPrintable(u"Figure (median of %1 runs)"_s.arg(kRuns)),
        "median", "ratio");
    const double floorMs = floor.median();
    bool ok = report("Export of both logs and photos, with refresh", exports, floorMs);
    ok &= report("Import of both logs and photos, with refresh", imports, floorMs);
    std::printf("%-56s %10.1f ms\n", "Floor: cp -a db + sha256sum of the copy", floorMs);
    if (faultCount() > 0)
        std::printf("%d fault(s): see the lines marked FAULT above\n", faultCount());
    return ok && faultCount() == 0 ? 0 : 1;
}
