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
        + now.toString(QStringLiteral("HH:mm:ss")) + u'\t' + place + u'\t' + message
        + QStringLiteral("\r\n");
    QFile f(hostPath(env.programDir, QStringLiteral("kescherheft.log")));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    // The limit the start applies holds for every line: a run that logs an
    // error per record (a damaged file, refreshed again and again) would
    // otherwise grow the log without end.
    if (f.size() > kErrorLogLimit)
        f.resize(0);
    f.write(encode1252(line));
    f.close();
}

void ErrorTrap::log(int number) const
{
    WriteLog(m_env, m_place, QStringLiteral("Error (") + QString::number(number) + u')');
}
