#include "store/CostLine.h"

#include "platform/RuntimeError.h"
#include "store/ConvertDate.h"
#include "store/CostList.h"
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

double shippingOf(const CostEntry& entry)
{
    return entry.shipping.trimmed().isEmpty() ? 0.0 : ParseNumber(entry.shipping);
}

bool isNumber(const QString& text)
{
    try {
        ParseNumber(text);
        return true;
    } catch (const RuntimeError&) {
        return false;
    }
}

void refuseLineBreakers(const QString& text)
{
    for (QChar c : text) {
        if (c == u'"' || c == u'\t' || c == u'\r' || c == u'\n')
            throw RuntimeError { Err::InvalidArgument };
    }
}

} // namespace

std::optional<CostRefusal> CheckCostEntry(const CostEntry& e, const QDate& today)
{
    if (e.quantity.isEmpty())
        return CostRefusal { u"Bitte die Menge eingeben!"_s };
    if (e.unitPrice.isEmpty())
        return CostRefusal { u"Bitte den Einzelpreis eingeben!"_s };
    if (e.shop.isEmpty())
        return CostRefusal { u"Bitte das Geschäft eingeben!"_s };
    if (e.article.isEmpty())
        return CostRefusal { u"Bitte eine Artikelbezeichnung eingeben!"_s };
    if (e.date.size() != 10)
        return CostRefusal { u"Bitte geben Sie ein Datum im Format TT.MM.JJJJ ein!"_s };

    // A date that is no calendar date would be stored as it stands and
    // sorted wrongly; refuse it before the date comparison needs it.
    QDate date;
    try {
        date = ParseDisplayDate(e.date);
    } catch (const RuntimeError&) {
        return CostRefusal {
            u"Das Datum %1 gibt es nicht!\r\nBitte geben Sie ein gültiges Datum im Format TT.MM.JJJJ ein!"_s
                .arg(e.date),
            MsgIcon::Warning
        };
    }
    if (date > today)
        return CostRefusal { u"Es ist nicht möglich, morgen für heute schon eingekauft zu haben!"_s,
            MsgIcon::Warning };

    // The shop and the article go into the line as typed: a double quote,
    // TAB or a character the file's code page lacks would break the record.
    if (!IsStorableCostText(e.shop))
        return CostRefusal { u"Das Geschäft enthält ein Zeichen, das nicht gespeichert werden kann "
                             u"(Anführungszeichen, Tabulator oder Sonderzeichen)!"_s };
    if (!IsStorableCostText(e.article))
        return CostRefusal { u"Die Artikelbezeichnung enthält ein Zeichen, das nicht gespeichert "
                             u"werden kann (Anführungszeichen, Tabulator oder Sonderzeichen)!"_s };

    if (!isNumber(e.quantity))
        return CostRefusal { u"Bitte eine gültige Menge eingeben!"_s };
    try {
        ToInt16(ParseNumber(e.quantity));
    } catch (const RuntimeError&) {
        return CostRefusal { u"Die Menge darf höchstens 32767 betragen!"_s };
    }
    if (!isNumber(e.unitPrice))
        return CostRefusal { u"Bitte einen gültigen Einzelpreis eingeben!"_s };
    try {
        shippingOf(e);
    } catch (const RuntimeError&) {
        return CostRefusal { u"Bitte gültige Versandkosten eingeben!"_s };
    }
    return std::nullopt;
}

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
    const double shipping = shippingOf(entry);
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
