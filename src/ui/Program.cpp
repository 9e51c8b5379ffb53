#include "ui/Program.h"

#include "app/InstanceLock.h"
#include "app/UpdaterBuild.h"
#include "platform/Clock.h"
#include "platform/ProgramFolders.h"
#include "platform/qt/QtDialogs.h"
#include "ui/App.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdlib>

using namespace Qt::StringLiterals;

int runProgram(int argc, char** argv, std::optional<qint64> builtAt)
{
    QApplication qapp(argc, argv);
    QApplication::setApplicationName(kAppTitle);
    // Window managers find the menu entry and its icon by this name.
    QGuiApplication::setDesktopFileName(u"de.uferwacht.Kescherheft"_s);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    // Qt's own German texts, so standard buttons read "Ja", "Nein", "Abbrechen".
    QTranslator qtGerman;
    if (qtGerman.load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"),
            QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtGerman);
    QApplication::setQuitOnLastWindowClosed(false);

    SystemClock clock;
    QtDialogs dialogs;
    QtShell shell;
    // Set to check an installation: the program starts, builds its data
    // folder, asks nothing and ends at once as "Beenden" would.
    const bool startOnly = qEnvironmentVariableIsSet("KESCHERHEFT_QUIT_AFTER_START");
    const ProgramFolders folders = findProgramFolders(QApplication::applicationDirPath());
    Env env { folders.data, &clock, startOnly ? nullptr : &dialogs, &shell, folders.resources };
    // The user's data folder of an installed program may not exist yet; the
    // lock and the start-up check need it.
    if (!QDir().mkpath(env.programDir)) {
        if (env.dialogs)
            env.dialogs->message(
                u"Der Datenordner \"%1\" kann nicht angelegt werden."_s.arg(env.programDir),
                MsgIcon::Warning);
        return 1;
    }

    const InstanceLock lock(env.programDir);
    if (!lock.acquired()) {
        if (env.dialogs)
            env.dialogs->message(kAlreadyRunning, MsgIcon::Warning);
        return 1;
    }

    App app(env, [] { QApplication::exit(0); });
    app.state.build = { QApplication::applicationFilePath(), builtAt };
    app.state.updater = kUpdaterBuilt;
    app.Main();
    if (startOnly)
        app.EndProgram();
    if (app.ended())
        return 0;
    return QApplication::exec();
}
