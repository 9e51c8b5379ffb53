#pragma once

#include "platform/Dialogs.h"
#include "platform/Env.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>

// What the cost window's entry boxes hold, as typed.
struct CostEntry {
    QString date; // dd.mm.yyyy
    QString shop;
    QString quantity;
    QString article;
    QString unitPrice; // e.g. "4,5"
    QString shipping; // e.g. "0"; an empty or blank box is no shipping
};

// What the cost window shows instead of storing an entry.
struct CostRefusal {
    QString text;
    MsgIcon icon = MsgIcon::Information;
    bool operator==(const CostRefusal&) const = default;
};

// The refusal the save shows for the entry, or nothing when it can be
// stored. Checked in this order: quantity, unit price, shop and article
// given; date 10 characters long, a calendar date, not after today; shop and
// article storable; quantity a number of at most 16 bits; unit price and
// shipping numbers.
std::optional<CostRefusal> CheckCostEntry(const CostEntry& e, const QDate& today);

// The 8 fields of a cost record:
//   1 date converted "de-en", 2-4 shop, quantity and article as typed,
//   5 unit price in amount form ("4,50 €"),
//   6 unit price (single) × quantity rounded to a 16-bit whole number
//     (halves to even), the product in single precision,
//   7 shipping in amount form,
//   8 unit price × unrounded quantity, the product rounded to single
//     precision, plus shipping (single).
// Throws RuntimeError: 13 when a number cannot be read, 6 when the
// quantity is outside the 16-bit range or a value is too large for single
// precision, 5 when a text holds a double quote, TAB or line break, which
// the file line cannot carry.
QStringList CostFields(const Env& env, const CostEntry& entry);

// The record line's text (without the surrounding quotes): the 8 fields
// joined by TABs.
QString CostItem(const Env& env, const CostEntry& entry);
