#pragma once

#include "platform/Dialogs.h"

#include <optional>

class QWidget;

// Dialogs shown with Qt's standard message box, input dialog and file dialogs.
class QtDialogs final : public Dialogs {
public:
    MsgResult message(
        const QString& text, MsgIcon icon, MsgButtons buttons, const QString& title) override;
    QString input(const QString& prompt, const QString& title, const QString& preset) override;
    QString openFile(
        const QString& title, const QString& startFolder, const QString& filter) override;
    QString saveFile(
        const QString& title, const QString& startFolder, const QString& filter) override;
    QString chooseFolder(const QString& title, const QString& startFolder) override;
    MsgResult askYesNo(const QString& text, MsgResult preset, const QString& title) override;

private:
    MsgResult show(const QString& text, MsgIcon icon, MsgButtons buttons, const QString& title,
        std::optional<MsgResult> preset);
};

// Turns "Bilddateien (jpg)|*.jpg;*.gif" into Qt's "Bilddateien (jpg) (*.jpg *.gif)". A
// display text that already ends in its patterns, "Importdateien (import)|import", keeps
// them once.
QString qtFileFilter(const QString& filter);

// Opens with the desktop's default application through QDesktopServices.
class QtShell final : public Shell {
public:
    bool open(const QString& fileOrUrl) override;
    bool startProgram(const QString& path) override;
};
