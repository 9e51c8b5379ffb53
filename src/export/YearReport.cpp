#include "export/YearReport.h"

#include "calc/Angelzeit.h"
#include "calc/Dashboard.h"
#include "calc/ReportText.h"
#include "platform/ErrorLog.h"
#include "platform/RuntimeError.h"
#include "store/CatchList.h"
#include "store/ConvertToArray.h"
#include "store/Numbers.h"

#include <QHash>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

constexpr int kMarkLength = 2; // photo mark and TAB before a catch's record

// Year and month of a display date dd.mm.yyyy; false when it is not one.
bool yearAndMonth(QStringView date, int& year, int& month)
{
    if (date.size() != 10 || date[2] != u'.' || date[5] != u'.')
        return false;
    auto digits = [&](qsizetype from, qsizetype n, int& out) {
        out = 0;
        for (qsizetype i = from; i < from + n; ++i) {
            if (date[i] < u'0' || date[i] > u'9')
                return false;
            out = out * 10 + (date[i].unicode() - u'0');
        }
        return true;
    };
    return digits(6, 4, year) && digits(3, 2, month) && month >= 1 && month <= 12;
}

std::optional<double> readNumber(QStringView text)
{
    try {
        return ParseNumber(text.toString());
    } catch (const RuntimeError&) {
        return std::nullopt;
    }
}

std::optional<int> readLength(QStringView text)
{
    try {
        const int cm = ParseInt16(text.toString());
        if (cm > 0)
            return cm;
    } catch (const RuntimeError&) {
    }
    return std::nullopt;
}

QString withoutPhotoMark(QStringView species)
{
    return (species.endsWith(u'*') ? species.chopped(1) : species).trimmed().toString();
}

bool groupBefore(const YearGroup& a, const YearGroup& b)
{
    const auto key = [](const YearGroup& g) {
        return std::make_tuple(
            GermanSortKey(g.water), GermanSortKey(g.species), g.water, g.species);
    };
    return key(a) < key(b);
}

} // namespace

QList<int> CatchYears(const QStringList& overviewLines)
{
    QList<int> years;
    for (qsizetype i = 2; i < overviewLines.size(); ++i) {
        int year = 0;
        int month = 0;
        if (yearAndMonth(QStringView(overviewLines[i]).mid(kMarkLength, 10), year, month)
            && !years.contains(year))
            years.append(year);
    }
    std::sort(years.begin(), years.end(), std::greater<int>());
    return years;
}

YearReport MakeYearReport(const Env& env, const QStringList& overviewLines,
    const QStringList& costLines, int year, ErrorTrap& trap)
{
    YearReport r;
    r.year = year;

    // The year's catches in list order, for the trip rule of the fishing time.
    QStringList yearRows { CatchHeaderLine(), CatchRuleLine() };
    QHash<std::pair<QString, QString>, qsizetype> groupOf;
    std::array<QStringView, kCatchFields> f;
    for (qsizetype i = 2; i < overviewLines.size(); ++i) {
        const QString& line = overviewLines[i];
        const QStringView record
            = QStringView(line).sliced(qMin<qsizetype>(kMarkLength, line.size()));
        int y = 0;
        int month = 0;
        if (!yearAndMonth(record.left(10), y, month) || y != year)
            continue;
        if (!SplitRecord(record, kCatchFields, f.data())) {
            ++r.unreadableCatches;
            continue;
        }
        yearRows.append(line);
        ++r.catches;
        const std::optional<double> kg = readNumber(f[6]);
        const std::optional<int> cm = readLength(f[7]);
        const QString species = withoutPhotoMark(f[5]);
        const QString water = f[8].trimmed().toString();

        const auto key = std::make_pair(water, species);
        auto at = groupOf.constFind(key);
        if (at == groupOf.cend()) {
            at = groupOf.insert(key, r.groups.size());
            YearGroup g;
            g.water = water;
            g.species = species;
            r.groups.append(g);
        }
        YearGroup& g = r.groups[*at];
        YearMonth& m = r.months[month - 1];
        ++g.catches;
        ++m.catches;
        if (kg) {
            g.totalKg += *kg;
            m.totalKg += *kg;
            r.totalKg += *kg;
            g.heaviestKg = std::max(g.heaviestKg.value_or(*kg), *kg);
            // The heaviest fish; of two of equal weight the longer one, and
            // of two alike the first listed.
            if (!r.best || *kg > r.best->kg
                || (*kg == r.best->kg && cm.value_or(0) > r.best->cm.value_or(0)))
                r.best = YearBestFish { f[0].toString(), species, water, *kg, cm };
        }
        if (cm)
            g.longestCm = std::max(g.longestCm.value_or(*cm), *cm);
    }
    std::sort(r.groups.begin(), r.groups.end(), groupBefore);
    if (r.catches > 0)
        r.fishingMinutes = Angelzeit(env, yearRows);

    QStringList yearCosts;
    for (const QString& line : costLines) {
        int y = 0;
        int month = 0;
        if (yearAndMonth(QStringView(line).left(10), y, month) && y == year)
            yearCosts.append(line);
    }
    r.purchases = int(yearCosts.size());
    r.costs = SumCostLines(yearCosts, trap);
    return r;
}

