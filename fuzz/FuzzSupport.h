#pragma once

#include "platform/Env.h"

#include <QByteArray>
#include <QDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

// A property that must hold for every input; a violation is reported as a
// crash, with the input saved by the fuzzer.
#define FUZZ_CHECK(cond)                                                                           \
    do {                                                                                           \
        if (!(cond)) {                                                                             \
            std::fprintf(stderr, "%s:%d: property violated: %s\n", __FILE__, __LINE__, #cond);     \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

// The code under test logs its failures; the program directory given here
// does not exist, so that a run does not write a log line per input.
inline const Env& fuzzEnv()
{
    static const Env env { QDir::tempPath() + QStringLiteral("/kescherheft-fuzz-kein-ordner"),
        nullptr, nullptr, nullptr };
    return env;
}

inline QByteArray bytesOf(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}
