#include "support/BrowserPrint.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {

QString tool(const QString& name)
{
    return QStandardPaths::findExecutable(name);
}

// The program's standard output, or a null text when it failed.
QString run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(120000)) {
        p.kill();
        p.waitForFinished();
        return {};
    }
    return p.exitCode() == 0 ? QString::fromUtf8(p.readAllStandardOutput()) : QString();
}

} // namespace

QString MissingBrowserTools()
{
    QString missing;
    for (const QString& name : { u"chromium"_s, u"pdftotext"_s, u"pdfinfo"_s }) {
        if (tool(name).isEmpty())
            missing += name + u' ';
    }
    return missing.trimmed();
}

PrintedPage PrintInBrowser(const QString& htmlPath, const QByteArray& printStyle)
{
    PrintedPage out;
    QString page = htmlPath;
    if (!printStyle.isEmpty()) {
        QFile in(htmlPath);
        QByteArray bytes = in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
        const qsizetype head = bytes.indexOf("</head>");
        if (head < 0)
            return { {}, {}, u"page without head"_s };
        bytes.insert(head, "<style type=\"text/css\">" + printStyle + "</style>");
        page = htmlPath + u".print.html"_s;
        QFile copy(page);
        if (!copy.open(QIODevice::WriteOnly) || copy.write(bytes) != bytes.size())
            return { {}, {}, u"print copy not written"_s };
    }
    const QString pdf = page + u".pdf"_s;
    QTemporaryDir profile;
    // Without print preview the page's own print call on loading does not
    // end the headless run before the PDF is written.
    run(tool(u"chromium"_s),
        { u"--headless"_s, u"--no-sandbox"_s, u"--disable-gpu"_s,
            u"--disable-background-networking"_s, u"--disable-component-update"_s,
            u"--disable-sync"_s, u"--no-first-run"_s, u"--disable-print-preview"_s,
            u"--no-pdf-header-footer"_s, u"--user-data-dir="_s + profile.path(),
            u"--print-to-pdf="_s + pdf, QUrl::fromLocalFile(page).toString() });
    if (!QFile::exists(pdf))
        return { {}, {}, u"the browser wrote no PDF"_s };
    out.info = run(tool(u"pdfinfo"_s), { pdf });
    out.text = run(tool(u"pdftotext"_s), { u"-layout"_s, u"-enc"_s, u"UTF-8"_s, pdf, u"-"_s });
    if (out.text.isNull())
        return { {}, {}, u"pdftotext failed"_s };
    out.text.replace(QChar(0x00A0), u' ');
    // Columns stand apart by runs of blanks; one blank is enough here.
    out.text.replace(QRegularExpression(u" +"_s), u" "_s);
    return out;
}
