#pragma once

#include "store/ConvertToArray.h"
#include "store/CostList.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QStringView>

// The four printed pages as lines of text, without line ends; the writer
// adds CR LF and the code page. Every value taken from the logs or the
// windows goes in with "&", "<" and ">" as entities, so that it prints as
// typed and cannot add markup to the page.

// A value as page text: "&" "&amp;", "<" "&lt;", ">" "&gt;", the rest as it is.
QString HtmlText(QStringView value);

// The figures of the front page, each as the main window shows it.
struct FrontValues {
    QString fishingTime; // the fishing time without its caption "Angelzeit: "
    QString catches; // the number of catches without "Gefangene Fische: "
    QString costs; // the cost total without "Angelkosten: "
    QString timePerFish;
    QString averageWeight;
    QString totalWeight;
    QString lightestFish;
    QString heaviestFish;
    QString shortestFish;
    QString longestFish;
    QString minWaterTemp;
    QString maxWaterTemp;
    QString minAirTemp;
    QString maxAirTemp;
    QString averageDepth;
};

// "front.html": the statistics as a cover sheet. banner: the address of the
// banner picture at its foot, beside the page unless installed elsewhere.
QStringList FrontPageLines(const FrontValues& values, const QDate& today,
    const QString& banner = QStringLiteral("./banner.gif"));

// The first of the overview's catch lines (photo mark, TAB, then the catch
// record with its date as listed) that the record reader cannot split into
// its 17 fields, or -1 when it can split them all.
qsizetype FirstUnreadableCatchLine(const QStringList& catchLines);

// "faenge.html": the first `count` of the overview's catch lines, numbered
// from 1, each record read as the record reader reads it: a line it cannot
// split prints the fields split so far, and every line after it prints
// empty fields.
QStringList CatchListPageLines(const QStringList& catchLines, int count, const QDate& today);

// "empty.html": a blank catch form with `rows` numbered rows.
QStringList EmptyTablePageLines(int rows, const QDate& today);

// "kosten.html": the first `count` of the cost records (8 fields each, the
// date as listed), numbered from 1, and the sums of the printed rows.
QStringList CostListPageLines(
    const RecordTable& records, int count, const CostSums& sums, const QDate& today);
