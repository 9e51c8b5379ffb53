#pragma once

#include <QLockFile>
#include <QString>

// Keeps a second program away from the same program folder for as long as
// it lives: two programs on one set of log files would each write back
// lists that lack the other's changes. The lock file names the holding
// process, so the lock of a program that crashed is taken over.
class InstanceLock {
public:
    explicit InstanceLock(const QString& programDir);
    // False when another running program holds the folder.
    bool acquired() const { return m_acquired; }

    static QString fileName();

private:
    QLockFile m_lock;
    bool m_acquired = false;
};

// The message shown to a second start on the same folder.
inline const QString kAlreadyRunning
    = QStringLiteral("Das Digitale Kescherheft ist bereits geöffnet.\r\n"
                     "Es kann nur einmal zur selben Zeit mit denselben Daten laufen.");
