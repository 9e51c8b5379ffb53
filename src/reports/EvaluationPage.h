#pragma once

#include "calc/CatchEvaluation.h"

#include <QList>
#include <QString>
#include <QStringList>

// What the printed evaluation shows: the view, the choices made, the note
// on unreadable lines, the chart (SVG, empty for none) and the tables.
struct EvaluationPrint {
    QString view; // "Fänge pro Monat"
    QStringList choices; // "Jahr: 2004", "Fänger: Alle Fänger", "Filter: hecht"
    QString note; // on unreadable lines, or empty
    QString empty; // shown instead of the tables when there is no catch
    QString svg;
    QList<EvaluationTable> tables;
    QString date; // dd.mm.yyyy, the day the page is made
    QString version; // "1.0.0.2"
};

// The lines of an HTML page in UTF-8, laid out for A4 with the column
// headers repeated on each printed page. Every value is escaped; the SVG
// goes in as it is. The page prints itself when the browser has loaded it.
QStringList EvaluationPageLines(const EvaluationPrint& print);
