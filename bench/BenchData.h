#pragma once

#include <QString>

// Fills a program folder with the installation layout, a catch file and a
// cost file of `count` records each, and photos for some of the catches.
// The catches are in entry order: mostly by date, some entered late.
// Returns the number of photos written.
int fillProgramFolder(const QString& programDir, int count);