namespace {

const char16_t* const kMonthNames[12] = { u"Januar", u"Februar", u"März", u"April", u"Mai", u"Juni",
    u"Juli", u"August", u"September", u"Oktober", u"November", u"Dezember" };

// Text for the page: the five characters with a meaning in HTML escaped.
QString html(const QString& text)
{
    QString out = text.toHtmlEscaped();
    out.replace(u'\'', u"&#39;"_s);
    return out;
}

QString kgText(double kg)
{
    return TwoDecimals(kg) + u" kg"_s;
}

QString cell(const QString& text)
{
    return u"<td>"_s + html(text) + u"</td>"_s;
}

QString numberCell(const QString& text)
{
    return u"<td class=\"zahl\">"_s + html(text) + u"</td>"_s;
}

// A table's head row, repeated by the browser on every printed page the
// table runs over.
QString head(const QStringList& captions, const QList<bool>& numbers)
{
    QString row = u"<thead><tr>"_s;
    for (qsizetype i = 0; i < captions.size(); ++i)
        row += (numbers.value(i) ? u"<th class=\"zahl\">"_s : u"<th>"_s) + html(captions[i])
            + u"</th>"_s;
    return row + u"</tr></thead>"_s;
}

QString optionalKg(const std::optional<double>& kg)
{
    return kg ? kgText(*kg) : u"–"_s;
}

QString optionalCm(const std::optional<int>& cm)
{
    return cm ? u"%1 cm"_s.arg(*cm) : u"–"_s;
}

QString orUnnamed(const QString& text)
{
    return text.isEmpty() ? u"(ohne Angabe)"_s : text;
}

// The note on lines of the catch file that could not be read, said once.
// Only lines dated in the year are known to be missing from its report; a
// line the catch list left out may belong to any year.
QString unreadableNote(const YearReport& r)
{
    return UnreadableLinesNote(r.unreadableCatches + r.unlistedCatches, r.unreadableCatches,
        u"diesem Bericht"_s, u"aus diesem Jahr"_s);
}

} // namespace

