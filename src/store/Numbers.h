#pragma once

#include <QDate>
#include <QString>
#include <QStringView>

class Clock;

// Number and date forms with the German conventions fixed in the program.
// Failures throw RuntimeError: 13 for text that is not a number or date,
// 6 for a value outside the 16-bit range.

// Decimal comma, blanks around the number, a sign followed by blanks
// ("+ 18") and a trailing " €" are accepted.
double ParseNumber(const QString& text);
// The text without the blanks (space, TAB, no-break space) that the number
// reader passes over before and after a number.
QStringView TrimNumberBlanks(QStringView text);

// The parts of a number text as the number reader sees them: the blanks,
// a trailing "€" and a leading sign with the blanks after it taken off.
// What is left should be digits with at most one decimal comma.
struct NumberText {
    bool negative = false;
    QStringView rest;
};
NumberText SplitNumberText(QStringView text);

// Nearest whole number, exact halves to the even neighbour.
qint16 ToInt16(double value);
qint16 ParseInt16(const QString& text); // ParseNumber then ToInt16

// Nearest single-precision value. 6 when the value does not fit: NaN,
// infinity, or a magnitude that rounds beyond the largest single (values
// that round down to it are taken).
float ToSingle(double value);

// Exactly two decimals, decimal comma, halves away from zero on the
// shortest decimal form (2,456 -> 2,46; 4,875 -> 4,88).
QString TwoDecimals(double value);
// Two-decimal form followed by " €".
QString AmountForm(double value);

// A valid calendar date in day.month.year (one or two digit day and month,
// four digit year). Anything else: 13.
QDate ParseDisplayDate(const QString& text);
// Days since 30.12.1899 (that day is 0).
double DayNumber(const QDate& date);
// dd.MM.yyyy
QString DisplayDate(const QDate& date);
QString TodayText(const Clock& clock);
