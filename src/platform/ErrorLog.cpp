#include "platform/ErrorLog.h"

#include "platform/Clock.h"
#include "platform/Cp1252.h"
#include "platform/Paths.h"

#include <QFile>

void WriteLog(const Env& env, const QString& place, const QString& message)
{
    const QDateTime now = env.clock ? env.clock->now() : QDateTime::currentDateTime();
    // German short date and long time, fixed here rather than taken from the host.
    const QString line = now.toString(QStringLiteral("dd.MM.yyyy")) + u'\t'
                         + now.toString(QStringLiteral("HH:mm:ss")) + u'\t' + place + u'\t'
                         + message + QStringLiteral("\r\n");
    QFile f(hostPath(env.programDir, QStringLiteral("kescherheft.log")));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    f.write(encode1252(line));
    f.close();
}

void ErrorTrap::log(int number) const
{
    WriteLog(m_env, m_place, QStringLiteral("Error (") + QString::number(number) + u')');
}
