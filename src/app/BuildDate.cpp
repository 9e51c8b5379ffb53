#include "app/BuildDate.h"

#include "platform/ErrorLog.h"

#include <QDateTime>
#include <QFile>
#include <QTimeZone>

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 HeaderBytes = 512;

QByteArray firstBytes(const QString& path, qint64 count)
{
    QFile f(path);
    if (!f.exists())
        throw RuntimeError { Err::FileNotFound };
    if (!f.open(QIODevice::ReadOnly))
        throw RuntimeError { Err::PathFileAccess };
    return f.read(count);
}

} // namespace

QString localDateText(qint64 secondsSince1970)
{
    const QDateTime utc = QDateTime::fromSecsSinceEpoch(secondsSince1970, QTimeZone::utc());
    return utc.toLocalTime().toString(u"dd.MM.yyyy"_s);
}

QString GetCompileTime(const Env& env, const QString& path)
{
    ErrorTrap trap(env, u"Funktion GetCompileTime"_s);
    QString result;
    trap.step([&] {
        const QString hex = QString::fromLatin1(firstBytes(path, HeaderBytes).toHex().toUpper());
        // The search runs over the text, so a match may start in the middle
        // of a byte; the first one counts.
        const qsizetype found = hex.indexOf(u"5045"_s);
        if (found < 0)
            throw RuntimeError { Err::PathNotFound };
        const QString stamp = hex.mid(found + 16, 8);
        if (stamp.size() < 8)
            throw RuntimeError { Err::TypeMismatch };
        // Least significant byte first.
        const QString ordered
            = stamp.mid(6, 2) + stamp.mid(4, 2) + stamp.mid(2, 2) + stamp.mid(0, 2);
        bool ok = false;
        const auto seconds = static_cast<qint32>(ordered.toUInt(&ok, 16));
        if (!ok)
            throw RuntimeError { Err::TypeMismatch };
        result = localDateText(seconds);
    });
    return result;
}

QString ReleaseDate(const Env& env, const BuildInfo& build)
{
    QByteArray start;
    if (!build.executable.isEmpty()) {
        QFile f(build.executable);
        if (f.open(QIODevice::ReadOnly))
            start = f.read(2);
    }
    if (start == "MZ")
        return GetCompileTime(env, build.executable);
    return build.builtAt ? localDateText(*build.builtAt) : QString();
}
