#include "support/TestSigner.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStringList>

namespace {

// Runs minisign; returns "" or its complaint.
QString runMinisign(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral("minisign"), args);
    if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return QStringLiteral("minisign %1: %2 %3")
            .arg(
                args.join(u' '), p.errorString(), QString::fromLocal8Bit(p.readAllStandardError()));
    return QString();
}

} // namespace

TestSigner::TestSigner()
{
    const QString pub = m_dir.filePath(QStringLiteral("test.pub"));
    m_error = runMinisign({ QStringLiteral("-G"), QStringLiteral("-W"), QStringLiteral("-p"), pub,
        QStringLiteral("-s"), m_dir.filePath(QStringLiteral("test.key")) });
    if (!m_error.isEmpty())
        return;
    QFile f(pub);
    if (!f.open(QIODevice::ReadOnly)) {
        m_error = QStringLiteral("no public key file");
        return;
    }
    const QList<QByteArray> lines = f.readAll().trimmed().split('\n');
    m_publicKey = QString::fromLatin1(lines.last().trimmed());
}

QByteArray TestSigner::sign(
    const QByteArray& data, const QString& name, bool legacy, const QString& trustedComment) const
{
    // In a folder of its own, so that no name meets the key files.
    QDir(m_dir.path()).mkdir(QStringLiteral("files"));
    const QString file = m_dir.filePath(QStringLiteral("files/") + name);
    const QString sig = file + QStringLiteral(".minisig");
    QFile::remove(sig);
    {
        QFile f(file);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(data) != data.size())
            return QByteArray();
    }
    QStringList args { QStringLiteral("-S"), QStringLiteral("-s"),
        m_dir.filePath(QStringLiteral("test.key")), QStringLiteral("-m"), file,
        QStringLiteral("-x"), sig };
    if (!trustedComment.isNull())
        args << QStringLiteral("-t") << trustedComment;
    if (legacy)
        args << QStringLiteral("-l");
    if (!runMinisign(args).isEmpty())
        return QByteArray();
    QFile f(sig);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
