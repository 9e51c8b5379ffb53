#include "platform/ProgramFolders.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

QString shareFolder(const QString& exeDir)
{
    return QDir::cleanPath(exeDir + u"/../share/kescherheft"_s);
}

} // namespace

ProgramFolders programFolders(
    const QString& exeDir, bool shareBeside, const QString& home, const QString& xdgDataHome)
{
    const QString dir = QDir::cleanPath(exeDir);
    if (!shareBeside || QFileInfo(dir).fileName() != u"bin"_s)
        return { dir, dir, false };
    const QString dataHome = QDir::isAbsolutePath(xdgDataHome)
        ? QDir::cleanPath(xdgDataHome)
        : QDir::cleanPath(home + u"/.local/share"_s);
    return { dataHome + u"/Kescherheft"_s, shareFolder(dir), true };
}

ProgramFolders findProgramFolders(const QString& exeDir)
{
    return programFolders(exeDir, QFileInfo(shareFolder(exeDir)).isDir(), QDir::homePath(),
        qEnvironmentVariable("XDG_DATA_HOME"));
}
