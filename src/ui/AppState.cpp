#include "ui/AppState.h"

#include "app/CheckFiles.h"

using namespace Qt::StringLiterals;

void AppState::reloadAfterReplace()
{
    SettingsRecord running = settings;
    CheckFiles(env, running);
    log->reread(u"Sub Änderung"_s);
}
