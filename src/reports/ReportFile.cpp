#include "reports/ReportFile.h"

#include "platform/Cp1252.h"
#include "platform/FileOps.h"

int WriteReportFile(const QString& hostPath, const QStringList& lines)
{
    qsizetype size = 0;
    for (const QString& line : lines)
        size += line.size() + 2;
    QByteArray bytes;
    bytes.reserve(size);
    for (const QString& line : lines) {
        appendEncoded1252(bytes, line);
        bytes += "\r\n";
    }
    return writeAtomically(hostPath, bytes);
}
