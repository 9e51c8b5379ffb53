// The Windows-1252 code page: every byte string survives decoding and
// encoding, and every character it can hold survives encoding and decoding.
#include "FuzzSupport.h"

#include "platform/Cp1252.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = bytesOf(data, size);
    const QString text = decode1252(bytes);
    FUZZ_CHECK(text.size() == bytes.size());
    FUZZ_CHECK(encode1252(text) == bytes);

    // The same bytes read as UTF-16 text, as a user might type it.
    QString typed(qsizetype(size / 2), Qt::Uninitialized);
    std::memcpy(typed.data(), data, (size / 2) * 2);
    const QByteArray encoded = encode1252(typed);
    FUZZ_CHECK(encoded.size() == typed.size());
    const QString back = decode1252(encoded);
    for (qsizetype i = 0; i < typed.size(); ++i) {
        const QChar c = typed[i];
        if (isRepresentable1252(c))
            FUZZ_CHECK(back[i] == c);
        else if (back[i] != c) // the five undefined bytes keep their control characters
            FUZZ_CHECK(encoded[i] == '?');
    }
    return 0;
}
