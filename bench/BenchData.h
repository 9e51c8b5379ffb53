#pragma once

#include <QDateTime>
#include <QString>

// "Now" for every benchmark: no stored date lies after it.
QDateTime benchNow();

struct FolderContents {
    int catches = 0;
    int purchases = 0;
    int photos = 0;
};

// Fills a program folder as a program that has been used for years leaves
// it: the installation layout, a settings file, `count` catches and `count`
// purchases in entry order, and a photo for some catches. The data is the
// same for the same count on every run.
FolderContents fillProgramFolder(const QString& programDir, int count);
