#pragma once

// What a fuzz target may assert beyond "no sanitizer report": a broken
// promise of the code under test is a crash, so that libFuzzer keeps the input.

#include <QString>
#include <QStringList>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <type_traits>

namespace FuzzCheck {

inline QString describe(const QString &text)
{
    return u'"' + text + u'"';
}

inline QString describe(const QStringList &lines)
{
    return u'[' + lines.join(QStringLiteral("\" | \"")) + u']';
}

template <typename T>
requires std::is_arithmetic_v<T> QString describe(T value)
{
    return QString::number(value);
}

template <typename T>
QString describe(const std::optional<T> &value)
{
    return value ? describe(*value) : QStringLiteral("(none)");
}

[[noreturn]] inline void fail(const char *file, int line, const char *what, const QString &detail = QString())
{
    std::fprintf(stderr, "%s:%d: broken promise: %s\n%s\n", file, line, what, qPrintable(detail));
    std::abort();
}

} // namespace FuzzCheck

#define FUZZ_CHECK(condition)                                \
    do {                                                     \
        if (!(condition))                                    \
            FuzzCheck::fail(__FILE__, __LINE__, #condition); \
    } while (false)

// The same with the two values that should have been equal.
#define FUZZ_CHECK_EQUAL(actual, expected)                                                               \
    do {                                                                                                 \
        const auto &fuzzActual = (actual);                                                               \
        const auto &fuzzExpected = (expected);                                                           \
        if (!(fuzzActual == fuzzExpected))                                                               \
            FuzzCheck::fail(__FILE__, __LINE__, #actual " == " #expected,                                \
                            QStringLiteral("  actual:   ") + FuzzCheck::describe(fuzzActual)             \
                                + QStringLiteral("\n  expected: ") + FuzzCheck::describe(fuzzExpected)); \
    } while (false)
