#include "export/CsvExport.h"

#include "store/ConvertToArray.h"
#include "store/Numbers.h"

#include <array>

using namespace Qt::StringLiterals;

namespace {

// What a column holds, field by field.
enum class Cell { Text, Number, Species };

const QString kCatchHeader = u"Datum;Fänger;Beginn;Fangzeit;Ende;Fischart;Gewicht (kg);"
                             "Länge (cm);Gewässer;Angelplatz;Montage/Rig.;Köder;Wetter;"
                             "Lufttemperatur (°C);Wassertemperatur (°C);Tiefe (m);Mondphase;Foto"_s;
constexpr std::array<Cell, kCatchFields> kCatchColumns { Cell::Text, Cell::Text, Cell::Text,
    Cell::Text, Cell::Text, Cell::Species, Cell::Number, Cell::Number, Cell::Text, Cell::Text,
    Cell::Text, Cell::Text, Cell::Text, Cell::Number, Cell::Number, Cell::Number, Cell::Text };

const QString kCostHeader = u"Kaufdatum;Geschäft;Menge;Artikelbezeichnung;Einzelpreis (€);"
                            "Preis (€);Versandkosten (€);Gesamt (€)"_s;
constexpr std::array<Cell, kCostFields> kCostColumns { Cell::Text, Cell::Text, Cell::Number,
    Cell::Text, Cell::Number, Cell::Number, Cell::Number, Cell::Number };

bool needsQuotes(QStringView s)
{
    for (QChar c : s) {
        if (c == u';' || c == u'"' || c == u'\r' || c == u'\n')
            return true;
    }
    return false;
}

void appendQuoted(QString& out, QStringView s)
{
    if (!needsQuotes(s)) {
        out += s;
        return;
    }
    out += u'"';
    for (QChar c : s) {
        if (c == u'"')
            out += u'"';
        out += c;
    }
    out += u'"';
}

// The number in a spreadsheet's form, or a null text when `text` is not
// one of the program's number forms (the forms the number reader takes).
QString plainNumber(QStringView text)
{
    const auto [negative, s] = SplitNumberText(text);
    qsizetype digits = 0;
    qsizetype commas = 0;
    bool nonZero = false;
    for (QChar c : s) {
        if (c >= u'0' && c <= u'9') {
            ++digits;
            nonZero = nonZero || c != u'0';
        } else if (c == u',') {
            ++commas;
        } else {
            return {};
        }
    }
    if (digits == 0 || commas > 1)
        return {};
    QString out;
    out.reserve(s.size() + 2);
    if (negative && nonZero)
        out += u'-';
    // ",5" and "5," are numbers to the program; a spreadsheet wants "0,5" and "5".
    if (s.front() == u',')
        out += u'0';
    out += s.back() == u',' ? s.chopped(1) : s;
    return out;
}

void appendTextCell(QString& out, QStringView text)
{
    if (text.isEmpty())
        return;
    // The apostrophe is guarded too, so that reading the file back can take
    // exactly one leading apostrophe off every text.
    const QChar first = text.front();
    if (first == u'=' || first == u'+' || first == u'-' || first == u'@' || first == u'\t'
        || first == u'\r' || first == u'\'') {
        QString guarded = u"'"_s;
        guarded += text;
        appendQuoted(out, guarded);
        return;
    }
    appendQuoted(out, text);
}

void appendNumberCell(QString& out, QStringView text)
{
    const QString number = plainNumber(text);
    if (number.isNull())
        appendTextCell(out, text);
    else
        out += number;
}

template <size_t N>
CsvFile makeCsv(const QStringList& lines, qsizetype first, qsizetype markLength,
    const QString& header, const std::array<Cell, N>& columns, bool photoColumn)
{
    CsvFile csv;
    QString text;
    // About what the lines hold, so that the text grows only once or twice.
    qsizetype size = header.size() + 2;
    for (qsizetype i = first; i < lines.size(); ++i)
        size += lines[i].size() + 16;
    text.reserve(size);
    text += QChar(0xFEFF);
    text += header;
    text += u"\r\n";

    std::array<QStringView, N> fields;
    for (qsizetype i = first; i < lines.size(); ++i) {
        const QString& line = lines[i];
        const QStringView record = QStringView(line).sliced(qMin(markLength, line.size()));
        if (!SplitRecord(record, int(N), fields.data())) {
            ++csv.unreadable;
            continue;
        }
        bool photo = false;
        for (size_t c = 0; c < N; ++c) {
            if (c > 0)
                text += u';';
            const QStringView value = fields[c];
            switch (columns[c]) {
            case Cell::Text:
                appendTextCell(text, value);
                break;
            case Cell::Number:
                appendNumberCell(text, value);
                break;
            case Cell::Species:
                // A catch has a photo when its species ends with the mark.
                photo = value.endsWith(u'*');
                appendTextCell(text, photo ? value.chopped(1) : value);
                break;
            }
        }
        if (photoColumn)
            text += photo ? u";ja"_s : u";nein"_s;
        text += u"\r\n";
        ++csv.rows;
    }
    csv.bytes = text.toUtf8();
    return csv;
}

} // namespace

CsvFile CatchesCsv(const QStringList& overviewLines)
{
    // Two header lines, and each catch line starts with its photo mark and a TAB.
    return makeCsv(overviewLines, 2, 2, kCatchHeader, kCatchColumns, true);
}

CsvFile CostsCsv(const QStringList& costLines)
{
    return makeCsv(costLines, 0, 0, kCostHeader, kCostColumns, false);
}
