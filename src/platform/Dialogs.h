#pragma once

#include <QString>

enum class MsgIcon { None, Information, Warning, Question, Critical };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgResult { Ok, Cancel, Yes, No };

// The program's only way to ask the user something. Production shows Qt
// dialogs; tests script the answers.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // An empty title means the application title.
    virtual MsgResult message(const QString& text, MsgIcon icon,
        MsgButtons buttons = MsgButtons::Ok, const QString& title = QString())
        = 0;
    // Returns the typed text, or an empty text when cancelled.
    virtual QString input(
        const QString& prompt, const QString& title = QString(), const QString& preset = QString())
        = 0;
    // filter: "display text|*.a;*.b". Returns the chosen path or "" when cancelled.
    virtual QString openFile(
        const QString& title, const QString& startFolder, const QString& filter)
        = 0;
    // startFolder may end in the file name to suggest.
    virtual QString saveFile(
        const QString& title, const QString& startFolder, const QString& filter)
        = 0;
    // An existing folder, chosen as a folder (a save dialog would open it
    // instead of returning it). Returns its path or "" when cancelled.
    virtual QString chooseFolder(const QString& title, const QString& startFolder) = 0;
    // A Yes/No question with the question icon whose preselected button (the
    // one Enter presses) is `preset`. Where that cannot be chosen it is
    // asked as message() asks it.
    virtual MsgResult askYesNo(
        const QString& text, MsgResult preset, const QString& title = QString())
    {
        Q_UNUSED(preset);
        return message(text, MsgIcon::Question, MsgButtons::YesNo, title);
    }
};

// Opens documents and web addresses with the desktop's default application
// and starts programs.
class Shell {
public:
    virtual ~Shell() = default;
    virtual bool open(const QString& fileOrUrl) = 0;
    virtual bool startProgram(const QString& path) = 0;
};
