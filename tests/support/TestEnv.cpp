#include "support/TestEnv.h"

#include "platform/Cp1252.h"
#include "platform/Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

TestEnv::TestEnv()
{
    env.programDir = m_dir.path();
    env.clock = &clock;
    env.dialogs = &dialogs;
    env.shell = &shell;
}

QString TestEnv::path(const QString& relative) const { return hostPath(dir(), relative); }

QByteArray TestEnv::read(const QString& relative) const
{
    QFile f(path(relative));
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return f.readAll();
}

void TestEnv::write(const QString& relative, const QByteArray& bytes) const
{
    const QString p = path(relative);
    QDir().mkpath(QFileInfo(p).absolutePath());
    QFile f(p);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

QStringList TestEnv::logEntries() const
{
    QStringList out;
    if (!QFileInfo::exists(path(QStringLiteral("kescherheft.log"))))
        return out;
    const QString text = decode1252(read(QStringLiteral("kescherheft.log")));
    for (const QString& line : text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)) {
        const QStringList parts = line.split(u'\t');
        out.append(parts.mid(2).join(u'\t'));
    }
    return out;
}
