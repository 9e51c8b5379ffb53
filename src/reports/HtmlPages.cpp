#include "reports/HtmlPages.h"

#include "app/Links.h"
#include "app/Version.h"
#include "store/Numbers.h"

#include <array>

using namespace Qt::StringLiterals;

namespace {

const QString kDocType = u"<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Transitional//EN\" "
                         u"\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd\">"_s;

const QString kListHead
    = u"<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\" />"
      u"<title>Digitales Kescherheft - Fangliste</title><style type=\"text/css\"><!--.style1 "
      u"{font-size: x-small;font-weight: bold;}--></style><script type=\"text/javascript\" "
      u"language=\"JavaScript\"><!--"_s;

const QString kPrintFunction = u"function printPage() {window.print();}"_s;

const QString kTableStart
    = u"<table width=\"100%\" border=\"1\" cellpadding=\"0\" cellspacing=\"0\">"_s;

// Column captions of the catch list; the blank form ends after "Tiefe"
// and shortens the two temperature captions.
const std::array<QString, 18> kCatchColumns { u"Nr."_s, u"Datum"_s, u"F&auml;nger"_s, u"Beginn"_s,
    u"Fangzeit"_s, u"Ende"_s, u"Fischart"_s, u"Gewicht"_s, u"Gr&ouml;&szlig;e"_s,
    u"Gew&auml;sser"_s, u"Angelplatz:"_s, u"Methode / Rig."_s, u"K&ouml;der"_s, u"Wetter"_s,
    u"Luftt. °C"_s, u"Wassert. °C"_s, u"Tiefe"_s, u"Mondphase"_s };

QString headerCell(const QString& caption)
{
    return u"<th scope=\"col\">&nbsp;"_s + caption + u"&nbsp;</th>"_s;
}

QString versionText()
{
    // Major, minor, then the revision after a fixed zero.
    return u"%1.%2.0.%3"_s.arg(Version::Major).arg(Version::Minor).arg(Version::Tweak);
}

QString creditLine(const QString& date)
{
    return u"Erstellt mit dem <a href=\""_s + Links::BrandSite
        + u"\">Uferwacht</a> Digitalen Kescherheft Version "_s + versionText()
        + u" von <a href=\""_s + Links::MakerSite + u"\">Kieselwerk</a>  am "_s + date + u'.';
}

// The last line of the catch list and of the blank form.
QString listFooter(const QString& date)
{
    return u"</table><br /><br /><span class=\"style1\">"_s + creditLine(date)
        + u"</span></body></html>"_s;
}

// Appends the value as page text to out, in place: a page of every catch
// holds more than half a million values.
void appendHtmlText(QString& out, QStringView value)
{
    qsizetype from = 0;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c != u'&' && c != u'<' && c != u'>')
            continue;
        out += value.sliced(from, i - from);
        out += c == u'&' ? QLatin1StringView("&amp;")
            : c == u'<'  ? QLatin1StringView("&lt;")
                         : QLatin1StringView("&gt;");
        from = i + 1;
    }
    out += value.sliced(from);
}

// The catch record of an overview line: the line without its photo mark and TAB.
QStringView catchRecord(const QString& catchLine)
{
    return QStringView(catchLine).sliced(qMin<qsizetype>(2, catchLine.size()));
}

// Catch list cells centred: the running number, the date and the three times.
bool centredCatchColumn(int column)
{
    return column == 0 || column == 1 || column == 3 || column == 4 || column == 5;
}

} // namespace

QString HtmlText(QStringView value)
{
    QString out;
    appendHtmlText(out, value);
    return out;
}

