#include "app/CheckFiles.h"

#include "app/Journal.h"
#include "app/SafetyCopy.h"
#include "app/Settings.h"
#include "app/UpdateDB.h"
#include "platform/Cp1252.h"
#include "platform/Dialogs.h"
#include "platform/ErrorLog.h"
#include "platform/FileOps.h"
#include "platform/Paths.h"
#include "store/Numbers.h"
#include "store/RecordFile.h"

namespace {

constexpr qint16 kDbVersion = 102;

// The first value of "db\db.ver": the text up to the first line end or comma.
qint16 readVersion(const QString& path)
{
    const QString text = decode1252(readAllBytes(path));
    QString first = text.section(u'\n', 0, 0).section(u',', 0, 0);
    first.remove(u'\r');
    return ParseInt16(first);
}

} // namespace

StartCheck CheckFiles(const Env& env, SettingsRecord& settings)
{
    ErrorTrap trap(env, QStringLiteral("Sub CheckFiles"));
    const auto p = [&](const QString& rel) { return hostPath(env.programDir, rel); };
    const QString log = QStringLiteral("kescherheft.log");

    trap.step([&] {
        if (!FileOps::exists(p(log)))
            FileOps::createEmptyFile(p(log));
    });
    trap.step([&] {
        if (FileOps::length(p(log)) > kErrorLogLimit)
            FileOps::createEmptyFile(p(log));
    });
    WriteLog(env, QStringLiteral("PROGRAMM"), QStringLiteral("Start"));

    // An import, export or reset that a crash interrupted is completed or
    // undone before anything else looks at the files.
    trap.step([&] {
        const Recovery recovery = RecoverUnfinished(env);
        if (recovery.status != Recovery::Nothing && env.dialogs)
            env.dialogs->message(recovery.message,
                recovery.status == Recovery::Failed ? MsgIcon::Warning : MsgIcon::Information);
    });

    trap.step([&] {
        if (FileOps::exists(p(QStringLiteral("setup.exe"))))
            FileOps::deleteFile(p(QStringLiteral("setup.exe")));
    });
    // Report pages of the last run; the dummy guarantees a match.
    trap.step([&] { FileOps::createEmptyFile(p(QStringLiteral("dummy.html"))); });
    trap.step([&] { FileOps::deleteByPattern(env.programDir, QStringLiteral("*.html")); });

    const auto ensureDir = [&](const QString& check, const QString& create) {
        trap.step([&] {
            if (!FileOps::dirExists(p(check)))
                FileOps::createDir(p(create));
        });
    };
    ensureDir(QStringLiteral("db"), QStringLiteral("db"));
    ensureDir(kCostFolder, QStringLiteral("db\\Kosten"));
    ensureDir(kCatchFolder, QStringLiteral("db\\Fänge"));
    ensureDir(kPhotoFolder, QStringLiteral("db\\Bilder"));

    trap.step([&] {
        if (!FileOps::exists(p(kCatchLogPath))) {
            FileOps::createEmptyFile(p(kCatchLogPath));
            // A fresh installation starts at the current format.
            FileOps::replaceFile(p(kVersionFilePath), QByteArrayLiteral("102\r\n"));
        }
    });
    trap.step([&] {
        if (!FileOps::exists(p(kCostLogPath)))
            FileOps::createEmptyFile(p(kCostLogPath));
    });
    trap.step([&] {
        if (!FileOps::exists(p(kPhotoFolder + QStringLiteral("\\DUMMY.txt"))))
            FileOps::replaceFile(p(kPhotoFolder + QStringLiteral("\\DUMMY.txt")),
                encode1252(QStringLiteral("Please don't delete this File!\r\n"
                                          "Bitte diese Datei nicht löschen!\r\n")));
    });

    bool end = false;
    trap.step([&] {
        const QString ver = p(kVersionFilePath);
        qint16 version = 0;
        if (!FileOps::exists(ver)) {
            version = 100;
        } else {
            // An unreadable number leaves the version at 0: the migration
            // then does nothing.
            trap.step([&] { version = readVersion(ver); });
            if (version >= kDbVersion)
                return;
        }
        // The old catch file is copied aside first, so that a conversion
        // that goes wrong can be undone by importing the copy.
        if (ReadyToMigrate(env, version, trap))
            UpdateDB(env, version);
        else
            end = true;
    });
    if (end)
        return StartCheck::End;

    LoadSettings(env, settings);
    return StartCheck::GoOn;
}
