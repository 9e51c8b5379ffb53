#pragma once

#include "platform/Env.h"
#include "reports/HtmlPages.h"

#include <QString>
#include <QStringList>

class ErrorTrap;

// The four printouts as the user starts them: the questions asked, the
// page written into the program directory and opened in the desktop's
// default browser, where it prints itself. The windows only hand over what
// they show. A page that cannot be written completely is reported to the
// user and not opened; a browser that cannot be started is logged.

// The page files, in the program directory.
inline const QString kFrontPageFile = QStringLiteral("front.html");
inline const QString kCatchPageFile = QStringLiteral("faenge.html");
inline const QString kEmptyPageFile = QStringLiteral("empty.html");
inline const QString kCostPageFile = QStringLiteral("kosten.html");

// How many of `listed` entries to print for the answer to "Wieviele
// Einträge wollen Sie drucken?": 0 or more than listed prints all, text
// that is not a number prints all (logged through trap as error 13), any
// other number is rounded to the nearest whole number (halves to the even
// one), and a negative one prints none.
int PrintCount(const QString& answer, int listed, ErrorTrap& trap);

// Front page of the main window's figures. recentRows is the number of
// rows of the main window's list of recent catches, its two heading rows
// included: without a catch in it there is nothing to print.
void PrintFront(const Env& env, const FrontValues& values, int recentRows);

// The catch list of the overview: fullList is its list of all catches,
// sourceList the list it shows (the filtered one in filter mode), both with
// their column header and rule line.
void PrintCatchList(const Env& env, const QStringList& fullList, const QStringList& sourceList);

// A blank catch form with as many rows as the user asks for.
void PrintEmptyTable(const Env& env);

// The cost list of the cost window: fullList is its list of all purchases,
// sourceList the list it shows (the filtered one in filter mode).
void PrintCostList(const Env& env, const QStringList& fullList, const QStringList& sourceList);
