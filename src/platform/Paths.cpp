#include "platform/Paths.h"

#include <QDir>
#include <QFileInfo>

namespace {

// Finds an entry of dir whose name equals name without regard to letter
// case. Umlauts fold like other letters; both spellings are compared in
// composed form so a decomposed "ä" on disk still matches.
QString matchEntry(const QString& dir, const QString& name)
{
    if (QFileInfo::exists(dir + u'/' + name))
        return name;
    const QString want = name.normalized(QString::NormalizationForm_C);
    const QStringList entries = QDir(dir).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& e : entries) {
        if (e.normalized(QString::NormalizationForm_C).compare(want, Qt::CaseInsensitive) == 0)
            return e;
    }
    return name;
}

} // namespace

QString hostPath(const QString& programDir, const QString& relative)
{
    QString path = programDir;
    const QStringList parts
        = QString(relative).replace(u'\\', u'/').split(u'/', Qt::SkipEmptyParts);
    bool exists = true;
    for (const QString& part : parts) {
        const QString name = exists ? matchEntry(path, part) : part;
        path += u'/' + name;
        exists = exists && QFileInfo::exists(path);
    }
    return path;
}
