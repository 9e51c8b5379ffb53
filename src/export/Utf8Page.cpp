#include "export/Utf8Page.h"

#include "platform/FileOps.h"

QByteArray Utf8PageBytes(const QStringList& lines)
{
    QString text;
    qsizetype size = 0;
    for (const QString& line : lines)
        size += line.size() + 2;
    text.reserve(size);
    for (const QString& line : lines) {
        text += line;
        text += QLatin1StringView("\r\n");
    }
    return text.toUtf8();
}

int WriteUtf8Page(const QString& path, const QStringList& lines)
{
    return writeAtomically(path, Utf8PageBytes(lines));
}
