#include "store/Numbers.h"

#include "platform/Clock.h"
#include "platform/RuntimeError.h"

#include <QLocale>

#include <charconv>
#include <cmath>

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == QChar(0x00A0);
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Rounds the plain decimal text "123.4567" (no sign, '.' as separator) to
// two decimals, an exact half going up, and returns it with a comma.
QString roundDecimalText(QLatin1StringView plain)
{
    const qsizetype dot = plain.indexOf(u'.');
    const QLatin1StringView whole = dot < 0 ? plain : plain.left(dot);
    const QLatin1StringView frac = dot < 0 ? QLatin1StringView() : plain.mid(dot + 1);

    // The whole part and the first two decimals as one run of digits.
    QString digits = whole + frac.left(2);
    while (digits.size() < whole.size() + 2)
        digits += u'0';
    if (frac.size() > 2 && frac[2] >= '5') {
        qsizetype i = digits.size();
        while (true) {
            if (i == 0) {
                digits.prepend(u'1');
                break;
            }
            --i;
            if (digits[i] != u'9') {
                digits[i] = QChar(digits[i].unicode() + 1);
                break;
            }
            digits[i] = u'0';
        }
    }
    const qsizetype w = digits.size() - 2;
    return (w == 0 ? QStringLiteral("0") : digits.left(w)) + u',' + digits.mid(w);
}

// One or more ASCII digits starting at pos; returns how many.
qsizetype digitRun(QStringView s, qsizetype pos)
{
    qsizetype n = 0;
    while (pos + n < s.size() && isDigit(s[pos + n]))
        ++n;
    return n;
}

} // namespace

double ParseNumber(const QString& text)
{
    const auto [negative, s] = SplitNumberText(text);

    // What is left must be digits with at most one decimal comma and at
    // least one digit; "." is never a separator here (1.000 is refused
    // rather than read as one or as a thousand).
    qsizetype digits = 0;
    qsizetype commas = 0;
    for (QChar c : s) {
        if (isDigit(c))
            ++digits;
        else if (c == u',')
            ++commas;
        else
            throw RuntimeError { Err::TypeMismatch };
    }
    if (digits == 0 || commas > 1)
        throw RuntimeError { Err::TypeMismatch };

    // Up to 15 digits the whole digit run and the power of ten are exact
    // doubles, so one division gives the correctly rounded value, the same
    // that the general conversion below gives, without building a text.
    // The statistics read every number of the catch file this way.
    if (digits <= 15) {
        static constexpr double kPow10[] = { 1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10,
            1e11, 1e12, 1e13, 1e14, 1e15 };
        qint64 mantissa = 0;
        qsizetype decimals = 0;
        bool afterComma = false;
        for (QChar c : s) {
            if (c == u',') {
                afterComma = true;
                continue;
            }
            mantissa = mantissa * 10 + (c.unicode() - u'0');
            if (afterComma)
                ++decimals;
        }
        const double v = double(mantissa) / kPow10[decimals];
        return negative ? -v : v;
    }

    QString plain = s.toString();
    plain.replace(u',', u'.');
    bool ok = false;
    const double v = QLocale::c().toDouble(plain, &ok);
    if (!ok || !std::isfinite(v))
        throw RuntimeError { Err::Overflow };
    return negative ? -v : v;
}

qint16 ToInt16(double value)
{
    if (std::isnan(value))
        throw RuntimeError { Err::Overflow };
    // The default floating-point rounding mode sends exact halves to the
    // even neighbour.
    const double r = std::nearbyint(value);
    if (r < -32768.0 || r > 32767.0)
        throw RuntimeError { Err::Overflow };
    return static_cast<qint16>(r);
}

float ToSingle(double value)
{
    // Halfway between the largest single and the next power of two: a value
    // from there on rounds to infinity (the tie goes to the even side).
    constexpr double kFirstTooLarge = 0x1.ffffffp127;
    if (!(std::fabs(value) < kFirstTooLarge))
        throw RuntimeError { Err::Overflow };
    return static_cast<float>(value);
}

qint16 ParseInt16(const QString& text)
{
    return ToInt16(ParseNumber(text));
}

QString TwoDecimals(double value)
{
    if (!std::isfinite(value))
        throw RuntimeError { Err::Overflow };
    // Round the shortest decimal text that reads back as the same value, so
    // that 4,875 (stored as 4.87499999...) still becomes 4,88.
    char buf[400];
    const auto res
        = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::fixed);
    if (res.ec != std::errc())
        throw RuntimeError { Err::Overflow };
    const QString rounded = roundDecimalText(QLatin1StringView(buf, res.ptr - buf));
    if (std::signbit(value) && rounded != u"0,00")
        return u'-' + rounded;
    return rounded;
}

QString AmountForm(double value)
{
    return TwoDecimals(value) + QStringLiteral(" \u20AC");
}

QDate ParseDisplayDate(const QString& text)
{
    const QStringView s(text);
    qsizetype pos = 0;
    int parts[3] = { 0, 0, 0 };
    for (int k = 0; k < 3; ++k) {
        const qsizetype n = digitRun(s, pos);
        const bool sizeOk = k < 2 ? (n == 1 || n == 2) : n == 4;
        if (!sizeOk)
            throw RuntimeError { Err::TypeMismatch };
        parts[k] = s.mid(pos, n).toInt();
        pos += n;
        if (k < 2) {
            if (pos >= s.size() || s[pos] != u'.')
                throw RuntimeError { Err::TypeMismatch };
            ++pos;
        }
    }
    if (pos != s.size())
        throw RuntimeError { Err::TypeMismatch };
    const QDate d(parts[2], parts[1], parts[0]);
    if (!d.isValid() || parts[2] < 100)
        throw RuntimeError { Err::TypeMismatch };
    return d;
}

double DayNumber(const QDate& date)
{
    if (!date.isValid())
        throw RuntimeError { Err::TypeMismatch };
    return double(date.toJulianDay() - 2415019);
}

QString DisplayDate(const QDate& date)
{
    if (!date.isValid())
        return QString();
    return QStringLiteral("%1.%2.%3")
        .arg(date.day(), 2, 10, QChar(u'0'))
        .arg(date.month(), 2, 10, QChar(u'0'))
        .arg(date.year(), 4, 10, QChar(u'0'));
}

QString TodayText(const Clock& clock)
{
    return DisplayDate(clock.now().date());
}

QStringView TrimNumberBlanks(QStringView s)
{
    qsizetype b = 0;
    qsizetype e = s.size();
    while (b < e && isBlank(s[b]))
        ++b;
    while (e > b && isBlank(s[e - 1]))
        --e;
    return s.mid(b, e - b);
}

NumberText SplitNumberText(QStringView text)
{
    NumberText n;
    QStringView s = TrimNumberBlanks(text);
    if (s.endsWith(QChar(0x20AC)))
        s = TrimNumberBlanks(s.chopped(1));
    if (!s.isEmpty() && (s.front() == u'+' || s.front() == u'-')) {
        n.negative = s.front() == u'-';
        s = TrimNumberBlanks(s.sliced(1));
    }
    n.rest = s;
    return n;
}
