#include "calc/CatchEvaluation.h"

#include "calc/Angelzeit.h"
#include "calc/Dashboard.h"
#include "calc/ReportText.h"
#include "platform/RuntimeError.h"
#include "search/Search.h"
#include "store/CatchList.h"
#include "store/ConvertToArray.h"
#include "store/Logbook.h"
#include "store/Numbers.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <map>
#include <numeric>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

constexpr int kMarkLength = 2; // photo mark and TAB before a catch's record

const char16_t* const kViewNames[kEvaluationViews]
    = { u"Fänge pro Monat", u"Fänge nach Tageszeit", u"Fänge nach Mondphase", u"Fänge nach Köder",
          u"Fänge nach Gewässer", u"Fischarten", u"Jahresverlauf", u"Rekorde" };

const char16_t* const kMonthNames[12] = { u"Januar", u"Februar", u"März", u"April", u"Mai", u"Juni",
    u"Juli", u"August", u"September", u"Oktober", u"November", u"Dezember" };

// The phase texts the catch entry stores, in the order of the cycle.
const char16_t* const kPhases[8] = { u"Neumond", u"1/4 Mond, zu.", u"Halbmond, zu.",
    u"3/4 Mond, zu.", u"Vollmond", u"3/4 Mond, ab.", u"Halbmond, ab.", u"1/4 Mond ab." };

const QString kOthers = u"Sonstige"_s;

int digitValue(QStringView s)
{
    int v = 0;
    for (QChar c : s) {
        if (c < u'0' || c > u'9')
            return -1;
        v = v * 10 + (c.unicode() - u'0');
    }
    return s.isEmpty() ? -1 : v;
}

std::optional<double> parsedNumber(QStringView text)
{
    try {
        return ParseNumber(text.toString());
    } catch (const RuntimeError&) {
        return std::nullopt;
    }
}

QStringView withoutPhotoMark(QStringView species)
{
    species = species.trimmed();
    return species.endsWith(u'*') ? species.chopped(1) : species;
}

// Most catches first, equal counts in alphabetical order.
void sortByCount(QList<EvaluationRow>& rows)
{
    std::stable_sort(rows.begin(), rows.end(), [](const EvaluationRow& a, const EvaluationRow& b) {
        if (a.count != b.count)
            return a.count > b.count;
        return GermanSortKey(a.category) < GermanSortKey(b.category);
    });
}

QStringList figureCells(const EvaluationRow& r, int total)
{
    return { r.category, QString::number(r.count), KgText(r.grams), ShareText(r.count, total) };
}

} // namespace

QString EvaluationViewName(EvaluationView view)
{
    return QString::fromUtf16(kViewNames[int(view)]);
}

QString KgText(qint64 grams)
{
    return TwoDecimals(double(grams) / 1000.0);
}

QString ShareText(int count, int total)
{
    if (total <= 0)
        return {};
    // Tenths of a percent, halves away from zero, in whole numbers.
    const qint64 tenths = (qint64(count) * 2000 + total) / (qint64(total) * 2);
    return u"%1,%2 %"_s.arg(tenths / 10).arg(tenths % 10);
}

int CatchEvaluation::Field::add(QStringView text)
{
    const QString spelling = text.trimmed().toString();
    auto at = spellingOfText.constFind(spelling);
    if (at == spellingOfText.cend()) {
        const QString key = spelling.toLower();
        auto group = groupOfKey.constFind(key);
        if (group == groupOfKey.cend()) {
            group = groupOfKey.insert(key, int(keys.size()));
            keys.append(key);
        }
        at = spellingOfText.insert(spelling, int(spellings.size()));
        spellings.append({ spelling, *group, 0 });
    }
    Spelling& s = spellings[*at];
    ++s.count;
    return s.group;
}

void CatchEvaluation::Field::settleNames()
{
    // The most frequent spelling of each group; of equally frequent ones the
    // first in alphabetical order, so that the name does not depend on the
    // order of the log.
    QList<int> best(keys.size(), -1);
    for (int i = 0; i < int(spellings.size()); ++i) {
        const Spelling& s = spellings[i];
        int& b = best[s.group];
        if (b < 0 || s.count > spellings[b].count
            || (s.count == spellings[b].count && s.text < spellings[b].text))
            b = i;
    }
    names.clear();
    for (int b : best)
        names.append(spellings[b].text.isEmpty() ? kNoValue : spellings[b].text);
}

