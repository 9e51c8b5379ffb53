#include "search/Search.h"

#include "platform/ErrorLog.h"
#include "platform/RuntimeError.h"
#include "store/ConvertToArray.h"
#include "store/Numbers.h"

#include <QChar>
#include <QStringList>

#include <array>
#include <cmath>
#include <exception>

using namespace Qt::StringLiterals;

namespace {

const QString kComparePlace = u"Funktion SucheGrößerKleiner"_s;

char16_t lower(char16_t c)
{
    // Most characters of a list line are Latin-1: look those up.
    static const std::array<char16_t, 256> latin1 = [] {
        std::array<char16_t, 256> t {};
        for (int i = 0; i < 256; ++i)
            t[i] = QChar(char16_t(i)).toLower().unicode();
        return t;
    }();
    return c < 256 ? latin1[c] : QChar(c).toLower().unicode();
}

// Lower-cases character by character, so that positions stay the same.
QString lowerText(QStringView s)
{
    QString out(s.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < s.size(); ++i)
        out[i] = QChar(lower(s[i].unicode()));
    return out;
}

bool startsWithLower(QStringView s, QStringView prefix)
{
    if (s.size() < prefix.size())
        return false;
    for (qsizetype i = 0; i < prefix.size(); ++i) {
        if (lower(s[i].unicode()) != prefix[i].unicode())
            return false;
    }
    return true;
}

float readSingle(QStringView field)
{
    return ToSingle(ParseNumber(field.toString()));
}

using FieldViews = std::array<QStringView, kCatchFields>;

// The fields of one line: views into the line when it parses, otherwise
// the reader's (partly filled) row.
struct Record {
    FieldViews fields {};
    QStringList parsed;

    Record(const Env& env, QStringView record, int fieldCount, const QString& typeWord)
    {
        if (SplitRecord(record, fieldCount, fields.data()))
            return;
        const RecordTable table = ConvertToArray(env, { record.toString() }, typeWord);
        if (!table.isEmpty())
            parsed = table.first();
        for (int k = 0; k < fieldCount; ++k)
            fields[k] = k < parsed.size() ? QStringView(parsed[k]) : QStringView();
    }
    Record(const Record&) = delete; // the views may point into `parsed`
    Record& operator=(const Record&) = delete;

    // Field k counted from 1.
    QStringView field(int k) const { return fields[k - 1]; }
};

} // namespace

FilterExpression::FilterExpression(const QString& pattern)
{
    static const std::array<QStringView, 6> catchPrefixes
        = { u"kg<", u"kg>", u"kg=", u"cm<", u"cm>", u"cm=" };
    const QStringView head = QStringView(pattern).left(3);
    for (QStringView p : catchPrefixes) {
        if (head == p) {
            parseCatchComparison(pattern);
            return;
        }
    }
    if (pattern.startsWith(u'<') || pattern.startsWith(u'>') || pattern.startsWith(u'=')) {
        parseCostComparison(pattern);
        return;
    }
    if (pattern == u"*"_s) {
        m_kind = Kind::Photo;
        return;
    }
    m_kind = Kind::Text;
    m_lowerPattern = lowerText(pattern);
}

FilterExpression FilterExpression::comparison(const QString& pattern, const QString& mode)
{
    FilterExpression e;
    if (lowerText(mode) == u"fisch"_s)
        e.parseCatchComparison(pattern);
    else
        e.parseCostComparison(pattern);
    return e;
}

void FilterExpression::parseCatchComparison(QString pattern)
{
    m_kind = Kind::CatchComparison;
    // Each prefix is tested once, in this order, on what the tests before
    // it left: "kg>cm<5" sets two flags and leaves "5".
    static const std::array<std::pair<QStringView, Flag>, 6> prefixes = { {
        { u"kg>", WeightGreater },
        { u"kg<", WeightLess },
        { u"kg=", WeightEqual },
        { u"cm>", LengthGreater },
        { u"cm<", LengthLess },
        { u"cm=", LengthEqual },
    } };
    for (const auto& [prefix, flag] : prefixes) {
        if (startsWithLower(pattern, prefix)) {
            m_flags |= flag;
            pattern.remove(0, 3);
        }
    }
    readValue(pattern);
}

void FilterExpression::parseCostComparison(QString pattern)
{
    m_kind = Kind::CostComparison;
    // ">=5" sets greater and equal; only greater is ever tested then.
    static const std::array<std::pair<char16_t, Flag>, 3> prefixes = { {
        { u'>', Greater },
        { u'<', Less },
        { u'=', Equal },
    } };
    for (const auto& [prefix, flag] : prefixes) {
        if (!pattern.isEmpty() && pattern.front() == QChar(prefix)) {
            m_flags |= flag;
            pattern.remove(0, 1);
        }
    }
    readValue(pattern);
}

