#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

// A property that does not hold is a crash the fuzzer keeps.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "property failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

namespace merivane::fuzz {

inline QByteArray Bytes(const std::uint8_t* data, std::size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// The input cut into parts at NUL bytes, for targets that need several texts.
inline QStringList Parts(const QByteArray& bytes, int count) {
    QStringList parts;
    for (const QByteArray& part : bytes.split('\0')) {
        parts << QString::fromUtf8(part);
    }
    while (parts.size() < count) {
        parts << QString();
    }
    return parts;
}

}  // namespace merivane::fuzz