CatchEvaluation::CatchEvaluation(const Env& env)
    : m_env(env)
{
}

void CatchEvaluation::load(const Logbook& log)
{
    if (m_loaded && m_generation == log.catchGeneration())
        return;
    m_loaded = true;
    m_generation = log.catchGeneration();
    m_unreadable = log.unlistedCatches();
    const int n = log.catchCount();
    m_lines.clear();
    m_lines.reserve(n);
    m_catches.assign(n, Catch {});
    for (Field& f : m_fields)
        f = Field {};
    m_years.clear();

    std::array<QStringView, kCatchFields> f;
    for (int row = 0; row < n; ++row) {
        m_lines.append(log.catchLine(row));
        const QString& line = m_lines.back();
        // The list holds only lines that the record reader can split.
        SplitRecord(QStringView(line).sliced(qMin<qsizetype>(kMarkLength, line.size())),
            kCatchFields, f.data());
        Catch& c = m_catches[row];
        const QStringView date = f[0];
        const int month = date.size() == 10 ? digitValue(date.sliced(3, 2)) : -1;
        const int year = date.size() == 10 ? digitValue(date.sliced(6, 4)) : -1;
        if (date.size() == 10 && date[2] == u'.' && date[5] == u'.' && month >= 1 && month <= 12
            && year > 0) {
            c.month = qint8(month);
            c.year = qint16(year);
            if (!m_years.contains(year))
                m_years.append(year);
        }
        const QStringView time = f[3];
        const int hour = time.size() == 5 && time[2] == u':' ? digitValue(time.left(2)) : -1;
        if (hour >= 0 && hour <= 23 && digitValue(time.right(2)) >= 0
            && digitValue(time.right(2)) <= 59)
            c.hour = qint8(hour);
        if (const auto kg = parsedNumber(f[6])) {
            c.weighed = true;
            c.grams = std::llround(*kg * 1000);
        }
        if (const auto cm = parsedNumber(f[7]); cm && *cm > 0) {
            c.measured = true;
            c.length = *cm;
        }
        c.angler = m_fields[Angler].add(f[1]);
        c.species = m_fields[Species].add(withoutPhotoMark(f[5]));
        c.water = m_fields[Water].add(f[8]);
        c.bait = m_fields[Bait].add(f[11]);
        c.phase = m_fields[Phase].add(f[16]);
    }
    for (Field& field : m_fields)
        field.settleNames();
    std::sort(m_years.begin(), m_years.end(), std::greater<int>());

    // The angler chosen before is found again by its name.
    m_anglerOrder.resize(m_fields[Angler].names.size());
    std::iota(m_anglerOrder.begin(), m_anglerOrder.end(), 0);
    const Field& anglers = m_fields[Angler];
    std::sort(m_anglerOrder.begin(), m_anglerOrder.end(), [&](int a, int b) {
        return std::make_pair(GermanSortKey(anglers.names[a]), anglers.names[a])
            < std::make_pair(GermanSortKey(anglers.names[b]), anglers.names[b]);
    });
    if (m_anglerChosen)
        m_angler = anglers.groupOfKey.value(m_anglerKey, -2);

    runFilter();
    choose();
}

QStringList CatchEvaluation::anglers() const
{
    QStringList names;
    for (int g : m_anglerOrder)
        names.append(m_fields[Angler].names[g]);
    return names;
}

void CatchEvaluation::setYear(int year)
{
    m_year = year;
    choose();
}

void CatchEvaluation::setAngler(int index)
{
    if (index >= 0 && index < int(m_anglerOrder.size())) {
        m_angler = m_anglerOrder[index];
        m_anglerKey = m_fields[Angler].keys[m_angler];
    } else {
        m_angler = -1;
    }
    m_anglerChosen = m_angler >= 0;
    choose();
}

QString CatchEvaluation::setFilter(const QString& typed)
{
    m_filter = typed.startsWith(u'+') ? typed.mid(1) : typed;
    runFilter();
    choose();
    return m_filter;
}

void CatchEvaluation::runFilter()
{
    m_passes.assign(m_lines.size(), true);
    if (!m_filter.isEmpty()) {
        // The expression is read once and then tested against every line,
        // as the catch overview filters its list.
        const FilterExpression expression(m_filter);
        for (qsizetype i = 0; i < m_lines.size(); ++i)
            m_passes[i] = expression.matches(m_env, m_lines[i]);
    }
}