void FilterExpression::readValue(const QString& rest)
{
    // Read once here; a failure is raised again for each line, at the
    // point of the comparison where reading would have failed. A point
    // typed in the number is its decimal comma: read as unreadable, "kg>1.5"
    // would match every catch.
    try {
        m_value = ToSingle(ParseNumber(QString(rest).replace(u'.', u',')));
    } catch (const RuntimeError& e) {
        m_valueError = e.number;
    } catch (const std::exception&) {
        m_valueError = Err::InvalidArgument;
    }
}

float FilterExpression::value() const
{
    if (m_valueError != 0)
        throw UnreadableValue { m_valueError };
    return m_value;
}

void FilterExpression::logUnreadableValue(const Env& env) const
{
    // The same value fails on every line; one log line tells it.
    if (m_valueErrorLogged)
        return;
    m_valueErrorLogged = true;
    WriteLog(env, kComparePlace, u"Error (%1)"_s.arg(m_valueError));
}

bool FilterExpression::matches(const Env& env, const QString& line) const
{
    switch (m_kind) {
    case Kind::Text:
        return containsText(line);
    case Kind::Photo:
        return line.contains(u'*');
    case Kind::CatchComparison:
        return matchCatch(env, line);
    case Kind::CostComparison:
        return matchCost(env, line);
    }
    return false;
}

bool FilterExpression::containsText(QStringView line) const
{
    const qsizetype len = m_lowerPattern.size();
    if (len == 0)
        return true; // the empty text is found at the first position, even in ""
    if (len > line.size())
        return false;
    const char16_t* pat = reinterpret_cast<const char16_t*>(m_lowerPattern.constData());
    const char16_t* text = reinterpret_cast<const char16_t*>(line.data());
    const qsizetype lastStart = line.size() - len;
    for (qsizetype i = 0; i <= lastStart; ++i) {
        if (lower(text[i]) != pat[0])
            continue;
        qsizetype j = 1;
        while (j < len && lower(text[i + j]) == pat[j])
            ++j;
        if (j == len)
            return true;
    }
    return false;
}

bool FilterExpression::matchCatch(const Env& env, const QString& line) const
{
    // A catch overview line: photo column and its TAB, then the record.
    const QStringView record = line.size() > 2 ? QStringView(line).mid(2) : QStringView();

    const Record rec(env, record, kCatchFields, u"fisch"_s);
    const QStringView weight = rec.field(7);
    const QStringView length = rec.field(8);

    // The six comparisons in their fixed order: lengths first, then weights.
    enum class Op { Less, Greater, Equal };
    struct Test {
        int flag;
        bool length;
        Op op;
    };
    static constexpr Test kTests[] = {
        { LengthLess, true, Op::Less },
        { LengthGreater, true, Op::Greater },
        { LengthEqual, true, Op::Equal },
        { WeightLess, false, Op::Less },
        { WeightGreater, false, Op::Greater },
        { WeightEqual, false, Op::Equal },
    };
    // Field first, then the value: whichever cannot be read first is logged.
    try {
        for (const Test& t : kTests) {
            if (!(m_flags & t.flag))
                continue;
            const float f = readSingle(t.length ? length : weight);
            const float n = value();
            if ((t.op == Op::Less && f < n) || (t.op == Op::Greater && f > n)
                || (t.op == Op::Equal && f == n))
                return true;
        }
    } catch (const UnreadableValue&) {
        logUnreadableValue(env);
        return true;
    } catch (const RuntimeError& e) {
        WriteLog(env, kComparePlace, u"Error (%1)"_s.arg(e.number));
        return true;
    } catch (const std::exception&) {
        WriteLog(env, kComparePlace, u"Error (%1)"_s.arg(Err::InvalidArgument));
        return true;
    }
    return false;
}

bool FilterExpression::matchCost(const Env& env, const QString& line) const
{
    const Record rec(env, line, kCostFields, u"kosten"_s);
    const QStringView price = rec.field(6);

    try {
        const float p = readSingle(price);
        if (m_flags & Less)
            return p < value();
        if (m_flags & Greater)
            return p > value();
        return p == value();
    } catch (const UnreadableValue&) {
        logUnreadableValue(env);
        return true;
    } catch (const RuntimeError& e) {
        WriteLog(env, kComparePlace, u"Error (%1)"_s.arg(e.number));
        return true;
    } catch (const std::exception&) {
        WriteLog(env, kComparePlace, u"Error (%1)"_s.arg(Err::InvalidArgument));
        return true;
    }
}

bool SucheStringInString(const Env& env, const QString& text, const QString& pattern)
{
    return FilterExpression(pattern).matches(env, text);
}

bool SucheGrößerKleiner(
    const Env& env, const QString& text, const QString& pattern, const QString& mode)
{
    return FilterExpression::comparison(pattern, mode).matches(env, text);
}
