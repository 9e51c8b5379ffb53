#include "support/FakeDialogs.h"

#include <QTest>

FakeDialogs::~FakeDialogs()
{
    if (m_answers.isEmpty() && m_problems.isEmpty())
        return;
    if (!QTest::currentTestFunction()) {
        // Past the last test nothing can be failed any more: end the run.
        qFatal("scripted dialogs left unchecked after the last test: %d answer(s) unused, %s",
            int(m_answers.size()), qPrintable(m_problems.join(u"; ")));
    }
    // A test that has failed already gets no second failure.
    if (!QTest::currentTestFailed())
        verifyDone();
}

FakeDialogs::Answer FakeDialogs::take(Kind kind, const QString& what)
{
    if (m_answers.isEmpty() || m_answers.first().kind != kind) {
        m_problems.append(QStringLiteral("unscripted prompt: ") + what);
        // Cancel-like answers keep the code under test from doing harm.
        return { kind, MsgResult::Cancel, {} };
    }
    return m_answers.takeFirst();
}

MsgResult FakeDialogs::message(
    const QString& text, MsgIcon icon, MsgButtons buttons, const QString& title)
{
    m_shown.append({ Kind::Message, text, title, icon, buttons, {}, {}, {} });
    Answer a = take(Kind::Message, text);
    // "expectMessage" answers with the box's natural button.
    const bool yesNo = buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoCancel;
    return a.result == MsgResult::Ok && yesNo ? MsgResult::Yes : a.result;
}

MsgResult FakeDialogs::askYesNo(const QString& text, MsgResult preset, const QString& title)
{
    const MsgResult answer = message(text, MsgIcon::Question, MsgButtons::YesNo, title);
    m_shown.last().preset = preset;
    return answer;
}

QString FakeDialogs::input(const QString& prompt, const QString& title, const QString& preset)
{
    m_shown.append(
        { Kind::Input, prompt, title, MsgIcon::None, MsgButtons::OkCancel, preset, {}, {} });
    return take(Kind::Input, prompt).text;
}

QString FakeDialogs::file(
    Kind kind, const QString& title, const QString& startFolder, const QString& filter)
{
    m_shown.append({ kind, title, title, MsgIcon::None, MsgButtons::Ok, startFolder, filter, {} });
    return take(kind, title).text;
}

QString FakeDialogs::openFile(
    const QString& title, const QString& startFolder, const QString& filter)
{
    return file(Kind::OpenFile, title, startFolder, filter);
}

QString FakeDialogs::saveFile(
    const QString& title, const QString& startFolder, const QString& filter)
{
    return file(Kind::SaveFile, title, startFolder, filter);
}

QString FakeDialogs::chooseFolder(const QString& title, const QString& startFolder)
{
    return file(Kind::Folder, title, startFolder, {});
}

QStringList FakeDialogs::messageTexts() const
{
    QStringList out;
    for (const Shown& s : m_shown) {
        if (s.kind == Kind::Message)
            out.append(s.text);
    }
    return out;
}

bool FakeDialogs::verifyDone()
{
    QString problem = m_problems.join(u'\n');
    if (problem.isEmpty() && !m_answers.isEmpty())
        problem = QStringLiteral("%1 scripted answer(s) never used").arg(m_answers.size());
    clear();
    if (!problem.isEmpty())
        QTest::qFail(qPrintable(problem), __FILE__, __LINE__);
    return problem.isEmpty();
}
