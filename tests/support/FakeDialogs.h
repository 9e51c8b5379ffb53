#pragma once

#include "platform/Dialogs.h"

#include <QList>
#include <QString>

#include <optional>

// Scripted dialogs for tests: every prompt is recorded, answers come from a
// queue, and a prompt nobody scripted fails the test.
class FakeDialogs final : public Dialogs {
public:
    enum class Kind { Message, Input, OpenFile, SaveFile, Folder };

    FakeDialogs() = default;
    FakeDialogs(const FakeDialogs&) = delete;
    FakeDialogs& operator=(const FakeDialogs&) = delete;
    // Fails the running test when a scripted answer was never used or a
    // prompt nobody scripted was shown, so that no test passes with either
    // unnoticed, whether or not it checks the dialogs itself.
    ~FakeDialogs() override;

    struct Shown {
        Kind kind;
        QString text; // message text or prompt
        QString title; // as given (empty = application title)
        MsgIcon icon = MsgIcon::None;
        MsgButtons buttons = MsgButtons::Ok;
        QString startFolder;
        QString filter;
        std::optional<MsgResult> preset; // the preselected button of askYesNo
    };

    // Queue the answer to the next message box.
    void answer(MsgResult r) { m_answers.append({ Kind::Message, r, {} }); }
    // Queue the next message box answered with its only/default button.
    void expectMessage() { answer(MsgResult::Ok); }
    void answerInput(const QString& text) { queue(Kind::Input, text); }
    void answerOpenFile(const QString& path) { queue(Kind::OpenFile, path); }
    void answerSaveFile(const QString& path) { queue(Kind::SaveFile, path); }
    void answerFolder(const QString& path) { queue(Kind::Folder, path); }

    MsgResult message(
        const QString& text, MsgIcon icon, MsgButtons buttons, const QString& title) override;
    QString input(const QString& prompt, const QString& title, const QString& preset) override;
    QString openFile(
        const QString& title, const QString& startFolder, const QString& filter) override;
    QString saveFile(
        const QString& title, const QString& startFolder, const QString& filter) override;
    QString chooseFolder(const QString& title, const QString& startFolder) override;
    // Answered from the message queue like message().
    MsgResult askYesNo(const QString& text, MsgResult preset, const QString& title) override;

    const QList<Shown>& shown() const { return m_shown; }
    QStringList messageTexts() const;
    bool allAnswered() const { return m_answers.isEmpty(); }
    // Unscripted or wrongly scripted prompts seen so far (each also QFAILs
    // the running test through verifyDone()).
    const QStringList& problems() const { return m_problems; }
    void clear()
    {
        m_shown.clear();
        m_answers.clear();
        m_problems.clear();
    }

    // For cleanup(): fails the test when answers are left or prompts were
    // unexpected. Returns true when all is well.
    bool verifyDone();

private:
    struct Answer {
        Kind kind;
        MsgResult result;
        QString text;
    };
    Answer take(Kind kind, const QString& what);
    void queue(Kind kind, const QString& text) { m_answers.append({ kind, MsgResult::Ok, text }); }
    QString file(
        Kind kind, const QString& title, const QString& startFolder, const QString& filter);

    QList<Answer> m_answers;
    QList<Shown> m_shown;
    QStringList m_problems;
};

class FakeShell final : public Shell {
public:
    bool open(const QString& fileOrUrl) override
    {
        opened.append(fileOrUrl);
        return openSucceeds;
    }
    bool startProgram(const QString& path) override
    {
        started.append(path);
        return startSucceeds;
    }
    QStringList opened;
    QStringList started;
    bool openSucceeds = true; // false: as if no default application could be started
    bool startSucceeds = true; // false: every program fails to start
};
