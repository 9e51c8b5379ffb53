#include "platform/Cp1252.h"

#include <array>

namespace {

// Characters of the bytes 0x80..0x9F; zero marks the five undefined bytes,
// which map to the control character of the same value.
constexpr std::array<char16_t, 32> kHigh = { 0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020,
    0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0, 0, 0x2018, 0x2019, 0x201C, 0x201D,
    0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178 };

char16_t charOf(unsigned char b)
{
    if (b >= 0x80 && b <= 0x9F && kHigh[b - 0x80] != 0)
        return kHigh[b - 0x80];
    return b;
}

// Returns the byte for c, or -1 when Windows-1252 has none.
int byteOf(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    for (int i = 0; i < 32; ++i) {
        if (kHigh[i] == c)
            return 0x80 + i;
    }
    if (c >= 0x80 && c <= 0x9F && kHigh[c - 0x80] == 0)
        return c; // undefined byte kept as its control character
    return -1;
}

} // namespace

QString decode1252(const QByteArray& bytes)
{
    return decode1252(QByteArrayView(bytes));
}

QString decode1252(QByteArrayView bytes)
{
    QString out;
    out.resize(bytes.size());
    QChar* d = out.data();
    for (qsizetype i = 0; i < bytes.size(); ++i)
        d[i] = QChar(charOf(static_cast<unsigned char>(bytes[i])));
    return out;
}

QByteArray encode1252(const QString& text)
{
    QByteArray out;
    out.resize(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int b = byteOf(text[i].unicode());
        out[i] = static_cast<char>(b < 0 ? '?' : b);
    }
    return out;
}

void appendEncoded1252(QByteArray& out, QStringView text)
{
    const qsizetype at = out.size();
    out.resize(at + text.size());
    char* d = out.data() + at;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        const int b = c < 0x80 ? int(c) : byteOf(c);
        d[i] = static_cast<char>(b < 0 ? '?' : b);
    }
}

bool isRepresentable1252(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= 0x80 && u <= 0x9F)
        return false;
    return byteOf(u) >= 0;
}
