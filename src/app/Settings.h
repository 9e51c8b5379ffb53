#pragma once

#include "platform/Env.h"

#include <QByteArray>

// Window sizes and state kept between runs in "settings.ini". Every field
// is a signed 16-bit number; sizes are in twips.
struct SettingsRecord {
    qint16 OverviewHeight = 0;
    qint16 OverviewWidth = 0;
    qint16 MainHeight = 0;
    qint16 MainWidth = 0;
    qint16 MainWindowState = 0; // 0 normal, 1 minimised, 2 maximised
    // The evaluation window's place and size; a width of 0 means it has
    // never been placed. Files from before the window lack these lines.
    qint16 EvaluationLeft = 0;
    qint16 EvaluationTop = 0;
    qint16 EvaluationWidth = 0;
    qint16 EvaluationHeight = 0;
};

// The values a new settings file holds: every size 1000 twips, state normal.
SettingsRecord DefaultSettings();

// The lines of the file: nine, and the evaluation window's section of five
// after them; firstRunField false writes line 9 as the single character "0"
// (the form the program end uses).
QByteArray SettingsFileBytes(const SettingsRecord& s, qint16 firstRun, bool firstRunField = true);

// Reads the file's text by position: nine fields, the three section lines
// ignored, the six numbers into rec and firstRun; then, when the file goes
// on, the evaluation window's section line and its four numbers. Throws
// RuntimeError at the first field that cannot be read; the fields behind it
// keep their values. A file that ends after line 9 is complete.
void ReadSettingsText(const QString& text, SettingsRecord& rec, qint16& firstRun);

// Settings step of CheckFiles: creates the default file when missing, reads
// it into rec (fields not read keep their values; failures are logged under
// "Sub CheckFiles"), and on the first start asks the window-size question.
void LoadSettings(const Env& env, SettingsRecord& rec);

// Part of the program end: writes the record with line 9 "0".
void SaveSettings(const Env& env, const SettingsRecord& rec);
