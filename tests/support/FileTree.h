#pragma once

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QString>
#include <QStringList>

// Every file below dir by its path relative to dir ('/' between names),
// with its bytes: two trees compare equal only when they hold the same
// files byte for byte.
inline QMap<QString, QByteArray> fileTree(const QString& dir, const QStringList& leaveOut = {})
{
    QMap<QString, QByteArray> out;
    QDirIterator it(dir, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString rel = QDir(dir).relativeFilePath(path);
        bool left = false;
        for (const QString& prefix : leaveOut)
            left = left || rel.startsWith(prefix);
        if (left)
            continue;
        QFile f(path);
        out.insert(rel, f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>"));
    }
    return out;
}

// The tree with the entries below `prefix` replaced by those of `from`.
inline QMap<QString, QByteArray> withPart(
    QMap<QString, QByteArray> tree, const QMap<QString, QByteArray>& from, const QString& prefix)
{
    for (auto it = tree.begin(); it != tree.end();)
        it = it.key().startsWith(prefix) ? tree.erase(it) : std::next(it);
    for (auto it = from.begin(); it != from.end(); ++it) {
        if (it.key().startsWith(prefix))
            tree.insert(it.key(), it.value());
    }
    return tree;
}
