#pragma once

#include "platform/Clock.h"
#include "platform/Env.h"
#include "support/FakeDialogs.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <initializer_list>
#include <utility>

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
    void write(const QString& relative, const QByteArray& bytes) const; // makes folders
    // Log lines without their date and time: "place\tmessage".
    QStringList logEntries() const;

private:
    QTemporaryDir m_dir;
};

// Record fields to change in a sample: field number (from 1) and new text.
using FieldChanges = std::initializer_list<std::pair<int, QString>>;

// The number of the RuntimeError that f throws; 0 when it returns normally.
int errorNumberOf(const std::function<void()>& f);
// A log file's bytes: every item between double quotes, CR LF, Windows-1252.
QByteArray recordFileBytes(const QStringList& items);
// The 17 fields of a sample catch (2004/05/17, Max, Karpfen*, 12,40 kg,
// 84 cm, ...) and the 8 fields of a sample purchase, with some changed.
QStringList sampleCatch(FieldChanges changes = {});
QStringList sampleCost(FieldChanges changes = {});
// The same as one stored line, fields joined by TAB.
QString sampleCatchLine(FieldChanges changes = {});
QString sampleCostLine(FieldChanges changes = {});
// The sample catch line with another date, angler and species.
QString catchOn(const QString& date, const QString& angler = QStringLiteral("Max"),
    const QString& species = QStringLiteral("Karpfen*"));
// A catch overview row: photo mark, TAB, the fields (date as shown).
QString overviewRow(const QStringList& fields, QChar mark = u' ');
// The overview's list: column header, rule line, then the rows.
QStringList overviewList(const QStringList& rows);

// While it lives, no file this process writes may grow beyond `bytes`: a
// disk that runs full, as a write sees it. Lowers only the soft limit, so
// the old one comes back at the end.
class FileSizeLimit {
public:
    explicit FileSizeLimit(qint64 bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    quint64 m_soft = 0;
};
