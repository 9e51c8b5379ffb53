#pragma once

#include "platform/Env.h"
#include "store/CostList.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

class ErrorTrap;

// The figures of one year of the catch log, for a club's yearly report:
// catches per water and species, per month, the fishing time, the costs of
// the year and its best fish.

struct YearGroup {
    QString water; // as stored, blanks around it removed
    QString species; // without the photo mark
    int catches = 0;
    double totalKg = 0; // over the weights that can be read
    std::optional<double> heaviestKg;
    std::optional<int> longestCm; // lengths of 0 mean "not measured"
};

struct YearMonth {
    int catches = 0;
    double totalKg = 0;
};

struct YearBestFish {
    QString date; // dd.mm.yyyy
    QString species;
    QString water;
    double kg = 0;
    std::optional<int> cm;
};

struct YearReport {
    int year = 0;
    int catches = 0;
    double totalKg = 0;
    QList<YearGroup> groups; // by water, then species, in alphabetical order
    std::array<YearMonth, 12> months {};
    qint32 fishingMinutes = 0; // each trip once, as the main window counts it
    int purchases = 0;
    CostSums costs; // of the purchases of the year
    std::optional<YearBestFish> best; // the heaviest fish; the longer one of equal weight
    int unreadableCatches = 0; // lines dated in the year that could not be read
    // Lines of the catch file the catch list left out because they could
    // not be read; their year is not known.
    int unlistedCatches = 0;
};

// The years that have catches, newest first, from the catch lists' lines
// (column header, rule line, then photo mark, TAB and the record with its
// date as dd.mm.yyyy).
QList<int> CatchYears(const QStringList& overviewLines);

// The figures of `year` from the catch lists' lines and the cost list's
// lines (display date, TAB, fields 2..8). Times that cannot be read are
// logged as the main window logs them, amounts through trap; a weight or
// length that cannot be read leaves the catch out of that figure only.
YearReport MakeYearReport(const Env& env, const QStringList& overviewLines,
    const QStringList& costLines, int year, ErrorTrap& trap);

// What the page's footer names.
struct PageFooter {
    QString date; // dd.mm.yyyy, the day the page is made
    QString version; // "1.0.0.2"
    QString brandSite; // web address behind the brand's name
};

// The report as the lines of an HTML page in UTF-8, laid out for A4 with
// the column headers repeated on each printed page. Every value is
// escaped. The page prints itself when the browser has loaded it.
QStringList YearReportPage(const YearReport& report, const PageFooter& footer);
