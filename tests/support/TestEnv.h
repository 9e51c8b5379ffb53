#pragma once

#include "platform/Clock.h"
#include "platform/Env.h"
#include "support/FakeDialogs.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A temporary program directory with a fixed clock, scripted dialogs and a
// recording shell. Each test makes its own.
class TestEnv {
public:
    TestEnv();
    Env env;
    FixedClock clock;
    FakeDialogs dialogs;
    FakeShell shell;

    QString dir() const { return m_dir.path(); }
    // Host path of a program-relative backslash path.
    QString path(const QString& relative) const;
    QByteArray read(const QString& relative) const;
    void write(const QString& relative, const QByteArray& bytes) const;  // makes folders
    // Log lines without their date and time: "place\tmessage".
    QStringList logEntries() const;

private:
    QTemporaryDir m_dir;
};