QStringList FrontPageLines(const FrontValues& v, const QDate& today, const QString& banner)
{
    const auto row = [](const QString& label, const QString& value) {
        return u"<tr><th scope=\"row\"><div align=\"left\">"_s + label
            + u"</div></th><td><div align=\"right\">"_s + HtmlText(value) + u"</div></td></tr>"_s;
    };
    QStringList lines;
    lines.append(kDocType
        + u"<html xmlns=\"http://www.w3.org/1999/xhtml\"><head><meta http-equiv=\"Content-Type\" "
          u"content=\"text/html; charset=iso-8859-1\" /><title>Digitales Kescherheft</title>"
          u"<style type=\"text/css\"><!--.style1 {font-size: xx-large;font-weight: bold;}"
          u"body{text-align:center;}table{margin:auto;}--></style>"_s);
    lines.append(u"<script type=\"text/javascript\" language=\"JavaScript\">"_s);
    lines.append(kPrintFunction);
    lines.append(u"--></script></head>"_s);
    lines.append(u"<body OnLoad=\"printPage()\"><div align=\"center\" class=\"style1\">uferwacht "
                 u"Digitales Kescherheft</div><div align=\"center\">"_s
        + DisplayDate(today) + u"</div><br /><br /><table width= 400  border= 1 >"_s);
    lines.append(u"<tr><th width=\"70%\" scope=\"row\"><div align=\"left\">Angelzeit: </div></th>"
                 u"<td width=\"30%\"><div align=\"right\">"_s
        + HtmlText(v.fishingTime) + u"</div></td></tr>"_s);
    lines.append(u"<tr><th scope=\"row\"><div align=\"left\">Gefangene Fische: </div></th><td>"
                 u"<div align=\"right\">"_s
        + HtmlText(v.catches) + u" St&uuml;ck</div></td></tr>"_s);
    lines.append(row(u"Angelkosten: "_s, v.costs));
    lines.append(row(u"Durchschnittliche Angelzeit pro Fisch: "_s, v.timePerFish));
    lines.append(row(u"Durchschnittsgewicht: "_s, v.averageWeight));
    lines.append(row(u"Gesamtgewicht: "_s, v.totalWeight));
    lines.append(row(u"Leichtester Fisch: "_s, v.lightestFish));
    lines.append(row(u"Schwerster Fisch: "_s, v.heaviestFish));
    lines.append(row(u"Kleinster Fisch: "_s, v.shortestFish));
    lines.append(row(u"Gr&ouml;&szlig;ter Fisch: "_s, v.longestFish));
    lines.append(row(u"Minimale Wassertemperatur: "_s, v.minWaterTemp));
    lines.append(row(u"Maximale Wassertemperatur: "_s, v.maxWaterTemp));
    lines.append(row(u"Minimale Lufttemperatur: "_s, v.minAirTemp));
    lines.append(row(u"Maximale Lufttemperatur: "_s, v.maxAirTemp));
    lines.append(row(u"Durchschnittliche Angeltiefe: "_s, v.averageDepth));
    lines.append(u"</table><br /><br /><div align=\"center\"><a href=\""_s + Links::ReportBannerLink
        + u"\"><img src=\""_s + banner
        + u"\" alt=\"Uferwacht Banner\" width=\"400\" height=\"111\" "
          u"border=\"0\" /></a></div></body></html>"_s);
    return lines;
}

qsizetype FirstUnreadableCatchLine(const QStringList& catchLines)
{
    std::array<QStringView, kCatchFields> fields;
    for (qsizetype i = 0; i < catchLines.size(); ++i) {
        if (!SplitRecord(catchRecord(catchLines[i]), kCatchFields, fields.data()))
            return i;
    }
    return -1;
}

QStringList CatchListPageLines(const QStringList& catchLines, int count, const QDate& today)
{
    const QString date = DisplayDate(today);
    count = qBound(0, count, int(catchLines.size()));
    QStringList lines;
    lines.reserve(count + 6);
    lines.append(kDocType);
    lines.append(kListHead);
    lines.append(kPrintFunction);
    lines.append(u"--></script></head>"_s);
    QString header
        = u"<body OnLoad=\"printPage()\"><h1>Liste aller eingetragenen Fänge (erstellt am "_s + date
        + u")</h1><br />"_s + kTableStart;
    for (const QString& caption : kCatchColumns)
        header += headerCell(caption);
    lines.append(header + u"</tr>"_s);

    const QString centre = u"<td><div align=\"center\">&nbsp;"_s;
    const QString left = u"<td><div align=\"left\">&nbsp;"_s;
    const QString cellEnd = u"&nbsp;</div></td>"_s;
    // The fields are views into the list lines: a page of every catch
    // splits more than half a million of them.
    // A line that cannot be split prints the fields split so far, as the
    // record reader gives them, and hides no other catch.
    std::array<QStringView, kCatchFields> fields;
    for (int i = 0; i < count; ++i) {
        const QStringView record = catchRecord(catchLines[i]);
        SplitRecord(record, kCatchFields, fields.data());
        QString line;
        line.reserve(18 * (centre.size() + cellEnd.size()) + record.size() + 64);
        line += centre;
        line += QString::number(i + 1);
        line += cellEnd;
        for (int column = 1; column <= kCatchFields; ++column) {
            line += centredCatchColumn(column) ? centre : left;
            appendHtmlText(line, fields[column - 1]);
            line += cellEnd;
        }
        line += u"</tr>"_s;
        lines.append(std::move(line));
    }
    lines.append(listFooter(date));
    return lines;
}

