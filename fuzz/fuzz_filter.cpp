// The filter expressions. Input: the expression (UTF-8, as typed), a line
// feed, then the list line (Windows-1252, as read from a log file).
#include "FuzzSupport.h"

#include "platform/Cp1252.h"
#include "search/Search.h"

namespace {

bool isLatin1(const QString& s)
{
    for (QChar c : s) {
        if (c.unicode() > 0xFF)
            return false;
    }
    return true;
}

bool isComparison(const QString& pattern)
{
    for (const char* p : { "kg<", "kg>", "kg=", "cm<", "cm>", "cm=" }) {
        if (pattern.startsWith(QLatin1StringView(p)))
            return true;
    }
    return pattern.startsWith(u'<') || pattern.startsWith(u'>') || pattern.startsWith(u'=');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const Env& env = fuzzEnv();
    const QByteArray bytes = bytesOf(data, size);
    const qsizetype split = bytes.indexOf('\n');
    const QString pattern = QString::fromUtf8(split < 0 ? bytes : bytes.left(split));
    const QString line = split < 0 ? QString() : decode1252(bytes.mid(split + 1));

    // A parsed expression gives the single call's result on every line.
    const bool once = SucheStringInString(env, line, pattern);
    const FilterExpression expression(pattern);
    FUZZ_CHECK(expression.matches(env, line) == once);
    FUZZ_CHECK(expression.matches(env, line) == once);
    SucheGrößerKleiner(env, line, pattern, QStringLiteral("fisch"));
    SucheGrößerKleiner(env, line, pattern, QStringLiteral("kosten"));

    // The text search is a search for the lower-cased text.
    if (!isComparison(pattern) && pattern != u"*" && isLatin1(pattern) && isLatin1(line))
        FUZZ_CHECK(once == line.toLower().contains(pattern.toLower()));
    if (pattern == u"*")
        FUZZ_CHECK(once == line.contains(u'*'));
    return 0;
}
