#pragma once

#include "platform/Env.h"

#include <QString>
#include <QStringView>

// The filter language of the catch overview and the cost window.
//
//   "kg<" n, "kg>" n, "kg=" n   weight of a catch list line (field 7)
//   "cm<" n, "cm>" n, "cm=" n   length of a catch list line (field 8)
//   "<" n, ">" n, "=" n         price of a cost list line (field 6)
//   "*"                         the line contains the photo mark "*"
//   anything else               the line contains the text, case ignored
//
// The prefixes count only as written, in lower case ("KG>5" is a text
// search). A point in the expression's number is read as its decimal comma
// ("kg>1.5" is 1,5). A number that cannot be read, in the expression or in
// the line, makes the line count as a match and is logged under
// "Funktion SucheGrößerKleiner": a line's number for each such line, the
// expression's number once per FilterExpression.
//
// A FilterExpression is parsed once and then tested against many lines
// (one filter run); it gives exactly the results of SucheStringInString.
class FilterExpression {
public:
    explicit FilterExpression(const QString& pattern);

    // The comparison form alone, as SucheGrößerKleiner reads it: mode
    // "fisch" (any letter case) reads catch lines, anything else cost lines.
    static FilterExpression comparison(const QString& pattern, const QString& mode);

    bool matches(const Env& env, const QString& line) const;

private:
    enum class Kind { Text, Photo, CatchComparison, CostComparison };
    enum Flag : unsigned {
        WeightGreater = 1,
        WeightLess = 2,
        WeightEqual = 4,
        LengthGreater = 8,
        LengthLess = 16,
        LengthEqual = 32,
        Greater = 64,
        Less = 128,
        Equal = 256,
    };

    FilterExpression() = default;
    void parseCatchComparison(QString pattern);
    void parseCostComparison(QString pattern);
    void readValue(const QString& rest);
    // The comparison value; throws UnreadableValue when it cannot be read.
    float value() const;
    void logUnreadableValue(const Env& env) const;
    struct UnreadableValue {
        int number;
    };

    bool containsText(QStringView line) const;
    bool matchCatch(const Env& env, const QString& line) const;
    bool matchCost(const Env& env, const QString& line) const;

    Kind m_kind = Kind::Text;
    QString m_lowerPattern; // text search
    unsigned m_flags = 0; // comparisons
    float m_value = 0;
    int m_valueError = 0; // error number when the comparison value is unreadable
    mutable bool m_valueErrorLogged = false;
};

// True when the list line passes the filter expression.
bool SucheStringInString(const Env& env, const QString& text, const QString& pattern);

// The number comparisons: mode "fisch" strips any of the six "kg"/"cm"
// prefixes (in the order kg>, kg<, kg=, cm>, cm<, cm=) and tests the set
// ones in the order length <, >, =, weight <, >, =, the first that holds
// giving true. Any other mode strips ">", "<", "=" in that order and makes
// one comparison of the price: less if set, else greater if set, else equal.
bool SucheGrößerKleiner(
    const Env& env, const QString& text, const QString& pattern, const QString& mode);
