#include "ui/Program.h"

#include "app/InstanceLock.h"
#include "platform/Clock.h"
#include "platform/qt/QtDialogs.h"
#include "ui/App.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdlib>

int runProgram(int argc, char** argv, std::optional<qint64> builtAt)
{
    QApplication qapp(argc, argv);
    QApplication::setApplicationName(kAppTitle);
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
    Env env { QApplication::applicationDirPath(), &clock, &dialogs, &shell };

    const InstanceLock lock(env.programDir);
    if (!lock.acquired()) {
        static_cast<Dialogs&>(dialogs).message(kAlreadyRunning, MsgIcon::Warning);
        return 1;
    }

    App app(env, [] { QApplication::exit(0); });
    app.state.build = { QApplication::applicationFilePath(), builtAt };
    app.Main();
    if (app.ended())
        return 0;
    return QApplication::exec();
}
