#include "reports/EvaluationPage.h"

#include "reports/HtmlPages.h"

using namespace Qt::StringLiterals;

namespace {

QString cell(const QString& tag, const QString& text, bool number)
{
    return u"<%1%2>%3</%1>"_s.arg(tag, number ? u" class=\"zahl\""_s : QString(), HtmlText(text));
}

} // namespace

QStringList EvaluationPageLines(const EvaluationPrint& e)
{
    QStringList p;
    p << u"<!DOCTYPE html>"_s << u"<html lang=\"de\">"_s << u"<head>"_s
      << u"<meta charset=\"utf-8\">"_s
      << u"<title>"_s + HtmlText(e.view) + u" - Digitales Kescherheft</title>"_s << u"<style>"_s
      << u"@page { size: A4; margin: 15mm 12mm; }"_s
      << u"body { font-family: Arial, Helvetica, sans-serif; font-size: 10pt; color: #000; }"_s
      << u"h1 { font-size: 16pt; margin: 0 0 6pt 0; }"_s
      << u"h2 { font-size: 12pt; margin: 14pt 0 4pt 0; break-after: avoid; page-break-after: avoid; }"_s
      << u".auswahl { margin: 0 0 8pt 0; }"_s
      << u"svg { display: block; max-width: 100%; height: auto; margin: 0 0 10pt 0; }"_s
      << u"table { width: 100%; border-collapse: collapse; }"_s
      << u"th, td { border: 1px solid #000; padding: 2pt 4pt; text-align: left; vertical-align: top; }"_s
      << u"th { background: #e6f0ff; }"_s << u"thead { display: table-header-group; }"_s
      << u"tr { break-inside: avoid; page-break-inside: avoid; }"_s
      << u".zahl { text-align: right; white-space: nowrap; }"_s
      << u".fuss { font-size: x-small; font-weight: bold; margin-top: 16pt; }"_s << u"</style>"_s
      << u"<script type=\"text/javascript\">function printPage() {window.print();}</script>"_s
      << u"</head>"_s << u"<body onload=\"printPage()\">"_s
      << u"<h1>"_s + HtmlText(e.view) + u"</h1>"_s;
    QStringList choices;
    for (const QString& c : e.choices)
        choices.append(HtmlText(c));
    p << u"<p class=\"auswahl\">"_s + choices.join(u"<br>"_s) + u"</p>"_s;
    if (!e.note.isEmpty())
        p << u"<p>Hinweis: "_s + HtmlText(e.note) + u"</p>"_s;
    if (!e.empty.isEmpty()) {
        p << u"<p>"_s + HtmlText(e.empty) + u"</p>"_s;
    } else {
        if (!e.svg.isEmpty())
            p << e.svg;
        for (const EvaluationTable& t : e.tables) {
            if (!t.title.isEmpty())
                p << u"<h2>"_s + HtmlText(t.title) + u"</h2>"_s;
            QString head = u"<table>"_s + u"<thead><tr>"_s;
            for (qsizetype c = 0; c < t.columns.size(); ++c)
                head += cell(u"th"_s, t.columns[c], t.figures.value(c));
            p << head + u"</tr></thead><tbody>"_s;
            for (const QStringList& row : t.cells) {
                QString line = u"<tr>"_s;
                for (qsizetype c = 0; c < row.size(); ++c)
                    line += cell(u"td"_s, row[c], t.figures.value(c));
                p << line + u"</tr>"_s;
            }
            p << u"</tbody></table>"_s;
        }
    }
    p << u"<p class=\"fuss\">Erstellt mit dem Uferwacht Digitalen Kescherheft Version "_s
            + HtmlText(e.version) + u" am "_s + HtmlText(e.date) + u".</p>"_s
      << u"</body>"_s << u"</html>"_s;
    return p;
}
