#include "export/CsvReader.h"

#include "platform/Cp1252.h"

#include <QFile>
#include <QStringDecoder>

#include <array>

using namespace Qt::StringLiterals;

namespace {

const QByteArray kUtf8Mark("\xEF\xBB\xBF");

bool isLineEnd(QChar c)
{
    return c == u'\r' || c == u'\n';
}

// Steps over one line end at pos (CR LF counts once).
qsizetype skipLineEnd(const QString& text, qsizetype pos)
{
    if (text[pos] == u'\r' && pos + 1 < text.size() && text[pos + 1] == u'\n')
        return pos + 2;
    return pos + 1;
}

} // namespace

QChar DetectCsvSeparator(const QString& text)
{
    constexpr std::array<char16_t, 3> candidates { u';', u'\t', u',' };
    std::array<int, 3> counts {};
    bool quoted = false;
    for (QChar c : text) {
        if (c == u'"')
            quoted = !quoted;
        else if (!quoted && isLineEnd(c))
            break;
        else if (!quoted) {
            for (size_t i = 0; i < candidates.size(); ++i)
                counts[i] += c == candidates[i] ? 1 : 0;
        }
    }
    size_t best = 0;
    for (size_t i = 1; i < candidates.size(); ++i) {
        if (counts[i] > counts[best])
            best = i;
    }
    return QChar(candidates[best]);
}

CsvSheet ReadCsvSheet(const QByteArray& bytes, QChar separator, CsvEncoding encoding)
{
    CsvSheet sheet;
    sheet.byteOrderMark = bytes.startsWith(kUtf8Mark);
    QString text;
    if (encoding != CsvEncoding::Windows1252) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        text = utf8(sheet.byteOrderMark ? bytes.mid(kUtf8Mark.size()) : bytes);
        sheet.encoding = CsvEncoding::Utf8;
        // Bytes that are no UTF-8 are a file of the Windows code page.
        if (utf8.hasError() && encoding == CsvEncoding::Detect && !sheet.byteOrderMark)
            encoding = CsvEncoding::Windows1252;
    }
    if (encoding == CsvEncoding::Windows1252) {
        text = decode1252(QByteArrayView(bytes));
        sheet.encoding = CsvEncoding::Windows1252;
        sheet.byteOrderMark = false;
    }
    sheet.separator = separator.isNull() ? DetectCsvSeparator(text) : separator;

    const QChar sep = sheet.separator;
    const qsizetype n = text.size();
    qsizetype pos = 0;
    int line = 1;
    bool first = true;
    while (pos < n) {
        if (isLineEnd(text[pos])) {
            pos = skipLineEnd(text, pos);
            ++line;
            continue;
        }
        CsvRecord record;
        record.line = line;
        record.ends.reserve(qMax<qsizetype>(1, sheet.header.size()));
        QString& cells = record.text;
        // About the line's length, so that the text grows once.
        qsizetype lineEnd = pos;
        while (lineEnd < n && !isLineEnd(text[lineEnd]))
            ++lineEnd;
        cells.reserve(lineEnd - pos);
        bool open = false;
        while (true) {
            if (pos < n && text[pos] == u'"') {
                // A quoted cell: up to the quote that is not doubled.
                ++pos;
                open = true;
                while (pos < n) {
                    const QChar c = text[pos];
                    if (c == u'"') {
                        if (pos + 1 < n && text[pos + 1] == u'"') {
                            cells += u'"';
                            pos += 2;
                            continue;
                        }
                        ++pos;
                        open = false;
                        break;
                    }
                    if (isLineEnd(c)) {
                        const qsizetype next = skipLineEnd(text, pos);
                        cells += QStringView(text).sliced(pos, next - pos);
                        pos = next;
                        ++line;
                        continue;
                    }
                    // Up to the next quote or line end in one piece.
                    qsizetype to = pos + 1;
                    while (to < n && text[to] != u'"' && !isLineEnd(text[to]))
                        ++to;
                    cells += QStringView(text).sliced(pos, to - pos);
                    pos = to;
                }
            }
            // Unquoted text (or what follows a closing quote) up to the
            // separator or the line end.
            const qsizetype from = pos;
            while (pos < n && text[pos] != sep && !isLineEnd(text[pos]))
                ++pos;
            cells += QStringView(text).sliced(from, pos - from);
            record.ends.append(cells.size());
            if (pos < n && text[pos] == sep) {
                ++pos;
                continue;
            }
            break;
        }
        if (open) {
            sheet.problems.append(
                u"Zeile %1: Anführungszeichen nicht geschlossen"_s.arg(record.line));
            ++sheet.problemLines;
        } else if (first) {
            for (qsizetype i = 0; i < record.size(); ++i)
                sheet.header.append(record.cell(i).toString());
            first = false;
        } else if (!record.text.isEmpty()) {
            sheet.records.append(std::move(record));
        }
    }
    return sheet;
}

bool ReadCsvFile(const QString& path, QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    bytes = f.readAll();
    return f.error() == QFileDevice::NoError;
}