void CatchEvaluation::choose()
{
    m_chosen.clear();
    for (int i = 0; i < int(m_catches.size()); ++i) {
        const Catch& c = m_catches[i];
        if (m_passes[i] && (m_year == 0 || c.year == m_year)
            && (m_angler == -1 || c.angler == m_angler))
            m_chosen.push_back(i);
    }
}

QString CatchEvaluation::unreadableNote() const
{
    return UnreadableLinesNote(m_unreadable, m_unreadable, u"dieser Auswertung"_s);
}

QList<EvaluationRow> CatchEvaluation::byGroup(int field, int Catch::*group, int limit) const
{
    const QList<QString>& names = m_fields[field].names;
    QList<EvaluationRow> groups(names.size());
    for (int i : m_chosen) {
        const Catch& c = m_catches[i];
        EvaluationRow& r = groups[c.*group];
        ++r.count;
        r.grams += c.grams;
    }
    QList<EvaluationRow> rows;
    for (qsizetype g = 0; g < groups.size(); ++g) {
        if (groups[g].count > 0) {
            groups[g].category = names[g];
            rows.append(groups[g]);
        }
    }
    sortByCount(rows);
    if (limit > 0 && rows.size() > limit) {
        EvaluationRow others { kOthers };
        for (qsizetype k = limit; k < rows.size(); ++k) {
            others.count += rows[k].count;
            others.grams += rows[k].grams;
        }
        rows.resize(limit);
        rows.append(others);
    }
    return rows;
}

QList<EvaluationRow> CatchEvaluation::yearRows() const
{
    // Years ascending, catches without a readable date last.
    std::map<int, EvaluationRow> years;
    std::map<int, QStringList> lines;
    for (int i : m_chosen) {
        const int key
            = m_catches[i].year == 0 ? std::numeric_limits<int>::max() : m_catches[i].year;
        EvaluationRow& r = years[key];
        ++r.count;
        r.grams += m_catches[i].grams;
        QStringList& l = lines[key];
        if (l.isEmpty())
            l << CatchHeaderLine() << CatchRuleLine();
        l.append(m_lines[i]);
    }
    QList<EvaluationRow> rows;
    for (auto& [year, r] : years) {
        r.category = year == std::numeric_limits<int>::max() ? kNoValue : QString::number(year);
        // The dashboard's trip rule over the catches of the year.
        r.minutes = Angelzeit(m_env, lines[year]);
        rows.append(r);
    }
    return rows;
}

EvaluationFigures CatchEvaluation::figures(EvaluationView view) const
{
    EvaluationFigures out;
    out.catches = catches();
    if (out.catches == 0)
        return out;
    switch (view) {
    case EvaluationView::Months:
    case EvaluationView::Hours: {
        const bool months = view == EvaluationView::Months;
        const int places = months ? 12 : 24;
        QList<EvaluationRow> rows(places + 1);
        for (int s = 0; s < places; ++s)
            rows[s].category = months ? QString::fromUtf16(kMonthNames[s]) : u"%1 Uhr"_s.arg(s);
        rows[places].category = kNoValue;
        for (int i : m_chosen) {
            const Catch& c = m_catches[i];
            const int slot
                = months ? (c.month > 0 ? c.month - 1 : places) : (c.hour >= 0 ? c.hour : places);
            ++rows[slot].count;
            rows[slot].grams += c.grams;
        }
        if (rows[places].count == 0)
            rows.removeLast();
        out.rows = rows;
        break;
    }
    case EvaluationView::MoonPhases: {
        QList<EvaluationRow> rows = byGroup(Phase, &Catch::phase, 0);
        QList<EvaluationRow> cycle;
        for (const char16_t* phase : kPhases) {
            const QString name = QString::fromUtf16(phase);
            const auto at = std::find_if(rows.begin(), rows.end(), [&](const EvaluationRow& r) {
                return r.category.compare(name, Qt::CaseInsensitive) == 0;
            });
            EvaluationRow r { name };
            if (at != rows.end()) {
                r.count = at->count;
                r.grams = at->grams;
                rows.erase(at);
            }
            cycle.append(r);
        }
        out.rows = cycle + rows;
        break;
    }
    case EvaluationView::Baits:
        out.rows = byGroup(Bait, &Catch::bait, kMostFrequentShown);
        break;
    case EvaluationView::Waters:
        out.rows = byGroup(Water, &Catch::water, kMostFrequentShown);
        break;
    case EvaluationView::Species:
        out.rows = byGroup(Species, &Catch::species, 0);
        break;
    case EvaluationView::Years:
        out.rows = yearRows();
        break;
    case EvaluationView::Records:
        break;
    }
    return out;
}

