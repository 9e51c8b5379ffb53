// The number and date forms and ConvertDate. The input is read both as
// typed text (UTF-8) and, when long enough, its first 8 bytes as a double.
#include "FuzzSupport.h"

#include "platform/RuntimeError.h"
#include "store/ConvertDate.h"
#include "store/Numbers.h"

#include <cmath>
#include <cstring>

namespace {

template <class F> bool reads(F&& f)
{
    try {
        f();
        return true;
    } catch (const RuntimeError& e) {
        FUZZ_CHECK(e.number == Err::TypeMismatch || e.number == Err::Overflow);
        return false;
    }
}

// The two-decimal form of any finite value reads back as that value
// rounded to two decimals.
void checkTwoDecimals(double v)
{
    QString text;
    if (!reads([&] { text = TwoDecimals(v); }))
        return;
    double back = 0;
    FUZZ_CHECK(reads([&] { back = ParseNumber(text); }));
    FUZZ_CHECK(std::fabs(back - v) <= 0.005 + std::fabs(v) * 1e-12);
    FUZZ_CHECK(reads([&] { back = ParseNumber(AmountForm(v)); }));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const Env& env = fuzzEnv();
    const QString s = QString::fromUtf8(bytesOf(data, size));

    double v = 0;
    if (reads([&] { v = ParseNumber(s); })) {
        FUZZ_CHECK(!std::isnan(v));
        if (std::isfinite(v))
            checkTwoDecimals(v);
        qint16 n = 0;
        if (reads([&] { n = ToInt16(v); }))
            FUZZ_CHECK(double(n) == std::nearbyint(v));
    }
    reads([&] { ParseInt16(s); });

    QDate d;
    if (reads([&] { d = ParseDisplayDate(s); })) {
        FUZZ_CHECK(d.isValid());
        FUZZ_CHECK(ParseDisplayDate(DisplayDate(d)) == d);
        FUZZ_CHECK(std::isfinite(DayNumber(d)));
    }

    // Positional only: a display date of 10 characters comes back whole.
    const QString stored = ConvertDate(env, s, QStringLiteral("de-en"));
    const QString shown = ConvertDate(env, stored, QStringLiteral("en-de"));
    if (s.size() == 10 && s[2] == u'.' && s[5] == u'.')
        FUZZ_CHECK(shown == s);
    FUZZ_CHECK(ConvertDate(env, s, s).isEmpty() || s == u"de-en" || s == u"en-de");

    if (size >= sizeof(double)) {
        double raw = 0;
        std::memcpy(&raw, data, sizeof raw);
        if (std::isfinite(raw))
            checkTwoDecimals(raw);
    }
    return 0;
}
