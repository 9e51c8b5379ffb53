#include "store/ConvertToArray.h"

#include "platform/Dialogs.h"
#include "platform/ErrorLog.h"
#include "platform/RuntimeError.h"

#include <algorithm>
#include <array>

bool SplitRecord(QStringView line, int columns, QStringView* fields)
{
    for (int col = 0; col < columns; ++col)
        fields[col] = QStringView();
    const qsizetype size = line.size();
    fields[0] = line.left(10);
    // Character 11 is the TAB after the date; it is skipped without a look.
    qsizetype pos = 11;
    for (int col = 1; col < columns - 1; ++col) {
        if (pos >= size)
            return false;
        const qsizetype window = std::min(size, pos + kFieldScanLimit);
        qsizetype tab = -1;
        for (qsizetype i = pos; i < window; ++i) {
            if (line[i] == u'\t') {
                tab = i;
                break;
            }
        }
        if (tab < 0)
            return false;
        fields[col] = line.sliced(pos, tab - pos);
        pos = tab + 1;
    }
    fields[columns - 1] = pos < size ? line.sliced(pos) : QStringView();
    return true;
}

namespace {

// Fills row from line; returns false when the line cannot be parsed (the
// row then keeps the columns filled so far).
bool parseLine(const QString& line, int columns, QStringList& row)
{
    std::array<QStringView, kCatchFields> views;
    const bool ok = SplitRecord(line, columns, views.data());
    for (int col = 0; col < columns; ++col)
        row[col] = views[col].toString();
    return ok;
}

} // namespace

RecordTable ConvertToArray(const Env& env, const QStringList& lines, const QString& typeWord)
{
    const QString word = typeWord.toLower();
    int columns = 0;
    if (word == u"fisch") {
        columns = kCatchFields;
    } else if (word == u"kosten") {
        columns = kCostFields;
    } else {
        if (env.dialogs)
            env.dialogs->message(QStringLiteral("Unbekannter Parameter: ") + typeWord
                    + QStringLiteral("\r\nVorgang wird abgebrochen!"),
                MsgIcon::Warning);
        return {};
    }

    RecordTable table;
    table.reserve(lines.size());
    qsizetype i = 0;
    for (; i < lines.size(); ++i) {
        QStringList row(columns);
        const bool ok = parseLine(lines[i], columns, row);
        table.append(std::move(row));
        if (!ok) {
            // The position counter of the field scan overflows: the rest of
            // the table stays empty and the caller goes on with what it has.
            ErrorTrap(env, QStringLiteral("Funktion ConvertToArray")).log(Err::Overflow);
            ++i;
            break;
        }
    }
    if (i < lines.size()) {
        const QStringList emptyRow(columns);
        table.insert(table.size(), lines.size() - i, emptyRow);
    }
    return table;
}
