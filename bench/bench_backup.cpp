// What the user waits for when a full installation (32767 catches, 32767
// purchases, 1000 photos) is exported to a backup folder and imported back
// through the backup window: from "Fortsetzen" to the refreshed main
// window, the questions answered at once. Exits non-zero when a median
// misses its budget or a run did not do what it should.
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
#include <QPushButton>
#include <QTemporaryDir>
#include <QTranslator>

#include <cstdio>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

constexpr int kCapacity = 32767;
constexpr int kPhotos = 1000;
constexpr int kRuns = 5;
constexpr double kBudgetMs = 2000;

// Answers the file dialogs with the folder or file given, and the messages
// announced, in order; anything else is a fault.
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

// Tops the photos of the folder up to kPhotos with copies of one of them,
// named as the program names photos.
int makePhotos(const QString& programDir)
{
    QDir photos(programDir + u"/db/Bilder"_s);
    QStringList names = photos.entryList({ u"*.jpg"_s }, QDir::Files, QDir::Name);
    if (names.isEmpty())
        qFatal("the folder has no photo to copy");
    const QString model = photos.filePath(names.first());
    for (int i = 0; names.size() < kPhotos; ++i) {
        const QString name = u"01.01.1990_%1-%2-00.jpg"_s.arg(i / 60, 2, 10, QChar(u'0'))
                                 .arg(i % 60, 2, 10, QChar(u'0'));
        if (!photos.exists(name) && QFile::copy(model, photos.filePath(name)))
            names.append(name);
    }
    while (names.size() > kPhotos)
        QFile::remove(photos.filePath(names.takeLast()));
    return int(photos.entryList({ u"*.jpg"_s }, QDir::Files).size());
}

int filesBelow(const QString& dir)
{
    int n = 0;
    for (QDirIterator it(dir, QDir::Files, QDirIterator::Subdirectories); it.hasNext(); it.next())
        ++n;
    return n;
}

bool report(const char* figure, const Sample& s)
{
    const double ms = s.median();
    const bool ok = ms >= 0 && ms <= kBudgetMs;
    std::printf("%-56s %10.1f ms   ≤ %.0f ms  %s\n", figure, ms, kBudgetMs, ok ? "pass" : "FAIL");
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
    QTemporaryDir backups;
    const FolderContents c = fillProgramFolder(programDir.path(), kCapacity);
    const int photos = makePhotos(programDir.path());
    std::printf(
        "Program folder: %d catches, %d purchases, %d photos\n", c.catches, c.purchases, photos);

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

    Sample exports, imports;
    const int files = filesBelow(programDir.path() + u"/db"_s);
    for (int run = 0; run < kRuns; ++run) {
        const QString folder = backups.path() + u"/Sicherung %1"_s.arg(run);
        dialogs.path = folder;
        dialogs.expected = { u"Daten erfolgreich exportiert nach"_s };
        exports.add(press("mnuCreateBackup"));
        if (!dialogs.expected.isEmpty() || !QFile::exists(folder + u"/import"_s))
            fault(u"export %1 did not complete"_s.arg(run));
        QDir(folder).removeRecursively();
    }
    const QString folder = backups.path() + u"/Sicherung"_s;
    dialogs.path = folder;
    dialogs.expected = { u"Daten erfolgreich exportiert nach"_s };
    press("mnuCreateBackup");
    const int exported = filesBelow(folder) - 1; // without the marker
    // The first imports fill the safety copies up to those kept; the timed
    // ones each also remove the oldest, as every import after them does.
    for (int run = -kSafetyCopiesKept; run < kRuns; ++run) {
        dialogs.path = folder + u"/import"_s;
        dialogs.expected
            = { u"Die Datenbank(en) wurde(n) am"_s, u"Datenbank(en) erfolgreich importiert!"_s };
        const double ms = press("mnuReadBackup");
        if (run >= 0)
            imports.add(ms);
        if (!dialogs.expected.isEmpty() || app.haupt->cmdFangÜbersicht->text() != shown)
            fault(u"import %1 did not complete"_s.arg(run));
    }
    const int kept = int(QDir(programDir.path() + u"/db/Sicherungen"_s)
                             .entryList(QDir::Dirs | QDir::NoDotAndDotDot)
                             .size());
    if (kept != kSafetyCopiesKept)
        fault(u"%1 safety copies kept"_s.arg(kept));
    std::printf("Backup folder: %d files exported of %d below db; %d safety copies kept\n",
        exported, files, kept);

    std::printf("\n%-56s %13s   %s\n", "Figure (median of 5 runs)", "median", "budget");
    bool ok = report("Export of both logs and photos, with refresh", exports);
    ok &= report("Import of both logs and photos, with refresh", imports);
    if (faultCount() > 0)
        std::printf("%d fault(s): see the lines marked FAULT above\n", faultCount());
    return ok && faultCount() == 0 ? 0 : 1;
}
