#include "store/CostLine.h"

#include "platform/RuntimeError.h"
#include "store/ConvertDate.h"
#include "store/Numbers.h"

#include <charconv>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// A single-precision result is formatted from its own shortest decimal form
// (2,675 stays 2,675 and rounds to 2,68), not from the longer digits the
// same value shows in double precision (2,67499995...).
double asDecimal(float f)
{
    char buf[32];
    const auto printed = std::to_chars(buf, buf + sizeof buf, f);
    double d = f;
    std::from_chars(buf, printed.ptr, d);
    return d;
}

QString singleAmount(float f)
{
    if (std::isinf(f) || std::isnan(f))
        throw RuntimeError { Err::Overflow };
    return AmountForm(asDecimal(f));
}

void refuseLineBreakers(const QString& text)
{
    for (QChar c : text) {
        if (c == u'"' || c == u'\t' || c == u'\r' || c == u'\n')
            throw RuntimeError { Err::InvalidArgument };
    }
}

} // namespace

QStringList CostFields(const Env& env, const CostEntry& entry)
{
    const QString date = ConvertDate(env, entry.date, u"de-en"_s);
    for (const QString* text : { &date, &entry.shop, &entry.quantity, &entry.article })
        refuseLineBreakers(*text);

    // Read in field order, so that the first field that fails decides the
    // error number.
    const double unitPrice = ParseNumber(entry.unitPrice);
    // Price: the quantity counts as a whole number, the product is single.
    const double quantity = ParseNumber(entry.quantity);
    const float price = ToSingle(unitPrice) * static_cast<float>(ToInt16(quantity));
    const double shipping = ParseNumber(entry.shipping);
    // Total: both factors unrounded, the product rounded to single, then
    // the shipping added in single precision.
    const float product = ToSingle(unitPrice * static_cast<double>(ToSingle(quantity)));
    const float total = product + ToSingle(shipping);

    return { date, entry.shop, entry.quantity, entry.article, AmountForm(unitPrice),
        singleAmount(price), AmountForm(shipping), singleAmount(total) };
}

QString CostItem(const Env& env, const CostEntry& entry)
{
    return CostFields(env, entry).join(u'\t');
}
