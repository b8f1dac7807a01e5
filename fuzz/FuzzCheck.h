#pragma once
// What a fuzz target asserts beyond "no crash": a broken promise of the parser aborts, and
// libFuzzer keeps the input that broke it.
#include <QByteArray>
#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(cond)                                                                         \
    do {                                                                                         \
        if (!(cond)) {                                                                           \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond);        \
            std::abort();                                                                        \
        }                                                                                        \
    } while (0)

inline QByteArray fuzzBytes(const uint8_t* data, size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}