QStringList EmptyTablePageLines(int rows, const QDate& today)
{
    const QString date = DisplayDate(today);
    rows = qMax(0, rows);
    QStringList lines;
    lines.reserve(rows + 6);
    lines.append(kDocType);
    lines.append(kListHead);
    lines.append(kPrintFunction);
    // White, bold, extra large filler makes the rows tall and look empty.
    lines.append(u"--></script><style type='text/css'><!-- td {color: #FFFFFF; font-weight: bold; "
                 u"font-size: xx-large;}--></style></head>"_s);
    QString header
        = u"<body OnLoad=\"printPage()\"><div align=\"center\"><h1>Fangliste:</h1></div>"_s
        + kTableStart;
    for (int column = 0; column < 17; ++column) {
        if (column == 14)
            header += headerCell(u"LT. °C"_s);
        else if (column == 15)
            header += headerCell(u"WT. °C"_s);
        else
            header += headerCell(kCatchColumns[column]);
    }
    lines.append(header + u"</tr>"_s);

    QString cells;
    for (int column = 1; column <= 16; ++column) {
        cells += centredCatchColumn(column) ? u"<td><div align=\"center\">&nbsp;</div></td>"_s
                                            : u"<td><div align=\"left\">&nbsp;</div></td>"_s;
    }
    cells += u"</tr>"_s;
    for (int i = 1; i <= rows; ++i)
        lines.append(u"<th>"_s + QString::number(i) + u"</td>"_s + cells);
    lines.append(listFooter(date));
    return lines;
}

QStringList CostListPageLines(
    const RecordTable& records, int count, const CostSums& sums, const QDate& today)
{
    const QString date = DisplayDate(today);
    count = qBound(0, count, int(records.size()));
    QStringList lines;
    lines.reserve(10 * count + 16);
    lines.append(kDocType);
    lines.append(u"<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
                 u"charset=iso-8859-1\" /><title>Digitales Kescherheft - Fangliste</title>"
                 u"<style type=\"text/css\">"_s);
    lines.append(u"<!--"_s);
    lines.append(u".style1 {font-size: x-small;font-weight: bold;}"_s);
    lines.append(u"--></style>"_s);
    lines.append(u"<script type=\"text/javascript\" language=\"JavaScript\">"_s);
    lines.append(kPrintFunction);
    lines.append(u"--></script>"_s);
    lines.append(u"</head><body OnLoad=\"printPage()\"><h1>Liste aller eingetragenen Kosten "
                 u"(erstellt am "_s
        + date + u")</h1><br />"_s);
    lines.append(kTableStart);
    QString header;
    for (const QString& caption : { u"Nr."_s, u"Datum"_s, u"Gesch&auml;ft"_s, u"Menge"_s,
             u"Artikelbezeichnung"_s, u"Einzelpreis"_s, u"Preis"_s, u"Versand"_s, u"Gesamt"_s })
        header += headerCell(caption);
    lines.append(header + u"</tr>"_s);

    // Date and quantity centred, shop and article to the left, amounts to the right.
    static const std::array<QString, kCostFields> kAlign { u"center"_s, u"left"_s, u"center"_s,
        u"left"_s, u"right"_s, u"right"_s, u"right"_s, u"right"_s };
    for (int i = 0; i < count; ++i) {
        const QStringList& record = records[i];
        lines.append(u"<td><div align=\"center\">"_s + QString::number(i + 1) + u"</div></td>"_s);
        for (int f = 0; f < kCostFields; ++f) {
            lines.append(u"<td><div align=\""_s + kAlign[f] + u"\">&nbsp;"_s
                + HtmlText(record.value(f)) + u"&nbsp;</div></td>"_s);
        }
        lines.append(u"</tr>"_s);
    }
    const auto sumCell = [](qint64 cents) {
        return u"<th><div align=\"right\">&nbsp;"_s + CostSumDigits(cents)
            + u"&nbsp;€&nbsp;</div></th>"_s;
    };
    lines.append(u"<tr><th colspan=\"6\"><div align=\"right\">&nbsp;Summen:&nbsp;</th>"_s
        + sumCell(sums.price) + sumCell(sums.shipping) + sumCell(sums.total)
        + u"</tr></table><br /><br />"_s);
    lines.append(u"<span class=\"style1\">"_s + creditLine(date) + u"</span>"_s);
    lines.append(u"</body></html>"_s);
    return lines;
}
