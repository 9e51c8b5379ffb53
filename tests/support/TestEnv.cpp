#include "support/TestEnv.h"

#include "platform/Cp1252.h"
#include "platform/Paths.h"
#include "platform/RuntimeError.h"

#include <QDir>

#include <csignal>
#include <sys/resource.h>

#include <QFile>
#include <QFileInfo>

TestEnv::TestEnv()
{
    env.programDir = m_dir.path();
    env.clock = &clock;
    env.dialogs = &dialogs;
    env.shell = &shell;
}

QString TestEnv::path(const QString& relative) const
{
    return hostPath(dir(), relative);
}

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

int errorNumberOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const RuntimeError& e) {
        return e.number;
    }
    return 0;
}

QByteArray recordFileBytes(const QStringList& items)
{
    QByteArray bytes;
    for (const QString& item : items)
        bytes += '"' + encode1252(item) + "\"\r\n";
    return bytes;
}

static QStringList changed(QStringList fields, FieldChanges changes)
{
    for (const auto& [number, text] : changes)
        fields[number - 1] = text;
    return fields;
}

QStringList sampleCatch(FieldChanges changes)
{
    return changed(QStringLiteral("2004/05/17|Max|06:30|06:45|10:00|Karpfen*|12,40|84|Baggersee|"
                                  "Steg 3|Festblei|Boilie|sonnig|+ 18|+ 14|2,5|Vollmond")
                       .split(u'|'),
        changes);
}

QStringList sampleCost(FieldChanges changes)
{
    return changed(
        QStringLiteral("2006/03/05|Anglerladen|3|Haken Gr. 8|1,50 \u20AC|4,50 \u20AC|4,90 \u20AC|"
                       "9,40 \u20AC")
            .split(u'|'),
        changes);
}

QString sampleCatchLine(FieldChanges changes)
{
    return sampleCatch(changes).join(u'\t');
}

QString sampleCostLine(FieldChanges changes)
{
    return sampleCost(changes).join(u'\t');
}

QString catchOn(const QString& date, const QString& angler, const QString& species)
{
    return sampleCatchLine({ { 1, date }, { 2, angler }, { 6, species } });
}

QString overviewRow(const QStringList& fields, QChar mark)
{
    return QString(mark) + u'\t' + fields.join(u'\t');
}

QStringList overviewList(const QStringList& rows)
{
    const QString header = QStringLiteral(
        "Pic\tDatum\tF\u00E4nger\tBeginn\tFangzeit\tEnde\tFischart\tGewicht\tGr\u00F6\u00DFe\t"
        "Gew\u00E4sser\tAngelplatz\tMontage/Rig.\tK\u00F6der\tWetter\tLuft \u00B0C\t"
        "Wasser \u00B0C\tTiefe\tMondphase");
    return QStringList { header, QString(230, u'=') + QStringLiteral("    ") } + rows;
}

FileSizeLimit::FileSizeLimit(qint64 bytes)
{
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit r {};
    getrlimit(RLIMIT_FSIZE, &r);
    m_soft = r.rlim_cur;
    r.rlim_cur = rlim_t(bytes);
    setrlimit(RLIMIT_FSIZE, &r);
}

FileSizeLimit::~FileSizeLimit()
{
    rlimit r {};
    getrlimit(RLIMIT_FSIZE, &r);
    r.rlim_cur = rlim_t(m_soft);
    setrlimit(RLIMIT_FSIZE, &r);
}