QList<EvaluationTable> CatchEvaluation::tables(EvaluationView view) const
{
    if (view == EvaluationView::Records)
        return recordTables();
    return { FiguresTable(view, figures(view)) };
}

EvaluationTable FiguresTable(EvaluationView view, const EvaluationFigures& f)
{
    static const char16_t* const kCategoryColumn[] = { u"Monat", u"Tageszeit", u"Mondphase",
        u"Köder", u"Gewässer", u"Fischart", u"Jahr", u"" };
    EvaluationTable t;
    t.figures = { false, true, true, true };
    if (view == EvaluationView::Years) {
        t.columns = QStringList { u"Jahr"_s, u"Anzahl"_s, u"Gewicht (kg)"_s, u"Angelzeit"_s };
        for (const EvaluationRow& r : f.rows)
            t.cells.append({ r.category, QString::number(r.count), KgText(r.grams),
                // The dashboard's form without its caption.
                FishingTimeText(r.minutes).mid(11) });
    } else {
        t.columns = QStringList { QString::fromUtf16(kCategoryColumn[int(view)]), u"Anzahl"_s,
            u"Gewicht (kg)"_s, u"Anteil"_s };
        for (const EvaluationRow& r : f.rows)
            t.cells.append(figureCells(r, f.catches));
    }
    return t;
}

QList<EvaluationTable> CatchEvaluation::recordTables() const
{
    // Per group of a field the heaviest and the longest fish: of two equal
    // ones the first in list order.
    struct Best {
        int count = 0;
        int heaviest = -1;
        int longest = -1;
    };
    auto table = [&](int field, int Catch::*group, int Catch::*other, const QString& title,
                     const QString& groupColumn, const QString& otherColumn) {
        QList<Best> best(m_fields[field].names.size());
        for (int i : m_chosen) {
            const Catch& c = m_catches[i];
            Best& b = best[c.*group];
            ++b.count;
            if (c.weighed && (b.heaviest < 0 || c.grams > m_catches[b.heaviest].grams))
                b.heaviest = i;
            if (c.measured && (b.longest < 0 || c.length > m_catches[b.longest].length))
                b.longest = i;
        }
        std::vector<int> order;
        for (int g = 0; g < int(best.size()); ++g) {
            if (best[g].count > 0)
                order.push_back(g);
        }
        const QList<QString>& names = m_fields[field].names;
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            if (best[a].count != best[b].count)
                return best[a].count > best[b].count;
            return GermanSortKey(names[a]) < GermanSortKey(names[b]);
        });

        EvaluationTable t;
        t.title = title;
        t.columns
            = QStringList { groupColumn, u"Schwerster Fisch (kg)"_s, u"Datum"_s, u"Gewässer"_s,
                  otherColumn, u"Längster Fisch (cm)"_s, u"Datum"_s, u"Gewässer"_s, otherColumn };
        t.figures = { false, true, false, false, false, true, false, false, false };
        std::array<QStringView, kCatchFields> f;
        // Figure, date, water and the other field of a catch, or dashes.
        auto fish = [&](int i, bool weight) -> QStringList {
            if (i < 0)
                return { u"–"_s, u"–"_s, u"–"_s, u"–"_s };
            const QString& line = m_lines[i];
            SplitRecord(QStringView(line).sliced(kMarkLength), kCatchFields, f.data());
            const Catch& c = m_catches[i];
            return { weight ? KgText(c.grams) : f[7].trimmed().toString(), f[0].toString(),
                m_fields[Water].names[c.water],
                m_fields[field == Species ? Angler : Species].names[c.*other] };
        };
        for (int g : order)
            t.cells.append(QStringList { names[g] } + fish(best[g].heaviest, true)
                + fish(best[g].longest, false));
        return t;
    };
    return { table(Species, &Catch::species, &Catch::angler, u"Rekorde je Fischart"_s,
                 u"Fischart"_s, u"Fänger"_s),
        table(Angler, &Catch::angler, &Catch::species, u"Rekorde je Fänger"_s, u"Fänger"_s,
            u"Fischart"_s) };
}
