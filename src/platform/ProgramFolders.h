#pragma once

#include <QString>

// Where the program keeps its data and where it reads the files installed
// with it (the help page and the banner).
//
// Portable, as a setup or `make run` leaves it: both are the folder holding
// the executable. Installed by a package: the executable stands in a "bin"
// folder with "../share/kescherheft" beside it; the files installed with it
// are read from there and the data lives in the user's data folder,
// $XDG_DATA_HOME/Kescherheft (~/.local/share/Kescherheft by default), so
// nothing is ever written beside the executable. The layout decides, not
// the permissions: a program run as root may write anywhere.
struct ProgramFolders {
    QString data;
    QString resources;
    bool installed = false;
};

// The rule itself. shareBeside: whether "../share/kescherheft" exists
// beside exeDir. An empty or relative xdgDataHome counts as unset.
ProgramFolders programFolders(
    const QString& exeDir, bool shareBeside, const QString& home, const QString& xdgDataHome);

// The rule applied to the disk and to this process's environment.
ProgramFolders findProgramFolders(const QString& exeDir);
