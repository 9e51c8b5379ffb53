#include "app/InstanceLock.h"

#include <QDir>

InstanceLock::InstanceLock(const QString& programDir)
    : m_lock(QDir(programDir).filePath(fileName()))
{
    // A lock is never given up while its program runs; one whose process
    // is gone is stale at once.
    m_lock.setStaleLockTime(0);
    m_acquired = m_lock.tryLock(0);
}

QString InstanceLock::fileName()
{
    return QStringLiteral("kescherheft.lock");
}
