// Overflow-checked integer arithmetic for sizes, offsets and counts.
#pragma once

#include "app/Error.h"

#include <concepts>
#include <limits>
#include <utility>

namespace tavrik {

inline constexpr const char* OverflowMessage = "Arithmetic overflow";
inline constexpr const char* DivisionByZeroMessage = "Division by zero";

template <std::integral T>
T CheckedAdd(T a, T b) {
    T result;
    if (__builtin_add_overflow(a, b, &result)) throw Error(OverflowMessage);
    return result;
}

template <std::integral T>
T CheckedSub(T a, T b) {
    T result;
    if (__builtin_sub_overflow(a, b, &result)) throw Error(OverflowMessage);
    return result;
}

template <std::integral T>
T CheckedMul(T a, T b) {
    T result;
    if (__builtin_mul_overflow(a, b, &result)) throw Error(OverflowMessage);
    return result;
}

// Truncating division, as Pascal's div: toward zero.
template <std::integral T>
T CheckedDiv(T a, T b) {
    if (b == 0) throw Error(DivisionByZeroMessage);
    if constexpr (std::signed_integral<T>) {
        if (a == std::numeric_limits<T>::min() && b == -1) throw Error(OverflowMessage);
    }
    return a / b;
}

template <std::integral T>
T CheckedMod(T a, T b) {
    if (b == 0) throw Error(DivisionByZeroMessage);
    if constexpr (std::signed_integral<T>) {
        if (b == -1) return 0;
    }
    return a % b;
}

// Converts between integer types, throwing when the value does not fit.
template <std::integral To, std::integral From>
To CheckedCast(From value) {
    if (!std::in_range<To>(value)) throw Error(OverflowMessage);
    return static_cast<To>(value);
}

} // namespace tavrik