QStringList YearReportPage(const YearReport& r, const PageFooter& footer)
{
    const QString year = QString::number(r.year);
    QStringList p;
    p << u"<!DOCTYPE html>"_s << u"<html lang=\"de\">"_s << u"<head>"_s
      << u"<meta charset=\"utf-8\">"_s
      << u"<title>Jahresbericht "_s + html(year) + u" - Digitales Kescherheft</title>"_s
      << u"<style>"_s << u"@page { size: A4; margin: 15mm 12mm; }"_s
      << u"body { font-family: Arial, Helvetica, sans-serif; font-size: 10pt; color: #000; }"_s
      << u"h1 { font-size: 16pt; margin: 0 0 8pt 0; }"_s
      << u"h2 { font-size: 12pt; margin: 14pt 0 4pt 0; break-after: avoid; page-break-after: avoid; }"_s
      << u"table { width: 100%; border-collapse: collapse; }"_s
      << u"th, td { border: 1px solid #000; padding: 2pt 4pt; text-align: left; vertical-align: top; }"_s
      << u"th { background: #e6f0ff; }"_s << u"thead { display: table-header-group; }"_s
      << u"tr { break-inside: avoid; page-break-inside: avoid; }"_s
      << u".zahl { text-align: right; white-space: nowrap; }"_s
      << u".summe td { font-weight: bold; }"_s
      << u".fuss { font-size: x-small; font-weight: bold; margin-top: 16pt; }"_s << u"</style>"_s
      << u"<script type=\"text/javascript\">function printPage() {window.print();}</script>"_s
      << u"</head>"_s << u"<body onload=\"printPage()\">"_s
      << u"<h1>Jahresbericht "_s + html(year) + u"</h1>"_s;

    if (const QString note = unreadableNote(r); !note.isEmpty())
        p << u"<p>Hinweis: "_s + html(note) + u"</p>"_s;

    // Fishing time as the main window shows it, without its caption.
    const QString fishingTime = FishingTimeText(r.fishingMinutes).mid(11);
    if (r.catches == 0) {
        p << u"<p>Im Jahr "_s + html(year) + u" sind keine Fänge eingetragen.</p>"_s;
    } else {
        p << u"<table>"_s
          << head({ u"Fänge"_s, u"Gesamtgewicht"_s, u"Angelzeit"_s,
                      u"Durchschnittliche Angelzeit pro Fisch"_s },
                 { true, true, true, true })
          << u"<tbody><tr>"_s + numberCell(QString::number(r.catches))
                + numberCell(kgText(r.totalKg)) + numberCell(fishingTime)
                + numberCell(TimePerFishText(r.fishingMinutes, r.catches)) + u"</tr></tbody>"_s
          << u"</table>"_s;

        p << u"<h2>Fänge nach Gewässer und Fischart</h2>"_s << u"<table>"_s
          << head({ u"Gewässer"_s, u"Fischart"_s, u"Anzahl"_s, u"Gesamtgewicht"_s,
                      u"Schwerster Fisch"_s, u"Längster Fisch"_s },
                 { false, false, true, true, true, true })
          << u"<tbody>"_s;
        for (const YearGroup& g : r.groups)
            p << u"<tr>"_s + cell(orUnnamed(g.water)) + cell(orUnnamed(g.species))
                    + numberCell(QString::number(g.catches)) + numberCell(kgText(g.totalKg))
                    + numberCell(optionalKg(g.heaviestKg)) + numberCell(optionalCm(g.longestCm))
                    + u"</tr>"_s;
        p << u"<tr class=\"summe\"><td colspan=\"2\">Summe</td>"_s
                + numberCell(QString::number(r.catches)) + numberCell(kgText(r.totalKg))
                + u"<td></td><td></td></tr>"_s
          << u"</tbody></table>"_s;

        p << u"<h2>Fänge nach Monat</h2>"_s << u"<table>"_s
          << head({ u"Monat"_s, u"Anzahl"_s, u"Gesamtgewicht"_s }, { false, true, true })
          << u"<tbody>"_s;
        for (int m = 0; m < 12; ++m)
            p << u"<tr>"_s + cell(QString::fromUtf16(kMonthNames[m]))
                    + numberCell(QString::number(r.months[m].catches))
                    + numberCell(kgText(r.months[m].totalKg)) + u"</tr>"_s;
        p << u"</tbody></table>"_s;

        if (r.best) {
            const YearBestFish& b = *r.best;
            p << u"<h2>Bester Fisch des Jahres</h2>"_s << u"<table>"_s
              << head({ u"Datum"_s, u"Fischart"_s, u"Gewicht"_s, u"Länge"_s, u"Gewässer"_s },
                     { false, false, true, true, false })
              << u"<tbody><tr>"_s + cell(b.date) + cell(orUnnamed(b.species))
                    + numberCell(kgText(b.kg)) + numberCell(optionalCm(b.cm))
                    + cell(orUnnamed(b.water)) + u"</tr></tbody>"_s
              << u"</table>"_s;
        }
    }

    p << u"<h2>Angelkosten "_s + html(year) + u"</h2>"_s << u"<table>"_s
      << head({ u"Einkäufe"_s, u"Preise"_s, u"Versandkosten"_s, u"Gesamt"_s },
             { true, true, true, true })
      << u"<tbody><tr>"_s + numberCell(QString::number(r.purchases))
            + numberCell(CostSumText(r.costs.price)) + numberCell(CostSumText(r.costs.shipping))
            + numberCell(CostSumText(r.costs.total)) + u"</tr></tbody>"_s
      << u"</table>"_s;

    p << u"<p class=\"fuss\">Erstellt mit dem <a href=\""_s + html(footer.brandSite)
            + u"\">Uferwacht</a> Digitalen Kescherheft Version "_s + html(footer.version)
            + u" am "_s + html(footer.date) + u".</p>"_s
      << u"</body>"_s << u"</html>"_s;
    return p;
}
