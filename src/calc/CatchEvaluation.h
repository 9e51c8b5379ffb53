#pragma once

#include "platform/Env.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

class Logbook;

// The evaluations of the catch log: how many fish were caught, and how
// heavy they were together, by month, hour, moon phase, bait, water,
// species and year, and the heaviest and longest fish per species and per
// angler. Every figure counts the catches of the catch list; a year, an
// angler and a filter expression narrow them.

enum class EvaluationView { Months, Hours, MoonPhases, Baits, Waters, Species, Years, Records };
inline constexpr int kEvaluationViews = 8;

// The view's name as the window lists it ("Fänge pro Monat").
QString EvaluationViewName(EvaluationView view);

// The name a blank value is shown under.
inline const QString kNoValue = QStringLiteral("(ohne Angabe)");
// The bait and water views show this many values and sum up the rest.
inline constexpr int kMostFrequentShown = 15;

// One category of a view with its catches.
struct EvaluationRow {
    QString category;
    int count = 0;
    qint64 grams = 0; // over the catches whose weight can be read
    qint32 minutes = 0; // fishing time; only the years view has it
};

struct EvaluationFigures {
    QList<EvaluationRow> rows; // empty when the choice holds no catch
    int catches = 0; // in the choice
};

// A table as the window shows it and the page prints it.
struct EvaluationTable {
    QString title; // empty for the one table of a view
    QStringList columns;
    QList<QStringList> cells;
    QList<bool> figures; // per column: true where it holds figures
};

// The table of a view's figures: the category, "Anzahl", "Gewicht (kg)"
// and "Anteil"; for the years "Angelzeit" instead of the share.
EvaluationTable FiguresTable(EvaluationView view, const EvaluationFigures& figures);

// "12,40" for 12400 grams.
QString KgText(qint64 grams);
// Percent of total with one decimal, halves away from zero: "12,5 %".
QString ShareText(int count, int total);

class CatchEvaluation {
public:
    explicit CatchEvaluation(const Env& env);

    // Takes the log's catch list when it changed since the last load; the
    // choice made stays (an angler or year no longer there selects none).
    void load(const Logbook& log);
    quint64 generation() const { return m_generation; }

    // The years that have catches, newest first.
    const QList<int>& years() const { return m_years; }
    // The anglers as the choice lists them, in alphabetical order.
    QStringList anglers() const;

    // 0 for every year.
    void setYear(int year);
    // An index into anglers(), -1 for every angler.
    void setAngler(int index);
    // The filter expression as typed into the catch overview's filter box,
    // under its rules: a leading "+" is dropped. Returns the expression
    // that was applied.
    QString setFilter(const QString& typed);

    // Catches in the choice.
    int catches() const { return int(m_chosen.size()); }
    // Lines of the catch file the catch list leaves out, and the note that
    // says so (empty when there are none).
    int unreadableLines() const { return m_unreadable; }
    QString unreadableNote() const;

    EvaluationFigures figures(EvaluationView view) const;
    // The view's table; the records view has two: per species, per angler.
    QList<EvaluationTable> tables(EvaluationView view) const;

private:
    // The values of one field, grouped without regard to letter case and
    // blanks around them.
    struct Field {
        QList<QString> names; // of each group, its most frequent spelling
        QList<QString> keys;
        QHash<QString, int> groupOfKey;
        // Each spelling (blanks around it removed) once, with its group
        // and how often it occurs: most values repeat, so a spelling met
        // before needs no second look at its letter case.
        struct Spelling {
            QString text;
            int group = 0;
            int count = 0;
        };
        QList<Spelling> spellings;
        QHash<QString, int> spellingOfText;
        int add(QStringView text);
        void settleNames();
    };
    struct Catch {
        qint64 grams = 0;
        double length = 0;
        int species = 0;
        int bait = 0;
        int water = 0;
        int angler = 0;
        int phase = 0;
        qint16 year = 0; // 0 when the date cannot be read
        qint8 month = 0; // 1..12, 0 when the date cannot be read
        qint8 hour = -1; // of the catch time, -1 when it cannot be read
        bool weighed = false;
        bool measured = false; // a length above 0
    };
    enum FieldIndex { Species, Bait, Water, Angler, Phase, FieldCount };

    void runFilter();
    void choose();
    QList<EvaluationRow> byGroup(int field, int Catch::*group, int limit) const;
    QList<EvaluationTable> recordTables() const;
    QList<EvaluationRow> yearRows() const;

    const Env& m_env;
    quint64 m_generation = 0;
    bool m_loaded = false;
    QStringList m_lines; // the catch list's lines, list order
    std::vector<Catch> m_catches; // one per line
    Field m_fields[FieldCount];
    QList<int> m_years;
    std::vector<int> m_anglerOrder; // angler groups, alphabetical
    int m_unreadable = 0;

    int m_year = 0;
    int m_angler = -1; // group of the angler field; -2 when it is gone
    QString m_anglerKey;
    bool m_anglerChosen = false;
    QString m_filter;
    std::vector<bool> m_passes; // lines that pass the filter
    std::vector<int> m_chosen; // catches in the choice, list order
};
